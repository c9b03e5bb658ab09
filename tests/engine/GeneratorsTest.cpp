#include "engine/Generators.h"

#include <gtest/gtest.h>

#include "job/Capacities.h"
#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using testing::Pattern;
using testing::WorkingJob;
using Stock = std::vector<WorkingStockRow>;
using Cuts = std::vector<WorkingCutRow>;
using Patterns = std::vector<CuttingPattern>;

TEST(NestAllInOneBar, PutsEverythingInTheShortestStockThatHoldsItAndTakesTheBar) {
    // 3000 x 2 is exactly 6000: the 6000 bar holds it, the longer 8000 is not chosen.
    WorkingTables job =
        WorkingJob({{8000, 8000, -1}, {6000, 6000, 3}, {5000, 5000, 1}}, {{3000, 2}});
    NestAllInOneBar(job);
    EXPECT_EQ(job.Patterns, Patterns{Pattern(6000, 1, {3000}, {2})});
    EXPECT_TRUE(job.AllAllocated);
    EXPECT_EQ(job.Stock, (Stock{{8000, 8000, -1}, {6000, 6000, 2}, {5000, 5000, 1}}));
    EXPECT_EQ(job.Cuts, (Cuts{{0, 0}}));

    // The last bar of a limited row: the row is used up.
    WorkingTables last = WorkingJob({{6000, 6000, 1}}, {{2003, 2}});
    NestAllInOneBar(last);
    EXPECT_EQ(last.Patterns, Patterns{Pattern(6000, 1, {2003}, {2})});
    EXPECT_EQ(last.Stock, (Stock{{6000, 6000, 0}}));

    // Unlimited stock is never decremented.
    WorkingTables unlimited = WorkingJob({{6000, 6000, -1}}, {{2003, 2}});
    NestAllInOneBar(unlimited);
    EXPECT_EQ(unlimited.Stock, (Stock{{6000, 6000, -1}}));

    // The demand exceeds every bar: nothing happens.
    WorkingTables tooMuch = WorkingJob({{6000, 6000, -1}}, {{2003, 3}});
    NestAllInOneBar(tooMuch);
    EXPECT_EQ(tooMuch.PatternCount(), 0);
    EXPECT_FALSE(tooMuch.AllAllocated);
    EXPECT_EQ(tooMuch.Cuts, (Cuts{{2003, 3}}));

    // No bar is spent on a job without pieces.
    WorkingTables none = WorkingJob({{6000, 6000, -1}}, {});
    NestAllInOneBar(none);
    EXPECT_EQ(none.PatternCount(), 0);
    EXPECT_TRUE(none.AllAllocated);
}

TEST(NestBestFilledBar, OneBarOfTheBestUtilisedStockFilledLongestFirst) {
    auto check = [](const char* name, const Stock& stock, const Cuts& cuts,
                    const Patterns& patterns, const Cuts& cutsLeft, const Stock& stockLeft) {
        SCOPED_TRACE(name);
        WorkingTables job = WorkingJob(stock, cuts);
        NestBestFilledBar(job);
        EXPECT_EQ(job.Patterns, patterns);
        EXPECT_EQ(job.Cuts, cutsLeft);
        EXPECT_EQ(job.Stock, stockLeft);
    };
    check("a piece that does not fit is refused; one bar is taken", {{6000, 6000, 4}}, {{2003, 3}},
          {Pattern(6000, 1, {2003}, {2})}, {{2003, 1}}, {{6000, 6000, 3}});
    check("an exact fit; unlimited stock is never decremented", {{6000, 6000, -1}}, {{3000, 2}},
          {Pattern(6000, 1, {3000}, {2})}, {{3000, 0}}, {{6000, 6000, -1}});
    const Stock two = {{6000, 6000, -1}, {4000, 4000, -1}};
    check("3900 of 6000 (65 %) against 3900 of 4000 (97.5 %)", two, {{1500, 2}, {900, 1}},
          {Pattern(4000, 1, {1500, 900}, {2, 1})}, {{1500, 0}, {900, 0}}, two);
    const Stock tie = {{4000, 4000, -1}, {2000, 2000, -1}};
    check("both bars filled completely: the earlier, longer row wins", tie, {{1000, 4}},
          {Pattern(4000, 1, {1000}, {4})}, {{1000, 0}}, tie);
    check("2000, 2000, then 700 (4700), then 300 (5000 exactly)", {{5000, 5000, -1}},
          {{2000, 3}, {700, 2}, {300, 5}}, {Pattern(5000, 1, {2000, 700, 300}, {2, 1, 1})},
          {{2000, 1}, {700, 1}, {300, 4}}, {{5000, 5000, -1}});
    check("filling stops at the pieces a bar may hold", {{18300, 18300, -1}}, {{3, 2000}, {1, 500}},
          {Pattern(18300, 1, {3}, {MaxBarPieces})}, {{3, 2000 - MaxBarPieces}, {1, 500}},
          {{18300, 18300, -1}});
    check("no piece fits", {{4000, 4000, -1}}, {{5000, 1}}, {}, {{5000, 1}}, {{4000, 4000, -1}});
    check("no bars left", {{6000, 6000, 0}}, {{1000, 1}}, {}, {{1000, 1}}, {{6000, 6000, 0}});
}

TEST(RepeatPatterns, AddsOneBarPerCallWhileTheDemandAndTheStockCoverThePattern) {
    WorkingTables job = WorkingJob({{6000, 6000, -1}}, {{2000, 5}, {1000, 5}});
    job.Patterns.push_back(Pattern(6000, 1, {2000, 1000}, {2, 2}));
    RepeatPatterns(job);
    EXPECT_EQ(job.Patterns[0].BarCount, 2);
    EXPECT_EQ(job.Cuts, (Cuts{{2000, 3}, {1000, 3}}));
    RepeatPatterns(job);
    EXPECT_EQ(job.Patterns[0].BarCount, 3);
    EXPECT_EQ(job.Cuts, (Cuts{{2000, 1}, {1000, 1}}));
    RepeatPatterns(job);  // one 2000 left: no longer covered
    EXPECT_EQ(job.Patterns[0].BarCount, 3);
    EXPECT_EQ(job.Cuts, (Cuts{{2000, 1}, {1000, 1}}));

    // It stops when the stock row has no bars left or is gone.
    WorkingTables limited = WorkingJob({{6000, 6000, 1}}, {{2000, 9}});
    limited.Patterns.push_back(Pattern(6000, 1, {2000}, {3}));
    limited.Patterns.push_back(Pattern(5000, 1, {2000}, {2}));  // no stock row of 5000
    RepeatPatterns(limited);
    EXPECT_EQ(limited.Patterns[0].BarCount, 2);
    EXPECT_EQ(limited.Stock[0].StockQuantity, 0);
    EXPECT_EQ(limited.Patterns[1].BarCount, 1);
    RepeatPatterns(limited);
    EXPECT_EQ(limited.Patterns[0].BarCount, 2);
    EXPECT_EQ(limited.Cuts[0].CutQuantity, 6);
}

TEST(MergeIdenticalPatterns, JoinsIdenticalPatternsOnlyWithoutLosingAny) {
    WorkingTables job;
    const CuttingPattern a = Pattern(6000, 1, {2000, 1000}, {2, 1});
    const CuttingPattern b = Pattern(6000, 4, {2000}, {3});
    job.Patterns = {a, a, b, a};
    job.Patterns[1].BarCount = 2;
    job.Patterns[3].BarCount = 5;
    MergeIdenticalPatterns(job);
    EXPECT_EQ(job.Patterns, (Patterns{Pattern(6000, 8, {2000, 1000}, {2, 1}), b}));

    // The same pieces in another order, or on another stock length, are not identical.
    job.Patterns = {Pattern(6000, 1, {2000, 1000}, {1, 1}), Pattern(6000, 1, {1000, 2000}, {1, 1}),
                    Pattern(5000, 1, {2000, 1000}, {1, 1})};
    MergeIdenticalPatterns(job);
    EXPECT_EQ(job.PatternCount(), 3);
}

TEST(NestWholeBarsOfBasis, WholeBarsOfTheLevelWithinTheStockAndThePiecesLeft) {
    testing::RecordingObserver observer;
    // One column of the basis: pieces of each cut row per bar of 6000.
    auto check = [&observer](const char* name, int bars, const Cuts& cuts, double level,
                             const std::vector<int>& column, const Patterns& patterns,
                             const Cuts& cutsLeft, int barsLeft) {
        SCOPED_TRACE(name);
        WorkingTables job = WorkingJob({{6000, 6000, bars}}, cuts);
        CalculationRun run(job, observer);
        SearchBasis basis;
        basis.Reset(static_cast<int>(column.size()));
        for (int i = 0; i < basis.Rows; ++i) basis.BasisColumns[i * basis.Rows] = column[i];
        basis.BasisLevel[0] = level;
        basis.BasisStockLength[0] = 6000;
        NestWholeBarsOfBasis(run, basis);
        EXPECT_EQ(job.Patterns, patterns);
        EXPECT_EQ(job.Cuts, cutsLeft);
        EXPECT_EQ(job.Stock, (Stock{{6000, 6000, barsLeft}}));
    };
    check("limited stock caps the bars", 2, {{2000, 15}}, 5.0, {3}, {Pattern(6000, 2, {2000}, {3})},
          {{2000, 9}}, 0);
    check("a whole level just below one still makes a bar", -1, {{2000, 3}}, 0.9999999999999, {3},
          {Pattern(6000, 1, {2000}, {3})}, {{2000, 0}}, -1);
    check("a level well below one makes none", -1, {{2000, 3}}, 0.99, {3}, {}, {{2000, 3}}, -1);
    check("4 bars asked, 7 of the first row left: 2 bars", -1, {{2000, 7}, {1000, 10}}, 4.0, {3, 2},
          {Pattern(6000, 2, {2000, 1000}, {3, 2})}, {{2000, 1}, {1000, 6}}, -1);
    check("no row can supply a whole bar", -1, {{2000, 2}}, 3.0, {3}, {}, {{2000, 2}}, -1);
}

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
