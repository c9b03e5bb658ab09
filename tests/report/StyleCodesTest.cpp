#include "report/StyleCodes.h"

#include <gtest/gtest.h>

namespace tallora {
namespace {

TEST(ParseStyleCodes, TheReportsGroups) {
    StyledText s = ParseStyleCodes("[N S18 B I CE C DkRed]Customer: Acme");
    EXPECT_EQ(s.Text, "Customer: Acme");
    TextStyle expected;
    expected.Normal = true;
    expected.Size = 18;
    expected.Bold = true;
    expected.Italic = true;
    expected.Alignment = TextAlignment::Centre;
    expected.TextColour = DarkRed;
    EXPECT_EQ(s.Style, expected);

    // Size after a blank, and two blanks between codes.
    s = ParseStyleCodes("[N S 8  IO B R C DkGray]www.vantorel.example");
    EXPECT_EQ(s.Style.Size, 8);
    EXPECT_EQ(s.Style.Italic, false);
    EXPECT_EQ(s.Style.Alignment, TextAlignment::Right);
    EXPECT_EQ(s.Style.TextColour, DarkGray);
    EXPECT_EQ(s.Text, "www.vantorel.example");

    s = ParseStyleCodes("[R IO C Black] ");
    EXPECT_EQ(s.Text, " ");  // the blank after the group is text
    EXPECT_EQ(s.Style.TextColour, Black);

    s = ParseStyleCodes("[I S 8]Page 1 of 2");
    EXPECT_EQ(s.Style.Size, 8);
    EXPECT_EQ(s.Style.Italic, true);
    EXPECT_FALSE(s.Style.TextColour.has_value());
    EXPECT_FALSE(s.Style.Normal);

    s = ParseStyleCodes("[N S16 B U C DkRed]Statistics");
    EXPECT_EQ(s.Style.Size, 16);
    EXPECT_TRUE(s.Style.Underline);
    EXPECT_EQ(ParseStyleCodes("[N S10 L B C Black]Hold wastage:").Style.Alignment,
              TextAlignment::Left);
    EXPECT_EQ(ParseStyleCodes("[I]Kerf ").Text, "Kerf ");
}

TEST(ParseStyleCodes, LastItalicCodeWins) {
    EXPECT_EQ(ParseStyleCodes("[I IO]x").Style.Italic, false);
    EXPECT_EQ(ParseStyleCodes("[IO I]x").Style.Italic, true);
}

TEST(ParseStyleCodes, UnknownOrIncompleteCodesAreSkipped) {
    StyledText s = ParseStyleCodes("[X C Blue Q9 B S]text");
    TextStyle boldOnly;
    boldOnly.Bold = true;
    EXPECT_EQ(s.Style, boldOnly);
    EXPECT_EQ(s.Text, "text");
    // "C" with an unknown name leaves the next code to be read on its own.
    EXPECT_EQ(ParseStyleCodes("[C B]x").Style, boldOnly);
    for (const char* text : {"[S0]x", "[S1234]x", "[Sx]x", "[S -3]x", "[S]x"}) {
        EXPECT_FALSE(ParseStyleCodes(text).Style.Size.has_value()) << text;
    }
    EXPECT_EQ(ParseStyleCodes("[S 12 14]x").Style.Size, 12);  // "14" is no code
}

TEST(ParseStyleCodes, TextsWithoutAGroup) {
    for (const char* text : {"", "plain", "plain [B] text", "[B unclosed", " [B]x"}) {
        const StyledText s = ParseStyleCodes(text);
        EXPECT_EQ(s.Text, text);
        EXPECT_EQ(s.Style, TextStyle{});
    }
    EXPECT_EQ(ParseStyleCodes("[]x").Text, "x");
}

}  // namespace
}  // namespace tallora
