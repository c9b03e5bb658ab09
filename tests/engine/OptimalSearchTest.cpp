// The Optimal search where the linear bound is not enough: proofs that raise it, plans that fill
// every bar, and the same plan whatever the threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "engine/CuttingStockSolver.h"
#include "support/CspBruteForce.h"

namespace tallora {
namespace {

using csp::CheckPlan;
using csp::Problem;

csp::Control WorkLimited(long long nodes, unsigned threads = 2) {
    csp::Control control;
    control.WorkLimit = nodes;
    control.Threads = threads;
    return control;
}

// The least sum of bars of the stock lengths that reaches `bound`: the linear bound rounded up
// to what a plan can use.
long long RoundedUp(const Problem& p, double bound) {
    std::vector<bool> sums(1, true);
    for (long long at = 1;; ++at) {
        bool reachable = false;
        for (const auto& s : p.Stocks)
            reachable = reachable || (at >= s.Length && sums[at - s.Length]);
        sums.push_back(reachable);
        if (reachable && double(at) >= bound - 1e-6) return at;
    }
}

struct Job {
    const char* Name;
    Problem Input;
};

TEST(OptimalSearch, ProvesTheBestPlanWhereTheRoundedUpLinearBoundFallsShort) {
    // One stock length: the linear bound is 7 bars, every plan takes 8.
    std::vector<Job> jobs = {
        {"one length", {{{16, 5}, {15, 3}, {11, 2}, {10, 3}, {6, 3}}, {{30, -1}}}},
    };
    // Two stock lengths: often no plan makes up the least sum of bars above the bound.
    std::mt19937 random(2027u);
    const auto draw = [&](int from, int to) {
        return std::uniform_int_distribution<int>(from, to)(random);
    };
    for (int k = 0; k < 150; ++k) {
        Problem p;
        const int length = draw(12, 40);
        p.Stocks = {{length, -1}, {draw(length / 2, length - 1), -1}};
        int pieces = 0;
        while (p.Items.size() < 5 && pieces < 10) {
            p.Items.push_back({draw(length / 6, length / 2 + 1), draw(1, 3)});
            pieces += p.Items.back().Demand;
        }
        jobs.push_back({"two lengths", p});
    }
    int raised = 0;
    for (std::size_t k = 0; k < jobs.size(); ++k) {
        const Problem& p = jobs[k].Input;
        SCOPED_TRACE(std::string(jobs[k].Name) + " " + std::to_string(k));
        const csp::Result result = csp::Solve(p, WorkLimited(100000));
        ASSERT_EQ(CheckPlan(p, result.Best), "");
        const auto least = testing::BruteForceLeast(p);
        ASSERT_TRUE(least && result.LowerBound && result.RoundedBound);
        EXPECT_TRUE(result.Proven);
        EXPECT_EQ(result.Best.Material, least->first);
        EXPECT_EQ(*result.RoundedBound, least->first);
        if (least->first > RoundedUp(p, *result.LowerBound)) ++raised;
    }
    // The search, not the linear programme, proved many of these.
    EXPECT_GT(raised, 20);
}

// Two stock lengths where, within the work, only a dive finds the plan at the bound: without
// the dives the other searches stop 330 units above it, unproven.
TEST(OptimalSearch, DivesFindThePlanAtTheBoundThatTheOtherSearchesMiss) {
    Problem p;
    p.Stocks = {{1020, -1}, {570, -1}};
    p.Items = {{520, 2}, {160, 3}, {385, 4}, {318, 4}, {109, 1}, {120, 1},
               {224, 1}, {146, 2}, {448, 1}, {172, 2}, {327, 3}, {208, 2},
               {277, 3}, {346, 3}, {557, 1}, {483, 3}, {587, 2}};
    for (const unsigned threads : {1u, 2u}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        const csp::Result result = csp::Solve(p, WorkLimited(300, threads));
        ASSERT_EQ(CheckPlan(p, result.Best), "");
        ASSERT_TRUE(result.RoundedBound);
        EXPECT_TRUE(result.Proven);
        EXPECT_EQ(result.Best.Material, *result.RoundedBound);
    }
}

TEST(OptimalSearch, GivesTheSamePlanOnEveryRunAndWithOneThreadOrTwo) {
    std::mt19937 random(99u);
    const auto draw = [&](int from, int to) {
        return std::uniform_int_distribution<int>(from, to)(random);
    };
    int proven = 0;
    for (int round = 0; round < 12; ++round) {
        Problem p;
        p.Stocks = {{draw(800, 1200), -1}};
        if (round % 3 == 0)
            p.Stocks.push_back({draw(500, 1500), draw(0, 1) == 0 ? -1 : draw(2, 8)});
        for (int i = draw(8, 30); i > 0; --i) p.Items.push_back({draw(50, 500), draw(1, 6)});
        SCOPED_TRACE("round " + std::to_string(round));
        const csp::Result first = csp::Solve(p, WorkLimited(300));
        const csp::Result again = csp::Solve(p, WorkLimited(300));
        const csp::Result alone = csp::Solve(p, WorkLimited(300, 1));
        ASSERT_EQ(CheckPlan(p, first.Best), "");
        EXPECT_EQ(first.Best.Patterns, again.Best.Patterns);
        EXPECT_EQ(first.Proven, again.Proven);
        // Without a deadline each search ends on its work alone, so even an unproven plan is
        // the same with one thread.
        EXPECT_EQ(first.Best.Patterns, alone.Best.Patterns);
        proven += first.Proven;
    }
    EXPECT_GT(proven, 6);
}

}  // namespace
}  // namespace tallora
