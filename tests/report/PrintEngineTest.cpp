#include "support/RecordingPrintEngine.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <functional>

namespace tallora {
namespace {

using enum PositionCode;

// The page geometry every engine keeps, seen through the recording engine's simple metrics.
TEST(PrintEngine, LastEdgesMarginsAndPages) {
    RecordingPrintEngine engine;
    engine.OpenDoc();
    engine.SetMargin(RightMargin, 20.0);
    // 3 characters at 12 points: 3 x 0.2 x 1.2 wide, 0.5 x 1.2 high.
    EXPECT_DOUBLE_EQ(engine.WriteText(2.0, 5.0, Free, Free, "[N S12 B]abc"), 5.6);
    EXPECT_DOUBLE_EQ(engine.GetPosition(LastRight), 2.72);
    // Without a size code the text takes style setting Two; a text goes to the given right edge.
    engine.SetStyleValue(StyleSetting::Two, 8);
    engine.SetTextColour(DarkRed);
    EXPECT_DOUBLE_EQ(engine.WriteFramedText(LastRight, LastBottom, RightMargin, Free, "\u00A31.00"),
                     6.0);
    const PlacedObject& framed = engine.Objects().back();
    EXPECT_DOUBLE_EQ(framed.Left, 2.72);
    EXPECT_DOUBLE_EQ(framed.Right, 20.0);
    EXPECT_EQ(framed.TextColour, DarkRed);               // no colour code: the engine's text colour
    engine.MeasureText(0, 0, Free, Free, "\u00A31.00");  // five characters, not six bytes
    EXPECT_DOUBLE_EQ(engine.MeasuredWidth(), 0.8);
    EXPECT_EQ(engine.Objects().size(), 2u);  // measuring places nothing

    engine.SavePosition();
    engine.DrawBox(1, 10, 3, 12);
    engine.RestorePosition();
    EXPECT_DOUBLE_EQ(engine.GetPosition(LastBottom), 6.0);
    EXPECT_THROW(engine.SetMargin(Free, 1.0), std::invalid_argument);
    EXPECT_THROW(engine.GetPosition(Free), std::invalid_argument);

    // A new page takes the orientation of the one before and the output area as its margins.
    engine.SetOutputArea(1.0, 1.0, 28.7, 19.0);
    engine.SetPageOrientation(Orientation::Landscape);
    EXPECT_DOUBLE_EQ(engine.PageWidth(), 29.7);
    EXPECT_DOUBLE_EQ(engine.PageHeight(), 21.0);
    engine.NewPage();
    EXPECT_EQ(engine.PageCount(), 2);
    EXPECT_EQ(engine.PageOrientation(), Orientation::Landscape);
    EXPECT_DOUBLE_EQ(engine.GetMargin(BottomMargin), 19.0);
    engine.SelectPage(1);
    engine.WriteText(LeftMargin, TopMargin, Free, Free, "first");
    EXPECT_EQ(engine.Objects().back().Page, 1);
    EXPECT_THROW(engine.SelectPage(0), std::out_of_range);
    EXPECT_THROW(engine.SelectPage(3), std::out_of_range);

    // The record outlives the document; the next document starts empty, one portrait page.
    engine.CloseDoc();
    EXPECT_EQ(engine.Objects().size(), 4u);
    engine.OpenDoc();
    EXPECT_TRUE(engine.Objects().empty());
    EXPECT_EQ(engine.PageCount(), 1);
    EXPECT_EQ(engine.PageOrientation(), Orientation::Portrait);
    // Nothing saved restores the top-left corner; without an output area a page is all margin.
    engine.WriteText(2.0, 5.0, Free, Free, "x");
    engine.RestorePosition();
    EXPECT_DOUBLE_EQ(engine.GetPosition(LastBottom), 0.0);
    EXPECT_DOUBLE_EQ(engine.GetPosition(LastRight), 0.0);
    engine.NewPage();
    EXPECT_DOUBLE_EQ(engine.GetMargin(RightMargin), 21.0);
}

}  // namespace
}  // namespace tallora
