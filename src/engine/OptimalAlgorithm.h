#pragma once

#include "engine/CalculationRun.h"

namespace tallora {

// How long the Optimal algorithm looks for a better plan when the caller sets no limit.
inline constexpr double DefaultOptimalSeconds = 10.0;

// One run of the Optimal algorithm: the plan of least stock length for the live tables, found by
// column generation and diving, with the bound that proves how good it is (the tables' Bound).
// Stops at the time limit or when the user cancels, keeping the best plan found so far.
void RunOptimal(CalculationRun& run);

}  // namespace tallora
