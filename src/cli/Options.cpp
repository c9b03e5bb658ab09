#include "cli/Options.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

#include "cli/CliApp.h"
#include "cli/Terminal.h"
#include "commands/Inventory.h"
#include "costing/CostingFields.h"
#include "entry/Allowances.h"
#include "entry/ListEntry.h"
#include "entry/SectionFields.h"
#include "entry/UnitChange.h"
#include "job/RowTexts.h"
#include "results/NumberFormat.h"
#include "storage/RowsFile.h"
#include "storage/SafeFile.h"

namespace tallora::cli {

Algorithm Options::RequestedAlgorithm() const {
    return AlgorithmName == "fast"      ? Algorithm::Fast
           : AlgorithmName == "optimal" ? Algorithm::Optimal
                                        : Algorithm::Complex;
}

namespace {

void AddRowOptions(CLI::App& app, Options& o) {
    app.add_option("JOB", o.JobFiles,
                   "A job file (current or earlier format) whose rows, allowances, section data "
                   "and charges the job starts from; - reads it from standard input. Several "
                   "files, or a folder (its *.tlf files by name), are calculated each on its own")
        ->type_name("JOB");
    app.add_option("--stock", o.Stock,
                   "A stock row QUANTITY@LENGTH (QUANTITY * or ANY: unlimited); repeatable")
        ->allow_extra_args(false)
        ->type_name("Q@L");
    app.add_option("--cut", o.Cuts, "A cut row QUANTITY@LENGTH or QUANTITY@LENGTH:MARK; repeatable")
        ->allow_extra_args(false)
        ->type_name("Q@L");
    app.add_option("--stock-csv", o.StockCsv,
                   "Stock rows from a CSV or tab-separated FILE (- for standard input): quantity "
                   "and length a line, a header line skipped; repeatable")
        ->allow_extra_args(false)
        ->type_name("FILE");
    app.add_option("--cuts-csv", o.CutsCsv,
                   "Cut rows from a CSV or tab-separated FILE (- for standard input): quantity, "
                   "length and an optional mark a line, a header line skipped; repeatable")
        ->allow_extra_args(false)
        ->type_name("FILE");
    app.add_option("--export-csv", o.ExportCsv,
                   "Write the cutting list as CSV to FILE: a line per pattern and cut length")
        ->type_name("FILE");
    app.add_option("--costing-csv", o.CostingCsv,
                   "Write the costing table as CSV to FILE, with numbers")
        ->type_name("FILE");
    app.add_option("--units", o.Units,
                   "metric (whole mm, the default) or imperial (feet and inches: every length "
                   "option and file of rows then takes 20', 6' 3-1/2\", 75-1/2, 3/4\" and the "
                   "like); a job file in the other units is converted")
        ->check(CLI::IsMember({"metric", "imperial"}));
    app.add_option("--precision", o.Precision,
                   "Imperial lengths shown to 1/16 (default), 1/32 or 1/8 inch, or decimal inches")
        ->check(CLI::IsMember({"1/16", "1/32", "1/8", "decimal"}));
    app.add_option("--kerf", o.Kerf,
                   "Saw kerf in mm (1..10, default 3; imperial 1/32\" to 3/8\", "
                   "default 1/8\")")
        ->type_name("L");
    app.add_option("--trim", o.Trim,
                   "Trim per bar in mm (0..250, default 25; imperial to 10\", "
                   "default 1\")")
        ->type_name("L");
    app.add_option("--hold", o.Hold,
                   "Vice hold per bar in mm (0..500, default 0; imperial to 20\")")
        ->type_name("L");
    app.add_option("--offcut", o.Offcut,
                   "Shortest offcut in mm (0..18300, default 3000; imperial "
                   "to 60', default 10')")
        ->type_name("L");
    app.add_flag("--scrap-all", o.ScrapAll, "Count every remnant as scrap");
    app.add_option("--algorithm", o.AlgorithmName, "complex (default), fast or optimal")
        ->check(CLI::IsMember({"complex", "fast", "optimal"}));
    app.add_flag("--switch-to-fast", o.SwitchToFast,
                 "Answer Yes when a job of more than 40 cut rows offers the Fast algorithm");
}

void AddSectionOptions(CLI::App& app, Options& o) {
    app.add_option("--weight", o.Weight,
                   "Section weight in kg per metre (imperial: pounds per foot)")
        ->type_name("X");
    app.add_option("--cost", o.Cost,
                   "Section price per tonne or per metre (a leading \u00A3 is dropped)")
        ->type_name("X");
    app.add_option("--per", o.Per,
                   "What the price is per: tonne (default) or metre; imperial: ton (short ton, "
                   "the default), cwt (100 lb) or foot")
        ->check(CLI::IsMember({"tonne", "metre", "ton", "cwt", "foot"}));
    app.add_option("--customer", o.Customer, "Customer name")->type_name("T");
    app.add_option("--reference", o.Reference, "Job reference")->type_name("T");
    app.add_option("--section", o.Section, "Section description")->type_name("T");
    app.add_option("--cut-charge", o.CutCharge,
                   "Cutting charge: tonne, metre, lump or cut, and value")
        ->type_name("BASIS:VALUE");
    app.add_option("--charge1", o.Charge1,
                   "Other charge 1 (on the net pieces): tonne, metre, lump or each")
        ->type_name("BASIS:VALUE");
    app.add_option("--charge2", o.Charge2,
                   "Other charge 2 (on the gross material): tonne, metre, lump or each")
        ->type_name("BASIS:VALUE");
    app.add_option("--charge3", o.Charge3,
                   "Other charge 3 (on the gross material): tonne, metre, lump or each")
        ->type_name("BASIS:VALUE");
    app.add_option("--charge-names", o.ChargeNames, "Names of the other charges 1 to 3")
        ->type_name("N1,N2,N3");
    app.add_flag("--costing", o.Costing, "Also print the costing sheet");
}

void AddOutputOptions(CLI::App& app, Options& o) {
    app.add_flag("--no-calc", o.NoCalc, "Use the results stored in JOB instead of calculating");
    app.add_option("--save", o.Save, "Write the job file after the calculation")->type_name("FILE");
    app.add_option("--time-limit", o.TimeLimitText,
                   "Complex: stop the search in time to place the rest as Fast does within S "
                   "seconds, never worse than Fast; Optimal: keep the best plan found in S "
                   "seconds (default 10)")
        ->type_name("S");
    app.add_option("--threads", o.Threads,
                   "Optimal: search on N threads (default: the machine's cores); a search that "
                   "ends proven gives the same plan on any number")
        ->type_name("N")
        ->check(CLI::Range(1, 64));
    app.add_option("--format", o.Format,
                   "text (default for one job), json, or jsonl (one JSON object a line; the "
                   "default and the only format for several jobs)")
        ->check(CLI::IsMember({"text", "json", "jsonl"}));
    app.add_option("--pdf", o.Pdf, "Write the PDF cutting report to FILE")->type_name("FILE");
    CLI::Option* labels =
        app.add_option("--labels", o.Labels,
                       "Write a PDF of labels to FILE: one per piece in cutting order, with a QR "
                       "code of its mark and length, and one per offcut kept")
            ->type_name("FILE.pdf");
    app.add_option("--label-layout", o.LabelLayout,
                   "Labels: a4-3x8 (default), letter-3x10 or roll-62x29")
        ->check(CLI::IsMember({"a4-3x8", "letter-3x10", "roll-62x29"}))
        ->needs(labels);
    app.add_option("--label-start", o.LabelStart,
                   "Labels: the first free label of a part-used sheet, counted along the rows "
                   "from 1 (default 1)")
        ->type_name("N")
        ->needs(labels);
    app.add_option("--label-margins", o.LabelMargins,
                   "Labels: the margins to the first label, left and top in mm (default the "
                   "layout's)")
        ->type_name("LEFT,TOP")
        ->needs(labels);
    app.add_option("--saw-sheet", o.SawSheet,
                   "Write the saw sheet (the bars in cutting order, each cut with the length left "
                   "after it) to FILE: CSV when the name ends in .csv, else PDF")
        ->type_name("FILE.pdf|FILE.csv");
    CLI::Option* diagram =
        app.add_option("--diagram", o.Diagram, "Write the cutting diagram to FILE as a PNG picture")
            ->type_name("FILE.png");
    app.add_option("--size", o.Size,
                   "Size of the --diagram picture in pixels (default " +
                       std::to_string(DefaultDiagramWidth) + "x" +
                       std::to_string(DefaultDiagramHeight) + ")")
        ->type_name("WxH")
        ->needs(diagram);
    app.add_flag("--quiet", o.Quiet,
                 "Print nothing on standard output and no progress; files asked for are still "
                 "written and errors still go to standard error");
    app.add_flag("--version", o.Version, "Print the program's version and exit");
    app.add_flag("--use-offcuts", o.UseOffcuts,
                 "Before calculating, add the offcut inventory's offcuts of the job's section to "
                 "its stock list");
    app.add_flag("--book-offcuts", o.BookOffcuts,
                 "After calculating, book the offcuts the job returns, and the inventory offcuts "
                 "it cut, to the offcut inventory; a calculation is booked once");
    app.add_option("--inventory", o.Inventory,
                   "The offcut inventory FILE (default: \"" + std::string(InventoryFileName) +
                       "\" in the data folder)")
        ->type_name("FILE");
}

}  // namespace

void AddOptions(CLI::App& app, Options& o) {
    AddRowOptions(app, o);
    AddSectionOptions(app, o);
    AddOutputOptions(app, o);
    app.footer(
        "Exit status: 0 success; 1 a calculation was refused, or its booking to the offcut "
        "inventory (by some job of several); 2 bad usage or bad input, such as a job file that "
        "cannot be read, an output file that cannot be written or an offcut inventory that "
        "cannot be used (by some job of several).\nCommands: tallora-cli inventory "
        "list|add|remove|export (see tallora-cli inventory --help); a job file named inventory "
        "is given as ./inventory.\nThe JSON "
        "output is described in docs/cli-json.md.");
}

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

void CheckOutputFile(const std::string& option, const std::string& file) {
    if (file.empty()) throw BadInput(option + ": expected a file name");
    const std::string problem = WriteProblem(file);
    if (!problem.empty()) throw BadInput(option + " " + file + ": " + problem);
}

namespace {

// One file under two names, or one name twice for a file not made yet.
bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    if (stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    std::error_code ec;
    namespace fs = std::filesystem;
    return fs::absolute(a, ec).lexically_normal() == fs::absolute(b, ec).lexically_normal();
}

}  // namespace

std::vector<InputFile> InputFiles(const Options& o, const std::string& jobFile,
                                  const std::string& inventory) {
    std::vector<InputFile> inputs;
    if (!jobFile.empty() && jobFile != StdinName) inputs.push_back({"the job file", jobFile});
    for (const auto* files : {&o.StockCsv, &o.CutsCsv}) {
        for (const std::string& file : *files) {
            if (file != StdinName) inputs.push_back({"a file of rows the job reads", file});
        }
    }
    if (!inventory.empty()) {
        for (const char* end : {"", "-wal", "-shm", "-journal"})
            inputs.push_back({"the offcut inventory", inventory + end});
    }
    return inputs;
}

void CheckNotAnInput(const std::string& option, const std::string& file,
                     const std::vector<InputFile>& inputs) {
    for (const InputFile& input : inputs) {
        if (SameFile(file, input.File)) {
            throw BadInput(option + " " + file + ": is " + input.What + " (" + input.File +
                           "); give another file");
        }
    }
}

std::pair<double, double> LabelMargins(const std::string& text) {
    const auto comma = text.find(',');
    const auto read = [](const std::string& part) -> std::optional<double> {
        const auto value = ReadDecimal(part);
        if (!value || *value < 0 || *value > 100) return std::nullopt;
        return *value / 10;
    };
    if (comma != std::string::npos) {
        const auto left = read(text.substr(0, comma));
        const auto top = read(text.substr(comma + 1));
        if (left && top) return {*left, *top};
    }
    throw BadInput("--label-margins " + ForTerminal(text) +
                   ": expected LEFT,TOP in mm, each from 0 to 100, for example 5,10.5");
}

void ReadTimeLimit(Options& o) {
    if (!o.TimeLimitText) return;
    // Not a CLI11 number: that reads "nan" and "0x10", and nan passes every range check.
    const auto seconds = ReadDecimal(*o.TimeLimitText);
    if (!seconds || *seconds < MinTimeLimit || *seconds > MaxTimeLimit) {
        throw BadInput("--time-limit " + *o.TimeLimitText +
                       ": expected a number of seconds from 0.001 to 1000000");
    }
    o.TimeLimit = *seconds;
}

namespace {

// A file's rows in the job's units; a line that is not a row stops the run.
PastedRows RowsOfCsv(const std::string& name, const std::string& text, const JobUnits& units) {
    PastedRows rows = RowsFromText(text, units);
    if (!rows.NotRows.empty()) {
        const PasteFailure& bad = rows.NotRows.front();
        throw BadInput(name + ": line " + std::to_string(bad.Line) + ": " +
                       ForTerminal(bad.Reason));
    }
    return rows;
}

}  // namespace

void ReadCsvOptions(Options& o, std::istream* in, bool stdinTaken) {
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
        PastedRows rows = RowsOfCsv(name, text, JobUnits::Metric());
        o.CsvRows.push_back({name, std::move(text), std::move(rows)});
    };
    for (const auto& file : o.StockCsv) read("--stock-csv", file);
    for (const auto& file : o.CutsCsv) read("--cuts-csv", file);
}

namespace {

// "Q@L" committed as the entry panels commit a typed row.
void CommitRowArgument(JobInput& input, const std::string& option, const std::string& argument) {
    const JobUnits& units = input.Units;
    const auto at = argument.find('@');
    if (at == std::string::npos) {
        throw BadInput(option + " " + argument + ": expected QUANTITY@LENGTH, for example 5@6000");
    }
    std::string quantity = argument.substr(0, at);
    std::string length = argument.substr(at + 1);
    const bool stock = option == "--stock";
    // A cut row's mark follows the length: "4@1200:B12".
    std::string mark;
    if (const auto colon = length.find(':'); !stock && colon != std::string::npos) {
        mark = length.substr(colon + 1);
        length.resize(colon);
        if (mark.empty() || std::any_of(mark.begin(), mark.end(),
                                        [](unsigned char c) { return c < 0x20 || c == 0x7F; })) {
            throw BadInput(option + " " + argument +
                           ": the mark after \":\" must be a text of one line, for example "
                           "4@1200:B12");
        }
    }
    if (stock) {
        std::string upper = quantity;
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (upper == "ANY") quantity = upper;
    }
    if (quantity.empty() || length.empty()) {
        throw BadInput(option + " " + argument + ": both the quantity and the length are needed");
    }
    const CommitResult result = stock ? CommitStockRow(input.StockRows, quantity, length, {}, units)
                                      : CommitCutRow(input.CutRows, quantity, length, mark, units);
    if (result.Status == CommitStatus::Refused) {
        throw BadInput(option + " " + argument + ": " + ForTerminal(result.Message));
    }
}

void CommitRows(const Options& o, JobInput& input) {
    for (const auto& [name, text, metricRows] : o.CsvRows) {
        const bool stock = name.rfind("--stock-csv", 0) == 0;
        const bool imperial = input.Units.Imperial();
        const PastedRows reread = imperial ? RowsOfCsv(name, text, input.Units) : PastedRows{};
        const PastedRows& rows = imperial ? reread : metricRows;
        for (const PastedRow& row : rows.Rows) {
            const CommitResult result =
                stock
                    ? CommitStockRow(input.StockRows, row.Quantity, row.Length, {}, input.Units)
                    : CommitCutRow(input.CutRows, row.Quantity, row.Length, row.Mark, input.Units);
            if (result.Status == CommitStatus::Refused) {
                throw BadInput(name + ": line " + std::to_string(row.Line) + ": " +
                               ForTerminal(ReasonOf(result.Message)));
            }
        }
    }
    for (const auto& row : o.Stock) CommitRowArgument(input, "--stock", row);
    for (const auto& row : o.Cuts) CommitRowArgument(input, "--cut", row);
}

void ApplyAllowanceOptions(const Options& o, Allowances& allowances, const JobUnits& units) {
    const std::pair<const char*, const std::string*> options[] = {
        {"--kerf", &o.Kerf}, {"--trim", &o.Trim}, {"--hold", &o.Hold}, {"--offcut", &o.Offcut}};
    const AllowanceField fields[] = {AllowanceField::Kerf, AllowanceField::Trim,
                                     AllowanceField::Hold, AllowanceField::Offcut};
    for (int i = 0; i < 4; ++i) {
        const auto& [option, text] = options[i];
        if (text->empty()) continue;
        if (units.Imperial()) {
            const ImperialRead read = ReadImperialLength(*text);
            const AllowanceRange range = RangeOf(fields[i], units);
            if (!read.Ticks) throw BadInput(std::string(option) + " " + *text + ": " + read.Error);
            if (*read.Ticks < range.Min || *read.Ticks > range.Max) {
                throw BadInput(std::string(option) + " " + *text + ": expected a length from " +
                               WriteImperialLength(range.Min, ImperialPrecision::ThirtySecond) +
                               " to " +
                               WriteImperialLength(range.Max, ImperialPrecision::ThirtySecond));
            }
            SetAllowance(allowances, fields[i], static_cast<int>(*read.Ticks), units);
            continue;
        }
        const auto value = ReadWholeNumber(*text);
        if (!value)
            throw BadInput(std::string(option) + " " + *text +
                           ": expected a whole number of millimetres");
        SetAllowance(allowances, fields[i], *value);
    }
    if (o.ScrapAll) allowances.NoOffcuts = true;
    ApplyOffcutRule(allowances);
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

void ApplySectionOptions(const Options& o, SectionData& s, const JobUnits& units) {
    if (o.Per && (*o.Per == "cwt" || *o.Per == "ton" || *o.Per == "foot") != units.Imperial()) {
        throw BadInput("--per " + *o.Per + ": " +
                       (units.Imperial() ? "an imperial job's price is per ton, cwt or foot"
                                         : "a metric job's price is per tonne or metre"));
    }
    const NumberFormat uk = NumberFormat::UK();
    if (o.Weight) s.Weight = DecimalArgument("--weight", *o.Weight, MaxSectionWeight, 3);
    if (o.Cost) {
        const std::string cost = WithoutPoundSign(*o.Cost);
        s.Cost = cost.empty() ? 0.0 : DecimalArgument("--cost", cost, MaxSectionCost, 2);
    }
    if (o.Per) {
        if (*o.Per == "metre" || *o.Per == "foot")
            s.CostType = ChargeBasis::Metre;
        else if (*o.Per == "cwt")
            s.CostType = ChargeBasis::Cwt;
        else
            s.CostType = ChargeBasis::Tonne;
    }
    for (const auto& [given, field] :
         {std::pair{&o.Customer, &s.Customer}, std::pair{&o.Reference, &s.Reference},
          std::pair{&o.Section, &s.Name}}) {
        if (*given) *field = TextArgument(**given);
    }
    // Used as the fields show them after a calculation's rewrite.
    s.Weight = WeightAsShown(s.Weight, uk);
    s.Cost = CostAsShown(s.Cost, uk);
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

void ApplyChargeOptions(const Options& o, CostingSettings& c) {
    using namespace ChargeBasis;
    if (!o.CutCharge.empty()) {
        ChargeArgument("--cut-charge", o.CutCharge, {Tonne, Metre, Lump, Cut}, c.CCutType,
                       c.CCutValue);
    }
    const std::vector<const char*> other = {Tonne, Metre, Lump, Each};
    const std::tuple<const char*, const std::string&, std::string&, double&> charges[] = {
        {"--charge1", o.Charge1, c.CGalvType, c.CGalvValue},
        {"--charge2", o.Charge2, c.CPPType, c.CPPValue},
        {"--charge3", o.Charge3, c.COtherType, c.COtherValue}};
    for (const auto& [option, argument, basis, value] : charges) {
        if (!argument.empty()) ChargeArgument(option, argument, other, basis, value);
    }
    if (o.ChargeNames.empty()) return;
    std::vector<std::string> names;
    std::stringstream list(o.ChargeNames);
    for (std::string name; std::getline(list, name, ',');) names.push_back(name);
    if (names.size() > 3)
        throw BadInput("--charge-names " + o.ChargeNames + ": at most three names");
    std::string* targets[] = {&c.OtherName1, &c.OtherName2, &c.OtherName3};
    for (size_t i = 0; i < names.size(); ++i) {
        if (!names[i].empty()) *targets[i] = TextArgument(names[i]);
    }
}

}  // namespace

// --units and --precision: a job of the options alone starts in them with their allowances; a
// job file in other units is converted, which its stored results cannot follow.
void ApplyUnitOptions(const Options& o, JobInput& input, bool fromFile) {
    if (!o.Units && !o.Precision) return;
    JobUnits to = input.Units;
    if (o.Units) to.Unit = *UnitFromName(*o.Units);
    if (o.Precision) to.Precision = *PrecisionFromName(*o.Precision);
    if (!to.Imperial()) to = JobUnits::Metric();
    if (to == input.Units) return;
    if (!fromFile) {
        const bool noOffcuts = input.Allowances.NoOffcuts;
        input.Units = to;
        input.Allowances = DefaultAllowances(to);
        input.Allowances.NoOffcuts = noOffcuts;
        return;
    }
    if (o.NoCalc && to.Imperial() != input.Units.Imperial()) {
        throw BadInput(
            "--units: the results stored in the job are in its own units; leave out "
            "--no-calc to calculate them in " +
            UnitName(to.Unit));
    }
    ChangeUnits(input, to);
}

void ApplyOptions(const Options& o, JobInput& input, bool fromFile) {
    ApplyUnitOptions(o, input, fromFile);
    CommitRows(o, input);
    ApplyAllowanceOptions(o, input.Allowances, input.Units);
    ApplySectionOptions(o, input.Section, input.Units);
    ApplyChargeOptions(o, input.Costing);
}

}  // namespace tallora::cli
