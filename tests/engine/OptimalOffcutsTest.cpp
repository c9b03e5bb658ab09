#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <random>
#include <utility>

#include "engine/CuttingStockSolver.h"
#include "results/SolutionBoundText.h"
#include "support/CspBruteForce.h"
#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using csp::CheckPlan;
using csp::Problem;
using testing::BruteForceLeast;
using testing::Calculated;
using testing::Usage;
using testing::Work;
using testing::WorkLimited;
using testing::WorkLimitedRun;

// New stock of one or two lengths, unlimited or not, and one or two rows of offcuts.
Problem RandomOffcutProblem(std::mt19937& random, int maxItems, int maxDemand) {
    Problem p;
    const auto draw = [&](int from, int to) {
        return std::uniform_int_distribution<int>(from, to)(random);
    };
    const int fresh = draw(1, 2);
    for (int j = 0; j < fresh; ++j)
        p.Stocks.push_back({draw(60, 120), draw(0, 2) == 0 ? draw(1, 3) : -1});
    const int offcuts = draw(1, 2);
    for (int j = 0; j < offcuts; ++j) p.Stocks.push_back({draw(30, 130), draw(1, 3), true});
    std::shuffle(p.Stocks.begin(), p.Stocks.end(), random);
    int longest = 0;
    for (const auto& s : p.Stocks) longest = std::max(longest, s.Length);
    const int items = draw(1, maxItems);
    for (int i = 0; i < items; ++i) p.Items.push_back({draw(5, longest), draw(1, maxDemand)});
    return p;
}

long long NewMaterial(const csp::Plan& plan) { return plan.Material - plan.OffcutMaterial; }

TEST(OptimalOffcuts, PlansUseTheLeastNewStockThenTheLeastOffcutsOnSmallJobs) {
    std::mt19937 random(20261207u);
    int cuttable = 0;
    int proven = 0;
    int offcutsUsed = 0;
    for (int round = 0; round < 300; ++round) {
        const Problem p = RandomOffcutProblem(random, 4, 3);
        const csp::Result result = csp::Solve(p, WorkLimited(Work));
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_EQ(CheckPlan(p, result.Best), "");
        const std::optional<Usage> least = BruteForceLeast(p);
        if (!least) {
            EXPECT_GT(result.Best.Unplaced, 0);
            EXPECT_FALSE(result.Proven);
            EXPECT_FALSE(result.NewStockProven);
            continue;
        }
        ++cuttable;
        offcutsUsed += least->second > 0;
        ASSERT_EQ(result.Best.Unplaced, 0);
        const Usage used{NewMaterial(result.Best), result.Best.OffcutMaterial};
        EXPECT_GE(used, *least);
        // The bounds are on the new stock, and with the offcuts a lexicographic bound.
        ASSERT_TRUE(result.RoundedBound && result.OffcutBound && result.LowerBound);
        EXPECT_LE(*result.LowerBound, least->first + 1e-6);
        EXPECT_LE(Usage(*result.RoundedBound, *result.OffcutBound), *least);
        if (result.NewStockProven) {
            EXPECT_EQ(used.first, least->first);
        }
        if (result.Proven) {
            EXPECT_TRUE(result.NewStockProven);
            EXPECT_EQ(used, *least);
            ++proven;
        }
    }
    EXPECT_GT(cuttable, 150);
    EXPECT_GT(offcutsUsed, 100);
    // Small jobs have few patterns: the search over all of them proves every one.
    EXPECT_EQ(proven, cuttable);
}

// --- through the calculation ---

TestJob OffcutJob(const std::vector<std::tuple<std::string, std::string, std::string>>& stock,
                  const testing::Rows& cuts) {
    TestJob job = testing::MakeJob({}, cuts, 1, 0, 0);
    for (const auto& [quantity, length, mark] : stock)
        job.Input.StockRows.push_back({quantity, length, mark});
    return job;
}

TEST(OptimalOffcuts, TheCalculationPrefersOffcutRowsAndSaysSo) {
    TestJob job =
        OffcutJob({{"*", "1000", ""}, {"1", "1500", InventoryOffcutMark(12)}}, {{"3", "899"}});
    const Calculated run(job, Algorithm::Optimal, WorkLimitedRun());
    ASSERT_TRUE(run.outcome.Completed);
    ASSERT_TRUE(job.Result.Bound.has_value());
    const SolutionBound& b = *job.Result.Bound;
    EXPECT_TRUE(b.Offcuts);
    EXPECT_EQ(b.NewUsed(), 2000);
    EXPECT_EQ(b.OffcutUsed, 1500);
    EXPECT_EQ(b.Used, 3500);
    EXPECT_EQ(b.LowerBound, 2000);
    EXPECT_EQ(b.OffcutLowerBound, 1500);
    EXPECT_TRUE(b.ProvenOptimal);
    EXPECT_TRUE(b.NewStockProven);
    EXPECT_EQ(BoundText(b, NumberFormat::UK()),
              "Optimal: 2.000 m of new stock and 1.500 m of inventory offcuts in 3 bars, lower "
              "bound 2.000 m of new stock and 1.500 m of inventory offcuts, proven optimal");

    // The same rows unmarked: the least stock in all, and the bound line as before.
    TestJob plain = OffcutJob({{"*", "1000", ""}, {"1", "1500", ""}}, {{"3", "899"}});
    ASSERT_TRUE(Calculated(plain, Algorithm::Optimal, WorkLimitedRun()).outcome.Completed);
    EXPECT_FALSE(plain.Result.Bound->Offcuts);
    EXPECT_EQ(plain.Result.Bound->Used, 3000);
    EXPECT_EQ(BoundText(*plain.Result.Bound, NumberFormat::UK()),
              "Optimal: 3.000 m of usable stock in 3 bars, lower bound 3.000 m, proven optimal");
}

}  // namespace
}  // namespace tallora
