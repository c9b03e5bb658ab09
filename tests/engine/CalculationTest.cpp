#include "engine/Calculation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "job/Capacities.h"
#include "job/RowTexts.h"
#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using testing::Calculated;
using testing::MakeJob;
using testing::Pattern;
using testing::Rows;

TEST(Calculation, MarkedRowsOfOneLengthAreCalculatedAsTheOneRowTheyMake) {
    for (const Algorithm algorithm : {Algorithm::Complex, Algorithm::Fast}) {
        SCOPED_TRACE(AlgorithmName(algorithm));
        TestJob merged = MakeJob({{"*", "6000"}}, {{"6", "1500"}, {"3", "900"}});
        ASSERT_TRUE(Calculated(merged, algorithm).outcome.Completed);

        TestJob marked = MakeJob({{"*", "6000"}}, {{"4", "1500"}, {"3", "900"}, {"2", "1500"}});
        marked.Input.CutRows[0].Mark = "B1";
        marked.Input.CutRows[2].Mark = "B2";
        ASSERT_TRUE(Calculated(marked, algorithm).outcome.Completed);
        EXPECT_EQ(marked.Result.InputCutLength, (std::vector<int>{1503, 903}));
        EXPECT_EQ(marked.Result.InputCutQuantity, (std::vector<int>{6, 3}));
        EXPECT_EQ(marked.Result.Patterns, merged.Result.Patterns);
    }
}

TEST(Calculation, RefusesAPieceLongerThanEveryStockAndNamesItsEnteredLength) {
    // 6000 and 7000 scale by 1000; the message still gives millimetres without kerf.
    TestJob job = MakeJob({{"*", "6000"}}, {{"1", "997"}, {"2", "6997"}}, 3, 0, 0);
    job.Result.Patterns.push_back(Pattern(6000, 1, {1000}, {1}));  // a previous result
    const Calculated run(job);
    EXPECT_FALSE(run.outcome.Completed);
    const std::string message =
        "You have not entered a stock length long enough to cut a length of 6997mm.\r\n"
        "Please check your stock length entries.";
    EXPECT_EQ(run.outcome.Error, message);
    // The result shown before is the job's no longer.
    EXPECT_TRUE(run.outcome.ResultsCleared);
    EXPECT_EQ(job.Result.PatternCount(), 0);
}

TEST(Calculation, AStockRowOfNoBarsOrNoUsableLengthIsNeverUsed) {
    TestJob job = MakeJob({{"0", "8000"}, {"4", "50"}, {"*", "6000"}}, {{"2", "2997"}}, 3, 25, 25);
    ASSERT_TRUE(Calculated(job).outcome.Completed);
    // The 50 mm bar is used up by trim and hold: it is left out.
    EXPECT_EQ(job.Result.InputStockLength, (std::vector<int>{7950, 5950}));
    for (const auto& p : job.Result.Patterns) EXPECT_EQ(p.StockLength, 5950);

    TestJob only = MakeJob({{"0", "8000"}}, {{"2", "2997"}});
    const Calculated refused(only);
    EXPECT_FALSE(refused.outcome.Completed);
    EXPECT_FALSE(refused.outcome.Error.empty());
}

TEST(Calculation, RowsItCannotReadAreRefusedBeforeAnythingChanges) {
    const CuttingPattern previous = Pattern(6000, 1, {1000}, {1});
    auto refused = [&](TestJob job) {
        job.Result.Patterns = {previous};
        const Calculated run(job);
        EXPECT_FALSE(run.outcome.Completed);
        EXPECT_FALSE(run.outcome.ResultsCleared);
        EXPECT_EQ(RowsError(job.Input), run.outcome.Error);
        EXPECT_EQ(job.Result.Patterns, std::vector<CuttingPattern>{previous});
        return run.outcome.Error;
    };
    Rows stock(MaxStockRows + 1);
    for (size_t i = 0; i < stock.size(); ++i) stock[i] = {"1", std::to_string(1000 + i)};
    EXPECT_EQ(refused(MakeJob(stock, {{"1", "500"}})), StockListFullMessage());
    Rows cuts(MaxCutRows + 1);
    for (size_t i = 0; i < cuts.size(); ++i) cuts[i] = {"1", std::to_string(100 + i)};
    EXPECT_EQ(refused(MakeJob({{"*", "18000"}}, cuts)), CutListFullMessage());
    EXPECT_EQ(refused(MakeJob({{"1", "6000"}}, {{"1", "18301"}})), LengthTooLongMessage("18301"));
    EXPECT_EQ(refused(MakeJob({{"x", "6000"}}, {{"1", "500"}})), NotAQuantityMessage("x"));
    // The entry lists' rule for lengths holds whichever way the rows came in.
    EXPECT_EQ(refused(MakeJob({{"1", "6000"}}, {{"6", "0"}})), LengthTooShortMessage("0"));
    EXPECT_EQ(refused(MakeJob({{"*", "0"}, {"1", "6000"}}, {{"6", "500"}})),
              LengthTooShortMessage("0"));
    EXPECT_NE(refused(MakeJob({{"*", "6000"}}, {{"2000000", "18000"}})).find("total more than"),
              std::string::npos);
}

TEST(Calculation, ATimeLimitThatIsNoNumberOfSecondsIsRefused) {
    // nan and infinity would remove the limit; Optimal would then search without end.
    for (const Algorithm algorithm : {Algorithm::Complex, Algorithm::Optimal}) {
        for (const double seconds : {std::nan(""), HUGE_VAL, -HUGE_VAL, -1.0, 0.0}) {
            TestJob job = MakeJob({{"*", "6000"}}, {{"2", "1000"}});
            const Calculated run(job, algorithm, seconds);
            EXPECT_FALSE(run.outcome.Completed) << seconds;
            EXPECT_EQ(run.outcome.Error, TimeLimitMessage()) << seconds;
            EXPECT_TRUE(job.Result.Patterns.empty()) << seconds;
        }
    }
}

TEST(Calculation, ComplexPlacesEveryPieceOfAJobThatFillsBarsExactly) {
    // 60 pieces that fill exactly 20 bars of 3000.
    const Rows cuts = {{"2", "903"},  {"1", "764"},  {"1", "890"},  {"2", "776"},  {"1", "943"},
                       {"1", "1234"}, {"1", "1256"}, {"1", "812"},  {"1", "785"},  {"1", "911"},
                       {"2", "878"},  {"1", "863"},  {"2", "1057"}, {"2", "1164"}, {"1", "1183"},
                       {"1", "1287"}, {"1", "797"},  {"1", "934"},  {"2", "1207"}, {"1", "856"},
                       {"1", "822"},  {"3", "1258"}, {"1", "874"},  {"1", "1338"}, {"1", "1295"},
                       {"3", "786"},  {"1", "798"},  {"1", "802"},  {"5", "887"},  {"2", "1223"},
                       {"1", "945"},  {"1", "1370"}, {"3", "762"},  {"1", "1438"}, {"1", "1373"},
                       {"1", "817"},  {"2", "1357"}, {"3", "953"},  {"1", "818"},  {"1", "893"}};
    TestJob job = MakeJob({{"*", "3000"}}, cuts, 1, 0, 0);
    const Calculated run(job);  // never a negative quantity on the way
    ASSERT_TRUE(run.outcome.Completed);
    testing::ExpectEveryPiecePlacedWithinItsBar(job.Result);
    EXPECT_EQ(job.Result.TotalPieces, 60);
    int bars = 0;
    for (const auto& p : job.Result.Patterns) bars += p.BarCount;
    EXPECT_EQ(bars, 20);
}

TEST(Calculation, TheSingleBarFillTakesTheLastBarOfALimitedRow) {
    // Everything fits one bar of 6000 (usable 5975): the one bar entered is used, none is left.
    TestJob job = MakeJob({{"1", "6000"}}, {{"2", "2000"}});
    ASSERT_TRUE(Calculated(job).outcome.Completed);
    EXPECT_EQ(job.Result.Patterns, std::vector<CuttingPattern>{Pattern(5975, 1, {2003}, {2})});
    EXPECT_TRUE(job.Result.Stock.empty());  // rows used up leave the working table

    TestJob three = MakeJob({{"3", "6000"}}, {{"2", "2000"}});
    ASSERT_TRUE(Calculated(three).outcome.Completed);
    EXPECT_EQ(three.Result.Stock, (std::vector<WorkingStockRow>{{5975, 5975, 2}}));
}

// Bars of each limited row: those in the patterns and those left add up to those entered.
TEST(Calculation, EveryLimitedBarIsEitherUsedOrLeft) {
    std::mt19937 random(20260415u);
    auto pick = [&random](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(random); };
    int jobs = 0;
    for (int n = 0; n < 250; ++n) {
        Rows stock;
        std::map<int, int> entered;  // usable length -> bars, limited rows only
        const int stockRows = pick(1, 3);
        for (int i = 0; i < stockRows; ++i) {
            int length = 0;
            do length = 100 * pick(20, 80);
            while (std::any_of(stock.begin(), stock.end(), [&](const auto& row) {
                return row.second == std::to_string(length);
            }));
            if (pick(0, 3) == 0) {
                stock.push_back({"*", std::to_string(length)});
            } else {
                const int bars = pick(1, 4);
                stock.push_back({std::to_string(bars), std::to_string(length)});
                entered[length - 25] = bars;
            }
        }
        Rows cuts;
        const int cutRows = pick(1, 4);
        for (int i = 0; i < cutRows; ++i)
            cuts.push_back({std::to_string(pick(1, 6)), std::to_string(pick(300, 1900))});
        const Algorithm algorithm = n % 2 == 0 ? Algorithm::Complex : Algorithm::Fast;
        TestJob job = MakeJob(stock, cuts);
        const Calculated run(job, algorithm);
        if (!run.outcome.Completed) continue;  // e.g. no stock long enough
        ++jobs;
        std::map<int, int> used;
        for (const auto& p : job.Result.Patterns) used[p.StockLength] += p.BarCount;
        std::map<int, int> left;
        for (const auto& row : job.Result.Stock) left[row.StockLength] += row.StockQuantity;
        for (const auto& [length, bars] : entered) {
            EXPECT_EQ(used[length] + left[length], bars)
                << "job " << n << ", stock row of usable length " << length;
        }
    }
    EXPECT_GT(jobs, 200);
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
