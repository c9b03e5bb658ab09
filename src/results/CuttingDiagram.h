#pragma once

#include <string>
#include <variant>
#include <vector>

#include "job/CuttingJob.h"
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
// the bar count and length beside each bar. The first operation always clears the bitmap; when
// there is nothing to draw, or no room to draw it to scale, it is the only one.
std::vector<DiagramOperation> DrawCuttingList(const CuttingJob& job, int width, int height,
                                              const TextMeasurer& measurer);

}  // namespace tallora
