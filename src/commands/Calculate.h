#pragma once

#include <functional>
#include <string>

#include "engine/Calculation.h"
#include "results/NumberFormat.h"
#include "results/Statistics.h"
#include "storage/RegistryStore.h"

namespace tallora {

inline const char* const CancelledText = "Calculation cancelled: the results shown are kept";

// The question asked before a Complex run of many cut rows.
std::string SwitchToFastQuestion();

// The Calculate command, in the two steps every front end takes. First, on the caller's side:
// keeps the inputs in the AutoSave key (when there is a store), rewrites the weight and cost to
// the form their fields show, and, for a Complex run of more than 40 cut rows the calculation
// will read, asks `askSwitch` whether to use Fast instead (Yes changes `algorithm`, also for
// later calculations). Returns the input to calculate.
JobInput PrepareCalculation(const JobInput& input, Algorithm& algorithm,
                            RegistryStore* autoSaveStore, const NumberFormat& format,
                            const std::function<bool(const std::string&)>& askSwitch);

// What a calculation gives the front end to show.
struct CalculatedJob {
    // When completed, its result has the allowances applied and the cutting list written.
    CalculationOutcome Outcome;
    Statistics Stats;
    // For the status bar: the time taken, after Optimal followed by how the plan stands against
    // its bound.
    std::string StatusText;
};

// Then, on any thread: runs the calculation of the prepared input and compiles the statistics
// and the cutting list of a completed run.
CalculatedJob CalculateJob(const JobInput& input, const CalculationOptions& options,
                           CalculationObserver& observer, const NumberFormat& format);

// The statistics of a stored result under the input as it is now (after an edit of the
// allowances or prices, or with a job file's result), and with `rewriteList` its cutting list
// written again.
Statistics RefreshResult(const JobInput& input, CalculationResult& result, bool rewriteList);

}  // namespace tallora
