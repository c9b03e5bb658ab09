#include "storage/OldVersion.h"

#include "entry/Allowances.h"
#include "entry/SectionFields.h"
#include "job/Capacities.h"
#include "job/RowTexts.h"
#include "results/NumberFormat.h"

namespace tallora {

namespace {

// The lines of the file; past the end there is none, so a missing marker ends the read.
class OldLines {
public:
    explicit OldLines(JobLines lines) : lines_(lines) { lines_.Next(); }  // past the magic line
    // The next line, valid until the next is read; none past the end.
    const std::string* Next() {
        if (!lines_.More()) return nullptr;
        current_ = lines_.Next();
        ++next_;
        return &current_;
    }
    // The line last read, from 1.
    int Line() const { return static_cast<int>(next_); }

private:
    JobLines lines_;
    size_t next_ = 1;
    std::string current_;
};

// A row line the entry lists would refuse, or a list longer than the job holds, stops the read
// as corrupted data.
struct CorruptLine {
    std::string Reason;
};

ListRow SplitRow(const std::string& line, bool stock) {
    auto row = SplitRowLine(line);
    if (!row) throw CorruptLine{"'" + line + "' is not a row: a quantity, \" @ \" and a length"};
    if (const auto problem = RowProblem(row->Quantity, row->Length, stock))
        throw CorruptLine{FirstLine(*problem)};
    return *row;
}

template <typename T>
void Append(std::vector<T>& list, T item, size_t capacity, const char* what) {
    if (list.size() >= capacity) {
        throw CorruptLine{std::string("more ") + what + " than a job holds (" +
                          std::to_string(capacity) + ")"};
    }
    list.push_back(std::move(item));
}

// A weight or price as its field takes it.
std::optional<double> Figure(const std::string& text, double max) {
    const auto value = ReadFileNumber(text);
    if (!value || *value < 0 || *value > max) return std::nullopt;
    return value;
}

void ClearEntrySide(JobInput& input, CalculationResult& result) {
    // Files of the earlier format are metric.
    input.Allowances = ConvertAllowances(input.Allowances, input.Units, JobUnits::Metric());
    input.Units = {};
    input.StockRows.clear();
    input.CutRows.clear();
    result.CuttingListLines.clear();
    input.Section.Customer.clear();
    input.Section.Reference.clear();
    input.Section.Name.clear();
    input.Section.Weight = 0.0;
    input.Section.Cost = 0.0;
    input.Section.CostType = "Tonne";
}

}  // namespace

bool BadFile(const std::string& line, const std::string& marker, JobInput& input,
             CalculationResult& result) {
    if (line == marker) return false;
    ClearEntrySide(input, result);
    return true;
}

OldReadStatus ReadOldVersion(const std::vector<std::string>& lines, JobInput& input,
                             CalculationResult& result, ReadFault* fault) {
    return ReadOldVersion(JobLines(lines), input, result, fault);
}

OldReadStatus ReadOldVersion(JobLines lines, JobInput& input, CalculationResult& result,
                             ReadFault* fault) {
    OldLines in(lines);
    const auto corrupted = [&](const std::string& reason) {
        if (fault != nullptr) *fault = {in.Line(), reason};
        return OldReadStatus::Corrupted;
    };
    static const std::string none = "";
    auto next = [&in]() -> const std::string& {
        const std::string* line = in.Next();
        return line != nullptr ? *line : none;
    };
    // Lines up to a marker; a file that ends first is not a datafile.
    auto until = [&](const std::string& marker, auto each) {
        for (const std::string* line = in.Next(); line != nullptr; line = in.Next()) {
            if (*line == marker) return true;
            each(*line);
        }
        return !BadFile("", marker, input, result);
    };

    if (BadFile(next(), "// Stock length data", input, result)) return OldReadStatus::BadFile;
    result.CuttingListLines.clear();
    try {
        if (!until("// Cut length data",
                   [&](const std::string& line) {
                       Append(input.StockRows, SplitRow(line, true), MaxStockRows, "stock rows");
                   }) ||
            !until("// Output",
                   [&](const std::string& line) {
                       Append(input.CutRows, SplitRow(line, false), MaxCutRows, "cut rows");
                   }) ||
            !until("// Customer name", [&](const std::string& line) {
                Append(result.CuttingListLines, line, MaxCuttingListLines, "cutting list lines");
            })) {
            return OldReadStatus::BadFile;
        }
    } catch (const CorruptLine& bad) {
        return corrupted(bad.Reason);
    }
    SectionData& s = input.Section;
    s.Customer = next();
    if (BadFile(next(), "// List reference", input, result)) return OldReadStatus::BadFile;
    s.Reference = next();
    if (BadFile(next(), "// Section name", input, result)) return OldReadStatus::BadFile;
    s.Name = next();
    if (BadFile(next(), "// Section weight kg/m", input, result)) return OldReadStatus::BadFile;
    // The fields' own limits: larger figures would print as nonsense.
    const std::string& weightText = next();
    const auto weight = Figure(weightText, MaxSectionWeight);
    if (!weight) {
        return corrupted("'" + weightText + "' is not a weight from 0 to " +
                         FormatFileNumber(MaxSectionWeight));
    }
    s.Weight = *weight;
    if (BadFile(next(), "// Section cost", input, result)) return OldReadStatus::BadFile;
    const std::string& costText = next();
    const auto cost = Figure(costText, MaxSectionCost);
    if (!cost) {
        return corrupted("'" + costText + "' is not a price from 0 to " +
                         FormatFileNumber(MaxSectionCost));
    }
    s.Cost = *cost;
    if (BadFile(next(), "// Cost type", input, result)) return OldReadStatus::BadFile;
    s.CostType = next() == "Tonne" ? "Tonne" : "Metre";
    return OldReadStatus::Read;
}

}  // namespace tallora
