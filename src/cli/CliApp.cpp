#include "cli/CliApp.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <nlohmann/json.hpp>
#include <tuple>

#include "cli/Batch.h"
#include "cli/InventoryCommand.h"
#include "cli/JobRun.h"
#include "cli/JsonOutput.h"
#include "cli/Options.h"
#include "cli/Terminal.h"
#include "cli/TextOutput.h"
#include "commands/Exports.h"
#include "inventory/OffcutStore.h"
#include "report/PdfReport.h"
#include "storage/JobFile.h"
#include "storage/SafeFile.h"

namespace tallora {

using namespace cli;

namespace {

// Takes whatever is written to it: standard output under --quiet.
class NullBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

int WriteFailed(std::ostream& err) {
    Complain(err, std::string("the output could not be written: ") + std::strerror(errno));
    return ExitBadInput;
}

// --help of the command asked about, or the parse error: the status to exit with.
int ParseFailed(CLI::App& app, const CLI::App* inventoryCommand, std::ostream& out,
                std::ostream& err) {
    try {
        throw;
    } catch (const CLI::CallForHelp&) {
        const CLI::App* asked = &app;
        for (CLI::App* sub = app.get_subcommands().empty() ? nullptr
                                                           : app.get_subcommands().front();
             sub != nullptr;
             sub = sub->get_subcommands().empty() ? nullptr : sub->get_subcommands().front()) {
            asked = sub;
        }
        out << asked->help();
        return out.flush() ? ExitSuccess : WriteFailed(err);
    } catch (const CLI::ParseError& e) {
        if (inventoryCommand->parsed() && inventoryCommand->get_subcommands().empty()) {
            Complain(err, "inventory: expected a command: list, add, remove or export");
        } else {
            Complain(err, e.what());
        }
        return ExitBadInput;
    }
}

// The inventory command takes no option of a job's but --inventory.
bool OnlyInventoryOptions(const CLI::App& app, std::ostream& err) {
    for (const CLI::Option* option : app.get_options()) {
        if (option->count() > 0 && option->get_name() != "--inventory") {
            Complain(err, option->get_name() +
                              ": belongs to calculating a job, not to the inventory commands "
                              "(a job file named inventory is given as ./inventory)");
            return false;
        }
    }
    return true;
}

LabelOptions LabelOptionsOf(const Options& o) {
    LabelOptions options;
    // --label-layout takes only the layouts there are.
    if (const LabelLayout* layout = FindLabelLayout(o.LabelLayout)) options.Layout = *layout;
    options.StartPosition = o.LabelStart;
    if (o.LabelMargins)
        std::tie(options.LeftMargin, options.TopMargin) = LabelMargins(*o.LabelMargins);
    return options;
}

// What one job needs before it is calculated: its files checked, then the job read.
void StartSingleJob(const Options& o, const std::string& file, std::istream* in,
                    PictureOutput* pictures, JobRun& run, JobInventory* inventory,
                    std::pair<int, int>& diagramSize) {
    const bool sawSheetPdf = o.SawSheet && !IsCsvFileName(*o.SawSheet);
    if ((o.Pdf || o.Diagram || o.Labels || sawSheetPdf) && pictures == nullptr) {
        throw BadInput(std::string(o.Pdf       ? "--pdf"
                                   : o.Diagram ? "--diagram"
                                   : o.Labels  ? "--labels"
                                               : "--saw-sheet") +
                       ": this tallora-cli was built without PDF and picture output");
    }
    if (!o.Size.empty()) diagramSize = DiagramSize(o.Size);
    if (o.Labels) {
        const LabelOptions options = LabelOptionsOf(o);
        const std::string problem = LabelOptionsProblem(options);
        if (!problem.empty()) {
            // The start is checked first: with it in range, the margins are what does not fit.
            const bool start =
                options.StartPosition < 1 || options.StartPosition > options.Layout.PerPage();
            throw BadInput((start ? "--label-start " + std::to_string(o.LabelStart)
                                  : "--label-margins " + ForTerminal(*o.LabelMargins)) +
                           ": " + problem);
        }
    }
    const std::vector<InputFile> inputs =
        InputFiles(o, file, inventory != nullptr ? inventory->Path : std::string());
    // The job file may be saved over, as Save does; nothing else the job reads may be written.
    std::vector<InputFile> notForSave = inputs;
    std::erase_if(notForSave, [](const InputFile& input) { return input.What == "the job file"; });
    std::vector<InputFile> outputs;
    for (const auto& [option, given] :
         {std::pair{"--pdf", &o.Pdf}, std::pair{"--diagram", &o.Diagram},
          std::pair{"--save", &o.Save}, std::pair{"--export-csv", &o.ExportCsv},
          std::pair{"--costing-csv", &o.CostingCsv}, std::pair{"--labels", &o.Labels},
          std::pair{"--saw-sheet", &o.SawSheet}}) {
        if (!*given) continue;
        CheckOutputFile(option, **given);
        CheckNotAnInput(option, **given, std::string(option) == "--save" ? notForSave : inputs);
        // Two outputs in one file: the second would replace the first.
        CheckNotAnInput(option, **given, outputs);
        outputs.push_back({"the file of " + std::string(option), **given});
    }
    PrepareJob(o, file, in, run, inventory);
}

// The results on standard output, as text or JSON; false when the JSON could not be made.
bool ShowResults(const Options& o, const std::string& file, const JobRun& run,
                 const JobInventory* inventory, std::ostream& shown, std::ostream& err) {
    if (o.Format == "text") {
        if (run.Outcome.Completed)
            PrintResults(shown, run.Result, run.Stats, run.Sheet ? &*run.Sheet : nullptr,
                         run.Input.Units);
        return true;
    }
    try {
        nlohmann::json result = run.Json();
        if (inventory != nullptr) result["inventory"] = JobInventoryJson(*inventory, run);
        if (o.Format == "jsonl") {
            result["file"] = FileJson(file);
            result["exit_status"] = run.Status();
        }
        WriteJson(shown, result, o.Format == "jsonl" ? -1 : 2, &run.Result.Patterns,
                  run.Input.Units);
        shown << "\n";
    } catch (const nlohmann::json::exception& e) {
        Complain(err, std::string("the JSON output could not be made: ") + e.what());
        return false;
    }
    return true;
}

// The files asked for after the calculation: the report, the diagram and the CSV files. The
// status; `after` ends the message of a failure.
int WriteOutputFiles(const Options& o, const JobRun& run, const JobInventory* inventory,
                     PictureOutput* pictures, std::pair<int, int> diagramSize, std::ostream& err,
                     const std::string& after) {
    if (o.Pdf) {
        PrintEngine& engine = pictures->ReportEngine();
        if (!ExportReport(engine, run.Input, run.Result,
                          FormatStatistics(run.Stats, NumberFormat::UK(), run.Input.Units),
                          *o.Pdf)) {
            // The window's guess of a report still open elsewhere only when the system gave no
            // reason: a full disk is a full disk.
            Complain(err, engine.SaveError().empty()
                              ? SaveFailureMessage(*o.Pdf) + after
                              : "--pdf " + *o.Pdf + ": " + engine.SaveError() + after);
            return ExitBadInput;
        }
    }
    const auto [width, height] = diagramSize;
    if (o.Diagram) {
        const std::string error =
            pictures->SaveDiagram(run.Input, run.Result, width, height, *o.Diagram);
        if (!error.empty()) {
            Complain(err, "--diagram " + *o.Diagram + ": " + error + after);
            return ExitBadInput;
        }
    }
    if (o.ExportCsv) {
        const std::string error = ExportCuttingList(*o.ExportCsv, run.Input, run.Result);
        if (!error.empty()) {
            Complain(err, "--export-csv " + *o.ExportCsv + ": " + error + after);
            return ExitBadInput;
        }
    }
    if (o.SawSheet && IsCsvFileName(*o.SawSheet)) {
        const std::string error = ExportSawSheetCsv(*o.SawSheet, run.Input, run.Result);
        if (!error.empty()) {
            Complain(err, "--saw-sheet " + *o.SawSheet + ": " + error + after);
            return ExitBadInput;
        }
    } else if (o.SawSheet) {
        PrintEngine& engine = pictures->ReportEngine();
        if (!ExportSawSheet(engine, run.Input, run.Result, *o.SawSheet)) {
            Complain(err, "--saw-sheet " + *o.SawSheet + ": " + engine.SaveError() + after);
            return ExitBadInput;
        }
    }
    if (o.Labels) {
        const LabelOptions options = LabelOptionsOf(o);
        PrintEngine& engine = pictures->ReportEngine();
        // Offcuts of a plan booked before (a job file run again with --no-calc) carry their ids.
        std::map<int, long long> offcutIds;
        try {
            if (inventory != nullptr && inventory->Store) {
                offcutIds = BookedOffcutIds(*inventory->Store, run.Input, run.Result);
            } else if (std::error_code missing;
                       o.Inventory && std::filesystem::exists(*o.Inventory, missing)) {
                // Only looked at: labels never make an inventory.
                const OffcutStore store = OffcutStore::Open(*o.Inventory);
                offcutIds = BookedOffcutIds(store, run.Input, run.Result);
            }
        } catch (const InventoryError&) {
            // The labels go without the ids.
        }
        const std::string error =
            ExportPieceLabels(engine, run.Input, run.Result, options, *o.Labels, offcutIds);
        if (!error.empty()) {
            Complain(err, "--labels " + *o.Labels + ": " + ForTerminal(error) + after);
            return ExitBadInput;
        }
    }
    if (o.CostingCsv) {
        const std::string error =
            ExportCostingSheet(*o.CostingCsv, run.Input, run.Result, run.Stats, NumberFormat::UK());
        if (!error.empty()) {
            Complain(err, "--costing-csv " + *o.CostingCsv + ": " + error + after);
            return ExitBadInput;
        }
    }
    return ExitSuccess;
}

// Output that went nowhere (a full disk, a closed pipe) is a failure, not a success; `after`
// says what was done all the same.
bool Flushed(std::ostream& shown, std::ostream& err, const std::string& after) {
    if (shown.flush()) return true;
    Complain(err, std::string("the output could not be written: ") + std::strerror(errno) + after);
    return false;
}

struct Streams {
    std::ostream& Out;
    std::ostream& Err;
    std::istream* In;
    bool ErrIsTerminal;
};

// One job: prepared, calculated, booked, shown, saved and written out.
int RunSingleJob(const Options& o, const std::string& file, JobInventory* inventory,
                 PictureOutput* pictures, std::ostream& shown, Streams io) {
    JobRun run;
    std::pair<int, int> diagramSize{DefaultDiagramWidth, DefaultDiagramHeight};
    try {
        StartSingleJob(o, file, io.In, pictures, run, inventory, diagramSize);
    } catch (const BadInput& e) {
        if (o.Format == "jsonl")
            shown << JsonLine(JobErrorJson(file, e.what())) << "\n" << std::flush;
        Complain(io.Err, e.what());
        return ExitBadInput;
    }
    const bool tell = o.Format == "text" && !o.Quiet;
    if (run.OffcutsUsed && tell) Tell(io.Err, run.OffcutsUsed->Message);
    CalculateJob(o, run, io.ErrIsTerminal && !o.Quiet ? &io.Err : nullptr);

    // Every output before the booking: one that fails leaves nothing booked, and the job can be
    // run again as it was.
    JobInventory* booking = o.BookOffcuts ? inventory : nullptr;
    const std::string notBooked =
        booking != nullptr ? ". Nothing was booked to the offcut inventory" : "";
    if (o.Save) {
        const std::string error = SaveFile(*o.Save, run.Input, run.Result, run.Stats);
        if (!error.empty()) {
            Complain(io.Err, "--save " + *o.Save + ": " + error + notBooked);
            return ExitBadInput;
        }
    }
    if (run.Outcome.Completed && WriteOutputFiles(o, run, inventory, pictures, diagramSize, io.Err,
                                                  notBooked) != ExitSuccess)
        return ExitBadInput;
    // The text says nothing of the booking; JSON does, so it can only follow it.
    const bool text = o.Format == "text";
    if (text && (!ShowResults(o, file, run, inventory, shown, io.Err) ||
                 !Flushed(shown, io.Err, notBooked)))
        return ExitBadInput;

    BookJobRun(booking, file, run);
    if (run.BookingStatus != ExitSuccess) {
        Complain(io.Err, run.OffcutsBooked->Message);
    } else if (run.OffcutsBooked && run.Outcome.Completed && tell) {
        Tell(io.Err, run.OffcutsBooked->Message);
    }
    const bool booked = run.OffcutsBooked && run.OffcutsBooked->Changed;
    const std::string bookedAnyway =
        booked ? "; the job was booked to the offcut inventory all the same, so it is not to be "
                 "booked again"
               : "";
    if (!text && (!ShowResults(o, file, run, inventory, shown, io.Err) ||
                  !Flushed(shown, io.Err, bookedAnyway)))
        return ExitBadInput;
    if (!run.Outcome.Completed) {
        Complain(io.Err, run.Outcome.Error);
        return ExitRefused;
    }
    return run.BookingStatus;
}

// The jobs of the command line: one, or several as JSON lines.
int RunJobs(const CLI::App& app, Options& o, PictureOutput* pictures, RegistryStore* settings,
            Streams io) {
    NullBuffer nothing;
    std::ostream silent(&nothing);
    std::ostream& shown = o.Quiet ? silent : io.Out;
    std::vector<std::string> files;
    JobInventory inventory;
    const bool withInventory = o.UseOffcuts || o.BookOffcuts;
    try {
        bool folder = false;
        files = ExpandJobFiles(o.JobFiles, folder);
        ReadTimeLimit(o);
        ReadCsvOptions(o, io.In, std::find(files.begin(), files.end(), StdinName) != files.end());
        if (o.UseOffcuts && o.NoCalc) {
            throw BadInput(
                "--use-offcuts: adds stock to calculate with, so it cannot be given "
                "with --no-calc");
        }
        if (withInventory) inventory.Path = InventoryFile(o.Inventory, settings);
        if (files.size() > 1 || folder) {
            CheckBatchOptions(app, o);
            return RunBatch(o, files, shown, io.Err, io.In, withInventory ? &inventory : nullptr);
        }
    } catch (const BadInput& e) {
        Complain(io.Err, e.what());
        return ExitBadInput;
    }
    const std::string file = files.empty() ? std::string() : files.front();
    return RunSingleJob(o, file, withInventory ? &inventory : nullptr, pictures, shown, io);
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           PictureOutput* pictures, bool errIsTerminal, std::istream* in, RegistryStore* settings) {
    CLI::App app{"Tallora: works out cutting patterns for one-dimensional stock.", "tallora-cli"};
    Options o;
    AddOptions(app, o);
    InventoryOptions io;
    const CLI::App* inventoryCommand = AddInventoryCommands(app, io);
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::Error&) {
        return ParseFailed(app, inventoryCommand, out, err);
    }
    if (o.Version) {
        out << "tallora-cli " << TALLORA_VERSION << "\n";
        return out.flush() ? ExitSuccess : WriteFailed(err);
    }
    // What no part expected still ends in a message and a status, never in an abort.
    try {
        if (inventoryCommand->parsed()) {
            if (!OnlyInventoryOptions(app, err)) return ExitBadInput;
            return RunInventoryCommand(io, o.Inventory, settings, out, err);
        }
        return RunJobs(app, o, pictures, settings, {out, err, in, errIsTerminal});
    } catch (const BadInput& e) {
        Complain(err, e.what());
    } catch (const InventoryError& e) {
        Complain(err, e.what());
    } catch (const std::bad_alloc&) {
        Complain(err, "the memory ran out");
    } catch (const std::exception& e) {
        Complain(err, std::string("internal error: ") + e.what());
    }
    return ExitBadInput;
}

}  // namespace tallora
