#include "storage/JobFile.h"

#include <climits>
#include <cmath>

#include "entry/Allowances.h"
#include "entry/SectionFields.h"
#include "job/Capacities.h"
#include "job/RowTexts.h"
#include "job/Utf8.h"
#include "results/NumberFormat.h"
#include "storage/AutoSave.h"
#include "storage/TextFile.h"

namespace tallora {

namespace {

std::string Int(long long value) { return std::to_string(value); }

// Stops the read at the current line.
struct CorruptLine {};

// The lines of a file as values: past the end every line reads empty.
class LineReader {
public:
    explicit LineReader(const std::vector<std::string>& lines) : lines_(lines) {}

    bool More() const { return next_ < lines_.size(); }
    const std::string& Text() {
        static const std::string empty;
        return next_ < lines_.size() ? lines_[next_++] : (++next_, empty);
    }
    int Integer(long long min = INT_MIN, long long max = INT_MAX) {
        const auto value = ReadInteger(Text());
        if (!value || *value < min || *value > max) throw CorruptLine{};
        return *value;
    }
    int Count(int capacity) { return Integer(0, capacity); }
    double Number(double min = -HUGE_VAL, double max = HUGE_VAL) {
        const auto value = ReadFileNumber(Text());
        if (!value || *value < min || *value > max) throw CorruptLine{};
        return *value;
    }
    ListRow Row() {
        auto row = SplitRowLine(Text());
        if (!row) throw CorruptLine{};
        return *row;
    }

private:
    const std::vector<std::string>& lines_;
    size_t next_ = 0;
};

// Lengths the program can have written, and a little room for allowances changed since.
constexpr long long kLength = MaxLength + 1000;

// Reads the patterns; gives the pieces they place in all. A pattern whose pieces, bars or
// lengths multiply past what a 32-bit figure holds, or whose pieces are longer together than its
// bar, cannot be real: the file is corrupted.
long long ReadPatterns(LineReader& in, CalculationResult& result) {
    const int count = in.Count(MaxPatterns);
    long long bars = 0;
    long long placed = 0;
    for (int p = 0; p < count; ++p) {
        CuttingPattern& pattern = result.Patterns.emplace_back();
        pattern.StockLength = in.Integer(0, kLength);
        pattern.BarCount = in.Integer(0, INT_MAX);
        bars += pattern.BarCount;
        if (bars > INT_MAX) throw CorruptLine{};
        const int lengths = in.Count(MaxPatternLengths);
        long long used = 0;
        long long pieces = 0;
        for (int k = 0; k < lengths; ++k) {
            pattern.CutLength.push_back(in.Integer(0, kLength));
            pattern.PieceCount.push_back(in.Integer(0, INT_MAX));
            used += static_cast<long long>(pattern.PieceCount.back()) * pattern.CutLength.back();
            pieces += pattern.PieceCount.back();
            if (used > INT_MAX || pieces * pattern.BarCount > INT_MAX) throw CorruptLine{};
        }
        // A bar never holds more than its length.
        if (used > pattern.StockLength) throw CorruptLine{};
        placed += pieces * pattern.BarCount;
        if (placed > INT_MAX) throw CorruptLine{};
        pattern.IsOffcut = in.Text() == "1";
        pattern.OffcutLength = in.Integer(-kLength, kLength);
    }
    return placed;
}

void ReadTables(LineReader& in, CalculationResult& result) {
    const int inputStock = in.Count(MaxStockRows);
    for (int k = 0; k < inputStock; ++k)
        result.InputStockLength.push_back(in.Integer(-kLength, kLength));
    result.StockBarsUsed.assign(result.InputStockLength.size(), 0);

    const int stock = in.Count(MaxStockRows);
    for (int k = 0; k < stock; ++k) {
        WorkingStockRow row;
        row.StockQuantity = in.Integer(-1, INT_MAX);
        row.StockLength = in.Integer(0, kLength);
        row.StockCost = in.Integer(0, kLength);
        result.Stock.push_back(row);
    }
    const int cuts = in.Count(MaxCutRows);
    long long pieces = 0;
    for (int k = 0; k < cuts; ++k) {
        WorkingCutRow row;
        row.CutQuantity = in.Integer(0, INT_MAX);
        pieces += row.CutQuantity;
        if (pieces > INT_MAX) throw CorruptLine{};
        row.CutLength = in.Integer(0, kLength);
        result.Cuts.push_back(row);
    }
    result.TotalPieces = in.Integer(0, INT_MAX);
    result.TotalCutLength = in.Integer();
    const int inputCuts = in.Count(MaxCutRows);
    for (int k = 0; k < inputCuts; ++k) {
        result.InputCutQuantity.push_back(in.Integer(0, INT_MAX));
        result.InputCutLength.push_back(in.Integer(0, kLength));
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

std::vector<std::string> JobFileLines(const JobInput& input, const CalculationResult& result,
                                      const Statistics& stats) {
    std::vector<std::string> lines = {JobFileMagic};
    auto row = [](const ListRow& r, bool stock) {
        return (stock && IsUnlimitedQuantity(r.Quantity) ? "*" : r.Quantity) + " @ " + r.Length;
    };
    lines.push_back(Int(input.StockRows.size()));
    for (const auto& r : input.StockRows) lines.push_back(row(r, true));
    lines.push_back(Int(input.CutRows.size()));
    for (const auto& r : input.CutRows) lines.push_back(row(r, false));
    lines.push_back(Int(result.CuttingListLines.size()));
    lines.insert(lines.end(), result.CuttingListLines.begin(), result.CuttingListLines.end());

    const SectionData& s = input.Section;
    lines.push_back(s.Customer);
    lines.push_back(s.Reference);
    lines.push_back(s.Name);
    lines.push_back(FormatFileNumber(s.Weight));
    lines.push_back(FormatFileNumber(s.Cost));
    lines.push_back(s.CostType);

    lines.push_back(Int(result.PatternCount()));
    for (const auto& p : result.Patterns) {
        lines.push_back(Int(p.StockLength));
        lines.push_back(Int(p.BarCount));
        lines.push_back(Int(p.LengthCount()));
        for (int k = 0; k < p.LengthCount(); ++k) {
            lines.push_back(Int(p.CutLength[k]));
            lines.push_back(Int(p.PieceCount[k]));
        }
        lines.push_back(p.IsOffcut ? "1" : "0");
        lines.push_back(Int(p.OffcutLength));
    }
    for (int i = 0; i < StatisticsRows - 1; ++i) {
        lines.push_back(FormatFileNumber(stats.StatMetres[i]));
        lines.push_back(FormatFileNumber(stats.StatPercent[i]));
        lines.push_back(FormatFileNumber(stats.StatCost[i]));
        lines.push_back(FormatFileNumber(stats.StatWeight[i]));
    }
    lines.push_back(Int(stats.OffcutTotal));

    lines.push_back(Int(result.InputStockCount()));
    for (int length : result.InputStockLength) lines.push_back(Int(length));
    lines.push_back(Int(result.Stock.size()));
    for (const auto& r : result.Stock) {
        lines.push_back(Int(r.StockQuantity));
        lines.push_back(Int(r.StockLength));
        lines.push_back(Int(r.StockCost));
    }
    lines.push_back(Int(result.Cuts.size()));
    for (const auto& r : result.Cuts) {
        lines.push_back(Int(r.CutQuantity));
        lines.push_back(Int(r.CutLength));
    }
    lines.push_back(Int(result.TotalPieces));
    lines.push_back(Int(result.TotalCutLength));
    lines.push_back(Int(result.InputCutCount()));
    for (int k = 0; k < result.InputCutCount(); ++k) {
        lines.push_back(Int(result.InputCutQuantity[k]));
        lines.push_back(Int(result.InputCutLength[k]));
    }
    lines.push_back(Int(input.Allowances.Trim));
    lines.push_back(Int(input.Allowances.Kerf));
    lines.push_back(Int(input.Allowances.Offcut));

    const CostingSettings& c = input.Costing;
    for (const ChargeField& f : ChargeFields) {
        lines.push_back(c.*f.Basis);
        lines.push_back(FormatFileNumber(c.*f.Value));
    }
    for (const ChargeNameField& f : ChargeNameFields)
        lines.push_back(StoredChargeName(c.*f.Member, f.Default));
    // After everything a reader of the earlier layout knows, so that such a reader still works.
    lines.push_back(Int(input.Allowances.Hold));
    return lines;
}

std::string SaveFile(const std::string& path, const JobInput& input,
                     const CalculationResult& result, const Statistics& stats) {
    return WriteTextFile(path, JobFileLines(input, result, stats));
}

JobFileRead ReadJobLines(const std::vector<std::string>& lines, JobInput& input,
                         CalculationResult& result) {
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
    try {
        const int stock = in.Count(MaxStockRows);
        for (int i = 0; i < stock; ++i) {
            ListRow row = in.Row();
            if (row.Quantity == "ANY") row.Quantity = "*";
            input.StockRows.push_back(row);
        }
        const int cuts = in.Count(MaxCutRows);
        for (int i = 0; i < cuts; ++i) input.CutRows.push_back(in.Row());
        const int text = in.Count(MaxCuttingListLines);
        for (int i = 0; i < text; ++i) result.CuttingListLines.push_back(in.Text());

        SectionData& s = input.Section;
        s.Customer = in.Text();
        s.Reference = in.Text();
        s.Name = in.Text();
        s.Weight = in.Number(0.0, MaxSectionWeight);
        s.Cost = in.Number(0.0, MaxSectionCost);
        s.CostType = in.Text() == "Tonne" ? "Tonne" : "Metre";

        const long long placed = ReadPatterns(in, result);
        Statistics stored;
        for (int i = 0; i < StatisticsRows - 1; ++i) {
            stored.StatMetres[i] = in.Number();
            stored.StatPercent[i] = in.Number();
            stored.StatCost[i] = in.Number();
            stored.StatWeight[i] = in.Number();
        }
        stored.OffcutTotal = in.Integer();
        ReadTables(in, result);
        // The patterns never place more pieces than the job asked for.
        long long asked = 0;
        for (int quantity : result.InputCutQuantity) asked += quantity;
        if (placed > asked) {
            result.Patterns.clear();
            throw CorruptLine{};
        }

        // Trim, Kerf and Offcut become the current settings, limited as their fields limit them.
        Allowances& a = input.Allowances;
        const int trim = in.Integer();
        const int kerf = in.Integer();
        const int offcut = in.Integer();
        read.SettingsChanged = trim != a.Trim || kerf != a.Kerf || offcut != a.Offcut;
        a.Trim = LimitAllowance(AllowanceField::Trim, trim);
        a.Kerf = LimitAllowance(AllowanceField::Kerf, kerf);
        a.Offcut = LimitAllowance(AllowanceField::Offcut, offcut);

        if (in.More()) {
            CostingSettings& c = input.Costing;
            for (const ChargeField& f : ChargeFields) {
                c.*f.Basis = in.Text();
                c.*f.Value = in.Number();
            }
            for (const ChargeNameField& f : ChargeNameFields)
                ApplyStoredChargeName(c.*f.Member, in.Text());
        }
        if (in.More()) {
            const int hold = in.Integer();
            read.SettingsChanged = read.SettingsChanged || hold != a.Hold;
            a.Hold = LimitAllowance(AllowanceField::Hold, hold);
        }
    } catch (const CorruptLine&) {
        read.Status = ReadStatus::Corrupted;
        return read;
    }
    ApplyAllowances(input.Allowances, result);
    read.Stats = CompileStats(input, result);
    read.ResultsValid = read.Stats.StatMetres[StockBarsUsedRow] != 0.0;
    return read;
}

}  // namespace tallora
