#include "results/CuttingDiagram.h"

#include <algorithm>
#include <climits>
#include <cmath>

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

class Painter {
public:
    Painter(std::vector<DiagramOperation>& operations, const TextMeasurer& measurer)
        : operations_(operations), measurer_(measurer) {}

    // A black-framed box with its text centred, when the text fits inside.
    void Box(double left, double top, double right, double bottom, Colour fill,
             const std::string& text) {
        const DiagramBox box{Trunc(left), Trunc(top), Trunc(right), Trunc(bottom), Black, fill};
        operations_.push_back(box);
        const double textWidth = measurer_.TextWidth(text);
        const double textHeight = measurer_.TextHeight(text);
        if (textWidth + 1 < box.Right - box.Left && textHeight + 1 < box.Bottom - box.Top) {
            operations_.push_back(DiagramText{Trunc((box.Left + box.Right - textWidth) / 2),
                                              Trunc((box.Top + box.Bottom - textHeight) / 2), text,
                                              LabelColourOn(fill), fill});
        }
    }

    void Bar(double y, double pitch, double barEnd, const std::string& label) {
        const DiagramBox bar{Trunc(Margin),        Trunc(y), Trunc(barEnd),
                             Trunc(y + pitch - 4), Black,    Silver};
        operations_.push_back(bar);
        const double labelWidth = measurer_.TextWidth(label);
        const double labelHeight = measurer_.TextHeight(label);
        if (labelWidth < bar.Right - bar.Left && labelHeight < bar.Bottom - bar.Top) {
            operations_.push_back(DiagramText{
                bar.Right, Trunc((bar.Top + bar.Bottom - labelHeight) / 2), label, Black, White});
        }
    }

private:
    std::vector<DiagramOperation>& operations_;
    const TextMeasurer& measurer_;
};

}  // namespace

std::vector<DiagramOperation> DrawCuttingList(const CuttingJob& job, int width, int height,
                                              const TextMeasurer& measurer) {
    std::vector<DiagramOperation> operations;
    operations.push_back(ClearBitmap{std::max(width, 0), std::max(height, 0), White});
    const int patternCount = job.PatternCount();
    const double areaWidth = width - 2 * Margin;
    const double areaHeight = height - 2 * Margin;
    if (patternCount == 0 || areaWidth <= 0 || areaHeight <= 0) return operations;

    const Allowances& a = job.allowances;
    // The store is sorted longest first, so MaxBars ends as the most bars among the longest.
    int maxLen = 0;
    int maxBars = 0;
    for (const CuttingPattern& p : job.Patterns) {
        const int barLen = BarLength(p, a);
        if (barLen >= maxLen) {
            maxLen = barLen;
            maxBars = std::max(maxBars, p.BarCount);
        }
    }
    if (maxLen <= 0) return operations;
    const std::string widestLabel = " " + std::to_string(maxBars) + " x " + std::to_string(maxLen);
    const double xScale = (areaWidth - measurer.TextWidth(widestLabel)) / maxLen;
    // The labels leave no room for bars drawn to scale.
    if (!(xScale > 0)) return operations;

    // Fewer than eight patterns keep the height of one in twelve, so a few bars stay slim.
    const double evenPitch = areaHeight / patternCount;
    const double pitch = areaHeight / 8 >= evenPitch ? evenPitch : areaHeight / 12;

    Painter painter(operations, measurer);
    double y = Margin;
    for (const CuttingPattern& p : job.Patterns) {
        const int barLen = BarLength(p, a);
        double x = Margin;
        painter.Bar(y, pitch, barLen * xScale + Margin + 2,
                    " " + std::to_string(p.BarCount) + " x " + std::to_string(barLen));

        const double top = y + 2;
        const double bottom = y + pitch - 6;
        if (a.Trim != 0 && WiderThanOnePixel(x + 2, a.Trim * xScale + x)) {
            painter.Box(x + 2, top, a.Trim * xScale + x, bottom, Black, "Trim");
        }
        x = a.Trim * xScale + x + 1;

        long long used = a.Trim;
        for (int k = 0; k < p.LengthCount(); ++k) {
            const int cutLength = p.CutLength[k];
            const int pieceLength = cutLength - a.Kerf;
            const Colour colour = PieceColour(job, cutLength);
            used += static_cast<long long>(cutLength) * p.PieceCount[k];
            // Pieces narrower than a pixel are drawn as one box for the run, kerfs and all: box
            // by box a pattern of millions of pieces would take minutes and gigabytes. Beyond
            // the bitmap's edge nothing more is seen.
            if (p.PieceCount[k] > 1 && cutLength * xScale < 1.0) {
                const double run = static_cast<double>(cutLength) * p.PieceCount[k] * xScale;
                painter.Box(x + 1, top, run + x - 1, bottom, colour, std::to_string(pieceLength));
                x = run + x;
                continue;
            }
            for (int piece = 0; piece < p.PieceCount[k] && x < width; ++piece) {
                painter.Box(x + 1, top, pieceLength * xScale + x - 1, bottom, colour,
                            std::to_string(pieceLength));
                const double kerfLeft = pieceLength * xScale + x + 1;
                const double kerfRight = cutLength * xScale + x - 1;
                if (a.Kerf != 0 && WiderThanOnePixel(kerfLeft, kerfRight)) {
                    painter.Box(kerfLeft, top, kerfRight, bottom, Black, "Kerf");
                }
                x = cutLength * xScale + x;
            }
        }

        if (p.IsOffcut && !a.NoOffcuts) {
            // With a hold the offcut runs to the bar's end, since the hold is part of it.
            const double right =
                a.Hold > 0 ? Trunc(barLen * xScale) + 11.0 : p.OffcutLength * xScale + x - 1;
            painter.Box(
                x + 1, top, right, bottom, Black,
                std::to_string(p.OffcutLength) + (a.Hold > 0 ? " Offcut & Hold" : " Offcut"));
        } else if (used < barLen) {
            const double left = Trunc(used * xScale + 13) + 1.0;
            const double right = Trunc(barLen * xScale) + 12.0 - (a.Hold > 0 ? 1 : 0);
            if (WiderThanOnePixel(left, right)) {
                painter.Box(left, top, right, bottom, Black, a.Hold > 0 ? "Scrap & Hold" : "Scrap");
            }
        }
        y += pitch;
    }
    return operations;
}

}  // namespace tallora
