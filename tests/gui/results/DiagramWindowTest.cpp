#include "gui/results/DiagramWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>
#include <functional>

#include "gui/DesktopTestSupport.h"
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

// How wide a zoom draws is the drawing's rule (DiagramSizeFor); here, the keys and the wheel with
// Ctrl step the zoom within its bounds (a touchpad's half notches add up), the wheel alone is the
// scroll area's, and a zoom by key keeps the middle of the view in place.
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
    EXPECT_EQ(horizontal->maximum(), image->width() - v.View()->width());
    EXPECT_EQ(v.View()->width(), viewWidth);  // the vertical bar stays as it was
    EXPECT_FALSE(Wheel(image, QPoint(300, 200), -120, Qt::NoModifier));
    for (int i = 0; i < 20; ++i) QTest::keyClick(v.Scroll(), Qt::Key_Plus);
    EXPECT_EQ(v.form.Zoom(), DiagramWindow::MaximumZoom);
    QTest::keyClick(v.Scroll(), Qt::Key_0);
    EXPECT_EQ(image->width(), fitted);
    EXPECT_FALSE(horizontal->isVisible());
    for (int i = 0; i < 5; ++i) QTest::keyClick(v.Scroll(), Qt::Key_Minus);
    EXPECT_EQ(v.form.Zoom(), DiagramWindow::MinimumZoom);
    EXPECT_EQ(image->width(), fitted);

    QTest::keyClick(v.Scroll(), Qt::Key_Plus);
    QTest::keyClick(v.Scroll(), Qt::Key_Plus);
    horizontal->setValue(horizontal->maximum() / 3);
    const int half = v.View()->width() / 2;
    const double middle = double(horizontal->value() + half) / image->width();
    QTest::keyClick(v.Scroll(), Qt::Key_Plus);
    EXPECT_NEAR(double(horizontal->value() + half) / image->width(), middle, 0.002);
}

// What a point names is the drawing's rule (DiagramHitAt); here, the mouse over the image says it
// in the status bar, through the scrolled view too.
TEST(DiagramViewer, PointingAtABoxSaysWhatItIsInTheStatusBar) {
    Viewer v(BigJob(60), QSize(800, 600));
    DiagramImage* image = v.Image();
    // Where the pieces are drawn, from the drawing's own texts.
    const auto operations = DrawCuttingList(v.job.Input, v.job.Result, image->width(),
                                            image->height(), DiagramMeasurer());
    std::vector<QPoint> pieces;
    for (const auto& op : operations) {
        const auto* t = std::get_if<DiagramText>(&op);
        if (t != nullptr && t->Text == "1450") pieces.emplace_back(t->X + 2, t->Y + 2);
    }
    ASSERT_FALSE(pieces.empty());
    QTest::mouseMove(image, pieces.front());
    EXPECT_EQ(v.form.StatusBar()->currentMessage(), "Pattern 1: piece 1450 mm");
    QTest::mouseMove(image, QPoint(3, 3));
    EXPECT_EQ(v.form.StatusBar()->currentMessage(), "");

    // Scrolled to the bottom the last bar is pointed at through the view.
    QScrollBar* vertical = v.Scroll()->verticalScrollBar();
    vertical->setValue(vertical->maximum());
    QApplication::processEvents();
    const QPoint last = pieces.back() - QPoint(0, vertical->value());
    ASSERT_TRUE(v.View()->rect().contains(last));
    QTest::mouseMove(v.View(), last);
    EXPECT_EQ(v.form.StatusBar()->currentMessage(), "Pattern 60: piece 1450 mm");
}

// The viewer is made at the main window's size and opens centred on it however it was left; it
// redraws at every size and takes the hints in its own status bar, with no tip over the drawing.
TEST(OutputWindows, TheViewerOpensCentredRedrawsAtEverySizeAndTakesTheHints) {
    testing::Desktop d;
    MainWindow& form = d.Start();
    d.Calculated({{"6", "2450"}, {"10", "965"}});
    DiagramWindow* viewer = form.Diagram();
    EXPECT_EQ(viewer->size(), form.size());
    EXPECT_EQ(viewer->windowTitle(), "Tallora: View Cutting Patterns");
    form.move(140, 90);
    QApplication::processEvents();
    std::vector<QPoint> centres;
    std::vector<QSize> drawn;
    QString hint;
    bool tipShown = true;
    QTimer::singleShot(0, [&] {
        QApplication::processEvents();
        centres.push_back(viewer->frameGeometry().center());
        for (const QSize size : {QSize(640, 420), QSize(1100, 760)}) {
            viewer->resize(size);
            QApplication::processEvents();
            drawn.push_back(viewer->Image()->DrawnSize());
        }
        QStatusTipEvent tip(QStringLiteral("a hint"));
        QApplication::sendEvent(viewer->Image(), &tip);
        hint = viewer->StatusBar()->currentMessage();
        const QPoint middle = viewer->Image()->rect().center();
        QHelpEvent help(QEvent::ToolTip, middle, viewer->Image()->mapToGlobal(middle));
        QApplication::sendEvent(viewer->Image(), &help);
        tipShown = QToolTip::isVisible();
        viewer->resize(520, 380);
        viewer->move(0, 0);
        viewer->close();
    });
    form.showDiagram();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_GT(drawn[1].width(), drawn[0].width());
    EXPECT_GT(drawn[1].height(), drawn[0].height());
    EXPECT_EQ(hint, "a hint");
    EXPECT_FALSE(tipShown);

    // Made smaller and moved away, it opens centred again at its own size.
    QTimer::singleShot(0, [&] {
        QApplication::processEvents();
        centres.push_back(viewer->frameGeometry().center());
        viewer->close();
    });
    form.showDiagram();
    ASSERT_EQ(centres.size(), 2u);
    for (const QPoint centre : centres)
        EXPECT_LE((centre - form.frameGeometry().center()).manhattanLength(), 1);
    EXPECT_EQ(viewer->size(), QSize(520, 380));
}

}  // namespace
}  // namespace tallora
