#include "engine/ComplexAlgorithm.h"

#include <gtest/gtest.h>

#include "engine/EngineTestSupport.h"

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

TEST(ComplexAlgorithm, PermutationNumberCountsAcrossTheRunsOfOneCalculation) {
    // Limited long bars make the driver run the algorithm more than once.
    CuttingJob job = MakeJob({{"3", "9000"}, {"*", "6000"}, {"*", "4500"}},
                             {{"9", "2997"}, {"7", "1997"}, {"5", "1497"}, {"11", "997"},
                              {"6", "3997"}, {"4", "2497"}},
                             3, 0, 0);
    Algorithm algorithm = Algorithm::Complex;
    RecordingHost host;
    const CalculationOutcome outcome = RunCalculation(job, algorithm, host);
    ASSERT_TRUE(outcome.Completed);
    const auto searches = std::count(host.permutationLines.begin(), host.permutationLines.end(), "");
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
