#include "results/qt/ImageForm.h"

#include <QPainter>
#include <QVBoxLayout>

#include "results/qt/DiagramPainter.h"
#include "widgets/DesignGeometry.h"

namespace tallora {

BarImage::BarImage(const CuttingJob& job, QWidget* parent) : QWidget(parent), job_(job) {
    setObjectName(QStringLiteral("BarImage"));
    setStatusTip(QStringLiteral("Shows the calculated cutting patterns visually"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BarImage::paintEvent(QPaintEvent*) {
    // The bitmap takes the image's current size, then the diagram is drawn into it anew.
    drawn_ = size();
    QPainter painter(this);
    painter.drawImage(0, 0, RenderDiagram(job_, width(), height()));
}

TImageForm::TImageForm(const CuttingJob& job, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("ImageForm"));
    setWindowTitle(QStringLiteral("Tallora: View Cutting Patterns"));
    setFont(DiagramFont());
    setModal(true);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    image_ = new BarImage(job, panel);
    panelLayout->addWidget(image_);
    layout->addWidget(panel, 1);
    status_ = new QStatusBar(this);
    status_->setObjectName(QStringLiteral("StatusBar1"));
    status_->setFixedHeight(Px(19));
    status_->setSizeGripEnabled(false);
    layout->addWidget(status_);
    // Takes the main window's bounds when it is made.
    resize(mainWindow != nullptr ? mainWindow->size() : QSize(Px(945), Px(665)));
    if (mainWindow != nullptr) move(mainWindow->pos());
}

void TImageForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    image_->repaint();
}

}  // namespace tallora
