#include "cli/TextOutput.h"

#include "cli/Terminal.h"
#include "results/SolutionBoundText.h"

namespace tallora::cli {

void PrintResults(std::ostream& out, const CalculationResult& result, const Statistics& stats,
                  const CostingSheet* costing, const JobUnits& units) {
    for (const auto& line : result.CuttingListLines) out << Printable(line) << "\n";
    out << "\n";
    const StatisticsTexts texts = FormatStatistics(stats, NumberFormat::UK(), units);
    for (int i = 0; i < StatisticsRows; ++i) {
        out << Pad(texts.Captions[i], 22, false) << Pad(texts.Metres[i], 13, true)
            << Pad(texts.Percent[i], 10, true) << Pad(texts.Cost[i], 16, true)
            << Pad(texts.Weight[i], 16, true) << "\n";
    }
    if (result.Bound) out << BoundText(*result.Bound, NumberFormat::UK()) << "\n";
    if (result.StoppedEarly) out << StoppedEarlyText() << "\n";
    if (costing != nullptr) {
        out << "\n";
        for (const auto& line : costing->ClipboardLines) out << Printable(line) << "\n";
    }
}

}  // namespace tallora::cli
