#pragma once

#include <ClpSimplex.hpp>

#include <chrono>
#include <limits>
#include <optional>
#include <unordered_set>
#include <vector>

#include "engine/optimal/Incumbent.h"
#include "engine/optimal/Knapsack.h"

namespace tallora::csp {

// What the fixed bars leave: the pieces of each item still asked for (less than none where
// they cut more), the bars of each stock row, and what the fixed bars cost.
struct Residual {
    std::vector<int> Bounds;        // pieces a pattern may still take
    std::vector<long long> Demand;  // pieces still asked for, below zero where over-cut
    std::vector<long long> Available;
    double FixedCost = 0.0;
};

// The master programme: a column per pattern, a row per item (at least its demand) and per
// limited stock row (at most its bars), and a column per item for pieces left uncut at their
// penalty. Patterns are found by column generation; a dive fixes bars of some of them.
class Master {
public:
    Master(const Instance& instance, const Incumbent& incumbent);

    // The rows, the first plan's patterns and each item alone on the longest bar that holds
    // it, solved.
    void Build(const Plan& first);
    bool AddColumn(const Pattern& pattern);
    // The programme solved again from where it was, within the time left.
    void Resolve(bool primal);

    // Column generation on the programme as it stands (with its fixed bars); true when no
    // pattern can lower it any more. `bound` gets the best lower bound on it found on the way.
    bool ColumnGeneration(bool exact, double* bound = nullptr,
                          int rounds = std::numeric_limits<int>::max(),
                          std::optional<long long> pruneAbove = std::nullopt);
    Residual ResidualJob() const;

    const std::vector<Pattern>& Columns() const { return columns_; }
    int StockRow(int stock) const { return stockRow_[static_cast<std::size_t>(stock)]; }
    bool Solved() const { return lp_.isProvenOptimal(); }
    double Objective() const { return lp_.objectiveValue(); }
    // Bars of pattern k in the programme's solution.
    double Level(std::size_t k) const { return lp_.primalColumnSolution()[PatternColumn(k)]; }

    // Fixed bars of each pattern: all none, as many entries as there are patterns.
    void ClearFixed();
    void MatchFixed() { fixed_.resize(columns_.size(), 0); }
    int Fixed(std::size_t k) const { return fixed_[k]; }
    void SetFixed(std::size_t k, int bars);
    // No bars fixed any more, and the programme solved again without them.
    void ReleaseFixed();
    // The fixed bars, pattern by pattern.
    Bars FixedBars() const;

    // Column generation stops here too, so that the rest of the time is left for plans.
    std::optional<std::chrono::steady_clock::time_point> SoftDeadline;

private:
    int PatternColumn(std::size_t k) const { return shortageColumns_ + static_cast<int>(k); }
    void Duals(std::vector<double>& pi, std::vector<double>& sigma) const;
    std::vector<Pattern> GreedyColumns(const std::vector<double>& pi,
                                       const std::vector<double>& sigma,
                                       const std::vector<int>& bounds) const;
    double ExactColumns(const std::vector<double>& pi, const std::vector<double>& sigma,
                        const std::vector<int>& bounds, std::vector<Pattern>& found,
                        std::vector<double>& bestReduced);
    double ReducedCost(const Pattern& pattern, const std::vector<double>& pi,
                       const std::vector<double>& sigma) const;
    double LagrangeanBound(const std::vector<double>& pi, const std::vector<double>& sigma,
                           double least, const Residual& r) const;

    const Instance& in_;
    const Incumbent& incumbent_;
    ClpSimplex lp_;
    std::vector<int> stockRow_;
    int shortageColumns_ = 0;
    std::vector<Pattern> columns_;
    std::unordered_set<Pattern, PatternHash> known_;
    std::vector<int> fixed_;
    Knapsack knapsack_;
};

}  // namespace tallora::csp
