#include "cli/CliApp.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <limits>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <thread>
#include <utility>

#include "commands/Calculate.h"
#include "commands/ExportReport.h"
#include "commands/Inventory.h"
#include "costing/CostingCsv.h"
#include "costing/CostingFields.h"
#include "costing/CostingSheet.h"
#include "entry/Allowances.h"
#include "entry/ListEntry.h"
#include "entry/PastedRows.h"
#include "entry/SectionFields.h"
#include "job/RowTexts.h"
#include "job/Utf8.h"
#include "report/PdfReport.h"
#include "results/CuttingListCsv.h"
#include "results/SolutionBoundText.h"
#include "results/Statistics.h"
#include "storage/JobFile.h"
#include "storage/OldVersion.h"
#include "storage/RowsFile.h"
#include "storage/SafeFile.h"
#include "storage/TextFile.h"

namespace tallora {

namespace {

// Message boxes use CR LF; a terminal wants plain line ends.
std::string ForTerminal(const std::string& text) {
    std::string plain;
    plain.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        plain += text[i];
    }
    return plain;
}

class BadInput : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Answers the question of large jobs as told; the error box is the caller's to print. A
// calculation that runs for longer than two seconds shows its progress on a terminal.
class CliHost : public SilentCalculateHost {
public:
    using Clock = std::chrono::steady_clock;
    CliHost(bool switchToFast, std::ostream* progress)
        : switchToFast_(switchToFast), progress_(progress) {}
    ~CliHost() override { HideProgress(); }
    CliHost(const CliHost&) = delete;
    CliHost& operator=(const CliHost&) = delete;

    bool AskQuestion(const std::string&) override { return switchToFast_; }
    void UpdateProgress(int, const std::string& allocated, const std::string& remaining) override {
        lines_ = allocated + ", " + remaining;
        Show();
    }
    void SetPermutationLine(const std::string& text) override {
        permutation_ = text;
        Show();
    }
    void HideProgress() override {
        if (shown_ == 0) return;
        *progress_ << "\r" << std::string(shown_, ' ') << "\r" << std::flush;
        shown_ = 0;
    }

private:
    void Show() {
        const auto now = Clock::now();
        if (progress_ == nullptr || now - start_ < std::chrono::seconds(2) ||
            now - lastShown_ < std::chrono::milliseconds(250)) {
            return;
        }
        lastShown_ = now;
        const std::string line =
            "tallora-cli: " + lines_ + (permutation_.empty() ? "" : ", " + permutation_);
        *progress_ << "\r" << line
                   << std::string(shown_ > line.size() ? shown_ - line.size() : 0, ' ')
                   << std::flush;
        shown_ = std::max(shown_, line.size());
    }

    bool switchToFast_;
    std::ostream* progress_;
    const Clock::time_point start_ = Clock::now();
    Clock::time_point lastShown_;
    std::string lines_, permutation_;
    size_t shown_ = 0;
};

// Text from the command line as valid UTF-8 (a byte that is not becomes U+FFFD).
std::string TextArgument(const std::string& text) { return ValidUtf8(text); }

// Lines for a terminal: control characters (but tab) that a job file may hold would move the
// cursor or change colours; they are shown as U+FFFD.
std::string Printable(const std::string& line) {
    std::string shown;
    shown.reserve(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        const bool c1 = c == 0xC2 && i + 1 < line.size() &&
                        static_cast<unsigned char>(line[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(line[i + 1]) <= 0x9F;
        if ((c < 0x20 && c != '\t') || c == 0x7F || c1) {
            shown += "\xEF\xBF\xBD";
            if (c1) ++i;
        } else {
            shown += line[i];
        }
    }
    return shown;
}

// "Q@L" committed as the entry panels commit a typed row.
void CommitRowArgument(CuttingJob& job, const std::string& option, const std::string& argument) {
    const auto at = argument.find('@');
    if (at == std::string::npos) {
        throw BadInput(option + " " + argument + ": expected QUANTITY@LENGTH, for example 5@6000");
    }
    std::string quantity = argument.substr(0, at);
    const std::string length = argument.substr(at + 1);
    const bool stock = option == "--stock";
    if (stock) {
        std::string upper = quantity;
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (upper == "ANY") quantity = upper;
    }
    if (quantity.empty() || length.empty()) {
        throw BadInput(option + " " + argument + ": both the quantity and the length are needed");
    }
    const CommitResult result = stock ? CommitStockRow(job.StockItems, quantity, length)
                                      : CommitCutRow(job.CutItems, quantity, length);
    if (result.Status == CommitStatus::Refused) {
        throw BadInput(option + " " + argument + ": " + ForTerminal(result.Message));
    }
}

void SetAllowanceArgument(CuttingJob& job, AllowanceField field, const std::string& option,
                          const std::string& text) {
    const auto value = ReadWholeNumber(text);
    if (!value) throw BadInput(option + " " + text + ": expected a whole number of millimetres");
    SetAllowance(job.allowances, field, *value);
}

// A decimal number from 0 to the most the field it goes into can show; `argument` is what the
// message names (the whole argument the number came from).
double DecimalArgument(const std::string& option, const std::string& text, double max, int decimals,
                       const std::string& argument = {}) {
    const auto value = ReadDecimal(text);
    if (!value || *value < 0 || *value > max) {
        throw BadInput(option + " " + (argument.empty() ? text : argument) +
                       ": expected a number from 0 to " +
                       FormatFixed(max, decimals, NumberFormat::UK()));
    }
    return *value;
}

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// "BASIS:VALUE" of a charge, the basis one of those the charge offers.
void ChargeArgument(const std::string& option, const std::string& argument,
                    const std::vector<const char*>& offered, std::string& basis, double& value) {
    const auto colon = argument.find(':');
    std::string names;
    for (const char* code : offered)
        names += std::string(names.empty() ? "" : ", ") + Lowered(code);
    if (colon == std::string::npos) {
        throw BadInput(option + " " + argument + ": expected BASIS:VALUE, BASIS one of " + names);
    }
    const std::string wanted = Lowered(argument.substr(0, colon));
    const auto match = std::find_if(offered.begin(), offered.end(),
                                    [&](const char* code) { return Lowered(code) == wanted; });
    if (match == offered.end()) {
        throw BadInput(option + " " + argument + ": the basis must be one of " + names);
    }
    basis = *match;
    value = DecimalArgument(option, argument.substr(colon + 1), MaxChargeValue, 2, argument);
}

// Display width of UTF-8 text: one column a character.
size_t Width(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(),
                                             [](unsigned char c) { return (c & 0xC0) != 0x80; }));
}

std::string Pad(const std::string& text, size_t width, bool right) {
    const std::string fill(width > Width(text) ? width - Width(text) : 0, ' ');
    return right ? fill + text : text + fill;
}

// A row's number as the engine reads it; a quantity of "*" or "ANY" is -1 (unlimited), a text
// that is no number null.
nlohmann::json RowNumber(const std::string& text, bool quantity) {
    if (quantity && IsUnlimitedQuantity(text)) return -1;
    const auto value = ReadWholeNumber(text);
    return value ? nlohmann::json(*value) : nlohmann::json(nullptr);
}

// The rows, allowances and algorithm the calculation was given.
nlohmann::json InputJson(const CuttingJob& job, Algorithm requested) {
    const auto rows = [](const std::vector<ListRow>& list) {
        nlohmann::json out = nlohmann::json::array();
        for (const auto& row : list) {
            out.push_back({{"quantity", RowNumber(row.Quantity, true)},
                           {"length", RowNumber(row.Length, false)}});
        }
        return out;
    };
    const Allowances& a = job.allowances;
    return {{"stock", rows(job.StockItems)},
            {"cuts", rows(job.CutItems)},
            {"kerf", a.Kerf},
            {"trim", a.Trim},
            {"hold", a.Hold},
            {"offcut", a.Offcut},
            {"scrap_all", a.NoOffcuts},
            {"algorithm", AlgorithmName(requested)}};
}

nlohmann::json ResultJson(const CuttingJob& job, Algorithm requested, Algorithm algorithm,
                          const CalculateResult& outcome, const CostingSheet* costing) {
    nlohmann::json patterns = nlohmann::json::array();
    for (const auto& p : job.Patterns) {
        patterns.push_back({{"StockLength", p.StockLength},
                            {"BarCount", p.BarCount},
                            {"CutLength", p.CutLength},
                            {"PieceCount", p.PieceCount},
                            {"IsOffcut", p.IsOffcut},
                            {"OffcutLength", p.OffcutLength}});
    }
    nlohmann::json remaining = nlohmann::json::array();
    for (const auto& row : job.Cuts) remaining.push_back({row.CutQuantity, row.CutLength});
    nlohmann::json stockLeft = nlohmann::json::array();
    for (const auto& row : job.Stock) stockLeft.push_back({row.StockQuantity, row.StockLength});
    nlohmann::json statistics = nlohmann::json::array();
    nlohmann::json stats = nullptr;
    if (outcome.Completed) {
        const StatisticsTexts texts = DisplayStats(outcome.Stats, NumberFormat::UK());
        for (int i = 0; i < StatisticsRows; ++i) {
            statistics.push_back({{"caption", texts.Captions[i]},
                                  {"metres", texts.Metres[i]},
                                  {"percent", texts.Percent[i]},
                                  {"cost", texts.Cost[i]},
                                  {"weight", texts.Weight[i]}});
        }
        const Statistics& st = outcome.Stats;
        stats = {{"metres", st.StatMetres},
                 {"percent", st.StatPercent},
                 {"cost", st.StatCost},
                 {"weight", st.StatWeight}};
    }
    nlohmann::json result = {
        {"patterns", patterns},
        {"remaining", remaining},
        {"stock_left", stockLeft},
        {"scale_factor", job.ScaleFactor},
        {"permutations", outcome.Permutations},
        {"algorithm", AlgorithmName(algorithm)},
        {"time_text", outcome.TimeText},
        {"error", outcome.Completed ? nlohmann::json(nullptr) : nlohmann::json(outcome.Error)},
        {"cutting_list", outcome.CuttingList},
        {"statistics", statistics},
        {"schema_version", JsonSchemaVersion},
        {"version", TALLORA_VERSION},
        {"input", InputJson(job, requested)},
        {"text", outcome.CuttingList},
        {"stats", stats},
        {"stats_text", statistics},
        {"StockBarsUsed", job.StockBarsUsed},
        {"RemainingPieces", job.RemainingPieces}};
    // What the Optimal algorithm proved; no key after the other algorithms.
    if (job.Bound) {
        const SolutionBound& b = *job.Bound;
        const auto orNull = [&](auto value) {
            return b.Known ? nlohmann::json(value) : nlohmann::json(nullptr);
        };
        result["bound"] = {
            {"lower_bound_mm", orNull(b.LowerBound)},
            {"linear_bound_mm", orNull(b.LinearBound)},
            {"lower_bound_bars",
             b.SingleLength ? orNull(b.LowerBoundBars) : nlohmann::json(nullptr)},
            {"bars", b.UsedBars},
            {"used_mm", b.Used},
            {"proven_optimal", b.ProvenOptimal},
            {"gap_bars",
             b.SingleLength ? orNull(b.UsedBars - b.LowerBoundBars) : nlohmann::json(nullptr)},
            // With inventory offcuts the bound is of new stock; without, all of it is new.
            {"gap_mm", orNull(b.NewUsed() - b.LowerBound)},
            {"offcuts", b.Offcuts
                            ? nlohmann::json{{"new_stock_mm", b.NewUsed()},
                                             {"offcuts_mm", b.OffcutUsed},
                                             {"offcut_lower_bound_mm", orNull(b.OffcutLowerBound)},
                                             {"new_stock_proven", b.NewStockProven}}
                            : nlohmann::json(nullptr)},
            {"seconds", b.Seconds},
            {"stopped", b.ProvenOptimal ? nlohmann::json(nullptr)
                        : b.Cancelled   ? nlohmann::json("cancelled")
                        : b.TimedOut    ? nlohmann::json("time limit")
                                        : nlohmann::json(nullptr)},
            {"text", BoundText(b, NumberFormat::UK())}};
    }
    if (costing != nullptr) {
        nlohmann::json grid = nlohmann::json::array();
        for (const auto& row : costing->GridRows) grid.push_back(row);
        const CostingTable& t = costing->Table;
        nlohmann::json rows = nlohmann::json::array();
        for (const CostingRow& r : t.Rows) {
            rows.push_back({{"quantity", r.Quantity},
                            {"length", r.Length},
                            {"net_weight", r.NetWeight},
                            {"material", r.MaterialCost},
                            {"cutting", r.CuttingCharge},
                            {"other1", r.Other1},
                            {"other2", r.Other2},
                            {"other3", r.Other3},
                            {"total", r.TotalCost}});
        }
        result["costing"] = {{"clipboard", costing->ClipboardLines},
                             {"grid", grid},
                             {"rows", rows},
                             {"totals",
                              {{"weight", t.TotalWeight},
                               {"material", t.TotalMaterial},
                               {"cutting", t.TotalCutting},
                               {"other1", t.TotalOther1},
                               {"other2", t.TotalOther2},
                               {"other3", t.TotalOther3},
                               {"grand", t.GrandTotal}}}};
    }
    return result;
}

// The cutting list, then the statistics as a table.
void PrintResults(std::ostream& out, const CuttingJob& job, const CalculateResult& outcome,
                  const CostingSheet* costing) {
    for (const auto& line : outcome.CuttingList) out << Printable(line) << "\n";
    out << "\n";
    const StatisticsTexts texts = DisplayStats(outcome.Stats, NumberFormat::UK());
    for (int i = 0; i < StatisticsRows; ++i) {
        out << Pad(texts.Captions[i], 22, false) << Pad(texts.Metres[i], 13, true)
            << Pad(texts.Percent[i], 10, true) << Pad(texts.Cost[i], 16, true)
            << Pad(texts.Weight[i], 16, true) << "\n";
    }
    if (job.Bound) out << BoundText(*job.Bound, NumberFormat::UK()) << "\n";
    if (costing != nullptr) {
        out << "\n";
        for (const auto& line : costing->ClipboardLines) out << Printable(line) << "\n";
    }
}

// What the command line asked for.
struct CliOptions {
    std::vector<std::string> jobFiles;
    std::vector<std::string> stock, cuts;
    std::vector<std::string> stockCsv, cutsCsv;  // files of rows ("-": standard input)
    // Their rows, read once before any job: (option and file, rows).
    std::vector<std::pair<std::string, PastedRows>> csvRows;
    std::optional<std::string> exportCsv, costingCsv;
    std::string kerf, trim, hold, offcut;
    bool scrapAll = false;
    bool switchToFast = false;
    std::string algorithm = "complex";
    std::string format = "text";
    std::optional<std::string> weight, cost, per, customer, reference, section;
    std::string cutCharge, charge1, charge2, charge3, chargeNames;
    bool costing = false;
    bool noCalc = false;
    std::optional<std::string> save;
    std::optional<double> timeLimit;
    std::optional<std::string> pdf, diagram;
    std::string size;
    bool quiet = false;
    bool version = false;
    std::optional<std::string> inventory;
    bool useOffcuts = false, bookOffcuts = false;
};

void AddOptions(CLI::App& app, CliOptions& o) {
    app.add_option("JOB", o.jobFiles,
                   "A job file (current or earlier format) whose rows, allowances, section data "
                   "and charges the job starts from; - reads it from standard input. Several "
                   "files, or a folder (its *.tlf files by name), are calculated each on its own")
        ->type_name("JOB");
    app.add_option("--stock", o.stock,
                   "A stock row QUANTITY@LENGTH (QUANTITY * or ANY: unlimited); repeatable")
        ->allow_extra_args(false)
        ->type_name("Q@L");
    app.add_option("--cut", o.cuts, "A cut row QUANTITY@LENGTH; repeatable")
        ->allow_extra_args(false)
        ->type_name("Q@L");
    app.add_option("--stock-csv", o.stockCsv,
                   "Stock rows from a CSV or tab-separated FILE (- for standard input): quantity "
                   "and length a line, a header line skipped; repeatable")
        ->allow_extra_args(false)
        ->type_name("FILE");
    app.add_option("--cuts-csv", o.cutsCsv,
                   "Cut rows from a CSV or tab-separated FILE (- for standard input): quantity, "
                   "length and an optional mark a line, a header line skipped; repeatable")
        ->allow_extra_args(false)
        ->type_name("FILE");
    app.add_option("--export-csv", o.exportCsv,
                   "Write the cutting list as CSV to FILE: a line per pattern and cut length")
        ->type_name("FILE");
    app.add_option("--costing-csv", o.costingCsv,
                   "Write the costing table as CSV to FILE, with numbers")
        ->type_name("FILE");
    app.add_option("--kerf", o.kerf, "Saw kerf in mm (1..10, default 3)")->type_name("N");
    app.add_option("--trim", o.trim, "Trim per bar in mm (0..250, default 25)")->type_name("N");
    app.add_option("--hold", o.hold, "Vice hold per bar in mm (0..500, default 0)")->type_name("N");
    app.add_option("--offcut", o.offcut, "Shortest offcut in mm (0..18300, default 3000)")
        ->type_name("N");
    app.add_flag("--scrap-all", o.scrapAll, "Count every remnant as scrap");
    app.add_option("--algorithm", o.algorithm, "complex (default), fast or optimal")
        ->check(CLI::IsMember({"complex", "fast", "optimal"}));
    app.add_flag("--switch-to-fast", o.switchToFast,
                 "Answer Yes when a job of more than 40 cut rows offers the Fast algorithm");
    app.add_option("--weight", o.weight, "Section weight in kg per metre")->type_name("X");
    app.add_option("--cost", o.cost,
                   "Section price per tonne or per metre (a leading \u00A3 is dropped)")
        ->type_name("X");
    app.add_option("--per", o.per, "What the price is per: tonne (default) or metre")
        ->check(CLI::IsMember({"tonne", "metre"}));
    app.add_option("--customer", o.customer, "Customer name")->type_name("T");
    app.add_option("--reference", o.reference, "Job reference")->type_name("T");
    app.add_option("--section", o.section, "Section description")->type_name("T");
    app.add_option("--cut-charge", o.cutCharge,
                   "Cutting charge: tonne, metre, lump or cut, and value")
        ->type_name("BASIS:VALUE");
    app.add_option("--charge1", o.charge1,
                   "Other charge 1 (on the net pieces): tonne, metre, lump or each")
        ->type_name("BASIS:VALUE");
    app.add_option("--charge2", o.charge2,
                   "Other charge 2 (on the gross material): tonne, metre, lump or each")
        ->type_name("BASIS:VALUE");
    app.add_option("--charge3", o.charge3,
                   "Other charge 3 (on the gross material): tonne, metre, lump or each")
        ->type_name("BASIS:VALUE");
    app.add_option("--charge-names", o.chargeNames, "Names of the other charges 1 to 3")
        ->type_name("N1,N2,N3");
    app.add_flag("--costing", o.costing, "Also print the costing sheet");
    app.add_flag("--no-calc", o.noCalc, "Use the results stored in JOB instead of calculating");
    app.add_option("--save", o.save, "Write the job file after the calculation")->type_name("FILE");
    app.add_option("--time-limit", o.timeLimit,
                   "Complex: stop the search after S seconds and finish from what it has; "
                   "Optimal: keep the best plan found in S seconds (default 10)")
        ->type_name("S")
        ->check(CLI::Range(0.001, 1e6));
    app.add_option("--format", o.format,
                   "text (default for one job), json, or jsonl (one JSON object a line; the "
                   "default and the only format for several jobs)")
        ->check(CLI::IsMember({"text", "json", "jsonl"}));
    app.add_option("--pdf", o.pdf, "Write the PDF cutting report to FILE")->type_name("FILE");
    CLI::Option* diagram =
        app.add_option("--diagram", o.diagram, "Write the cutting diagram to FILE as a PNG picture")
            ->type_name("FILE.png");
    app.add_option("--size", o.size,
                   "Size of the --diagram picture in pixels (default " +
                       std::to_string(DefaultDiagramWidth) + "x" +
                       std::to_string(DefaultDiagramHeight) + ")")
        ->type_name("WxH")
        ->needs(diagram);
    app.add_flag("--quiet", o.quiet,
                 "Print nothing on standard output and no progress; files asked for are still "
                 "written and errors still go to standard error");
    app.add_flag("--version", o.version, "Print the program's version and exit");
    app.add_flag("--use-offcuts", o.useOffcuts,
                 "Before calculating, add the offcut inventory's offcuts of the job's section to "
                 "its stock list");
    app.add_flag("--book-offcuts", o.bookOffcuts,
                 "After calculating, book the offcuts the job returns, and the inventory offcuts "
                 "it cut, to the offcut inventory; a calculation is booked once");
    app.add_option("--inventory", o.inventory,
                   "The offcut inventory FILE (default: \"" + std::string(InventoryFileName) +
                       "\" in the data folder)")
        ->type_name("FILE");
    app.footer(
        "Exit status: 0 success; 1 a calculation was refused, or its booking to the offcut "
        "inventory (by some job of several); 2 bad usage or bad input, such as a job file that "
        "cannot be read, an output file that cannot be written or an offcut inventory that "
        "cannot be used (by some job of several).\nCommands: tallora-cli inventory "
        "list|add|remove|export (see tallora-cli inventory --help); a job file named inventory "
        "is given as ./inventory.\nThe JSON "
        "output is described in docs/cli-json.md.");
}

// "WxH" in pixels, each side from 1 to MaxDiagramSide.
std::pair<int, int> DiagramSize(const std::string& text) {
    const auto side = [](std::string_view digits) -> std::optional<int> {
        int value = 0;
        const char* last = digits.data() + digits.size();
        const auto [end, ec] = std::from_chars(digits.data(), last, value);
        if (digits.empty() || ec != std::errc() || end != last) return std::nullopt;
        if (value < 1 || value > MaxDiagramSide) return std::nullopt;
        return value;
    };
    const auto x = text.find_first_of("xX");
    if (x != std::string::npos) {
        const auto width = side(std::string_view(text).substr(0, x));
        const auto height = side(std::string_view(text).substr(x + 1));
        if (width && height) return {*width, *height};
    }
    throw BadInput("--size " + text + ": expected WIDTHxHEIGHT in pixels, each from 1 to " +
                   std::to_string(MaxDiagramSide) + ", for example 945x665");
}

// Refuses an output file that cannot be written before anything is calculated. What exists is
// left as it is: an existing file is only opened for appending, a new one is removed again.
void CheckOutputFile(const std::string& option, const std::string& file) {
    namespace fs = std::filesystem;
    if (file.empty()) throw BadInput(option + ": expected a file name");
    const fs::path path(file);
    std::error_code ec;
    if (fs::is_directory(path, ec))
        throw BadInput(option + " " + file + ": is a folder, not a file");
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec)) {
        throw BadInput(option + " " + file + ": the folder " + folder.string() + " does not exist");
    }
    const bool existed = fs::exists(path, ec);
    if (existed && !fs::is_regular_file(path, ec)) {
        throw BadInput(option + " " + file + ": not a regular file");
    }
    const fs::perms write =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if (existed && (fs::status(path, ec).permissions() & write) == fs::perms::none) {
        throw BadInput(option + " " + file + ": the file is read-only");
    }
    {
        std::ofstream probe(path, std::ios::binary | std::ios::app);
        if (!probe) throw BadInput(option + " " + file + ": the file cannot be written");
    }
    if (!existed) fs::remove(path, ec);
}

enum class Loaded { None, Results, OldVersion };

// The job file's lines as read: a file, or "-" for standard input.
std::vector<std::string> JobFileLines(const std::string& path, std::istream* in) {
    if (path != StdinName) {
        // The read's status says what went wrong.
        std::string error;
        auto lines = ReadTextFile(path, error);
        if (!lines) throw BadInput(path + ": " + error);
        return *lines;
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
    return SplitTextLines(bytes);
}

// The job file's rows, allowances, section data, charges and results; an earlier-format file
// gives its rows and section data, to be calculated.
Loaded LoadJobFile(const std::string& path, std::istream* in, CuttingJob& job) {
    const auto lines = JobFileLines(path, in);
    const std::string name = path == StdinName ? "standard input" : path;
    const JobFileRead read = ReadJobLines(lines, job);
    switch (read.Status) {
        case ReadStatus::Loaded:
            return Loaded::Results;
        case ReadStatus::OldVersion:
            if (ReadOldVersion(lines, job) == OldReadStatus::Read) return Loaded::OldVersion;
            throw BadInput(name + ": " + ForTerminal(NotADataFileMessage));
        case ReadStatus::NotADataFile:
            throw BadInput(name + ": " + NotADataFileMessage);
        case ReadStatus::Corrupted:
            throw BadInput(name + ": " + ForTerminal(CorruptedDataMessage));
        case ReadStatus::SystemError:
            throw BadInput(name + ": " + read.Error);
    }
    return Loaded::None;
}

// The files of rows, read once for every job; throws BadInput.
void ReadCsvOptions(CliOptions& o, std::istream* in, bool stdinTaken) {
    const auto read = [&](const std::string& option, const std::string& file) {
        const std::string name = option + " " + file;
        std::string text;
        if (file == StdinName) {
            if (stdinTaken) throw BadInput(name + ": standard input can be read once; give - once");
            stdinTaken = true;
            if (in == nullptr) throw BadInput(name + ": standard input cannot be read here");
            std::vector<char> buffer(1 << 16);
            while (in->read(buffer.data(), static_cast<std::streamsize>(buffer.size())) ||
                   in->gcount() > 0) {
                text.append(buffer.data(), static_cast<size_t>(in->gcount()));
                if (text.size() > MaxRowsFileBytes) throw BadInput(name + ": more than 10 MB");
            }
        } else {
            std::string error;
            auto contents = ReadRowsFile(file, error);
            if (!contents) throw BadInput(name + ": " + ForTerminal(error));
            text = std::move(*contents);
        }
        PastedRows rows = RowsFromText(text);
        if (!rows.NotRows.empty()) {
            const PasteFailure& bad = rows.NotRows.front();
            throw BadInput(name + ": line " + std::to_string(bad.Line) + ": " +
                           ForTerminal(bad.Reason));
        }
        o.csvRows.push_back({name, std::move(rows)});
    };
    for (const auto& file : o.stockCsv) read("--stock-csv", file);
    for (const auto& file : o.cutsCsv) read("--cuts-csv", file);
}

// The options on top of what the job file gave: the rows of files, then the rows given one by
// one, as they would be typed.
void ApplyOptions(const CliOptions& o, CuttingJob& job) {
    const NumberFormat uk = NumberFormat::UK();
    for (const auto& [name, rows] : o.csvRows) {
        const bool stock = name.rfind("--stock-csv", 0) == 0;
        for (const PastedRow& row : rows.Rows) {
            const CommitResult result =
                stock ? CommitStockRow(job.StockItems, row.Quantity, row.Length)
                      : CommitCutRow(job.CutItems, row.Quantity, row.Length, row.Mark);
            if (result.Status == CommitStatus::Refused) {
                throw BadInput(name + ": line " + std::to_string(row.Line) + ": " +
                               ForTerminal(ReasonOf(result.Message)));
            }
        }
    }
    for (const auto& row : o.stock) CommitRowArgument(job, "--stock", row);
    for (const auto& row : o.cuts) CommitRowArgument(job, "--cut", row);
    if (!o.kerf.empty()) SetAllowanceArgument(job, AllowanceField::Kerf, "--kerf", o.kerf);
    if (!o.trim.empty()) SetAllowanceArgument(job, AllowanceField::Trim, "--trim", o.trim);
    if (!o.hold.empty()) SetAllowanceArgument(job, AllowanceField::Hold, "--hold", o.hold);
    if (!o.offcut.empty()) SetAllowanceArgument(job, AllowanceField::Offcut, "--offcut", o.offcut);
    if (o.scrapAll) job.allowances.NoOffcuts = true;
    ApplyOffcutRule(job.allowances);

    SectionData& s = job.section;
    if (o.weight) s.SectionWeight = DecimalArgument("--weight", *o.weight, MaxSectionWeight, 3);
    if (o.cost) {
        const std::string cost = WithoutPoundSign(*o.cost);
        s.SectionCost = cost.empty() ? 0.0 : DecimalArgument("--cost", cost, MaxSectionCost, 2);
    }
    if (o.per) s.CostType = *o.per == "metre" ? ChargeBasis::Metre : ChargeBasis::Tonne;
    if (o.customer) s.Customer = TextArgument(*o.customer);
    if (o.reference) s.Reference = TextArgument(*o.reference);
    if (o.section) s.Section = TextArgument(*o.section);
    // Used as the fields show them after a calculation's rewrite.
    s.SectionWeight = WeightAsShown(s.SectionWeight, uk);
    s.SectionCost = CostAsShown(s.SectionCost, uk);

    CostingSettings& c = job.costing;
    using namespace ChargeBasis;
    if (!o.cutCharge.empty()) {
        ChargeArgument("--cut-charge", o.cutCharge, {Tonne, Metre, Lump, Cut}, c.CCutType,
                       c.CCutValue);
    }
    const std::vector<const char*> other = {Tonne, Metre, Lump, Each};
    if (!o.charge1.empty())
        ChargeArgument("--charge1", o.charge1, other, c.CGalvType, c.CGalvValue);
    if (!o.charge2.empty()) ChargeArgument("--charge2", o.charge2, other, c.CPPType, c.CPPValue);
    if (!o.charge3.empty())
        ChargeArgument("--charge3", o.charge3, other, c.COtherType, c.COtherValue);
    if (!o.chargeNames.empty()) {
        std::vector<std::string> names;
        std::stringstream list(o.chargeNames);
        for (std::string name; std::getline(list, name, ',');) names.push_back(name);
        if (names.size() > 3)
            throw BadInput("--charge-names " + o.chargeNames + ": at most three names");
        std::string* targets[] = {&c.OtherName1, &c.OtherName2, &c.OtherName3};
        for (size_t i = 0; i < names.size(); ++i) {
            if (!names[i].empty()) *targets[i] = TextArgument(names[i]);
        }
    }
}

// Takes whatever is written to it: standard output under --quiet.
class NullBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// Messages of the message boxes may run over several lines; standard error gets one line each.
std::string OneLine(const std::string& text) {
    std::string line;
    bool broken = false;
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            broken = true;
            continue;
        }
        if (broken) {
            while (!line.empty() && line.back() == ' ') line.pop_back();
            if (!line.empty() && c != ' ') line += ' ';
            broken = false;
        }
        line += c;
    }
    return line;
}

void Complain(std::ostream& err, const std::string& message) {
    err << "tallora-cli: " << OneLine(message) << "\n";
}

// Lines of a message box's text, for standard error or a JSON array.
std::vector<std::string> MessageLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (const char c : ForTerminal(text) + "\n") {
        if (c != '\n') {
            line += c;
            continue;
        }
        if (!line.empty()) lines.push_back(Printable(line));
        line.clear();
    }
    return lines;
}

// What the user is told of the inventory in text mode: a line each, on standard error.
void Tell(std::ostream& err, const std::string& message) {
    for (const std::string& line : MessageLines(message)) err << "tallora-cli: " << line << "\n";
}

// A registry with nothing in it: the command line without settings still finds the default
// data folder.
class EmptyRegistry : public RegistryStore {
public:
    bool KeyExists(RegistryRoot, const std::string&) const override { return false; }
    bool CreateKey(RegistryRoot, const std::string&) override { return false; }
    bool DeleteKey(RegistryRoot, const std::string&) override { return false; }
    bool ValueExists(RegistryRoot, const std::string&, const std::string&) const override {
        return false;
    }
    std::optional<std::string> ReadString(RegistryRoot, const std::string&,
                                          const std::string&) const override {
        return {};
    }
    std::optional<std::int32_t> ReadInteger(RegistryRoot, const std::string&,
                                            const std::string&) const override {
        return {};
    }
    std::optional<std::vector<std::uint8_t>> ReadBinary(RegistryRoot, const std::string&,
                                                        const std::string&) const override {
        return {};
    }
    bool WriteString(RegistryRoot, const std::string&, const std::string&,
                     const std::string&) override {
        return false;
    }
    bool WriteInteger(RegistryRoot, const std::string&, const std::string&, std::int32_t) override {
        return false;
    }
    bool WriteBinary(RegistryRoot, const std::string&, const std::string&,
                     const std::vector<std::uint8_t>&) override {
        return false;
    }
};

// The inventory's file: --inventory, else the settings' data folder, else the default one.
std::string InventoryFile(const std::optional<std::string>& given, RegistryStore* settings) {
    if (given) {
        if (given->empty()) throw BadInput("--inventory: expected a file name");
        return *given;
    }
    SystemShell shell;
    if (settings != nullptr) return InventoryPath(*settings, shell);
    EmptyRegistry none;
    return InventoryPath(none, shell);
}

// The inventory opened; one that cannot be (damaged, newer, no folder) is bad input, left as
// it is.
OffcutStore OpenInventoryFile(const std::string& path) {
    try {
        SystemShell shell;
        return OpenInventory(path, shell);
    } catch (const InventoryError& e) {
        throw BadInput(e.what());
    }
}

// What the inventory commands were given.
struct InventoryOptions {
    std::optional<std::string> file, section, location;
    std::string format = "text";
    std::string addSection, addLength, addCount;
    std::string removeId;
    std::optional<std::string> removeCount;
    std::string exportFile;
    CLI::App *list = nullptr, *add = nullptr, *remove = nullptr, *exportCsv = nullptr;
};

CLI::App* AddInventoryCommands(CLI::App& app, InventoryOptions& io) {
    CLI::App* inventory = app.add_subcommand(
        "inventory", "The offcut inventory: list, add, remove or export its offcuts");
    inventory->require_subcommand(1);
    const auto fileOption = [&](CLI::App* command) {
        command
            ->add_option("--inventory", io.file,
                         "The offcut inventory FILE (default: \"" + std::string(InventoryFileName) +
                             "\" in the data folder)")
            ->type_name("FILE");
    };
    const auto sectionOption = [&](CLI::App* command, const std::string& what) {
        command
            ->add_option("--section", io.section,
                         what + " of section S only (letter case and surrounding blanks aside)")
            ->type_name("S");
    };
    io.list =
        inventory->add_subcommand("list", "List the offcuts, then the metres of each section");
    sectionOption(io.list, "The offcuts");
    io.list->add_option("--format", io.format, "text (default) or json")
        ->check(CLI::IsMember({"text", "json"}));
    fileOption(io.list);

    io.add = inventory->add_subcommand("add", "Add offcuts by hand and print the new offcut's id");
    io.add->add_option("SECTION", io.addSection, "The section")->required();
    io.add->add_option("LENGTH", io.addLength, "The length in mm")->required();
    io.add->add_option("COUNT", io.addCount, "The pieces")->required();
    io.add->add_option("--location", io.location, "Where the offcuts are kept")->type_name("TEXT");
    fileOption(io.add);

    io.remove = inventory->add_subcommand("remove", "Take pieces of an offcut away");
    io.remove->add_option("ID", io.removeId, "The offcut's id, as listed")->required();
    io.remove->add_option("COUNT", io.removeCount, "The pieces taken (default: all)");
    fileOption(io.remove);

    io.exportCsv = inventory->add_subcommand("export", "Write the offcuts to a CSV file");
    io.exportCsv->add_option("FILE", io.exportFile, "The CSV file")->required();
    sectionOption(io.exportCsv, "The offcuts");
    fileOption(io.exportCsv);
    return inventory;
}

// A whole number from 1 to `max` given as an argument of an inventory command; `expected` says
// what it should be.
long long CountArgument(const std::string& what, const std::string& text, long long max,
                        const std::string& expected) {
    long long value = 0;
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(text.data(), last, value);
    if (text.empty() || ec != std::errc() || end != last || value < 1 || value > max)
        throw BadInput(what + " " + text + ": expected " + expected);
    return value;
}

nlohmann::json SourceJson(const OffcutSource& source) {
    if (source.JobFile.empty() && source.JobReference.empty() && source.Pattern == 0)
        return nullptr;
    return {{"job_file", source.JobFile},
            {"job_reference", source.JobReference},
            {"pattern", source.Pattern}};
}

nlohmann::json InventoryListJson(const std::string& path, const std::optional<std::string>& section,
                                 const std::vector<Offcut>& offcuts,
                                 const std::vector<SectionTotal>& totals) {
    nlohmann::json list = nlohmann::json::array();
    for (const Offcut& o : offcuts) {
        list.push_back({{"id", o.Id},
                        {"section", o.Section},
                        {"length_mm", o.Length},
                        {"count", o.Count},
                        {"source", SourceJson(o.Source)},
                        {"booked_at", o.BookedAt},
                        {"location", o.Location.empty() ? nlohmann::json(nullptr)
                                                        : nlohmann::json(o.Location)}});
    }
    nlohmann::json sums = nlohmann::json::array();
    for (const SectionTotal& t : totals) {
        sums.push_back({{"section", t.Section},
                        {"rows", t.Rows},
                        {"pieces", t.Pieces},
                        {"total_mm", t.TotalLength},
                        {"metres", static_cast<double>(t.TotalLength) / 1000.0}});
    }
    return {{"schema_version", JsonSchemaVersion},
            {"version", TALLORA_VERSION},
            {"inventory", path},
            {"section", section ? nlohmann::json(*section) : nlohmann::json(nullptr)},
            {"offcuts", list},
            {"totals", sums}};
}

// "beam.tlf J-1 #2": where an offcut came from, short enough for a table.
std::string SourceText(const OffcutSource& source) {
    std::string text = FileNamePart(source.JobFile);
    if (!source.JobReference.empty()) text += (text.empty() ? "" : " ") + source.JobReference;
    if (source.Pattern > 0) text += (text.empty() ? "#" : " #") + std::to_string(source.Pattern);
    return text;
}

void PrintInventoryList(std::ostream& out, const std::optional<std::string>& section,
                        const std::vector<Offcut>& offcuts,
                        const std::vector<SectionTotal>& totals) {
    if (offcuts.empty()) {
        out << "The offcut inventory holds no offcuts"
            << (section ? " of section \"" + Printable(*section) + "\"" : "") << ".\n";
        return;
    }
    std::vector<std::vector<std::string>> table = {
        {"Id", "Section", "Length mm", "Count", "Source", "Booked at", "Location"}};
    for (const Offcut& o : offcuts) {
        table.push_back({std::to_string(o.Id), Printable(o.Section), std::to_string(o.Length),
                         std::to_string(o.Count), Printable(SourceText(o.Source)), o.BookedAt,
                         Printable(o.Location)});
    }
    std::vector<size_t> widths(table.front().size(), 0);
    for (const auto& row : table) {
        for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], Width(row[c]));
    }
    // Numbers to the right, as in the cutting list.
    const std::vector<bool> right = {true, false, true, true, false, false, false};
    for (const auto& row : table) {
        std::string line;
        for (size_t c = 0; c < row.size(); ++c)
            line += (c == 0 ? "" : "  ") + Pad(row[c], widths[c], right[c]);
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out << line << "\n";
    }
    out << "\n";
    for (const SectionTotal& t : totals) {
        out << Printable(t.Section) << ": " << t.Rows << (t.Rows == 1 ? " row, " : " rows, ")
            << t.Pieces << (t.Pieces == 1 ? " piece, " : " pieces, ")
            << InventoryMetres(t.TotalLength) << "\n";
    }
}

// tallora-cli inventory ...: the status to exit with.
int RunInventoryCommand(const InventoryOptions& io, const std::optional<std::string>& mainFile,
                        RegistryStore* settings, std::ostream& out, std::ostream& err) {
    try {
        if (io.exportCsv->parsed()) CheckOutputFile("inventory export", io.exportFile);
        std::optional<std::string> section;
        if (io.section) section = TextArgument(*io.section);
        const std::string path = InventoryFile(io.file ? io.file : mainFile, settings);
        // Arguments are checked before the file is opened, or made.
        if (io.add->parsed()) {
            NewOffcut offcut;
            offcut.Section = TextArgument(io.addSection);
            if (SectionKey(offcut.Section).empty())
                throw BadInput("inventory add: the section cannot be blank");
            offcut.Length = static_cast<int>(CountArgument(
                "inventory add: length", io.addLength, MaxLength,
                "a whole number of millimetres from 1 to " + std::to_string(MaxLength)));
            offcut.Count = static_cast<int>(CountArgument("inventory add: count", io.addCount,
                                                          std::numeric_limits<int>::max(),
                                                          "a whole number of pieces, at least 1"));
            if (io.location) offcut.Location = TextArgument(*io.location);
            OffcutStore store = OpenInventoryFile(path);
            out << store.Add(offcut) << "\n";
        } else if (io.remove->parsed()) {
            const long long id = CountArgument("inventory remove: id", io.removeId,
                                               std::numeric_limits<long long>::max(),
                                               "an offcut's id, as inventory list shows it");
            const int count =
                io.removeCount
                    ? static_cast<int>(CountArgument("inventory remove: count", *io.removeCount,
                                                     std::numeric_limits<int>::max(),
                                                     "a whole number of pieces, at least 1"))
                    : 0;
            OffcutStore store = OpenInventoryFile(path);
            const std::optional<Offcut> offcut = store.Find(id);
            if (!offcut) {
                throw BadInput("inventory remove " + io.removeId + ": offcut " + io.removeId +
                               " is not in the offcut inventory");
            }
            store.Remove(id, count);
            const int taken = count == 0 ? offcut->Count : std::min(count, offcut->Count);
            out << "Took " << taken << (taken == 1 ? " piece" : " pieces") << " of offcut " << id
                << " (" << Printable(offcut->Section) << ", " << offcut->Length << "mm); "
                << offcut->Count - taken << " left.\n";
        } else if (io.exportCsv->parsed()) {
            const OffcutStore store = OpenInventoryFile(path);
            const std::string error = WriteFileSafely(io.exportFile, store.ExportCsv(section));
            if (!error.empty()) throw BadInput("inventory export " + io.exportFile + ": " + error);
        } else {
            const OffcutStore store = OpenInventoryFile(path);
            const std::vector<Offcut> offcuts = store.List(section);
            std::vector<SectionTotal> totals = store.TotalsBySection();
            if (section) {
                std::erase_if(totals, [&](const SectionTotal& t) {
                    return SectionKey(t.Section) != SectionKey(*section);
                });
            }
            if (io.format == "json") {
                out << InventoryListJson(path, section, offcuts, totals)
                           .dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
                    << "\n";
            } else {
                PrintInventoryList(out, section, offcuts, totals);
            }
        }
    } catch (const BadInput& e) {
        Complain(err, e.what());
        return ExitBadInput;
    } catch (const InventoryError& e) {
        Complain(err, e.what());
        return ExitBadInput;
    }
    if (!out.flush()) {
        Complain(err, std::string("the output could not be written: ") + std::strerror(errno));
        return ExitBadInput;
    }
    return ExitSuccess;
}

// The job files the arguments name: a folder stands for its *.tlf files, by name.
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

Algorithm RequestedAlgorithm(const CliOptions& o) {
    return o.algorithm == "fast"      ? Algorithm::Fast
           : o.algorithm == "optimal" ? Algorithm::Optimal
                                      : Algorithm::Complex;
}

// One job from its file (none: from the options alone) to its results.
struct JobRun {
    CuttingJob job;
    Algorithm requested = Algorithm::Complex;
    Algorithm algorithm = Algorithm::Complex;
    CalculateResult outcome;
    std::optional<CostingSheet> sheet;
    // With --use-offcuts and --book-offcuts: what the inventory said, and the status its booking
    // leaves (ExitSuccess, or the refusal's).
    std::optional<InventoryCommandResult> used, booked;
    int bookingStatus = ExitSuccess;

    const CostingSheet* Sheet() const { return sheet ? &*sheet : nullptr; }
    nlohmann::json Json() const { return ResultJson(job, requested, algorithm, outcome, Sheet()); }
};

// The offcut inventory a run of jobs uses and books to, opened once.
struct JobInventory {
    std::string path;
    std::optional<OffcutStore> store;
};

nlohmann::json InventoryMessageJson(const std::optional<InventoryCommandResult>& result,
                                    const char* done) {
    if (!result) return nullptr;
    return {{done, result->Changed}, {"message", MessageLines(result->Message)}};
}

// The "inventory" key of a job's results.
nlohmann::json JobInventoryJson(const JobInventory& inventory, const JobRun& run) {
    return {{"file", inventory.path},
            {"use_offcuts", InventoryMessageJson(run.used, "changed")},
            {"book_offcuts", InventoryMessageJson(run.booked, "booked")}};
}

// The job file as its offcuts' source: a full path, so that the list says which file wherever it
// is run; none for a job from standard input or from the options alone.
std::string BookedJobFile(const std::string& file) {
    if (file.empty() || file == StdinName) return {};
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(file, ec);
    return ec ? file : full.lexically_normal().string();
}

// --book-offcuts after the calculation (none without an inventory). A booking the inventory refuses
// (booked before, an offcut gone) is a refusal; an inventory that fails under it, bad input.
void BookJobRun(JobInventory* inventory, const std::string& file, JobRun& run) {
    if (inventory == nullptr || !inventory->store) return;
    if (!run.outcome.Completed) {
        run.booked = {false,
                      "The job was not booked to the offcut inventory: the calculation "
                      "was refused."};
        return;
    }
    try {
        run.booked = BookOffcutsToInventory(*inventory->store, run.job, BookedJobFile(file));
    } catch (const InventoryError& e) {
        run.booked = {false, e.what()};
        const InventoryErrorKind kind = e.Kind();
        run.bookingStatus = kind == InventoryErrorKind::Damaged ||
                                    kind == InventoryErrorKind::Newer ||
                                    kind == InventoryErrorKind::Failed
                                ? ExitBadInput
                                : ExitRefused;
    }
}

// The job as the file and the options give it, ready to calculate; throws BadInput.
void PrepareJob(const CliOptions& o, const std::string& file, std::istream* in, JobRun& run,
                const JobInventory* inventory = nullptr) {
    Loaded loaded = Loaded::None;
    if (!file.empty()) loaded = LoadJobFile(file, in, run.job);
    if (o.noCalc && loaded != Loaded::Results) {
        throw BadInput(std::string("--no-calc: ") +
                       (loaded == Loaded::None ? "needs a JOB file with results"
                                               : "an earlier-format file holds no results"));
    }
    ApplyOptions(o, run.job);
    // Before the check: the offcuts may be all the stock the job has.
    if (o.useOffcuts && inventory != nullptr && inventory->store)
        run.used = UseOffcutsFromInventory(run.job, *inventory->store);
    if (!o.noCalc && !CheckInputData(run.job).CalculateEnabled) {
        throw BadInput("nothing to calculate: give at least one stock row and one cut row");
    }
    run.requested = run.algorithm = RequestedAlgorithm(o);
}

void CalculateJob(const CliOptions& o, JobRun& run, std::ostream* progress) {
    if (o.noCalc) {
        // The stored results, with the statistics of the allowances and prices now in force.
        run.outcome.Completed = true;
        run.outcome.Stats = CompileStats(run.job);
        run.outcome.CuttingList = run.job.CuttingListLines;
    } else {
        CliHost host(o.switchToFast, progress);
        CalculationOptions options;
        options.TimeLimitSeconds = o.timeLimit;
        run.outcome = Calculate(run.job, run.algorithm, host, NumberFormat::UK(), nullptr, options);
    }
    if (o.costing && run.outcome.Completed) {
        const CuttingJob& job = run.job;
        run.sheet = CalcGrid(job, run.outcome.Stats, MaterialPrice::OfJob(job.section), job.costing,
                             NumberFormat::UK());
    }
}

// A JSON line: every text is UTF-8 already; a byte that is not still never stops the output.
std::string JsonLine(const nlohmann::json& value) {
    return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

nlohmann::json FileJson(const std::string& file) {
    return file.empty() ? nlohmann::json(nullptr) : nlohmann::json(file);
}

// What a job that could not be calculated at all gives in place of its results.
nlohmann::json JobErrorJson(const std::string& file, const std::string& error) {
    return {{"schema_version", JsonSchemaVersion},
            {"version", TALLORA_VERSION},
            {"file", FileJson(file)},
            {"error", error},
            {"exit_status", ExitBadInput}};
}

// One job of several, as its line of output and, when it failed, its line of standard error.
struct BatchLine {
    std::string json;
    std::string error;
    int status = ExitSuccess;
};

BatchLine RunBatchJob(const CliOptions& o, const std::string& file, std::istream* in,
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
        BookJobRun(o.bookOffcuts ? inventory : nullptr, file, run);
        nlohmann::json result = run.Json();
        line.status =
            std::max(run.outcome.Completed ? ExitSuccess : ExitRefused, run.bookingStatus);
        result["file"] = FileJson(file);
        result["exit_status"] = line.status;
        if (inventory != nullptr) result["inventory"] = JobInventoryJson(*inventory, run);
        if (!run.outcome.Completed) line.error = named(run.outcome.Error);
        if (run.bookingStatus != ExitSuccess) line.error = named(run.booked->Message);
        line.json = JsonLine(result);
    } catch (const std::exception& e) {
        // Bad input, or what should never happen (memory ran out): this job fails, the others
        // go on.
        const bool bad = dynamic_cast<const BadInput*>(&e) != nullptr;
        const std::string message = bad ? e.what() : std::string("internal error: ") + e.what();
        line.status = ExitBadInput;
        line.error = named(message);
        line.json = JsonLine(JobErrorJson(file, message));
    }
    return line;
}

// Several jobs, each on its own, as many at a time as there are cores; the lines come out in
// the order of the jobs, each as soon as it and those before it are done.
int RunBatch(const CliOptions& o, const std::vector<std::string>& files, std::ostream& out,
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
    const size_t cores = o.algorithm == "optimal" || inventory != nullptr
                             ? 1
                             : std::max<size_t>(1, std::thread::hardware_concurrency());
    std::vector<std::jthread> workers;
    for (size_t i = 0; i < std::min(cores, files.size()); ++i) workers.emplace_back(work);

    int status = ExitSuccess;
    for (size_t i = 0; i < files.size(); ++i) {
        BatchLine line;
        {
            std::unique_lock lock(mutex);
            finished.wait(lock, [&] { return done[i]; });
            line = std::move(lines[i]);
        }
        out << line.json << "\n" << std::flush;
        if (!line.error.empty()) Complain(err, line.error);
        status = std::max(status, line.status);
    }
    workers.clear();
    if (!out) {
        Complain(err, std::string("the output could not be written: ") + std::strerror(errno));
        return ExitBadInput;
    }
    return status;
}

// What several jobs cannot take, and options no job could take; throws BadInput.
void CheckBatchOptions(const CLI::App& app, const CliOptions& o) {
    if (app.get_option("--format")->count() > 0 && o.format != "jsonl") {
        throw BadInput("--format " + o.format +
                       ": several jobs are written one JSON object a line; give --format jsonl "
                       "or leave --format out");
    }
    for (const auto& [option, given] :
         {std::pair{"--save", o.save.has_value()}, std::pair{"--pdf", o.pdf.has_value()},
          std::pair{"--diagram", o.diagram.has_value()},
          std::pair{"--export-csv", o.exportCsv.has_value()},
          std::pair{"--costing-csv", o.costingCsv.has_value()}}) {
        if (given) {
            throw BadInput(std::string(option) +
                           ": writes one file, so it cannot be given with several jobs or a "
                           "folder; give one job at a time");
        }
    }
    CuttingJob empty;
    ApplyOptions(o, empty);
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           PictureOutput* pictures, bool errIsTerminal, std::istream* in, RegistryStore* settings) {
    CLI::App app{"Tallora: works out cutting patterns for one-dimensional stock.", "tallora-cli"};
    CliOptions o;
    AddOptions(app, o);
    InventoryOptions io;
    const CLI::App* inventoryCommand = AddInventoryCommands(app, io);
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        const CLI::App* asked = &app;
        for (CLI::App* sub = app.get_subcommands().empty() ? nullptr
                                                           : app.get_subcommands().front();
             sub != nullptr;
             sub = sub->get_subcommands().empty() ? nullptr : sub->get_subcommands().front()) {
            asked = sub;
        }
        out << asked->help();
        return ExitSuccess;
    } catch (const CLI::ParseError& e) {
        if (inventoryCommand->parsed() && inventoryCommand->get_subcommands().empty()) {
            Complain(err, "inventory: expected a command: list, add, remove or export");
        } else {
            Complain(err, e.what());
        }
        return ExitBadInput;
    }
    if (o.version) {
        out << "tallora-cli " << TALLORA_VERSION << "\n";
        return ExitSuccess;
    }
    if (inventoryCommand->parsed()) {
        for (const CLI::Option* option : app.get_options()) {
            if (option->count() > 0 && option->get_name() != "--inventory") {
                Complain(err, option->get_name() +
                                  ": belongs to calculating a job, not to the inventory commands "
                                  "(a job file named inventory is given as ./inventory)");
                return ExitBadInput;
            }
        }
        return RunInventoryCommand(io, o.inventory, settings, out, err);
    }
    NullBuffer nothing;
    std::ostream silent(&nothing);
    std::ostream& shown = o.quiet ? silent : out;

    std::vector<std::string> files;
    JobInventory inventory;
    const bool withInventory = o.useOffcuts || o.bookOffcuts;
    try {
        bool folder = false;
        files = ExpandJobFiles(o.jobFiles, folder);
        ReadCsvOptions(o, in, std::find(files.begin(), files.end(), StdinName) != files.end());
        if (o.useOffcuts && o.noCalc) {
            throw BadInput(
                "--use-offcuts: adds stock to calculate with, so it cannot be given "
                "with --no-calc");
        }
        if (withInventory) {
            inventory.path = InventoryFile(o.inventory, settings);
            inventory.store = OpenInventoryFile(inventory.path);
        }
        if (files.size() > 1 || folder) {
            CheckBatchOptions(app, o);
            return RunBatch(o, files, shown, err, in, withInventory ? &inventory : nullptr);
        }
    } catch (const BadInput& e) {
        Complain(err, e.what());
        return ExitBadInput;
    }
    const std::string file = files.empty() ? std::string() : files.front();
    const bool jsonl = o.format == "jsonl";

    JobRun run;
    std::pair<int, int> diagramSize{DefaultDiagramWidth, DefaultDiagramHeight};
    try {
        if ((o.pdf || o.diagram) && pictures == nullptr) {
            throw BadInput(std::string(o.pdf ? "--pdf" : "--diagram") +
                           ": this tallora-cli was built without PDF and picture output");
        }
        if (!o.size.empty()) diagramSize = DiagramSize(o.size);
        if (o.pdf) CheckOutputFile("--pdf", *o.pdf);
        if (o.diagram) CheckOutputFile("--diagram", *o.diagram);
        if (o.save) CheckOutputFile("--save", *o.save);
        if (o.exportCsv) CheckOutputFile("--export-csv", *o.exportCsv);
        if (o.costingCsv) CheckOutputFile("--costing-csv", *o.costingCsv);
        PrepareJob(o, file, in, run, withInventory ? &inventory : nullptr);
    } catch (const BadInput& e) {
        if (jsonl) shown << JsonLine(JobErrorJson(file, e.what())) << "\n" << std::flush;
        Complain(err, e.what());
        return ExitBadInput;
    }
    const bool tell = o.format == "text" && !o.quiet;
    if (run.used && tell) Tell(err, run.used->Message);

    CalculateJob(o, run, errIsTerminal && !o.quiet ? &err : nullptr);
    const CalculateResult& outcome = run.outcome;
    BookJobRun(o.bookOffcuts ? &inventory : nullptr, file, run);
    if (run.bookingStatus != ExitSuccess) {
        Complain(err, run.booked->Message);
    } else if (run.booked && outcome.Completed && tell) {
        Tell(err, run.booked->Message);
    }
    if (o.format == "json" || jsonl) {
        try {
            nlohmann::json result = run.Json();
            if (withInventory) result["inventory"] = JobInventoryJson(inventory, run);
            if (jsonl) {
                result["file"] = FileJson(file);
                result["exit_status"] =
                    std::max(outcome.Completed ? ExitSuccess : ExitRefused, run.bookingStatus);
                shown << JsonLine(result) << "\n";
            } else {
                // Every text is UTF-8 already; a byte that is not still never stops the output.
                shown << result.dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
                      << "\n";
            }
        } catch (const nlohmann::json::exception& e) {
            Complain(err, std::string("the JSON output could not be made: ") + e.what());
            return ExitBadInput;
        }
    } else if (outcome.Completed) {
        PrintResults(shown, run.job, outcome, run.Sheet());
    }
    // Output that went nowhere (a full disk, a closed pipe) is a failure, not a success.
    if (!shown.flush()) {
        Complain(err, std::string("the output could not be written: ") + std::strerror(errno));
        return ExitBadInput;
    }
    if (o.save) {
        const std::string error = SaveFile(*o.save, run.job, outcome.Stats);
        if (!error.empty()) {
            Complain(err, "--save " + *o.save + ": " + error);
            return ExitBadInput;
        }
    }
    if (!outcome.Completed) {
        Complain(err, outcome.Error);
        return ExitRefused;
    }
    const NumberFormat uk = NumberFormat::UK();
    if (o.pdf) {
        PrintEngine& engine = pictures->ReportEngine();
        if (!ExportReport(engine, run.job, DisplayStats(outcome.Stats, uk), *o.pdf)) {
            Complain(err, SaveFailureMessage(*o.pdf) +
                              (engine.SaveError().empty() ? "" : " (" + engine.SaveError() + ")"));
            return ExitBadInput;
        }
    }
    const auto [width, height] = diagramSize;
    if (o.diagram) {
        const std::string error = pictures->SaveDiagram(run.job, width, height, *o.diagram);
        if (!error.empty()) {
            Complain(err, "--diagram " + *o.diagram + ": " + error);
            return ExitBadInput;
        }
    }
    if (o.exportCsv) {
        const std::string error = WriteFileSafely(*o.exportCsv, CuttingListCsv(run.job));
        if (!error.empty()) {
            Complain(err, "--export-csv " + *o.exportCsv + ": " + error);
            return ExitBadInput;
        }
    }
    if (o.costingCsv) {
        const CostingSheet sheet = CalcGrid(
            run.job, outcome.Stats, MaterialPrice::OfJob(run.job.section), run.job.costing, uk);
        const std::string error =
            WriteFileSafely(*o.costingCsv, CostingCsv(sheet, run.job.costing));
        if (!error.empty()) {
            Complain(err, "--costing-csv " + *o.costingCsv + ": " + error);
            return ExitBadInput;
        }
    }
    return run.bookingStatus;
}

}  // namespace tallora
