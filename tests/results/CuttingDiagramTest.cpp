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

TEST(DrawCuttingList, TextsOnlyWhereTheyFit) {
    // Boxes of 11 and 12 pixels for "26" and "28" (10 pixels wide): text + 1 must be less.
    const TestJob job = DiagramJob(0, 0, 0, {Pattern(1000, 1, {28, 26}, {1, 1})});
    auto pieceTexts = [&](int height) {
        std::vector<std::string> out;
        for (const auto& t : OfKind<DiagramText>(Draw(job, HalfScaleWidth, height))) {
            if (t.Text == "26" || t.Text == "28") out.push_back(t.Text);
        }
        return out;
    };
    EXPECT_EQ(pieceTexts(Height), std::vector<std::string>{"28"});
    EXPECT_EQ(pieceTexts(24 + 12 * 18), std::vector<std::string>{"28"});  // boxes 10 high
    EXPECT_TRUE(pieceTexts(24 + 12 * 17).empty());                        // 9 high

    // A bar label is written only when narrower than the bar: " #2: 1 x 80" is 55 pixels.
    const TestJob shortBars = DiagramJob(
        0, 0, 0, {Pattern(1000, 1, {}, {}), Pattern(80, 1, {}, {}), Pattern(60, 1, {}, {})});
    std::vector<std::string> labels;
    for (const auto& t : OfKind<DiagramText>(Draw(shortBars))) labels.push_back(t.Text);
    EXPECT_EQ(labels, (std::vector<std::string>{" #1: 1 x 1000", "Scrap", "Scrap", "Scrap"}));
    EXPECT_EQ(OfKind<DiagramText>(Draw(shortBars, 24 + 65 + 1000))[2].Text, " #2: 1 x 80");
}

TEST(DrawCuttingList, ScaleAndRowPitch) {
    // Out of store order on purpose: MaxBars keeps 12 from the shorter bar seen first, so the
    // label " #2: 12 x 1000" takes 70 pixels and the scale is 500 / 1000.
    const auto scaled = OfKind<DiagramBox>(Draw(
        DiagramJob(0, 0, 0, {Pattern(800, 12, {}, {}), Pattern(1000, 3, {}, {})}), 24 + 70 + 500));
    EXPECT_EQ(scaled[0].Right, 414);
    EXPECT_EQ(scaled[2].Right, 514);  // after the first bar's scrap box

    // Fewer than eight patterns: a twelfth of the 240-pixel height each.
    const std::tuple<int, int, int, int> rows[] = {
        {1, 0, 12, 28},   {7, 6, 132, 148}, {8, 1, 42, 68},
        {8, 7, 222, 248}, {20, 1, 24, 32},  {20, 19, 240, 248},
    };
    for (const auto& [patterns, row, top, bottom] : rows) {
        std::vector<DiagramBox> bars;
        const std::vector<CuttingPattern> ps(patterns, Pattern(1000, 1, {1000}, {1}));
        for (const auto& b : OfKind<DiagramBox>(Draw(DiagramJob(0, 0, 0, ps)))) {
            if (b.Fill == Silver) bars.push_back(b);
        }
        ASSERT_EQ(bars.size(), static_cast<std::size_t>(patterns));
        EXPECT_EQ(bars[row].Top, top) << patterns << " patterns, row " << row;
        EXPECT_EQ(bars[row].Bottom, bottom) << patterns << " patterns, row " << row;
    }
}

TEST(DrawCuttingList, NothingButTheBackgroundWithoutRoom) {
    const std::vector<DiagramOperation> clearOnly = {ClearBitmap{HalfScaleWidth, Height, White}};
    EXPECT_EQ(Draw(TestJob{}), clearOnly);
    const TestJob job = WorkedJob(0, true);
    EXPECT_EQ(Draw(job, 24, 300).size(), 1u);
    EXPECT_EQ(Draw(job, 300, 20).size(), 1u);
    EXPECT_EQ(Draw(job, -5, -5), (std::vector<DiagramOperation>{ClearBitmap{0, 0, White}}));
    EXPECT_EQ(Draw(job, 24 + 40, 300).size(), 1u);  // the label alone is wider than the area
    EXPECT_EQ(Draw(DiagramJob(0, 0, 0, {Pattern(0, 1, {}, {})})).size(), 1u);  // MaxLen 0
}

// Pattern i of n holds pieces of 100 + 10 i mm, a 300, and two of the row's own length.
TestJob RowsJob(int patterns) {
    std::vector<CuttingPattern> ps;
    TestJob job = DiagramJob(0, 0, 0, {});
    for (int i = 0; i < patterns; ++i) {
        ps.push_back(Pattern(1000, 1, {300, 100 + 10 * i}, {1, 2}));
        job.Result.InputCutLength.push_back(100 + 10 * i);
    }
    job.Result.Patterns = std::move(ps);
    return job;
}

TEST(DrawCuttingList, AClipKeepsTheRowsAndBoxesThatReachIntoIt) {
    const TestJob job = RowsJob(20);
    const auto all = Draw(job);
    // The whole bitmap as the clip draws just what the whole drawing does.
    EXPECT_EQ(DrawCuttingList(job.Input, job.Result, HalfScaleWidth, Height, FixedPitchMeasurer{},
                              {0, 0, HalfScaleWidth, Height}),
              all);

    // 20 rows of 12 pixels from 12: rows 5 and 6 span 72..92 (bars end 4 short of the pitch).
    const DiagramClip clip{200, 75, 300, 90};
    const auto part =
        DrawCuttingList(job.Input, job.Result, HalfScaleWidth, Height, FixedPitchMeasurer{}, clip);
    ASSERT_FALSE(part.empty());
    EXPECT_EQ(part.front(), all.front());  // the clear stays whole
    std::vector<DiagramBox> expected;
    for (const auto& b : OfKind<DiagramBox>(all)) {
        const bool inRows = b.Bottom > clip.Top && b.Top < clip.Bottom;
        // Bars are kept for their labels; other boxes once they reach the clip's left edge,
        // up to the first piece starting beyond its right.
        if (inRows && (b.Fill == Silver || b.Right > clip.Left)) expected.push_back(b);
    }
    const auto boxes = OfKind<DiagramBox>(part);
    ASSERT_FALSE(boxes.empty());
    for (const auto& b : boxes) {
        EXPECT_NE(std::find(expected.begin(), expected.end(), b), expected.end());
    }
    // Everything that shows inside the clip is there.
    for (const auto& b : expected) {
        if (b.Left < clip.Right) {
            EXPECT_NE(std::find(boxes.begin(), boxes.end(), b), boxes.end());
        }
    }
    EXPECT_EQ(std::count_if(boxes.begin(), boxes.end(),
                            [](const DiagramBox& b) { return b.Fill == Silver; }),
              2);
}

TEST(DiagramHitAt, NamesThePatternAndBoxUnderAPoint) {
    // 20 rows at half a pixel per mm: row i's bar spans 12 + 12 i .. 20 + 12 i, its boxes two
    // pixels in; x = 13 + length / 2 is where a length from the bar's start falls.
    const TestJob job = RowsJob(20);
    auto at = [&](int lengthFromStart, int row, int down = 4) {
        return DiagramHitAt(job.Input, job.Result, HalfScaleWidth + 5, Height, FixedPitchMeasurer{},
                            13 + lengthFromStart / 2, 12 + 12 * row + down);
    };
    for (const int row : {0, 5, 19}) {
        SCOPED_TRACE(row);
        const int own = 100 + 10 * row;
        EXPECT_EQ(at(150, row), (DiagramHit{DiagramPart::Piece, row, 300}));
        EXPECT_EQ(at(300 + own / 2, row), (DiagramHit{DiagramPart::Piece, row, own}));
        EXPECT_EQ(at(300 + own + own / 2, row), (DiagramHit{DiagramPart::Piece, row, own}));
        const int used = 300 + 2 * own;
        EXPECT_EQ(at(used + 40, row), (DiagramHit{DiagramPart::Scrap, row, 1000 - used}));
        // Between two boxes, on the grey of the bar.
        EXPECT_EQ(at(300, row), (DiagramHit{DiagramPart::Bar, row, 1000, 1}));
        EXPECT_EQ(at(300, row, 9).Part, DiagramPart::None);  // the gap below the bar
    }
    EXPECT_EQ(at(1050, 3).Part, DiagramPart::None);  // the bar's label
    EXPECT_EQ(
        DiagramHitAt(job.Input, job.Result, HalfScaleWidth, Height, FixedPitchMeasurer{}, 5, 5)
            .Part,
        DiagramPart::None);
    EXPECT_EQ(
        DiagramHitAt(job.Input, job.Result, HalfScaleWidth, Height, FixedPitchMeasurer{}, -1, 20)
            .Part,
        DiagramPart::None);

    // Trim 20, kerf 10, offcut 250: the boxes of the worked bar, read back.
    const TestJob worked = WorkedJob(0, true);
    auto workedAt = [&](int x) {
        return DiagramHitAt(worked.Input, worked.Result, HalfScaleWidth, Height,
                            FixedPitchMeasurer{}, x, 20);
    };
    EXPECT_EQ(workedAt(18), (DiagramHit{DiagramPart::Trim, 0, 20}));
    EXPECT_EQ(workedAt(100), (DiagramHit{DiagramPart::Piece, 0, 300}));
    EXPECT_EQ(workedAt(175), (DiagramHit{DiagramPart::Kerf, 0, 10}));
    EXPECT_EQ(workedAt(300), (DiagramHit{DiagramPart::Piece, 0, 200}));
    EXPECT_EQ(workedAt(511), (DiagramHit{DiagramPart::Offcut, 0, 250}));
    EXPECT_EQ(workedAt(513), (DiagramHit{DiagramPart::Bar, 0, 1000, 1}));

    // Pieces narrower than a pixel share a box, and the hit says how many.
    const TestJob run = DiagramJob(0, 0, 0, {Pattern(1000, 1, {1, 500}, {400, 1})});
    EXPECT_EQ(
        DiagramHitAt(run.Input, run.Result, HalfScaleWidth, Height, FixedPitchMeasurer{}, 100, 20),
        (DiagramHit{DiagramPart::Piece, 0, 1, 400}));
}

TEST(DiagramHitAt, TextsForTheStatusBar) {
    EXPECT_EQ(DiagramHitText({DiagramPart::Piece, 2, 1450}), "Pattern 3: piece 1450 mm");
    EXPECT_EQ(DiagramHitText({DiagramPart::Offcut, 2, 820}), "Pattern 3: offcut 820 mm");
    EXPECT_EQ(DiagramHitText({DiagramPart::Scrap, 0, 35}), "Pattern 1: scrap 35 mm");
    EXPECT_EQ(DiagramHitText({DiagramPart::Kerf, 0, 3}), "Pattern 1: kerf 3 mm");
    EXPECT_EQ(DiagramHitText({DiagramPart::Trim, 0, 10}), "Pattern 1: trim 10 mm");
    EXPECT_EQ(DiagramHitText({DiagramPart::Piece, 9, 2, 400}), "Pattern 10: 400 pieces of 2 mm");
    EXPECT_EQ(DiagramHitText({DiagramPart::Bar, 0, 6000, 1}), "Pattern 1: 1 bar of 6000 mm");
    EXPECT_EQ(DiagramHitText({DiagramPart::Bar, 0, 6000, 4}), "Pattern 1: 4 bars of 6000 mm");
    EXPECT_EQ(DiagramHitText({}), "");
}

TEST(DiagramSizeFor, TallerForThinRowsAndWiderByTheZoom) {
    const FixedPitchMeasurer measurer;
    const TestJob worked = WorkedJob(0, true);
    // A view the rows fit at zoom 1 is the view: 1 pattern takes a twelfth of 360 and more.
    EXPECT_EQ(DiagramSizeFor(worked.Input, worked.Result, HalfScaleWidth, 400, 1, measurer),
              (DiagramSize{HalfScaleWidth, 400}));
    EXPECT_EQ(DiagramSizeFor(worked.Input, worked.Result, HalfScaleWidth, Height, 1, measurer),
              (DiagramSize{HalfScaleWidth, 24 + 12 * MinimumBarPitch}));
    EXPECT_EQ(DiagramSizeFor(JobInput{}, CalculationResult{}, 300, 100, 4, measurer),
              (DiagramSize{300, 100}));

    // 60 patterns in a 400-pixel view: rows of exactly the minimum, drawn at that pitch.
    const TestJob many = RowsJob(60);
    const DiagramSize tall =
        DiagramSizeFor(many.Input, many.Result, HalfScaleWidth, 400, 1, measurer);
    EXPECT_EQ(tall, (DiagramSize{HalfScaleWidth, 24 + 60 * MinimumBarPitch}));
    std::vector<DiagramBox> bars;
    for (const auto& b : OfKind<DiagramBox>(Draw(many, tall.Width, tall.Height))) {
        if (b.Fill == Silver) bars.push_back(b);
    }
    ASSERT_EQ(bars.size(), 60u);
    for (std::size_t i = 1; i < bars.size(); ++i) {
        EXPECT_GE(bars[i].Top - bars[i - 1].Top, MinimumBarPitch) << i;
    }
    EXPECT_LE(bars.back().Bottom, tall.Height - 12);

    // Zoom 2 doubles the bars, not the label beside them (the pattern's number and its bars).
    const DiagramSize wide =
        DiagramSizeFor(worked.Input, worked.Result, HalfScaleWidth, 400, 2, measurer);
    const int label = static_cast<int>(measurer.TextWidth(" #1: 2 x 1000"));
    const int barsWidth = 2 * (HalfScaleWidth - 24 - label);
    EXPECT_EQ(wide, (DiagramSize{24 + label + barsWidth, 400}));
    EXPECT_EQ(OfKind<DiagramBox>(Draw(worked, wide.Width, wide.Height))[0].Right,
              12 + barsWidth + 2);
    EXPECT_EQ(DiagramSizeFor(worked.Input, worked.Result, HalfScaleWidth, 400, 0.5, measurer).Width,
              HalfScaleWidth);

    // However big the job or the zoom, the bitmap stays bounded.
    const DiagramSize huge = DiagramSizeFor(many.Input, many.Result, 2000, 400, 1e9, measurer);
    EXPECT_EQ(huge.Width, MaximumDiagramSide);
    TestJob endless = DiagramJob(0, 0, 0, {});
    endless.Result.Patterns.assign(MaximumDiagramSide / MinimumBarPitch + 1,
                                   Pattern(1000, 1, {}, {}));
    EXPECT_EQ(DiagramSizeFor(endless.Input, endless.Result, 600, 400, 1, measurer).Height,
              MaximumDiagramSide);
}

TEST(DrawCuttingList, LabelsShowOnceTheZoomGivesThemRoom) {
    // At half a pixel per mm a 20 mm piece is an 8-pixel box, too narrow for "20" (10 pixels);
    // a 1 mm piece never takes "1" (5 pixels) up to the largest zoom; "60 Offcut" needs 47.
    CuttingPattern p = Pattern(1000, 1, {20, 1}, {3, 1});
    p.IsOffcut = true;
    p.OffcutLength = 60;
    TestJob job = DiagramJob(0, 0, 0, {p});
    job.Result.InputCutLength = {20, 1};
    auto texts = [&](double zoom) {
        const DiagramSize size =
            DiagramSizeFor(job.Input, job.Result, HalfScaleWidth, 400, zoom, FixedPitchMeasurer{});
        std::vector<std::string> out;
        for (const auto& t : OfKind<DiagramText>(Draw(job, size.Width, size.Height))) {
            if (t.Text[0] != ' ') out.push_back(t.Text);  // not the bar's label
        }
        return out;
    };
    EXPECT_TRUE(texts(1).empty());
    EXPECT_EQ(texts(2), (std::vector<std::string>{"20", "20", "20", "60 Offcut"}));
    EXPECT_EQ(texts(16), texts(2));
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

TEST(PieceColours, LastOrderedRowOfTheLengthDecidesAndTheContrastRule) {
    TestJob job;
    job.Result.InputCutLength = {1003, 503, 1003};
    EXPECT_EQ(PieceColourIndex(job.Result, 1003), 2);
    EXPECT_EQ(PieceColourIndex(job.Result, 503), 1);
    EXPECT_EQ(PieceColourIndex(job.Result, 777), 0);
    job.Result.InputCutLength.clear();
    for (int length = 100; length < 126; ++length) job.Result.InputCutLength.push_back(length);
    EXPECT_EQ(PieceColours(job.Result).Of(124), Colour::FromRgb(0x008080));  // the 25th
    EXPECT_EQ(PieceColours(job.Result).Of(125), Colour::FromRgb(0xC000C0));  // the 26th again
    job.Input.Allowances = {0, 0, 0, 100, false};
    job.Result.Patterns = {Pattern(1000, 1, {125}, {1})};
    EXPECT_EQ(OfKind<DiagramBox>(Draw(job))[1].Fill, PiecePalette[0]);

    EXPECT_EQ(LabelColourOn(Black), White);
    EXPECT_EQ(LabelColourOn(Silver), Black);
    EXPECT_EQ(LabelColourOn(White), Black);
    // Greys 117 and 118 sit either side of the threshold (linear 0.1779 and 0.1812).
    EXPECT_EQ(LabelColourOn(Colour::FromRgb(0x757575)), White);
    EXPECT_EQ(LabelColourOn(Colour::FromRgb(0x767676)), Black);
    EXPECT_EQ(LabelColourOn(PiecePalette[24]), White);  // #008080: 0.7874 x 0.2159 = 0.1700
    EXPECT_EQ(LabelColourOn(PiecePalette[21]), Black);  // #0080FF: 0.1544 + 0.0722
    EXPECT_EQ(LabelColourOn(PiecePalette[4]), Black);   // #FF0000: 0.2126
    EXPECT_NEAR(Luminance(Silver), 0.52712, 1e-5);
    EXPECT_NEAR(Luminance(Colour::FromRgb(0x0A0A0A)), 10 / 255.0 / 12.92, 1e-12);  // linear branch
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
