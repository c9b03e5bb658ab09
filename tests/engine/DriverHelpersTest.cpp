#include <gtest/gtest.h>

#include "engine/Calculation.h"
#include "engine/WorkingTables.h"
#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using testing::Pattern;
using testing::WorkingJob;

TEST(DivideByCommonDivisor, DividesEveryWorkingLengthByTheGreatestCommonDivisor) {
    WorkingTables job = WorkingJob({{6000, 6000, -1}}, {{1500, 2}, {2000, 1}});
    DivideByCommonDivisor(job);
    EXPECT_EQ(job.ScaleFactor, 500);
    EXPECT_EQ(job.Stock[0], (WorkingStockRow{12, 12, -1}));
    EXPECT_EQ(job.Cuts, (std::vector<WorkingCutRow>{{3, 2}, {4, 1}}));

    WorkingTables coprime = WorkingJob({{5950, 5950, -1}, {5975, 5975, 2}}, {{1003, 1}, {1403, 1}});
    DivideByCommonDivisor(coprime);
    EXPECT_EQ(coprime.ScaleFactor, 1);
    EXPECT_EQ(coprime.Stock[1].StockLength, 5975);
}

TEST(ScaleBackToMillimetres, RestoresMillimetresInTablesAndPatterns) {
    WorkingTables job = WorkingJob({{12, 12, 3}}, {{3, 1}});
    job.ScaleFactor = 500;
    job.Patterns = {Pattern(12, 2, {4, 3}, {1, 2}), Pattern(12, 1, {4}, {3})};
    job.Patterns[0].IsOffcut = true;
    job.Patterns[0].OffcutLength = 2;
    job.Patterns[1].OffcutLength = 7;  // not an offcut: left alone
    ScaleBackToMillimetres(job);
    EXPECT_EQ(job.Stock[0], (WorkingStockRow{6000, 6000, 3}));
    EXPECT_EQ(job.Cuts[0].CutLength, 1500);
    EXPECT_EQ(job.Patterns[0].StockLength, 6000);
    EXPECT_EQ(job.Patterns[0].CutLength, (std::vector<int>{2000, 1500}));
    EXPECT_EQ(job.Patterns[0].PieceCount, (std::vector<int>{1, 2}));
    EXPECT_EQ(job.Patterns[0].OffcutLength, 1000);
    EXPECT_EQ(job.Patterns[1].OffcutLength, 7);
}

TEST(CompactLiveRows, DropsEmptyRowsAndSortsLongestFirstKeepingTheOrderOfEqualLengths) {
    WorkingTables job = WorkingJob({{4000, 4000, 0}, {5000, 5000, 2}, {6000, 6000, -1}},
                                   {{1000, 0}, {2000, 3}, {1500, 2}, {2000, 1}});
    job.AllAllocated = true;
    CompactLiveRows(job);
    EXPECT_FALSE(job.AllAllocated);
    EXPECT_EQ(job.Cuts, (std::vector<WorkingCutRow>{{2000, 3}, {2000, 1}, {1500, 2}}));
    EXPECT_EQ(job.Stock, (std::vector<WorkingStockRow>{{6000, 6000, -1}, {5000, 5000, 2}}));
    EXPECT_EQ(job.FirstStockQuantity(), -1);

    // Everything allocated leaves no live row, and the first rows read as zeros.
    WorkingTables done = WorkingJob({{6000, 6000, 0}}, {{2000, 0}, {1000, 0}});
    done.AllAllocated = true;
    CompactLiveRows(done);
    EXPECT_TRUE(done.AllAllocated);
    EXPECT_EQ(done.CutCount(), 0);
    EXPECT_EQ(done.StockCount(), 0);
    EXPECT_EQ(done.FirstStockQuantity(), 0);
    EXPECT_EQ(done.FirstCutLength(), 0);
}

std::vector<int> SortedBarCounts(const std::vector<int>& stockLengths) {
    WorkingTables job;
    for (size_t i = 0; i < stockLengths.size(); ++i)
        job.Patterns.push_back(Pattern(stockLengths[i], static_cast<int>(i) + 1, {}, {}));
    SortPatternsByStockLength(job);
    std::vector<int> bars;
    for (const auto& p : job.Patterns) bars.push_back(p.BarCount);
    return bars;
}

TEST(SortPatternsByStockLength, LongestStockFirstWithTheQuicksortsOrderForEqualLengths) {
    // A 5000, B 7000, C 5000, D 7000: the quicksort gives D, B, A, C (not the stable B, D).
    EXPECT_EQ(SortedBarCounts({5000, 7000, 5000, 7000}), (std::vector<int>{4, 2, 1, 3}));
    EXPECT_EQ(SortedBarCounts({6000, 6000}), (std::vector<int>{2, 1}));  // a pair swaps places
    EXPECT_EQ(SortedBarCounts({6000}), std::vector<int>{1});

    const std::vector<int> lengths = {3000, 9000, 6000, 9000, 1200, 6000, 12000, 3000, 6000};
    std::vector<int> sorted;
    for (int bar : SortedBarCounts(lengths)) sorted.push_back(lengths[bar - 1]);
    EXPECT_EQ(sorted, (std::vector<int>{12000, 9000, 9000, 6000, 6000, 6000, 3000, 3000, 1200}));
}

TEST(MatchLength, FindsTheHighestRowOfTheLength) {
    WorkingTables job = WorkingJob({{6000, 6000, 1}, {4000, 4000, 2}, {4000, 4000, 3}}, {});
    EXPECT_EQ(MatchLength(job, 4000), 3);
    EXPECT_EQ(MatchLength(job, 6000), 1);
    EXPECT_EQ(MatchLength(job, 5000), 0);
}

TEST(CalculationTimeText, MinutesSecondsAndThreeDigitMillisecondsWithoutHours) {
    const std::pair<int, const char*> cases[] = {{65250, "1 minute 5.250"},
                                                 {3005, "0 minutes 3.005"},
                                                 {120500, "2 minutes 0.500"},
                                                 {0, "0 minutes 0.000"},
                                                 {3725500, "2 minutes 5.500"}};
    for (const auto& [ms, text] : cases) {
        EXPECT_EQ(CalculationTimeText(std::chrono::milliseconds(ms)),
                  std::string("Calculation Time : ") + text + " seconds");
    }
}

}  // namespace
}  // namespace tallora
