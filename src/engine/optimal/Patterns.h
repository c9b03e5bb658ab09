#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "engine/CuttingStockSolver.h"

namespace tallora::csp {

long long Gcd(long long a, long long b);

std::size_t HashOf(const Pattern& p);

struct PatternHash {
    std::size_t operator()(const Pattern& p) const { return HashOf(p); }
};

using Bars = std::vector<std::pair<Pattern, int>>;  // patterns with their bars

// A pattern of the items with a count above zero.
Pattern MakePattern(int stock, const std::vector<int>& counts);

// Identical patterns joined, their bars added; patterns without bars or pieces left out.
Bars Merge(const Bars& patterns);

// A bar of `pattern` with the pieces no longer wanted left off; `left` counts down.
Pattern Trimmed(const Pattern& pattern, std::vector<long long>& left);

}  // namespace tallora::csp
