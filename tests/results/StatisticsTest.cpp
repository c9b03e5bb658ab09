#include "results/Statistics.h"

#include <gtest/gtest.h>

#include "results/CuttingList.h"
#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using testing::WorkedExampleJob;
using Texts = std::vector<std::string>;

StatisticsTexts Shown(const Statistics& s) { return FormatStatistics(s, NumberFormat::UK()); }
Texts Metres(const Statistics& s) {
    const StatisticsTexts texts = Shown(s);
    return {texts.Metres.begin(), texts.Metres.end()};
}

// The worked example's 463 mm remnants are scrap below an offcut length of 500, returned at 300.
TEST(CompileStats, RemnantsAreScrapOrReturnedOffcuts) {
    TestJob scrap = WorkedExampleJob(500);
    const Statistics s = testing::StatsOf(scrap);
    EXPECT_EQ(Metres(s), (Texts{"12.000m", "11.000m", "0.000m", "11.000m", "0.024m", "0.050m",
                                "0.050m", "0.876m", "12.000m"}));
    EXPECT_EQ(Shown(s).Percent[3], "91.67%");
    EXPECT_EQ(Shown(s).Percent[0], "100.00%");
    EXPECT_FALSE(scrap.Result.Patterns[0].IsOffcut);
    EXPECT_EQ(scrap.Result.StockBarsUsed, std::vector<int>{2});
    EXPECT_EQ(s.BarsUsedTotal, 2);
    EXPECT_EQ(scrap.Result.RemainingPieces, 0);

    TestJob returned = WorkedExampleJob(300);
    const Statistics r = testing::StatsOf(returned);
    const StatisticsTexts texts = Shown(r);
    EXPECT_EQ(texts.Metres[2], "0.926m");
    EXPECT_EQ(texts.Metres[3], "11.926m");
    EXPECT_EQ(texts.Percent[3], "99.38%");
    EXPECT_EQ(texts.Metres[6], "0.000m");
    EXPECT_EQ(texts.Metres[8], "11.074m");
    EXPECT_TRUE(returned.Result.Patterns[0].IsOffcut);
    EXPECT_EQ(returned.Result.Patterns[0].OffcutLength, 463);
    EXPECT_EQ(r.OffcutBars, 2);
    // Every share is its row's metres over the metres used.
    for (const Statistics* st : {&s, &r}) {
        for (int i = 0; i < StatisticsRows; ++i)
            EXPECT_NEAR(st->StatPercent[i], st->StatMetres[i] / st->StatMetres[0] * 100, 1e-9) << i;
    }

    // "Scrap all waste" keeps the classification but counts no offcut.
    returned.Input.Allowances.NoOffcuts = true;
    const Statistics all = testing::StatsOf(returned);
    EXPECT_EQ(Metres(all), Metres(s));
    EXPECT_TRUE(returned.Result.Patterns[0].IsOffcut);
    EXPECT_EQ(all.OffcutTotal, 0);
}

// The worked example's lines are pinned by the command line's recorded output; here the rules.
TEST(MakeCuttingList, SingularsPluralsPiecesLeftOverAndScrappedReturns) {
    TestJob job = testing::LeftOverJob();
    testing::StatsOf(job);
    EXPECT_EQ(MakeCuttingList(job.Input, job.Result),
              (Texts{
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
    job.Result.PatternStoreFull = true;
    const Texts note = MakeCuttingList(job.Input, job.Result);
    EXPECT_EQ(Texts(note.begin() + 16, note.begin() + 20),
              (Texts{" the cutting matrix because the job is too large:",
                     " it needs more than 1000000 cutting",
                     " patterns (Note statistics are for allocated", " stock only):"}));

    // "Scrap all waste" returns nothing; an empty result is the heading alone.
    TestJob scrapped = testing::LeftOverJob(true);
    testing::StatsOf(scrapped);
    const Texts lines = MakeCuttingList(scrapped.Input, scrapped.Result);
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], " Cutting Pattern Number 2:");
    EXPECT_EQ(MakeCuttingList(JobInput{}, CalculationResult{}), Texts{" Total stock bars used:"});
}

}  // namespace
}  // namespace tallora
