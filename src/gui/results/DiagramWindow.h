#pragma once

#include <QDialog>
#include <QStatusBar>

#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "platform/DiagramPainter.h"

class QScrollArea;

namespace tallora {

// The image of the viewer: the cutting diagram laid out at the image's size, of which each
// repaint draws only the exposed part. Pointing at a box tells what it is.
class DiagramImage : public QWidget {
    Q_OBJECT
public:
    DiagramImage(const JobInput& input, const CalculationResult& result, QWidget* parent);
    QSize DrawnSize() const { return drawn_; }

signals:
    // What lies under the mouse, as the status bar says it; empty over nothing.
    void hovered(const QString& text);
    // Ctrl+wheel: steps in (positive) or out, about a point of the image.
    void zoomRequested(int steps, QPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    const JobInput& input_;
    const CalculationResult& result_;
    QtTextMeasurer measurer_;
    QSize drawn_;
    int wheelAngle_ = 0;
};

// "Tallora: View Cutting Patterns": a resizable window showing the cutting diagram, redrawn
// at every size, with a status bar for hints. A diagram whose rows would be too thin for the
// window, or whose length scale is zoomed, scrolls.
class DiagramWindow : public QDialog {
    Q_OBJECT
public:
    DiagramWindow(const JobInput& input, const CalculationResult& result, QWidget* mainWindow);

    DiagramImage* Image() const { return image_; }
    QStatusBar* StatusBar() const { return status_; }
    QScrollArea* ScrollArea() const { return scroll_; }

    static constexpr double MinimumZoom = 1;
    static constexpr double MaximumZoom = 16;
    double Zoom() const { return zoom_; }
    void ZoomIn();
    void ZoomOut();
    void ResetZoom();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Keeps the length under the anchor (a point of the viewport) where it was.
    void SetZoom(double zoom, int anchor);
    int ViewCentre() const;
    void FitImage();
    void CentreOnMainWindow();
    void ShowHover(const QString& text);

    const JobInput& input_;
    const CalculationResult& result_;
    DiagramImage* image_;
    QScrollArea* scroll_;
    QStatusBar* status_;
    double zoom_ = 1;
    QString hover_;
};

}  // namespace tallora
