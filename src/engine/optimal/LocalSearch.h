#pragma once

#include "engine/optimal/Instance.h"
#include "engine/optimal/Patterns.h"

namespace tallora::csp {

// Each bar moved to the cheapest stock row that holds its pieces and has a bar left, the
// fullest bars first; single bars of a pattern may move apart.
Bars Restock(const Instance& in, Bars patterns);

}  // namespace tallora::csp
