#include "platform/QtPrintEngine.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include "platform/PdfTools.h"

namespace tallora {
namespace {

using enum PositionCode;
using testing::PdfText;
using testing::RunTool;

constexpr double PointsPerCm = 72.0 / 2.54;

struct Size {
    double Width;
    double Height;
};

class QtPrintEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        engine.OpenDoc();
        engine.SetFontName("Calibri");
    }
    std::filesystem::path File(const char* name) const {
        return folder.filePath(QString::fromLatin1(name)).toStdString();
    }
    // The document saved under the name, as poppler's tools take it.
    QString Saved(const char* name) {
        EXPECT_TRUE(engine.SaveDocument(File(name)));
        return folder.filePath(QString::fromLatin1(name));
    }
    Size Measure(const std::string& text, Coord x2 = Free) {
        engine.MeasureText(1.0, 1.0, x2, Free, text);
        return {engine.MeasuredWidth(), engine.MeasuredHeight()};
    }

    QTemporaryDir folder;
    QtPrintEngine engine;
};

TEST_F(QtPrintEngineTest, MeasuredSizesFollowTheStyleAndGivenWidthsWrap) {
    const Size ten = Measure("[S 10]Cutting Pattern");
    const Size twenty = Measure("[S 20]Cutting Pattern");
    EXPECT_NEAR(twenty.Width / ten.Width, 2.0, 0.05);
    EXPECT_NEAR(twenty.Height / ten.Height, 2.0, 0.05);
    EXPECT_GT(ten.Height, 0.3);  // 10 points are 0.35 cm
    EXPECT_GT(Measure("[S 10 B]Cutting Pattern").Width, ten.Width);

    // A given width wraps, and a Free height follows the lines: three, spaced as three lines
    // given one by one.
    const Size three = Measure("[S 10]Kerf Kerf Kerf");
    const std::string text = "[S 10]Kerf Kerf Kerf Kerf Kerf Kerf Kerf";
    const Size wrapped = Measure(text, 1.0 + three.Width + 0.01);
    EXPECT_NEAR(wrapped.Width, three.Width + 0.01, 1e-9);
    EXPECT_GT(wrapped.Height, 3 * three.Height);
    EXPECT_NEAR(wrapped.Height, Measure("[S 10]Kerf Kerf Kerf\nKerf Kerf Kerf\nKerf").Height, 1e-9);

    // Style setting Three keeps a text on one line; without a size code the size is setting Two.
    engine.SetStyleValue(StyleSetting::Three, 1);
    EXPECT_NEAR(Measure(text, 1.0 + three.Width + 0.01).Height, three.Height, 1e-9);
    engine.SetStyleValue(StyleSetting::Two, 20);
    EXPECT_DOUBLE_EQ(Measure("Cutting Pattern").Width, twenty.Width);
    // An empty text still takes a line.
    EXPECT_DOUBLE_EQ(Measure("[S 20]").Height, twenty.Height);
    EXPECT_DOUBLE_EQ(Measure("[S 20]").Width, 0.0);
}

TEST_F(QtPrintEngineTest, PlacedTextsAndPicturesSetTheLastEdges) {
    const Size size = Measure("[S 12 B]Statistics");
    const double bottom = engine.WriteText(2.0, 3.0, Free, Free, "[S 12 B]Statistics");
    EXPECT_DOUBLE_EQ(bottom, 3.0 + size.Height);
    EXPECT_DOUBLE_EQ(engine.GetPosition(LastRight), 2.0 + size.Width);
    // A frame keeps its text off its side lines; a row of framed cells is one line high.
    EXPECT_DOUBLE_EQ(engine.WriteFramedText(LastRight, 3.0, Free, Free, "[S 12 B]Statistics"),
                     bottom);
    EXPECT_GT(engine.GetPosition(LastRight), 2.0 + 2 * size.Width + 0.1);

    // Banners take their natural size, 1187 x 709 and 790 pixels wide at 600 dpi, and fit above
    // the top margins of the portrait (5.0) and landscape (3.2) pages.
    engine.DrawPicture("R1", 1.0, 1.0, Free, Free);
    EXPECT_NEAR(engine.GetPosition(LastRight), 1.0 + 1187 / 600.0 * 2.54, 0.01);
    EXPECT_NEAR(engine.GetPosition(LastBottom), 1.0 + 709 / 600.0 * 2.54, 0.01);
    EXPECT_LT(engine.GetPosition(LastBottom), 5.0);
    engine.DrawPicture("R2", 1.0, 1.0, Free, Free);
    EXPECT_NEAR(engine.GetPosition(LastRight), 1.0 + 790 / 600.0 * 2.54, 0.01);
    EXPECT_LT(engine.GetPosition(LastBottom), 3.2);
    engine.DrawPicture("none", 2.0, 2.0, Free, Free);
    EXPECT_DOUBLE_EQ(engine.GetPosition(LastRight), 2.0);

    // A new page takes the output area as its margins and starts at its top.
    engine.SetOutputArea(1.0, 5.0, 20.0, 28.7);
    engine.NewPage();
    EXPECT_DOUBLE_EQ(engine.GetMargin(TopMargin), 5.0);
    EXPECT_DOUBLE_EQ(engine.GetPosition(LastBottom), 5.0);
    EXPECT_DOUBLE_EQ(
        engine.WriteText(LeftMargin, TopMargin, RightMargin, Free, "[S 12 B]Statistics"),
        5.0 + size.Height);
}

TEST_F(QtPrintEngineTest, PagesKeepTheirOrientationAndEarlierPagesTakeMoreText) {
    if (!testing::HavePoppler()) GTEST_SKIP() << "pdfinfo is not installed";
    engine.WriteText(1.0, 5.0, Free, Free, "[N S10 B C Black]First portrait page");
    engine.NewPage();
    engine.SetPageOrientation(Orientation::Landscape);
    EXPECT_DOUBLE_EQ(engine.PageWidth(), 29.7);
    engine.SetFontName("Ariel Black");
    engine.WriteText(6.0, 1.0, 28.7, Free, "[N S 32 B R C DkRed]Landscape heading");
    engine.NewPage();  // a landscape page like the one before
    engine.WriteText(1.0, 5.0, Free, Free, "Second landscape page");
    ASSERT_EQ(engine.PageCount(), 3);
    engine.SelectPage(1);
    engine.SetFontName("Calibri");
    engine.WriteText(1.0, 20.0, Free, Free, "[I S 8]Written later to page one");

    const QString pdf = Saved("pages.pdf");
    const auto sizes = testing::PdfPageSizes(pdf);
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_NEAR(sizes[0].Width, 21.0 * PointsPerCm, 0.5);
    EXPECT_NEAR(sizes[0].Height, 29.7 * PointsPerCm, 0.5);
    EXPECT_TRUE(sizes[1].Landscape());
    EXPECT_NEAR(sizes[1].Width, 29.7 * PointsPerCm, 0.5);
    EXPECT_TRUE(sizes[2].Landscape());
    const QString first = PdfText(pdf, 1);
    EXPECT_TRUE(first.contains("First portrait page")) << first.toStdString();
    EXPECT_TRUE(first.contains("Written later to page one")) << first.toStdString();
    EXPECT_TRUE(PdfText(pdf, 2).contains("Landscape heading"));
    EXPECT_TRUE(PdfText(pdf, 3).contains("Second landscape page"));

    // Every font is embedded; the heavy heading face and Calibri's stand-in are the ones used.
    const QString fonts = RunTool("pdffonts", {pdf});
    const QStringList rows = fonts.split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_FALSE(rows.isEmpty()) << fonts.toStdString();
    for (const QString& row : rows) {
        EXPECT_TRUE(row.contains(QRegularExpression("\\byes\\s+\\w+\\s+\\w+\\s+\\d+\\s+\\d+$")))
            << row.toStdString();
    }
    EXPECT_TRUE(fonts.contains(QRegularExpression("(Carlito|Calibri)")));
    EXPECT_TRUE(fonts.contains(QRegularExpression("(LiberationSans-Bold|Arial-?Black)")))
        << fonts.toStdString();
    EXPECT_FALSE(fonts.contains("DejaVu")) << fonts.toStdString();
}

TEST_F(QtPrintEngineTest, TextsSitInTheirRectangleByTheirAlignment) {
    if (!testing::HavePoppler()) GTEST_SKIP() << "pdftotext is not installed";
    engine.WriteText(2.0, 4.0, 12.0, Free, "[S 12 R]Rightward");
    engine.WriteText(2.0, 6.0, 12.0, Free, "[S 12 CE]Centred");
    engine.SetStyleValue(StyleSetting::One, 1);  // right unless a code says otherwise
    engine.WriteText(2.0, 8.0, 12.0, Free, "[S 12]Defaulted");
    engine.WriteText(2.0, 10.0, 12.0, Free, "[S 12 L]Leftward");
    const QString boxes = RunTool("pdftotext", {"-bbox", Saved("aligned.pdf"), "-"});
    // A word's left and right edges in centimetres.
    const auto edges = [&](const QString& word) -> std::pair<double, double> {
        const auto match =
            QRegularExpression("xMin=\"([\\d.]+)\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\"[^>]*>" +
                               word + "<")
                .match(boxes);
        if (!match.hasMatch()) return {-1, -1};
        return {match.captured(1).toDouble() / PointsPerCm,
                match.captured(2).toDouble() / PointsPerCm};
    };
    EXPECT_NEAR(edges("Rightward").second, 12.0, 0.05);
    const auto centred = edges("Centred");
    EXPECT_NEAR((centred.first + centred.second) / 2, 7.0, 0.05);
    EXPECT_NEAR(edges("Defaulted").second, 12.0, 0.05);
    EXPECT_NEAR(edges("Leftward").first, 2.0, 0.05);
}

TEST_F(QtPrintEngineTest, BoxesAndFramesArePaintedInTheirColours) {
    if (!testing::HavePoppler()) GTEST_SKIP() << "pdftoppm is not installed";
    engine.SetPenWidth(0.1);
    engine.SetPenColour(Colour::FromRgb(0x0000FF));
    engine.SetFillColour(Colour::FromRgb(0xFF0000));
    engine.DrawBox(2.0, 2.0, 6.0, 4.0);
    engine.SetFillColour(Colour::FromRgb(0xFFFF00));
    engine.WriteFramedText(2.0, 6.0, 10.0, 8.0, "[S 8]framed");
    engine.SetPenWidth(0);
    engine.SetFillColour(Colour::FromRgb(0x00FF00));
    engine.DrawBox(2.0, 10.0, 6.0, 12.0);
    const QString prefix = folder.filePath("boxes");
    RunTool("pdftoppm", {"-png", "-r", "72", "-singlefile", Saved("boxes.pdf"), prefix});
    const QImage page(prefix + ".png");
    ASSERT_FALSE(page.isNull());
    const auto at = [&](double xCm, double yCm) {
        return page.pixelColor(qRound(xCm * PointsPerCm), qRound(yCm * PointsPerCm)).rgb() &
               0xFFFFFF;
    };
    EXPECT_EQ(at(4.0, 3.0), 0xFF0000u);   // fill
    EXPECT_EQ(at(2.0, 3.0), 0x0000FFu);   // 1 mm frame on the edge
    EXPECT_EQ(at(1.5, 3.0), 0xFFFFFFu);   // the page around it
    EXPECT_EQ(at(9.0, 7.5), 0xFFFF00u);   // the framed text's fill
    EXPECT_EQ(at(2.0, 11.0), 0x00FF00u);  // no frame at pen width 0
}

TEST_F(QtPrintEngineTest, SavingIntoAMissingFolderFailsAndKeepsTheDocument) {
    engine.WriteText(1.0, 1.0, Free, Free, "Report");
    const std::filesystem::path missing = File("no-such-folder/report.pdf");
    EXPECT_FALSE(engine.SaveDocument(missing));
    EXPECT_FALSE(std::filesystem::exists(missing.parent_path()));
    QDir(folder.path()).mkdir("taken.pdf");  // a folder in the file's place
    EXPECT_FALSE(engine.SaveDocument(File("taken.pdf")));
    EXPECT_TRUE(engine.SaveDocument(File("report.pdf")));
}

}  // namespace
}  // namespace tallora
