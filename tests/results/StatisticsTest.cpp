#include "results/Statistics.h"

#include <gtest/gtest.h>

#include "results/CuttingList.h"
#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using testing::Pattern;
using testing::WorkedExampleJob;
using Texts = std::vector<std::string>;

StatisticsTexts Shown(const Statistics& s) { return DisplayStats(s, NumberFormat::UK()); }
Texts Metres(const Statistics& s) {
    const StatisticsTexts texts = Shown(s);
    return {texts.Metres.begin(), texts.Metres.end()};
}

// The worked example's 463 mm remnants are scrap below an offcut length of 500, returned at 300.
TEST(CompileStats, RemnantsAreScrapOrReturnedOffcuts) {
    CuttingJob scrap = WorkedExampleJob(500);
    const Statistics s = CompileStats(scrap);
    EXPECT_EQ(Metres(s), (Texts{"12.000m", "11.000m", "0.000m", "11.000m", "0.024m", "0.050m",
                                "0.050m", "0.876m", "12.000m"}));
    EXPECT_EQ(Shown(s).Percent[3], "91.67%");
    EXPECT_EQ(Shown(s).Percent[0], "100.00%");
    EXPECT_FALSE(scrap.Patterns[0].IsOffcut);
    EXPECT_EQ(scrap.StockBarsUsed, std::vector<int>{2});
    EXPECT_EQ(s.BarsUsedTotal, 2);
    EXPECT_EQ(scrap.RemainingPieces, 0);

    CuttingJob returned = WorkedExampleJob(300);
    const Statistics r = CompileStats(returned);
    const StatisticsTexts texts = Shown(r);
    EXPECT_EQ(texts.Metres[2], "0.926m");
    EXPECT_EQ(texts.Metres[3], "11.926m");
    EXPECT_EQ(texts.Percent[3], "99.38%");
    EXPECT_EQ(texts.Metres[6], "0.000m");
    EXPECT_EQ(texts.Metres[8], "11.074m");
    EXPECT_TRUE(returned.Patterns[0].IsOffcut);
    EXPECT_EQ(returned.Patterns[0].OffcutLength, 463);
    EXPECT_EQ(r.OffcutBars, 2);

    // "Scrap all waste" keeps the classification but counts no offcut.
    returned.allowances.NoOffcuts = true;
    const Statistics all = CompileStats(returned);
    EXPECT_EQ(Metres(all), Metres(s));
    EXPECT_TRUE(returned.Patterns[0].IsOffcut);
    EXPECT_EQ(all.OffcutTotal, 0);
}

TEST(CompileStats, CostPerMetreAndPerTonne) {
    CuttingJob job = WorkedExampleJob(500);
    job.section.CostType = "Metre";
    job.section.SectionCost = 10;
    StatisticsTexts texts = Shown(CompileStats(job));
    EXPECT_EQ(texts.Cost[0], "\u00A3120.00");
    EXPECT_EQ(texts.Weight[0], "0.000kg");

    job.section.CostType = "Tonne";
    job.section.SectionWeight = 10;
    job.section.SectionCost = 500;
    texts = Shown(CompileStats(job));
    EXPECT_EQ(texts.Cost[0], "\u00A360.00");
    EXPECT_EQ(texts.Weight[0], "120.000kg");
    EXPECT_EQ(texts.Weight[1], "110.000kg");

    job.section.SectionWeight = 0;
    texts = Shown(CompileStats(job));
    EXPECT_EQ(Texts(texts.Weight.begin(), texts.Weight.end()), Texts(9, "0.000kg"));
    EXPECT_EQ(Texts(texts.Cost.begin(), texts.Cost.end()), Texts(9, "\u00A30.00"));
}

TEST(CompileStats, PiecesLeftOverCountNeitherLengthNorKerf) {
    CuttingJob job = WorkedExampleJob(500);
    job.InputCutLength.push_back(7003);
    job.InputCutQuantity.push_back(1);
    job.TotalPieces = 9;
    job.TotalCutLength = 18000;
    job.Cuts = {{7003, 1}};
    const Statistics s = CompileStats(job);
    EXPECT_EQ(job.RemainingPieces, 1);
    EXPECT_EQ(s.UnallocatedLength, 7003);
    // The placed pieces only: 11 m cut, 8 kerfs; the scrap is what the placed pieces leave.
    CuttingJob placedOnly = WorkedExampleJob(500);
    EXPECT_EQ(Metres(s), Metres(CompileStats(placedOnly)));
    EXPECT_DOUBLE_EQ(s.KerfMetres, 0.024);

    // Nothing used: zero shares, not a division by zero.
    CuttingJob none;
    none.InputStockLength = {5950};
    none.InputCutLength = {7003};
    none.InputCutQuantity = {2};
    none.TotalPieces = 2;
    none.TotalCutLength = 14000;
    none.Cuts = {{7003, 2}};
    const StatisticsTexts texts = Shown(CompileStats(none));
    EXPECT_EQ(Texts(texts.Percent.begin(), texts.Percent.end()), Texts(9, "0.00%"));
    EXPECT_EQ(Texts(texts.Metres.begin(), texts.Metres.end()), Texts(9, "0.000m"));
    EXPECT_EQ(texts.Captions[0], "Stock bars used:");
    EXPECT_EQ(texts.Captions[8], "Chargeable material:");
}

TEST(MemoDisplay, WorkedExampleAndNothing) {
    CuttingJob job = WorkedExampleJob(300);
    CompileStats(job);
    EXPECT_EQ(MemoDisplay(job), (Texts{
                                    " Cutting Pattern Number 1:",
                                    "    From 2 at 5975mm, cut the following:",
                                    "    3 cuts at 1500mm long, producing 6 pieces",
                                    "    1 cut at 1000mm long, producing 2 pieces",
                                    "    * Return 2 at 463mm offcuts to stock *",
                                    "",
                                    " Total stock bars used:",
                                    "    2 bars at 6000mm",
                                }));
    job.allowances.NoOffcuts = true;
    CompileStats(job);
    EXPECT_EQ(MemoDisplay(job)[4], "");
    EXPECT_EQ(MemoDisplay(CuttingJob{}), Texts{" Total stock bars used:"});
}

TEST(MemoDisplay, SingularsPluralsAndPiecesLeftOver) {
    CuttingJob job;
    job.allowances = {3, 25, 0, 500, false};
    job.InputStockLength = {11975, 5975, 3975};  // entry order: 12000, 6000, 4000
    job.InputCutLength = {7003, 5003, 2003};
    job.InputCutQuantity = {2, 2, 7};
    job.TotalPieces = 11;
    job.Patterns = {Pattern(5975, 1, {5003}, {1}), Pattern(3975, 2, {2003}, {1})};
    job.Cuts = {{7003, 1}, {2003, 5}, {5003, 1}};
    CompileStats(job);
    EXPECT_EQ(MemoDisplay(job), (Texts{
                                    " Cutting Pattern Number 1:",
                                    "    From 1 at 6000mm, cut the following:",
                                    "    1 cut at 5000mm long, producing 1 piece",
                                    "    * Return 1 at 972mm offcut to stock *",
                                    "",
                                    " Cutting Pattern Number 2:",
                                    "    From 2 at 4000mm, cut the following:",
                                    "    1 cut at 2000mm long, producing 2 pieces",
                                    "    * Return 2 at 1972mm offcuts to stock *",
                                    "",
                                    " Total stock bars used:",
                                    "    1 bar at 6000mm",
                                    "    2 bars at 4000mm",
                                    "",
                                    " Please Note: ",
                                    " The following items could not be incorporated into",
                                    " the cutting matrix due to insufficient stock lengths",
                                    " being available (Note statistics are for allocated",
                                    " stock only):",
                                    "    1 piece at 7000mm long",
                                    "    1 piece at 5000mm long",
                                    "    5 pieces at 2000mm",
                                }));

    // Pieces left because the job needs more patterns than a calculation makes: not for want
    // of stock, and the note says so.
    job.PatternStoreFull = true;
    const Texts note = MemoDisplay(job);
    EXPECT_EQ(Texts(note.begin() + 16, note.begin() + 20),
              (Texts{" the cutting matrix because the job is too large:",
                     " it needs more than 1000000 cutting",
                     " patterns (Note statistics are for allocated stock", " stock only):"}));
}

}  // namespace
}  // namespace tallora
