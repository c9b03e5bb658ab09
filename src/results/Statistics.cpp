#include "results/Statistics.h"

#include "engine/WorkingTables.h"

namespace tallora {

void ApplyAllowances(const Allowances& a, CalculationResult& result) {
    if (!a.NoOffcuts) {
        for (auto& p : result.Patterns) {
            // 64 bits: the figures of a pattern are each 32-bit, their products need not be.
            long long used = 0;
            for (int k = 0; k < p.LengthCount(); ++k) {
                used += static_cast<long long>(p.PieceCount[k]) * p.CutLength[k];
            }
            const long long remnant = p.StockLength - used + a.Hold;
            p.IsOffcut = remnant >= a.Offcut;
            if (p.IsOffcut) p.OffcutLength = static_cast<int>(remnant);
        }
    }
    // Bars go to the first stock row of the pattern's length.
    result.StockBarsUsed.assign(result.InputStockLength.size(), 0);
    for (const auto& p : result.Patterns) {
        for (int j = 0; j < result.InputStockCount(); ++j) {
            if (result.InputStockLength[j] == p.StockLength) {
                result.StockBarsUsed[j] += p.BarCount;
                break;
            }
        }
    }
    CompactTables(result.Stock, result.Cuts);
    result.RemainingPieces = 0;
    for (const auto& row : result.Cuts) result.RemainingPieces += row.CutQuantity;
}

Statistics CompileStats(const JobInput& input, const CalculationResult& result) {
    Statistics s;
    const Allowances& a = input.Allowances;
    if (!a.NoOffcuts) {
        for (const auto& p : result.Patterns) {
            if (!p.IsOffcut) continue;
            s.OffcutTotal += static_cast<long long>(p.OffcutLength) * p.BarCount;
            s.OffcutBars += p.BarCount;
        }
    }
    for (int j = 0; j < result.InputStockCount(); ++j) {
        const long long bars =
            j < static_cast<int>(result.StockBarsUsed.size()) ? result.StockBarsUsed[j] : 0;
        s.StockUsedLength += bars * (result.InputStockLength[j] + a.Trim + a.Hold);
        s.BarsUsedTotal += bars;
    }
    for (const auto& row : result.Cuts)
        s.UnallocatedLength += static_cast<long long>(row.CutQuantity) * row.CutLength;

    // Only the placed pieces count: their entered lengths and one kerf each.
    const long long placed = result.TotalPieces - result.RemainingPieces;
    const long long cutLen =
        result.TotalCutLength -
        (s.UnallocatedLength - static_cast<long long>(result.RemainingPieces) * a.Kerf);
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

    const SectionData& section = input.Section;
    for (int i = 0; i < StatisticsRows; ++i) {
        s.StatCost[i] = section.CostType == "Tonne"
                            ? s.StatMetres[i] * section.Weight * section.Cost / 1000
                            : s.StatMetres[i] * section.Cost;
        s.StatWeight[i] = s.StatMetres[i] * section.Weight;
    }
    return s;
}

StatisticsTexts FormatStatistics(const Statistics& stats, const NumberFormat& format) {
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
