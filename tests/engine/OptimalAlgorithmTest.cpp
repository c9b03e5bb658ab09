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
#include "results/SolutionBoundText.h"
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

TEST(OptimalSolver, LargerRandomJobsGiveFeasiblePlansAndValidBounds) {
    std::mt19937 random(7u);
    for (int round = 0; round < 60; ++round) {
        Problem p = RandomProblem(random, 25, 12);
        DropPiecesNoStockHolds(p);
        if (p.Items.empty()) continue;
        const csp::Result result = csp::Solve(p, WorkLimited(200));
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_EQ(CheckPlan(p, result.Best), "");
        if (result.RoundedBound) {
            EXPECT_GE(result.Best.Material, *result.RoundedBound);
            EXPECT_GE(double(*result.RoundedBound) + 1e-6, *result.LowerBound);
            EXPECT_EQ(result.Proven, result.Best.Material == *result.RoundedBound);
        }
    }
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

TEST(OptimalSolver, NeverReturnsAPlanWorseThanOneItStartedFrom) {
    std::mt19937 random(31u);
    for (int round = 0; round < 20; ++round) {
        Problem p = RandomProblem(random, 25, 12);
        DropPiecesNoStockHolds(p);
        if (p.Items.empty()) continue;
        SCOPED_TRACE("round " + std::to_string(round));
        // A good plan to start from, and one whose bar is too short for its pieces.
        const csp::Plan good = csp::Solve(p, WorkLimited(200)).Best;
        csp::Plan bad = good;
        bad.Patterns.push_back({{0, {{0, p.Stocks[0].Length / p.Items[0].Size + 1}}}, 1});
        csp::Control control = WorkLimited(0);
        control.StartPlans = {bad, good};
        const csp::Result result = csp::Solve(p, control);
        ASSERT_EQ(CheckPlan(p, result.Best), "");
        EXPECT_LE(result.Best.Unplaced, good.Unplaced);
        if (result.Best.Unplaced == good.Unplaced) {
            EXPECT_LE(result.Best.Material, good.Material);
        }
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

// Falkenauer's triplets: every bar of the best plan holds three pieces and wastes nothing.
TEST(OptimalSolver, ProvesTheBestPlanOfJobsThatFillEveryBarExactly) {
    std::mt19937 random(3u);
    for (const int bars : {20, 20, 20, 27, 34, 40}) {
        std::map<int, int> demand;
        for (int b = 0; b < bars; ++b) {
            const int first = std::uniform_int_distribution<int>(380, 490)(random);
            const int second = std::uniform_int_distribution<int>(251, (1000 - first) / 2)(random);
            ++demand[first];
            ++demand[second];
            ++demand[1000 - first - second];
        }
        Problem p;
        p.Stocks.push_back({1000, -1});
        for (const auto& [size, count] : demand) p.Items.push_back({size, count});
        SCOPED_TRACE("bars " + std::to_string(bars));
        const csp::Result result = csp::Solve(p, WorkLimited(Work));
        ASSERT_EQ(CheckPlan(p, result.Best), "");
        EXPECT_TRUE(result.Proven);
        EXPECT_EQ(result.Best.Material, bars * 1000);
        EXPECT_EQ(*result.RoundedBound, bars * 1000);
    }
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

int Bars(const TestJob& job) {
    int bars = 0;
    for (const auto& p : job.Result.Patterns) bars += p.BarCount;
    return bars;
}

TEST(OptimalAlgorithm, WritesTheResultStoreAsTheOtherAlgorithmsDoWithItsBound) {
    // Kerf 1 and no trim: each piece takes its length plus one, 3 x 333 fills 1000 exactly.
    TestJob job = MakeJob({{"*", "1000"}}, {{"9", "332"}, {"2", "499"}}, 1, 0, 0);
    const Calculated run(job, Algorithm::Optimal, WorkLimitedRun());
    ASSERT_TRUE(run.outcome.Completed);
    EXPECT_EQ(Bars(job), 4);
    int pieces = 0;
    for (const auto& p : job.Result.Patterns) {
        EXPECT_EQ(p.StockLength, 1000);
        int used = 0;
        for (std::size_t k = 0; k < p.CutLength.size(); ++k) {
            used += p.CutLength[k] * p.PieceCount[k];
            pieces += p.PieceCount[k] * p.BarCount;
        }
        EXPECT_LE(used, 1000);
    }
    EXPECT_EQ(pieces, 11);
    ASSERT_TRUE(job.Result.Bound.has_value());
    EXPECT_TRUE(job.Result.Bound->Known);
    EXPECT_TRUE(job.Result.Bound->ProvenOptimal);
    EXPECT_EQ(job.Result.Bound->LowerBoundBars, 4);
    EXPECT_EQ(job.Result.Bound->UsedBars, 4);
    EXPECT_EQ(job.Result.Bound->Used, 4000);
    EXPECT_EQ(BoundText(*job.Result.Bound, NumberFormat::UK()),
              "Optimal: 4 bars, lower bound 4, proven optimal");

    // The other algorithms leave no bound behind.
    ASSERT_TRUE(Calculated(job, Algorithm::Fast).outcome.Completed);
    EXPECT_FALSE(job.Result.Bound.has_value());
}

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

TEST(OptimalAlgorithm, LeavesThePiecesTheStockCannotTakeAsComplexDoes) {
    // Two bars of 2000 hold four of the six pieces of 950.
    TestJob optimal = MakeJob({{"2", "2025"}}, {{"6", "947"}});
    const Calculated run(optimal, Algorithm::Optimal, WorkLimitedRun());
    ASSERT_TRUE(run.outcome.Completed);
    EXPECT_EQ(Bars(optimal), 2);
    EXPECT_EQ(optimal.Result.RemainingPieces, 2);
    ASSERT_TRUE(optimal.Result.Bound.has_value());
    EXPECT_FALSE(optimal.Result.Bound->Known);
    EXPECT_TRUE(optimal.Result.Bound->PiecesLeft);
    EXPECT_EQ(BoundText(*optimal.Result.Bound, NumberFormat::UK()),
              "Optimal: 2 bars, no lower bound: the stock runs out");

    TestJob complex = MakeJob({{"2", "2025"}}, {{"6", "947"}});
    ASSERT_TRUE(Calculated(complex).outcome.Completed);
    EXPECT_EQ(complex.Result.RemainingPieces, optimal.Result.RemainingPieces);
    EXPECT_EQ(complex.Result.Cuts, optimal.Result.Cuts);
}

TEST(OptimalAlgorithm, ACancelKeepsTheBestPlanFoundSoFar) {
    TestJob job = MakeJob({{"*", "6000"}}, {{"7", "1200"}, {"5", "2300"}, {"9", "700"}});
    testing::RecordingObserver observer;
    observer.cancelAtCheck = 0;
    CalculationOptions options = WorkLimitedRun();
    options.Algorithm = Algorithm::Optimal;
    const CalculationOutcome outcome = Calculate(job.Input, options, observer);
    job.Result = outcome.Result;
    ASSERT_TRUE(outcome.Completed);
    EXPECT_FALSE(outcome.Cancelled);
    EXPECT_EQ(job.Result.RemainingPieces, 0);
    ASSERT_TRUE(job.Result.Bound.has_value());
    EXPECT_TRUE(job.Result.Bound->Cancelled || job.Result.Bound->ProvenOptimal);
}

}  // namespace
}  // namespace tallora
