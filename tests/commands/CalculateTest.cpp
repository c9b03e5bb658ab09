#include "commands/Calculate.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/EngineTestSupport.h"
#include "support/MemoryRegistry.h"

namespace tallora {
namespace {

using testing::MakeJob;
using testing::RecordingObserver;

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

}  // namespace
}  // namespace tallora
