#include "results/CuttingDiagram.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <utility>

#include "results/LengthFormat.h"

namespace tallora {

int BarLength(const CuttingPattern& pattern, const Allowances& allowances) {
    return pattern.StockLength + allowances.Trim + allowances.Hold;
}

namespace {

constexpr double Margin = 12.0;

// Canvas coordinates are the layout's values truncated toward zero.
int Trunc(double value) {
    return static_cast<int>(std::clamp(std::trunc(value), double{INT_MIN}, double{INT_MAX}));
}

bool WiderThanOnePixel(double left, double right) { return Trunc(right) - Trunc(left) > 1; }

// The widest bar and its label set the scale every bar is drawn to.
struct BarScale {
    int MaxLen = 0;
    double LabelWidth = 0;
};

// A length on the diagram: the bare millimetres of a metric job, feet and inches otherwise.
std::string LengthLabel(long long length, const JobUnits& units) {
    return units.Imperial() ? FormatLength(length, units) : std::to_string(length);
}

// Beside each bar: the pattern's number, as the cutting list numbers it, and its bars.
std::string BarLabel(int index, int bars, int barLength, const JobUnits& units) {
    return " #" + std::to_string(index + 1) + ": " + std::to_string(bars) + " x " +
           LengthLabel(barLength, units);
}

BarScale ScaleOf(const JobInput& input, const CalculationResult& result,
                 const TextMeasurer& measurer) {
    // The store is sorted longest first, so MaxBars ends as the most bars among the longest.
    int maxLen = 0;
    int maxBars = 0;
    for (const CuttingPattern& p : result.Patterns) {
        const int barLen = BarLength(p, input.Allowances);
        if (barLen >= maxLen) {
            maxLen = barLen;
            maxBars = std::max(maxBars, p.BarCount);
        }
    }
    if (maxLen <= 0) return {};
    const std::string widestLabel =
        BarLabel(result.PatternCount() - 1, maxBars, maxLen, input.Units);
    return {maxLen, measurer.TextWidth(widestLabel)};
}

// Lays the boxes out either as drawing operations or, with a hit to fill, to find the box under
// one pixel: both walk the same geometry, so what is pointed at is what is drawn there.
class Painter {
public:
    Painter(std::vector<DiagramOperation>* operations, const TextMeasurer& measurer,
            const DiagramClip& clip, DiagramHit* hit)
        : operations_(operations), measurer_(measurer), clip_(clip), hit_(hit) {}

    const DiagramClip& Clip() const { return clip_; }
    // Drawing, rather than finding what is under a pixel.
    bool Drawing() const { return hit_ == nullptr; }

    // Rows entirely above or below the clip are skipped whole.
    bool RowInClip(double y, double pitch) const {
        return Trunc(y + pitch - 4) > clip_.Top && Trunc(y) < clip_.Bottom;
    }

    // A black-framed box with its text centred, when the text fits inside.
    void Box(double left, double top, double right, double bottom, Colour fill,
             const std::string& text, const DiagramHit& what) {
        const DiagramBox box{Trunc(left), Trunc(top), Trunc(right), Trunc(bottom), Black, fill};
        if (box.Right <= clip_.Left) return;
        if (hit_ != nullptr) {
            if (Contains(box)) *hit_ = what;
            return;
        }
        operations_->push_back(box);
        const double textWidth = measurer_.TextWidth(text);
        const double textHeight = measurer_.TextHeight(text);
        if (textWidth + 1 < box.Right - box.Left && textHeight + 1 < box.Bottom - box.Top) {
            operations_->push_back(DiagramText{Trunc((box.Left + box.Right - textWidth) / 2),
                                               Trunc((box.Top + box.Bottom - textHeight) / 2), text,
                                               LabelColourOn(fill), fill});
        }
    }

    // A line of text at the left of a row, in the clip's rows only.
    void Note(double y, double pitch, const std::string& text) {
        if (hit_ != nullptr || !RowInClip(y, pitch)) return;
        operations_->push_back(DiagramText{Trunc(Margin),
                                           Trunc(y + (pitch - measurer_.TextHeight(text)) / 2),
                                           text, Black, White});
    }

    // The bar's label stands beyond its right end, so a bar in a visible row is always drawn.
    void Bar(double y, double pitch, double barEnd, const std::string& label,
             const DiagramHit& what) {
        const DiagramBox bar{Trunc(Margin),        Trunc(y), Trunc(barEnd),
                             Trunc(y + pitch - 4), Black,    Silver};
        if (hit_ != nullptr) {
            if (Contains(bar)) *hit_ = what;
            return;
        }
        operations_->push_back(bar);
        const double labelWidth = measurer_.TextWidth(label);
        const double labelHeight = measurer_.TextHeight(label);
        if (labelWidth < bar.Right - bar.Left && labelHeight < bar.Bottom - bar.Top) {
            operations_->push_back(DiagramText{
                bar.Right, Trunc((bar.Top + bar.Bottom - labelHeight) / 2), label, Black, White});
        }
    }

private:
    bool Contains(const DiagramBox& box) const {
        return box.Left <= clip_.Left && clip_.Left < box.Right && box.Top <= clip_.Top &&
               clip_.Top < box.Bottom;
    }

    std::vector<DiagramOperation>* operations_;
    const TextMeasurer& measurer_;
    DiagramClip clip_;
    DiagramHit* hit_;
};

// The rows' pitch and how many patterns are laid out in them. Fewer than eight patterns keep the
// height of one in twelve, so a few bars stay slim; rows thinner than MinimumDrawnPitch are not
// laid out, and the last row is left for the note of how many more there are.
std::pair<double, int> RowsOf(int patternCount, double areaHeight) {
    const double evenPitch = areaHeight / patternCount;
    const double pitch = areaHeight / 8 >= evenPitch ? evenPitch : areaHeight / 12;
    if (pitch >= MinimumDrawnPitch) return {pitch, patternCount};
    const int rows = std::max(1, static_cast<int>(areaHeight / MinimumDrawnPitch));
    return {areaHeight / rows, rows - 1};
}

// What every row of a diagram shares.
struct RowLayout {
    const tallora::Allowances& Allowances;
    const JobUnits& Units;
    double XScale = 0;
    double StopX = 0;  // nothing is seen beyond it
    const std::optional<PieceColours>& Colours;
};

// What is left of a bar after its pieces: an offcut returned, or scrap.
void LayRemnant(Painter& painter, const RowLayout& row, const CuttingPattern& p, int index,
                double x, double top, double bottom, long long used) {
    const Allowances& a = row.Allowances;
    const double xScale = row.XScale;
    const int barLen = BarLength(p, a);
    if (p.IsOffcut && !a.NoOffcuts) {
        // With a hold the offcut runs to the bar's end, since the hold is part of it.
        const double right =
            a.Hold > 0 ? Trunc(barLen * xScale) + 11.0 : p.OffcutLength * xScale + x - 1;
        painter.Box(
            x + 1, top, right, bottom, Black,
            LengthLabel(p.OffcutLength, row.Units) + (a.Hold > 0 ? " Offcut & Hold" : " Offcut"),
            {DiagramPart::Offcut, index, p.OffcutLength});
    } else if (used < barLen) {
        const double left = Trunc(used * xScale + 13) + 1.0;
        const double right = Trunc(barLen * xScale) + 12.0 - (a.Hold > 0 ? 1 : 0);
        if (WiderThanOnePixel(left, right)) {
            painter.Box(left, top, right, bottom, Black, a.Hold > 0 ? "Scrap & Hold" : "Scrap",
                        {DiagramPart::Scrap, index, static_cast<int>(barLen - used)});
        }
    }
}

// One pattern's bar: its label, the trim, the pieces and kerfs, then the remnant.
void LayPattern(Painter& painter, const RowLayout& row, const CuttingPattern& p, int index,
                double y, double pitch) {
    const Allowances& a = row.Allowances;
    const double xScale = row.XScale;
    const int barLen = BarLength(p, a);
    double x = Margin;
    painter.Bar(y, pitch, barLen * xScale + Margin + 2,
                BarLabel(index, p.BarCount, barLen, row.Units),
                {DiagramPart::Bar, index, barLen, p.BarCount});

    const double top = y + 2;
    const double bottom = y + pitch - 6;
    if (a.Trim != 0 && WiderThanOnePixel(x + 2, a.Trim * xScale + x)) {
        painter.Box(x + 2, top, a.Trim * xScale + x, bottom, Black, "Trim",
                    {DiagramPart::Trim, index, a.Trim});
    }
    x = a.Trim * xScale + x + 1;

    long long used = a.Trim;
    for (int k = 0; k < p.LengthCount(); ++k) {
        const int cutLength = p.CutLength[k];
        const int pieceLength = cutLength - a.Kerf;
        const Colour colour = row.Colours ? row.Colours->Of(cutLength) : Black;
        used += static_cast<long long>(cutLength) * p.PieceCount[k];
        // Pieces narrower than a pixel are drawn as one box for the run, kerfs and all: box
        // by box a pattern of millions of pieces would take minutes and gigabytes.
        if (p.PieceCount[k] > 1 && cutLength * xScale < 1.0) {
            const double run = static_cast<double>(cutLength) * p.PieceCount[k] * xScale;
            painter.Box(x + 1, top, run + x - 1, bottom, colour,
                        LengthLabel(pieceLength, row.Units),
                        {DiagramPart::Piece, index, pieceLength, p.PieceCount[k]});
            x = run + x;
            continue;
        }
        for (int piece = 0; piece < p.PieceCount[k] && x < row.StopX; ++piece) {
            painter.Box(x + 1, top, pieceLength * xScale + x - 1, bottom, colour,
                        LengthLabel(pieceLength, row.Units),
                        {DiagramPart::Piece, index, pieceLength});
            const double kerfLeft = pieceLength * xScale + x + 1;
            const double kerfRight = cutLength * xScale + x - 1;
            if (a.Kerf != 0 && WiderThanOnePixel(kerfLeft, kerfRight)) {
                painter.Box(kerfLeft, top, kerfRight, bottom, Black, "Kerf",
                            {DiagramPart::Kerf, index, a.Kerf});
            }
            x = cutLength * xScale + x;
        }
    }
    LayRemnant(painter, row, p, index, x, top, bottom, used);
}

void Lay(const JobInput& input, const CalculationResult& result, int width, int height,
         const TextMeasurer& measurer, Painter& painter) {
    const int patternCount = result.PatternCount();
    const double areaWidth = width - 2 * Margin;
    const double areaHeight = height - 2 * Margin;
    if (patternCount == 0 || areaWidth <= 0 || areaHeight <= 0) return;

    const Allowances& a = input.Allowances;
    const BarScale scale = ScaleOf(input, result, measurer);
    if (scale.MaxLen <= 0) return;
    const double xScale = (areaWidth - scale.LabelWidth) / scale.MaxLen;
    // The labels leave no room for bars drawn to scale.
    if (!(xScale > 0)) return;

    const auto [pitch, shown] = RowsOf(patternCount, areaHeight);
    // Beyond the bitmap's edge, or the clip's, nothing more is seen.
    const double stopX = std::min(width, painter.Clip().Right);
    // Finding what is under the pointer needs no colours.
    const std::optional<PieceColours> colours =
        painter.Drawing() ? std::optional<PieceColours>(result) : std::nullopt;

    const RowLayout row{a, input.Units, xScale, stopX, colours};
    double y = Margin;
    for (int index = 0; index < shown; ++index, y += pitch) {
        if (painter.RowInClip(y, pitch))
            LayPattern(painter, row, result.Patterns[index], index, y, pitch);
    }
    if (shown < patternCount) {
        painter.Note(y, pitch,
                     "\u2026 and " + std::to_string(patternCount - shown) + " more patterns");
    }
}

}  // namespace

std::vector<DiagramOperation> DrawCuttingList(const JobInput& input,
                                              const CalculationResult& result, int width,
                                              int height, const TextMeasurer& measurer) {
    return DrawCuttingList(input, result, width, height, measurer,
                           DiagramClip{INT_MIN, INT_MIN, width, INT_MAX});
}

std::vector<DiagramOperation> DrawCuttingList(const JobInput& input,
                                              const CalculationResult& result, int width,
                                              int height, const TextMeasurer& measurer,
                                              const DiagramClip& clip) {
    std::vector<DiagramOperation> operations;
    operations.push_back(ClearBitmap{std::max(width, 0), std::max(height, 0), White});
    Painter painter(&operations, measurer, clip, nullptr);
    Lay(input, result, width, height, measurer, painter);
    return operations;
}

DiagramHit DiagramHitAt(const JobInput& input, const CalculationResult& result, int width,
                        int height, const TextMeasurer& measurer, int x, int y) {
    DiagramHit hit;
    if (x < 0 || y < 0 || x >= width || y >= height) return hit;
    Painter painter(nullptr, measurer, DiagramClip{x, y, x + 1, y + 1}, &hit);
    Lay(input, result, width, height, measurer, painter);
    return hit;
}

std::string DiagramHitText(const DiagramHit& hit, const JobUnits& units) {
    const std::string pattern = "Pattern " + std::to_string(hit.Pattern + 1) + ": ";
    const std::string length =
        units.Imperial() ? FormatLength(hit.Length, units) : std::to_string(hit.Length) + " mm";
    switch (hit.Part) {
        case DiagramPart::None:
            return {};
        case DiagramPart::Bar:
            return pattern + std::to_string(hit.Count) +
                   (hit.Count == 1 ? " bar of " : " bars of ") + length;
        case DiagramPart::Trim:
            return pattern + "trim " + length;
        case DiagramPart::Piece:
            if (hit.Count > 1) return pattern + std::to_string(hit.Count) + " pieces of " + length;
            return pattern + "piece " + length;
        case DiagramPart::Kerf:
            return pattern + "kerf " + length;
        case DiagramPart::Offcut:
            return pattern + "offcut " + length;
        case DiagramPart::Scrap:
            return pattern + "scrap " + length;
    }
    return {};
}

DiagramSize DiagramSizeFor(const JobInput& input, const CalculationResult& result, int viewWidth,
                           int viewHeight, double zoom, const TextMeasurer& measurer) {
    DiagramSize size{viewWidth, viewHeight};
    const int patternCount = result.PatternCount();
    if (patternCount == 0 || viewWidth <= 2 * Margin) return size;

    // Below eight patterns a row is a twelfth of the height, however few there are.
    const long long rows = patternCount < 8 ? 12 : patternCount;
    const long long tallEnough = static_cast<long long>(2 * Margin) + rows * MinimumBarPitch;
    if (viewHeight < tallEnough) {
        size.Height = static_cast<int>(std::min<long long>(tallEnough, MaximumDiagramSide));
    }

    const BarScale scale = ScaleOf(input, result, measurer);
    const double bars = viewWidth - 2 * Margin - scale.LabelWidth;
    if (scale.MaxLen > 0 && bars > 0 && zoom > 1) {
        const double wide = std::ceil(2 * Margin + scale.LabelWidth + zoom * bars);
        size.Width = static_cast<int>(std::min<double>(wide, MaximumDiagramSide));
    }
    return size;
}

}  // namespace tallora
