#include "engine/FastAlgorithm.h"

#include <gtest/gtest.h>

#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using testing::MakeJob;
using testing::Pattern;
using testing::RecordingHost;

CuttingJob RunFast(CuttingJob job) {
    Algorithm algorithm = Algorithm::Fast;
    RecordingHost host;
    EXPECT_TRUE(RunCalculation(job, algorithm, host).Completed);
    EXPECT_TRUE(host.questions.empty());
    EXPECT_TRUE(host.permutationLines.empty());
    return job;
}

TEST(FastAlgorithm, RepeatsTheBestBarThenAddsABarForTheRest) {
    const CuttingJob job = RunFast(MakeJob({{"*", "6025"}}, {{"7", "2000"}}));
    ASSERT_EQ(job.PatternCount(), 2);
    EXPECT_EQ(job.Patterns[0], Pattern(6000, 1, {2003}, {1}));
    EXPECT_EQ(job.Patterns[1], Pattern(6000, 3, {2003}, {2}));
    EXPECT_EQ(job.CutCount(), 0);
}

TEST(FastAlgorithm, ExactFitsAreUsed) {
    // Four pieces of 3000 on 6000: two bars.
    const CuttingJob job = RunFast(MakeJob({{"*", "6000"}}, {{"4", "2997"}}, 3, 0, 0));
    ASSERT_EQ(job.PatternCount(), 1);
    EXPECT_EQ(job.Patterns[0], Pattern(6000, 2, {3000}, {2}));
}

TEST(FastAlgorithm, TenPiecesOnTwoStockLengths) {
    // 3 + 3 + 3 on 6000, and the last piece on 4000 (50 % against 33 %).
    const CuttingJob job =
        RunFast(MakeJob({{"*", "6000"}, {"*", "4000"}}, {{"10", "1997"}}, 3, 0, 0));
    ASSERT_EQ(job.PatternCount(), 2);
    EXPECT_EQ(job.Patterns[0], Pattern(6000, 3, {2000}, {3}));
    EXPECT_EQ(job.Patterns[1], Pattern(4000, 1, {2000}, {1}));
}

TEST(FastAlgorithm, MixedLengthsAllPlacedWithinTheBars) {
    const CuttingJob job = RunFast(MakeJob(
        {{"*", "6000"}, {"5", "12000"}},
        {{"17", "1234"}, {"9", "2750"}, {"31", "480"}, {"4", "5100"}, {"12", "999"}}, 3, 25, 0));
    EXPECT_EQ(job.CutCount(), 0);
    for (int i = 0; i < job.InputCutCount(); ++i) {
        EXPECT_EQ(testing::PiecesOfLength(job, job.InputCutLength[i]), job.InputCutQuantity[i]);
    }
    int longBars = 0;
    for (const auto& p : job.Patterns) {
        long long used = 0;
        for (int k = 0; k < p.LengthCount(); ++k) used += 1LL * p.PieceCount[k] * p.CutLength[k];
        EXPECT_LE(used, p.StockLength);
        if (p.StockLength == 11975) longBars += p.BarCount;
    }
    EXPECT_LE(longBars, 5);
}

}  // namespace
}  // namespace tallora
