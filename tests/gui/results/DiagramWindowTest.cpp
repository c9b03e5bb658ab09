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
// rest an offcut. Pattern 3 (index 2) has 1450, 520 and an offcut of 6000 - 2906 - 1046.
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

QImage Rgb32(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

// Whether the widget took the wheel.
bool Wheel(QWidget* widget, QPoint at, int angle, Qt::KeyboardModifiers modifiers) {
    QWheelEvent wheel(QPointF(at), QPointF(widget->mapToGlobal(at)), QPoint(), QPoint(0, angle),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
    return wheel.isAccepted();
}

// Where the rows go is the drawing's rule (DrawCuttingList); the view shows the drawing of its
// size, the whole of it when the job fits, scrolled when it does not.
TEST(DiagramViewer, TheViewShowsTheDrawingWholeOrScrolled) {
    Viewer fits(BigJob(3), QSize(800, 600));
    EXPECT_EQ(fits.Image()->size(), fits.Scroll()->size());
    EXPECT_FALSE(fits.Scroll()->verticalScrollBar()->isVisible());
    const QSize size = fits.Image()->size();
    EXPECT_EQ(Rgb32(fits.View()->grab().toImage()),
              Rgb32(RenderDiagram(fits.job.Input, fits.job.Result, size.width(), size.height())));

    Viewer v(BigJob(60), QSize(800, 600));
    DiagramImage* image = v.Image();
    QScrollBar* vertical = v.Scroll()->verticalScrollBar();
    EXPECT_TRUE(vertical->isVisible());
    EXPECT_FALSE(v.Scroll()->horizontalScrollBar()->isVisible());
    EXPECT_EQ(image->width(), v.View()->width());
    EXPECT_EQ(vertical->maximum(), image->height() - v.View()->height());
    QTest::keyClick(v.Scroll(), Qt::Key_PageDown);
    EXPECT_GT(vertical->value(), 0);
    vertical->setValue(vertical->maximum());
    QApplication::processEvents();
    const QImage whole =
        Rgb32(RenderDiagram(v.job.Input, v.job.Result, image->width(), image->height()));
    EXPECT_EQ(Rgb32(v.View()->grab().toImage()),
              whole.copy(0, vertical->maximum(), v.View()->width(), v.View()->height()));
}

TEST(DiagramViewer, KeysAndCtrlWheelZoomTheLengthScaleWithinBounds) {
    Viewer v(BigJob(60), QSize(800, 600));
    DiagramImage* image = v.Image();
    QScrollBar* horizontal = v.Scroll()->horizontalScrollBar();
    const int viewWidth = v.View()->width();
    const int fitted = image->width();
    const QtTextMeasurer measurer = DiagramMeasurer();
    auto widthAt = [&](double zoom) {
        return DiagramSizeFor(v.job.Input, v.job.Result, viewWidth, v.View()->height(), zoom,
                              measurer)
            .Width;
    };
    ASSERT_EQ(fitted, viewWidth);

    QTest::keyClick(v.Scroll(), Qt::Key_Plus);
    EXPECT_EQ(v.form.Zoom(), 1.5);
    EXPECT_TRUE(horizontal->isVisible());
    EXPECT_EQ(horizontal->maximum(), image->width() - v.View()->width());
    EXPECT_EQ(v.View()->width(), viewWidth);  // the vertical bar stays as it was

    // Each key or notch of the wheel with Ctrl, and the zoom it leaves; half a notch at a time
    // as a touchpad sends it; never past the bounds; without Ctrl the wheel is the scroll
    // area's.
    const auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = {}) {
        return [&v, k, m] { QTest::keyClick(v.Scroll(), k, m); };
    };
    const auto wheel = [&](int angle, Qt::KeyboardModifiers m = Qt::ControlModifier) {
        return [image, angle, m] { Wheel(image, QPoint(300, 200), angle, m); };
    };
    const std::vector<std::pair<std::function<void()>, double>> steps = {
        {key(Qt::Key_Equal, Qt::ControlModifier), 2},
        {wheel(120), 3},
        {wheel(60), 3},
        {wheel(60), 4},
        {key(Qt::Key_Minus), 3},
        {key(Qt::Key_Plus, Qt::KeypadModifier), 4},
        {wheel(-120, Qt::NoModifier), 4},
        {key(Qt::Key_Minus, Qt::ControlModifier), 3},
        {wheel(-120), 2}};
    for (size_t i = 0; i < steps.size(); ++i) {
        steps[i].first();
        EXPECT_EQ(v.form.Zoom(), steps[i].second) << i;
        EXPECT_EQ(image->width(), widthAt(steps[i].second)) << i;
    }
    EXPECT_FALSE(Wheel(image, QPoint(300, 200), -120, Qt::NoModifier));
    for (int i = 0; i < 20; ++i) QTest::keyClick(v.Scroll(), Qt::Key_Plus);
    EXPECT_EQ(v.form.Zoom(), DiagramWindow::MaximumZoom);
    EXPECT_LE(image->width(), 16 * fitted);

    QTest::keyClick(v.Scroll(), Qt::Key_0);
    EXPECT_EQ(image->width(), fitted);
    EXPECT_FALSE(horizontal->isVisible());
    for (int i = 0; i < 5; ++i) QTest::keyClick(v.Scroll(), Qt::Key_Minus);
    EXPECT_EQ(v.form.Zoom(), DiagramWindow::MinimumZoom);
    EXPECT_EQ(image->width(), fitted);

    // A zoom by key keeps the middle of the view in place.
    QTest::keyClick(v.Scroll(), Qt::Key_Plus);
    QTest::keyClick(v.Scroll(), Qt::Key_Plus);
    horizontal->setValue(horizontal->maximum() / 3);
    const int half = v.View()->width() / 2;
    const double middle = double(horizontal->value() + half) / image->width();
    QTest::keyClick(v.Scroll(), Qt::Key_Plus);
    EXPECT_NEAR(double(horizontal->value() + half) / image->width(), middle, 0.002);
}

TEST(DiagramViewer, PointingAtABoxSaysWhatItIsInTheStatusBar) {
    Viewer v(BigJob(60), QSize(800, 600));
    DiagramImage* image = v.Image();
    // Where the third pattern's pieces and offcut are drawn, from the drawing's own texts.
    const auto operations = DrawCuttingList(v.job.Input, v.job.Result, image->width(),
                                            image->height(), DiagramMeasurer());
    std::vector<DiagramBox> bars;
    for (const auto& op : operations) {
        if (const auto* box = std::get_if<DiagramBox>(&op); box && box->Fill == Silver)
            bars.push_back(*box);
    }
    ASSERT_EQ(bars.size(), 60u);
    auto textIn = [&](const DiagramBox& bar, const std::string& text) {
        for (const auto& op : operations) {
            const auto* t = std::get_if<DiagramText>(&op);
            if (t && t->Text == text && t->Y > bar.Top && t->Y < bar.Bottom)
                return QPoint(t->X + 2, t->Y + 2);
        }
        ADD_FAILURE() << "no text " << text;
        return QPoint();
    };
    auto pointAt = [&](QPoint at) {
        QTest::mouseMove(image, at);
        return v.form.StatusBar()->currentMessage();
    };
    EXPECT_EQ(pointAt(textIn(bars[2], "1450")), "Pattern 3: piece 1450 mm");
    EXPECT_EQ(pointAt(textIn(bars[2], "2048 Offcut")), "Pattern 3: offcut 2048 mm");
    EXPECT_EQ(pointAt(QPoint(3, 3)), "");

    QScrollBar* vertical = v.Scroll()->verticalScrollBar();
    // Scrolled to the bottom the last bar is pointed at through the view.
    vertical->setValue(vertical->maximum());
    QApplication::processEvents();
    const QPoint last = textIn(bars[59], "1450") - QPoint(0, vertical->value());
    ASSERT_TRUE(v.View()->rect().contains(last));
    QTest::mouseMove(v.View(), last);
    EXPECT_EQ(v.form.StatusBar()->currentMessage(), "Pattern 60: piece 1450 mm");
}

}  // namespace
}  // namespace tallora
