#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

#include "engine/CuttingStockSolver.h"
#include "engine/optimal/Aggregate.h"
#include "engine/optimal/BarSearch.h"
#include "engine/optimal/Dive.h"
#include "engine/optimal/Enumeration.h"
#include "engine/optimal/FirstFit.h"
#include "engine/optimal/Incumbent.h"
#include "engine/optimal/Master.h"
#include "engine/optimal/PatternMip.h"

namespace tallora::csp {

namespace {

// The parts of the search, run one after the other until the best plan meets the bound.
class Solver {
public:
    Solver(const Aggregate& aggregate, const Control& control)
        : aggregate_(aggregate),
          in_(aggregate.Joined(), control, options_),
          incumbent_(in_),
          master_(in_, incumbent_),
          bars_(in_, incumbent_),
          diver_(in_, incumbent_, master_, bars_) {}

    Result Run() {
        if (in_.N == 0 || in_.M == 0) return {};
        const long long weight = in_.Costs.Weight();
        FirstFitDecreasing(in_, incumbent_, false);
        // Offcuts first: a plan that takes them, where the longest bars would leave them all.
        if (weight > 0) FirstFitDecreasing(in_, incumbent_, true);
        for (const Plan& plan : in_.C.StartPlans) {
            if (auto bars = aggregate_.Join(plan)) incumbent_.Offer(std::move(*bars));
        }
        in_.Costs.FindSums(incumbent_.Best());
        master_.Build(incumbent_.Best());
        RootBound();
        const BarSearch::Filling filling = Search();
        Restarts(filling);
        return Outcome();
    }

private:
    bool Going() const { return !incumbent_.Proven() && !in_.Stopped(); }

    // The programme may take most of the time; the rest is for finding plans.
    void RootBound() {
        if (in_.C.Deadline) {
            const auto now = std::chrono::steady_clock::now();
            master_.SoftDeadline = now + (*in_.C.Deadline - now) * 7 / 10;
        }
        double bound = -std::numeric_limits<double>::infinity();
        master_.ColumnGeneration(true, &bound);
        master_.SoftDeadline.reset();
        if (std::isfinite(bound)) {
            incumbent_.SetRootBound(bound);
            incumbent_.SetRounded(in_.Costs.RoundUp(bound));
            incumbent_.Report();
        }
    }

    BarSearch::Filling Search() {
        const SolverOptions& o = in_.O;
        // Jobs whose best plans fill every bar to the millimetre, as triplets do, are solved
        // best by an integer programme over every such pattern, when they are few.
        if (Going()) {
            const std::vector<Pattern> tight = TightPatterns(in_, incumbent_);
            if (!tight.empty())
                RestrictedMaster(in_, incumbent_, master_, tight, true, o.TightSeconds);
        }
        // A short search bar by bar, then diving for a plan at the bound, whose whole bars
        // leave a few pieces for the search bar by bar to fill.
        BarSearch::Filling filling = BarSearch::Filling::GaveUp;
        if (Going()) filling = bars_.FillToBound(o.FirstFillNodes, 0);
        if (Going() && incumbent_.Rounded())
            diver_.Dive(incumbent_.Rounded(), o.MaxDiscrepancies, o.MaxDiveNodes);
        // No plan at the bound yet: a plain dive for a better plan, then the integer programme
        // over the patterns known, then over every pattern when they are few.
        if (Going()) diver_.Dive(std::nullopt, 0, o.MaxDiveNodes);
        if (Going()) RestrictedMaster(in_, incumbent_, master_, {}, false, o.ImproveSeconds);
        if (Going()) CompleteSearch();
        // With offcut rows there is no search bar by bar: the time left goes to the integer
        // programme over the patterns known.
        if (in_.Costs.Weight() > 0 && Going()) {
            RestrictedMaster(in_, incumbent_, master_, {}, false,
                             in_.C.Deadline ? 1e6 : o.CompleteSeconds);
        }
        return filling;
    }

    // Searches bar by bar in other orders until the time is up; without a deadline they end
    // after a few rounds.
    void Restarts(BarSearch::Filling filling) {
        for (unsigned round = 1; filling == BarSearch::Filling::GaveUp && Going() &&
                                 (in_.C.Deadline || round <= in_.O.UnlimitedRestarts);
             ++round) {
            filling = bars_.FillToBound(in_.O.FirstFillNodes << std::min(round, 10u), round);
        }
    }

    // Few patterns in all: the integer programme over every one of them finds the best plan
    // there is, and when it finishes, that plan is proven best.
    void CompleteSearch() {
        if (incumbent_.Best().Unplaced > 0) return;
        std::vector<Pattern> all;
        if (!Enumerate(in_, std::numeric_limits<long long>::max(), in_.O.MaxCompletePatterns, all))
            return;
        if (RestrictedMaster(in_, incumbent_, master_, all, false, in_.O.CompleteSeconds, true)) {
            incumbent_.SetRounded(incumbent_.Charge());
            incumbent_.Report();
        }
    }

    Result Outcome() const {
        Result result;
        const Plan& best = incumbent_.Best();
        result.Best = best;
        const long long weight = in_.Costs.Weight();
        const auto& root = incumbent_.RootBound();
        const auto& rounded = incumbent_.Rounded();
        // Offcut rows too many to weigh exactly: their plan is no proven preference.
        if (root && best.Unplaced == 0 && (weight > 0 || !in_.Costs.OffcutRows())) {
            result.Proven = incumbent_.Proven();
            if (weight > 0) {
                // A plan's cost is weight times its new stock plus its offcuts in steps.
                const long long offcuts = in_.Costs.OffcutTotal() / in_.Costs.OffcutStep();
                result.LowerBound = std::max(0.0, (*root - double(offcuts)) / double(weight));
                result.RoundedBound = *rounded / weight;
                result.OffcutBound = *rounded % weight * in_.Costs.OffcutStep();
                result.NewStockProven = Incumbent::NewMaterial(best) <= *result.RoundedBound;
            } else {
                result.LowerBound = root;
                result.RoundedBound = rounded;
                result.NewStockProven = result.Proven;
            }
        }
        result.TimedOut = in_.TimedOut();
        result.Cancelled = in_.C.Cancelled && in_.C.Cancelled();
        return result;
    }

    const Aggregate& aggregate_;
    SolverOptions options_;
    Instance in_;
    Incumbent incumbent_;
    Master master_;
    BarSearch bars_;
    Diver diver_;
};

}  // namespace

Result Solve(const Problem& problem, const Control& control) {
    const Aggregate aggregate(problem);
    Result result = Solver(aggregate, control).Run();
    result.Best = aggregate.Split(result.Best);
    return result;
}

}  // namespace tallora::csp
