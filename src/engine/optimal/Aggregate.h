#pragma once

#include <optional>
#include <vector>

#include "engine/CuttingStockSolver.h"

namespace tallora::csp {

// Items of one size are one item to the search, longest first: fewer rows, and one way only to
// write a pattern. Plans go back to the job's own items, the first rows first.
class Aggregate {
public:
    explicit Aggregate(const Problem& job);

    const Problem& Joined() const { return joined_; }
    // A plan of the job's items in the joined items, with pieces beyond the demand left off;
    // nothing when it is no plan (a bar too short, a row without the bars).
    std::optional<std::vector<std::pair<Pattern, int>>> Join(const Plan& plan) const;
    Plan Split(const Plan& plan) const;

private:
    const Problem& job_;
    Problem joined_;
    std::vector<int> group_;                 // joined item of each job item; -1 for none
    std::vector<std::vector<int>> members_;  // job items of each joined item, in order
};

}  // namespace tallora::csp
