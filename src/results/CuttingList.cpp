#include "results/CuttingList.h"

namespace tallora {

namespace {
std::string Str(long long value) { return std::to_string(value); }
}  // namespace

std::vector<std::string> MemoDisplay(const CuttingJob& job) {
    const Allowances& a = job.allowances;
    std::vector<std::string> lines;
    for (int p = 0; p < job.PatternCount(); ++p) {
        const CuttingPattern& pattern = job.Patterns[p];
        const int bars = pattern.BarCount;
        lines.push_back(" Cutting Pattern Number " + Str(p + 1) + ":");
        lines.push_back("    From " + Str(bars) + " at " + Str(pattern.StockLength + a.Trim) +
                        "mm, cut the following:");
        for (int k = 0; k < pattern.LengthCount(); ++k) {
            const int n = pattern.PieceCount[k];
            const int length = pattern.CutLength[k] - a.Kerf;
            const long long total = static_cast<long long>(n) * bars;
            if (n == 1) {
                lines.push_back("    " + Str(n) + " cut at " + Str(length) + "mm long, producing " +
                                Str(total) + (bars <= 1 ? " piece" : " pieces"));
            } else {
                lines.push_back("    " + Str(n) + " cuts at " + Str(length) +
                                "mm long, producing " + Str(total) + " pieces");
            }
        }
        if (pattern.IsOffcut && !a.NoOffcuts) {
            lines.push_back("    * Return " + Str(bars) + " at " + Str(pattern.OffcutLength) +
                            (bars > 1 ? "mm offcuts to stock *" : "mm offcut to stock *"));
        }
        lines.emplace_back();
    }
    lines.push_back(" Total stock bars used:");
    for (int j = 0; j < job.InputStockCount(); ++j) {
        const int used = j < static_cast<int>(job.StockBarsUsed.size()) ? job.StockBarsUsed[j] : 0;
        if (used == 0) continue;
        lines.push_back("    " + Str(used) + (used > 1 ? " bars at " : " bar at ") +
                        Str(job.InputStockLength[j] + a.Trim + a.Hold) + "mm");
    }
    if (job.RemainingPieces > 0) {
        lines.emplace_back();
        lines.push_back(" Please Note: ");
        lines.push_back(" The following items could not be incorporated into");
        lines.push_back(" the cutting matrix due to insufficient stock lengths");
        lines.push_back(" being available (Note statistics are for allocated");
        lines.push_back(" stock only):");
        for (const auto& row : job.Cuts) {
            const int q = row.CutQuantity;
            const int length = row.CutLength - a.Kerf;
            if (q > 1) lines.push_back("    " + Str(q) + " pieces at " + Str(length) + "mm");
            else if (q == 1) lines.push_back("    " + Str(q) + " piece at " + Str(length) + "mm long");
        }
    }
    return lines;
}

}  // namespace tallora
