#include "results/Statistics.h"

#include "engine/WorkingTables.h"

namespace tallora {

Statistics CompileStats(CuttingJob& job) {
    Statistics s;
    const Allowances& a = job.allowances;
    job.StockBarsUsed.assign(job.InputStockLength.size(), 0);

    if (!a.NoOffcuts) {
        for (auto& p : job.Patterns) {
            // 64 bits: the figures of a pattern are each 32-bit, their products need not be.
            long long used = 0;
            for (int k = 0; k < p.LengthCount(); ++k) {
                used += static_cast<long long>(p.PieceCount[k]) * p.CutLength[k];
            }
            const long long remnant = p.StockLength - used + a.Hold;
            if (remnant >= a.Offcut) {
                p.IsOffcut = true;
                p.OffcutLength = static_cast<int>(remnant);
                s.OffcutTotal += static_cast<long long>(remnant) * p.BarCount;
                s.OffcutBars += p.BarCount;
            } else {
                p.IsOffcut = false;
            }
        }
    }

    // Bars go to the first stock row of the pattern's length.
    for (const auto& p : job.Patterns) {
        for (int j = 0; j < job.InputStockCount(); ++j) {
            if (job.InputStockLength[j] == p.StockLength) {
                job.StockBarsUsed[j] += p.BarCount;
                break;
            }
        }
    }
    for (int j = 0; j < job.InputStockCount(); ++j) {
        s.StockUsedLength += static_cast<long long>(job.StockBarsUsed[j]) *
                             (job.InputStockLength[j] + a.Trim + a.Hold);
        s.BarsUsedTotal += job.StockBarsUsed[j];
    }

    Recompile(job);
    job.RemainingPieces = 0;
    for (const auto& row : job.Cuts) {
        job.RemainingPieces += row.CutQuantity;
        s.UnallocatedLength += static_cast<long long>(row.CutQuantity) * row.CutLength;
    }

    // Only the placed pieces count: their entered lengths and one kerf each.
    const long long placed = job.TotalPieces - job.RemainingPieces;
    const long long cutLen =
        job.TotalCutLength -
        (s.UnallocatedLength - static_cast<long long>(job.RemainingPieces) * a.Kerf);
    s.KerfMetres = static_cast<double>(placed * a.Kerf) / 1000;
    s.TrimMetres = static_cast<double>(s.BarsUsedTotal * a.Trim) / 1000;
    s.HoldMetres = static_cast<double>(a.Hold * (s.BarsUsedTotal - s.OffcutBars)) / 1000;
    s.ScrapMetres = static_cast<double>(s.StockUsedLength) / 1000 -
                    static_cast<double>(cutLen) / 1000 - static_cast<double>(s.OffcutTotal) / 1000 -
                    s.TrimMetres - s.HoldMetres - s.KerfMetres;

    const double used = s.StockUsedLength;
    auto metres = [](long long mm) { return static_cast<double>(mm) / 1000; };
    s.StatMetres = {metres(s.StockUsedLength),
                    metres(cutLen),
                    metres(s.OffcutTotal),
                    metres(cutLen + s.OffcutTotal),
                    s.KerfMetres,
                    s.TrimMetres,
                    s.HoldMetres,
                    s.ScrapMetres,
                    metres(s.StockUsedLength - s.OffcutTotal)};

    // Nothing used: every share is 0 rather than a division by zero.
    if (s.StockUsedLength != 0) {
        auto share = [used](long long mm) { return static_cast<double>(mm) / used * 100; };
        const double usedMetres = used / 1000;
        s.StatPercent = {100.0,
                         share(cutLen),
                         share(s.OffcutTotal),
                         share(cutLen + s.OffcutTotal),
                         s.KerfMetres / usedMetres * 100,
                         s.TrimMetres / usedMetres * 100,
                         s.HoldMetres / usedMetres * 100,
                         s.ScrapMetres / usedMetres * 100,
                         share(s.StockUsedLength - s.OffcutTotal)};
    }

    const SectionData& section = job.section;
    for (int i = 0; i < StatisticsRows; ++i) {
        s.StatCost[i] = section.CostType == "Tonne"
                            ? s.StatMetres[i] * section.SectionWeight * section.SectionCost / 1000
                            : s.StatMetres[i] * section.SectionCost;
        s.StatWeight[i] = s.StatMetres[i] * section.SectionWeight;
    }
    return s;
}

StatisticsTexts DisplayStats(const Statistics& stats, const NumberFormat& format) {
    StatisticsTexts t;
    t.Format = format;
    t.Captions = {"Stock bars used:",    "Cut pieces:",    "Offcuts returned:",
                  "Overall efficiency:", "Kerf wastage:",  "Trim wastage:",
                  "Hold wastage:",       "Scrap wastage:", "Chargeable material:"};
    for (int i = 0; i < StatisticsRows; ++i) {
        t.Metres[i] = FormatFixed(stats.StatMetres[i], 3, format) + "m";
        t.Percent[i] = FormatFixed(stats.StatPercent[i], 2, format) + "%";
        t.Cost[i] = FormatCurrency(stats.StatCost[i], format);
        t.Weight[i] = FormatFixed(stats.StatWeight[i], 3, format) + "kg";
    }
    return t;
}

}  // namespace tallora
