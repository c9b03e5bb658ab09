#pragma once

#include <ClpSimplex.hpp>

#include <chrono>
#include <limits>
#include <optional>
#include <unordered_map>
#include <vector>

#include "engine/optimal/ArcPricing.h"
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

// The programme narrowed to the plans a search for a target looks at: each item cut exactly as
// often as asked (a plan leaves surplus pieces off anyway), no bar wasting more than all bars
// of such a plan together can, and room for that many branches on arcs.
struct Restriction {
    bool ExactDemand = false;
    long long MaxWaste = -1;  // none below zero
    int BranchSlots = 0;
};

// What each row is worth at a solution of the programme: each piece, each bar of a limited
// stock row, each branch.
struct Duals {
    std::vector<double> Pi;
    std::vector<double> Sigma;
    std::vector<double> Mu;
};

// The master programme: a column per pattern, a row per item (at least its demand) and per
// limited stock row (at most its bars), and a column per item for pieces left uncut at their
// penalty. Patterns are found by column generation; a dive fixes bars of some of them, a
// search branches on arcs, each branch a row.
class Master {
public:
    Master(const Instance& instance, const Incumbent& incumbent, Restriction restriction = {});

    // The rows and `columns` that fit the restriction; without one, each item alone on the
    // longest bar that holds it as well. Solved.
    void Build(const std::vector<Pattern>& columns);
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
    // Where a pattern is among the columns, added when it was not; nothing when it does not
    // belong in the programme.
    std::optional<std::size_t> ColumnOf(const Pattern& pattern);
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

    // A branch: the patterns through `arc` together take between `lower` and `upper` bars.
    // False when the branches are as deep as the restriction has room for.
    bool PushBranch(const Arc& arc, double lower, double upper);
    void PopBranch();

    // Column generation stops here too, so that the rest of the time is left for plans.
    std::optional<std::chrono::steady_clock::time_point> SoftDeadline;
    // The most the plans that matter cost, for the bound from any duals; without it, the best
    // plan's cost.
    std::optional<double> Budget;

private:
    struct Branch {
        Arc Where;
        double Lower = 0.0;
        double Upper = 0.0;
    };
    int PatternColumn(std::size_t k) const {
        return shortageColumns_ + restriction_.BranchSlots + static_cast<int>(k);
    }
    double SlotPenalty() const;
    int BranchRow(std::size_t b) const;
    bool Fits(const Pattern& pattern) const;
    bool Through(const Pattern& pattern, const Arc& arc) const;
    void ReadDuals(Duals& duals) const;
    bool PriceAt(const Duals& at, const Duals& own, const Residual& residual, double& best,
                 Duals& center);
    std::vector<Pattern> GreedyColumns(const Duals& duals, const std::vector<int>& bounds) const;
    double ExactColumns(const Duals& duals, const std::vector<int>& bounds,
                        std::vector<Pattern>& found);
    double RestrictedColumns(const Duals& duals, const std::vector<int>& bounds,
                             std::vector<Pattern>& found);
    double ReducedCost(const Pattern& pattern, const Duals& duals) const;
    double LagrangeanBound(const Duals& duals, double least, const Residual& r) const;
    double BranchWorth(const Duals& duals, double& perCost) const;

    const Instance& in_;
    const Incumbent& incumbent_;
    Restriction restriction_;
    ClpSimplex lp_;
    std::vector<int> stockRow_;
    int shortageColumns_ = 0;
    std::vector<Pattern> columns_;
    std::unordered_map<Pattern, std::size_t, PatternHash> known_;  // index in columns_
    std::vector<int> fixed_;
    std::vector<Branch> branches_;
    std::vector<int> sizes_;
    Knapsack knapsack_;
    ArcPricing arcPricing_;
};

}  // namespace tallora::csp
