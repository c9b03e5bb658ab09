#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <vector>

#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "results/CuttingDiagram.h"
#include "results/TextMeasurer.h"

class QPainter;
class QPaintDevice;

namespace tallora {

// The diagram canvas's font: the viewer's Tahoma 8 point, or a plain sans face where Tahoma is
// missing.
QFont DiagramFont();

// Text sizes in a font as a paint device lays it out, in the device's pixels: the advance width
// and the line height (ascent plus descent), the box DiagramPainter fills behind a text.
class QtTextMeasurer : public TextMeasurer {
public:
    explicit QtTextMeasurer(const QFont& font, const QPaintDevice* device = nullptr);
    double TextWidth(const std::string& text) const override;
    double TextHeight(const std::string& text) const override;

private:
    QFontMetricsF metrics_;
};

// The measurer of the diagram's bitmaps: the canvas font on a 96 dpi image.
QtTextMeasurer DiagramMeasurer();

// Carries out the diagram's drawing operations on a painter, with the painter's font. A box
// covers the pixels from its left and top up to, not including, its right and bottom, with a
// one-pixel outline inside; a text is placed by the top-left corner of the measurer's box and
// drawn on its background colour.
void PaintDiagram(QPainter& painter, const std::vector<DiagramOperation>& operations);

// The cutting diagram as the viewer shows it in an image of width x height pixels.
QImage RenderDiagram(const JobInput& input, const CalculationResult& result, int width, int height);

// The part of that image inside part, as an image of part's size: a window showing a corner of
// a big diagram draws no more than it shows.
QImage RenderDiagramPart(const JobInput& input, const CalculationResult& result, int width,
                         int height, const QRect& part);

}  // namespace tallora
