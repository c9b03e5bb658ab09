// Draws the report's banner pictures: R1 (portrait pages) and R2 (landscape pages).
//
//   tallora_make_banners FOLDER   writes FOLDER/R1.png and FOLDER/R2.png
//
// Both are one drawing at two sizes, stored at 600 dpi so that the report places them at
// 5.0 x 3.0 cm and 3.3 x 2.0 cm, clear of the title text and of the top margin.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <cmath>
#include <cstdio>

namespace {

constexpr double DesignWidth = 1187.0;
constexpr double DesignHeight = 709.0;
constexpr int DotsPerMetre600Dpi = 23622;

const QColor Outline(0x2E, 0x30, 0x34);

void Card(QPainter& p) {
    const QRectF card(6, 6, DesignWidth - 12, DesignHeight - 12);
    QLinearGradient fill(card.topLeft(), card.bottomLeft());
    fill.setColorAt(0.0, QColor(0x9E, 0x14, 0x14));
    fill.setColorAt(1.0, QColor(0x5E, 0x00, 0x00));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(card, 44, 44);
    p.setPen(QPen(QColor(255, 255, 255, 70), 4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(card.adjusted(16, 16, -16, -16), 32, 32);
}

QPainterPath SawBlade(QPointF centre, double outer, double inner, int teeth) {
    QPainterPath blade;
    for (int i = 0; i < teeth; ++i) {
        const double a0 = 2 * M_PI * i / teeth;
        const double a1 = 2 * M_PI * (i + 0.72) / teeth;  // the tooth's tip, leaning forward
        const double a2 = 2 * M_PI * (i + 1) / teeth;
        const QPointF root(centre.x() + inner * qCos(a0), centre.y() + inner * qSin(a0));
        const QPointF tip(centre.x() + outer * qCos(a1), centre.y() + outer * qSin(a1));
        const QPointF next(centre.x() + inner * qCos(a2), centre.y() + inner * qSin(a2));
        if (i == 0) blade.moveTo(root);
        blade.lineTo(tip);
        blade.lineTo(next);
    }
    blade.closeSubpath();
    return blade;
}

void Blade(QPainter& p, QPointF centre) {
    constexpr double Outer = 140;
    QRadialGradient steel(centre - QPointF(40, 45), 190);
    steel.setColorAt(0.0, QColor(0xFA, 0xFA, 0xFA));
    steel.setColorAt(0.55, QColor(0xC4, 0xC8, 0xCE));
    steel.setColorAt(1.0, QColor(0x86, 0x8B, 0x93));
    p.setPen(QPen(Outline, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(steel);
    p.drawPath(SawBlade(centre, Outer, Outer - 20, 36));

    // Expansion slots and the hub.
    p.setPen(QPen(QColor(0x6A, 0x6F, 0x76), 5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) {
        const double a = M_PI / 4 + i * M_PI / 2;
        const QPointF direction(qCos(a), qSin(a));
        p.drawLine(centre + 82 * direction, centre + 108 * direction);
    }
    p.setPen(QPen(QColor(0x9A, 0x9F, 0xA6), 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 62, 62);
    p.setPen(QPen(Outline, 4));
    p.setBrush(QColor(0x3A, 0x3D, 0x42));
    p.drawEllipse(centre, 36, 36);
    p.setBrush(QColor(0x8A, 0x8F, 0x96));
    p.setPen(Qt::NoPen);
    p.drawEllipse(centre, 13, 13);
}

// A flat bar seen from the side: front face with a rolled-steel sheen, top face in light.
void BarPiece(QPainter& p, double left, double right, double top, double bottom, double depth) {
    const QPolygonF topFace({QPointF(left, top), QPointF(left + depth, top - depth),
                             QPointF(right + depth, top - depth), QPointF(right, top)});
    QLinearGradient topFill(QPointF(0, top - depth), QPointF(0, top));
    topFill.setColorAt(0.0, QColor(0xF4, 0xF5, 0xF7));
    topFill.setColorAt(1.0, QColor(0xD3, 0xD6, 0xDB));
    const QPolygonF endFace({QPointF(right, top), QPointF(right + depth, top - depth),
                             QPointF(right + depth, bottom - depth), QPointF(right, bottom)});
    QLinearGradient front(QPointF(0, top), QPointF(0, bottom));
    front.setColorAt(0.0, QColor(0xE9, 0xEB, 0xEE));
    front.setColorAt(0.30, QColor(0xC3, 0xC7, 0xCD));
    front.setColorAt(0.62, QColor(0x92, 0x97, 0x9F));
    front.setColorAt(1.0, QColor(0xB8, 0xBC, 0xC2));

    p.setPen(QPen(Outline, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(topFill);
    p.drawPolygon(topFace);
    p.setBrush(QColor(0x7E, 0x83, 0x8B));
    p.drawPolygon(endFace);
    p.setBrush(front);
    p.drawRect(QRectF(QPointF(left, top), QPointF(right, bottom)));
}

void Sparks(QPainter& p, QPointF from) {
    struct Spark {
        double angle;  // degrees, 0 to the right, counter-clockwise
        double length;
    };
    const Spark sparks[] = {{6, 96}, {18, 128}, {31, 104}, {44, 122}, {57, 90}, {70, 74}};
    for (const Spark& s : sparks) {
        const double a = qDegreesToRadians(s.angle);
        const QPointF start = from + QPointF(8 * qCos(a), -8 * qSin(a));
        const QPointF end = from + QPointF(s.length * qCos(a), -s.length * qSin(a));
        QLinearGradient glow(start, end);
        glow.setColorAt(0.0, QColor(0xFF, 0xF4, 0xB0));
        glow.setColorAt(0.6, QColor(0xFF, 0xB0, 0x20));
        glow.setColorAt(1.0, QColor(0xFF, 0x70, 0x00, 0));
        p.setPen(QPen(QBrush(glow), 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(start, end);
    }
}

// A measured length above the cut pieces: the cutting list's business.
void Dimension(QPainter& p, double left, double right, double y) {
    const QColor line(255, 255, 255, 170);
    p.setPen(QPen(line, 3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(left, y - 16), QPointF(left, y + 16));
    p.drawLine(QPointF(right, y - 16), QPointF(right, y + 16));
    p.drawLine(QPointF(left + 4, y), QPointF(right - 4, y));
    p.setPen(Qt::NoPen);
    p.setBrush(line);
    const auto arrowHead = [&](double tip, double back) {
        p.drawPolygon(QPolygonF({QPointF(tip, y), QPointF(back, y - 8), QPointF(back, y + 8)}));
    };
    arrowHead(left + 2, left + 22);
    arrowHead(right - 2, right - 22);
}

void Wordmark(QPainter& p) {
    QFont name(QStringLiteral("Liberation Sans"));
    name.setPixelSize(150);
    name.setWeight(QFont::Bold);
    name.setLetterSpacing(QFont::PercentageSpacing, 108);
    p.setFont(name);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 378, DesignWidth, 170), Qt::AlignCenter, QStringLiteral("TALLORA"));

    p.setPen(QPen(QColor(255, 255, 255, 110), 3));
    p.drawLine(QPointF(150, 562), QPointF(DesignWidth - 150, 562));

    QFont tagline(QStringLiteral("Liberation Sans"));
    tagline.setPixelSize(42);
    tagline.setWeight(QFont::Bold);
    tagline.setLetterSpacing(QFont::PercentageSpacing, 125);
    p.setFont(tagline);
    p.setPen(QColor(0xF2, 0xD4, 0xD4));
    p.drawText(QRectF(0, 574, DesignWidth, 70), Qt::AlignCenter,
               QStringLiteral("CUTTING LIST OPTIMISER"));
}

void Draw(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Card(p);

    constexpr double Top = 250;
    constexpr double Bottom = 330;
    constexpr double Depth = 22;
    const QPointF bladeCentre(800, 180);
    Dimension(p, 96, 356, 150);
    Blade(p, bladeCentre);
    // Two pieces already cut off, the rest of the bar under the saw.
    BarPiece(p, 96, 356, Top, Bottom, Depth);
    BarPiece(p, 382, 600, Top, Bottom, Depth);
    BarPiece(p, 626, 1070, Top, Bottom, Depth);
    // The kerf the blade has opened so far.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3A, 0x3D, 0x42));
    p.drawRect(QRectF(bladeCentre.x() - 5, Top + 2, 10, 36));
    // Sparks fly where the teeth leave the bar.
    const double rise = Top - bladeCentre.y();
    Sparks(p, QPointF(bladeCentre.x() + std::sqrt(140.0 * 140.0 - rise * rise), Top));
    Wordmark(p);
}

bool Save(const QString& file, int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDotsPerMeterX(DotsPerMetre600Dpi);
    image.setDotsPerMeterY(DotsPerMetre600Dpi);
    QPainter p(&image);
    p.scale(width / DesignWidth, height / DesignHeight);
    Draw(p);
    p.end();
    return image.save(file, "PNG");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tallora_make_banners FOLDER\n");
        return 2;
    }
    // Drawing pictures needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool saved = Save(folder + QStringLiteral("/R1.png"), 1187, 709) &&
                       Save(folder + QStringLiteral("/R2.png"), 790, 472);
    if (!saved) {
        std::fprintf(stderr, "tallora_make_banners: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
