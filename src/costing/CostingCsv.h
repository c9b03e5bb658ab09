#pragma once

#include <string>

#include "costing/CostingSheet.h"
#include "job/CostingSettings.h"

namespace tallora {

// The costing table as CSV (UTF-8, CR LF line ends): a header with the other charges' names,
// one line per cut row in entry order (quantity, length in mm, net weight in kg to 3 places,
// then material, cutting, the three other charges and the total, per piece to 2 places) and a
// totals line. Plain numbers: no currency sign, no thousands separator, a decimal point.
std::string CostingCsv(const CostingSheet& sheet, const CostingSettings& settings);

}  // namespace tallora
