#include "cli/JobRun.h"

#include <filesystem>
#include <vector>

#include "cli/InventoryCommand.h"
#include "cli/JsonOutput.h"
#include "cli/Terminal.h"
#include "cli/TerminalProgress.h"
#include "commands/OpenJob.h"
#include "entry/ListEntry.h"
#include "storage/TextFile.h"

namespace tallora::cli {

namespace {

// The job file's bytes as read: a file, or "-" for standard input. Its lines are read from them
// one at a time.
std::string ReadJobFileBytes(const std::string& path, std::istream* in) {
    if (path != StdinName) {
        // The read's status says what went wrong.
        std::string error;
        auto bytes = ReadTextBytes(path, error);
        if (!bytes) throw BadInput(path + ": " + error);
        return std::move(*bytes);
    }
    if (in == nullptr) throw BadInput("standard input: cannot be read here");
    std::string bytes;
    std::vector<char> buffer(1 << 16);
    while (in->read(buffer.data(), static_cast<std::streamsize>(buffer.size())) ||
           in->gcount() > 0) {
        bytes.append(buffer.data(), static_cast<size_t>(in->gcount()));
        // As with a file: far too large for a job file reads as no lines.
        if (bytes.size() > MaxJobFileBytes) return {};
    }
    if (in->bad()) throw BadInput("standard input: could not be read");
    return bytes;
}

enum class Loaded { None, Results, EarlierFormat };

// The job file's rows, allowances, section data, charges and results; an earlier-format file
// gives its rows and section data, to be calculated.
Loaded LoadJobFile(const std::string& path, std::istream* in, JobRun& run) {
    const std::string bytes = ReadJobFileBytes(path, in);
    const std::string name = path == StdinName ? "standard input" : path;
    const OpenedJob opened = ReadJobFile(std::string_view(bytes), run.Input, run.Result);
    if (opened.Read.Status == ReadStatus::SystemError)
        throw BadInput(name + ": " + opened.Read.Error);
    if (!opened.Problem().empty()) throw BadInput(name + ": " + ForTerminal(opened.Fault()));
    return opened.Earlier ? Loaded::EarlierFormat : Loaded::Results;
}

// The job file as its offcuts' source: a full path, so that the list says which file wherever it
// is run; none for a job from standard input or from the options alone.
std::string BookedJobFile(const std::string& file) {
    if (file.empty() || file == StdinName) return {};
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(file, ec);
    return ec ? file : full.lexically_normal().string();
}

}  // namespace

OffcutStore& JobInventory::Opened() {
    if (!Store) Store = OpenInventoryFile(Path);
    return *Store;
}

int JobRun::Status() const {
    return std::max(Outcome.Completed ? ExitSuccess : ExitRefused, BookingStatus);
}

nlohmann::json JobRun::Json() const {
    return ResultJsonWithoutPatterns({Input, Result, RequestedAlgorithm, AlgorithmUsed, Outcome,
                                      Outcome.Completed ? &Stats : nullptr, TimeText,
                                      Sheet ? &*Sheet : nullptr});
}

void PrepareJob(const Options& o, const std::string& file, std::istream* in, JobRun& run,
                JobInventory* inventory) {
    Loaded loaded = Loaded::None;
    if (!file.empty()) loaded = LoadJobFile(file, in, run);
    if (o.NoCalc && loaded != Loaded::Results) {
        throw BadInput(std::string("--no-calc: ") +
                       (loaded == Loaded::None ? "needs a JOB file with results"
                                               : "an earlier-format file holds no results"));
    }
    ApplyOptions(o, run.Input, loaded != Loaded::None);
    // An inventory that cannot be used stops the job before anything is calculated.
    if (inventory != nullptr) inventory->Opened();
    // Before the check: the offcuts may be all the stock the job has.
    if (o.UseOffcuts && inventory != nullptr) {
        try {
            run.OffcutsUsed = UseOffcutsFromInventory(run.Input, *inventory->Store);
        } catch (const InventoryError& e) {
            // Damaged under the reading, or locked too long: the job cannot be what was asked.
            throw BadInput(e.what());
        }
    }
    if (!o.NoCalc && !SummariseInput(run.Input).CalculateEnabled) {
        // The offcuts were to be the stock: why there are none is the news.
        const bool noOffcuts = run.OffcutsUsed && !run.OffcutsUsed->Changed;
        throw BadInput("nothing to calculate: give at least one stock row and one cut row" +
                       (noOffcuts ? "; --use-offcuts added none: " + run.OffcutsUsed->Message
                                  : std::string()));
    }
    run.RequestedAlgorithm = run.AlgorithmUsed = o.RequestedAlgorithm();
}

void CalculateJob(const Options& o, JobRun& run, std::ostream* terminal) {
    const NumberFormat uk = NumberFormat::UK();
    if (o.NoCalc) {
        // The stored results, with the statistics of the allowances and prices now in force.
        run.Outcome.Completed = true;
        run.Stats = RefreshResult(run.Input, run.Result, false);
    } else {
        run.Input = PrepareCalculation(run.Input, run.AlgorithmUsed, nullptr, uk,
                                       [&o](const std::string&) { return o.SwitchToFast; });
        CalculationOptions options;
        options.Algorithm = run.AlgorithmUsed;
        options.TimeLimitSeconds = o.TimeLimit;
        if (o.Threads) options.Threads = static_cast<unsigned>(*o.Threads);
        TerminalProgress progress(terminal);
        CalculatedJob calculated = CalculateJob(run.Input, options, progress, uk);
        progress.Clear();
        run.Outcome = std::move(calculated.Outcome);
        run.Stats = calculated.Stats;
        if (run.Outcome.Completed) run.TimeText = CalculationTimeText(run.Outcome.Elapsed);
        if (run.Outcome.Completed || run.Outcome.ResultsCleared)
            run.Result = std::move(run.Outcome.Result);
    }
    if (o.Costing && run.Outcome.Completed) {
        run.Sheet =
            MakeCostingSheet(run.Input, run.Result, run.Stats,
                             MaterialPrice::OfJob(run.Input.Section), run.Input.Costing, uk);
    }
}

void BookJobRun(JobInventory* inventory, const std::string& file, JobRun& run) {
    if (inventory == nullptr || !inventory->Store) return;
    if (!run.Outcome.Completed) {
        run.OffcutsBooked = {false,
                             "The job was not booked to the offcut inventory: the calculation "
                             "was refused."};
        return;
    }
    try {
        run.OffcutsBooked =
            BookOffcutsToInventory(*inventory->Store, run.Input, run.Result, BookedJobFile(file));
    } catch (const InventoryError& e) {
        run.OffcutsBooked = {false, e.what()};
        const InventoryErrorKind kind = e.Kind();
        run.BookingStatus = kind == InventoryErrorKind::Damaged ||
                                    kind == InventoryErrorKind::Newer ||
                                    kind == InventoryErrorKind::Failed
                                ? ExitBadInput
                                : ExitRefused;
    }
}

nlohmann::json JobInventoryJson(const JobInventory& inventory, const JobRun& run) {
    return {{"file", inventory.Path},
            {"use_offcuts", InventoryMessageJson(run.OffcutsUsed, "changed")},
            {"book_offcuts", InventoryMessageJson(run.OffcutsBooked, "booked")}};
}

}  // namespace tallora::cli
