#include "results/SolutionBoundText.h"

#include <gtest/gtest.h>

namespace tallora {
namespace {

// What the status bar, the report and the command line say of an Optimal plan against its bound.
TEST(SolutionBoundText, SaysBarsWithOneStockLengthAndMetresWithSeveral) {
    SolutionBound b;
    b.SingleLength = true;
    b.Known = true;
    b.UsedBars = 41;
    b.LowerBoundBars = 40;
    EXPECT_EQ(BoundText(b, NumberFormat::UK()), "Optimal: 41 bars, lower bound 40");
    b.TimedOut = true;
    EXPECT_EQ(BoundText(b, NumberFormat::UK()),
              "Optimal: 41 bars, lower bound 40 (stopped at the time limit)");
    b.Cancelled = true;
    EXPECT_EQ(BoundText(b, NumberFormat::UK()),
              "Optimal: 41 bars, lower bound 40 (stopped by the user)");

    SolutionBound m;
    m.UsedBars = 5;
    m.Used = 41875;
    m.Known = true;
    m.LowerBound = 41825;
    NumberFormat comma;
    comma.DecimalSeparator = ",";
    EXPECT_EQ(BoundText(m, comma),
              "Optimal: 41,875 m of usable stock in 5 bars, lower bound 41,825 m");
    m.ProvenOptimal = true;
    m.LowerBound = 41875;
    m.TimedOut = true;  // proven just as the time ran out: the proof is what counts
    EXPECT_EQ(BoundText(m, comma),
              "Optimal: 41,875 m of usable stock in 5 bars, lower bound 41,875 m, "
              "proven optimal");
    m.ProvenOptimal = false;
    m.TimedOut = false;
    m.Known = false;
    m.UsedBars = 1;
    m.Used = 5975;
    EXPECT_EQ(BoundText(m, NumberFormat::UK()),
              "Optimal: 5.975 m of usable stock in 1 bar, no lower bound yet");

    // With offcut rows, new stock and offcuts at both levels; proven for new stock only when
    // the plan meets the first level alone.
    SolutionBound o;
    o.Offcuts = o.Known = true;
    o.UsedBars = 3;
    o.Used = 9000;
    o.OffcutUsed = 2500;
    o.LowerBound = 6500;
    o.OffcutLowerBound = 2000;
    const std::string offcuts =
        "Optimal: 6.500 m of new stock and 2.500 m of inventory offcuts in 3 bars, lower bound "
        "6.500 m of new stock and 2.000 m of inventory offcuts";
    EXPECT_EQ(BoundText(o, NumberFormat::UK()), offcuts);
    o.NewStockProven = true;
    EXPECT_EQ(BoundText(o, NumberFormat::UK()), offcuts + ", proven optimal for new stock");

    SolutionBound out;
    out.SingleLength = out.PiecesLeft = true;
    out.UsedBars = 4;
    EXPECT_EQ(BoundText(out, NumberFormat::UK()),
              "Optimal: 4 bars, no lower bound: the stock runs out");
}

}  // namespace
}  // namespace tallora
