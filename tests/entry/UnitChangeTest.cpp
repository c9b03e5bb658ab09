#include "entry/UnitChange.h"

#include <gtest/gtest.h>

namespace tallora {
namespace {

using Rows = std::vector<ListRow>;
const JobUnits Metric = JobUnits::Metric();
const JobUnits Sixteenths = JobUnits::ImperialIn(ImperialPrecision::Sixteenth);
const JobUnits Eighths = JobUnits::ImperialIn(ImperialPrecision::Eighth);

JobInput Job(Rows stock, Rows cuts, const JobUnits& units) {
    JobInput input;
    input.StockRows = std::move(stock);
    input.CutRows = std::move(cuts);
    input.Units = units;
    return input;
}

// Whether a length moved is told; rows that come to one length merge, keeping marks.
TEST(ChangeUnits, ConvertsEveryLengthAndSaysWhenOneMoved) {
    struct Case {
        const char* what;
        JobInput input;
        JobUnits to;
        Rows stock, cuts;
        bool moved;
    };
    // Allowances on the 1/8 inch grid, which no change of precision moves.
    JobInput onGrid = Job({}, {{"2", "320"}}, Sixteenths);
    onGrid.Allowances = {4, 32, 0, 3840, false};
    const Case cases[] = {
        {"whole inches",
         Job({{"*", "6096"}}, {{"2", "254"}}, Metric),
         Sixteenths,
         {{"*", "7680"}},
         {{"2", "320"}},
         true},
        {"back to millimetres",
         Job({{"*", "7680"}}, {{"2", "320"}}, Sixteenths),
         Metric,
         {{"*", "6096"}},
         {{"2", "254"}},
         true},
        {"a coarser precision merges",
         Job({}, {{"2", "322", "A"}, {"3", "323", "B"}}, Sixteenths),
         Eighths,
         {},
         {{"5", "324", "A"}},
         true},
        {"nothing moves", onGrid, Eighths, {}, {{"2", "320"}}, false},
    };
    for (const Case& c : cases) {
        JobInput input = c.input;
        const UnitChange change = ChangeUnits(input, c.to);
        EXPECT_EQ(input.Units, c.to) << c.what;
        EXPECT_EQ(input.StockRows, c.stock) << c.what;
        EXPECT_EQ(input.CutRows, c.cuts) << c.what;
        EXPECT_EQ(change.LengthMoved, c.moved) << c.what;
    }
}

// There and back, a job comes home with its lengths, and the section's figures within their
// rounding.
TEST(ChangeUnits, ThereAndBackKeepsTheJob) {
    JobInput input = Job({{"*", "6096"}, {"4", "12192"}}, {{"6", "2540"}, {"3", "762"}}, Metric);
    input.Allowances = {3, 25, 0, 3000, false};
    input.Section = {"", "", "UB", 16, 720, "Tonne"};
    input.Costing.CCutType = "Metre";
    input.Costing.CCutValue = 2.5;
    JobInput there = input;
    ChangeUnits(there, Sixteenths);
    EXPECT_NEAR(there.Section.Weight, 16 * 0.3048 / 0.45359237, 0.001);  // lb/ft
    JobInput back = there;
    ChangeUnits(back, Metric);
    EXPECT_EQ(back.StockRows, input.StockRows);
    EXPECT_EQ(back.CutRows, input.CutRows);
    EXPECT_NEAR(back.Section.Weight, 16, 0.002);
    EXPECT_NEAR(back.Section.Cost, 720, 0.01);
    EXPECT_NEAR(back.Costing.CCutValue, 2.5, 1e-9);
}

}  // namespace
}  // namespace tallora
