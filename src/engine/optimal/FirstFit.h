#pragma once

#include "engine/optimal/Incumbent.h"

namespace tallora::csp {

// A first plan: pieces longest first into the first bar they fit, a new bar from the longest
// stock row left that holds the piece; from the offcut rows before new stock when
// `offcutsFirst`. Offered to the incumbent.
void FirstFitDecreasing(const Instance& in, Incumbent& incumbent, bool offcutsFirst);

}  // namespace tallora::csp
