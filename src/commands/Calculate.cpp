#include "commands/Calculate.h"

#include "entry/SectionFields.h"
#include "results/CuttingList.h"
#include "results/SolutionBoundText.h"
#include "storage/AutoSave.h"

namespace tallora {

CalculateResult Calculate(CuttingJob& job, Algorithm& algorithm, CalculateHost& host,
                          const NumberFormat& format, RegistryStore* autoSaveStore,
                          const CalculationOptions& options) {
    if (autoSaveStore != nullptr) AutoSave(*autoSaveStore, job);
    SectionData& s = job.section;
    s.SectionWeight = WeightAsShown(s.SectionWeight, format);
    s.SectionCost = CostAsShown(s.SectionCost, format);
    host.ShowSectionPrices();

    const CuttingJob before = job;
    CalculateResult result;
    static_cast<CalculationOutcome&>(result) = RunCalculation(job, algorithm, host, options);
    if (result.Cancelled) {
        RestoreResults(job, before);
        host.ShowCuttingList(job.CuttingListLines);
        host.SetStatusText(CancelledText);
    }
    if (!result.Completed) return result;

    host.EnableOutputCommands();
    result.Stats = CompileStats(job);
    host.ShowStatistics(result.Stats);
    job.CuttingListLines = MemoDisplay(job);
    result.CuttingList = job.CuttingListLines;
    host.ShowCuttingList(result.CuttingList);
    host.SetStatusText("");
    // After Optimal the time is followed by how the plan stands against the bound.
    host.SetStatusText(job.Bound ? result.TimeText + "   " + BoundText(*job.Bound, format)
                                 : result.TimeText);
    return result;
}

}  // namespace tallora
