#include "engine/optimal/Dive.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace tallora::csp {

void Diver::Dive(std::optional<long long> target, int discrepancies, long long nodes) {
    master_.ClearFixed();
    nodes_ = 0;
    nodeLimit_ = in_.C.WorkLimit ? std::min(nodes, *in_.C.WorkLimit) : nodes;
    target_ = target;
    DiveFrom(discrepancies);
    master_.ReleaseFixed();
}

// True when the dive found a plan that meets the bound.
bool Diver::DiveFrom(int discrepancies) {
    if (in_.Stopped() || ++nodes_ > nodeLimit_) return false;
    master_.MatchFixed();
    double bound = 0.0;
    master_.ColumnGeneration(true, &bound, in_.O.MaxDiveRounds, target_);
    master_.MatchFixed();
    // The bound holds however far the programme got; its solution only when it was solved.
    if (std::isfinite(bound)) {
        const long long rounded = in_.Costs.RoundUp(bound);
        if (incumbent_.Best().Unplaced == 0 && rounded >= incumbent_.Charge()) return false;
        if (target_ && rounded > *target_) return false;
    }
    if (!master_.Solved()) return false;
    if (master_.Objective() >= incumbent_.Cost() - 0.5) return false;
    // Whole bars are taken as they are; only fractions need a decision.
    std::vector<std::pair<std::size_t, int>> raised;
    const std::size_t columns = master_.Columns().size();
    for (std::size_t k = 0; k < columns; ++k) {
        const int whole = static_cast<int>(std::floor(master_.Level(k) + Epsilon));
        if (whole > master_.Fixed(k)) {
            raised.push_back({k, master_.Fixed(k)});
            master_.SetFixed(k, whole);
        }
    }
    bool meets = false;
    if (!raised.empty() && target_) {
        // What the whole bars leave is often small enough to fill bar by bar.
        const Residual residual = master_.ResidualJob();
        const Bars fixed = master_.FixedBars();
        meets = bars_.FillToBound(in_.O.ResidualFillNodes, 0, &residual, &fixed) ==
                    BarSearch::Filling::Found &&
                incumbent_.Proven();
    }
    if (!meets && !raised.empty()) {
        master_.Resolve(false);
        meets = DiveFrom(discrepancies);
    } else if (!meets) {
        meets = Branch(discrepancies);
    }
    for (auto it = raised.rbegin(); it != raised.rend(); ++it)
        master_.SetFixed(it->first, it->second);
    return meets;
}

// No whole bars to take: one more bar of the largest fraction, or with discrepancies left, of
// the next largest too.
bool Diver::Branch(int discrepancies) {
    std::vector<std::pair<double, std::size_t>> fractions;
    const std::size_t columns = master_.Columns().size();
    for (std::size_t k = 0; k < columns; ++k) {
        const double f = master_.Level(k) - master_.Fixed(k);
        if (f > Epsilon) fractions.push_back({f, k});
    }
    if (fractions.empty()) {
        RecordIntegral();
        return incumbent_.Proven();
    }
    std::sort(fractions.rbegin(), fractions.rend());
    const int tries =
        std::min<int>(static_cast<int>(fractions.size()), 1 + (discrepancies > 0 ? 1 : 0));
    bool meets = false;
    for (int t = 0; t < tries && !meets && !in_.Stopped(); ++t) {
        const std::size_t k = fractions[static_cast<std::size_t>(t)].second;
        const int before = master_.Fixed(k);
        master_.SetFixed(k, before + 1);
        master_.Resolve(false);
        meets = DiveFrom(discrepancies - t);
        master_.SetFixed(k, before);
    }
    master_.Resolve(false);
    return meets;
}

// The programme's solution is whole: its bars, with the pieces beyond the demand left off,
// bar by bar, so that a surplus comes off only the bars that have it.
void Diver::RecordIntegral() {
    std::vector<long long> left(static_cast<std::size_t>(in_.N));
    for (int i = 0; i < in_.N; ++i) left[static_cast<std::size_t>(i)] = in_.ItemAt(i).Demand;
    Bars patterns;
    const std::vector<Pattern>& columns = master_.Columns();
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const int bars = static_cast<int>(std::llround(master_.Level(k)));
        for (int b = 0; b < bars; ++b) {
            Pattern cut = Trimmed(columns[k], left);
            if (!cut.Pieces.empty()) patterns.push_back({cut, 1});
        }
    }
    incumbent_.Accept(Merge(patterns), left);
}

}  // namespace tallora::csp
