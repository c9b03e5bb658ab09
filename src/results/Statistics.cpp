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
    // Metres and kilograms; feet and pounds in an imperial job.
    const double per = LengthPerStatUnit(input.Units);
    const double perTon = WeightPerTon(input.Units);
    s.KerfMetres = static_cast<double>(placed * a.Kerf) / per;
    s.TrimMetres = static_cast<double>(s.BarsUsedTotal * a.Trim) / per;
    s.HoldMetres = static_cast<double>(a.Hold * (s.BarsUsedTotal - s.OffcutBars)) / per;
    s.ScrapMetres = static_cast<double>(s.StockUsedLength) / per -
                    static_cast<double>(cutLen) / per - static_cast<double>(s.OffcutTotal) / per -
                    s.TrimMetres - s.HoldMetres - s.KerfMetres;

    const double used = s.StockUsedLength;
    auto metres = [per](long long mm) { return static_cast<double>(mm) / per; };
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
        const double usedMetres = used / per;
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
        if (section.CostType == "Tonne")
            s.StatCost[i] = s.StatMetres[i] * section.Weight * section.Cost / perTon;
        else if (section.CostType == "Cwt" && input.Units.Imperial())
            s.StatCost[i] = s.StatMetres[i] * section.Weight * section.Cost / 100;
        else
            s.StatCost[i] = s.StatMetres[i] * section.Cost;
        s.StatWeight[i] = s.StatMetres[i] * section.Weight;
    }
    return s;
}

StatisticsTexts FormatStatistics(const Statistics& stats, const NumberFormat& format,
                                 const JobUnits& units) {
    StatisticsTexts t;
    t.Format = format;
    t.Captions = {"Stock bars used:",    "Cut pieces:",    "Offcuts returned:",
                  "Overall efficiency:", "Kerf wastage:",  "Trim wastage:",
                  "Hold wastage:",       "Scrap wastage:", "Chargeable material:"};
    for (int i = 0; i < StatisticsRows; ++i) {
        if (units.Imperial()) {
            t.Metres[i] = FormatFixed(stats.StatMetres[i], 2, format) + "ft";
            t.Weight[i] = FormatFixed(stats.StatWeight[i], 2, format) + "lb";
        } else {
            t.Metres[i] = FormatFixed(stats.StatMetres[i], 3, format) + "m";
            t.Weight[i] = FormatFixed(stats.StatWeight[i], 3, format) + "kg";
        }
        t.Percent[i] = FormatFixed(stats.StatPercent[i], 2, format) + "%";
        t.Cost[i] = FormatCurrency(stats.StatCost[i], format);
    }
    return t;
}

}  // namespace tallora
