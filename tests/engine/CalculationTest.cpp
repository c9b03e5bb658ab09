#include "engine/Calculation.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "job/RowTexts.h"
#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using testing::MakeJob;
using testing::Pattern;
using testing::RecordingHost;
using testing::Rows;

// 41 cut rows of small lengths, so that even the Complex algorithm is quick.
Rows ManyCutRows(int count) {
    Rows cuts;
    for (int i = 1; i <= count; ++i) cuts.push_back({"1", std::to_string(10 * i - 3)});
    return cuts;
}

TEST(Calculation, WholeDemandInOneBar) {
    CuttingJob job = MakeJob({{"*", "6050"}}, {{"5", "1000"}}, 3, 25, 25);
    Algorithm algorithm = Algorithm::Complex;
    RecordingHost host;
    const CalculationOutcome outcome = RunCalculation(job, algorithm, host);
    ASSERT_TRUE(outcome.Completed);
    EXPECT_EQ(job.ScaleFactor, 1);
    ASSERT_EQ(job.PatternCount(), 1);
    EXPECT_EQ(job.Patterns[0], Pattern(6000, 1, {1003}, {5}));
    EXPECT_EQ(job.InputStockLength, std::vector<int>{6000});
    EXPECT_EQ(job.InputCutLength, std::vector<int>{1003});
    EXPECT_EQ(job.InputCutQuantity, std::vector<int>{5});
    EXPECT_EQ(job.TotalPieces, 5);
    EXPECT_EQ(job.TotalCutLength, 5000);
    EXPECT_EQ(job.CutCount(), 0);
    EXPECT_EQ(job.RemainingPieces, 0);
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(outcome.TimeText.rfind("Calculation Time : 0 minutes ", 0), 0u);
}

TEST(Calculation, RefusesAPieceLongerThanEveryStockAndNamesItsEnteredLength) {
    // 6000 and 7000 scale by 1000; the message still gives millimetres without kerf.
    CuttingJob job = MakeJob({{"*", "6000"}}, {{"1", "997"}, {"2", "6997"}}, 3, 0, 0);
    job.Patterns.push_back(Pattern(6000, 1, {1000}, {1}));  // a previous result
    Algorithm algorithm = Algorithm::Complex;
    RecordingHost host;
    const CalculationOutcome outcome = RunCalculation(job, algorithm, host);
    EXPECT_FALSE(outcome.Completed);
    const std::string message =
        "You have not entered a stock length long enough to cut a length of 6997mm.\r\n"
        "Please check your stock length entries.";
    EXPECT_EQ(outcome.Error, message);
    EXPECT_EQ(host.errors, std::vector<std::string>{message});
    EXPECT_EQ(job.PatternCount(), 0);
    const std::vector<std::string> end = {"normal cursor", "hide progress", "status: ",     "error",
                                          "enable main",   "hide progress", "normal cursor"};
    EXPECT_TRUE(std::equal(end.rbegin(), end.rend(), host.events.rbegin()));
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "enable output"), 0);
}

TEST(Calculation, AStockRowOfNoBarsOrNoUsableLengthIsNeverUsed) {
    CuttingJob job =
        MakeJob({{"0", "8000"}, {"4", "50"}, {"*", "6000"}}, {{"2", "2997"}}, 3, 25, 25);
    Algorithm algorithm = Algorithm::Complex;
    RecordingHost host;
    ASSERT_TRUE(RunCalculation(job, algorithm, host).Completed);
    // The 50 mm bar is used up by trim and hold: it is left out.
    EXPECT_EQ(job.InputStockLength, (std::vector<int>{7950, 5950}));
    for (const auto& p : job.Patterns) EXPECT_EQ(p.StockLength, 5950);

    CuttingJob only = MakeJob({{"0", "8000"}}, {{"2", "2997"}});
    RecordingHost refusedHost;
    EXPECT_FALSE(RunCalculation(only, algorithm, refusedHost).Completed);
    EXPECT_EQ(refusedHost.errors.size(), 1u);
}

TEST(Calculation, OffersTheFastAlgorithmAboveFortyCutRows) {
    Algorithm algorithm = Algorithm::Complex;
    RecordingHost forty;
    CuttingJob job40 = MakeJob({{"*", "1000"}}, ManyCutRows(40), 3, 0, 0);
    ASSERT_TRUE(RunCalculation(job40, algorithm, forty).Completed);
    EXPECT_TRUE(forty.questions.empty());

    RecordingHost no;
    CuttingJob job41 = MakeJob({{"*", "1000"}}, ManyCutRows(41), 3, 0, 0);
    ASSERT_TRUE(RunCalculation(job41, algorithm, no).Completed);
    ASSERT_EQ(no.questions.size(), 1u);
    EXPECT_EQ(no.questions[0],
              "This calculation may take some time to process.\r\n"
              "Would you like to switch to the potentially less accurate Fast Algorithm?");
    EXPECT_EQ(algorithm, Algorithm::Complex);

    RecordingHost yes;
    yes.answerYes = true;
    ASSERT_TRUE(RunCalculation(job41, algorithm, yes).Completed);
    EXPECT_EQ(algorithm, Algorithm::Fast);
    EXPECT_TRUE(yes.permutationLines.empty());  // the search never ran

    // Fast stays checked: the next calculation does not ask again.
    RecordingHost again;
    ASSERT_TRUE(RunCalculation(job41, algorithm, again).Completed);
    EXPECT_TRUE(again.questions.empty());
}

TEST(Calculation, ScalesByTheCommonDivisorAndReportsMillimetres) {
    CuttingJob job = MakeJob({{"*", "6000"}, {"*", "4000"}}, {{"10", "1997"}}, 3, 0, 0);
    Algorithm algorithm = Algorithm::Complex;
    RecordingHost host;
    ASSERT_TRUE(RunCalculation(job, algorithm, host).Completed);
    EXPECT_EQ(job.ScaleFactor, 2000);
    ASSERT_EQ(job.PatternCount(), 2);
    EXPECT_EQ(job.Patterns[0], Pattern(6000, 3, {2000}, {3}));
    EXPECT_EQ(job.Patterns[1], Pattern(4000, 1, {2000}, {1}));
    EXPECT_EQ(job.Stock, (std::vector<WorkingStockRow>{{6000, 6000, -1}, {4000, 4000, -1}}));
}

TEST(Calculation, StockRunningOutLeavesThePiecesNotIncorporated) {
    CuttingJob job = MakeJob({{"2", "6025"}}, {{"7", "2000"}});
    Algorithm algorithm = Algorithm::Fast;
    RecordingHost host;
    ASSERT_TRUE(RunCalculation(job, algorithm, host).Completed);
    ASSERT_EQ(job.PatternCount(), 1);
    EXPECT_EQ(job.Patterns[0], Pattern(6000, 2, {2003}, {2}));
    EXPECT_EQ(job.Cuts, (std::vector<WorkingCutRow>{{2003, 3}}));
    EXPECT_EQ(job.StockCount(), 0);
    EXPECT_EQ(job.RemainingPieces, 3);
}

TEST(Calculation, RowsItCannotReadAreRefusedBeforeAnythingChanges) {
    Algorithm algorithm = Algorithm::Complex;
    const CuttingPattern previous = Pattern(6000, 1, {1000}, {1});
    auto refused = [&](CuttingJob job) {
        job.Patterns = {previous};
        RecordingHost host;
        const CalculationOutcome outcome = RunCalculation(job, algorithm, host);
        EXPECT_FALSE(outcome.Completed);
        EXPECT_EQ(host.errors, std::vector<std::string>{outcome.Error});
        EXPECT_EQ(job.Patterns, std::vector<CuttingPattern>{previous});
        EXPECT_TRUE(host.mainWindowEnabled);
        return outcome.Error;
    };
    Rows stock(MaxStockRows + 1);
    for (size_t i = 0; i < stock.size(); ++i) stock[i] = {"1", std::to_string(1000 + i)};
    EXPECT_EQ(refused(MakeJob(stock, {{"1", "500"}})), StockListFullMessage());
    EXPECT_EQ(refused(MakeJob({{"1", "6000"}}, {{"1", "18301"}})), LengthTooLongMessage("18301"));
    EXPECT_EQ(refused(MakeJob({{"x", "6000"}}, {{"1", "500"}})), NotAQuantityMessage("x"));
    EXPECT_NE(refused(MakeJob({{"*", "6000"}}, {{"2000000", "18000"}})).find("total more than"),
              std::string::npos);
}

// Checks at every callback that no cut row ever holds a negative quantity.
class InvariantHost : public RecordingHost {
public:
    explicit InvariantHost(const CuttingJob& job) : job_(job) {}
    void UpdateProgress(int position, const std::string& a, const std::string& r) override {
        Check();
        RecordingHost::UpdateProgress(position, a, r);
    }
    void ProcessMessages() override {
        Check();
        RecordingHost::ProcessMessages();
    }
    int negativeSeen = 0;

private:
    void Check() {
        for (const auto& row : job_.Cuts) negativeSeen += row.CutQuantity < 0;
    }
    const CuttingJob& job_;
};

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
    CuttingJob job = MakeJob({{"*", "3000"}}, cuts, 1, 0, 0);
    Algorithm algorithm = Algorithm::Complex;
    InvariantHost host(job);
    ASSERT_TRUE(RunCalculation(job, algorithm, host).Completed);
    EXPECT_TRUE(host.questions.empty());
    EXPECT_EQ(host.negativeSeen, 0);
    EXPECT_EQ(job.CutCount(), 0);
    int bars = 0;
    long long pieces = 0;
    for (const auto& p : job.Patterns) {
        bars += p.BarCount;
        long long used = 0;
        for (int k = 0; k < p.LengthCount(); ++k) {
            pieces += static_cast<long long>(p.PieceCount[k]) * p.BarCount;
            used += static_cast<long long>(p.PieceCount[k]) * p.CutLength[k];
        }
        EXPECT_LE(used, p.StockLength);
    }
    EXPECT_EQ(pieces, 60);
    EXPECT_EQ(bars, 20);
    for (int i = 0; i < job.InputCutCount(); ++i) {
        EXPECT_EQ(testing::PiecesOfLength(job, job.InputCutLength[i]), job.InputCutQuantity[i]);
    }
}

}  // namespace
}  // namespace tallora
