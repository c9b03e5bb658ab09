#include "report/PdfReport.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <fstream>
#include <optional>
#include <system_error>

#include "job/Capacities.h"
#include "results/CuttingDiagram.h"
#include "results/CuttingList.h"
#include "results/LengthFormat.h"
#include "results/PieceColours.h"
#include "results/SolutionBoundText.h"

namespace tallora {

namespace {

using enum PositionCode;

constexpr double HeadingX = 1.0;
constexpr double BodyX = 2.0;
constexpr double OffcutX = 3.0;
constexpr double PortraitTop = 5.0;  // below the banner
constexpr double FootRoom = 0.6;     // kept clear above the bottom margin

constexpr const char* Heading16 = "[N S16 B U C DkRed]";
constexpr const char* Heading12 = "[N S12 B C DkRed]";
constexpr const char* PatternHeading = "[N S 12 B C DkRed]";
constexpr const char* CustomerLine = "[N S18 B I CE C DkRed]";
constexpr const char* Body = "[N S10 B C Black]";
constexpr const char* OffcutLine = "[N S10 B I C DkRed]";
constexpr const char* NoteLine = "[N S10 B I C Black]";
constexpr const char* WrappedNoteLine = "[N S10 L B I C Black]";
constexpr const char* Continued = "[N S12 B C DkRed]continued...";

constexpr int HoldWastageRow = 6;

std::string Str(long long value) { return std::to_string(value); }

// Halves go to the even neighbour: 2.5 is 2, 3.5 is 4.
double RoundHalfEven(double value) {
    if (std::fabs(value - std::trunc(value)) == 0.5) return 2.0 * std::round(value / 2.0);
    return std::round(value);
}

class ReportLayout {
public:
    ReportLayout(PrintEngine& engine, const JobInput& input, const CalculationResult& result,
                 const StatisticsTexts& panel)
        : e_(engine),
          input_(input),
          result_(result),
          colours_(result),
          a_(input.Allowances),
          panel_(panel) {}

    // A length with its unit, and the bare figure the diagrams label a metric bar with.
    std::string Len(long long length) const { return FormatLength(length, input_.Units); }
    // A fixed word of the report in the language of the panel's texts.
    std::string T(const std::string& english) const {
        return panel_.Translate ? panel_.Translate(english) : std::string(english);
    }
    std::string Bare(long long length) const {
        return input_.Units.Imperial() ? Len(length) : Str(length);
    }

    void Run() {
        try {
            Prepare();
            Customer();
            StockBars();
            Components();
            AllowanceLines();
            PatternBlocks();
            NotIncorporated();
            StatisticsTable();
            Diagrams();
        } catch (const ReportFull&) {
            // A last page says so, in the orientation of the one before.
            e_.NewPage();
            e_.WriteText(HeadingX, e_.GetMargin(TopMargin), RightMargin, Free,
                         std::string(Heading12) +
                             "The report stops here: the whole of it would "
                             "take more than " +
                             Str(MaxReportPages) + " pages. The cutting list holds every pattern.");
        }
        PageNumbers();
    }

private:
    // The report has as many pages as it may have: what follows would not be printed.
    struct ReportFull {};

    // A page more, while the report has room for one besides its closing note.
    void NewPage() {
        if (e_.PageCount() >= MaxReportPages - 1) throw ReportFull{};
        e_.NewPage();
    }

    // --- page furniture ---

    void Prepare() {
        e_.SetDocFileReadOnly(false);
        const double width = e_.PageWidth();
        const double height = e_.PageHeight();
        e_.SetOutputArea(1.0, PortraitTop, width - 1.0, height - 1.0);
        e_.SetMargin(TopMargin, PortraitTop);
        e_.SetMargin(LeftMargin, 1.0);
        e_.SetMargin(RightMargin, width - 1.0);
        e_.SetMargin(BottomMargin, height - 1.0);
        PortraitBanner();
        y_ = e_.GetMargin(TopMargin);
    }

    void PortraitBanner() {
        e_.SetPenWidth(0);
        e_.SetPenColour(DarkRed);
        e_.DrawPicture("R1", 1.0, 1.0, Free, Free);
        e_.SetPenWidth(0.01);
        e_.SetFontName("Ariel Black");
        e_.SetStyleValue(StyleSetting::One, 1);
        e_.WriteText(6.0, 1.5, RightMargin, Free, "[N S 32 B R C DkRed]Tallora");
        e_.SetFontName("Calibri");
        e_.WriteText(6.0, LastBottom, RightMargin, Free,
                     std::string("[N S 10 B R C DkRed]") + MakerName);
        e_.WriteText(6.0, LastBottom, RightMargin, Free,
                     std::string("[N S 8 B R C DkGray]") + MakerWebAddress);
    }

    void LandscapeBanner() {
        e_.SetPageOrientation(Orientation::Landscape);
        const double width = e_.PageWidth();
        const double height = e_.PageHeight();
        e_.SetMargin(TopMargin, 3.2);
        e_.SetMargin(LeftMargin, 1.0);
        e_.SetMargin(RightMargin, width - 1.0);
        e_.SetMargin(BottomMargin, height - 1.0);
        e_.SetOutputArea(1.0, 1.0, width - 1.0, height - 2.0);
        e_.SetPenWidth(0);
        e_.DrawPicture("R2", 1.0, 1.0, Free, Free);
        e_.SetPenWidth(0.01);
        e_.SetFontName("Ariel Black");
        e_.SetStyleValue(StyleSetting::One, 1);
        e_.SetFillColour(White);
        e_.WriteText(6.0, 1.0, RightMargin, Free, "[N S 32 IO B R C DkRed]Tallora");
        e_.SetFontName("Calibri");
        e_.WriteText(6.0, LastBottom, RightMargin, Free,
                     std::string("[N S 10 IO B R C DkRed]") + MakerName);
        e_.WriteText(6.0, LastBottom, RightMargin, Free,
                     std::string("[N S 8  IO B R C DkGray]") + MakerWebAddress);
    }

    // Height of one line in a style, from a one-character sample.
    double LineHeight(const std::string& style) {
        e_.MeasureText(HeadingX, y_, Free, Free, style + "X");
        return e_.MeasuredHeight();
    }

    // Starts a new page unless `needed` centimetres remain above the foot. With `fit`, a block
    // that would not fit an empty page either stays where it is. Returns whether it broke.
    bool PageCheck(double needed, const char* heading, bool fit) {
        const double limit = e_.GetMargin(BottomMargin) - FootRoom;
        if (limit - e_.GetPosition(LastBottom) >= needed) return false;
        if (fit && limit - PortraitTop <= needed) return false;
        NewPage();
        PortraitBanner();
        y_ = PortraitTop;
        if (heading != nullptr) y_ = e_.WriteText(HeadingX, PortraitTop, Free, Free, heading);
        return true;
    }

    // Gaps are left out near the page's foot.
    void Gap(double size) {
        if (e_.GetMargin(BottomMargin) - e_.GetPosition(LastBottom) > size) y_ += size;
    }

    void Write(double x, const std::string& text) { y_ = e_.WriteText(x, y_, Free, Free, text); }

    // --- text section ---

    void Customer() {
        bool any = false;
        const auto line = [&](const char* caption, const std::string& value) {
            if (value.empty()) return;
            y_ = e_.WriteText(HeadingX, y_, RightMargin, Free, CustomerLine + T(caption) + value);
            any = true;
        };
        line("Customer: ", input_.Section.Customer);
        line("Reference: ", input_.Section.Reference);
        line("Section: ", input_.Section.Name);
        if (any) y_ += 0.5;
    }

    void StockBars() {
        Write(HeadingX, std::string(Heading16) + T("Cutting instructions are as follows:"));
        Write(HeadingX, std::string(Heading12) + T("From the following stock bars:"));
        for (int j = 0; j < result_.InputStockCount(); ++j) {
            PageCheck(LineHeight(Body), Continued, false);
            const int used =
                j < static_cast<int>(result_.StockBarsUsed.size()) ? result_.StockBarsUsed[j] : 0;
            if (used == 0) continue;
            Write(BodyX,
                  Body + T(StockBarsPhrase(used, result_.InputStockLength[j] + a_.Trim + a_.Hold,
                                           input_.Units)));
        }
    }

    void Components() {
        Gap(0.5);
        PageCheck(LineHeight(Heading12) + LineHeight(Body) + 0.5, nullptr, false);
        Write(HeadingX, std::string(Heading12) + T("Cut the following components:"));
        for (int r = 0; r < result_.InputCutCount(); ++r) {
            const int q = result_.InputCutQuantity[r];
            const int length = result_.InputCutLength[r] - a_.Kerf;
            PageCheck(LineHeight(Body), Continued, false);
            Write(BodyX, Body + Str(q) + T(q > 1 ? " pieces at " : " piece at ") + Len(length) +
                             T(" long"));
        }
    }

    void AllowanceLines() {
        Gap(0.5);
        PageCheck(LineHeight(Heading12) + 4 * LineHeight(Body), nullptr, false);
        Write(HeadingX, std::string(Heading12) + T("With the following allowances:"));
        Write(BodyX, Body + (T("All stock bars to be trimmed by ") + Len(a_.Trim)));
        Write(BodyX, Body + (T("A vice hold allowance of ") + Len(a_.Hold) + T(" per bar")));
        Write(BodyX, Body + (T("A wastage of ") + Len(a_.Kerf) + T(" per saw cut")));
        if (a_.NoOffcuts) {
            Write(BodyX, std::string(Body) + T("All waste material to be scrapped"));
        } else {
            Write(BodyX,
                  Body + (T("Any offcuts over ") + Len(a_.Offcut) + T(" to be returned to stock")));
        }
    }

    void PatternBlocks() {
        Gap(0.5);
        for (int p = 0; p < result_.PatternCount(); ++p) {
            const CuttingPattern& pattern = result_.Patterns[p];
            const bool offcut = pattern.IsOffcut && !a_.NoOffcuts;
            const bool inventory = PatternFromInventoryOffcuts(result_, p);
            // The block's "From" line is not counted in its height.
            const double needed = LineHeight(PatternHeading) +
                                  (pattern.LengthCount() + (inventory ? 1 : 0)) * LineHeight(Body) +
                                  (offcut ? LineHeight(OffcutLine) : 0.0);
            PageCheck(needed, nullptr, true);
            Write(HeadingX, PatternHeading + T(PatternNumberPhrase(p + 1)));
            Write(BodyX, Body + T(PatternSourcePhrase(pattern, a_, input_.Units)));
            // A block taller than a page goes on over the next; one that fits never breaks here.
            const auto line = [&](double x, const std::string& text, const char* style) {
                PageCheck(LineHeight(style), Continued, false);
                Write(x, text);
            };
            if (inventory) line(BodyX, Body + T(InventoryOffcutsPhrase()), Body);
            for (int k = 0; k < pattern.LengthCount(); ++k)
                line(BodyX, Body + T(CutPhrase(pattern, k, a_, input_.Units)), Body);
            if (offcut)
                line(OffcutX, OffcutLine + T(OffcutReturnPhrase(pattern, input_.Units)),
                     OffcutLine);
            Gap(0.2);
        }
        if (result_.PatternCount() > 0) Gap(0.3);
    }

    void NotIncorporated() {
        if (result_.RemainingPieces <= 0) return;
        // Left-aligned: within the margins the banner's right alignment would apply.
        const std::string note =
            std::string(WrappedNoteLine) +
            T("The following items could not be incorporated into the cutting matrix " +
              (result_.PatternStoreFull
                   ? "because the job is too large: it needs more than " + Str(MaxPatterns) +
                         " cutting patterns"
                   : std::string("due to insufficient stock lengths being available")));
        const double heading = LineHeight(Heading16);
        const double line = LineHeight(NoteLine);
        // The note wraps at the right margin rather than run past it.
        e_.MeasureText(HeadingX, y_, RightMargin, Free, note);
        const double noteHeight = e_.MeasuredHeight();
        if (!PageCheck(heading + noteHeight + line + result_.RemainingPieces * line, nullptr,
                       true)) {
            PageCheck(heading + noteHeight + 3 * line, nullptr, false);
        }
        Write(HeadingX, std::string(Heading16) + T("Please Note: "));
        y_ = e_.WriteText(HeadingX, y_, RightMargin, Free, note);
        Write(HeadingX,
              std::string(NoteLine) + T("(Note statistics are for allocated stock only):"));
        for (const WorkingCutRow& row : result_.Cuts) {
            const int q = row.CutQuantity;
            if (q <= 0) continue;
            PageCheck(LineHeight(NoteLine), nullptr, false);
            Write(BodyX, NoteLine + Str(q) + T(q > 1 ? " pieces at " : " piece at ") +
                             Len(row.CutLength - a_.Kerf) + T(" long"));
        }
    }

    // --- statistics ---

    void StatisticsTable() {
        constexpr const char* Header = "[N S10 CE B C Black]";
        constexpr const char* Caption = "[N S10 L B C Black]";
        Gap(0.5);
        const std::string bound =
            result_.Bound ? std::string(Body) + BoundText(*result_.Bound, panel_.Format) : "";
        PageCheck(LineHeight(Heading16) + (bound.empty() ? 10.3 : 11.5) * LineHeight(Header),
                  nullptr, false);
        Write(HeadingX, std::string(Heading16) + T("Statistics"));
        const double column = (e_.GetMargin(RightMargin) - e_.GetMargin(LeftMargin)) / 5;

        // Cells sit side by side, each from the right edge of the one before.
        const auto row = [&](Colour firstFrame, const std::string& first,
                             const std::array<std::string, 4>& rest) {
            e_.SetPenColour(firstFrame);
            double bottom = e_.WriteFramedText(HeadingX, y_, HeadingX + column, Free, first);
            e_.SetPenColour(DarkRed);
            for (const std::string& text : rest) {
                const double x = e_.GetPosition(LastRight);
                bottom = std::max(bottom, e_.WriteFramedText(x, y_, x + column, Free, text));
            }
            y_ = bottom;
        };
        row(White, "",
            {std::string(Header) + T(input_.Units.Imperial() ? "Footage" : "Metreage"),
             std::string(Header) + T("Percentage"), std::string(Header) + T("Cost"),
             std::string(Header) + T("Weight")});
        for (int i = 0; i < StatisticsRows; ++i) {
            const std::string caption =
                i == HoldWastageRow ? T("Hold wastage:") : panel_.Captions[i];
            row(DarkRed, Caption + caption,
                {Header + panel_.Metres[i], Header + panel_.Percent[i], Header + panel_.Cost[i],
                 Header + panel_.Weight[i]});
        }
        // After Optimal: how the plan stands against the bound.
        if (!bound.empty()) {
            Gap(0.2);
            Write(HeadingX, bound);
        }
    }

    // --- cutting diagrams ---

    struct Bar {
        double Top;
        double Bottom;
        double Right;
    };

    void Diagrams() {
        NewPage();
        LandscapeBanner();
        e_.SetStyleValue(StyleSetting::Two, 8);  // the labels carry no size code
        if (result_.PatternCount() == 0) return;

        int maxLen = 0;
        int maxBars = 0;
        for (const CuttingPattern& p : result_.Patterns) {
            maxLen = std::max(maxLen, BarLength(p, a_));
            maxBars = std::max(maxBars, p.BarCount);
        }
        if (maxLen <= 0) return;
        const std::string labelStyle = "[R IO C Black] ";
        e_.MeasureText(HeadingX, e_.GetMargin(TopMargin), Free, Free,
                       labelStyle + Str(maxBars) + " x " + Bare(maxLen));
        const double labelWidth = e_.MeasuredWidth();
        const double labelHeight = e_.MeasuredHeight();
        e_.MeasureText(HeadingX, e_.GetMargin(TopMargin), Free, Free, labelStyle);
        blankWidth_ = e_.MeasuredWidth();

        const double n = result_.PatternCount();
        const double room = e_.GetMargin(BottomMargin) - e_.GetMargin(TopMargin);
        const double barHeight = room / (n * BoxGap + n) >= 1.0 && !(1.0 < labelHeight)
                                     ? 1.0
                                     : RoundHalfEven(labelHeight + 4 * BoxGap);
        scale_ = (e_.GetMargin(RightMargin) - 1.0 - labelWidth - blankWidth_) / maxLen;

        double y = e_.GetMargin(TopMargin);
        for (const CuttingPattern& p : result_.Patterns) {
            if (y + barHeight > e_.GetMargin(BottomMargin) - FootRoom) {
                NewPage();
                LandscapeBanner();
                y = e_.GetMargin(TopMargin);
            }
            const Bar bar = DrawBar(p, y, barHeight);
            y = bar.Bottom + 0.1;
            InnerBoxes(p, bar);
        }
    }

    Bar DrawBar(const CuttingPattern& p, double y, double height) {
        const int barLen = BarLength(p, a_);
        const double right = HeadingX + barLen * scale_;
        e_.SetPenColour(Black);
        e_.SetFillColour(Silver);
        e_.DrawBox(HeadingX, y, right, y + height);
        const Bar bar{y, e_.GetPosition(LastBottom), right};

        const std::string label = "[IO R C Black]" + Str(p.BarCount) + " x " + Bare(barLen);
        e_.MeasureText(right, y, Free, Free, label);
        const double labelTop = bar.Top + (bar.Bottom - bar.Top - e_.MeasuredHeight()) / 2;
        e_.SetFillColour(White);
        e_.SavePosition();
        e_.WriteText(right + 2 * blankWidth_, labelTop, Free, Free, label);
        e_.RestorePosition();
        return bar;
    }

    void InnerBoxes(const CuttingPattern& p, const Bar& bar) {
        const double top = bar.Top + BoxGap;
        const double bottom = bar.Bottom - BoxGap;
        double x = e_.GetMargin(LeftMargin);
        const auto box = [&](double width, Colour fill, const std::string& label,
                             const std::string& fitSample, double spare) {
            e_.SetPenColour(Black);
            e_.SetFillColour(fill);
            e_.DrawBox(x, top, x + width, bottom);
            e_.MeasureText(x, top, Free, Free, fitSample);
            if (width > e_.MeasuredWidth() + spare) {
                if (fitSample != label) e_.MeasureText(x, top, Free, Free, label);
                e_.SetTextColour(LabelColourOn(fill));
                e_.WriteText(x, top + (bottom - top - e_.MeasuredHeight()) / 2, x + width, Free,
                             label);
            }
        };

        // A trim or kerf too narrow to draw still takes its place along the bar.
        const double trim = a_.Trim * scale_;
        if (trim >= 0.1) {
            const std::string label = "[I CE]" + T("Trim");
            box(trim, Black, label, label, 0.0);
        }
        x += trim;
        for (int k = 0; k < p.LengthCount(); ++k) {
            const int length = p.CutLength[k] - a_.Kerf;
            const Colour colour = colours_.Of(p.CutLength[k]);
            const std::string label = "[IO CE]" + Bare(length);
            // Pieces narrower than a printed dot are drawn as one box for the run, kerfs and all:
            // box by box a pattern of millions of pieces would take minutes and gigabytes.
            const double each = p.CutLength[k] * scale_;
            if (p.PieceCount[k] > 1 && each < PrintedDot) {
                const double run = each * p.PieceCount[k];
                box(run, colour, label, label, BoxGap);
                x += run;
                continue;
            }
            for (int piece = 0; piece < p.PieceCount[k]; ++piece) {
                const double width = length * scale_;
                box(width, colour, label, label, BoxGap);
                x += width;
                const double kerf = a_.Kerf * scale_;
                if (a_.Kerf != 0 && kerf > 0.1)
                    box(kerf, Black, "[I CE]" + T("Kerf"), "[I]" + T("Kerf") + " ", BoxGap);
                x += kerf;
            }
        }
        if (p.IsOffcut && !a_.NoOffcuts) {
            const std::string label =
                "[I CE]" + T(a_.Hold > 0 ? "Offcut & Hold: " : "Offcut: ") + Bare(p.OffcutLength);
            box(bar.Right - x, White, label, label, 3 * BoxGap);
        } else if (bar.Right - x > 0.01) {
            const std::string label = "[I CE]" + T(a_.Hold > 0 ? "Scrap & Hold" : "Scrap");
            box(bar.Right - x, Black, label, label, 3 * BoxGap);
        }
    }

    void PageNumbers() {
        const int pages = e_.PageCount();
        for (int i = 1; i <= pages; ++i) {
            e_.SetFillColour(White);
            e_.SetTextColour(DarkRed);
            e_.SelectPage(i);
            e_.SetStyleValue(StyleSetting::One, 2);
            e_.SetStyleValue(StyleSetting::Three, 1);
            e_.WriteText(LeftMargin, BottomMargin, e_.GetMargin(RightMargin) - 2.0, Free,
                         "[I S 8]Page " + Str(i) + " of " + Str(pages));
        }
    }

    static constexpr double BoxGap = 0.05;
    static constexpr double PrintedDot = 2.54 / 300;  // cm

    PrintEngine& e_;
    const JobInput& input_;
    const CalculationResult& result_;
    const PieceColours colours_;
    const Allowances& a_;
    const StatisticsTexts& panel_;
    double y_ = 0.0;  // top of the next line
    double scale_ = 0.0;
    double blankWidth_ = 0.0;
};

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// A "Tallora.pdf" left in the data folder goes, unless another program holds it.
std::optional<std::string> RemoveNominalReport(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return std::nullopt;
    errno = 0;
    {
        std::fstream probe(file, std::ios::in | std::ios::out | std::ios::binary);
        if (!probe.is_open()) {
            const int error = errno;
            if (error != 0) return std::generic_category().message(error);
            return "Cannot open \"" + PathText(file) + "\"";
        }
    }
    if (!std::filesystem::remove(file, ec) && ec) return ec.message();
    return std::nullopt;
}

}  // namespace

void LayOutCuttingReport(PrintEngine& engine, const JobInput& input,
                         const CalculationResult& result, const StatisticsTexts& panel) {
    ReportLayout(engine, input, result, panel).Run();
}

std::filesystem::path NumberedReportFile(const std::filesystem::path& dataDir) {
    for (long long n = 1;; ++n) {
        std::filesystem::path file = dataDir / ("~Tallora" + Str(n) + ".pdf");
        std::error_code ec;
        if (!std::filesystem::exists(file, ec)) return file;
    }
}

std::string SaveFailureMessage(const std::filesystem::path& file) {
    return "Error creating PDF file \"" + PathText(file) +
           "\"!\nA previous version with the same filename is still open.\nPlease close it and try "
           "again.";
}

ReportOutcome PrintCuttingReport(PrintEngine& engine, const JobInput& input,
                                 const CalculationResult& result, const StatisticsTexts& panel,
                                 const std::filesystem::path& dataDir,
                                 const std::filesystem::path& jobFile) {
    using Result = ReportOutcome::Result;
    // Never the root of the file system for want of a folder.
    if (dataDir.empty()) return {Result::FileError, {}, "No data folder is set for PDF reports."};
    // Only the data folder's own report is cleared: a PDF beside a job file may be the user's.
    if (jobFile.empty()) {
        if (auto error = RemoveNominalReport(dataDir / "Tallora.pdf"))
            return {Result::FileError, {}, *error};
    }

    ReportOutcome outcome;
    outcome.File = NumberedReportFile(dataDir);
    bool saved = false;
    try {
        if (engine.IsOpen()) engine.CloseDoc();
        engine.OpenDoc();
        LayOutCuttingReport(engine, input, result, panel);
        saved = engine.SaveDocument(outcome.File);
    } catch (...) {
        if (engine.IsOpen()) engine.CloseDoc();
        throw;
    }
    engine.CloseDoc();
    if (!saved) {
        outcome.Status = Result::SaveFailed;
        outcome.Message = SaveFailureMessage(outcome.File);
    }
    return outcome;
}

}  // namespace tallora
