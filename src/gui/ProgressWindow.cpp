#include "gui/ProgressWindow.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/widgets/DesignGeometry.h"

namespace tallora {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    // Window managers draw their own buttons on any title bar they make, whatever the window
    // asks; so the window draws its title itself and has no buttons but Cancel.
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(tr("Calculation Progress"));
    // Below the caption, a column laid out as the design places it at 330 by 224 pixels; a
    // longer text (another language) makes the window wider.
    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(Px(10), Px(10), Px(10), 0);
    column->setSpacing(0);
    auto line = [&](QWidget* widget, int height, int gapAfter) {
        widget->setFixedHeight(Px(height));
        column->addWidget(widget);
        if (gapAfter > 0) column->addSpacing(Px(gapAfter));
    };
    auto* title = new QLabel(tr("Calculating Solution"), client);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    title->setFont(bold);
    title->setAlignment(Qt::AlignCenter);
    line(title, 24, 2);
    auto* wait = new QLabel(tr("Please wait a moment..."), client);
    wait->setAlignment(Qt::AlignCenter);
    line(wait, 16, 10);
    for (int i = 0; i < 3; ++i) {
        lines_[i] = new QLabel(client);
        lines_[i]->setObjectName(QStringLiteral("Line%1").arg(i + 1));
        lines_[i]->setAlignment(Qt::AlignCenter);
        line(lines_[i], 16, i < 2 ? 2 : 8);
    }
    bar_ = new QProgressBar(client);
    bar_->setObjectName(QStringLiteral("ProgressBar"));
    bar_->setTextVisible(false);
    bar_->setFixedHeight(Px(18));
    auto* barRow = new QHBoxLayout;
    barRow->setContentsMargins(Px(10), 0, Px(10), 0);
    barRow->addWidget(bar_);
    column->addLayout(barRow);
    column->addSpacing(Px(1));
    // What it is doing and for how long, below the bar.
    activity_ = new QLabel(client);
    activity_->setObjectName(QStringLiteral("Activity"));
    activity_->setAlignment(Qt::AlignCenter);
    line(activity_, 16, 1);
    cancel_ = new QPushButton(tr("Cancel"), client);
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    cancel_->setFixedHeight(Px(25));
    cancel_->setMinimumWidth(Px(75));
    column->addWidget(cancel_, 0, Qt::AlignHCenter);
    column->addStretch(1);

    // The window: the design's size, or wider where the texts need it.
    const QSize design(Px(330), Px(224));
    const int clientWidth = std::max(design.width(), client->sizeHint().width());
    setFixedSize(clientWidth, design.height());
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setGeometry(rect());
    frame->lower();  // a box around the rest, never over it
    auto* caption = new QLabel(windowTitle(), this);
    caption->setObjectName(QStringLiteral("Caption"));
    caption->setAlignment(Qt::AlignCenter);
    caption->setAutoFillBackground(true);
    caption->setBackgroundRole(QPalette::Highlight);
    caption->setForegroundRole(QPalette::HighlightedText);
    QFont captionFont = caption->font();
    captionFont.setBold(true);
    caption->setFont(captionFont);
    caption->setGeometry(1, 1, width() - 2, Px(22));
    client->setGeometry(0, Px(24), width(), height() - Px(24));
    connect(cancel_, &QPushButton::clicked, this, [this] {
        cancel_->setEnabled(false);  // once is enough; the calculation stops at its next check
        emit cancelRequested();
    });
}

void ProgressWindow::Start(int maximum) {
    for (QLabel* line : lines_) line->clear();
    activity_->clear();
    cancel_->setEnabled(true);
    bar_->setRange(0, std::max(1, maximum));
    bar_->setValue(0);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    show();
    raise();
    repaint();
}

void ProgressWindow::SetPosition(int position) {
    bar_->setValue(std::clamp(position, bar_->minimum(), bar_->maximum()));
}

void ProgressWindow::SetLines(const QString& allocated, const QString& remaining) {
    lines_[1]->setText(allocated);
    lines_[2]->setText(remaining);
    repaint();
}

void ProgressWindow::SetPermutationLine(const QString& text) {
    lines_[0]->setText(text);
    repaint();
}

void ProgressWindow::SetActivity(const QString& text, bool busy) {
    activity_->setText(text);
    // A search that places nothing yet has no share done to show: the bar moves on its own.
    if (busy && bar_->maximum() != 0) {
        range_ = bar_->maximum();
        bar_->setRange(0, 0);
    } else if (!busy && bar_->maximum() == 0) {
        bar_->setRange(0, range_);
    }
}

QString ProgressWindow::Line(int number) const {
    return number == 4 ? activity_->text() : lines_[number - 1]->text();
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    // Only the calculation's end closes the window; asking the window to close asks to stop.
    event->ignore();
    if (cancel_->isEnabled()) cancel_->click();
}

void ProgressWindow::keyPressEvent(QKeyEvent* event) {
    // Escape cancels as the button does; nothing closes the window but the calculation's end.
    if (event->key() == Qt::Key_Escape && cancel_->isEnabled()) cancel_->click();
}

}  // namespace tallora
