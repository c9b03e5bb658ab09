#pragma once

#include <optional>
#include <string>

#include "engine/CalculationObserver.h"

namespace tallora {

// The lines a calculation's progress is shown in, in the progress window and on a terminal.
// "Cut lengths allocated: 12"
std::string AllocatedLine(const CalculationProgress& progress);
// "Cut lengths remaining: 30"
std::string RemainingLine(const CalculationProgress& progress);
// What the search is at: "Testing permutation: 26" in the Complex search, "Best so far: 41 bars,
// lower bound 40" in the Optimal search; empty in the other phases.
std::string SearchLine(const CalculationProgress& progress);

// What the calculation is doing and for how long, so that a long search never looks hung:
// "Searching, step 37: 12 s", "Optimal search: 4 s of 10 s", "Placing pieces: 1 s".
std::string ActivityLine(const CalculationProgress& progress, double seconds,
                         std::optional<double> limitSeconds);

}  // namespace tallora
