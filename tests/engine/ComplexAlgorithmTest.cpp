#include "engine/ComplexAlgorithm.h"

#include <gtest/gtest.h>

#include <random>

#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using testing::MakeJob;
using testing::Pattern;
using testing::RecordingHost;

std::vector<int> Solve(int capacity, std::vector<int> weights, std::vector<double> values) {
    std::vector<int> copies;
    KnapsackTables tables;
    Knapsack(capacity, weights, values, copies, tables);
    return copies;
}

TEST(Knapsack, BestValueWithFewerCopiesKeptOnATie) {
    // 5 + 5 and 6 + 3 are both worth 10; the first item's 0 copies are tried first and stay.
    EXPECT_EQ(Solve(10, {6, 5, 3}, {7.0, 5.0, 3.0}), (std::vector<int>{0, 2, 0}));
    // 6 + 3 worth 11 beats 5 + 5.
    EXPECT_EQ(Solve(10, {6, 5, 3}, {8.0, 5.0, 3.0}), (std::vector<int>{1, 0, 1}));
    // Bounded by capacity only.
    EXPECT_EQ(Solve(12, {4}, {1.5}), (std::vector<int>{3}));
    EXPECT_EQ(Solve(3, {4}, {1.5}), (std::vector<int>{0}));
}

TEST(Knapsack, ItemsOfNoValueAreNeverTaken) {
    EXPECT_EQ(Solve(10, {2, 3}, {-1.0, 0.0}), (std::vector<int>{0, 0}));
    EXPECT_EQ(Solve(10, {2, 3}, {0.0, 2.0}), (std::vector<int>{0, 3}));
    EXPECT_TRUE(Solve(10, {}, {}).empty());
}

TEST(Knapsack, ReusedTablesGiveTheSameAnswer) {
    KnapsackTables tables;
    std::vector<int> first, second, third;
    Knapsack(50, {7, 11, 13}, {7.5, 12.0, 13.9}, first, tables);
    Knapsack(20, {3}, {1.0}, second, tables);
    Knapsack(50, {7, 11, 13}, {7.5, 12.0, 13.9}, third, tables);
    EXPECT_EQ(first, third);
    EXPECT_EQ(second, std::vector<int>{6});
}

// The knapsack exactly as the tables describe it: states outer, choices inner, 1-based tables
// and a NextState table. The optimised one must give the same copies on every input.
std::vector<int> LiteralKnapsack(int L, const std::vector<int>& weight,
                                 const std::vector<double>& value) {
    const int n = static_cast<int>(weight.size());
    std::vector<int> choiceCount(n + 2), stateCount(n + 2);
    std::vector<std::vector<int>> choiceWeight(n + 2, std::vector<int>(L + 2));
    std::vector<std::vector<double>> choiceValue(n + 2, std::vector<double>(L + 2));
    for (int i = 1; i <= n; ++i) {
        choiceCount[i] = L / weight[i - 1] + 1;
        for (int c = 1; c <= choiceCount[i]; ++c) {
            choiceWeight[i][c] = (c - 1) * weight[i - 1];
            choiceValue[i][c] = (c - 1) * value[i - 1];
        }
        stateCount[i] = i == 1 ? 1 : L + 1;
    }
    std::vector<std::vector<double>> stageValue(n + 2, std::vector<double>(L + 2, 0.0));
    std::vector<std::vector<int>> stageChoice(n + 2, std::vector<int>(L + 2, 0));
    std::vector<std::vector<int>> nextState(n + 2, std::vector<int>(L + 2, 0));
    for (int s = 1; s <= stateCount[n]; ++s) {
        for (int c = 1; c <= choiceCount[n]; ++c) {
            if (L - (s - 1) >= choiceWeight[n][c] && stageValue[n][s] < choiceValue[n][c]) {
                stageValue[n][s] = choiceValue[n][c];
                stageChoice[n][s] = c;
            }
        }
    }
    for (int i = n - 1; i >= 1; --i) {
        for (int s = 1; s <= stateCount[i]; ++s) {
            for (int c = 1; c <= choiceCount[i]; ++c) {
                int left = L - (s - 1);
                if (left >= choiceWeight[i][c]) {
                    left -= choiceWeight[i][c];
                    const int next = L - left + 1;
                    const double candidate = choiceValue[i][c] + stageValue[i + 1][next];
                    if (stageValue[i][s] < candidate) {
                        stageValue[i][s] = candidate;
                        stageChoice[i][s] = c;
                        nextState[i][s] = next;
                    }
                }
            }
        }
    }
    std::vector<int> copies(n, 0);
    int state = 1;
    for (int i = 1; i <= n; ++i) {
        const int c = stageChoice[i][state];
        if (c == 0) break;
        copies[i - 1] = c - 1;
        if (i < n) state = nextState[i][state];
    }
    return copies;
}

TEST(Knapsack, SameCopiesAsTheTablesAsWritten) {
    std::mt19937 random(7);
    KnapsackTables tables;
    std::vector<int> copies;
    for (int round = 0; round < 400; ++round) {
        const int L = std::uniform_int_distribution<int>(1, 160)(random);
        const int n = std::uniform_int_distribution<int>(1, 7)(random);
        std::vector<int> weights;
        std::vector<double> values;
        for (int i = 0; i < n; ++i) {
            const int w = std::uniform_int_distribution<int>(1, 60)(random);
            weights.push_back(w);
            switch (round % 4) {
                case 0:  // whole values: many ties
                    values.push_back(std::uniform_int_distribution<int>(-2, 6)(random));
                    break;
                case 1:  // proportional to weight, as dual prices of a tight basis are
                    values.push_back(w / 7.0);
                    break;
                default:
                    values.push_back(std::uniform_real_distribution<double>(-0.5, 3.0)(random));
            }
        }
        Knapsack(L, weights, values, copies, tables);
        ASSERT_EQ(copies, LiteralKnapsack(L, weights, values)) << "round " << round;
    }
}

TEST(ComplexAlgorithm, OneCutRowTakesWholeBarsThenFillsTheRest) {
    // 13 pieces of 1003, 5 to a 6000 bar: 2 whole bars, then 3 pieces in a third.
    CuttingJob job = MakeJob({{"*", "6025"}}, {{"13", "1000"}});
    Algorithm algorithm = Algorithm::Complex;
    RecordingHost host;
    ASSERT_TRUE(RunCalculation(job, algorithm, host).Completed);
    // The two patterns of equal stock length come out of the sort swapped.
    ASSERT_EQ(job.PatternCount(), 2);
    EXPECT_EQ(job.Patterns[0], Pattern(6000, 1, {1003}, {3}));
    EXPECT_EQ(job.Patterns[1], Pattern(6000, 2, {1003}, {5}));
    // The starting basis is optimal at once: no iteration.
    EXPECT_EQ(RunCalculation(job, algorithm, host).Permutations, 1);
}

TEST(ComplexAlgorithm, APieceThatNoRemainingStockHoldsEndsTheSearchAndStaysLeft) {
    // One bar of 6000 takes one 5000 piece; the other fits no 3000 bar.
    CuttingJob job = MakeJob({{"1", "6000"}, {"*", "3000"}}, {{"2", "4997"}}, 3, 0, 0);
    Algorithm algorithm = Algorithm::Complex;
    RecordingHost host;
    ASSERT_TRUE(RunCalculation(job, algorithm, host).Completed);
    ASSERT_EQ(job.PatternCount(), 1);
    EXPECT_EQ(job.Patterns[0], Pattern(6000, 1, {5000}, {1}));
    EXPECT_EQ(job.Cuts, (std::vector<WorkingCutRow>{{5000, 1}}));
    EXPECT_EQ(job.Stock, (std::vector<WorkingStockRow>{{3000, 3000, -1}}));
}

TEST(ComplexAlgorithm, SearchImprovesOnTheStartingBasis) {
    // Mixing lengths in one bar beats one length per bar: 2 x (2500 + 3500) = 2 bars.
    CuttingJob job = MakeJob({{"*", "6000"}}, {{"2", "2497"}, {"2", "3497"}}, 3, 0, 0);
    Algorithm algorithm = Algorithm::Complex;
    RecordingHost host;
    const CalculationOutcome outcome = RunCalculation(job, algorithm, host);
    ASSERT_TRUE(outcome.Completed);
    ASSERT_EQ(job.PatternCount(), 1);
    EXPECT_EQ(job.Patterns[0], Pattern(6000, 2, {3500, 2500}, {1, 1}));
    EXPECT_GT(outcome.Permutations, 1);
    ASSERT_FALSE(host.permutationLines.empty());
    EXPECT_EQ(host.permutationLines.front(), "Testing permutation: 1");
    EXPECT_EQ(host.permutationLines.back(), "");
}

TEST(ComplexAlgorithm, TheIterationLimitStopsTheSearchWithAUsableBasis) {
    auto search = [](int limit) {
        CuttingJob job = testing::WorkingJob({{6000, 6000, -1}}, {{3500, 2}, {2500, 2}});
        RecordingHost host;
        CalculationRun run(job, host);
        run.SearchIterationLimit = limit;
        SearchBasis basis;
        ComplexSearch(run, basis);
        DPNest(run, basis);
        EXPECT_EQ(run.PermutationNumber, 1 + std::min(limit, 1));
        return job;
    };
    // Stopped at the starting basis: one length per bar, 3 bars.
    const CuttingJob stopped = search(0);
    EXPECT_EQ(stopped.Patterns, (std::vector<CuttingPattern>{Pattern(6000, 2, {3500}, {1}),
                                                             Pattern(6000, 1, {2500}, {2})}));
    // One pivot finds the mixed bar.
    const CuttingJob searched = search(MaxSearchIterations);
    EXPECT_EQ(searched.Patterns,
              (std::vector<CuttingPattern>{Pattern(6000, 2, {3500, 2500}, {1, 1})}));
}

TEST(ComplexAlgorithm, PermutationNumberCountsAcrossTheRunsOfOneCalculation) {
    // Limited long bars make the driver run the algorithm more than once.
    CuttingJob job = MakeJob(
        {{"3", "9000"}, {"*", "6000"}, {"*", "4500"}},
        {{"9", "2997"}, {"7", "1997"}, {"5", "1497"}, {"11", "997"}, {"6", "3997"}, {"4", "2497"}},
        3, 0, 0);
    Algorithm algorithm = Algorithm::Complex;
    RecordingHost host;
    const CalculationOutcome outcome = RunCalculation(job, algorithm, host);
    ASSERT_TRUE(outcome.Completed);
    const auto searches =
        std::count(host.permutationLines.begin(), host.permutationLines.end(), "");
    ASSERT_GE(searches, 2) << "the job should need more than one run";
    std::vector<std::string> shown;
    for (const auto& line : host.permutationLines) {
        if (!line.empty()) shown.push_back(line);
    }
    for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i], "Testing permutation: " + std::to_string(25 * i + 1));
    }
    EXPECT_GE(outcome.Permutations, 25 * static_cast<int>(shown.size()) - 24);
}

}  // namespace
}  // namespace tallora
