#include "report/PdfReport.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <system_error>

#include "results/SolutionBoundText.h"
#include "support/EngineTestSupport.h"
#include "support/RecordingPrintEngine.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

using testing::Pattern;
using Kind = PlacedObject::Kind;

// With the recording engine's metrics a line is 0.5 cm at 10 points, 0.6 at 12, 0.8 at 16 and
// 0.9 at 18. A portrait page's margins are 5.0 and 28.7, so a page check keeps 28.1 as its limit.
constexpr double Near = 1e-9;
const std::string Body = "[N S10 B C Black]";

// The worked example: one 6000 mm stock row (Trim 25, Hold 25, Kerf 3, Offcut 300), two bars
// each cut to 3 x 1500 and 1 x 1000, returning 463 mm offcuts.
TestJob BeamJob() {
    TestJob job = testing::WorkedExampleJob(300);
    testing::StatsOf(job);
    return job;
}

// One stock row used once, one cut row; the pattern blocks then start at y 12.1.
TestJob PlainJob(std::vector<CuttingPattern> patterns) {
    TestJob job;
    job.Input.Allowances = {0, 0, 0, 300, true};
    job.Result.InputStockLength = {18000};
    job.Result.StockBarsUsed = {1};
    job.Result.InputCutLength = {100};
    job.Result.InputCutQuantity = {1};
    job.Result.Patterns = std::move(patterns);
    return job;
}

CuttingPattern LengthsPattern(int lengths) {
    std::vector<int> cuts;
    for (int k = 0; k < lengths; ++k) cuts.push_back(300 - k);
    return Pattern(18000, 1, cuts, std::vector<int>(lengths, 1));
}

TestJob BarsJob(int patterns) {
    return PlainJob(std::vector<CuttingPattern>(patterns, Pattern(1000, 1, {1000}, {1})));
}

StatisticsTexts Panel() { return FormatStatistics(Statistics{}, NumberFormat::UK()); }

RecordingPrintEngine Report(const TestJob& job, const StatisticsTexts& panel = Panel(),
                            double lineHeight = 0.5) {
    RecordingPrintEngine engine;
    engine.LineHeight = lineHeight;
    engine.OpenDoc();
    LayOutCuttingReport(engine, job.Input, job.Result, panel);
    return engine;
}

// Objects of a kind, on one page or all (0), without banners and page numbers.
std::vector<PlacedObject> Placed(const RecordingPrintEngine& e, Kind kind, int page = 0) {
    std::vector<PlacedObject> out;
    for (const PlacedObject& o : e.Objects()) {
        const bool furniture = o.Left == 6.0 || o.Text.starts_with("[I S 8]Page ");
        if (o.What == kind && (page == 0 || o.Page == page) && !furniture) out.push_back(o);
    }
    return out;
}

std::vector<std::string> TextsOf(const std::vector<PlacedObject>& objects) {
    std::vector<std::string> out;
    for (const PlacedObject& o : objects) out.push_back(o.Text);
    return out;
}

const PlacedObject* Find(const RecordingPrintEngine& e, const std::string& text) {
    for (const PlacedObject& o : e.Objects()) {
        if (o.Text == text) return &o;
    }
    return nullptr;
}

// The banners over the text, and the customer's lines first, centred up to the right margin,
// with a gap below; the worked example's lines that the job with pieces left over has not.
TEST(PdfReport, TextSectionOfTheWorkedExample) {
    TestJob job = BeamJob();
    job.Input.Section.Customer = "Acme Steel";
    job.Input.Section.Name = "UB 203x133";
    const RecordingPrintEngine engine = Report(job);
    const PlacedObject* title = Find(engine, "[N S 32 B R C DkRed]Tallora");
    ASSERT_NE(title, nullptr);
    EXPECT_DOUBLE_EQ(title->Top, 1.5);
    EXPECT_EQ(title->FontName, "Ariel Black");
    const PlacedObject* web = Find(engine, "[N S 8 B R C DkGray]www.vantorel.example");
    ASSERT_NE(web, nullptr);
    EXPECT_NEAR(web->Top, 1.5 + 1.6 + 0.5, Near);  // directly below the maker's name
    EXPECT_EQ(web->FontName, "Calibri");

    const auto texts = Placed(engine, Kind::Text, 1);
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0].Text, "[N S18 B I CE C DkRed]Customer: Acme Steel");
    EXPECT_NEAR(texts[0].Top, 5.0, Near);  // at the top margin
    EXPECT_NEAR(texts[0].Right, 20.0, Near);
    EXPECT_EQ(texts[1].Text, "[N S18 B I CE C DkRed]Section: UB 203x133");
    EXPECT_EQ(texts[2].Text, "[N S16 B U C DkRed]Cutting instructions are as follows:");
    EXPECT_NEAR(texts[2].Top, 5.0 + 0.9 + 0.9 + 0.5, Near);
    for (const std::string& line :
         {Body + "A vice hold allowance of 25mm per bar",
          Body + "3 cuts at 1500mm long, producing 6 pieces",
          std::string("[N S10 B I C DkRed]* Return 2 at 463mm offcuts to stock *"),
          std::string("[N S16 B U C DkRed]Statistics")})
        EXPECT_NE(Find(engine, line), nullptr) << line;
}

TEST(PdfReport, StatisticsTableFromThePanelTexts) {
    StatisticsTexts panel = Panel();
    for (int i = 0; i < StatisticsRows; ++i) {
        panel.Metres[i] = "m" + std::to_string(i);
        panel.Percent[i] = "p" + std::to_string(i);
        panel.Cost[i] = "c" + std::to_string(i);
        panel.Weight[i] = "k" + std::to_string(i);
    }
    panel.Captions[6] = "Held:";  // the hold row is written as it always reads
    const auto cells = Placed(Report(BeamJob(), panel), Kind::FramedText);
    ASSERT_EQ(cells.size(), 50u);
    const std::string header = "[N S10 CE B C Black]";
    EXPECT_EQ(TextsOf({cells.begin(), cells.begin() + 5}),
              (std::vector<std::string>{"", header + "Metreage", header + "Percentage",
                                        header + "Cost", header + "Weight"}));
    EXPECT_EQ(cells[0].Pen, White);
    EXPECT_EQ(cells[1].Pen, DarkRed);
    EXPECT_EQ(TextsOf({cells.begin() + 35, cells.begin() + 40}),
              (std::vector<std::string>{"[N S10 L B C Black]Hold wastage:", header + "m6",
                                        header + "p6", header + "c6", header + "k6"}));
    EXPECT_EQ(cells[45].Text, "[N S10 L B C Black]Chargeable material:");
    EXPECT_EQ(cells[45].Pen, DarkRed);
    // Five columns of (20.0 - 1.0) / 5 from x 1.0; rows follow the heading (16.2 to 17.0).
    for (int c = 0; c < 5; ++c) {
        EXPECT_NEAR(cells[40 + c].Left, 1.0 + 3.8 * c, Near);
        EXPECT_NEAR(cells[40 + c].Right, 4.8 + 3.8 * c, Near);
        EXPECT_NEAR(cells[40 + c].Top, 17.0 + 8 * 0.5, Near);
    }
}

// The line is the bound's text (results/SolutionBoundText), in the panel's number format.
TEST(PdfReport, AfterOptimalALineUnderTheStatisticsSaysHowThePlanStands) {
    TestJob job = BeamJob();
    NumberFormat comma;
    comma.DecimalSeparator = ",";
    comma.ThousandSeparator = ".";
    const StatisticsTexts panel = FormatStatistics(Statistics{}, comma);
    const RecordingPrintEngine plain = Report(job, panel);
    SolutionBound b;
    b.Known = true;
    b.UsedBars = 2;
    b.Used = 12050;
    b.LowerBound = 11950;
    b.TimedOut = true;
    job.Result.Bound = b;
    const RecordingPrintEngine e = Report(job, panel);
    ASSERT_EQ(e.Objects().size(), plain.Objects().size() + 1);
    const PlacedObject* line = Find(e, Body + BoundText(b, comma));
    ASSERT_NE(line, nullptr);
    EXPECT_NE(line->Text.find("12,050 m"), std::string::npos) << line->Text;
    EXPECT_NEAR(line->Top, Placed(e, Kind::FramedText).back().Bottom + 0.2, Near);
    EXPECT_EQ(line->Left, 1.0);
}

TestJob LeftOverJob(bool scrapAll) {
    TestJob job = testing::LeftOverJob(scrapAll);
    testing::StatsOf(job);
    return job;
}

// The report's texts in order, each indented by its kind: singulars, plurals, returns and the
// pieces the stock could not take.
TEST(PdfReport, SingularsPluralsAndPiecesNotIncorporated) {
    const std::string note = "[N S10 B I C Black]";
    const std::string heading = "[N S12 B C DkRed]";
    const std::vector<std::pair<double, std::string>> expected = {
        {1.0, "[N S16 B U C DkRed]Cutting instructions are as follows:"},
        {1.0, heading + "From the following stock bars:"},
        {2.0, Body + "1 bar at 6000mm"},
        {2.0, Body + "2 bars at 4000mm"},
        {1.0, heading + "Cut the following components:"},
        {2.0, Body + "2 pieces at 7000mm long"},
        {2.0, Body + "2 pieces at 5000mm long"},
        {2.0, Body + "7 pieces at 2000mm long"},
        {1.0, heading + "With the following allowances:"},
        {2.0, Body + "All stock bars to be trimmed by 25mm"},
        {2.0, Body + "A vice hold allowance of 0mm per bar"},
        {2.0, Body + "A wastage of 3mm per saw cut"},
        {2.0, Body + "Any offcuts over 500mm to be returned to stock"},
        {1.0, "[N S 12 B C DkRed]Cutting Pattern Number 1:"},
        {2.0, Body + "From 1 at 6000mm, cut the following:"},
        {2.0, Body + "1 cut at 5000mm long, producing 1 piece"},
        {3.0, "[N S10 B I C DkRed]* Return 1 at 972mm offcut to stock *"},
        {1.0, "[N S 12 B C DkRed]Cutting Pattern Number 2:"},
        {2.0, Body + "From 2 at 4000mm, cut the following:"},
        {2.0, Body + "1 cut at 2000mm long, producing 2 pieces"},
        {3.0, "[N S10 B I C DkRed]* Return 2 at 1972mm offcuts to stock *"},
        {1.0, "[N S16 B U C DkRed]Please Note: "},
        {1.0,
         "[N S10 L B I C Black]The following items could not be incorporated into the cutting "
         "matrix due to insufficient stock lengths being available"},
        {1.0, note + "(Note statistics are for allocated stock only):"},
        {2.0, note + "1 piece at 7000mm long"},
        {2.0, note + "1 piece at 5000mm long"},
        {2.0, note + "5 pieces at 2000mm long"},
    };
    const auto texts = Placed(Report(LeftOverJob(false)), Kind::Text, 1);
    ASSERT_EQ(texts.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(texts[i].Text, expected[i].second);
        EXPECT_NEAR(texts[i].Left, expected[i].first, Near) << expected[i].second;
    }

    // "Scrap all waste": the last allowance line changes, no return lines and no offcut boxes.
    const RecordingPrintEngine scrapped = Report(LeftOverJob(true));
    const auto lines = TextsOf(Placed(scrapped, Kind::Text, 1));
    EXPECT_EQ(lines[12], Body + "All waste material to be scrapped");
    for (const std::string& line : lines) EXPECT_EQ(line.find("Return"), std::string::npos) << line;
    EXPECT_NE(Find(scrapped, "[I CE]Scrap"), nullptr);
    for (const PlacedObject& box : Placed(scrapped, Kind::Box, 2)) EXPECT_NE(box.Fill, White);
}

void ExpectEdges(const PlacedObject& o, double left, double top, double right, double bottom) {
    EXPECT_NEAR(o.Left, left, Near) << o.Text;
    EXPECT_NEAR(o.Top, top, Near) << o.Text;
    EXPECT_NEAR(o.Right, right, Near) << o.Text;
    EXPECT_NEAR(o.Bottom, bottom, Near) << o.Text;
}

std::vector<PlacedObject> Bars(const RecordingPrintEngine& engine) {
    std::vector<PlacedObject> bars;
    for (const PlacedObject& o : Placed(engine, Kind::Box)) {
        if (o.Fill == Silver) bars.push_back(o);
    }
    return bars;
}

TEST(PdfReport, DiagramOfTheWorkedExample) {
    const RecordingPrintEngine engine = Report(BeamJob());
    ASSERT_EQ(engine.Pages().size(), 2u);
    EXPECT_EQ(engine.Pages()[1].PageOrientation, Orientation::Landscape);
    EXPECT_EQ(Placed(engine, Kind::Picture, 2)[0].Text, "R2");
    // Label " 2 x 6000" at 8 points: 9 x 0.16 = 1.44 wide, 0.4 high; a blank is 0.16. The
    // drawing width is 28.7 - 1.0 - 1.44 - 0.16 = 26.1 for 6000 mm.
    const auto boxes = Placed(engine, Kind::Box, 2);
    ASSERT_EQ(boxes.size(), 7u);  // bar, trim, four pieces, offcut; kerfs of 0.013 are left out
    EXPECT_EQ(boxes[0].Fill, Silver);
    ExpectEdges(boxes[0], 1.0, 3.2, 27.1, 4.2);
    const PlacedObject* label = Find(engine, "[IO R C Black]2 x 6000");
    ASSERT_NE(label, nullptr);
    EXPECT_NEAR(label->Left, 27.1 + 2 * 0.16, Near);
    EXPECT_NEAR(label->Top, 3.5, Near);
    EXPECT_EQ(label->Size, 8);

    EXPECT_EQ(boxes[1].Fill, Black);  // trim 25 mm: 0.10875
    ExpectEdges(boxes[1], 1.0, 3.25, 1.10875, 4.15);
    EXPECT_EQ(boxes[2].Fill, PiecePalette[0]);
    EXPECT_NEAR(boxes[3].Left, 1.10875 + 6.525 + 0.01305, Near);  // past the undrawn kerf
    EXPECT_EQ(boxes[5].Fill, PiecePalette[1]);
    EXPECT_EQ(boxes[6].Fill, White);  // offcut to the bar's end, too short for its label
    ExpectEdges(boxes[6], 27.1 - 463 * 26.1 / 6000, 3.25, 27.1, 4.15);

    const PlacedObject* piece = Find(engine, "[IO CE]1500");
    ASSERT_NE(piece, nullptr);
    EXPECT_NEAR(piece->Top, 3.25 + (0.9 - 0.4) / 2, Near);
    EXPECT_EQ(piece->TextColour, White);
    EXPECT_EQ(Find(engine, "[I CE]Trim"), nullptr);
    EXPECT_EQ(Find(engine, "[I CE]Offcut & Hold: 463"), nullptr);
}

TEST(PdfReport, BarHeightRuleAndDiagramPageBreaks) {
    // 16.8 / (12 x 1.05) is at least 1: bars 1 cm high, 1.1 apart, on one landscape page.
    const RecordingPrintEngine twelve = Report(BarsJob(12));
    const auto first = Bars(twelve);
    EXPECT_EQ(first.front().Page, static_cast<int>(twelve.Pages().size()));
    EXPECT_EQ(twelve.Pages().back().PageOrientation, Orientation::Landscape);
    for (const PlacedObject& bar : first) {
        EXPECT_NEAR(bar.Bottom - bar.Top, 1.0, Near);
        EXPECT_EQ(bar.Page, first.front().Page);
    }
    EXPECT_NEAR(first[11].Top, 3.2 + 11 * 1.1, Near);

    // Twenty: the label's 0.4 + 0.2 rounds to 1; a bar at 18.6 would pass 19.4, so 14 fit.
    const RecordingPrintEngine twenty = Report(BarsJob(20));
    const auto bars = Bars(twenty);
    ASSERT_EQ(bars.size(), 20u);
    EXPECT_EQ(bars[13].Page, bars[0].Page);
    EXPECT_EQ(bars[14].Page, bars[0].Page + 1);
    EXPECT_NEAR(bars[14].Top, 3.2, Near);
    EXPECT_EQ(twenty.Pages().back().PageOrientation, Orientation::Landscape);
    EXPECT_EQ(Placed(twenty, Kind::Picture, bars[14].Page)[0].Text, "R2");

    // Line heights (the label is 0.8 of one) against bar heights. Label 0.2 high: sixteen
    // patterns just fit (16.8 / 16.8), seventeen fall back to round(0.4). A label taller than
    // 1 cm always falls back; halves go to the even centimetre.
    const std::tuple<int, double, double> heights[] = {{16, 0.25, 1.0},
                                                       {17, 0.25, 0.0},
                                                       {1, 2.875, 2.0} /* 2.3 + 0.2 */,
                                                       {1, 4.125, 4.0} /* 3.3 + 0.2 */,
                                                       {1, 2.0, 2.0} /* 1.6 + 0.2 */};
    for (const auto& [patterns, lineHeight, barHeight] : heights) {
        const PlacedObject bar = Bars(Report(BarsJob(patterns), Panel(), lineHeight)).front();
        EXPECT_DOUBLE_EQ(bar.Bottom - bar.Top, barHeight) << patterns << " at " << lineHeight;
    }
}

// What holds on every page of any report: nothing outside the page, no two texts over each
// other, each bar's boxes inside it and apart, every piece of a pattern drawn once, and a page
// number at the foot of every page, ending 2 cm short of the right margin.
TEST(PdfReport, EveryReportKeepsToItsPagesAndDrawsEveryPieceOnce) {
    TestJob scrapped = testing::WorkedExampleJob(300, true);
    testing::StatsOf(scrapped);
    TestJob shortRemnants = testing::WorkedExampleJob(500);  // 463 mm: scrap
    testing::StatsOf(shortRemnants);
    std::vector<std::pair<std::string, TestJob>> jobs = {
        {"worked example", BeamJob()},
        {"scrapped", scrapped},
        {"remnants below the offcut length", shortRemnants},
        {"41 cut rows", PlainJob({})},
        {"36 cut rows", PlainJob({})},
        {"20 bars", BarsJob(20)},
        {"blocks over a page break",
         PlainJob({LengthsPattern(20), LengthsPattern(32), LengthsPattern(1), LengthsPattern(5)})},
        {"pieces left over", LeftOverJob(false)},
        {"a pattern taller than a page", PlainJob({LengthsPattern(3), LengthsPattern(60)})},
    };
    for (const auto& [at, rows] : {std::pair{3, 41}, std::pair{4, 36}}) {
        jobs[at].second.Result.InputCutLength.assign(rows, 100);
        jobs[at].second.Result.InputCutQuantity.assign(rows, 1);
    }
    for (const auto& [name, job] : jobs) {
        SCOPED_TRACE(name);
        const RecordingPrintEngine engine = Report(job);
        const auto& pages = engine.Pages();
        EXPECT_EQ(engine.StyleValue(StyleSetting::One), 2);
        EXPECT_EQ(engine.StyleValue(StyleSetting::Three), 1);
        int numbers = 0;
        for (const PlacedObject& o : engine.Objects()) {
            ASSERT_GE(o.Page, 1);
            ASSERT_LE(o.Page, static_cast<int>(pages.size()));
            const auto& page = pages[static_cast<std::size_t>(o.Page - 1)];
            EXPECT_LE(o.Left, o.Right + Near) << o.Text;
            EXPECT_LE(o.Top, o.Bottom + Near) << o.Text;
            EXPECT_GE(o.Left, page.LeftMargin - Near) << o.Text;
            EXPECT_LE(o.Right, page.RightMargin + Near) << o.Text;
            EXPECT_GE(o.Top, 0.0) << o.Text;
            // Only the page number sits below the bottom margin; banners sit on white.
            if (o.Text.starts_with("[I S 8]Page ")) {
                EXPECT_EQ(o.Text, "[I S 8]Page " + std::to_string(++numbers) + " of " +
                                      std::to_string(pages.size()));
                EXPECT_EQ(o.Page, numbers);
                EXPECT_EQ(o.TextColour, DarkRed);
                EXPECT_NEAR(o.Left, 1.0, Near);
                const bool portrait = page.PageOrientation == Orientation::Portrait;
                EXPECT_NEAR(o.Top, portrait ? 28.7 : 20.0, Near);
                EXPECT_NEAR(o.Right, page.RightMargin - 2.0, Near);
            } else {
                EXPECT_LE(o.Bottom, page.BottomMargin + Near) << o.Text;
            }
            if (o.Text.starts_with("[N S 32")) {
                EXPECT_EQ(o.Fill, White) << "page " << o.Page;
            }
        }
        EXPECT_EQ(numbers, static_cast<int>(pages.size()));
        // Texts never overlap; labels inside a box are drawn over it, not over other texts.
        const auto texts = Placed(engine, Kind::Text);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            for (std::size_t j = i + 1; j < texts.size(); ++j) {
                const PlacedObject &a = texts[i], &b = texts[j];
                const bool apart = a.Page != b.Page || a.Bottom <= b.Top + Near ||
                                   b.Bottom <= a.Top + Near || a.Right <= b.Left + Near ||
                                   b.Right <= a.Left + Near;
                EXPECT_TRUE(apart) << a.Text << " over " << b.Text;
            }
        }
        // A bar per pattern, in order; its boxes inside it, left to right, the pieces once each.
        const auto bars = Bars(engine);
        ASSERT_EQ(static_cast<int>(bars.size()), job.Result.PatternCount());
        const auto boxes = Placed(engine, Kind::Box);
        for (std::size_t b = 0; b < bars.size(); ++b) {
            const PlacedObject& bar = bars[b];
            const CuttingPattern& pattern = job.Result.Patterns[b];
            int pieces = 0, white = 0;
            double lastRight = bar.Left;
            for (const PlacedObject& box : boxes) {
                const bool inBar = box.Page == bar.Page && box.Top >= bar.Top - Near &&
                                   box.Bottom <= bar.Bottom + Near && box.Fill != Silver;
                if (!inBar) continue;
                EXPECT_GE(box.Left, lastRight - Near) << "pattern " << b + 1;
                EXPECT_LE(box.Right, bar.Right + Near) << "pattern " << b + 1;
                lastRight = box.Right;
                white += box.Fill == White;
                pieces += std::find(PiecePalette.begin(), PiecePalette.end(), box.Fill) !=
                          PiecePalette.end();
            }
            int expected = 0;
            for (int k = 0; k < pattern.LengthCount(); ++k) expected += pattern.PieceCount[k];
            EXPECT_EQ(pieces, expected) << "pattern " << b + 1;
            // The remnant is white when it returns to stock, black scrap otherwise.
            EXPECT_EQ(white, pattern.IsOffcut && !job.Input.Allowances.NoOffcuts ? 1 : 0)
                << "pattern " << b + 1;
        }
    }
}

class ReportFiles : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(data_); }
    ReportOutcome Run(const std::filesystem::path& jobFile = {}) {
        return PrintCuttingReport(engine_, BeamJob().Input, BeamJob().Result, Panel(), data_,
                                  jobFile);
    }

    testing::TempFolder root_;
    std::filesystem::path data_ = root_.Path() / "data";
    RecordingPrintEngine engine_;
};

TEST_F(ReportFiles, SaveFailureIsReportedAndTheDocumentClosed) {
    engine_.FailSave = true;
    const ReportOutcome outcome = Run();
    EXPECT_EQ(outcome.Status, ReportOutcome::Result::SaveFailed);
    EXPECT_EQ(outcome.Message, "Error creating PDF file \"" + (data_ / "~Tallora1.pdf").string() +
                                   "\"!\nA previous version with the same filename is still open.\n"
                                   "Please close it and try again.");
    EXPECT_FALSE(engine_.IsOpen());

    // A layout that throws closes the document too; one left open is closed and replaced.
    class Failing : public RecordingPrintEngine {
        void DoDrawPicture(const std::string&, Coord, Coord, Coord, Coord) override {
            throw std::runtime_error("no picture");
        }
    } failing;
    failing.OpenDoc();
    EXPECT_THROW(PrintCuttingReport(failing, BeamJob().Input, BeamJob().Result, Panel(), data_, {}),
                 std::runtime_error);
    EXPECT_FALSE(failing.IsOpen());
}

TEST_F(ReportFiles, FileErrorsStopTheRunBeforeAnyDocument) {
    // A "Tallora.pdf" that cannot be opened for writing: the system's own words.
    std::filesystem::create_directory(data_ / "Tallora.pdf");
    ReportOutcome outcome = Run();
    EXPECT_EQ(outcome.Status, ReportOutcome::Result::FileError);
    EXPECT_EQ(outcome.Message, std::generic_category().message(EISDIR));
    EXPECT_TRUE(std::filesystem::exists(data_ / "Tallora.pdf"));

    // No data folder is no licence to write at the root.
    outcome = PrintCuttingReport(engine_, BeamJob().Input, BeamJob().Result, Panel(), {}, {});
    EXPECT_EQ(outcome.Status, ReportOutcome::Result::FileError);
    EXPECT_FALSE(outcome.Message.empty());
    EXPECT_TRUE(engine_.Calls().empty());
    EXPECT_FALSE(std::filesystem::exists(data_ / "~Tallora1.pdf"));
}

TEST(PdfReport, MillionsOfPiecesAndThousandsOfPatternsStayWithinBounds) {
    // A run of pieces narrower than a printed dot is one box in the diagram.
    const RecordingPrintEngine pieces = Report(PlainJob({Pattern(18000, 1, {1}, {2000000})}));
    EXPECT_LT(Placed(pieces, Kind::Box).size(), 10u);

    // A job that would need more pages ends with a page that says so.
    const RecordingPrintEngine many = Report(BarsJob(20000));
    EXPECT_EQ(static_cast<int>(many.Pages().size()), MaxReportPages);
    const auto last = Placed(many, Kind::Text, MaxReportPages);
    ASSERT_FALSE(last.empty());
    EXPECT_NE(last.back().Text.find("The report stops here: the whole of it would take more "
                                    "than 500 pages."),
              std::string::npos);
}

}  // namespace
}  // namespace tallora
