#include "results/CuttingListCsv.h"

#include <algorithm>

#include <charconv>
#include <unordered_map>

#include "engine/Calculation.h"
#include "job/RowTexts.h"
#include "results/LengthFormat.h"

namespace tallora {

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string field = "\"";
    for (char c : text) {
        if (c == '"') field += '"';
        field += c;
    }
    return field + "\"";
}

namespace {

// Whether the text, past any apostrophes, begins as a formula does.
bool FormulaLike(std::string_view text) {
    const auto start = text.find_first_not_of('\'');
    return start != std::string_view::npos &&
           std::string_view("=+-@\t\r").find(text[start]) != std::string_view::npos;
}

}  // namespace

std::string CsvText(std::string_view text) {
    return FormulaLike(text) ? "'" + std::string(text) : std::string(text);
}

std::string FromCsvText(std::string_view field) {
    if (field.starts_with('\'') && FormulaLike(field)) field.remove_prefix(1);
    return std::string(field);
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        line += CsvField(fields[i]);
    }
    return line + "\r\n";
}

std::string CsvNumber(double value, int decimals) {
    char buffer[64];
    const auto result = decimals < 0 ? std::to_chars(buffer, buffer + sizeof buffer, value)
                                     : std::to_chars(buffer, buffer + sizeof buffer, value,
                                                     std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    // A charge that rounds to nothing is 0, not "-0.00".
    if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

std::string CuttingListCsv(const JobInput& input, const CalculationResult& result) {
    const Allowances& a = input.Allowances;
    // The marks of each length, looked up once for all patterns: rows of one length with
    // different marks give them all, joined as merged rows' marks are.
    std::unordered_map<int, std::string> marksOfLength;
    std::unordered_map<int, std::vector<std::string>> seen;
    for (const ListRow& row : input.CutRows) {
        const auto length = ReadInteger(row.Length);
        if (!length || row.Mark.empty()) continue;
        std::vector<std::string>& marks = seen[*length];
        if (std::find(marks.begin(), marks.end(), row.Mark) != marks.end()) continue;
        marks.push_back(row.Mark);
        std::string& joined = marksOfLength[*length];
        joined += (joined.empty() ? "" : ", ") + row.Mark;
    }
    // Bare millimetres in a metric job, as ever; feet and inches in an imperial one.
    auto Length = [&input](long long length) {
        return input.Units.Imperial() ? FormatLength(length, input.Units) : std::to_string(length);
    };
    std::string csv = CsvLine({"Pattern", "Stock Length", "Bars", "Cut Length", "Pieces per Bar",
                               "Pieces in All", "Offcut per Bar", "Mark"});
    for (int p = 0; p < result.PatternCount(); ++p) {
        const CuttingPattern& pattern = result.Patterns[p];
        // As the cutting list returns it: no offcut when all waste is scrapped.
        const int offcut = pattern.IsOffcut && !a.NoOffcuts ? pattern.OffcutLength : 0;
        for (int k = 0; k < pattern.LengthCount(); ++k) {
            const int length = pattern.CutLength[k] - a.Kerf;
            const auto marks = marksOfLength.find(length);
            csv += CsvLine(
                {std::to_string(p + 1), Length(pattern.StockLength + a.Trim + a.Hold),
                 std::to_string(pattern.BarCount), Length(length),
                 std::to_string(pattern.PieceCount[k]),
                 std::to_string(static_cast<long long>(pattern.PieceCount[k]) * pattern.BarCount),
                 Length(offcut), marks != marksOfLength.end() ? CsvText(marks->second) : ""});
        }
    }
    return csv;
}

}  // namespace tallora
