#include "app/ProgressForm.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "widgets/DesignGeometry.h"

namespace tallora {

TProgressForm::TProgressForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint) {
    // A title and nothing else: no close box, no minimise or maximise.
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);
    setWindowFlag(Qt::WindowSystemMenuHint, false);
    setObjectName(QStringLiteral("ProgressForm"));
    setWindowTitle(QStringLiteral("Calculation Progress"));
    setFixedSize(Px(330), Px(200));
    auto* title = new QLabel(QStringLiteral("Calculating Solution"), this);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    title->setFont(bold);
    title->setAlignment(Qt::AlignCenter);
    Place(title, 10, 10, 310, 24);
    auto* wait = new QLabel(QStringLiteral("Please wait a moment..."), this);
    wait->setAlignment(Qt::AlignCenter);
    Place(wait, 10, 36, 310, 16);
    for (int i = 0; i < 3; ++i) {
        lines_[i] = new QLabel(this);
        lines_[i]->setObjectName(QStringLiteral("Line%1").arg(i + 1));
        lines_[i]->setAlignment(Qt::AlignCenter);
        Place(lines_[i], 10, 62 + 18 * i, 310, 16);
    }
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar"));
    bar_->setTextVisible(false);
    Place(bar_, 20, 122, 290, 18);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    Place(cancel_, 128, 158, 75, 25);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        cancel_->setEnabled(false);  // once is enough; the calculation stops at its next check
        emit cancelRequested();
    });
}

void TProgressForm::Start(int maximum) {
    for (QLabel* line : lines_) line->clear();
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

void TProgressForm::SetPosition(int position) {
    bar_->setValue(std::clamp(position, bar_->minimum(), bar_->maximum()));
}

void TProgressForm::SetLines(const QString& allocated, const QString& remaining) {
    lines_[1]->setText(allocated);
    lines_[2]->setText(remaining);
    repaint();
}

void TProgressForm::SetPermutationLine(const QString& text) {
    lines_[0]->setText(text);
    repaint();
}

QString TProgressForm::Line(int number) const { return lines_[number - 1]->text(); }

void TProgressForm::closeEvent(QCloseEvent* event) { event->ignore(); }

void TProgressForm::keyPressEvent(QKeyEvent* event) {
    // Escape cancels as the button does; nothing closes the window but the calculation's end.
    if (event->key() == Qt::Key_Escape && cancel_->isEnabled()) cancel_->click();
}

}  // namespace tallora
