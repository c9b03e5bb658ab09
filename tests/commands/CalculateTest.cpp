#include "commands/Calculate.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/EngineTestSupport.h"
#include "support/MemoryRegistry.h"

namespace tallora {
namespace {

using testing::MakeJob;
using testing::RecordingHost;

TEST(Calculate, TellsTheWindowSystemWhatToShowInOrder) {
    CuttingJob job = MakeJob({{"*", "6000"}}, {{"2", "1997"}, {"1", "997"}}, 3, 0, 0);
    Algorithm algorithm = Algorithm::Complex;
    RecordingHost host;
    const CalculateResult outcome = Calculate(job, algorithm, host, NumberFormat::UK(), nullptr);
    ASSERT_TRUE(outcome.Completed);
    const std::vector<std::string> start = {"prices",
                                            "busy",
                                            "status: Calculating Solution... Please Wait a Moment",
                                            "clear list",
                                            "show progress 3",
                                            "disable main",
                                            "position 1"};
    const auto& events = host.events;
    ASSERT_GE(events.size(), start.size());
    EXPECT_TRUE(std::equal(start.begin(), start.end(), events.begin()));
    const std::vector<std::string> end = {
        "enable main", "hide progress", "normal cursor", "enable output",
        "statistics",  "cutting list",  "status: ",      "status: " + outcome.TimeText};
    EXPECT_TRUE(std::equal(end.rbegin(), end.rend(), events.rbegin()));
    EXPECT_NE(std::find(events.begin(), events.end(),
                        "progress 3 | Cut lengths allocated: 3 | Cut lengths remaining: 0"),
              events.end());
    EXPECT_GT(host.pumps, 0);
    EXPECT_EQ(host.cuttingList, job.CuttingListLines);
    EXPECT_EQ(outcome.CuttingList, job.CuttingListLines);

    // A refused calculation shows no results.
    CuttingJob refused = MakeJob({{"*", "6000"}}, {{"1", "7000"}}, 3, 0, 0);
    RecordingHost refusedHost;
    const CalculateResult no = Calculate(refused, algorithm, refusedHost, NumberFormat::UK(), {});
    EXPECT_FALSE(no.Completed);
    EXPECT_EQ(refusedHost.errors, std::vector<std::string>{no.Error});
    for (const char* shown : {"enable output", "statistics", "cutting list"}) {
        EXPECT_EQ(std::count(refusedHost.events.begin(), refusedHost.events.end(), shown), 0)
            << shown;
    }
}

TEST(Calculate, KeepsTheInputsAndUsesThePricesAsTheirFieldsShowThem) {
    CuttingJob job = MakeJob({{"*", "6000"}}, {{"2", "1997"}});
    job.section.SectionWeight = 10.12349;
    job.section.SectionCost = 499.995;
    MemoryRegistry store;
    store.CreateKey(RegistryRoot::CurrentUser, MainKey);
    Algorithm algorithm = Algorithm::Complex;
    RecordingHost host;
    const CalculateResult outcome = Calculate(job, algorithm, host, NumberFormat::UK(), &store);
    ASSERT_TRUE(outcome.Completed);
    EXPECT_EQ(job.section.SectionWeight, 10.123);
    EXPECT_EQ(job.section.SectionCost, 500.0);
    EXPECT_EQ(store.ReadInteger(RegistryRoot::CurrentUser, AutoSaveKey, "OCount"), 1);
    EXPECT_NEAR(outcome.Stats.StatWeight[CutPiecesRow], 3.994 * 10.123, 1e-9);  // 2 x 1997 mm
}

TEST(Calculate, ACancelledCalculationPutsTheResultsBack) {
    CuttingJob job = MakeJob({{"*", "6000"}}, {{"2", "1997"}});
    Algorithm algorithm = Algorithm::Complex;
    RecordingHost first;
    ASSERT_TRUE(Calculate(job, algorithm, first, NumberFormat::UK(), nullptr).Completed);
    const CuttingJob before = job;

    job.CutItems.push_back({"40", "297"});
    for (const int check : {0, 3}) {
        RecordingHost host;
        host.cancelAtCheck = check;
        const CalculateResult outcome = Calculate(job, algorithm, host, NumberFormat::UK(), {});
        EXPECT_TRUE(outcome.Cancelled);
        EXPECT_FALSE(outcome.Completed);
        EXPECT_EQ(job.Patterns, before.Patterns) << check;
        EXPECT_EQ(job.CuttingListLines, before.CuttingListLines);
        EXPECT_EQ(job.InputCutLength, before.InputCutLength);
        EXPECT_EQ(host.cuttingList, before.CuttingListLines);  // shown again after the clearing
        EXPECT_EQ(host.events.back(), std::string("status: ") + CancelledText);
        EXPECT_TRUE(host.mainWindowEnabled);
        EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "statistics"), 0);
    }
}

}  // namespace
}  // namespace tallora
