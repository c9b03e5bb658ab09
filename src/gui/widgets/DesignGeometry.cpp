#include "gui/widgets/DesignGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <cmath>

namespace tallora {

double DesignScale() {
    static const double scale = [] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const double dpi = screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
        return dpi > 0 ? std::max(1.0, dpi / 96.0) : 1.0;
    }();
    return scale;
}

int Px(int designPixels) { return static_cast<int>(std::lround(designPixels * DesignScale())); }

void SetMarginsFromCorner(QWidget* widget, QLayout* layout, int left, int top, int right,
                          int bottom) {
    widget->ensurePolished();
    const QMargins frame = widget->contentsMargins();
    layout->setContentsMargins(
        std::max(0, Px(left) - frame.left()), std::max(0, Px(top) - frame.top()),
        std::max(0, Px(right) - frame.right()), std::max(0, Px(bottom) - frame.bottom()));
}

int EditWidthFor(const QLineEdit* edit, const QString& text) {
    // The edit's own margin of 2 on each side, its text margins, its frame and the cursor.
    const QMargins margins = edit->textMargins();
    const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
    return edit->fontMetrics().horizontalAdvance(text) + margins.left() + margins.right() + 2 * 2 +
           2 * frame + 2;
}

}  // namespace tallora
