#include <gtest/gtest.h>

#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolTip>

#include "gui/DesktopTestSupport.h"
#include "gui/results/DiagramWindow.h"

namespace tallora {
namespace {

using testing::Desktop;

// The viewer is made at the main window's size and opens centred on it however it was left; it
// redraws at every size and takes the hints in its own status bar, with no tip over the drawing.
TEST(OutputWindows, TheViewerOpensCentredRedrawsAtEverySizeAndTakesTheHints) {
    Desktop d;
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
