#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "costing/CostingSheet.h"
#include "job/CalculationResult.h"
#include "results/Statistics.h"

namespace tallora::cli {

// The cutting list, then the statistics as a table, the Optimal bound and the costing sheet.
void PrintResults(std::ostream& out, const CalculationResult& result, const Statistics& stats,
                  const CostingSheet* costing, const JobUnits& units = {});

}  // namespace tallora::cli
