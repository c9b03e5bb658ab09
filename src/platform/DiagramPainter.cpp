#include "platform/DiagramPainter.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPen>
#include <QString>
#include <algorithm>
#include <variant>

namespace tallora {

namespace {

QColor ToQColor(Colour colour) { return QColor(colour.Red, colour.Green, colour.Blue); }

// The words drawn inside the bars, in the desktop's language; the figures are left as they are.
[[maybe_unused]] const char* const DiagramWords[] = {
    QT_TRANSLATE_NOOP("tallora", "Scrap & Hold"),
    QT_TRANSLATE_NOOP("tallora", "Scrap"),
    QT_TRANSLATE_NOOP("tallora", "Trim"),
    QT_TRANSLATE_NOOP("tallora", "Kerf"),
};

// What a text of the diagram's reads as drawn, so that it is measured as it is drawn.
QString Shown(const std::string& text) {
    return QCoreApplication::translate("tallora", text.c_str());
}

// A 96 dpi bitmap: the point size of the canvas font means what it means on the viewer's screen.
constexpr int DotsPerMetre96Dpi = 3780;

class OperationPainter {
public:
    explicit OperationPainter(QPainter& painter)
        : painter_(painter), metrics_(painter.font(), painter.device()) {}

    void operator()(const ClearBitmap& clear) {
        painter_.fillRect(QRect(0, 0, clear.Width, clear.Height), ToQColor(clear.Fill));
    }

    void operator()(const DiagramBox& box) {
        const int width = box.Right - box.Left;
        const int height = box.Bottom - box.Top;
        if (width <= 0 || height <= 0) return;
        painter_.fillRect(QRect(box.Left, box.Top, width, height), ToQColor(box.Fill));
        // The outline as four one-pixel bands: a stroked rectangle that starts outside the
        // image, as in a window's part of a big diagram, can lose a pixel where it is clipped.
        const QColor pen = ToQColor(box.Pen);
        painter_.fillRect(QRect(box.Left, box.Top, width, 1), pen);
        painter_.fillRect(QRect(box.Left, box.Bottom - 1, width, 1), pen);
        painter_.fillRect(QRect(box.Left, box.Top, 1, height), pen);
        painter_.fillRect(QRect(box.Right - 1, box.Top, 1, height), pen);
    }

    void operator()(const DiagramText& text) {
        const QString content = Shown(text.Text);
        const QRectF cell(text.X, text.Y, metrics_.horizontalAdvance(content), metrics_.height());
        painter_.fillRect(cell, ToQColor(text.Background));
        painter_.setPen(ToQColor(text.TextColour));
        painter_.drawText(QPointF(text.X, text.Y + metrics_.ascent()), content);
    }

private:
    QPainter& painter_;
    QFontMetricsF metrics_;
};

}  // namespace

QFont DiagramFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(8.0);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

QtTextMeasurer::QtTextMeasurer(const QFont& font, const QPaintDevice* device)
    : metrics_(device != nullptr ? QFontMetricsF(font, device) : QFontMetricsF(font)) {}

double QtTextMeasurer::TextWidth(const std::string& text) const {
    return metrics_.horizontalAdvance(Shown(text));
}

double QtTextMeasurer::TextHeight(const std::string&) const { return metrics_.height(); }

void PaintDiagram(QPainter& painter, const std::vector<DiagramOperation>& operations) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    OperationPainter paint(painter);
    for (const DiagramOperation& operation : operations) std::visit(paint, operation);
    painter.restore();
}

QtTextMeasurer DiagramMeasurer() {
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(DotsPerMetre96Dpi);
    device.setDotsPerMeterY(DotsPerMetre96Dpi);
    return QtTextMeasurer(DiagramFont(), &device);
}

namespace {

// A white picture at the diagram's resolution; null when it cannot be had.
QImage BlankImage(int width, int height) {
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.setDotsPerMeterX(DotsPerMetre96Dpi);
    image.setDotsPerMeterY(DotsPerMetre96Dpi);
    image.fill(Qt::white);
    return image;
}

}  // namespace

QImage RenderDiagram(const JobInput& input, const CalculationResult& result, int width,
                     int height) {
    QImage image = BlankImage(width, height);
    if (image.isNull()) return image;
    QPainter painter(&image);
    const QFont font = DiagramFont();
    painter.setFont(font);
    const QtTextMeasurer measurer(font, &image);
    PaintDiagram(painter, DrawCuttingList(input, result, width, height, measurer));
    return image;
}

QImage RenderDiagramPart(const JobInput& input, const CalculationResult& result, int width,
                         int height, const QRect& part) {
    QImage image = BlankImage(part.width(), part.height());
    if (image.isNull()) return image;
    QPainter painter(&image);
    const QFont font = DiagramFont();
    painter.setFont(font);
    painter.translate(-part.topLeft());
    const QtTextMeasurer measurer(font, &image);
    const DiagramClip clip{part.left(), part.top(), part.left() + part.width(),
                           part.top() + part.height()};
    PaintDiagram(painter, DrawCuttingList(input, result, width, height, measurer, clip));
    return image;
}

}  // namespace tallora
