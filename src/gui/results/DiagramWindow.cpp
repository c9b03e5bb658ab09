#include "gui/results/DiagramWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusTipEvent>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <array>

#include "gui/CoreTexts.h"
#include "gui/widgets/DesignGeometry.h"

namespace tallora {

namespace {

// Steps of the length scale: each about half as much again as the one before.
constexpr std::array<double, 9> ZoomSteps = {1, 1.5, 2, 3, 4, 6, 8, 12, 16};
static_assert(ZoomSteps.front() == DiagramWindow::MinimumZoom);
static_assert(ZoomSteps.back() == DiagramWindow::MaximumZoom);

double StepZoom(double zoom, int steps) {
    for (; steps > 0; --steps) {
        const auto above = std::upper_bound(ZoomSteps.begin(), ZoomSteps.end(), zoom);
        if (above == ZoomSteps.end()) break;
        zoom = *above;
    }
    for (; steps < 0; ++steps) {
        const auto below = std::lower_bound(ZoomSteps.begin(), ZoomSteps.end(), zoom);
        if (below == ZoomSteps.begin()) break;
        zoom = *(below - 1);
    }
    return zoom;
}

}  // namespace

DiagramImage::DiagramImage(const JobInput& input, const CalculationResult& result, QWidget* parent)
    : QWidget(parent), input_(input), result_(result), measurer_(DiagramMeasurer()) {
    setObjectName(QStringLiteral("DiagramImage"));
    setStatusTip(tr("Shows the calculated cutting patterns visually"));
    setProperty(NoHintTipProperty, true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void DiagramImage::paintEvent(QPaintEvent* event) {
    // The diagram is laid out anew at the image's current size; only the exposed part is drawn,
    // so a diagram many screens big costs no more than the screen.
    drawn_ = size();
    const QRect part = event->rect();
    QPainter painter(this);
    painter.drawImage(part.topLeft(), RenderDiagramPart(input_, result_, width(), height(), part));
}

void DiagramImage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit hovered(CoreText(
        DiagramHitText(DiagramHitAt(input_, result_, width(), height(), measurer_, at.x(), at.y()),
                       input_.Units)));
    QWidget::mouseMoveEvent(event);
}

void DiagramImage::wheelEvent(QWheelEvent* event) {
    if (!event->modifiers().testFlag(Qt::ControlModifier)) {
        // The scroll area scrolls.
        event->ignore();
        return;
    }
    // A touchpad sends small angles: a step is taken for each notch's worth.
    wheelAngle_ += event->angleDelta().y();
    const int steps = wheelAngle_ / QWheelEvent::DefaultDeltasPerStep;
    wheelAngle_ -= steps * QWheelEvent::DefaultDeltasPerStep;
    if (steps != 0) emit zoomRequested(steps, event->position().toPoint());
    event->accept();
}

DiagramWindow::DiagramWindow(const JobInput& input, const CalculationResult& result,
                             QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      input_(input),
      result_(result) {
    setObjectName(QStringLiteral("DiagramWindow"));
    setWindowTitle(tr("Tallora: View Cutting Patterns"));
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
    scroll_ = new QScrollArea(panel);
    scroll_->setObjectName(QStringLiteral("DiagramScroll"));
    // No frame: when the diagram fits, the image is exactly the panel.
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(false);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    image_ = new DiagramImage(input, result, scroll_);
    scroll_->setWidget(image_);
    scroll_->installEventFilter(this);
    panelLayout->addWidget(scroll_);
    layout->addWidget(panel, 1);
    status_ = new QStatusBar(this);
    status_->setObjectName(QStringLiteral("StatusBar1"));
    status_->setFixedHeight(Px(19));
    status_->setSizeGripEnabled(false);
    layout->addWidget(status_);
    connect(image_, &DiagramImage::hovered, this, &DiagramWindow::ShowHover);
    connect(image_, &DiagramImage::zoomRequested, this, [this](int steps, QPoint at) {
        SetZoom(StepZoom(zoom_, steps), at.x() - scroll_->horizontalScrollBar()->value());
    });
    // Takes the main window's size when it is made; where it opens is settled when it shows.
    resize(mainWindow != nullptr ? mainWindow->size() : QSize(Px(945), Px(665)));
}

void DiagramWindow::ZoomIn() { SetZoom(StepZoom(zoom_, 1), ViewCentre()); }

void DiagramWindow::ZoomOut() { SetZoom(StepZoom(zoom_, -1), ViewCentre()); }

void DiagramWindow::ResetZoom() { SetZoom(MinimumZoom, 0); }

int DiagramWindow::ViewCentre() const { return scroll_->viewport()->width() / 2; }

void DiagramWindow::SetZoom(double zoom, int anchor) {
    zoom = std::clamp(zoom, MinimumZoom, MaximumZoom);
    if (zoom == zoom_) return;
    QScrollBar* bar = scroll_->horizontalScrollBar();
    const double oldWidth = std::max(image_->width(), 1);
    const double anchored = bar->value() + anchor;
    zoom_ = zoom;
    FitImage();
    bar->setValue(qRound(anchored * image_->width() / oldWidth) - anchor);
}

void DiagramWindow::FitImage() {
    // The scroll bars take room from the view, which may call for the other one: settle both.
    const QSize full = scroll_->size();
    const int barWidth = scroll_->verticalScrollBar()->sizeHint().width();
    const int barHeight = scroll_->horizontalScrollBar()->sizeHint().height();
    const QtTextMeasurer measurer = DiagramMeasurer();
    bool vertical = false;
    bool horizontal = false;
    DiagramSize size;
    for (int pass = 0; pass < 3; ++pass) {
        const int viewWidth = full.width() - (vertical ? barWidth : 0);
        const int viewHeight = full.height() - (horizontal ? barHeight : 0);
        size = DiagramSizeFor(input_, result_, viewWidth, viewHeight, zoom_, measurer);
        const bool needVertical = size.Height > viewHeight;
        const bool needHorizontal = size.Width > viewWidth;
        if (needVertical == vertical && needHorizontal == horizontal) break;
        vertical = needVertical;
        horizontal = needHorizontal;
    }
    scroll_->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    scroll_->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn
                                                     : Qt::ScrollBarAlwaysOff);
    image_->resize(std::max(size.Width, 1), std::max(size.Height, 1));
}

void DiagramWindow::CentreOnMainWindow() {
    QWidget* main = parentWidget();
    if (main == nullptr) return;
    // Before it has been shown the viewer's frame is unknown; the main window's is alike.
    QMargins frame;
    if (const QWindow* window = windowHandle()) frame = window->frameMargins();
    if (frame.isNull() && main->windowHandle() != nullptr)
        frame = main->windowHandle()->frameMargins();
    QRect bounds(QPoint(0, 0), size().grownBy(frame));
    bounds.moveCenter(main->frameGeometry().center());
    move(bounds.topLeft());
}

void DiagramWindow::ShowHover(const QString& text) {
    if (text == hover_) return;
    hover_ = text;
    if (!text.isEmpty()) {
        status_->showMessage(text);
        return;
    }
    // Off the boxes the image's own hint comes back, where hints are on.
    status_->clearMessage();
    QStatusTipEvent tip(image_->statusTip());
    QApplication::sendEvent(image_, &tip);
}

void DiagramWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    image_->repaint();
}

void DiagramWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) CentreOnMainWindow();
    // The job may have been calculated again since the viewer was last open.
    FitImage();
    hover_.clear();
}

void DiagramWindow::keyPressEvent(QKeyEvent* event) {
    // "+" is a shifted key on many keyboards, and the keypad's keys carry their own flag.
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (modifiers == Qt::NoModifier || modifiers == Qt::ControlModifier) {
        switch (event->key()) {
            case Qt::Key_Plus:
            case Qt::Key_Equal:
                ZoomIn();
                return;
            case Qt::Key_Minus:
            case Qt::Key_Underscore:
                ZoomOut();
                return;
            case Qt::Key_0:
                ResetZoom();
                return;
            default:
                break;
        }
    }
    QDialog::keyPressEvent(event);
}

bool DiagramWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_ && event->type() == QEvent::Resize) FitImage();
    return QDialog::eventFilter(watched, event);
}

}  // namespace tallora
