#include "engine/optimal/Dive.h"

#include "engine/optimal/SlackFill.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace tallora::csp {

void Diver::Dive(std::optional<long long> target, int discrepancies, long long nodes,
                 std::optional<std::chrono::steady_clock::time_point> until) {
    until_ = until;
    master_.ClearFixed();
    nodes_ = 0;
    nodeLimit_ = in_.C.WorkLimit ? std::min(nodes, *in_.C.WorkLimit) : nodes;
    target_ = target;
    DiveFrom(discrepancies);
    master_.ReleaseFixed();
}

bool Diver::Over() const {
    return in_.Stopped() || (until_ && std::chrono::steady_clock::now() >= *until_);
}

// True when the dive found a plan that meets the bound.
bool Diver::DiveFrom(int discrepancies) {
    if (Over() || ++nodes_ > nodeLimit_) return false;
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
    for (int t = 0; t < tries && !meets && !Over(); ++t) {
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

void Diver::RoundDown() {
    master_.ClearFixed();
    RoundDownFixed();
    master_.ReleaseFixed();
}

// From the bars fixed now: whole bars of the programme's solution until there are none, then
// the pieces they leave bar by bar.
void Diver::RoundDownFixed() {
    for (bool raised = true; raised && !Over();) {
        master_.MatchFixed();
        master_.ColumnGeneration(true, nullptr, in_.O.MaxDiveRounds);
        master_.MatchFixed();
        if (!master_.Solved()) break;
        raised = false;
        for (std::size_t k = 0; k < master_.Columns().size(); ++k) {
            const int whole = static_cast<int>(std::floor(master_.Level(k) + Epsilon));
            if (whole <= master_.Fixed(k)) continue;
            master_.SetFixed(k, whole);
            raised = true;
        }
        if (raised) master_.Resolve(false);
    }
    const Residual residual = master_.ResidualJob();
    std::vector<long long> left(static_cast<std::size_t>(in_.N));
    for (int i = 0; i < in_.N; ++i) {
        left[static_cast<std::size_t>(i)] =
            std::max<long long>(0, residual.Demand[static_cast<std::size_t>(i)]);
    }
    OfferFixedAndRest(left, residual.Available, master_.FixedBars());
}

// The fixed bars, with the pieces beyond the demand left off, and the pieces `left` cut bar
// by bar at least slack on the bars `available`, to the incumbent.
void Diver::OfferFixedAndRest(const std::vector<long long>& left,
                              const std::vector<long long>& available, const Bars& fixed) {
    std::optional<Bars> rest = SlackBars(in_, left, available);
    if (!rest) return;
    std::vector<long long> wanted(static_cast<std::size_t>(in_.N));
    for (int i = 0; i < in_.N; ++i) wanted[static_cast<std::size_t>(i)] = in_.ItemAt(i).Demand;
    Bars plan;
    for (const auto& [pattern, bars] : fixed) {
        for (int b = 0; b < bars; ++b) plan.push_back({Trimmed(pattern, wanted), 1});
    }
    for (const auto& bar : *rest) plan.push_back(bar);
    incumbent_.Offer(Merge(plan));
}

void Diver::Repair(std::mt19937& random, bool price) {
    const Plan best = incumbent_.Best();
    if (best.Unplaced > 0 || best.Patterns.empty()) return;
    // Every bar as its pattern, the most wasteful first; half the freed bars are those, the
    // other half at random.
    std::vector<std::pair<long long, std::size_t>> bars;
    for (std::size_t p = 0; p < best.Patterns.size(); ++p) {
        const Pattern& pattern = best.Patterns[p].first;
        long long waste = in_.StockAt(pattern.Stock).Length;
        for (const auto& [item, count] : pattern.Pieces)
            waste -= static_cast<long long>(count) * in_.ItemAt(item).Size;
        for (int b = 0; b < best.Patterns[p].second; ++b) bars.push_back({waste, p});
    }
    std::stable_sort(bars.begin(), bars.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    const std::size_t freed =
        std::min(bars.size(), std::clamp<std::size_t>(bars.size() / 8, 2, 24));
    std::shuffle(bars.begin() + static_cast<long>(freed / 2), bars.end(), random);
    std::vector<int> keep(best.Patterns.size(), 0);
    for (std::size_t b = freed; b < bars.size(); ++b) ++keep[bars[b].second];
    if (price) {
        master_.ClearFixed();
        for (std::size_t p = 0; p < keep.size(); ++p) {
            if (keep[p] == 0) continue;
            const std::optional<std::size_t> k = master_.ColumnOf(best.Patterns[p].first);
            master_.MatchFixed();
            if (k.has_value()) master_.SetFixed(*k, master_.Fixed(*k) + keep[p]);
        }
        master_.Resolve(false);
        RoundDownFixed();
        master_.ReleaseFixed();
        return;
    }
    Bars fixed;
    std::vector<long long> left(static_cast<std::size_t>(in_.N));
    for (int i = 0; i < in_.N; ++i) left[static_cast<std::size_t>(i)] = in_.ItemAt(i).Demand;
    std::vector<long long> available(static_cast<std::size_t>(in_.M));
    for (int j = 0; j < in_.M; ++j)
        available[static_cast<std::size_t>(j)] = in_.StockAt(j).Available;
    for (std::size_t p = 0; p < keep.size(); ++p) {
        if (keep[p] == 0) continue;
        const Pattern& pattern = best.Patterns[p].first;
        fixed.push_back({pattern, keep[p]});
        for (const auto& [item, count] : pattern.Pieces)
            left[static_cast<std::size_t>(item)] -= static_cast<long long>(count) * keep[p];
        if (available[static_cast<std::size_t>(pattern.Stock)] > 0)
            available[static_cast<std::size_t>(pattern.Stock)] -= keep[p];
    }
    OfferFixedAndRest(left, available, fixed);
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
