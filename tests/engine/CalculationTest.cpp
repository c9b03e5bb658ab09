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

}  // namespace
}  // namespace tallora
