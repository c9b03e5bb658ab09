#include "cli/Batch.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <sstream>
#include <thread>

#include "cli/JsonOutput.h"
#include "cli/Terminal.h"

namespace tallora::cli {

std::vector<std::string> ExpandJobFiles(const std::vector<std::string>& arguments, bool& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    folder = false;
    for (const std::string& argument : arguments) {
        std::error_code ec;
        if (argument == StdinName || !fs::is_directory(argument, ec)) {
            files.push_back(argument);
            continue;
        }
        folder = true;
        std::vector<std::string> found;
        for (fs::directory_iterator it(argument, ec), end; !ec && it != end; it.increment(ec)) {
            if (Lowered(it->path().extension().string()) == ".tlf" && it->is_regular_file(ec)) {
                found.push_back(it->path().string());
            }
        }
        if (ec) throw BadInput(argument + ": the folder cannot be read: " + ec.message());
        if (found.empty()) throw BadInput(argument + ": the folder holds no *.tlf job files");
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
    }
    if (std::count(files.begin(), files.end(), StdinName) > 1) {
        throw BadInput("-: standard input holds one job; give - once");
    }
    return files;
}

namespace {

// One job of several, as its line of output and, when it failed, its line of standard error.
struct BatchLine {
    std::string Json;
    std::string Error;
    int Status = ExitSuccess;
    bool Booked = false;  // to the offcut inventory
};

BatchLine RunBatchJob(const Options& o, const std::string& file, std::istream* in,
                      JobInventory* inventory) {
    BatchLine line;
    const std::string name = file == StdinName ? "standard input" : file;
    const auto named = [&](const std::string& message) {
        return message.rfind(name + ": ", 0) == 0 ? message : name + ": " + message;
    };
    try {
        JobRun run;
        PrepareJob(o, file, in, run, inventory);
        CalculateJob(o, run, nullptr);
        BookJobRun(o.BookOffcuts ? inventory : nullptr, file, run);
        nlohmann::json result = run.Json();
        line.Status = run.Status();
        line.Booked = run.OffcutsBooked && run.OffcutsBooked->Changed;
        result["file"] = FileJson(file);
        result["exit_status"] = line.Status;
        if (inventory != nullptr) result["inventory"] = JobInventoryJson(*inventory, run);
        if (!run.Outcome.Completed) line.Error = named(run.Outcome.Error);
        if (run.BookingStatus != ExitSuccess) line.Error = named(run.OffcutsBooked->Message);
        std::ostringstream text;
        WriteJson(text, result, -1, &run.Result.Patterns, run.Input.Units);
        line.Json = std::move(text).str();
    } catch (const std::exception& e) {
        // Bad input, or what should never happen (memory ran out): this job fails, the others
        // go on.
        const bool bad = dynamic_cast<const BadInput*>(&e) != nullptr;
        const std::string message = bad ? e.what() : std::string("internal error: ") + e.what();
        line.Status = ExitBadInput;
        line.Error = named(message);
        line.Json = JsonLine(JobErrorJson(file, message));
    }
    return line;
}

}  // namespace

int RunBatch(const Options& o, const std::vector<std::string>& files, std::ostream& out,
             std::ostream& err, std::istream* in, JobInventory* inventory) {
    std::vector<BatchLine> lines(files.size());
    std::vector<bool> done(files.size(), false);
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i = next++; i < files.size(); i = next++) {
            BatchLine line = RunBatchJob(o, files[i], in, inventory);
            const std::lock_guard lock(mutex);
            lines[i] = std::move(line);
            done[i] = true;
            finished.notify_all();
        }
    };
    // The linear and integer programme solvers Optimal uses are not known to be safe on several
    // threads at once: its jobs run one at a time, each with the whole machine's time. Jobs that
    // use or book offcuts run in their order, each on the inventory the one before left.
    const size_t cores = o.AlgorithmName == "optimal" || inventory != nullptr
                             ? 1
                             : std::max<size_t>(1, std::thread::hardware_concurrency());
    std::vector<std::jthread> workers;
    for (size_t i = 0; i < std::min(cores, files.size()); ++i) workers.emplace_back(work);

    int status = ExitSuccess;
    int booked = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        BatchLine line;
        {
            std::unique_lock lock(mutex);
            finished.wait(lock, [&] { return done[i]; });
            line = std::move(lines[i]);
        }
        booked += line.Booked;
        out << line.Json << "\n" << std::flush;
        if (!line.Error.empty()) Complain(err, line.Error);
        status = std::max(status, line.Status);
        if (!out) {
            // No job more is started, nor booked, for output that goes nowhere.
            const int error = errno;
            next = files.size();
            workers.clear();  // the jobs under way end
            for (size_t k = i + 1; k < files.size(); ++k) booked += done[k] && lines[k].Booked;
            Complain(err, std::string("the output could not be written: ") + std::strerror(error) +
                              (booked > 0 ? "; " + std::to_string(booked) +
                                                (booked == 1 ? " job was" : " jobs were") +
                                                " booked to the offcut inventory all the same"
                                          : ""));
            return ExitBadInput;
        }
    }
    workers.clear();
    return status;
}

void CheckBatchOptions(const CLI::App& app, const Options& o) {
    if (app.get_option("--format")->count() > 0 && o.Format != "jsonl") {
        throw BadInput("--format " + o.Format +
                       ": several jobs are written one JSON object a line; give --format jsonl "
                       "or leave --format out");
    }
    for (const auto& [option, given] :
         {std::pair{"--save", o.Save.has_value()}, std::pair{"--pdf", o.Pdf.has_value()},
          std::pair{"--diagram", o.Diagram.has_value()},
          std::pair{"--export-csv", o.ExportCsv.has_value()},
          std::pair{"--costing-csv", o.CostingCsv.has_value()},
          std::pair{"--labels", o.Labels.has_value()},
          std::pair{"--saw-sheet", o.SawSheet.has_value()}}) {
        if (given) {
            throw BadInput(std::string(option) +
                           ": writes one file, so it cannot be given with several jobs or a "
                           "folder; give one job at a time");
        }
    }
    JobInput empty;
    ApplyOptions(o, empty);
}

}  // namespace tallora::cli
