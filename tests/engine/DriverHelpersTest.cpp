#include <gtest/gtest.h>

#include "engine/Calculation.h"
#include "engine/WorkingTables.h"
#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using testing::Pattern;
using testing::WorkingJob;

TEST(GCD, EuclidsRemainderMethod) {
    EXPECT_EQ(GCD(12, 18), 6);
    EXPECT_EQ(GCD(18, 12), 6);
    EXPECT_EQ(GCD(5, 0), 5);
    EXPECT_EQ(GCD(0, 7), 7);
    EXPECT_EQ(GCD(5950, 1003), 17);
    EXPECT_EQ(GCDArray({6000, 1500, 2000}), 500);
    EXPECT_EQ(GCDArray({5950, 5975, 1003, 1403}), 1);
    EXPECT_EQ(GCDArray({42}), 42);
}

TEST(PreProcess, DividesEveryWorkingLengthByTheCommonDivisor) {
    CuttingJob job = WorkingJob({{6000, 6000, -1}}, {{1500, 2}, {2000, 1}});
    PreProcess(job);
    EXPECT_EQ(job.ScaleFactor, 500);
    EXPECT_EQ(job.Stock[0], (WorkingStockRow{12, 12, -1}));
    EXPECT_EQ(job.Cuts[0].CutLength, 3);
    EXPECT_EQ(job.Cuts[1].CutLength, 4);

    CuttingJob coprime = WorkingJob({{5950, 5950, -1}, {5975, 5975, 2}}, {{1003, 1}, {1403, 1}});
    PreProcess(coprime);
    EXPECT_EQ(coprime.ScaleFactor, 1);
    EXPECT_EQ(coprime.Stock[1].StockLength, 5975);
}

TEST(PostProcess, RestoresMillimetresInTablesAndPatterns) {
    CuttingJob job = WorkingJob({{12, 12, 3}}, {{3, 1}});
    job.ScaleFactor = 500;
    job.Patterns.push_back(Pattern(12, 2, {4, 3}, {1, 2}));
    job.Patterns[0].IsOffcut = true;
    job.Patterns[0].OffcutLength = 2;
    job.Patterns.push_back(Pattern(12, 1, {4}, {3}));
    job.Patterns[1].OffcutLength = 7;  // not an offcut: left alone
    PostProcess(job);
    EXPECT_EQ(job.Stock[0], (WorkingStockRow{6000, 6000, 3}));
    EXPECT_EQ(job.Cuts[0].CutLength, 1500);
    EXPECT_EQ(job.Patterns[0].StockLength, 6000);
    EXPECT_EQ(job.Patterns[0].CutLength, (std::vector<int>{2000, 1500}));
    EXPECT_EQ(job.Patterns[0].PieceCount, (std::vector<int>{1, 2}));
    EXPECT_EQ(job.Patterns[0].OffcutLength, 1000);
    EXPECT_EQ(job.Patterns[1].OffcutLength, 7);
}

TEST(Recompile, DropsEmptyRowsAndSortsLongestFirstKeepingTheOrderOfEqualLengths) {
    CuttingJob job = WorkingJob({{4000, 4000, 0}, {5000, 5000, 2}, {6000, 6000, -1}},
                                {{1000, 0}, {2000, 3}, {1500, 2}, {2000, 1}});
    job.AllAllocated = true;
    Recompile(job);
    EXPECT_FALSE(job.AllAllocated);
    EXPECT_EQ(job.Cuts, (std::vector<WorkingCutRow>{{2000, 3}, {2000, 1}, {1500, 2}}));
    EXPECT_EQ(job.Stock, (std::vector<WorkingStockRow>{{6000, 6000, -1}, {5000, 5000, 2}}));
    EXPECT_EQ(job.FirstStockQuantity(), -1);
}

TEST(Recompile, EverythingAllocatedLeavesNoLiveRow) {
    CuttingJob job = WorkingJob({{6000, 6000, 0}}, {{2000, 0}, {1000, 0}});
    job.AllAllocated = true;
    Recompile(job);
    EXPECT_TRUE(job.AllAllocated);
    EXPECT_EQ(job.CutCount(), 0);
    EXPECT_EQ(job.StockCount(), 0);
    EXPECT_EQ(job.FirstStockQuantity(), 0);  // no stock row left
    EXPECT_EQ(job.FirstCutLength(), 0);
}

TEST(Sort, OrdersByStockLengthWithTheQuicksortsOrderForEqualLengths) {
    // A 5000, B 7000, C 5000, D 7000: the quicksort gives D, B, A, C (not the stable B, D).
    CuttingJob job;
    job.Patterns = {Pattern(5000, 1, {}, {}), Pattern(7000, 2, {}, {}), Pattern(5000, 3, {}, {}),
                    Pattern(7000, 4, {}, {})};
    Sort(job);
    std::vector<int> bars;
    for (const auto& p : job.Patterns) bars.push_back(p.BarCount);
    EXPECT_EQ(bars, (std::vector<int>{4, 2, 1, 3}));

    // Two patterns of one length swap places.
    CuttingJob pair;
    pair.Patterns = {Pattern(6000, 1, {}, {}), Pattern(6000, 2, {}, {})};
    Sort(pair);
    EXPECT_EQ(pair.Patterns[0].BarCount, 2);

    CuttingJob single;
    single.Patterns = {Pattern(6000, 1, {}, {})};
    Sort(single);
    EXPECT_EQ(single.Patterns[0].BarCount, 1);
}

TEST(Sort, LongestFirstOverALargerStore) {
    CuttingJob job;
    const int lengths[] = {3000, 9000, 6000, 9000, 1200, 6000, 12000, 3000, 6000};
    for (int length : lengths) job.Patterns.push_back(Pattern(length, 1, {}, {}));
    Sort(job);
    for (int p = 1; p < job.PatternCount(); ++p) {
        EXPECT_GE(job.Patterns[p - 1].StockLength, job.Patterns[p].StockLength);
    }
    EXPECT_EQ(job.PatternCount(), 9);
}

TEST(MatchLength, FindsTheHighestRowOfTheLength) {
    CuttingJob job = WorkingJob({{6000, 6000, 1}, {4000, 4000, 2}, {4000, 4000, 3}}, {});
    EXPECT_EQ(MatchLength(job, 4000), 3);
    EXPECT_EQ(MatchLength(job, 6000), 1);
    EXPECT_EQ(MatchLength(job, 5000), 0);
}

TEST(CheckInputData, SummarisesTheListsAndEnablesCalculate) {
    CuttingJob job;
    InputSummary none = CheckInputData(job);
    EXPECT_FALSE(none.CalculateEnabled);
    EXPECT_EQ(none.StockText, "");
    EXPECT_EQ(none.CutText, "");

    job.StockItems = {{"*", "6000"}};
    job.CutItems = {{"2", "1000"}};
    InputSummary one = CheckInputData(job);
    EXPECT_TRUE(one.CalculateEnabled);
    EXPECT_EQ(one.StockText, "1 Stock length available");
    EXPECT_EQ(one.CutText, "1 Cut length required");

    job.StockItems.push_back({"3", "4000"});
    job.CutItems.push_back({"1", "700"});
    job.CutItems.push_back({"1", "800"});
    InputSummary many = CheckInputData(job);
    EXPECT_EQ(many.StockText, "2 Different stock lengths available");
    EXPECT_EQ(many.CutText, "3 Different cut lengths required");

    job.CutItems.clear();
    EXPECT_FALSE(CheckInputData(job).CalculateEnabled);
}

TEST(CheckList, FindsTheLastRowWhoseLengthReadsEqual) {
    std::vector<ListRow> rows = {{"1", "6000"}, {"2", "4000"}, {"3", "06000"}};
    EXPECT_EQ(CheckList(rows, 6000), 2);
    EXPECT_EQ(CheckList(rows, 4000), 1);
    EXPECT_EQ(CheckList(rows, 5000), -1);
    EXPECT_EQ(CheckList({}, 6000), -1);
}

TEST(CalculationTimeText, MinutesSecondsAndThreeDigitMilliseconds) {
    using std::chrono::milliseconds;
    EXPECT_EQ(CalculationTimeText(milliseconds(65250)),
              "Calculation Time : 1 minute 5.250 seconds");
    EXPECT_EQ(CalculationTimeText(milliseconds(3005)),
              "Calculation Time : 0 minutes 3.005 seconds");
    EXPECT_EQ(CalculationTimeText(milliseconds(120500)),
              "Calculation Time : 2 minutes 0.500 seconds");
    EXPECT_EQ(CalculationTimeText(milliseconds(0)), "Calculation Time : 0 minutes 0.000 seconds");
    // Hours are not shown.
    EXPECT_EQ(CalculationTimeText(milliseconds(3725500)),
              "Calculation Time : 2 minutes 5.500 seconds");
}

}  // namespace
}  // namespace tallora
