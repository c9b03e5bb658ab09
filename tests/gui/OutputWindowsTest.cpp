#include <gtest/gtest.h>

#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>

#include "gui/DesktopTestSupport.h"
#include "gui/results/DiagramWindow.h"

namespace tallora {
namespace {

using testing::Desktop;

void CalculateBeamJob(Desktop& d) {
    d.AddStock("*", "6000");
    d.AddStock("2", "12000");
    d.AddCut("6", "2450");
    d.AddCut("10", "965");
    testing::CalculateAndWait(*d.form);
    ASSERT_TRUE(d.form->ResultsValid());
}

TEST(OutputWindows, TheViewerRedrawsAtEverySizeAndTakesTheHints) {
    Desktop d;
    MainWindow& form = d.Start();
    CalculateBeamJob(d);
    DiagramWindow* viewer = form.Diagram();
    std::vector<QSize> drawn;
    QString hint;
    QTimer::singleShot(0, [&] {
        QApplication::processEvents();
        for (const QSize size : {QSize(640, 420), QSize(1100, 760)}) {
            viewer->resize(size);
            QApplication::processEvents();
            drawn.push_back(viewer->Image()->DrawnSize());
        }
        QStatusTipEvent tip(QStringLiteral("a hint"));
        QApplication::sendEvent(viewer->Image(), &tip);
        hint = viewer->StatusBar()->currentMessage();
        viewer->close();
    });
    form.showDiagram();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_GT(drawn[1].width(), drawn[0].width());
    EXPECT_GT(drawn[1].height(), drawn[0].height());
    EXPECT_EQ(drawn[1], viewer->Image()->size());
    EXPECT_EQ(hint, "a hint");
    EXPECT_EQ(viewer->windowTitle(), "Tallora: View Cutting Patterns");
    EXPECT_FALSE(viewer->isVisible());
}

TEST(OutputWindows, TheViewerOpensCentredOnTheMainWindow) {
    Desktop d;
    MainWindow& form = d.Start();
    CalculateBeamJob(d);
    DiagramWindow* viewer = form.Diagram();
    // It is made at the main window's size; where it opens follows the main window now.
    EXPECT_EQ(viewer->size(), form.size());
    form.move(140, 90);
    QApplication::processEvents();
    std::vector<QPoint> centres;
    auto openAndLook = [&] {
        QTimer::singleShot(0, [&] {
            QApplication::processEvents();
            centres.push_back(viewer->frameGeometry().center());
            viewer->close();
        });
        form.showDiagram();
    };
    openAndLook();
    // Made smaller and moved away, it opens centred again.
    viewer->resize(520, 380);
    viewer->move(0, 0);
    openAndLook();
    ASSERT_EQ(centres.size(), 2u);
    const QPoint mainCentre = form.frameGeometry().center();
    for (const QPoint centre : centres) {
        EXPECT_LE((centre - mainCentre).manhattanLength(), 1)
            << centre.x() << "," << centre.y() << " for " << mainCentre.x() << ","
            << mainCentre.y();
    }
    EXPECT_EQ(viewer->size(), QSize(520, 380));
}

TEST(OutputWindows, PrintPdfWritesNumberedReportsThatCloseDeletes) {
    Desktop d;
    MainWindow& form = d.Start();
    CalculateBeamJob(d);
    form.printReport();
    form.printReport();
    ASSERT_EQ(d.opened.size(), 2u);
    EXPECT_EQ(d.opened[0].toStdString(), d.DataDir() + "/~Tallora1.pdf");
    EXPECT_EQ(d.opened[1].toStdString(), d.DataDir() + "/~Tallora2.pdf");
    EXPECT_EQ(testing::ReadBytes(d.opened[0].toStdString()).rfind("%PDF", 0), 0u);
    form.close();
    EXPECT_FALSE(std::filesystem::exists(d.opened[0].toStdString()));
    EXPECT_FALSE(std::filesystem::exists(d.opened[1].toStdString()));
}

}  // namespace
}  // namespace tallora
