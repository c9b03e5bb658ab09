#include "storage/OldVersion.h"

#include "job/Capacities.h"
#include "results/NumberFormat.h"

namespace tallora {

namespace {

// The lines of the file; past the end there is none, so a missing marker ends the read.
class OldLines {
public:
    explicit OldLines(const std::vector<std::string>& lines) : lines_(lines) {}
    const std::string* Next() { return next_ < lines_.size() ? &lines_[next_++] : nullptr; }

private:
    const std::vector<std::string>& lines_;
    size_t next_ = 1;  // after the magic line
};

// A row line or a list longer than the job holds stops the read as corrupted data.
struct CorruptLine {};

ListRow SplitRow(const std::string& line) {
    auto row = SplitRowLine(line);
    if (!row) throw CorruptLine{};
    return *row;
}

template <typename T>
void Append(std::vector<T>& list, T item, size_t capacity) {
    if (list.size() >= capacity) throw CorruptLine{};
    list.push_back(std::move(item));
}

void ClearEntrySide(JobInput& input, CalculationResult& result) {
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
                             CalculationResult& result) {
    OldLines in(lines);
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
                       Append(input.StockRows, SplitRow(line), MaxStockRows);
                   }) ||
            !until("// Output",
                   [&](const std::string& line) {
                       Append(input.CutRows, SplitRow(line), MaxCutRows);
                   }) ||
            !until("// Customer name", [&](const std::string& line) {
                Append(result.CuttingListLines, line, MaxCuttingListLines);
            })) {
            return OldReadStatus::BadFile;
        }
    } catch (const CorruptLine&) {
        return OldReadStatus::Corrupted;
    }
    SectionData& s = input.Section;
    s.Customer = next();
    if (BadFile(next(), "// List reference", input, result)) return OldReadStatus::BadFile;
    s.Reference = next();
    if (BadFile(next(), "// Section name", input, result)) return OldReadStatus::BadFile;
    s.Name = next();
    if (BadFile(next(), "// Section weight kg/m", input, result)) return OldReadStatus::BadFile;
    const auto weight = ReadFileNumber(next());
    if (!weight) return OldReadStatus::Corrupted;
    s.Weight = *weight;
    if (BadFile(next(), "// Section cost", input, result)) return OldReadStatus::BadFile;
    const auto cost = ReadFileNumber(next());
    if (!cost) return OldReadStatus::Corrupted;
    s.Cost = *cost;
    if (BadFile(next(), "// Cost type", input, result)) return OldReadStatus::BadFile;
    s.CostType = next() == "Tonne" ? "Tonne" : "Metre";
    return OldReadStatus::Read;
}

}  // namespace tallora
