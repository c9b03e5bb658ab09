#include "results/CuttingList.h"

#include "job/Capacities.h"
#include "results/LengthFormat.h"

namespace tallora {

namespace {
std::string Str(long long value) { return std::to_string(value); }
}  // namespace

std::string PatternNumberPhrase(int patternNumber) {
    return "Cutting Pattern Number " + Str(patternNumber) + ":";
}

std::string PatternSourcePhrase(const CuttingPattern& pattern, const Allowances& allowances,
                                const JobUnits& units) {
    return "From " + Str(pattern.BarCount) + " at " +
           FormatLength(pattern.StockLength + allowances.Trim, units) + ", cut the following:";
}

std::string CutPhrase(const CuttingPattern& pattern, int k, const Allowances& allowances,
                      const JobUnits& units) {
    const int bars = pattern.BarCount;
    const int n = pattern.PieceCount[k];
    const int length = pattern.CutLength[k] - allowances.Kerf;
    const long long total = static_cast<long long>(n) * bars;
    if (n == 1) {
        return Str(n) + " cut at " + FormatLength(length, units) + " long, producing " +
               Str(total) + (bars <= 1 ? " piece" : " pieces");
    }
    return Str(n) + " cuts at " + FormatLength(length, units) + " long, producing " + Str(total) +
           " pieces";
}

std::string OffcutReturnPhrase(const CuttingPattern& pattern, const JobUnits& units) {
    const int bars = pattern.BarCount;
    return "* Return " + Str(bars) + " at " + FormatLength(pattern.OffcutLength, units) +
           (bars > 1 ? " offcuts to stock *" : " offcut to stock *");
}

std::string StockBarsPhrase(int barsUsed, int barLength, const JobUnits& units) {
    return Str(barsUsed) + (barsUsed > 1 ? " bars at " : " bar at ") +
           FormatLength(barLength, units);
}

std::string InventoryOffcutsPhrase() { return "* Cut from inventory offcuts *"; }

bool PatternFromInventoryOffcuts(const CalculationResult& result, int p) {
    if (p < 0 || p >= result.PatternCount()) return false;
    const int length = result.Patterns[static_cast<std::size_t>(p)].StockLength;
    for (int j = 0; j < result.InputStockCount(); ++j) {
        if (result.InputStockLength[static_cast<std::size_t>(j)] == length)
            return InputStockIsOffcut(result, j);
    }
    return false;
}

std::vector<std::string> MakeCuttingList(const JobInput& input, const CalculationResult& result) {
    const Allowances& a = input.Allowances;
    const JobUnits& u = input.Units;
    std::vector<std::string> lines;
    for (int p = 0; p < result.PatternCount(); ++p) {
        const CuttingPattern& pattern = result.Patterns[p];
        lines.push_back(" " + PatternNumberPhrase(p + 1));
        lines.push_back("    " + PatternSourcePhrase(pattern, a, u));
        if (PatternFromInventoryOffcuts(result, p))
            lines.push_back("    " + InventoryOffcutsPhrase());
        for (int k = 0; k < pattern.LengthCount(); ++k)
            lines.push_back("    " + CutPhrase(pattern, k, a, u));
        if (pattern.IsOffcut && !a.NoOffcuts)
            lines.push_back("    " + OffcutReturnPhrase(pattern, u));
        lines.emplace_back();
    }
    lines.push_back(" Total stock bars used:");
    for (int j = 0; j < result.InputStockCount(); ++j) {
        const int used =
            j < static_cast<int>(result.StockBarsUsed.size()) ? result.StockBarsUsed[j] : 0;
        if (used == 0) continue;
        lines.push_back("    " +
                        StockBarsPhrase(used, result.InputStockLength[j] + a.Trim + a.Hold, u));
    }
    if (result.RemainingPieces > 0) {
        lines.emplace_back();
        lines.push_back(" Please Note: ");
        lines.push_back(" The following items could not be incorporated into");
        if (result.PatternStoreFull) {
            lines.push_back(" the cutting matrix because the job is too large:");
            lines.push_back(" it needs more than " + Str(MaxPatterns) + " cutting");
            lines.push_back(" patterns (Note statistics are for allocated");
        } else {
            lines.push_back(" the cutting matrix due to insufficient stock lengths");
            lines.push_back(" being available (Note statistics are for allocated");
        }
        lines.push_back(" stock only):");
        for (const auto& row : result.Cuts) {
            const int q = row.CutQuantity;
            const int length = row.CutLength - a.Kerf;
            if (q > 1)
                lines.push_back("    " + Str(q) + " pieces at " + FormatLength(length, u));
            else if (q == 1)
                lines.push_back("    " + Str(q) + " piece at " + FormatLength(length, u) + " long");
        }
    }
    return lines;
}

}  // namespace tallora
