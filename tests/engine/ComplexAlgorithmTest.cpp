#include "engine/ComplexAlgorithm.h"

#include <gtest/gtest.h>

#include <random>

#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using testing::MakeJob;
using testing::Pattern;

TEST(Knapsack, BestValueWithFewerCopiesKeptOnATieAndNothingOfNoValue) {
    KnapsackTables tables;
    auto copies = [&tables](int capacity, const std::vector<int>& weights,
                            const std::vector<double>& values) {
        std::vector<int> result;
        Knapsack(capacity, weights, values, result, tables);
        return result;
    };
    // 5 + 5 and 6 + 3 are both worth 10; the first item's 0 copies are tried first and stay.
    EXPECT_EQ(copies(10, {6, 5, 3}, {7.0, 5.0, 3.0}), (std::vector<int>{0, 2, 0}));
    EXPECT_EQ(copies(10, {6, 5, 3}, {8.0, 5.0, 3.0}), (std::vector<int>{1, 0, 1}));  // 11 beats 10
    EXPECT_EQ(copies(12, {4}, {1.5}), std::vector<int>{3});
    EXPECT_EQ(copies(3, {4}, {1.5}), std::vector<int>{0});
    EXPECT_EQ(copies(10, {2, 3}, {-1.0, 0.0}), (std::vector<int>{0, 0}));
    EXPECT_EQ(copies(10, {2, 3}, {0.0, 2.0}), (std::vector<int>{0, 3}));
    EXPECT_TRUE(copies(10, {}, {}).empty());
}

// A plain reference: stages backwards, states (capacity used) outer, choices (copies) inner, a
// choice kept only when strictly better; the first stage from the full capacity alone.
std::vector<int> ReferenceKnapsack(int L, const std::vector<int>& w, const std::vector<double>& v) {
    const int n = static_cast<int>(w.size());
    std::vector<std::vector<double>> best(n + 1, std::vector<double>(L + 1, 0.0));
    std::vector<std::vector<int>> choice(n, std::vector<int>(L + 1, 0));  // copies + 1
    for (int i = n - 1; i >= 0; --i) {
        for (int used = 0; used <= (i == 0 ? 0 : L); ++used) {
            for (int c = 0; c * w[i] <= L - used; ++c) {
                const double candidate = c * v[i] + best[i + 1][used + c * w[i]];
                if (best[i][used] < candidate) {
                    best[i][used] = candidate;
                    choice[i][used] = c + 1;
                }
            }
        }
    }
    std::vector<int> copies(n, 0);
    for (int i = 0, used = 0; i < n && choice[i][used] != 0; ++i) {
        copies[i] = choice[i][used] - 1;
        used += copies[i] * w[i];
    }
    return copies;
}

TEST(Knapsack, SameCopiesAsAPlainReferenceWithTablesReused) {
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
            // Whole values (many ties), values proportional to weight (as dual prices of a
            // tight basis are), or any values.
            const int kind = round % 4;
            values.push_back(kind == 0 ? std::uniform_int_distribution<int>(-2, 6)(random)
                             : kind == 1
                                 ? w / 7.0
                                 : std::uniform_real_distribution<double>(-0.5, 3.0)(random));
        }
        Knapsack(L, weights, values, copies, tables);
        ASSERT_EQ(copies, ReferenceKnapsack(L, weights, values)) << "round " << round;
        // One table of a larger capacity answers for every smaller one, as pricing reads it.
        const int smaller = std::uniform_int_distribution<int>(0, L)(random);
        KnapsackCopies(smaller, weights, tables, copies);
        ASSERT_EQ(copies, ReferenceKnapsack(smaller, weights, values)) << "round " << round;
    }
}

TEST(ComplexAlgorithm, JobsWorkedOutByHand) {
    // 13 pieces of 1003, 5 to a bar: 2 whole bars, then 3 pieces in a third. The two patterns of
    // equal stock length come out of the sort swapped; the starting basis is optimal at once.
    auto run = testing::ExpectWorkedOut(
        "one cut row", MakeJob({{"*", "6025"}}, {{"13", "1000"}}), Algorithm::Complex,
        {Pattern(6000, 1, {1003}, {3}), Pattern(6000, 2, {1003}, {5})}, {}, {{6000, 6000, -1}});
    EXPECT_EQ(run.outcome.Permutations, 1);

    testing::ExpectWorkedOut("one 5000 piece on the one 6000 bar, the other fits no 3000 bar",
                             MakeJob({{"1", "6000"}, {"*", "3000"}}, {{"2", "4997"}}, 3, 0, 0),
                             Algorithm::Complex, {Pattern(6000, 1, {5000}, {1})}, {{5000, 1}},
                             {{3000, 3000, -1}});

    // Mixing lengths in one bar beats one length per bar: 2 x (2500 + 3500) = 2 bars.
    const std::vector<CuttingPattern> mixed = {Pattern(6000, 2, {3500, 2500}, {1, 1})};
    run = testing::ExpectWorkedOut(
        "mixed", MakeJob({{"*", "6000"}}, {{"2", "2497"}, {"2", "3497"}}, 3, 0, 0),
        Algorithm::Complex, mixed, {}, {{6000, 6000, -1}});
    EXPECT_GT(run.outcome.Permutations, 1);
    ASSERT_FALSE(run.observer.searchLines.empty());
    EXPECT_EQ(run.observer.searchLines.front(), "Testing permutation: 1");
    EXPECT_EQ(run.observer.searchLines.back(), "");

    // The iteration limit stops the search with a usable basis.
    auto search = [](int limit) {
        WorkingTables job = testing::WorkingJob({{6000, 6000, -1}}, {{3500, 2}, {2500, 2}});
        testing::RecordingObserver observer;
        CalculationRun calculation(job, observer);
        calculation.SearchIterationLimit = limit;
        SearchBasis basis;
        ComplexSearch(calculation, basis);
        NestWholeBarsOfBasis(calculation, basis);
        EXPECT_EQ(calculation.PermutationNumber, 1 + std::min(limit, 1));
        return job.Patterns;
    };
    // Stopped at the starting basis: one length per bar, 3 bars. One pivot finds the mixed bar.
    EXPECT_EQ(search(0), (std::vector<CuttingPattern>{Pattern(6000, 2, {3500}, {1}),
                                                      Pattern(6000, 1, {2500}, {2})}));
    EXPECT_EQ(search(MaxSearchIterations), mixed);
}

TEST(ComplexAlgorithm, PermutationNumberCountsAcrossTheRunsOfOneCalculation) {
    // Limited long bars make the driver run the algorithm more than once.
    TestJob job = MakeJob(
        {{"3", "9000"}, {"*", "6000"}, {"*", "4500"}},
        {{"9", "2997"}, {"7", "1997"}, {"5", "1497"}, {"11", "997"}, {"6", "3997"}, {"4", "2497"}},
        3, 0, 0);
    const testing::Calculated run(job);
    ASSERT_TRUE(run.outcome.Completed);
    const auto& lines = run.observer.searchLines;
    ASSERT_GE(run.observer.searchRuns, 2) << "the job should need more runs";
    std::vector<std::string> shown;
    for (const auto& line : lines) {
        if (!line.empty()) shown.push_back(line);
    }
    for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i], "Testing permutation: " + std::to_string(25 * i + 1));
    }
    EXPECT_GE(run.outcome.Permutations, 25 * static_cast<int>(shown.size()) - 24);
}

}  // namespace
}  // namespace tallora
