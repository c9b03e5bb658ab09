#include "platform/QtPrintEngine.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include "platform/PdfTools.h"

namespace tallora {
namespace {

using enum PositionCode;
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

// The edges and margins every engine keeps are the report's (PrintEngine.LastEdgesMarginsAndPages);
// here, the sizes Qt measures: by the size and weight asked, wrapped at a given width as the same
// lines given one by one, on one line under style setting Three.
TEST_F(QtPrintEngineTest, MeasuredSizesFollowTheStyleAndGivenWidthsWrap) {
    const Size ten = Measure("[S 10]Cutting Pattern");
    const Size twenty = Measure("[S 20]Cutting Pattern");
    EXPECT_NEAR(twenty.Width / ten.Width, 2.0, 0.05);
    EXPECT_NEAR(twenty.Height / ten.Height, 2.0, 0.05);
    EXPECT_GT(Measure("[S 10 B]Cutting Pattern").Width, ten.Width);
    const Size three = Measure("[S 10]Kerf Kerf Kerf");
    const std::string text = "[S 10]Kerf Kerf Kerf Kerf Kerf Kerf Kerf";
    const Size wrapped = Measure(text, 1.0 + three.Width + 0.01);
    EXPECT_NEAR(wrapped.Width, three.Width + 0.01, 1e-9);
    EXPECT_NEAR(wrapped.Height, Measure("[S 10]Kerf Kerf Kerf\nKerf Kerf Kerf\nKerf").Height, 1e-9);
    engine.SetStyleValue(StyleSetting::Three, 1);
    EXPECT_NEAR(Measure(text, 1.0 + three.Width + 0.01).Height, three.Height, 1e-9);
    EXPECT_DOUBLE_EQ(Measure("[S 20]").Height, twenty.Height);  // an empty text still takes a line

    // A placed text ends where it measured; the banners fit above the top margins of the portrait
    // (5.0) and landscape (3.2) pages; a picture that is not there takes no room.
    EXPECT_DOUBLE_EQ(engine.WriteText(2.0, 3.0, Free, Free, "[S 10]Cutting Pattern"),
                     3.0 + ten.Height);
    EXPECT_DOUBLE_EQ(engine.GetPosition(LastRight), 2.0 + ten.Width);
    for (const auto& [banner, margin] : {std::pair{"R1", 5.0}, {"R2", 3.2}}) {
        engine.DrawPicture(banner, 1.0, 1.0, Free, Free);
        EXPECT_GT(engine.GetPosition(LastRight), 2.0) << banner;
        EXPECT_LT(engine.GetPosition(LastBottom), margin) << banner;
    }
    engine.DrawPicture("none", 2.0, 2.0, Free, Free);
    EXPECT_DOUBLE_EQ(engine.GetPosition(LastRight), 2.0);
}

TEST_F(QtPrintEngineTest, TextsSitByTheirAlignmentAndBoxesArePaintedInTheirColours) {
    if (!testing::HavePoppler()) GTEST_SKIP() << "pdftotext is not installed";
    engine.WriteText(2.0, 4.0, 12.0, Free, "[S 12 R]Rightward");
    engine.WriteText(2.0, 6.0, 12.0, Free, "[S 12 CE]Centred");
    engine.SetStyleValue(StyleSetting::One, 1);  // right unless a code says otherwise
    engine.WriteText(2.0, 8.0, 12.0, Free, "[S 12]Defaulted");
    engine.WriteText(2.0, 10.0, 12.0, Free, "[S 12 L]Leftward");
    engine.SetPenWidth(0.1);
    engine.SetPenColour(Colour::FromRgb(0x0000FF));
    engine.SetFillColour(Colour::FromRgb(0xFF0000));
    engine.DrawBox(14.0, 2.0, 18.0, 4.0);
    engine.SetFillColour(Colour::FromRgb(0xFFFF00));
    engine.WriteFramedText(2.0, 14.0, 10.0, 16.0, "[S 8]framed");
    engine.SetPenWidth(0);
    engine.SetFillColour(Colour::FromRgb(0x00FF00));
    engine.DrawBox(14.0, 10.0, 18.0, 12.0);
    const QString pdf = Saved("page.pdf");

    const QString boxes = RunTool("pdftotext", {"-bbox", pdf, "-"});
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

    const QString prefix = folder.filePath("page");
    RunTool("pdftoppm", {"-png", "-r", "72", "-singlefile", pdf, prefix});
    const QImage page(prefix + ".png");
    ASSERT_FALSE(page.isNull());
    const auto at = [&](double xCm, double yCm) {
        return page.pixelColor(qRound(xCm * PointsPerCm), qRound(yCm * PointsPerCm)).rgb() &
               0xFFFFFF;
    };
    EXPECT_EQ(at(16.0, 3.0), 0xFF0000u);   // fill
    EXPECT_EQ(at(14.0, 3.0), 0x0000FFu);   // 1 mm frame on the edge
    EXPECT_EQ(at(13.5, 3.0), 0xFFFFFFu);   // the page around it
    EXPECT_EQ(at(9.0, 15.5), 0xFFFF00u);   // the framed text's fill
    EXPECT_EQ(at(14.0, 11.0), 0x00FF00u);  // no frame at pen width 0
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
