#pragma once

#include <optional>
#include <vector>

#include "engine/optimal/Incumbent.h"

namespace tallora::csp {

// Bar by bar, the longest piece left with the pieces that fill the rest of the bar best (a
// subset sum over the pieces left), on the stock row that costs least for what its bar holds:
// where there are many lengths, as in shop jobs of hundreds of rows, most bars come out full to
// the millimetre. For the pieces `left` of each item on the bars `available` of each row (-1
// any); nothing when a piece fits no bar left or the search stopped.
std::optional<Bars> SlackBars(const Instance& in, std::vector<long long> left,
                              std::vector<long long> available);

// The same for the whole job, offered to the incumbent.
void MinimumSlack(const Instance& in, Incumbent& incumbent);

}  // namespace tallora::csp
