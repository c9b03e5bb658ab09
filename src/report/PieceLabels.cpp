#include "report/PieceLabels.h"

#include <algorithm>

#include "report/Barcode.h"

namespace tallora {

namespace {

using enum PositionCode;

constexpr double InchCm = 2.54;
constexpr double Padding = 0.2;

std::string PatternLine(const CalculationResult& result, const SawBar& bar) {
    return "Pattern " + std::to_string(bar.Pattern + 1) + ", bar " +
           std::to_string(bar.BarOfPattern) + " of " +
           std::to_string(result.Patterns[static_cast<size_t>(bar.Pattern)].BarCount);
}

std::string JobLine(const SectionData& s) {
    if (s.Reference.empty()) return s.Customer;
    return s.Customer.empty() ? s.Reference : s.Reference + " - " + s.Customer;
}

void DrawBarcode(PrintEngine& e, const BarcodeModules& code, double left, double top, double side) {
    if (code.Size == 0) return;
    const double module = side / code.Size;
    e.SetPenWidth(0);
    e.SetFillColour(Black);
    // A box for each run of dark modules in a row.
    for (int y = 0; y < code.Size; ++y) {
        for (int x = 0; x < code.Size;) {
            if (!code.At(x, y)) {
                ++x;
                continue;
            }
            int end = x;
            while (end < code.Size && code.At(end, y)) ++end;
            e.DrawBox(left + x * module, top + y * module, left + end * module,
                      top + (y + 1) * module);
            x = end;
        }
    }
    e.SetFillColour(White);
}

}  // namespace

const std::vector<LabelLayout>& LabelLayouts() {
    static const std::vector<LabelLayout> layouts{
        {"a4-3x8", "A4, 3 x 8 labels of 70 x 37 mm", 21.0, 29.7, 3, 8, 7.0, 3.7, 0.0, 0.05, 0.0,
         0.0},
        {"letter-3x10", "US Letter, 3 x 10 labels of 2-5/8 x 1 in", 8.5 * InchCm, 11 * InchCm, 3,
         10, 2.625 * InchCm, 1 * InchCm, 0.1875 * InchCm, 0.5 * InchCm, 0.125 * InchCm, 0.0},
        {"roll-62x29", "Roll of 62 x 29 mm labels, one a page", 6.2, 2.9, 1, 1, 6.2, 2.9, 0.0, 0.0,
         0.0, 0.0},
    };
    return layouts;
}

const LabelLayout* FindLabelLayout(std::string_view name) {
    for (const LabelLayout& layout : LabelLayouts()) {
        if (name == layout.Name) return &layout;
    }
    return nullptr;
}

std::vector<PieceLabel> MakePieceLabels(const JobInput& input, const CalculationResult& result,
                                        const SawSheet& sheet,
                                        const std::map<int, long long>& offcutIds,
                                        const ReportLanguage& language) {
    const auto T = [&](const std::string& english) { return InLanguage(language, english); };
    std::vector<PieceLabel> labels;
    PieceMarks marks(input);
    const SectionData& s = input.Section;
    for (const SawBar& bar : sheet.Bars) {
        for (const SawRun& run : bar.Runs) {
            for (int n = 0; n < run.Count; ++n) {
                PieceLabel label;
                label.Mark = marks.Next(run.Length);
                label.Length = run.Length;
                label.LengthText = FormatLength(run.Length, input.Units);
                label.Lines = {JobLine(s), s.Name, T(PatternLine(result, bar))};
                label.Barcode = (label.Mark.empty() ? "" : label.Mark + " ") + label.LengthText;
                labels.push_back(std::move(label));
            }
        }
        if (!bar.KeepOffcut) continue;
        PieceLabel label;
        label.Offcut = true;
        label.Mark = T("Offcut");
        label.Length = bar.Remnant;
        label.LengthText = FormatLength(bar.Remnant, input.Units);
        const auto booked = offcutIds.find(bar.Pattern);
        const std::string id =
            booked != offcutIds.end() ? ", inventory " + std::to_string(booked->second) : "";
        label.Lines = {JobLine(s), T(s.Name.empty() ? "Return to stock" : "Section " + s.Name),
                       T(PatternLine(result, bar) + id)};
        label.Barcode = "Offcut " + label.LengthText + id;
        labels.push_back(std::move(label));
    }
    return labels;
}

std::string LabelOptionsProblem(const LabelOptions& o) {
    const LabelLayout& l = o.Layout;
    if (o.StartPosition < 1 || o.StartPosition > l.PerPage()) {
        return "The first label must be a position from 1 to " + std::to_string(l.PerPage()) +
               " of the sheet.";
    }
    const double left = o.LeftMargin.value_or(l.LeftMargin);
    const double top = o.TopMargin.value_or(l.TopMargin);
    const double right = left + l.Columns * l.LabelWidth + (l.Columns - 1) * l.ColumnGap;
    const double bottom = top + l.Rows * l.LabelHeight + (l.Rows - 1) * l.RowGap;
    if (left < 0 || top < 0 || right > l.PageWidth + 0.001 || bottom > l.PageHeight + 0.001)
        return "With these margins the labels do not fit on the page.";
    return {};
}

void LayOutPieceLabels(PrintEngine& e, const std::vector<PieceLabel>& labels,
                       const LabelOptions& o) {
    const LabelLayout& l = o.Layout;
    const double left = o.LeftMargin.value_or(l.LeftMargin);
    const double top = o.TopMargin.value_or(l.TopMargin);
    e.SetDocFileReadOnly(false);
    e.SetPageSize(l.PageWidth, l.PageHeight);
    e.SetOutputArea(0, 0, l.PageWidth, l.PageHeight);
    e.SetMargin(LeftMargin, 0);
    e.SetMargin(TopMargin, 0);
    e.SetMargin(RightMargin, l.PageWidth);
    e.SetMargin(BottomMargin, l.PageHeight);
    e.SetFontName("Calibri");
    e.SetStyleValue(StyleSetting::One, 0);
    e.SetStyleValue(StyleSetting::Three, 1);
    const int perPage = l.PerPage();
    const double side = std::min(l.LabelHeight, l.LabelWidth / 2) - 2 * Padding;
    for (size_t i = 0; i < labels.size(); ++i) {
        const size_t slot = i + static_cast<size_t>(o.StartPosition - 1);
        if (i > 0 && slot % static_cast<size_t>(perPage) == 0) e.NewPage();
        const int onPage = static_cast<int>(slot % static_cast<size_t>(perPage));
        const double x = left + (onPage % l.Columns) * (l.LabelWidth + l.ColumnGap);
        const double y = top + (onPage / l.Columns) * (l.LabelHeight + l.RowGap);
        const PieceLabel& label = labels[i];

        const double codeLeft = x + l.LabelWidth - Padding - side;
        DrawBarcode(e, QrCode(label.Barcode), codeLeft, y + (l.LabelHeight - side) / 2, side);
        const double textLeft = x + Padding;
        const double textRight = codeLeft - Padding;
        // The mark and length large, the rest small below.
        const double lineHeight = (l.LabelHeight - 2 * Padding) / 5;
        double line = y + Padding;
        const std::string big = label.Offcut ? "Offcut" : label.Mark;
        e.WriteText(textLeft, line, textRight, line + lineHeight * 1.4,
                    "[N S11 B C Black]" + (big.empty() ? label.LengthText : big));
        line += lineHeight * 1.4;
        if (!big.empty()) {
            e.WriteText(textLeft, line, textRight, line + lineHeight * 1.2,
                        "[N S10 B C Black]" + label.LengthText);
        }
        line += lineHeight * 1.2;
        for (const std::string& text : label.Lines) {
            if (text.empty()) continue;
            e.WriteText(textLeft, line, textRight, line + lineHeight * 0.8,
                        "[N S6 C DkGray]" + text);
            line += lineHeight * 0.8;
        }
    }
}

}  // namespace tallora
