#include "report/SawSheetReport.h"

#include <algorithm>

namespace tallora {

namespace {

using enum PositionCode;

constexpr double Left = 1.5;
constexpr double Right = 19.5;
constexpr double Top = 1.5;
constexpr double Bottom = 28.2;
constexpr double Line = 0.45;
constexpr const char* Heading = "[N S16 B C DkRed]";
constexpr const char* Caption = "[N S10 B C Black]";
constexpr const char* Body = "[N S9 C Black]";
constexpr const char* BodyBold = "[N S9 B C Black]";
constexpr const char* Note = "[N S9 I C DkRed]";

class SawSheetLayout {
public:
    SawSheetLayout(PrintEngine& e, const JobInput& input, const CalculationResult& result,
                   const SawSheet& sheet, const ReportLanguage& language)
        : e_(e), input_(input), result_(result), sheet_(sheet), language_(language) {}

    void Run() {
        e_.SetDocFileReadOnly(false);
        e_.SetOutputArea(Left, Top, Right, Bottom);
        e_.SetMargin(LeftMargin, Left);
        e_.SetMargin(TopMargin, Top);
        e_.SetMargin(RightMargin, Right);
        e_.SetMargin(BottomMargin, Bottom);
        e_.SetFontName("Calibri");
        e_.SetStyleValue(StyleSetting::One, 0);
        try {
            Header();
            Bars();
        } catch (const SheetFull&) {
            // The note is on the last page.
        }
    }

private:
    std::string T(const std::string& english) const { return InLanguage(language_, english); }

    void Bars() {
        const Allowances& a = input_.Allowances;
        for (size_t b = 0; b < sheet_.Bars.size(); ++b) {
            const SawBar& bar = sheet_.Bars[b];
            int cuts = 0;
            for (const SawRun& run : bar.Runs) cuts += run.Count;
            Room(cuts + 2);
            e_.SetPenWidth(0.02);
            e_.SetPenColour(Black);
            e_.DrawBox(Left, y_ + 0.08, Left + 0.3, y_ + 0.38);
            const int bars = result_.Patterns[static_cast<size_t>(bar.Pattern)].BarCount;
            Write(Left + 0.5, Caption + T("Bar " + std::to_string(b + 1) + ": " +
                                          FormatLength(bar.EnteredLength, input_.Units) +
                                          (bar.FromInventory ? " inventory offcut" : "") +
                                          "  (pattern " + std::to_string(bar.Pattern + 1) +
                                          ", bar " + std::to_string(bar.BarOfPattern) + " of " +
                                          std::to_string(bars) + ")"));
            long long remaining = bar.EnteredLength;
            if (a.Trim > 0) {
                remaining -= a.Trim;
                Cut(T("Trim"), FormatLength(a.Trim, input_.Units), remaining, {});
            }
            int n = 0;
            for (const SawRun& run : bar.Runs) {
                for (int k = 0; k < run.Count; ++k) {
                    remaining -= run.Length + a.Kerf;
                    Cut(std::to_string(++n) + ".", FormatLength(run.Length, input_.Units),
                        remaining, marks_.Next(run.Length));
                }
            }
            Write(Left + 1.0, std::string(bar.KeepOffcut ? Note : Body) +
                                  T((bar.KeepOffcut ? "Keep offcut " : "Scrap ") +
                                    FormatLength(bar.Remnant, input_.Units)));
            y_ += 0.2;
        }
    }

    void Header() {
        Write(Left, std::string(Heading) + T("Saw sheet"));
        y_ += 0.3;
        const SectionData& s = input_.Section;
        auto line = [&](const char* caption, const std::string& value) {
            if (!value.empty()) Write(Left, Caption + (T(caption) + value));
        };
        line("Customer: ", s.Customer);
        line("Reference: ", s.Reference);
        line("Section: ", s.Name);
        Write(Left,
              Caption + T("Bars: " + std::to_string(sheet_.Bars.size()) +
                          "    Saw cuts: " + std::to_string(sheet_.SawCuts) +
                          "    Length sawn: " + FormatLength(sheet_.SawnLength, input_.Units)));
        Write(Left, Body + T("Kerf " + FormatLength(input_.Allowances.Kerf, input_.Units) +
                             ", trim " + FormatLength(input_.Allowances.Trim, input_.Units) +
                             ", hold " + FormatLength(input_.Allowances.Hold, input_.Units) +
                             ". Cut the bars in this order; the remaining length is the bar "
                             "after each cut."));
        y_ += 0.3;
    }

    void Cut(const std::string& number, const std::string& piece, long long remaining,
             const std::string& mark) {
        if (y_ + Line > Bottom) NextPage();
        e_.WriteText(Left + 1.0, y_, Free, Free, Body + number);
        // A word in place of the number ("Trim", longer in other languages) pushes the length
        // along rather than run into it.
        e_.MeasureText(Left + 1.0, y_, Free, Free, Body + number);
        const double pieceX = std::max(Left + 2.0, Left + 1.0 + e_.MeasuredWidth() + 0.2);
        e_.WriteText(pieceX, y_, Free, Free, Body + piece);
        if (!mark.empty()) e_.WriteText(Left + 4.5, y_, Left + 8.8, Free, BodyBold + mark);
        Write(Left + 9.0, Body + T("remaining " + FormatLength(remaining, input_.Units)));
    }

    struct SheetFull {};

    // A bar that fits on a page starts on one it fits on.
    void Room(int lines) {
        if (y_ + lines * Line > Bottom && lines * Line <= Bottom - Top) NextPage();
    }

    void NextPage() {
        if (e_.PageCount() >= MaxSawSheetPages) {
            e_.WriteText(
                Left, Bottom, Right, Free,
                std::string(Note) + T("The saw sheet stops here: the CSV holds every bar."));
            throw SheetFull{};
        }
        e_.NewPage();
        y_ = Top;
    }

    void Write(double x, const std::string& text) {
        if (y_ + Line > Bottom) NextPage();
        e_.WriteText(x, y_, Right, Free, text);
        y_ += Line;
    }

    PrintEngine& e_;
    const JobInput& input_;
    const CalculationResult& result_;
    const SawSheet& sheet_;
    const ReportLanguage& language_;
    PieceMarks marks_{input_};
    double y_ = Top;
};

}  // namespace

void LayOutSawSheet(PrintEngine& engine, const JobInput& input, const CalculationResult& result,
                    const SawSheet& sheet, const ReportLanguage& language) {
    SawSheetLayout(engine, input, result, sheet, language).Run();
}

}  // namespace tallora
