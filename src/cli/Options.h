#pragma once

#include <CLI/CLI.hpp>
#include <istream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/Calculation.h"
#include "entry/PastedRows.h"
#include "job/JobInput.h"

namespace tallora::cli {

// What the command line asked for.
struct Options {
    std::vector<std::string> JobFiles;
    std::vector<std::string> Stock, Cuts;
    std::vector<std::string> StockCsv, CutsCsv;  // files of rows ("-": standard input)
    // Their contents, read once before any job: the option and file, the text, and its rows
    // read in millimetres. An imperial job reads the text again in its own units, where a
    // length between blanks may hold blanks.
    struct CsvFile {
        std::string Name;
        std::string Text;
        PastedRows MetricRows;
    };
    std::vector<CsvFile> CsvRows;
    std::optional<std::string> ExportCsv, CostingCsv;
    std::string Kerf, Trim, Hold, Offcut;
    std::optional<std::string> Units, Precision;  // as given
    bool ScrapAll = false;
    bool SwitchToFast = false;
    std::string AlgorithmName = "complex";
    std::string Format = "text";
    std::optional<std::string> Weight, Cost, Per, Customer, Reference, Section;
    std::string CutCharge, Charge1, Charge2, Charge3, ChargeNames;
    bool Costing = false;
    bool NoCalc = false;
    std::optional<std::string> Save;
    std::optional<std::string> TimeLimitText;  // as given
    std::optional<double> TimeLimit;           // read by ReadTimeLimit
    std::optional<int> Threads;
    std::optional<std::string> Pdf, Diagram;
    std::optional<std::string> Labels, SawSheet;
    std::string LabelLayout = "a4-3x8";
    int LabelStart = 1;
    std::optional<std::string> LabelMargins;  // "LEFT,TOP" in mm
    std::string Size;
    bool Quiet = false;
    bool Version = false;
    std::optional<std::string> Inventory;
    bool UseOffcuts = false, BookOffcuts = false;

    Algorithm RequestedAlgorithm() const;
};

void AddOptions(CLI::App& app, Options& o);

// "WxH" in pixels, each side from 1 to MaxDiagramSide; throws BadInput.
std::pair<int, int> DiagramSize(const std::string& text);

// Refuses an output file that cannot be written before anything is calculated (WriteProblem).
// What exists is left as it is.
void CheckOutputFile(const std::string& option, const std::string& file);

// --label-margins "LEFT,TOP" in millimetres, as centimetres; throws BadInput.
std::pair<double, double> LabelMargins(const std::string& text);

// --time-limit read into TimeLimit: a decimal number of seconds in range, never "nan", "inf"
// or hexadecimal; throws BadInput.
void ReadTimeLimit(Options& o);

// A file the run reads, and what the message calls it ("the job file").
struct InputFile {
    std::string What;
    std::string File;
};

// The files a run reads: those given ("-" is none) and, with an inventory, its file and the
// files SQLite keeps beside it.
std::vector<InputFile> InputFiles(const Options& o, const std::string& jobFile,
                                  const std::string& inventory);

// Refuses an output that is one of the inputs, through links and hard links too: it would be
// destroyed while it is read. Throws BadInput.
void CheckNotAnInput(const std::string& option, const std::string& file,
                     const std::vector<InputFile>& inputs);

// The files of rows, read once for every job; throws BadInput.
void ReadCsvOptions(Options& o, std::istream* in, bool stdinTaken);

// The options on top of what the job file gave: the rows of files, then the rows given one by
// one, as they would be typed, then the allowances, section data and charges; throws BadInput.
// --units first: a job read from a file is converted to them.
void ApplyOptions(const Options& o, JobInput& input, bool fromFile = false);

}  // namespace tallora::cli
