#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>
#include <array>
#include <map>
#include <memory>
#include <vector>

#include "report/PageFrames.h"
#include "report/PrintEngine.h"
#include "report/StyleCodes.h"

class QBuffer;
class QPainter;
class QPdfWriter;

namespace tallora {

// A file name as Qt's file classes take it.
QString PathToQString(const std::filesystem::path& path);

// The print engine of the desktop: A4 pages written with QPdfWriter, in centimetres.
//
// Pages are kept as lists of placed objects and painted only by SaveDocument, since a PDF
// writer cannot go back to a page it has left; so SelectPage can add to any page, and each
// page keeps its own orientation and margins. Texts are measured with the fonts they are
// painted in, on a PDF device of the same resolution.
//
// Texts: every text starts from the normal style (the current font name, size from style
// setting Two, the text colour, not bold, not italic) and its style codes change that. Where the
// right edge is Free the text is one line as wide as it needs; with a given right edge it wraps
// between the edges (unless style setting Three is on) and a Free bottom follows its lines.
// Framed texts keep a little room at their sides, none above and below, so a row of cells is
// one line high. Alignment without an L, R or CE code follows style setting One: 0 left,
// 1 right, 2 centred. Plain texts leave their background as it is. A pen width of 0 draws no
// frame.
//
// Pictures "R1" and "R2" come from the program's resources; a Free size is the picture's own,
// from its pixel count and its resolution.
class QtPrintEngine : public PrintEngine {
public:
    static constexpr int DefaultResolution = 300;  // dots per inch

    explicit QtPrintEngine(int resolution = DefaultResolution);
    ~QtPrintEngine() override;
    QtPrintEngine(const QtPrintEngine&) = delete;
    QtPrintEngine& operator=(const QtPrintEngine&) = delete;

protected:
    void DoOpenDoc() override;
    void DoCloseDoc() override;
    void DoSetDocFileReadOnly(bool readOnly) override;
    void DoSetOutputArea(double left, double top, double right, double bottom) override;
    void DoSetMargin(PositionCode margin, double value) override;
    double DoGetMargin(PositionCode margin) const override;
    double DoGetPosition(PositionCode code) const override;
    double DoPageWidth() const override;
    double DoPageHeight() const override;
    Orientation DoPageOrientation() const override;
    void DoSetPageOrientation(Orientation orientation) override;
    void DoSetPageSize(double width, double height) override;
    void DoSetFontName(const std::string& name) override;
    void DoSetStyleValue(StyleSetting setting, int value) override;
    void DoSetPenWidth(double width) override;
    void DoSetPenColour(Colour colour) override;
    void DoSetFillColour(Colour colour) override;
    Colour DoFillColour() const override;
    void DoSetTextColour(Colour colour) override;
    double DoWriteText(Coord x, Coord y, Coord x2, Coord y2, const std::string& text) override;
    double DoWriteFramedText(Coord x, Coord y, Coord x2, Coord y2,
                             const std::string& text) override;
    void DoDrawBox(Coord x, Coord y, Coord x2, Coord y2) override;
    void DoDrawPicture(const std::string& resource, Coord x, Coord y, Coord x2, Coord y2) override;
    void DoMeasureText(Coord x, Coord y, Coord x2, Coord y2, const std::string& text) override;
    double DoMeasuredWidth() const override;
    double DoMeasuredHeight() const override;
    void DoSavePosition() override;
    void DoRestorePosition() override;
    void DoNewPage() override;
    int DoPageCount() const override;
    void DoSelectPage(int page) override;
    bool DoSaveDocument(const std::filesystem::path& file) override;

private:
    // A text ready to lay out: its font, Qt alignment flags and colour.
    struct TextFormat {
        QString Text;
        QFont Font;
        int Flags = 0;
        QColor Colour;
    };

    struct PlacedItem {
        enum class Kind { Text, FramedText, Box, Picture };
        Kind What = Kind::Text;
        QRectF Rect;      // cm
        QRectF TextRect;  // cm, inside any padding
        TextFormat Format;
        QColor Pen;
        QColor Fill;
        double PenWidth = 0.0;  // cm
        QImage Picture;
    };

    std::vector<PlacedItem>& CurrentItems() { return items_[frames_.CurrentIndex()]; }
    TextFormat Format(const std::string& text) const;
    // Width and height in cm of a text laid out on one line, or wrapped within `width` cm.
    QSizeF TextSize(const TextFormat& format, double width) const;
    PlacedItem LayOutText(PlacedItem::Kind kind, Coord x, Coord y, Coord x2, Coord y2,
                          const std::string& text) const;
    PlacedItem Framed(PlacedItem item) const;
    double Place(PlacedItem item);
    const QImage& Picture(const std::string& resource);
    void Paint(QPainter& painter, const std::vector<PlacedItem>& items) const;
    double ToDevice(double centimetres) const;
    QRectF ToDevice(const QRectF& centimetres) const;

    int resolution_;
    // Fonts are measured on a PDF device of the painting resolution, never painted on.
    std::unique_ptr<QBuffer> metricsBuffer_;
    std::unique_ptr<QPdfWriter> metricsDevice_;

    PageFrames frames_;
    std::vector<std::vector<PlacedItem>> items_;  // by page
    QString fontName_;
    std::array<int, 3> styleValues_{0, 10, 0};
    double penWidth_ = 0.0;
    Colour pen_ = Black;
    Colour fill_ = White;
    Colour textColour_ = Black;
    double measuredWidth_ = 0.0;
    double measuredHeight_ = 0.0;
    std::map<std::string, QImage> pictures_;
};

}  // namespace tallora
