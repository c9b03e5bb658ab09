#include "storage/JobFile.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <set>

#include "costing/CostingFields.h"
#include "entry/Allowances.h"
#include "entry/SectionFields.h"
#include "job/Capacities.h"
#include "job/RowTexts.h"
#include "job/Utf8.h"
#include "results/NumberFormat.h"
#include "storage/AutoSave.h"
#include "storage/SafeFile.h"
#include "storage/TextFile.h"

namespace tallora {

namespace {

std::string Int(long long value) { return std::to_string(value); }

// Stops the read, at the line given or else the one last read, and says why.
struct CorruptLine {
    std::string Reason;
    int Line = 0;
};

std::string Quote(const std::string& text) { return "'" + text + "'"; }

std::string Range(long long min, long long max) {
    if (min == INT_MIN && max == INT_MAX) return {};
    return " from " + std::to_string(min) + " to " + std::to_string(max);
}

// The lines of a file as values: past the end every line reads empty.
class LineReader {
public:
    explicit LineReader(JobLines lines) : lines_(lines) {}

    bool More() const { return lines_.More(); }
    // The line last read, from 1.
    int Line() const { return static_cast<int>(next_); }
    // The next line; past the end, an empty one. Valid until the next is read.
    const std::string& Text() {
        past_ = !lines_.More();
        current_ = lines_.Next();
        ++next_;
        return current_;
    }
    int Integer(long long min = INT_MIN, long long max = INT_MAX,
                const std::string& what = "a whole number") {
        const std::string& text = Text();
        const auto value = ReadInteger(text);
        if (!value || *value < min || *value > max)
            Fail(Quote(text) + " is not " + what + Range(min, max));
        return *value;
    }
    int Count(int capacity, const std::string& what) { return Integer(0, capacity, what); }
    double Number() {
        const std::string& text = Text();
        const auto value = ReadFileNumber(text);
        if (!value) Fail(Quote(text) + " is not a number");
        return *value;
    }
    // A figure a field of the program limits: the field's own rule.
    double Number(double max, const std::string& what) {
        const std::string& text = Text();
        const auto value = ReadFileNumber(text);
        if (!value || *value < 0 || *value > max) {
            Fail(Quote(text) + " is not " + what + " from 0 to " + FormatFileNumber(max));
        }
        return *value;
    }
    // A row as the entry lists would take it. The file names its units at its end: a length
    // only an imperial job may have waits for them (Defer).
    ListRow Row(bool stock) {
        const std::string& text = Text();
        auto row = SplitRowLine(text);
        if (!row) Fail(Quote(text) + " is not a row: a quantity, \" @ \" and a length");
        if (stock && row->Quantity == "ANY") row->Quantity = "*";
        if (const auto problem = RowProblem(row->Quantity, row->Length, stock)) {
            const auto length = ReadWholeNumber(row->Length);
            if (!length || *length <= MaxLength || *length > MaxImperialLength ||
                RowProblem(row->Quantity, row->Length, stock, JobUnits::ImperialIn({})))
                Fail(FirstLine(*problem));
            Defer(FirstLine(*problem));
        }
        return *row;
    }
    // A stored length: up to a little more than a job may enter, as its units allow.
    int Length(long long min, const std::string& what);
    // A fault unless the file turns out to be an imperial job's, at the line read last.
    void Defer(const std::string& reason) {
        if (!deferred_) deferred_ = CorruptLine{reason, Line()};
    }
    // The deferred fault of a metric job's file.
    void CheckDeferred() const {
        if (deferred_) throw *deferred_;
    }
    [[noreturn]] void Fail(const std::string& reason, int line = 0) const {
        // What a file cut short lacks is no line of its.
        if (line == 0 && past_) throw CorruptLine{"the file ends before the job does", Line()};
        throw CorruptLine{reason, line == 0 ? Line() : line};
    }

private:
    JobLines lines_;
    size_t next_ = 0;
    bool past_ = false;  // the line last read was past the end
    std::string current_;
    std::optional<CorruptLine> deferred_;
};

// Lengths the program can have written, and a little room for allowances changed since: of a
// metric job, and of an imperial one.
constexpr long long kLength = MaxLength + 1000;
constexpr long long kImperialLength = MaxImperialLength + 1000;

int LineReader::Length(long long min, const std::string& what) {
    const std::string text = Text();
    const auto value = ReadInteger(text);
    const std::string reason = Quote(text) + " is not " + what + Range(min, kLength);
    if (value && *value >= min && *value <= kLength) return *value;
    const long long imperialMin = min == -kLength ? -kImperialLength : min;
    if (!value || *value < imperialMin || *value > kImperialLength) Fail(reason);
    Defer(reason);
    return *value;
}

std::string Mm(long long length) { return std::to_string(length) + "mm"; }
std::string PatternName(size_t p) { return "pattern " + std::to_string(p + 1); }

// Reads the patterns, noting the line each begins on. Each cuts at least one bar into at least
// one piece of a length, as every calculation's patterns do; one whose pieces, bars or lengths
// multiply past what a 32-bit figure holds, or whose pieces are longer together than its bar,
// cannot be real.
void ReadPatterns(LineReader& in, CalculationResult& result, std::vector<int>& firstLines) {
    const int count = in.Count(MaxPatterns, "a number of patterns");
    long long bars = 0;
    long long placed = 0;
    for (int p = 0; p < count; ++p) {
        firstLines.push_back(in.Line() + 1);
        CuttingPattern& pattern = result.Patterns.emplace_back();
        pattern.StockLength = in.Length(1, "a bar's length");
        pattern.BarCount = in.Integer(1, INT_MAX, "a number of bars");
        bars += pattern.BarCount;
        if (bars > INT_MAX)
            in.Fail("the patterns cut more than " + std::to_string(INT_MAX) + " bars");
        const int lengths = in.Integer(1, MaxPatternLengths, "a number of cut lengths");
        long long used = 0;
        long long pieces = 0;
        for (int k = 0; k < lengths; ++k) {
            pattern.CutLength.push_back(in.Length(1, "a cut length"));
            pattern.PieceCount.push_back(in.Integer(1, INT_MAX, "a number of pieces"));
            used += static_cast<long long>(pattern.PieceCount.back()) * pattern.CutLength.back();
            pieces += pattern.PieceCount.back();
            if (used > INT_MAX || pieces * pattern.BarCount > INT_MAX)
                in.Fail(PatternName(p) + " cuts more than " + std::to_string(INT_MAX) +
                        " pieces or millimetres");
        }
        // A bar never holds more than its length.
        if (used > pattern.StockLength)
            in.Fail(PatternName(p) + "'s pieces are longer together than its bar of " +
                    Mm(pattern.StockLength));
        placed += pieces * pattern.BarCount;
        if (placed > INT_MAX)
            in.Fail("the patterns cut more than " + std::to_string(INT_MAX) + " pieces");
        pattern.IsOffcut = in.Text() == "1";
        pattern.OffcutLength = in.Length(-kLength, "an offcut length");
    }
}

// The lines the totals are on, for a result that does not add up.
struct TableLines {
    int TotalPieces = 0;
    int TotalCutLength = 0;
};

TableLines ReadTables(LineReader& in, CalculationResult& result) {
    const int inputStock = in.Count(MaxStockRows, "a number of stock rows");
    for (int k = 0; k < inputStock; ++k)
        result.InputStockLength.push_back(in.Length(1, "a stock length"));
    result.StockBarsUsed.assign(result.InputStockLength.size(), 0);

    const int stock = in.Count(MaxStockRows, "a number of stock rows");
    for (int k = 0; k < stock; ++k) {
        WorkingStockRow row;
        row.StockQuantity = in.Integer(-1, INT_MAX, "a number of bars");
        row.StockLength = in.Length(1, "a stock length");
        row.StockCost = in.Length(0, "a stock length");
        result.Stock.push_back(row);
    }
    const int cuts = in.Count(MaxCutRows, "a number of cut rows");
    long long pieces = 0;
    for (int k = 0; k < cuts; ++k) {
        WorkingCutRow row;
        row.CutQuantity = in.Integer(0, INT_MAX, "a number of pieces");
        pieces += row.CutQuantity;
        if (pieces > INT_MAX) in.Fail("more than " + std::to_string(INT_MAX) + " pieces are left");
        row.CutLength = in.Length(1, "a cut length");
        result.Cuts.push_back(row);
    }
    TableLines lines;
    result.TotalPieces = in.Integer(0, INT_MAX, "a number of pieces");
    lines.TotalPieces = in.Line();
    result.TotalCutLength = in.Integer(0, INT_MAX, "a total length");
    lines.TotalCutLength = in.Line();
    const int inputCuts = in.Count(MaxCutRows, "a number of cut rows");
    for (int k = 0; k < inputCuts; ++k) {
        result.InputCutQuantity.push_back(in.Integer(0, INT_MAX, "a number of pieces"));
        result.InputCutLength.push_back(in.Length(1, "a cut length"));
    }
    return lines;
}

// A stored result is held to what a calculation gives: its patterns cut the job's own lengths
// from its own stock lengths, the pieces cut and left add up to those asked for, and the totals
// are those of its rows. A file that fails says where.
void CheckResult(const LineReader& in, const CalculationResult& result,
                 const std::vector<int>& patternLines, const TableLines& lines) {
    long long pieces = 0;
    long long lengthWithKerf = 0;
    std::map<int, long long> asked;  // pieces by length with kerf
    for (size_t k = 0; k < result.InputCutLength.size(); ++k) {
        pieces += result.InputCutQuantity[k];
        lengthWithKerf +=
            static_cast<long long>(result.InputCutLength[k]) * result.InputCutQuantity[k];
        asked[result.InputCutLength[k]] += result.InputCutQuantity[k];
    }
    if (pieces != result.TotalPieces) {
        in.Fail("the job's pieces are " + std::to_string(result.TotalPieces) + ", not the " +
                    std::to_string(pieces) + " of its cut rows",
                lines.TotalPieces);
    }
    // The calculation's kerf: what its pieces' lengths with kerf have more than their total.
    const long long kerfs = lengthWithKerf - result.TotalCutLength;
    const long long kerf = pieces > 0 ? kerfs / pieces : 0;
    if (lengthWithKerf > INT_MAX || kerfs < 0 || (pieces > 0 && kerfs % pieces != 0) ||
        (pieces == 0 && kerfs != 0) ||
        kerf > std::max(RangeOf(AllowanceField::Kerf).Max,
                        RangeOf(AllowanceField::Kerf, JobUnits::ImperialIn({})).Max)) {
        in.Fail("the total cut length does not fit the job's cut rows and a kerf",
                lines.TotalCutLength);
    }
    for (const auto& [length, count] : asked) {
        if (length <= kerf)
            in.Fail("a cut length is no longer than its kerf", lines.TotalCutLength);
    }
    const std::set<int> stock(result.InputStockLength.begin(), result.InputStockLength.end());
    std::map<int, long long> cut;
    for (size_t p = 0; p < result.Patterns.size(); ++p) {
        const CuttingPattern& pattern = result.Patterns[p];
        if (!stock.contains(pattern.StockLength)) {
            in.Fail(PatternName(p) + "'s bar of " + Mm(pattern.StockLength) +
                        " is none of the job's stock lengths",
                    patternLines[p]);
        }
        for (int k = 0; k < pattern.LengthCount(); ++k) {
            if (!asked.contains(pattern.CutLength[k])) {
                in.Fail(PatternName(p) + " cuts pieces of " + Mm(pattern.CutLength[k] - kerf) +
                            ", which the job does not ask for",
                        patternLines[p]);
            }
            cut[pattern.CutLength[k]] +=
                static_cast<long long>(pattern.PieceCount[k]) * pattern.BarCount;
        }
    }
    for (const WorkingStockRow& row : result.Stock) {
        if (!stock.contains(row.StockLength))
            in.Fail("stock of " + Mm(row.StockLength) + " is left that the job never had",
                    lines.TotalPieces);
    }
    std::map<int, long long> left;
    for (const WorkingCutRow& row : result.Cuts) {
        if (!asked.contains(row.CutLength)) {
            in.Fail(
                "pieces of " + Mm(row.CutLength - kerf) + " are left that the job never asked for",
                lines.TotalPieces);
        }
        left[row.CutLength] += row.CutQuantity;
    }
    for (const auto& [length, count] : asked) {
        if (cut[length] + left[length] != count) {
            in.Fail("the pieces of " + Mm(length - kerf) + " cut (" + std::to_string(cut[length]) +
                        ") and left (" + std::to_string(left[length]) + ") are not the " +
                        std::to_string(count) + " the job asks for",
                    lines.TotalPieces);
        }
    }
}

}  // namespace

std::optional<ListRow> SplitRowLine(const std::string& line) {
    const auto at = line.find('@');
    if (at == std::string::npos) return std::nullopt;
    // One character on either side of the "@", whatever its size in UTF-8.
    return ListRow{line.substr(0, PreviousCharacter(line, at)),
                   line.substr(NextCharacter(line, at + 1))};
}

namespace {

// Gives the lines of the job file one at a time to `line`: a job of a million patterns is not
// held as its lines before it is written.
template <typename Line>
void EmitJobFile(const JobInput& input, const CalculationResult& result, const Statistics& stats,
                 Line&& line) {
    line(std::string(JobFileMagic));
    auto row = [](const ListRow& r, bool stock) {
        return (stock && IsUnlimitedQuantity(r.Quantity) ? "*" : r.Quantity) + " @ " + r.Length;
    };
    line(Int(input.StockRows.size()));
    for (const auto& r : input.StockRows) line(row(r, true));
    line(Int(input.CutRows.size()));
    for (const auto& r : input.CutRows) line(row(r, false));
    line(Int(result.CuttingListLines.size()));
    for (const auto& text : result.CuttingListLines) line(text);

    const SectionData& s = input.Section;
    line(s.Customer);
    line(s.Reference);
    line(s.Name);
    line(FormatFileNumber(s.Weight));
    line(FormatFileNumber(s.Cost));
    line(s.CostType);

    line(Int(result.PatternCount()));
    for (const auto& p : result.Patterns) {
        line(Int(p.StockLength));
        line(Int(p.BarCount));
        line(Int(p.LengthCount()));
        for (int k = 0; k < p.LengthCount(); ++k) {
            line(Int(p.CutLength[k]));
            line(Int(p.PieceCount[k]));
        }
        line(p.IsOffcut ? "1" : "0");
        line(Int(p.OffcutLength));
    }
    for (int i = 0; i < StatisticsRows - 1; ++i) {
        line(FormatFileNumber(stats.StatMetres[i]));
        line(FormatFileNumber(stats.StatPercent[i]));
        line(FormatFileNumber(stats.StatCost[i]));
        line(FormatFileNumber(stats.StatWeight[i]));
    }
    line(Int(stats.OffcutTotal));

    line(Int(result.InputStockCount()));
    for (int length : result.InputStockLength) line(Int(length));
    line(Int(result.Stock.size()));
    for (const auto& r : result.Stock) {
        line(Int(r.StockQuantity));
        line(Int(r.StockLength));
        line(Int(r.StockCost));
    }
    line(Int(result.Cuts.size()));
    for (const auto& r : result.Cuts) {
        line(Int(r.CutQuantity));
        line(Int(r.CutLength));
    }
    line(Int(result.TotalPieces));
    line(Int(result.TotalCutLength));
    line(Int(result.InputCutCount()));
    for (int k = 0; k < result.InputCutCount(); ++k) {
        line(Int(result.InputCutQuantity[k]));
        line(Int(result.InputCutLength[k]));
    }
    line(Int(input.Allowances.Trim));
    line(Int(input.Allowances.Kerf));
    line(Int(input.Allowances.Offcut));

    const CostingSettings& c = input.Costing;
    for (const ChargeField& f : ChargeFields) {
        line(c.*f.Basis);
        line(FormatFileNumber(c.*f.Value));
    }
    for (const ChargeNameField& f : ChargeNameFields)
        line(StoredChargeName(c.*f.Member, f.Default));
    // After everything a reader of the earlier layout knows, so that such a reader still works.
    line(Int(input.Allowances.Hold));

    // Tagged records follow, each only when it holds something: a line with the record's name,
    // then its lines. A metric job without marks has none, so that its file stays what it
    // always was.
    if (input.Units.Imperial()) {
        line("Units");
        line(UnitsText(input.Units));
    }
    const bool marked = std::any_of(input.CutRows.begin(), input.CutRows.end(),
                                    [](const ListRow& r) { return !r.Mark.empty(); });
    if (marked) {
        line(MarksRecordTag);
        line(Int(input.CutRows.size()));
        for (const auto& r : input.CutRows) line(r.Mark);
    }
}

}  // namespace

std::vector<std::string> JobFileLines(const JobInput& input, const CalculationResult& result,
                                      const Statistics& stats) {
    std::vector<std::string> lines;
    EmitJobFile(input, result, stats,
                [&lines](std::string text) { lines.push_back(std::move(text)); });
    return lines;
}

std::string JobFileBytes(const JobInput& input, const CalculationResult& result,
                         const Statistics& stats) {
    std::string bytes;
    EmitJobFile(input, result, stats, [&bytes](const std::string& text) {
        // Most lines are plain ASCII, the same in both encodings.
        const bool ascii = std::all_of(text.begin(), text.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        bytes += ascii ? text : Windows1252FromUtf8(text);
        bytes += "\r\n";
    });
    return bytes;
}

std::string SaveFile(const std::string& path, const JobInput& input,
                     const CalculationResult& result, const Statistics& stats) {
    return WriteFileSafely(path, JobFileBytes(input, result, stats));
}

bool JobLines::More() const { return lines_ != nullptr ? next_ < lines_->size() : text_.More(); }

std::string JobLines::Next() {
    if (lines_ == nullptr) return text_.Next();
    return next_ < lines_->size() ? (*lines_)[next_++] : std::string();
}

JobFileRead ReadJobLines(const std::vector<std::string>& lines, JobInput& input,
                         CalculationResult& result) {
    return ReadJobLines(JobLines(lines), input, result);
}

namespace {

void ReadSection(LineReader& in, SectionData& s) {
    s.Customer = in.Text();
    s.Reference = in.Text();
    s.Name = in.Text();
    s.Weight = in.Number(MaxSectionWeight, "a weight");
    s.Cost = in.Number(MaxSectionCost, "a price");
    // "Cwt" stays for an imperial job's file; the units at the end decide.
    const std::string& type = in.Text();
    s.CostType = type == "Tonne" || type == "Cwt" ? type : "Metre";
}

void ReadStoredResult(LineReader& in, CalculationResult& result) {
    try {
        std::vector<int> patternLines;
        ReadPatterns(in, result, patternLines);
        Statistics stored;
        for (int i = 0; i < StatisticsRows - 1; ++i) {
            stored.StatMetres[i] = in.Number();
            stored.StatPercent[i] = in.Number();
            stored.StatCost[i] = in.Number();
            stored.StatWeight[i] = in.Number();
        }
        stored.OffcutTotal = in.Integer();
        const TableLines tables = ReadTables(in, result);
        CheckResult(in, result, patternLines, tables);
    } catch (const CorruptLine&) {
        // Nothing of a result that cannot be read whole, or does not add up, is shown.
        result.Patterns.clear();
        throw;
    }
}

// The allowances as the file has them, limited once its units are known.
struct FileAllowances {
    int Trim = 0;
    int Kerf = 0;
    int Offcut = 0;
    std::optional<int> Hold;
};

// Trim, Kerf and Offcut (and the Hold of later files) become the current settings, limited as
// their fields limit them; the charges as the costing window's fields limit them.
FileAllowances ReadAllowancesAndCharges(LineReader& in, JobInput& input) {
    FileAllowances a;
    a.Trim = in.Integer();
    a.Kerf = in.Integer();
    a.Offcut = in.Integer();

    if (in.More()) {
        CostingSettings& c = input.Costing;
        for (const ChargeField& f : ChargeFields) {
            c.*f.Basis = in.Text();
            c.*f.Value = in.Number(MaxChargeValue, "a charge");
        }
        for (const ChargeNameField& f : ChargeNameFields)
            ApplyStoredChargeName(c.*f.Member, in.Text());
    }
    if (in.More()) a.Hold = in.Integer();
    return a;
}

void ApplyFileAllowances(const FileAllowances& file, JobInput& input, JobFileRead& read) {
    Allowances& a = input.Allowances;
    const JobUnits& u = input.Units;
    read.SettingsChanged = file.Trim != a.Trim || file.Kerf != a.Kerf || file.Offcut != a.Offcut;
    a.Trim = LimitAllowance(AllowanceField::Trim, file.Trim, u);
    a.Kerf = LimitAllowance(AllowanceField::Kerf, file.Kerf, u);
    a.Offcut = LimitAllowance(AllowanceField::Offcut, file.Offcut, u);
    if (file.Hold) {
        read.SettingsChanged = read.SettingsChanged || *file.Hold != a.Hold;
        a.Hold = LimitAllowance(AllowanceField::Hold, *file.Hold, u);
    }
}

// The "Units" record: "imperial" and its precision.
void ReadUnitsRecord(LineReader& in, JobUnits& units) {
    const std::string& text = in.Text();
    const auto read = UnitsFromText(text);
    if (!read || !read->Imperial())
        in.Fail(Quote(text) + " is not \"imperial\" and a precision (1/16, 1/32, 1/8 or decimal)");
    units = *read;
}

// The cut rows' marks, one a row.
void ReadMarksRecord(LineReader& in, JobInput& input) {
    const int count = in.Count(MaxCutRows, "a number of cut rows");
    if (count != static_cast<int>(input.CutRows.size())) {
        in.Fail("the marks are for " + std::to_string(count) + " cut rows, not the " +
                std::to_string(input.CutRows.size()) + " of the job");
    }
    for (auto& row : input.CutRows) row.Mark = in.Text();
}

// The tagged records after the Hold line, each a line with its name and then its own lines.
void ReadTaggedRecords(LineReader& in, JobInput& input) {
    while (in.More()) {
        const std::string tag = in.Text();
        // A blank line an editor left at the end is no record.
        if (tag.empty()) continue;
        if (tag == "Units")
            ReadUnitsRecord(in, input.Units);
        else if (tag == MarksRecordTag)
            ReadMarksRecord(in, input);
        else
            in.Fail(Quote(tag) + " is not a record of a job file");
    }
}

}  // namespace

JobFileRead ReadJobLines(JobLines lines, JobInput& input, CalculationResult& result) {
    JobFileRead read;
    LineReader in(lines);
    const std::string& magic = in.Text();
    if (magic == OldJobFileMagic) {
        read.Status = ReadStatus::OldVersion;
        return read;
    }
    if (magic != JobFileMagic) {
        read.Status = ReadStatus::NotADataFile;
        return read;
    }
    // A file is metric unless its Units record says otherwise; the allowances in force, which a
    // file may leave as they are, are then millimetres too.
    input.Allowances = ConvertAllowances(input.Allowances, input.Units, JobUnits::Metric());
    input.Units = {};
    try {
        const int stock = in.Count(MaxStockRows, "a number of stock rows");
        for (int i = 0; i < stock; ++i) input.StockRows.push_back(in.Row(true));
        const int cuts = in.Count(MaxCutRows, "a number of cut rows");
        for (int i = 0; i < cuts; ++i) input.CutRows.push_back(in.Row(false));
        const int text = in.Count(MaxCuttingListLines, "a number of lines");
        for (int i = 0; i < text; ++i) result.CuttingListLines.push_back(in.Text());

        ReadSection(in, input.Section);
        ReadStoredResult(in, result);
        const FileAllowances allowances = ReadAllowancesAndCharges(in, input);
        ReadTaggedRecords(in, input);
        if (!input.Units.Imperial()) in.CheckDeferred();
        if (!input.Units.Imperial() && input.Section.CostType == ChargeBasis::Cwt)
            input.Section.CostType = ChargeBasis::Metre;
        ApplyFileAllowances(allowances, input, read);
    } catch (const CorruptLine& bad) {
        read.Status = ReadStatus::Corrupted;
        read.Fault = {bad.Line, bad.Reason};
        return read;
    }
    ApplyAllowances(input.Allowances, result);
    read.Stats = CompileStats(input, result);
    read.ResultsValid = read.Stats.StatMetres[StockBarsUsedRow] != 0.0;
    return read;
}

}  // namespace tallora
