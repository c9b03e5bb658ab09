#include "results/Statistics.h"

#include <gtest/gtest.h>

#include "results/CuttingList.h"
#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using testing::Pattern;

CuttingJob BeamJob(int offcut, bool scrapAll = false) {
    return testing::WorkedExampleJob(offcut, scrapAll);
}

Statistics StatsOf(CuttingJob job) { return CompileStats(job); }

std::vector<std::string> MetresTexts(const Statistics& s) {
    const auto texts = DisplayStats(s, NumberFormat::UK());
    return {texts.Metres.begin(), texts.Metres.end()};
}

TEST(CompileStats, RemnantBelowTheOffcutLengthIsScrap) {
    CuttingJob job = BeamJob(500);
    const Statistics s = CompileStats(job);
    EXPECT_EQ(MetresTexts(s),
              (std::vector<std::string>{"12.000m", "11.000m", "0.000m", "11.000m", "0.024m",
                                        "0.050m", "0.050m", "0.876m", "12.000m"}));
    EXPECT_EQ(DisplayStats(s, NumberFormat::UK()).Percent[3], "91.67%");
    EXPECT_EQ(DisplayStats(s, NumberFormat::UK()).Percent[0], "100.00%");
    EXPECT_FALSE(job.Patterns[0].IsOffcut);
    EXPECT_EQ(job.StockBarsUsed, std::vector<int>{2});
    EXPECT_EQ(s.BarsUsedTotal, 2);
    EXPECT_EQ(job.RemainingPieces, 0);
}

TEST(CompileStats, RemnantAtLeastTheOffcutLengthIsReturned) {
    CuttingJob job = BeamJob(300);
    const Statistics s = CompileStats(job);
    const auto texts = DisplayStats(s, NumberFormat::UK());
    EXPECT_EQ(texts.Metres[2], "0.926m");
    EXPECT_EQ(texts.Metres[3], "11.926m");
    EXPECT_EQ(texts.Percent[3], "99.38%");
    EXPECT_EQ(texts.Metres[6], "0.000m");
    EXPECT_EQ(texts.Metres[8], "11.074m");
    EXPECT_TRUE(job.Patterns[0].IsOffcut);
    EXPECT_EQ(job.Patterns[0].OffcutLength, 463);
    EXPECT_EQ(s.OffcutBars, 2);
}

TEST(CompileStats, ScrapAllWasteKeepsTheClassificationButCountsNoOffcut) {
    CuttingJob job = BeamJob(300);
    CompileStats(job);
    job.allowances.NoOffcuts = true;
    const Statistics s = CompileStats(job);
    EXPECT_EQ(MetresTexts(s), MetresTexts(StatsOf(BeamJob(500))));
    EXPECT_TRUE(job.Patterns[0].IsOffcut);  // left as it was
    EXPECT_EQ(s.OffcutTotal, 0);
}

TEST(CompileStats, CostPerMetreAndPerTonne) {
    CuttingJob job = BeamJob(500);
    job.section.CostType = "Metre";
    job.section.SectionCost = 10;
    auto texts = DisplayStats(CompileStats(job), NumberFormat::UK());
    EXPECT_EQ(texts.Cost[0], "\u00A3120.00");
    EXPECT_EQ(texts.Weight[0], "0.000kg");

    job.section.CostType = "Tonne";
    job.section.SectionWeight = 10;
    job.section.SectionCost = 500;
    texts = DisplayStats(CompileStats(job), NumberFormat::UK());
    EXPECT_EQ(texts.Cost[0], "\u00A360.00");
    EXPECT_EQ(texts.Weight[0], "120.000kg");
    EXPECT_EQ(texts.Weight[1], "110.000kg");

    job.section.SectionWeight = 0;
    texts = DisplayStats(CompileStats(job), NumberFormat::UK());
    for (int i = 0; i < StatisticsRows; ++i) {
        EXPECT_EQ(texts.Weight[i], "0.000kg");
        EXPECT_EQ(texts.Cost[i], "\u00A30.00");
    }
}

TEST(CompileStats, PiecesLeftOverCountNeitherLengthNorKerf) {
    CuttingJob job = BeamJob(500);
    job.InputCutLength.push_back(7003);
    job.InputCutQuantity.push_back(1);
    job.TotalPieces = 9;
    job.TotalCutLength = 18000;
    job.Cuts = {{7003, 1}};
    const Statistics s = CompileStats(job);
    EXPECT_EQ(job.RemainingPieces, 1);
    EXPECT_EQ(s.UnallocatedLength, 7003);
    // The placed pieces only: 11 m cut, 8 kerfs; the scrap is what the placed pieces leave.
    EXPECT_EQ(MetresTexts(s), MetresTexts(StatsOf(BeamJob(500))));
    EXPECT_DOUBLE_EQ(s.KerfMetres, 0.024);
}

TEST(CompileStats, NothingUsedShowsZeroShares) {
    CuttingJob job;
    job.InputStockLength = {5950};
    job.InputCutLength = {7003};
    job.InputCutQuantity = {2};
    job.TotalPieces = 2;
    job.TotalCutLength = 14000;
    job.Cuts = {{7003, 2}};
    const auto texts = DisplayStats(CompileStats(job), NumberFormat::UK());
    for (int i = 0; i < StatisticsRows; ++i) {
        EXPECT_EQ(texts.Percent[i], "0.00%") << i;
        EXPECT_EQ(texts.Metres[i], "0.000m") << i;
    }
    EXPECT_EQ(texts.Captions[0], "Stock bars used:");
    EXPECT_EQ(texts.Captions[8], "Chargeable material:");
}

TEST(MemoDisplay, WorkedExample) {
    CuttingJob job = BeamJob(300);
    CompileStats(job);
    EXPECT_EQ(MemoDisplay(job), (std::vector<std::string>{
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
    EXPECT_EQ(MemoDisplay(job), (std::vector<std::string>{
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
}

TEST(MemoDisplay, NoPatternsAndNothingLeft) {
    CuttingJob job;
    EXPECT_EQ(MemoDisplay(job), std::vector<std::string>{" Total stock bars used:"});
}

}  // namespace
}  // namespace tallora
