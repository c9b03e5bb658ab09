#include "platform/QtPrintEngine.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <algorithm>
#include <mutex>
#include <string_view>

#include "storage/SafeFile.h"

namespace tallora {

namespace {

constexpr double CentimetresPerInch = 2.54;
// Inside a frame, so that a cell's text never touches its side lines. None above and below:
// the report counts a row of framed cells as one line of text when it breaks pages.
constexpr double FramePaddingX = 0.1;
constexpr double FramePaddingY = 0.0;
// Larger than any page, for laying out a line that may be as long as it likes.
constexpr double Unbounded = 1.0e7;

bool IsFree(Coord c) { return c.IsCode() && c.Code() == PositionCode::Free; }

QColor ToQColor(Colour colour) { return QColor(colour.Red, colour.Green, colour.Blue); }

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Heavy headings are asked for by names that few systems have; they fall back on a sans face
// whose heaviest weight is used. "Ariel" is how the report has always spelt it.
bool IsHeavyFace(const QString& name) {
    return name.compare(QLatin1String("Ariel Black"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("Arial Black"), Qt::CaseInsensitive) == 0;
}

void RegisterFontSubstitutes() {
    static std::once_flag once;
    std::call_once(once, [] {
        QFont::insertSubstitutions(
            QStringLiteral("Ariel Black"),
            {QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans")});
        QFont::insertSubstitution(QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans"));
        QFont::insertSubstitution(QStringLiteral("Calibri"), QStringLiteral("Carlito"));
    });
}

int HorizontalFlag(TextAlignment alignment) {
    switch (alignment) {
        case TextAlignment::Left:
            return Qt::AlignLeft;
        case TextAlignment::Right:
            return Qt::AlignRight;
        case TextAlignment::Centre:
            return Qt::AlignHCenter;
    }
    return Qt::AlignLeft;
}

TextAlignment DefaultAlignment(int styleOne) {
    switch (styleOne) {
        case 1:
            return TextAlignment::Right;
        case 2:
            return TextAlignment::Centre;
        default:
            return TextAlignment::Left;
    }
}

// The font a report font name and style resolve to, in points.
QFont ReportFont(const QString& name, const TextStyle& style, double defaultSize) {
    QFont font(name);
    font.setPointSizeF(style.Size ? *style.Size : defaultSize);
    const bool heavy = IsHeavyFace(name);
    font.setWeight(heavy ? QFont::Black : style.Bold ? QFont::Bold : QFont::Normal);
    font.setItalic(style.Italic.value_or(false));
    font.setUnderline(style.Underline);
    // The same advances at every resolution: what is measured is what is painted.
    font.setHintingPreference(QFont::PreferNoHinting);
    // Ligatures ("tt", "ti", "ff" in Calibri) would not read back from the PDF as their letters.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// The whole sheet is the painting area: positions are from the page's top-left corner.
QPageLayout LayoutOf(double width, double height) {
    const bool landscape = width > height;
    const QSizeF portraitMillimetres(std::min(width, height) * 10.0,
                                     std::max(width, height) * 10.0);
    return QPageLayout(QPageSize(portraitMillimetres, QPageSize::Millimeter),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

}  // namespace

QString PathToQString(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.wstring());
#else
    return QFile::decodeName(path.c_str());
#endif
}

QtPrintEngine::QtPrintEngine(int resolution)
    : resolution_(resolution),
      metricsBuffer_(std::make_unique<QBuffer>()),
      metricsDevice_(std::make_unique<QPdfWriter>(metricsBuffer_.get())) {
    RegisterFontSubstitutes();
    metricsDevice_->setResolution(resolution_);
    items_.emplace_back();
}

QtPrintEngine::~QtPrintEngine() = default;

double QtPrintEngine::ToDevice(double centimetres) const {
    return centimetres * resolution_ / CentimetresPerInch;
}

QRectF QtPrintEngine::ToDevice(const QRectF& r) const {
    return QRectF(ToDevice(r.left()), ToDevice(r.top()), ToDevice(r.width()), ToDevice(r.height()));
}

QtPrintEngine::TextFormat QtPrintEngine::Format(const std::string& text) const {
    const StyledText styled = ParseStyleCodes(text);
    TextFormat format;
    format.Text = ToQString(styled.Text);
    format.Font =
        ReportFont(fontName_, styled.Style, styleValues_[static_cast<int>(StyleSetting::Two)]);
    const int styleOne = styleValues_[static_cast<int>(StyleSetting::One)];
    const TextAlignment alignment = styled.Style.Alignment.value_or(DefaultAlignment(styleOne));
    format.Flags = HorizontalFlag(alignment) | Qt::AlignTop;
    format.Colour = ToQColor(styled.Style.TextColour.value_or(textColour_));
    return format;
}

QSizeF QtPrintEngine::TextSize(const TextFormat& format, double width) const {
    const QFontMetricsF metrics(format.Font, metricsDevice_.get());
    const double widthPixels = width >= 0.0 ? ToDevice(width) : Unbounded;
    const QRectF bounds =
        metrics.boundingRect(QRectF(0, 0, widthPixels, Unbounded), format.Flags, format.Text);
    // An empty text still takes a line.
    const double height = std::max(bounds.height(), metrics.height());
    const double toCm = CentimetresPerInch / resolution_;
    return QSizeF(bounds.width() * toCm, height * toCm);
}

QtPrintEngine::PlacedItem QtPrintEngine::LayOutText(PlacedItem::Kind kind, Coord x, Coord y,
                                                    Coord x2, Coord y2,
                                                    const std::string& text) const {
    PlacedItem item;
    item.What = kind;
    item.Format = Format(text);
    const bool framed = kind == PlacedItem::Kind::FramedText;
    const double padX = framed ? FramePaddingX : 0.0;
    const double padY = framed ? FramePaddingY : 0.0;

    const double left = frames_.Resolve(x);
    const double top = frames_.Resolve(y);
    double right = 0.0;
    QSizeF size;
    if (IsFree(x2)) {
        size = TextSize(item.Format, -1.0);
        right = left + size.width() + 2 * padX;
    } else {
        right = frames_.Resolve(x2);
        const bool oneLine = styleValues_[static_cast<int>(StyleSetting::Three)] != 0;
        if (!oneLine) item.Format.Flags |= Qt::TextWordWrap;
        if (IsFree(y2)) size = TextSize(item.Format, std::max(right - left - 2 * padX, 0.0));
    }
    const double bottom = IsFree(y2) ? top + size.height() + 2 * padY : frames_.Resolve(y2);
    item.Rect = QRectF(QPointF(left, top), QPointF(right, bottom));
    item.TextRect = item.Rect.adjusted(padX, padY, -padX, -padY);
    return item;
}

QtPrintEngine::PlacedItem QtPrintEngine::Framed(PlacedItem item) const {
    item.Pen = ToQColor(pen_);
    item.Fill = ToQColor(fill_);
    item.PenWidth = penWidth_;
    return item;
}

double QtPrintEngine::Place(PlacedItem item) {
    const double bottom = frames_.Placed(item.Rect.bottom(), item.Rect.right());
    CurrentItems().push_back(std::move(item));
    return bottom;
}

const QImage& QtPrintEngine::Picture(const std::string& resource) {
    auto found = pictures_.find(resource);
    if (found == pictures_.end()) {
        const QString path = QStringLiteral(":/report/%1.png").arg(ToQString(resource));
        found = pictures_.emplace(resource, QImage(path)).first;
    }
    return found->second;
}

void QtPrintEngine::DoOpenDoc() {
    frames_.Reset();
    items_.assign(1, {});
    fontName_ = QStringLiteral("Arial");
    styleValues_ = {0, 10, 0};
    penWidth_ = 0.0;
    pen_ = Black;
    fill_ = White;
    textColour_ = Black;
    measuredWidth_ = 0.0;
    measuredHeight_ = 0.0;
}

void QtPrintEngine::DoCloseDoc() {
    frames_.Reset();
    items_.assign(1, {});
}

// The PDF is written without protection; there is nothing to lock.
void QtPrintEngine::DoSetDocFileReadOnly(bool) {}

void QtPrintEngine::DoSetOutputArea(double left, double top, double right, double bottom) {
    frames_.SetOutputArea(left, top, right, bottom);
}

void QtPrintEngine::DoSetMargin(PositionCode margin, double value) {
    frames_.SetMargin(margin, value);
}

double QtPrintEngine::DoGetMargin(PositionCode margin) const { return frames_.Resolve(margin); }

double QtPrintEngine::DoGetPosition(PositionCode code) const { return frames_.Resolve(code); }

double QtPrintEngine::DoPageWidth() const { return frames_.Current().Width; }

double QtPrintEngine::DoPageHeight() const { return frames_.Current().Height; }

Orientation QtPrintEngine::DoPageOrientation() const { return frames_.Current().PageOrientation; }

void QtPrintEngine::DoSetPageSize(double width, double height) { frames_.SetSize(width, height); }

void QtPrintEngine::DoSetPageOrientation(Orientation orientation) {
    frames_.SetOrientation(orientation);
}

void QtPrintEngine::DoSetFontName(const std::string& name) { fontName_ = ToQString(name); }

void QtPrintEngine::DoSetStyleValue(StyleSetting setting, int value) {
    styleValues_[static_cast<int>(setting)] = value;
}

void QtPrintEngine::DoSetPenWidth(double width) { penWidth_ = std::max(width, 0.0); }

void QtPrintEngine::DoSetPenColour(Colour colour) { pen_ = colour; }

void QtPrintEngine::DoSetFillColour(Colour colour) { fill_ = colour; }

Colour QtPrintEngine::DoFillColour() const { return fill_; }

void QtPrintEngine::DoSetTextColour(Colour colour) { textColour_ = colour; }

double QtPrintEngine::DoWriteText(Coord x, Coord y, Coord x2, Coord y2, const std::string& text) {
    return Place(LayOutText(PlacedItem::Kind::Text, x, y, x2, y2, text));
}

double QtPrintEngine::DoWriteFramedText(Coord x, Coord y, Coord x2, Coord y2,
                                        const std::string& text) {
    return Place(Framed(LayOutText(PlacedItem::Kind::FramedText, x, y, x2, y2, text)));
}

void QtPrintEngine::DoDrawBox(Coord x, Coord y, Coord x2, Coord y2) {
    PlacedItem item;
    item.What = PlacedItem::Kind::Box;
    const double left = frames_.Resolve(x);
    const double top = frames_.Resolve(y);
    // A box has no content to take a size from.
    const double right = IsFree(x2) ? left : frames_.Resolve(x2);
    const double bottom = IsFree(y2) ? top : frames_.Resolve(y2);
    item.Rect = QRectF(QPointF(left, top), QPointF(right, bottom));
    Place(Framed(std::move(item)));
}

void QtPrintEngine::DoDrawPicture(const std::string& resource, Coord x, Coord y, Coord x2,
                                  Coord y2) {
    PlacedItem item;
    item.What = PlacedItem::Kind::Picture;
    item.Picture = Picture(resource);
    double naturalWidth = 0.0;
    double naturalHeight = 0.0;
    if (!item.Picture.isNull()) {
        // Dots per metre to centimetres; a picture without a resolution is taken at 96 dpi.
        const auto dotsPerCm = [](int dotsPerMetre) {
            return dotsPerMetre > 0 ? dotsPerMetre / 100.0 : 96 / 2.54;
        };
        naturalWidth = item.Picture.width() / dotsPerCm(item.Picture.dotsPerMeterX());
        naturalHeight = item.Picture.height() / dotsPerCm(item.Picture.dotsPerMeterY());
    }
    const double left = frames_.Resolve(x);
    const double top = frames_.Resolve(y);
    const double right = IsFree(x2) ? left + naturalWidth : frames_.Resolve(x2);
    const double bottom = IsFree(y2) ? top + naturalHeight : frames_.Resolve(y2);
    item.Rect = QRectF(QPointF(left, top), QPointF(right, bottom));
    Place(std::move(item));
}

void QtPrintEngine::DoMeasureText(Coord x, Coord y, Coord x2, Coord y2, const std::string& text) {
    const PlacedItem item = LayOutText(PlacedItem::Kind::Text, x, y, x2, y2, text);
    measuredWidth_ = item.Rect.width();
    measuredHeight_ = item.Rect.height();
}

double QtPrintEngine::DoMeasuredWidth() const { return measuredWidth_; }

double QtPrintEngine::DoMeasuredHeight() const { return measuredHeight_; }

void QtPrintEngine::DoSavePosition() { frames_.SavePosition(); }

void QtPrintEngine::DoRestorePosition() { frames_.RestorePosition(); }

void QtPrintEngine::DoNewPage() {
    frames_.NewPage();
    items_.emplace_back();
}

int QtPrintEngine::DoPageCount() const { return frames_.Count(); }

void QtPrintEngine::DoSelectPage(int page) { frames_.Select(page); }

void QtPrintEngine::Paint(QPainter& painter, const std::vector<PlacedItem>& items) const {
    for (const PlacedItem& item : items) {
        const QRectF rect = ToDevice(item.Rect);
        switch (item.What) {
            case PlacedItem::Kind::Picture:
                if (!item.Picture.isNull()) painter.drawImage(rect, item.Picture);
                continue;
            case PlacedItem::Kind::Box:
            case PlacedItem::Kind::FramedText: {
                QPen pen(item.Pen, ToDevice(item.PenWidth));
                pen.setJoinStyle(Qt::MiterJoin);
                painter.setPen(item.PenWidth > 0.0 ? pen : QPen(Qt::NoPen));
                painter.setBrush(item.Fill);
                painter.drawRect(rect);
                break;
            }
            case PlacedItem::Kind::Text:
                break;
        }
        if (item.What == PlacedItem::Kind::Box || item.Format.Text.isEmpty()) continue;
        painter.setFont(item.Format.Font);
        painter.setPen(item.Format.Colour);
        painter.drawText(ToDevice(item.TextRect), item.Format.Flags, item.Format.Text);
    }
}

bool QtPrintEngine::DoSaveDocument(const std::filesystem::path& file) {
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(resolution_);
        writer.setCreator(QStringLiteral("Tallora"));
        writer.setTitle(QStringLiteral("Cutting report"));
        const auto& frames = frames_.Frames();
        writer.setPageLayout(LayoutOf(frames.front().Width, frames.front().Height));
        QPainter painter;
        if (!painter.begin(&writer)) return false;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            // A layout set while painting applies from the next page on.
            if (i > 0) {
                writer.setPageLayout(LayoutOf(frames[i].Width, frames[i].Height));
                if (!writer.newPage()) return false;
            }
            Paint(painter, items_[i]);
        }
        if (!painter.end()) return false;
    }
    // Written whole beside the target, every write checked, then renamed over it: a failed save
    // leaves the old file as it was.
    const std::string error =
        WriteFileSafely(file.string(), std::string_view(pdf.constData(), pdf.size()));
    SetSaveError(error);
    return error.empty();
}

}  // namespace tallora
