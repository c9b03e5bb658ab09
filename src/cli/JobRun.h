#pragma once

#include <istream>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>

#include "cli/CliApp.h"
#include "cli/Options.h"
#include "commands/Calculate.h"
#include "commands/Inventory.h"
#include "costing/CostingSheet.h"
#include "inventory/OffcutStore.h"
#include "job/CalculationResult.h"
#include "job/JobInput.h"

namespace tallora::cli {

// The offcut inventory a run of jobs uses and books to, opened once.
struct JobInventory {
    std::string Path;
    std::optional<OffcutStore> Store;
};

// One job from its file (none: from the options alone) to its results.
struct JobRun {
    JobInput Input;
    CalculationResult Result;  // the file's, then the calculation's
    Algorithm RequestedAlgorithm = Algorithm::Complex;
    Algorithm AlgorithmUsed = Algorithm::Complex;  // after the offer of Fast for large jobs
    CalculationOutcome Outcome;                    // its Result is moved to Result
    Statistics Stats;
    std::string TimeText;
    std::optional<CostingSheet> Sheet;
    // With --use-offcuts and --book-offcuts: what the inventory said, and the status its booking
    // leaves (ExitSuccess, or the refusal's).
    std::optional<InventoryCommandResult> OffcutsUsed, OffcutsBooked;
    int BookingStatus = ExitSuccess;

    // The exit status of the job: refused, or its booking's.
    int Status() const;
    nlohmann::json Json() const;
};

// The job as the file and the options give it, ready to calculate; throws BadInput.
void PrepareJob(const Options& o, const std::string& file, std::istream* in, JobRun& run,
                const JobInventory* inventory = nullptr);

// Calculates the job (with --no-calc, takes the stored results under the options in force) and
// prices it when --costing asks; `terminal` shows the progress of a long calculation.
void CalculateJob(const Options& o, JobRun& run, std::ostream* terminal);

// --book-offcuts after the calculation (none without an inventory). A booking the inventory
// refuses (booked before, an offcut gone) is a refusal; an inventory that fails under it, bad
// input.
void BookJobRun(JobInventory* inventory, const std::string& file, JobRun& run);

// The "inventory" key of a job's results.
nlohmann::json JobInventoryJson(const JobInventory& inventory, const JobRun& run);

}  // namespace tallora::cli
