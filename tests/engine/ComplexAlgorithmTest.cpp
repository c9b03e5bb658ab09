#include "engine/ComplexAlgorithm.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <set>

#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using testing::MakeJob;
using testing::Pattern;

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

// Every width of the table's relaxation the processor has gives the reference's copies.
TEST(Knapsack, SameCopiesAsAPlainReferenceWithTablesReusedAtEveryWidth) {
    int widths = 0;
    for (const KnapsackLanes lanes :
         {KnapsackLanes::One, KnapsackLanes::Two, KnapsackLanes::Four, KnapsackLanes::Eight}) {
        if (!HasKnapsackLanes(lanes)) continue;
        ++widths;
        SCOPED_TRACE("lanes " + std::to_string(static_cast<int>(lanes)));
        std::mt19937 random(7);
        KnapsackTables tables;
        tables.Lanes = lanes;
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
    EXPECT_GE(widths, 1);
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

// Stock a plan uses: usable length of its bars.
long long Material(const CalculationResult& result) {
    long long used = 0;
    for (const auto& p : result.Patterns)
        used += static_cast<long long>(p.StockLength) * p.BarCount;
    return used;
}

// A search stopped before it was done (here by a budget of iterations, which stops it at the
// same point on every machine, as the time limit stops it somewhere) places the rest as Fast
// does and is never worse than Fast; a budget the search does not reach changes nothing.
TEST(ComplexAlgorithm, ASearchStoppedEarlyPlacesTheRestAndIsNeverWorseThanFast) {
    std::mt19937 random(20240611);
    int stopped = 0;
    int better = 0;
    for (int round = 0; round < 24; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        testing::Rows stock;
        const int stockRows = 1 + round % 3;
        for (int k = 0; k < stockRows; ++k) stock.push_back({"*", std::to_string(6000 + 1500 * k)});
        testing::Rows cuts;
        std::set<int> lengths;
        const int cutRows = 6 + round % 10;
        while (static_cast<int>(cuts.size()) < cutRows) {
            const int length = std::uniform_int_distribution<int>(150, 2900)(random);
            if (!lengths.insert(length).second) continue;
            cuts.push_back({std::to_string(std::uniform_int_distribution<int>(2, 25)(random)),
                            std::to_string(length)});
        }
        const auto calculate = [&](Algorithm algorithm, std::optional<int> budget) {
            TestJob job = MakeJob(stock, cuts);
            CalculationObserver quiet;
            CalculationOptions options;
            options.Algorithm = algorithm;
            options.SearchIterationBudget = budget;
            CalculationOutcome outcome = Calculate(job.Input, options, quiet);
            EXPECT_TRUE(outcome.Completed);
            return outcome;
        };
        const CalculationOutcome whole = calculate(Algorithm::Complex, std::nullopt);
        const CalculationOutcome fast = calculate(Algorithm::Fast, std::nullopt);
        EXPECT_FALSE(whole.Result.StoppedEarly);
        EXPECT_FALSE(fast.Result.StoppedEarly);
        const int iterations = whole.Permutations - 1;
        for (const int budget : {0, 1, 3, iterations / 2, iterations, iterations + 5}) {
            SCOPED_TRACE("budget " + std::to_string(budget) + " of " + std::to_string(iterations));
            const CalculationOutcome limited = calculate(Algorithm::Complex, budget);
            testing::ExpectEveryPiecePlacedWithinItsBar(limited.Result);
            EXPECT_LE(limited.Permutations - 1, budget);
            EXPECT_EQ(limited.Result.StoppedEarly, budget < iterations);
            // The whole search may do worse than Fast; one stopped early never does.
            if (limited.Result.StoppedEarly) {
                EXPECT_LE(Material(limited.Result), Material(fast.Result));
                // What the search found before it stopped is kept where it does better.
                better += Material(limited.Result) < Material(fast.Result);
            } else {
                EXPECT_EQ(limited.Result.Patterns, whole.Result.Patterns);
            }
            stopped += limited.Result.StoppedEarly;
        }
    }
    EXPECT_GT(stopped, 24);  // the budgets did stop searches
    EXPECT_GT(better, 0);
}

}  // namespace
}  // namespace tallora
