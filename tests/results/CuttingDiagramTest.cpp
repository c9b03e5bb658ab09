#include "results/CuttingDiagram.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/EngineTestSupport.h"

namespace tallora {

inline void PrintTo(const Colour& c, std::ostream* os) {
    *os << std::hex << "#" << c.Rgb() << std::dec;
}
inline void PrintTo(const DiagramBox& b, std::ostream* os) {
    *os << "box " << b.Left << "," << b.Top << " - " << b.Right << "," << b.Bottom << " fill #"
        << std::hex << b.Fill.Rgb() << std::dec;
}
inline void PrintTo(const DiagramText& t, std::ostream* os) {
    *os << "text \"" << t.Text << "\" at " << t.X << "," << t.Y << " colour #" << std::hex
        << t.TextColour.Rgb() << " on #" << t.Background.Rgb() << std::dec;
}

namespace {

using testing::Pattern;

// Every character 5 pixels wide, every text 8 pixels high.
class FixedPitchMeasurer : public TextMeasurer {
public:
    double TextWidth(const std::string& text) const override { return 5.0 * text.size(); }
    double TextHeight(const std::string&) const override { return 8.0; }
};

// A 1000 mm bar at half a pixel per mm: 24 margin pixels, 65 for the label " #1: 1 x 1000".
constexpr int HalfScaleWidth = 24 + 65 + 500;
// 240 pixels of drawing height: one pattern gets a pitch of 20.
constexpr int Height = 264;

TestJob DiagramJob(int kerf, int trim, int hold, std::vector<CuttingPattern> patterns) {
    TestJob job;
    job.Input.Allowances = {kerf, trim, hold, 100, false};
    job.Result.Patterns = std::move(patterns);
    return job;
}

std::vector<DiagramOperation> Draw(const TestJob& job, int width = HalfScaleWidth,
                                   int height = Height) {
    return DrawCuttingList(job.Input, job.Result, width, height, FixedPitchMeasurer{});
}

template <typename T>
std::vector<T> OfKind(const std::vector<DiagramOperation>& ops) {
    std::vector<T> out;
    for (const auto& op : ops) {
        if (const T* item = std::get_if<T>(&op)) out.push_back(*item);
    }
    return out;
}

const Colour Magenta = PiecePalette[0];  // #C000C0, white text
const Colour Navy = PiecePalette[1];     // #0000C0, white text

// Trim 20 and Kerf 10; a 1000 mm bar (980 usable) cut into 300 once and 200 twice leaves 250.
TestJob WorkedJob(int hold, bool offcut) {
    CuttingPattern p = Pattern(980 - hold, 1, {310, 210}, {1, 2});
    p.IsOffcut = offcut;
    p.OffcutLength = 250;
    TestJob job = DiagramJob(10, 20, hold, {p});
    job.Result.InputCutLength = {310, 210};
    return job;
}

TEST(DrawCuttingList, WorkedBarWithTrimKerfsAndOffcut) {
    const std::vector<DiagramOperation> expected = {
        ClearBitmap{HalfScaleWidth, Height, White},
        DiagramBox{12, 12, 514, 28, Black, Silver},
        DiagramText{514, 16, " #1: 1 x 1000", Black, White},
        DiagramBox{14, 14, 22, 26, Black, Black},  // trim, too narrow for "Trim"
        DiagramBox{24, 14, 172, 26, Black, Magenta},
        DiagramText{90, 16, "300", White, Magenta},
        DiagramBox{174, 14, 177, 26, Black, Black},  // kerf
        DiagramBox{179, 14, 277, 26, Black, Navy},
        DiagramText{220, 16, "200", White, Navy},
        DiagramBox{279, 14, 282, 26, Black, Black},
        DiagramBox{284, 14, 382, 26, Black, Navy},
        DiagramText{325, 16, "200", White, Navy},
        DiagramBox{384, 14, 387, 26, Black, Black},
        DiagramBox{389, 14, 512, 26, Black, Black},  // offcut to its own length
        DiagramText{425, 16, "250 Offcut", White, Black},
    };
    EXPECT_EQ(Draw(WorkedJob(0, true)), expected);
}

TEST(DrawCuttingList, RemnantsWithAndWithoutHold) {
    // With a hold the remnant runs to the bar's inner end, one pixel short of the unheld one.
    const std::tuple<int, bool, DiagramBox, DiagramText> cases[] = {
        {50, true, {389, 14, 511, 26, Black, Black}, {407, 16, "250 Offcut & Hold", White, Black}},
        {0, false, {389, 14, 512, 26, Black, Black}, {438, 16, "Scrap", White, Black}},
        {50, false, {389, 14, 511, 26, Black, Black}, {420, 16, "Scrap & Hold", White, Black}},
    };
    for (const auto& [hold, offcut, box, text] : cases) {
        const auto ops = Draw(WorkedJob(hold, offcut));
        EXPECT_EQ(OfKind<DiagramBox>(ops).back(), box);
        EXPECT_EQ(OfKind<DiagramText>(ops).back(), text);
    }
    // "Scrap all waste" draws the classified offcut as scrap.
    TestJob job = WorkedJob(0, true);
    job.Input.Allowances.NoOffcuts = true;
    EXPECT_EQ(OfKind<DiagramText>(Draw(job)).back().Text, "Scrap");

    // No remnant: the bar ends with its last kerf.
    const auto boxes =
        OfKind<DiagramBox>(Draw(DiagramJob(10, 20, 0, {Pattern(980, 1, {490}, {2})})));
    ASSERT_EQ(boxes.size(), 6u);  // bar, trim, two pieces, two kerfs
    EXPECT_EQ(boxes[3], (DiagramBox{264, 14, 267, 26, Black, Black}));
    EXPECT_EQ(boxes[5], (DiagramBox{509, 14, 512, 26, Black, Black}));
}

TEST(DrawCuttingList, TrimsAndKerfs) {
    // Without trim or kerf X still steps to 13, so the first piece starts at 14; pieces abut.
    TestJob job = DiagramJob(0, 0, 0, {Pattern(1000, 1, {300, 200}, {1, 2})});
    job.Result.InputCutLength = {300, 200};
    const std::vector<DiagramBox> expected = {
        {12, 12, 514, 28, Black, Silver}, {14, 14, 162, 26, Black, Magenta},
        {164, 14, 262, 26, Black, Navy},  {264, 14, 362, 26, Black, Navy},
        {364, 14, 512, 26, Black, Black},  // scrap
    };
    EXPECT_EQ(OfKind<DiagramBox>(Draw(job)), expected);

    // Boxes of one pixel are left out: trim 6 is 14..15, trim 8 is 14..16; kerfs likewise.
    auto blackBoxes = [](const TestJob& job) {
        int n = 0;
        for (const auto& b : OfKind<DiagramBox>(Draw(job))) n += b.Fill == Black;
        return n;
    };
    EXPECT_EQ(blackBoxes(DiagramJob(0, 6, 0, {Pattern(994, 1, {300}, {1})})), 1);  // scrap only
    EXPECT_EQ(blackBoxes(DiagramJob(0, 8, 0, {Pattern(992, 1, {300}, {1})})), 2);
    EXPECT_EQ(blackBoxes(DiagramJob(6, 0, 0, {Pattern(1000, 1, {306}, {1})})), 1);
    EXPECT_EQ(blackBoxes(DiagramJob(8, 0, 0, {Pattern(1000, 1, {308}, {1})})), 2);
}

// Lengths that stand side by side in a bar never look alike, whatever their rows: the 4th and
// 10th rows' colours (two cyans) and the 1st and 26th (the same colour) are told apart.
TEST(PieceColours, NeighboursInABarNeverLookAlike) {
    TestJob job;
    for (int length = 100; length < 126; ++length) job.Result.InputCutLength.push_back(length);
    ASSERT_TRUE(LookAlike(PiecePalette[3], PiecePalette[9]));
    job.Result.Patterns = {Pattern(1000, 1, {109, 103}, {1, 1}),
                           Pattern(1000, 1, {125, 100}, {1, 1}),
                           Pattern(1000, 1, {120, 110}, {1, 1})};
    const PieceColours colours(job.Result);
    for (const CuttingPattern& p : job.Result.Patterns) {
        EXPECT_FALSE(LookAlike(colours.Of(p.CutLength[0]), colours.Of(p.CutLength[1])))
            << p.CutLength[0] << " beside " << p.CutLength[1];
    }
    // Lengths without a neighbour that looks alike keep their rows' colours.
    EXPECT_EQ(colours.IndexOf(103), 3);
    EXPECT_EQ(colours.IndexOf(100), 0);
    EXPECT_EQ(colours.IndexOf(110), 10);
}

TEST(DrawCuttingList, PiecesNarrowerThanAPixelAreOneBoxForTheirRun) {
    // 400 pieces of 1 mm at half a pixel per mm: one box of 200 pixels, then the 500 mm piece
    // as ever. A pattern of two million, which no bar holds, is drawn as fast.
    auto boxesOf = [](const CuttingPattern& pattern) {
        std::vector<DiagramBox> boxes;
        for (const auto& op : Draw(DiagramJob(0, 0, 0, {pattern}))) {
            if (const auto* box = std::get_if<DiagramBox>(&op)) boxes.push_back(*box);
        }
        return boxes;
    };
    const auto boxes = boxesOf(Pattern(1000, 1, {1, 500}, {400, 1}));
    ASSERT_EQ(boxes.size(), 4u);     // the bar, the run, the 500 and the scrap
    EXPECT_EQ(boxes[1].Left, 14);    // where the first piece would start
    EXPECT_EQ(boxes[1].Right, 212);  // and the last one end
    EXPECT_EQ(boxes[2].Right - boxes[2].Left, 248);
    EXPECT_LE(boxesOf(Pattern(1000, 1, {1, 500}, {2000000, 1})).size(), 4u);
}

}  // namespace
}  // namespace tallora
