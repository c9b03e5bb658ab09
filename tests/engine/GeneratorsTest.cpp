#include "engine/Generators.h"

#include <gtest/gtest.h>

#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using testing::Pattern;
using testing::WorkingJob;

TEST(SimpleNest, PutsEverythingInTheShortestStockThatHoldsItWithoutTakingTheBar) {
    // 3000 x 2 is exactly 6000: the 6000 bar holds it, the longer 8000 is not chosen.
    CuttingJob job = WorkingJob({{8000, 8000, -1}, {6000, 6000, 3}, {5000, 5000, 1}}, {{3000, 2}});
    SimpleNest(job);
    ASSERT_EQ(job.PatternCount(), 1);
    EXPECT_EQ(job.Patterns[0], Pattern(6000, 1, {3000}, {2}));
    EXPECT_TRUE(job.AllAllocated);
    EXPECT_EQ(job.Stock[1].StockQuantity, 3);  // the bar is not taken off the stock
    EXPECT_EQ(job.Cuts[0], (WorkingCutRow{0, 0}));
}

TEST(SimpleNest, DoesNothingWhenTheDemandExceedsEveryBar) {
    CuttingJob job = WorkingJob({{6000, 6000, -1}}, {{2003, 3}});
    SimpleNest(job);
    EXPECT_EQ(job.PatternCount(), 0);
    EXPECT_FALSE(job.AllAllocated);
    EXPECT_EQ(job.Cuts[0].CutQuantity, 3);
}

TEST(SimpleNest, SpendsNoBarOnAJobWithoutPieces) {
    CuttingJob job = WorkingJob({{6000, 6000, -1}}, {});
    SimpleNest(job);
    EXPECT_EQ(job.PatternCount(), 0);
    EXPECT_TRUE(job.AllAllocated);
}

TEST(MathNest, RefusesAPieceThatDoesNotFitAndTakesOneBar) {
    CuttingJob job = WorkingJob({{6000, 6000, 4}}, {{2003, 3}});
    MathNest(job);
    ASSERT_EQ(job.PatternCount(), 1);
    EXPECT_EQ(job.Patterns[0], Pattern(6000, 1, {2003}, {2}));
    EXPECT_EQ(job.Cuts[0].CutQuantity, 1);
    EXPECT_EQ(job.Stock[0].StockQuantity, 3);
}

TEST(MathNest, PlacesAnExactFit) {
    CuttingJob job = WorkingJob({{6000, 6000, -1}}, {{3000, 2}});
    MathNest(job);
    ASSERT_EQ(job.PatternCount(), 1);
    EXPECT_EQ(job.Patterns[0], Pattern(6000, 1, {3000}, {2}));
    EXPECT_EQ(job.Cuts[0].CutQuantity, 0);
    EXPECT_EQ(job.Stock[0].StockQuantity, -1);  // unlimited is never decremented
}

TEST(MathNest, ChoosesTheBestUtilisedStockAndTheLongerOnATie) {
    // 3900 of 6000 (65 %) against 3900 of 4000 (97.5 %).
    CuttingJob job = WorkingJob({{6000, 6000, -1}, {4000, 4000, -1}}, {{1500, 2}, {900, 1}});
    MathNest(job);
    ASSERT_EQ(job.PatternCount(), 1);
    EXPECT_EQ(job.Patterns[0], Pattern(4000, 1, {1500, 900}, {2, 1}));

    // Both bars are filled completely: the earlier, longer row wins.
    CuttingJob tie = WorkingJob({{4000, 4000, -1}, {2000, 2000, -1}}, {{1000, 4}});
    MathNest(tie);
    ASSERT_EQ(tie.PatternCount(), 1);
    EXPECT_EQ(tie.Patterns[0].StockLength, 4000);
}

TEST(MathNest, FillsShorterPiecesAfterALongerOneStopsFitting) {
    CuttingJob job = WorkingJob({{5000, 5000, -1}}, {{2000, 3}, {700, 2}, {300, 5}});
    MathNest(job);
    // 2000, 2000, then 700 (4700), then 300 (5000 exactly).
    ASSERT_EQ(job.PatternCount(), 1);
    EXPECT_EQ(job.Patterns[0], Pattern(5000, 1, {2000, 700, 300}, {2, 1, 1}));
    EXPECT_EQ(job.Cuts[0].CutQuantity, 1);
    EXPECT_EQ(job.Cuts[1].CutQuantity, 1);
    EXPECT_EQ(job.Cuts[2].CutQuantity, 4);
}

TEST(MathNest, StopsFillingACandidateBarAtTheCapacity) {
    CuttingJob job = WorkingJob({{18300, 18300, -1}}, {{3, 2000}, {1, 500}});
    MathNest(job);
    ASSERT_EQ(job.PatternCount(), 1);
    EXPECT_EQ(job.Patterns[0], Pattern(18300, 1, {3}, {MaxBarPieces}));
    EXPECT_EQ(job.Cuts[0].CutQuantity, 2000 - MaxBarPieces);
    EXPECT_EQ(job.Cuts[1].CutQuantity, 500);
}

TEST(MathNest, MakesNothingWithoutAvailableStockOrFittingPiece) {
    CuttingJob tooLong = WorkingJob({{4000, 4000, -1}}, {{5000, 1}});
    MathNest(tooLong);
    EXPECT_EQ(tooLong.PatternCount(), 0);

    CuttingJob noBars = WorkingJob({{6000, 6000, 0}}, {{1000, 1}});
    MathNest(noBars);
    EXPECT_EQ(noBars.PatternCount(), 0);
}

TEST(RepeatNest, AddsOneBarPerCallWhileTheDemandCoversThePattern) {
    CuttingJob job = WorkingJob({{6000, 6000, -1}}, {{2000, 5}, {1000, 5}});
    job.Patterns.push_back(Pattern(6000, 1, {2000, 1000}, {2, 2}));
    RepeatNest(job);
    EXPECT_EQ(job.Patterns[0].BarCount, 2);
    EXPECT_EQ(job.Cuts[0].CutQuantity, 3);
    EXPECT_EQ(job.Cuts[1].CutQuantity, 3);
    RepeatNest(job);
    EXPECT_EQ(job.Patterns[0].BarCount, 3);
    EXPECT_EQ(job.Cuts[0].CutQuantity, 1);
    RepeatNest(job);  // one 2000 left: no longer covered
    EXPECT_EQ(job.Patterns[0].BarCount, 3);
    EXPECT_EQ(job.Cuts[1].CutQuantity, 1);
}

TEST(RepeatNest, StopsWhenTheStockRowHasNoBarsOrIsGone) {
    CuttingJob job = WorkingJob({{6000, 6000, 1}}, {{2000, 9}});
    job.Patterns.push_back(Pattern(6000, 1, {2000}, {3}));
    job.Patterns.push_back(Pattern(5000, 1, {2000}, {2}));  // no stock row of 5000
    RepeatNest(job);
    EXPECT_EQ(job.Patterns[0].BarCount, 2);
    EXPECT_EQ(job.Stock[0].StockQuantity, 0);
    EXPECT_EQ(job.Patterns[1].BarCount, 1);
    RepeatNest(job);
    EXPECT_EQ(job.Patterns[0].BarCount, 2);
    EXPECT_EQ(job.Cuts[0].CutQuantity, 6);
}

TEST(MergePattern, JoinsIdenticalPatternsWithoutLosingAny) {
    CuttingJob job;
    const CuttingPattern a = Pattern(6000, 1, {2000, 1000}, {2, 1});
    const CuttingPattern b = Pattern(6000, 4, {2000}, {3});
    job.Patterns = {a, a, b, a};
    job.Patterns[1].BarCount = 2;
    job.Patterns[3].BarCount = 5;
    MergePattern(job);
    ASSERT_EQ(job.PatternCount(), 2);
    EXPECT_EQ(job.Patterns[0], Pattern(6000, 8, {2000, 1000}, {2, 1}));
    EXPECT_EQ(job.Patterns[1], b);
}

TEST(MergePattern, TheSamePiecesInAnotherOrderAreNotIdentical) {
    CuttingJob job;
    job.Patterns = {Pattern(6000, 1, {2000, 1000}, {1, 1}), Pattern(6000, 1, {1000, 2000}, {1, 1}),
                    Pattern(5000, 1, {2000, 1000}, {1, 1})};
    MergePattern(job);
    EXPECT_EQ(job.PatternCount(), 3);
}

class DPNestTest : public ::testing::Test {
protected:
    SearchBasis OneColumn(double level, int stockLength, std::vector<int> pieces) {
        SearchBasis basis;
        basis.Reset(static_cast<int>(pieces.size()));
        for (int i = 0; i < basis.m; ++i) {
            basis.BasisColumns[static_cast<size_t>(i) * basis.m] = pieces[i];
        }
        basis.BasisLevel[0] = level;
        basis.BasisStockLength[0] = stockLength;
        return basis;
    }
    testing::RecordingHost host;
};

TEST_F(DPNestTest, LimitedStockCapsTheBars) {
    CuttingJob job = WorkingJob({{6000, 6000, 2}}, {{2000, 15}});
    CalculationRun run(job, host);
    DPNest(run, OneColumn(5.0, 6000, {3}));
    ASSERT_EQ(job.PatternCount(), 1);
    EXPECT_EQ(job.Patterns[0], Pattern(6000, 2, {2000}, {3}));
    EXPECT_EQ(job.Stock[0].StockQuantity, 0);
    EXPECT_EQ(job.Cuts[0].CutQuantity, 9);
}

TEST_F(DPNestTest, AWholeLevelJustBelowOneStillMakesABar) {
    CuttingJob job = WorkingJob({{6000, 6000, -1}}, {{2000, 3}});
    CalculationRun run(job, host);
    DPNest(run, OneColumn(0.9999999999999, 6000, {3}));
    ASSERT_EQ(job.PatternCount(), 1);
    EXPECT_EQ(job.Patterns[0].BarCount, 1);

    CuttingJob below = WorkingJob({{6000, 6000, -1}}, {{2000, 3}});
    CalculationRun belowRun(below, host);
    DPNest(belowRun, OneColumn(0.99, 6000, {3}));
    EXPECT_EQ(below.PatternCount(), 0);
}

TEST_F(DPNestTest, NeverTakesMorePiecesThanRemain) {
    // The level asks for 4 bars of 3 + 2 pieces; only 7 of the first row remain: 2 bars.
    CuttingJob job = WorkingJob({{6000, 6000, -1}}, {{2000, 7}, {1000, 10}});
    CalculationRun run(job, host);
    DPNest(run, OneColumn(4.0, 6000, {3, 2}));
    ASSERT_EQ(job.PatternCount(), 1);
    EXPECT_EQ(job.Patterns[0], Pattern(6000, 2, {2000, 1000}, {3, 2}));
    EXPECT_EQ(job.Cuts[0].CutQuantity, 1);
    EXPECT_EQ(job.Cuts[1].CutQuantity, 6);

    // A column that no row can supply a whole bar of is skipped.
    CuttingJob none = WorkingJob({{6000, 6000, -1}}, {{2000, 2}});
    CalculationRun noneRun(none, host);
    DPNest(noneRun, OneColumn(3.0, 6000, {3}));
    EXPECT_EQ(none.PatternCount(), 0);
    EXPECT_EQ(none.Cuts[0].CutQuantity, 2);
}

TEST(ResultStore, NoGeneratorWritesPastTheLastPattern) {
    CuttingJob job = WorkingJob({{6000, 6000, -1}}, {{2000, 3}});
    job.Patterns.assign(MaxPatterns, Pattern(5000, 1, {100}, {1}));
    SimpleNest(job);
    MathNest(job);
    EXPECT_EQ(job.PatternCount(), MaxPatterns);
    EXPECT_EQ(job.Cuts[0].CutQuantity, 3);
    EXPECT_FALSE(job.AllAllocated);
}

}  // namespace
}  // namespace tallora
