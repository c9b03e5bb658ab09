#include "commands/Calculate.h"

#include "entry/SectionFields.h"
#include "results/CuttingList.h"
#include "results/SolutionBoundText.h"
#include "storage/AutoSave.h"

namespace tallora {

std::string SwitchToFastQuestion() {
    return "This calculation may take some time to process.\r\n"
           "Would you like to switch to the potentially less accurate Fast Algorithm?";
}

JobInput PrepareCalculation(const JobInput& input, Algorithm& algorithm,
                            RegistryStore* autoSaveStore, const NumberFormat& format,
                            const std::function<bool(const std::string&)>& askSwitch) {
    if (autoSaveStore != nullptr) AutoSave(*autoSaveStore, input);
    JobInput prepared = input;
    SectionData& s = prepared.Section;
    s.Weight = WeightAsShown(s.Weight, format);
    s.Cost = CostAsShown(s.Cost, format);
    // The offer is for the Complex search, whose work grows with the rows; rows the calculation
    // refuses are refused first.
    if (algorithm == Algorithm::Complex && prepared.CutRows.size() > 40 && !RowsError(prepared) &&
        askSwitch(SwitchToFastQuestion())) {
        algorithm = Algorithm::Fast;
    }
    return prepared;
}

CalculatedJob CalculateJob(const JobInput& input, const CalculationOptions& options,
                           CalculationObserver& observer, const NumberFormat& format) {
    CalculatedJob job;
    job.Outcome = Calculate(input, options, observer);
    if (!job.Outcome.Completed) return job;
    job.Stats = RefreshResult(input, job.Outcome.Result, true);
    const std::string time = CalculationTimeText(job.Outcome.Elapsed);
    const auto& bound = job.Outcome.Result.Bound;
    job.StatusText = bound ? time + "   " + BoundText(*bound, format) : time;
    return job;
}

Statistics RefreshResult(const JobInput& input, CalculationResult& result, bool rewriteList) {
    ApplyAllowances(input.Allowances, result);
    if (rewriteList) result.CuttingListLines = MakeCuttingList(input, result);
    return CompileStats(input, result);
}

}  // namespace tallora
