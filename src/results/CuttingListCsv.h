#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "job/CalculationResult.h"
#include "job/JobInput.h"

namespace tallora {

// One CSV field: quoted, with its quotes doubled, when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);

// The fields as one CSV line, ending in CR LF.
std::string CsvLine(const std::vector<std::string>& fields);

// A number for a CSV file: with a point whatever the locale, `decimals` places (shortest form
// when negative), never "-0".
std::string CsvNumber(double value, int decimals = -1);

// The calculated job's cutting list as CSV (UTF-8, a header line, CR LF line ends): one line per
// pattern and cut length with the pattern's number, the stock length as entered (usable length
// with trim and hold), the bars, the cut length as entered (without kerf), the pieces per bar
// and in all, the offcut returned per bar (0 for none) and the mark of the cut row of that length.
std::string CuttingListCsv(const JobInput& input, const CalculationResult& result);

}  // namespace tallora
