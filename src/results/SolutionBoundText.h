#pragma once

#include <string>

#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "results/NumberFormat.h"

namespace tallora {

// One line on what the Optimal algorithm proved about its plan, for the status bar, the command
// line and the report: "Optimal: 40 bars, lower bound 40, proven optimal", "Optimal: 41 bars,
// lower bound 40". With
// several stock lengths the plan and the bound are metres of usable stock. With inventory offcut
// rows, metres of new stock and of offcuts: "Optimal: 12.000 m of new stock and 3.200 m of
// inventory offcuts in 6 bars, lower bound 12.000 m of new stock and 2.400 m of inventory
// offcuts, proven optimal for new stock".
std::string BoundText(const SolutionBound& bound, const NumberFormat& format);

}  // namespace tallora
