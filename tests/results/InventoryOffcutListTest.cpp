#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "results/CuttingList.h"
#include "results/Statistics.h"
#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using testing::Pattern;
using Texts = std::vector<std::string>;

const std::string OffcutLine = "    * Cut from inventory offcuts *";

// Two new rows and an offcut row; one pattern from each.
TestJob MixedJob() {
    TestJob job;
    job.Input.Allowances = {3, 25, 0, 3000, true};
    job.Result.InputStockLength = {5975, 2400, 1900};
    job.Result.InputStockMark = {"", InventoryOffcutMark(7) + ", " + InventoryOffcutMark(9), ""};
    job.Result.InputCutLength = {1503, 803};
    job.Result.InputCutQuantity = {4, 2};
    job.Result.TotalPieces = 6;
    job.Result.Patterns = {Pattern(5975, 1, {1503}, {3}), Pattern(2400, 2, {1503, 803}, {1, 1}),
                           Pattern(1900, 1, {803}, {1})};
    return job;
}

TEST(InventoryOffcutList, SaysWhichPatternsAreCutFromInventoryOffcuts) {
    TestJob job = MixedJob();
    testing::StatsOf(job);
    EXPECT_FALSE(PatternFromInventoryOffcuts(job.Result, 0));
    EXPECT_TRUE(PatternFromInventoryOffcuts(job.Result, 1));
    EXPECT_FALSE(PatternFromInventoryOffcuts(job.Result, 2));
    EXPECT_FALSE(PatternFromInventoryOffcuts(job.Result, 3));
    const Texts lines = MakeCuttingList(job.Input, job.Result);
    EXPECT_EQ(Texts(lines.begin() + 4, lines.begin() + 10),
              (Texts{
                  " Cutting Pattern Number 2:",
                  "    From 2 at 2425mm, cut the following:",
                  OffcutLine,
                  "    1 cut at 1500mm long, producing 2 pieces",
                  "    1 cut at 800mm long, producing 2 pieces",
                  "",
              }));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), OffcutLine), 1);

    // Without the marks the list is the one it always was.
    TestJob plain = MixedJob();
    plain.Result.InputStockMark.clear();
    testing::StatsOf(plain);
    Texts expected = lines;
    expected.erase(expected.begin() + 6);
    EXPECT_EQ(MakeCuttingList(plain.Input, plain.Result), expected);
}

TEST(InventoryOffcutList, APatternBelongsToTheFirstRowOfItsLength) {
    // An ordinary row and an offcut row of one length: the statistics book the bars to the
    // first, and so does the list.
    TestJob job = MixedJob();
    job.Result.InputStockLength = {5975, 2400, 2400};
    job.Result.InputStockMark = {"", "", InventoryOffcutMark(3)};
    testing::StatsOf(job);
    EXPECT_FALSE(PatternFromInventoryOffcuts(job.Result, 1));
    std::swap(job.Result.InputStockMark[1], job.Result.InputStockMark[2]);
    EXPECT_TRUE(PatternFromInventoryOffcuts(job.Result, 1));
}

}  // namespace
}  // namespace tallora
