#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <limits>
#include <mutex>
#include <random>
#include <thread>

#include "engine/CuttingStockSolver.h"
#include "engine/optimal/Aggregate.h"
#include "engine/optimal/BarSearch.h"
#include "engine/optimal/Board.h"
#include "engine/optimal/BranchAndPrice.h"
#include "engine/optimal/Dive.h"
#include "engine/optimal/Enumeration.h"
#include "engine/optimal/FirstFit.h"
#include "engine/optimal/Incumbent.h"
#include "engine/optimal/Master.h"
#include "engine/optimal/PatternMip.h"
#include "engine/optimal/SlackFill.h"

namespace tallora::csp {

namespace {

enum Workers { PrimalWorker, BoundWorker, WorkerCount };

// The search: a first plan and the linear programme's bound on the calling thread, then two
// workers, one looking for better plans by diving, integer programmes and the search bar by
// bar, the other raising the bound by the search over the master programme (which finds plans
// too), until a plan meets the bound or the time is up.
class Solver {
public:
    Solver(const Aggregate& aggregate, const Control& control)
        : aggregate_(aggregate),
          costs_(aggregate.Joined(), options_),
          board_(control, costs_.Weight(), WorkerCount, control.Threads < 2),
          in_(aggregate.Joined(), control, options_, costs_, board_, PrimalWorker),
          boundIn_(aggregate.Joined(), control, options_, costs_, board_, BoundWorker),
          incumbent_(in_),
          boundIncumbent_(boundIn_),
          master_(in_, incumbent_),
          bars_(in_, incumbent_),
          diver_(in_, incumbent_, master_, bars_) {}

    Result Run() {
        if (in_.N == 0 || in_.M == 0) return {};
        FirstPlans();
        SlowPlanAhead ahead(*this);
        costs_.FindSums(incumbent_.Best());
        MaterialBound();
        if (!incumbent_.Proven()) MinimumSlack(in_, incumbent_);
        std::vector<Pattern> first;
        for (const auto& [pattern, bars] : incumbent_.Best().Patterns) first.push_back(pattern);
        master_.Build(first);
        if (!incumbent_.Proven()) RootBound();
        if (board_.Proven() || in_.Stopped()) return Outcome();
        // The bound's search starts from the patterns known now; each worker goes on alone,
        // counting its work from nothing. On one stock length the slow heuristic waits until it
        // is asked for, so as not to slow the two workers: their plans are the better there. On
        // several, its plan is often the best there is and it needs the time to finish, so it
        // goes on, and the bound's search gives it the core until the first dive is over.
        if (!SeveralLengths()) {
            ahead.Pause(true);
        } else if (ahead.Running()) {
            board_.Hold(BoundWorker, true);
        }
        board_.Fork();
        in_.Done = 0;
        const std::vector<Pattern> columns = master_.Columns();
        const bool bounded = incumbent_.Rounded() && incumbent_.Best().Unplaced == 0;
        std::thread primal([&] { Work(PrimalWorker, [&] { Primal(); }); });
        std::thread bound([&] {
            Work(BoundWorker, [&] {
                if (bounded) Bound(columns);
            });
        });
        board_.Watch({&primal, &bound});
        for (const std::exception_ptr& failure : failures_) {
            if (failure) std::rethrow_exception(failure);
        }
        return Outcome();
    }

private:
    // A worker's search on its own thread; what it throws goes to the caller's.
    template <typename Body>
    void Work(int worker, Body&& body) {
        board_.Begin(worker);
        try {
            body();
        } catch (...) {
            failures_[static_cast<std::size_t>(worker)] = std::current_exception();
            board_.Halt();
        }
        board_.Finish(worker);
    }

    bool Going() const { return !incumbent_.Proven() && !in_.Stopped(); }
    bool SeveralLengths() const { return in_.P.Stocks.size() > 1; }

    // With a deadline, a search may take all the time there is; without, `nodes`.
    std::optional<long long> Unlimited(long long nodes) const {
        return in_.C.Deadline ? std::nullopt : std::optional<long long>(nodes);
    }

    void FirstPlans() {
        FirstFitDecreasing(in_, incumbent_, false);
        // Offcuts first: a plan that takes them, where the longest bars would leave them all.
        if (costs_.Weight() > 0) FirstFitDecreasing(in_, incumbent_, true);
        for (const Plan& plan : in_.C.StartPlans) {
            if (auto bars = aggregate_.Join(plan)) incumbent_.Offer(std::move(*bars));
        }
    }

    // No plan that cuts every piece uses less stock than the pieces' own length: with offcut
    // rows, less new stock than what all the offcuts together leave, and then fewer offcuts
    // than the pieces leave to them.
    void MaterialBound() {
        long long total = 0;
        for (const Item& item : in_.P.Items)
            total += static_cast<long long>(item.Size) * item.Demand;
        const long long rounded =
            costs_.Weight() > 0 ? costs_.MaterialCharge(total) : costs_.RoundUp(double(total));
        incumbent_.SetRootBound(costs_.Weight() > 0 ? double(rounded) : double(total));
        incumbent_.SetRounded(rounded);
        boundIncumbent_.SetRounded(rounded);
    }

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
            incumbent_.SetRounded(costs_.RoundUp(bound));
            boundIncumbent_.SetRounded(costs_.RoundUp(bound));
            incumbent_.Report();
        }
    }

    void Primal() {
        const BarSearch::Filling filling = Search();
        Improve(filling);
    }

    BarSearch::Filling Search() {
        const SolverOptions& o = in_.O;
        // Jobs whose best plans fill every bar to the millimetre, as triplets do, are solved
        // best by an integer programme over every such pattern, when they are few.
        if (Going()) {
            const std::vector<Pattern> tight = TightPatterns(in_, incumbent_);
            if (!tight.empty())
                RestrictedMaster(in_, incumbent_, master_, tight, true, o.TightNodes);
        }
        // The programme's whole bars, the rest bar by bar at least slack.
        if (Going()) diver_.RoundDown();
        // A short search bar by bar, then diving for a plan at the bound, whose whole bars
        // leave a few pieces for the search bar by bar to fill.
        BarSearch::Filling filling = BarSearch::Filling::GaveUp;
        if (Going()) filling = bars_.FillToBound(o.FirstFillNodes, 0);
        // The dives may take all the time there is, and a slower heuristic most of it: a dive
        // with a share of the time first, which often meets the bound; then, on several stock
        // lengths, the heuristic's plan, which is often the best there, then the dives again.
        // On one length the searches here do better than the heuristic, so its plan comes
        // after them.
        bool cutShort = false;
        if (Going() && incumbent_.Rounded()) {
            const auto until = ShareOfTimeLeft(o.FirstDiveShare);
            diver_.Dive(incumbent_.Rounded(), o.MaxDiscrepancies, o.MaxDiveNodes, until);
            cutShort = until && std::chrono::steady_clock::now() >= *until;
        }
        board_.Hold(BoundWorker, false);
        if (Going() && SeveralLengths()) OfferSlowPlan();
        if (Going() && cutShort)
            diver_.Dive(incumbent_.Rounded(), o.MaxDiscrepancies, o.MaxDiveNodes);
        // No plan at the bound yet: a plain dive for a better plan, then the integer programme
        // over the patterns known, then over every pattern when they are few.
        if (Going()) diver_.Dive(std::nullopt, 0, o.MaxDiveNodes);
        if (Going()) RestrictedMaster(in_, incumbent_, master_, {}, false, o.ImproveNodes);
        if (Going()) CompleteSearch();
        if (Going() && !SeveralLengths()) OfferSlowPlan();
        // With offcut rows there is no search bar by bar: the time left goes to the integer
        // programme over the patterns known.
        if (costs_.Weight() > 0 && Going()) {
            RestrictedMaster(in_, incumbent_, master_, {}, false, Unlimited(o.CompleteNodes));
        }
        return filling;
    }

    // Until the time is up (without a deadline, a few rounds): searches bar by bar in other
    // orders, and large neighbourhoods of the best plan, mostly cut bar by bar, every fourth
    // rounded down from the programme.
    void Improve(BarSearch::Filling filling) {
        std::mt19937 random(1);
        for (unsigned round = 1; Going() && (in_.C.Deadline || round <= in_.O.UnlimitedRestarts);
             ++round) {
            if (filling == BarSearch::Filling::GaveUp)
                filling = bars_.FillToBound(in_.O.FirstFillNodes << std::min(round, 10u), round);
            for (int k = 0; k < in_.O.RepairsPerRound && Going(); ++k) diver_.Repair(random, false);
            if (Going()) diver_.Repair(random, true);
        }
    }

    // The time when `share` of the time left is up; none without a deadline.
    std::optional<std::chrono::steady_clock::time_point> ShareOfTimeLeft(double share) const {
        if (!in_.C.Deadline) return std::nullopt;
        const auto now = std::chrono::steady_clock::now();
        return now + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                         (*in_.C.Deadline - now) * share);
    }

    void OfferSlowPlan() {
        if (!in_.C.SlowPlan) return;
        std::optional<Plan> plan;
        if (slowThread_.joinable()) {
            // Made on its own thread while the bound was sought; its steps count as work here,
            // where it is taken, as they would had it been made here.
            ahead_->Pause(false);
            while (!slowDone_.load()) {
                if (in_.Stopped()) return;
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            slowThread_.join();
            if (slowFailure_) std::rethrow_exception(slowFailure_);
            in_.Work(slowSteps_.load());
            if (in_.Stopped()) return;
            plan = std::move(slowPlan_);
        } else {
            // Each step of the heuristic is work: a plan the other worker found at the bound
            // stops it after as much work as that took, and taking turns goes on through it.
            plan = in_.C.SlowPlan([this] {
                in_.Work();
                return in_.Stopped();
            });
        }
        if (!plan) return;
        if (auto bars = aggregate_.Join(*plan)) incumbent_.Offer(std::move(*bars));
    }

    // With a second thread, the slow heuristic's plan is begun at once, on the core the linear
    // programme leaves free, paused while both workers search on one stock length, and finished
    // where the search asks for it; it is taken there as if made there. It stops when the search
    // ends or at the deadline.
    class SlowPlanAhead {
    public:
        explicit SlowPlanAhead(Solver& solver) : s_(solver) {
            const Control& c = s_.in_.C;
            if (!c.SlowPlan || c.Threads < 2) return;
            s_.ahead_ = this;
            s_.slowThread_ = std::thread([this, deadline = c.Deadline] {
                try {
                    s_.slowPlan_ = s_.in_.C.SlowPlan([this, deadline] {
                        ++s_.slowSteps_;
                        return Stop(deadline);
                    });
                } catch (...) {
                    s_.slowFailure_ = std::current_exception();
                }
                s_.slowDone_ = true;
            });
        }
        ~SlowPlanAhead() {
            {
                std::lock_guard lock(mutex_);
                stop_ = true;
            }
            wake_.notify_all();
            if (s_.slowThread_.joinable()) s_.slowThread_.join();
            s_.ahead_ = nullptr;
        }
        SlowPlanAhead(const SlowPlanAhead&) = delete;
        SlowPlanAhead& operator=(const SlowPlanAhead&) = delete;

        bool Running() const { return s_.slowThread_.joinable(); }

        void Pause(bool paused) {
            {
                std::lock_guard lock(mutex_);
                paused_ = paused;
            }
            wake_.notify_all();
        }

    private:
        bool Stop(const std::optional<std::chrono::steady_clock::time_point>& deadline) {
            std::unique_lock lock(mutex_);
            const auto resumed = [this] { return !paused_ || stop_; };
            if (deadline) {
                if (!wake_.wait_until(lock, *deadline, resumed)) return true;
            } else {
                wake_.wait(lock, resumed);
            }
            return stop_ || (deadline && std::chrono::steady_clock::now() >= *deadline);
        }

        Solver& s_;
        std::mutex mutex_;
        std::condition_variable wake_;
        bool paused_ = false;
        bool stop_ = false;
    };

    // Few patterns in all: the integer programme over every one of them finds the best plan
    // there is, and when it finishes, that plan is proven best.
    void CompleteSearch() {
        if (incumbent_.Best().Unplaced > 0) return;
        std::vector<Pattern> all;
        if (!Enumerate(in_, std::numeric_limits<long long>::max(), in_.O.MaxCompletePatterns, all))
            return;
        if (RestrictedMaster(in_, incumbent_, master_, all, false, Unlimited(in_.O.CompleteNodes),
                             true)) {
            incumbent_.SetRounded(incumbent_.Charge());
            incumbent_.Report();
        }
    }

    // The search over the master programme for a plan at the bound; where it finds none, the
    // bound rises to the next sum of bars and it searches again.
    void Bound(const std::vector<Pattern>& columns) {
        BranchAndPrice search(boundIn_, boundIncumbent_);
        search.AddPatterns(columns);
        const long long nodes = boundIn_.C.WorkLimit.value_or(
            boundIn_.C.Deadline ? std::numeric_limits<long long>::max() : options_.BranchNodes);
        while (!boundIn_.Stopped()) {
            const long long target = *boundIncumbent_.Rounded();
            if (search.Search(target, nodes) != BranchAndPrice::Outcome::Exhausted) break;
            boundIncumbent_.SetRounded(costs_.RoundUp(double(target) + 0.5));
        }
    }

    Result Outcome() const {
        Result result;
        const Plan best = board_.Best();
        result.Best = best;
        const long long weight = costs_.Weight();
        const auto root = board_.RootBound();
        const auto rounded = board_.Bound();
        // Offcut rows too many to weigh exactly: their plan is no proven preference.
        if (root && rounded && best.Unplaced == 0 && (weight > 0 || !costs_.OffcutRows())) {
            result.Proven = board_.Proven();
            if (weight > 0) {
                // A plan's cost is weight times its new stock plus its offcuts in steps.
                const long long offcuts = costs_.OffcutTotal() / costs_.OffcutStep();
                result.LowerBound = std::max(0.0, (*root - double(offcuts)) / double(weight));
                result.RoundedBound = *rounded / weight;
                result.OffcutBound = *rounded % weight * costs_.OffcutStep();
                result.NewStockProven = Incumbent::NewMaterial(best) <= *result.RoundedBound;
            } else {
                result.LowerBound = root;
                result.RoundedBound = rounded;
                result.NewStockProven = result.Proven;
            }
        }
        result.TimedOut = in_.TimedOut();
        result.Cancelled = board_.Cancelled() || (in_.C.Cancelled && in_.C.Cancelled());
        return result;
    }

    const Aggregate& aggregate_;
    SolverOptions options_;
    Charges costs_;
    Board board_;
    Instance in_;
    Instance boundIn_;
    Incumbent incumbent_;
    Incumbent boundIncumbent_;
    Master master_;
    BarSearch bars_;
    Diver diver_;
    std::exception_ptr failures_[WorkerCount];
    std::thread slowThread_;
    SlowPlanAhead* ahead_ = nullptr;
    std::atomic<bool> slowDone_{false};
    std::atomic<long long> slowSteps_{0};
    std::optional<Plan> slowPlan_;
    std::exception_ptr slowFailure_;
};

}  // namespace

Result Solve(const Problem& problem, const Control& control) {
    const Aggregate aggregate(problem);
    Result result = Solver(aggregate, control).Run();
    result.Best = aggregate.Split(result.Best);
    return result;
}

}  // namespace tallora::csp
