#include "gui/results/DiagramWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <functional>

#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

// Pattern i: 6000 mm bars cut into two 1450 mm pieces and two of 500 + 10 i (kerf 3), the
// rest an offcut.
TestJob BigJob(int patterns) {
    TestJob job;
    job.Input.Allowances = {3, 0, 0, 100, false};
    job.Result.InputCutLength = {1453};
    for (int i = 0; i < patterns; ++i) {
        CuttingPattern p = testing::Pattern(6000, 1 + i % 3, {1453, 503 + 10 * i}, {2, 2});
        p.IsOffcut = true;
        p.OffcutLength = 6000 - 2906 - 2 * (503 + 10 * i);
        job.Result.Patterns.push_back(p);
        job.Result.InputCutLength.push_back(503 + 10 * i);
    }
    return job;
}

// A viewer of its own job, shown at a size.
struct Viewer {
    TestJob job;
    DiagramWindow form;
    Viewer(TestJob j, QSize size) : job(std::move(j)), form(job.Input, job.Result, nullptr) {
        form.resize(size);
        form.show();
        QApplication::processEvents();
    }
    DiagramImage* Image() const { return form.Image(); }
    QScrollArea* Scroll() const { return form.ScrollArea(); }
    QWidget* View() const { return form.ScrollArea()->viewport(); }
};

// Whether the widget took the wheel.
bool Wheel(QWidget* widget, QPoint at, int angle, Qt::KeyboardModifiers modifiers) {
    QWheelEvent wheel(QPointF(at), QPointF(widget->mapToGlobal(at)), QPoint(), QPoint(0, angle),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
    return wheel.isAccepted();
}

// How wide a zoom draws is the drawing's rule (DiagramSizeFor); here, the keys and the wheel with
// Ctrl step the zoom within its bounds (a touchpad's half notches add up), and the wheel alone is
// the scroll area's.
TEST(DiagramViewer, KeysAndCtrlWheelZoomTheLengthScaleWithinBounds) {
    Viewer v(BigJob(60), QSize(800, 600));
    DiagramImage* image = v.Image();
    QScrollBar* horizontal = v.Scroll()->horizontalScrollBar();
    const int viewWidth = v.View()->width();
    const int fitted = image->width();
    ASSERT_EQ(fitted, viewWidth);
    const auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = {}) {
        return [&v, k, m] { QTest::keyClick(v.Scroll(), k, m); };
    };
    const auto wheel = [&](int angle, Qt::KeyboardModifiers m = Qt::ControlModifier) {
        return [image, angle, m] { Wheel(image, QPoint(300, 200), angle, m); };
    };
    const std::vector<std::pair<std::function<void()>, double>> steps = {
        {key(Qt::Key_Plus), 1.5},
        {key(Qt::Key_Equal, Qt::ControlModifier), 2},
        {wheel(60), 2},
        {wheel(60), 3},
        {wheel(-120, Qt::NoModifier), 3},
        {key(Qt::Key_Minus, Qt::ControlModifier), 2}};
    for (size_t i = 0; i < steps.size(); ++i) {
        steps[i].first();
        EXPECT_EQ(v.form.Zoom(), steps[i].second) << i;
        EXPECT_EQ(image->width(),
                  DiagramSizeFor(v.job.Input, v.job.Result, viewWidth, v.View()->height(),
                                 steps[i].second, DiagramMeasurer())
                      .Width)
            << i;
    }
    EXPECT_TRUE(horizontal->isVisible());
    EXPECT_FALSE(Wheel(image, QPoint(300, 200), -120, Qt::NoModifier));
    for (int i = 0; i < 20; ++i) QTest::keyClick(v.Scroll(), Qt::Key_Plus);
    EXPECT_EQ(v.form.Zoom(), DiagramWindow::MaximumZoom);
    QTest::keyClick(v.Scroll(), Qt::Key_0);
    EXPECT_EQ(image->width(), fitted);
    EXPECT_FALSE(horizontal->isVisible());
    for (int i = 0; i < 5; ++i) QTest::keyClick(v.Scroll(), Qt::Key_Minus);
    EXPECT_EQ(v.form.Zoom(), DiagramWindow::MinimumZoom);
    EXPECT_EQ(image->width(), fitted);
}

}  // namespace
}  // namespace tallora
