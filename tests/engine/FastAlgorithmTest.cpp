#include "engine/FastAlgorithm.h"

#include <gtest/gtest.h>

#include "engine/Generators.h"
#include "job/Capacities.h"
#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using testing::MakeJob;
using testing::Pattern;
using testing::WorkingJob;

TEST(FastAlgorithm, JobsWorkedOutByHand) {
    auto check =
        [](const char* name, const TestJob& job, const std::vector<CuttingPattern>& patterns,
           const std::vector<WorkingCutRow>& left, const std::vector<WorkingStockRow>& stock) {
            const auto run =
                testing::ExpectWorkedOut(name, job, Algorithm::Fast, patterns, left, stock);
            EXPECT_TRUE(run.observer.searchLines.empty());
        };
    check("the best bar repeated, then a bar for the rest",
          MakeJob({{"*", "6025"}}, {{"7", "2000"}}),
          {Pattern(6000, 1, {2003}, {1}), Pattern(6000, 3, {2003}, {2})}, {}, {{6000, 6000, -1}});
    check("exact fits: four pieces of 3000 on two bars of 6000",
          MakeJob({{"*", "6000"}}, {{"4", "2997"}}, 3, 0, 0), {Pattern(6000, 2, {3000}, {2})}, {},
          {{6000, 6000, -1}});
    check("3 + 3 + 3 on 6000, the last piece on 4000 (50 % against 33 %)",
          MakeJob({{"*", "6000"}, {"*", "4000"}}, {{"10", "1997"}}, 3, 0, 0),
          {Pattern(6000, 3, {2000}, {3}), Pattern(4000, 1, {2000}, {1})}, {},
          {{6000, 6000, -1}, {4000, 4000, -1}});
    check("the stock runs out: the pieces not incorporated stay",
          MakeJob({{"2", "6025"}}, {{"7", "2000"}}), {Pattern(6000, 2, {2003}, {2})}, {{2003, 3}},
          {});
}

TEST(FastAlgorithm, AJobOfMoreThanAThousandPatternsPlacesEveryPiece) {
    // A thousand lengths from 1001 to 2000 in 1 to 9 pieces: no two bars alike, so more than a
    // thousand patterns, and the bars never run short.
    testing::Rows cuts;
    for (int length = 1001; length <= 2000; ++length) {
        cuts.push_back({std::to_string(1 + (length * 7919) % 9), std::to_string(length)});
    }
    TestJob job = MakeJob({{"*", "6000"}}, cuts, 3, 0, 0);
    ASSERT_TRUE(testing::Calculated(job, Algorithm::Fast).outcome.Completed);
    EXPECT_GT(job.Result.PatternCount(), 1000);
    EXPECT_TRUE(job.Result.Cuts.empty());
    EXPECT_FALSE(job.Result.PatternStoreFull);
    testing::ExpectEveryPiecePlacedWithinItsBar(job.Result);
}

// The result store is full: no generator adds a pattern past its end.
TEST(ResultStore, NoGeneratorWritesPastTheLastPattern) {
    WorkingTables job = WorkingJob({{6000, 6000, -1}}, {{2000, 3}});
    job.Patterns.assign(MaxPatterns, Pattern(5000, 1, {100}, {1}));
    NestAllInOneBar(job);
    NestBestFilledBar(job);
    EXPECT_EQ(job.PatternCount(), MaxPatterns);
    EXPECT_EQ(job.Cuts[0].CutQuantity, 3);
    EXPECT_FALSE(job.AllAllocated);
}

}  // namespace
}  // namespace tallora
