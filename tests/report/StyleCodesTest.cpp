#include "report/StyleCodes.h"

#include <gtest/gtest.h>
#include <sstream>

namespace tallora {
namespace {

// A style written back as codes in one fixed order, with the colour as its value.
std::string Codes(const TextStyle& s) {
    std::ostringstream out;
    if (s.Normal) out << " N";
    if (s.Size) out << " S" << *s.Size;
    if (s.Bold) out << " B";
    if (s.Italic) out << (*s.Italic ? " I" : " IO");
    if (s.Underline) out << " U";
    if (s.Alignment == TextAlignment::Left) out << " L";
    if (s.Alignment == TextAlignment::Right) out << " R";
    if (s.Alignment == TextAlignment::Centre) out << " CE";
    if (s.TextColour) out << " #" << std::hex << s.TextColour->Rgb();
    return out.str();
}

TEST(ParseStyleCodes, GroupsAsTheReportWritesThemAndOddOnes) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"[N S18 B I CE C DkRed]Customer: Acme", " N S18 B I CE #800000", "Customer: Acme"},
        // Size after a blank, and two blanks between codes.
        {"[N S 8  IO B R C DkGray]www.vantorel.example", " N S8 B IO R #808080",
         "www.vantorel.example"},
        {"[R IO C Black] ", " IO R #0", " "},  // the blank after the group is text
        {"[I S 8]Page 1 of 2", " S8 I", "Page 1 of 2"},
        {"[N S16 B U C DkRed]Statistics", " N S16 B U #800000", "Statistics"},
        {"[N S10 L B C Black]Hold wastage:", " N S10 B L #0", "Hold wastage:"},
        {"[I]Kerf ", " I", "Kerf "},
        // The last italic code wins.
        {"[I IO]x", " IO", "x"},
        {"[IO I]x", " I", "x"},
        // Unknown or incomplete codes are skipped; "C" with an unknown name leaves the next code
        // to be read on its own.
        {"[X C Blue Q9 B S]text", " B", "text"},
        {"[C B]x", " B", "x"},
        {"[S0]x", "", "x"},
        {"[S1234]x", "", "x"},
        {"[Sx]x", "", "x"},
        {"[S -3]x", "", "x"},
        {"[S]x", "", "x"},
        {"[S 12 14]x", " S12", "x"},  // "14" is no code
        {"[]x", "", "x"},
        // Without a group the text is as it was.
        {"", "", ""},
        {"plain", "", "plain"},
        {"plain [B] text", "", "plain [B] text"},
        {"[B unclosed", "", "[B unclosed"},
        {" [B]x", "", " [B]x"},
    };
    for (const auto& [input, codes, text] : cases) {
        const StyledText parsed = ParseStyleCodes(input);
        EXPECT_EQ(Codes(parsed.Style), codes) << input;
        EXPECT_EQ(parsed.Text, text) << input;
    }
}

}  // namespace
}  // namespace tallora
