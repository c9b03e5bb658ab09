#pragma once

#include <string>
#include <variant>
#include <vector>

#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "results/PieceColours.h"
#include "results/TextMeasurer.h"

namespace tallora {

// What the cutting diagram asks of a canvas, in bitmap pixels.
struct ClearBitmap {
    int Width = 0;
    int Height = 0;
    Colour Fill = White;
    bool operator==(const ClearBitmap&) const = default;
};

struct DiagramBox {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    Colour Pen = Black;
    Colour Fill = White;
    bool operator==(const DiagramBox&) const = default;
};

// A text with its top-left corner, drawn in the canvas font on its background colour.
struct DiagramText {
    int X = 0;
    int Y = 0;
    std::string Text;
    Colour TextColour = Black;
    Colour Background = White;
    bool operator==(const DiagramText&) const = default;
};

using DiagramOperation = std::variant<ClearBitmap, DiagramBox, DiagramText>;

// The stock bar's entered length: usable length plus trim and hold.
int BarLength(const CuttingPattern& pattern, const Allowances& allowances);

// One bar per pattern, to a common scale, inside a 12-pixel margin of a width x height bitmap:
// trim, pieces coloured by their ordered length, kerfs, and the remnant as offcut or scrap, with
// the bar count and length beside each bar; as many as fit at MinimumDrawnPitch. The first
// operation always clears the bitmap; when there is nothing to draw, or no room to draw it to
// scale, it is the only one.
std::vector<DiagramOperation> DrawCuttingList(const JobInput& input,
                                              const CalculationResult& result, int width,
                                              int height, const TextMeasurer& measurer);

// The part of the bitmap a window needs, from Left and Top up to, not including, Right and Bottom.
struct DiagramClip {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// The same drawing for only the rows the clip crosses and the boxes that reach into it, so a
// window showing part of a huge diagram does not lay out the rest. The clear stays whole.
std::vector<DiagramOperation> DrawCuttingList(const JobInput& input,
                                              const CalculationResult& result, int width,
                                              int height, const TextMeasurer& measurer,
                                              const DiagramClip& clip);

// What lies under a pixel of the diagram.
enum class DiagramPart { None, Bar, Trim, Piece, Kerf, Offcut, Scrap };

struct DiagramHit {
    DiagramPart Part = DiagramPart::None;
    int Pattern = -1;  // index into the job's patterns, top row first
    int Length = 0;    // of the piece, offcut, scrap, trim or kerf; the bar's entered length
    int Count = 1;     // pieces in the box (narrower than a pixel they share one); the bars
    bool operator==(const DiagramHit&) const = default;
};

// The box under the pixel (x, y) of the diagram DrawCuttingList lays out at width x height; the
// bar when the pixel is on its grey but between boxes.
DiagramHit DiagramHitAt(const JobInput& input, const CalculationResult& result, int width,
                        int height, const TextMeasurer& measurer, int x, int y);

// The hit as the viewer's status bar says it: "Pattern 3: piece 1450 mm", patterns counted from
// one; empty for nothing.
std::string DiagramHitText(const DiagramHit& hit, const JobUnits& units = {});

// Below this a bar's row is too thin to read or point at.
constexpr int MinimumBarPitch = 30;
// Below this rows cannot be told apart at all: the patterns that would not fit at it are not
// laid out, and the last row says "… and N more patterns". A diagram of a million patterns is
// then as much work as one of a few hundred.
constexpr int MinimumDrawnPitch = 8;
// No side of the diagram's bitmap grows beyond this, however big the job or the zoom.
constexpr int MaximumDiagramSide = 1 << 22;

struct DiagramSize {
    int Width = 0;
    int Height = 0;
    bool operator==(const DiagramSize&) const = default;
};

// The bitmap the diagram takes in a view of viewWidth x viewHeight with the length scale
// multiplied by zoom: wider than the view by the zoom on the bars alone, the labels keeping
// their width, and taller than the view when the view would give a row less than
// MinimumBarPitch. At zoom 1, when the rows fit, it is the view itself.
DiagramSize DiagramSizeFor(const JobInput& input, const CalculationResult& result, int viewWidth,
                           int viewHeight, double zoom, const TextMeasurer& measurer);

}  // namespace tallora
