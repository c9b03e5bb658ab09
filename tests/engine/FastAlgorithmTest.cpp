#include "engine/FastAlgorithm.h"

#include <gtest/gtest.h>

#include "engine/Generators.h"
#include "job/Capacities.h"
#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using testing::Pattern;
using testing::WorkingJob;

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
