#pragma once

#include <string>
#include <vector>

#include "commands/Ports.h"
#include "engine/Calculation.h"
#include "results/NumberFormat.h"
#include "results/Statistics.h"
#include "storage/RegistryStore.h"

namespace tallora {

// What Calculate gives its caller: the engine's outcome and, when the run completed, the
// statistics and the cutting list it showed.
struct CalculateResult : CalculationOutcome {
    Statistics Stats;
    std::vector<std::string> CuttingList;
};

inline const char* const CancelledText = "Calculation cancelled: the results shown are kept";

// The Calculate command, the one path of the desktop, the conversion of earlier-format files
// and the command line: keeps the inputs in the AutoSave key (when there is a store), rewrites
// the weight and cost to the form their fields show, runs the calculation with the chosen
// algorithm (which the offer for large jobs may switch), then compiles and shows the
// statistics and writes the cutting list. A calculation the user cancels leaves the results
// of the job as they were before it and says so in the status bar.
CalculateResult Calculate(CuttingJob& job, Algorithm& algorithm, CalculateHost& host,
                          const NumberFormat& format, RegistryStore* autoSaveStore,
                          const CalculationOptions& options = {});

}  // namespace tallora
