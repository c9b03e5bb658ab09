#include "results/CuttingListCsv.h"

#include <charconv>

#include "engine/Calculation.h"

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
    std::string csv = CsvLine({"Pattern", "Stock Length", "Bars", "Cut Length", "Pieces per Bar",
                               "Pieces in All", "Offcut per Bar", "Mark"});
    for (int p = 0; p < result.PatternCount(); ++p) {
        const CuttingPattern& pattern = result.Patterns[p];
        // As the cutting list returns it: no offcut when all waste is scrapped.
        const int offcut = pattern.IsOffcut && !a.NoOffcuts ? pattern.OffcutLength : 0;
        for (int k = 0; k < pattern.LengthCount(); ++k) {
            const int length = pattern.CutLength[k] - a.Kerf;
            const int row = LastRowOfLength(input.CutRows, length);
            csv += CsvLine(
                {std::to_string(p + 1), std::to_string(pattern.StockLength + a.Trim + a.Hold),
                 std::to_string(pattern.BarCount), std::to_string(length),
                 std::to_string(pattern.PieceCount[k]),
                 std::to_string(static_cast<long long>(pattern.PieceCount[k]) * pattern.BarCount),
                 std::to_string(offcut),
                 row >= 0 ? input.CutRows[static_cast<size_t>(row)].Mark : ""});
        }
    }
    return csv;
}

}  // namespace tallora
