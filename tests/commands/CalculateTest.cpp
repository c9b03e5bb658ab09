#include "commands/Calculate.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "results/CuttingList.h"
#include "support/EngineTestSupport.h"
#include "support/MemoryRegistry.h"

namespace tallora {
namespace {

using testing::MakeJob;
using testing::RecordingObserver;

TEST(Calculate, CompletedRunsGiveTheirStatisticsCuttingListAndTime) {
    TestJob job = MakeJob({{"*", "6000"}}, {{"2", "1997"}, {"1", "997"}}, 3, 0, 0);
    RecordingObserver observer;
    const CalculatedJob done = CalculateJob(job.Input, {}, observer, NumberFormat::UK());
    ASSERT_TRUE(done.Outcome.Completed);
    EXPECT_EQ(done.Outcome.Result.CuttingListLines,
              MakeCuttingList(job.Input, done.Outcome.Result));
    EXPECT_FALSE(done.Outcome.Result.CuttingListLines.empty());
    EXPECT_EQ(done.Stats.BarsUsedTotal, 1);
    EXPECT_EQ(done.StatusText, CalculationTimeText(done.Outcome.Elapsed));
    // The observer hears the progress to the end, every piece placed.
    EXPECT_TRUE(std::any_of(
        observer.reports.begin(), observer.reports.end(),
        [](const CalculationProgress& p) { return p.PiecesPlaced == 3 && p.PiecesLeft == 0; }));
    EXPECT_EQ(observer.reports.back().Phase, CalculationPhase::Finished);

    // A refused calculation gives no results to show.
    TestJob refused = MakeJob({{"*", "6000"}}, {{"1", "7000"}}, 3, 0, 0);
    const CalculatedJob no = CalculateJob(refused.Input, {}, observer, NumberFormat::UK());
    EXPECT_FALSE(no.Outcome.Completed);
    EXPECT_TRUE(no.Outcome.Result.CuttingListLines.empty());
    EXPECT_TRUE(no.StatusText.empty());
}

// The engine sees integers only: an imperial job's 1/32 inches give the patterns the same
// integers give as millimetres, whatever the algorithm.
TEST(Calculate, AnImperialJobGivesThePatternsOfTheSameIntegersInAMetricJob) {
    for (Algorithm algorithm : {Algorithm::Complex, Algorithm::Fast}) {
        TestJob metric = MakeJob({{"*", "7680"}, {"4", "5760"}},
                                 {{"7", "2416"}, {"5", "1279"}, {"9", "830"}}, 4, 16, 0);
        TestJob imperial = metric;
        imperial.Input.Units = JobUnits::ImperialIn(ImperialPrecision::Sixteenth);
        RecordingObserver observer;
        CalculationOptions options;
        options.Algorithm = algorithm;
        const CalculatedJob a = CalculateJob(metric.Input, options, observer, NumberFormat::UK());
        const CalculatedJob b = CalculateJob(imperial.Input, options, observer, NumberFormat::UK());
        ASSERT_TRUE(a.Outcome.Completed);
        ASSERT_TRUE(b.Outcome.Completed);
        EXPECT_EQ(b.Outcome.Result.Patterns, a.Outcome.Result.Patterns);
        EXPECT_EQ(b.Outcome.Result.StockBarsUsed, a.Outcome.Result.StockBarsUsed);
        // Its cutting list says the same in feet and inches.
        EXPECT_NE(b.Outcome.Result.CuttingListLines, a.Outcome.Result.CuttingListLines);
        EXPECT_EQ(b.Outcome.Result.CuttingListLines.size(),
                  a.Outcome.Result.CuttingListLines.size());
    }
}

TEST(Calculate, KeepsTheInputsAndUsesThePricesAsTheirFieldsShowThem) {
    TestJob job = MakeJob({{"*", "6000"}}, {{"2", "1997"}});
    job.Input.Section.Weight = 10.12349;
    job.Input.Section.Cost = 499.995;
    MemoryRegistry store;
    store.CreateKey(RegistryRoot::CurrentUser, MainKey);
    Algorithm algorithm = Algorithm::Complex;
    const auto never = [](const std::string&) { return false; };
    const JobInput prepared =
        PrepareCalculation(job.Input, algorithm, &store, NumberFormat::UK(), never);
    EXPECT_EQ(prepared.Section.Weight, 10.123);
    EXPECT_EQ(prepared.Section.Cost, 500.0);
    EXPECT_EQ(store.ReadInteger(RegistryRoot::CurrentUser, AutoSaveKey, "OCount"), 1);
    RecordingObserver observer;
    const CalculatedJob done = CalculateJob(prepared, {}, observer, NumberFormat::UK());
    ASSERT_TRUE(done.Outcome.Completed);
    EXPECT_NEAR(done.Stats.StatWeight[CutPiecesRow], 3.994 * 10.123, 1e-9);  // 2 x 1997 mm
}

// 40 cut rows of small lengths (41 with more), so that even the Complex algorithm is quick.
TestJob ManyCutRows(int count) {
    testing::Rows cuts;
    for (int i = 1; i <= count; ++i) cuts.push_back({"1", std::to_string(10 * i - 3)});
    return MakeJob({{"*", "1000"}}, cuts, 3, 0, 0);
}

TEST(Calculate, OffersTheFastAlgorithmForComplexAboveFortyCutRows) {
    std::vector<std::string> asked;
    bool answer = false;
    const auto ask = [&](const std::string& question) {
        asked.push_back(question);
        return answer;
    };
    Algorithm algorithm = Algorithm::Complex;
    PrepareCalculation(ManyCutRows(40).Input, algorithm, nullptr, NumberFormat::UK(), ask);
    EXPECT_TRUE(asked.empty());

    const JobInput many = ManyCutRows(41).Input;
    PrepareCalculation(many, algorithm, nullptr, NumberFormat::UK(), ask);
    EXPECT_EQ(asked, std::vector<std::string>{SwitchToFastQuestion()});
    EXPECT_EQ(algorithm, Algorithm::Complex);

    answer = true;
    PrepareCalculation(many, algorithm, nullptr, NumberFormat::UK(), ask);
    EXPECT_EQ(algorithm, Algorithm::Fast);
    // Fast stays chosen: the next calculation does not ask again; nor is a refused job asked.
    asked.clear();
    PrepareCalculation(many, algorithm, nullptr, NumberFormat::UK(), ask);
    Algorithm complex = Algorithm::Complex;
    TestJob unreadable = ManyCutRows(41);
    unreadable.Input.CutRows.back().Length = "x";
    PrepareCalculation(unreadable.Input, complex, nullptr, NumberFormat::UK(), ask);
    EXPECT_TRUE(asked.empty());
}

TEST(Calculate, ACancelledCalculationGivesNoResult) {
    TestJob job = MakeJob({{"*", "6000"}}, {{"2", "1997"}, {"40", "297"}});
    for (const int check : {0, 3}) {
        RecordingObserver observer;
        observer.cancelAtCheck = check;
        const CalculatedJob done = CalculateJob(job.Input, {}, observer, NumberFormat::UK());
        EXPECT_TRUE(done.Outcome.Cancelled) << check;
        EXPECT_FALSE(done.Outcome.Completed);
        EXPECT_FALSE(done.Outcome.ResultsCleared);
        EXPECT_TRUE(done.Outcome.Result.Patterns.empty());
    }
}

}  // namespace
}  // namespace tallora
