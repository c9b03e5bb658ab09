#include "engine/OptimalAlgorithm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>

#include "engine/CuttingStockSolver.h"
#include "support/CspBruteForce.h"
#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using csp::CheckPlan;
using csp::Problem;
using testing::Calculated;
using testing::MakeJob;
using testing::Work;
using testing::WorkLimited;
using testing::WorkLimitedRun;

// The least stock length that cuts every piece; -1 when the stock cannot cut them all.
long long BruteForceOptimum(const Problem& p) {
    const auto least = testing::BruteForceLeast(p);
    return least ? least->first : -1;
}

// Jobs of every shape: several stock lengths, limited rows, stock that runs out, one row.
Problem RandomProblem(std::mt19937& random, int maxItems, int maxDemand) {
    Problem p;
    const int stocks = std::uniform_int_distribution<int>(1, 3)(random);
    for (int j = 0; j < stocks; ++j) {
        const int length = std::uniform_int_distribution<int>(40, 120)(random);
        const bool limited = std::uniform_int_distribution<int>(0, 2)(random) == 0;
        p.Stocks.push_back(
            {length, limited ? std::uniform_int_distribution<int>(0, 3)(random) : -1});
    }
    const int items = std::uniform_int_distribution<int>(1, maxItems)(random);
    for (int i = 0; i < items; ++i) {
        p.Items.push_back({std::uniform_int_distribution<int>(5, 110)(random),
                           std::uniform_int_distribution<int>(1, maxDemand)(random)});
    }
    return p;
}

// Every piece fits some row, so a plan can leave pieces only where the stock runs out.
void DropPiecesNoStockHolds(Problem& p) {
    int longest = 0;
    for (const auto& s : p.Stocks) longest = std::max(longest, s.Length);
    std::erase_if(p.Items, [&](const csp::Item& item) { return item.Size > longest; });
}

TEST(OptimalSolver, PlansAreFeasibleAndProofsHoldAgainstEveryWayOfCuttingSmallJobs) {
    std::mt19937 random(20261206u);
    int proven = 0;
    int cuttable = 0;
    for (int round = 0; round < 300; ++round) {
        Problem p = RandomProblem(random, 4, 3);
        DropPiecesNoStockHolds(p);
        if (p.Items.empty()) continue;
        const csp::Result result = csp::Solve(p, WorkLimited(Work));
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_EQ(CheckPlan(p, result.Best), "");
        const long long optimum = BruteForceOptimum(p);
        if (optimum < 0) {
            // The stock runs out: some pieces are left, and no bound is claimed.
            EXPECT_GT(result.Best.Unplaced, 0);
            EXPECT_FALSE(result.Proven);
            continue;
        }
        ++cuttable;
        EXPECT_EQ(result.Best.Unplaced, 0);
        ASSERT_TRUE(result.RoundedBound.has_value());
        EXPECT_LE(*result.LowerBound, optimum + 1e-6);
        EXPECT_LE(*result.RoundedBound, optimum);
        EXPECT_GE(result.Best.Material, optimum);
        if (result.Proven) {
            EXPECT_EQ(result.Best.Material, optimum);
            ++proven;
        }
    }
    // Small jobs have few patterns: the search over all of them proves every one.
    EXPECT_GT(cuttable, 150);
    EXPECT_EQ(proven, cuttable);
}

// A slower heuristic's plan is asked for once, after the quick searches, and the result is never
// worse than it: a search cut short still gives what that heuristic would.
TEST(OptimalSolver, NeverWorseThanTheSlowHeuristicsPlan) {
    std::mt19937 random(31u);
    int helped = 0;
    for (int round = 0; round < 60; ++round) {
        Problem p = RandomProblem(random, 25, 12);
        DropPiecesNoStockHolds(p);
        if (p.Items.empty()) continue;
        SCOPED_TRACE("round " + std::to_string(round));
        const csp::Plan slow = csp::Solve(p, WorkLimited(200)).Best;
        const csp::Result alone = csp::Solve(p, WorkLimited(1));
        // On the search's own thread, and, with two threads, made beside it from the start.
        for (const bool ahead : {false, true}) {
            csp::Control control = WorkLimited(1);
            control.Threads = ahead ? 2 : 1;
            int asked = 0;
            control.SlowPlan = [&](const std::function<bool()>&) {
                ++asked;
                return std::optional<csp::Plan>(slow);
            };
            const csp::Result result = csp::Solve(p, control);
            ASSERT_EQ(CheckPlan(p, result.Best), "");
            EXPECT_LE(asked, 1);
            EXPECT_LE(std::make_pair(result.Best.Unplaced, result.Best.Material),
                      std::make_pair(slow.Unplaced, slow.Material))
                << (ahead ? "made beside the search" : "made by the search");
        }
        if (std::make_pair(slow.Unplaced, slow.Material) <
            std::make_pair(alone.Best.Unplaced, alone.Best.Material))
            ++helped;
    }
    // Cut short, the search alone misses the better plans of some jobs.
    EXPECT_GT(helped, 0);
}

TEST(OptimalSolver, RowsOfOneLengthAreCutAsOneAndEachGetsItsOwnPieces) {
    std::mt19937 random(404u);
    for (int round = 0; round < 60; ++round) {
        // Three lengths among up to five rows: most jobs repeat one.
        Problem p;
        p.Stocks.push_back({std::uniform_int_distribution<int>(60, 120)(random), -1});
        const int sizes[] = {std::uniform_int_distribution<int>(10, 60)(random),
                             std::uniform_int_distribution<int>(10, 60)(random),
                             std::uniform_int_distribution<int>(10, 60)(random)};
        const int rows = std::uniform_int_distribution<int>(2, 5)(random);
        for (int i = 0; i < rows; ++i) {
            p.Items.push_back({sizes[std::uniform_int_distribution<int>(0, 2)(random)],
                               std::uniform_int_distribution<int>(1, 3)(random)});
        }
        SCOPED_TRACE("round " + std::to_string(round));
        const csp::Result result = csp::Solve(p, WorkLimited(Work));
        ASSERT_EQ(CheckPlan(p, result.Best), "");
        EXPECT_EQ(result.Best.Unplaced, 0);
        EXPECT_TRUE(result.Proven);
        EXPECT_EQ(result.Best.Material, BruteForceOptimum(p));
    }
}

TEST(OptimalSolver, TheVerifierCatchesPlansThatAreNotPlans) {
    const Problem p{{{30, 2}, {50, 1}}, {{100, 1}, {60, -1}}};
    csp::Plan good;
    good.Patterns = {{{0, {{0, 2}}}, 1}, {{1, {{1, 1}}}, 1}};
    good.Material = 160;
    ASSERT_EQ(CheckPlan(p, good), "");

    csp::Plan tooLong = good;
    tooLong.Patterns[1].first.Pieces = {{0, 1}, {1, 1}};  // 80 on a bar of 60
    EXPECT_EQ(CheckPlan(p, tooLong), "a pattern is longer than its bar");

    csp::Plan tooMany = good;
    tooMany.Patterns[0].first.Pieces = {{0, 3}};  // 90 fits, but 3 of 2 asked
    EXPECT_EQ(CheckPlan(p, tooMany), "more pieces of an item than asked for");

    csp::Plan overStock = good;
    overStock.Patterns[0] = {{0, {{0, 1}}}, 2};
    overStock.Material = 260;
    EXPECT_EQ(CheckPlan(p, overStock), "more bars of a stock row than it has");

    csp::Plan wrongSum = good;
    wrongSum.Material = 100;
    EXPECT_EQ(CheckPlan(p, wrongSum), "the material is not the sum of the bars");

    csp::Plan leftOver = good;
    leftOver.Patterns.pop_back();
    leftOver.Material = 100;
    EXPECT_EQ(CheckPlan(p, leftOver), "the pieces left over do not add up");
}

TEST(OptimalSolver, StopsWithAFeasiblePlanWhenCancelledOrOutOfTime) {
    std::mt19937 random(11u);
    Problem p;
    p.Stocks.push_back({6000, -1});
    for (int i = 0; i < 150; ++i) {
        p.Items.push_back({std::uniform_int_distribution<int>(200, 3000)(random),
                           std::uniform_int_distribution<int>(1, 30)(random)});
    }
    csp::Control cancelled = WorkLimited(200);
    int asked = 0;
    cancelled.Cancelled = [&] { return ++asked > 3; };
    const csp::Result stopped = csp::Solve(p, cancelled);
    EXPECT_TRUE(stopped.Cancelled);
    EXPECT_EQ(CheckPlan(p, stopped.Best), "");
    EXPECT_EQ(stopped.Best.Unplaced, 0);

    csp::Control timed = WorkLimited(200);
    timed.Deadline = std::chrono::steady_clock::now();
    const csp::Result late = csp::Solve(p, timed);
    EXPECT_TRUE(late.TimedOut);
    EXPECT_EQ(CheckPlan(p, late.Best), "");
    EXPECT_EQ(late.Best.Unplaced, 0);
    EXPECT_FALSE(late.Proven);
}

// --- through the calculation ---

TEST(OptimalAlgorithm, NeverAsksAboutLargeJobsAndNeverUsesMoreStockThanComplex) {
    std::mt19937 random(5u);
    for (int round = 0; round < 3; ++round) {
        testing::Rows cuts;
        for (int i = 0; i < 45; ++i) {
            cuts.push_back({std::to_string(std::uniform_int_distribution<int>(1, 6)(random)),
                            std::to_string(200 + 37 * i + round)});
        }
        const testing::Rows stock = {{"*", "6000"}, {"4", "12000"}};
        TestJob optimal = MakeJob(stock, cuts);
        TestJob complex = MakeJob(stock, cuts);
        // Jobs of two stock lengths are seldom proven: the work limit keeps this short.
        const Calculated run(optimal, Algorithm::Optimal, WorkLimitedRun(200));
        ASSERT_TRUE(Calculated(complex).outcome.Completed);
        ASSERT_TRUE(run.outcome.Completed);
        // While it searches, the time gone stands for the pieces, and it never goes back.
        double last = 0;
        for (const CalculationProgress& p : run.observer.reports) {
            if (p.Phase != CalculationPhase::Optimal) continue;
            EXPECT_GE(p.TimeFraction, last);
            EXPECT_LE(p.TimeFraction, 1.0);
            last = p.TimeFraction;
        }
        const auto& lines = run.observer.searchLines;
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines.front().rfind("Best so far: ", 0), 0u);
        EXPECT_EQ(lines.back(), "");
        long long optimalStock = 0;
        long long complexStock = 0;
        for (const auto& p : optimal.Result.Patterns)
            optimalStock += 1LL * p.StockLength * p.BarCount;
        for (const auto& p : complex.Result.Patterns)
            complexStock += 1LL * p.StockLength * p.BarCount;
        EXPECT_LE(optimalStock, complexStock) << "round " << round;
        EXPECT_EQ(optimal.Result.RemainingPieces, 0);
    }
}

long long StockUsed(const TestJob& job) {
    long long used = 0;
    for (const auto& p : job.Result.Patterns) used += 1LL * p.StockLength * p.BarCount;
    return used;
}

TEST(OptimalAlgorithm, NeverCutsMoreStockThanFastEvenWithoutTimeToSearch) {
    std::mt19937 random(8u);
    const auto draw = [&](int from, int to) {
        return std::uniform_int_distribution<int>(from, to)(random);
    };
    int compared = 0;
    for (int round = 0; round < 40; ++round) {
        // One to three stock lengths, one of them at times with few bars.
        testing::Rows stock;
        for (int j = draw(1, 3); j > 0; --j) {
            const std::string quantity = draw(0, 3) == 0 ? std::to_string(draw(1, 6)) : "*";
            stock.push_back({quantity, std::to_string(draw(40, 120) * 100)});
        }
        // Lengths as a cut list holds them: each once.
        testing::Rows cuts;
        std::set<int> lengths;
        for (int i = draw(3, 40); i > 0; --i) lengths.insert(draw(200, 3000));
        for (const int length : lengths)
            cuts.push_back({std::to_string(draw(1, 10)), std::to_string(length)});
        TestJob optimal = MakeJob(stock, cuts);
        TestJob fast = MakeJob(stock, cuts);
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_EQ(Calculated(fast, Algorithm::Fast).outcome.Completed,
                  Calculated(optimal, Algorithm::Optimal, WorkLimitedRun(0)).outcome.Completed);
        if (fast.Result.Patterns.empty()) continue;
        ++compared;
        EXPECT_LE(optimal.Result.RemainingPieces, fast.Result.RemainingPieces);
        if (optimal.Result.RemainingPieces == fast.Result.RemainingPieces) {
            EXPECT_LE(StockUsed(optimal), StockUsed(fast));
        }
    }
    EXPECT_GT(compared, 30);
}

}  // namespace
}  // namespace tallora
