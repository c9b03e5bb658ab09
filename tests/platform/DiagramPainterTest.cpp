#include "platform/DiagramPainter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

QRgb Rgb(Colour c) { return qRgb(c.Red, c.Green, c.Blue); }

// Trim 20, kerf 10: one 1000 mm bar cut into 300 once and 200 twice, 250 returned as an offcut.
TestJob SmallJob() {
    TestJob job;
    job.Input.Allowances = {10, 20, 0, 100, false};
    CuttingPattern p = testing::Pattern(980, 1, {310, 210}, {1, 2});
    p.IsOffcut = true;
    p.OffcutLength = 250;
    job.Result.Patterns = {p};
    job.Result.InputCutLength = {310, 210};
    return job;
}

constexpr int Width = 600;
constexpr int Height = 264;

// Which boxes a drawing has and their colours are the drawing's (DrawCuttingList, PieceColours);
// here, each box painted covers its pixels, the bottom and right edges not its own, with a black
// outline inside and its fill within.
TEST(DiagramPainter, BoxesCoverTheirPixelsWithAnOutlineInside) {
    const TestJob job = SmallJob();
    const QImage image = RenderDiagram(job.Input, job.Result, Width, Height);
    ASSERT_EQ(image.size(), QSize(Width, Height));
    std::vector<DiagramBox> boxes;
    for (const auto& op : DrawCuttingList(job.Input, job.Result, Width, Height,
                                          QtTextMeasurer(DiagramFont(), &image))) {
        if (const auto* box = std::get_if<DiagramBox>(&op)) boxes.push_back(*box);
    }
    ASSERT_EQ(boxes.size(), 9u);  // bar, trim, three pieces each with its kerf, offcut
    EXPECT_EQ(image.pixel(0, 0), Rgb(White));
    EXPECT_EQ(image.pixel(boxes[0].Left - 1, boxes[0].Top), Rgb(White));
    EXPECT_EQ(image.pixel(boxes[0].Left, boxes[0].Bottom), Rgb(White));
    for (const DiagramBox& box : boxes) {
        SCOPED_TRACE(::testing::Message() << "box " << box.Left << "," << box.Top);
        for (const QPoint corner :
             {QPoint(box.Left, box.Top), QPoint(box.Right - 1, box.Top),
              QPoint(box.Left, box.Bottom - 1), QPoint(box.Right - 1, box.Bottom - 1)})
            EXPECT_EQ(image.pixel(corner), Rgb(Black)) << corner.x() << "," << corner.y();
        if (box.Right - box.Left > 2) {
            EXPECT_EQ(image.pixel(box.Left + 1, box.Top + 1), Rgb(box.Fill));
        }
    }
}

// The core centres a text by the measurer's box; painted glyphs must stay inside that box.
TEST(DiagramPainter, TextsFillTheMeasuredBoxAndStayInIt) {
    QImage image(200, 60, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    const Colour yellow = Colour::FromRgb(0xFFFF00);
    const std::string text = "Kerf 1830 gjy";
    {
        QPainter painter(&image);
        painter.setFont(DiagramFont());
        PaintDiagram(painter, {DiagramText{20, 15, text, Black, yellow}});
    }
    const QtTextMeasurer measurer(DiagramFont(), &image);
    const QRect measured(20, 15, qRound(measurer.TextWidth(text)),
                         qRound(measurer.TextHeight(text)));
    ASSERT_GT(measured.width(), 40);
    ASSERT_GT(measured.height(), 5);

    QRect painted;
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == qRgb(255, 255, 255)) continue;
            painted |= QRect(x, y, 1, 1);
            dark += qGray(image.pixel(x, y)) < 100;
        }
    }
    EXPECT_GT(dark, 20);  // the glyphs are there, in the text colour
    EXPECT_LE(std::abs(painted.left() - measured.left()), 1);
    EXPECT_LE(std::abs(painted.top() - measured.top()), 1);
    EXPECT_LE(std::abs(painted.right() - measured.right()), 1);
    EXPECT_LE(std::abs(painted.bottom() - measured.bottom()), 1);
}

}  // namespace
}  // namespace tallora
