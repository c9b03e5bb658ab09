#pragma once

#include <QDialog>
#include <QStatusBar>

#include "job/CuttingJob.h"

namespace tallora {

// The image of the viewer: the cutting diagram drawn at the image's size at every repaint.
class BarImage : public QWidget {
    Q_OBJECT
public:
    BarImage(const CuttingJob& job, QWidget* parent);
    QSize DrawnSize() const { return drawn_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CuttingJob& job_;
    QSize drawn_;
};

// "Tallora: View Cutting Patterns": a resizable window showing the cutting diagram, redrawn
// at every size, with a status bar for hints.
class TImageForm : public QDialog {
    Q_OBJECT
public:
    TImageForm(const CuttingJob& job, QWidget* mainWindow);

    BarImage* Image() const { return image_; }
    QStatusBar* StatusBar() const { return status_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    BarImage* image_;
    QStatusBar* status_;
};

}  // namespace tallora
