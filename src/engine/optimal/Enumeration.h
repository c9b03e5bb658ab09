#pragma once

#include <cstddef>
#include <vector>

#include "engine/optimal/Incumbent.h"

namespace tallora::csp {

// Every pattern of each stock row that wastes at most `maxWaste` and has no room for another
// piece that is asked for; false, and nothing, when there are more than `most` or the search for
// them grows too long. No plan needs other patterns than these (with pieces it does not need
// left off): a piece that still fits can always be added.
bool Enumerate(const Instance& in, long long maxWaste, std::size_t most,
               std::vector<Pattern>& found);

// One stock length and a bound that leaves less than a bar to waste: the patterns a plan at the
// bound can use, when they are few.
std::vector<Pattern> TightPatterns(const Instance& in, const Incumbent& incumbent);

}  // namespace tallora::csp
