// tallora-cli's report, diagram, labels and saw sheet drawn with Qt, read back with poppler-utils
// and ZXing.
#include <gtest/gtest.h>

// Texts as UTF-8.
#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>
#include <sys/resource.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/CliApp.h"
#include "platform/PdfTools.h"
#include "platform/QtPictureOutput.h"
#include "report/PieceLabels.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

int RunWithPictures(const std::vector<std::string>& args, std::string* errors = nullptr,
                    std::string* shown = nullptr) {
    QtPictureOutput pictures;
    std::ostringstream out, err;
    const int status = RunCli(args, out, err, &pictures);
    if (errors != nullptr) *errors = err.str();
    if (shown != nullptr) *shown = out.str();
    return status;
}

const std::string BeamJob = TALLORA_EXAMPLES_DIR "/beam-job.tlf";

// The report's pages and texts are the report layer's (PdfReportTest); here, that Qt writes them:
// the instructions and statistics on a portrait A4 page, the bars on a landscape one, the pound
// sign among the texts, the page numbers written to the earlier page last, every font embedded
// (the heavy heading face and Calibri's stand-in), and the picture at the size asked or, without
// --size, the viewer window's.
TEST(CliReport, BeamJobReportHasItsInstructionsStatisticsAndLandscapeDiagrams) {
    if (!testing::HavePoppler()) GTEST_SKIP() << "pdfinfo is not installed";
    QTemporaryDir folder;
    const QString pdf = folder.filePath("beam job.pdf");
    const QString png = folder.filePath("diagram.png");
    std::string errors;
    ASSERT_EQ(RunWithPictures({BeamJob, "--pdf", pdf.toStdString(), "--diagram", png.toStdString(),
                               "--size", "400x1200"},
                              &errors),
              ExitSuccess)
        << errors;
    const auto sizes = testing::PdfPageSizes(pdf);
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_NEAR(sizes[0].Width, 21.0 / 2.54 * 72, 0.5);
    EXPECT_FALSE(sizes[0].Landscape());
    EXPECT_TRUE(sizes[1].Landscape());
    const QString first = testing::PdfText(pdf, 1);
    EXPECT_TRUE(first.contains("Customer: Harbour Works Ltd")) << first.toStdString();
    EXPECT_TRUE(first.contains(QRegularExpression(QStringLiteral("Stock bars used:.+£483\\.84"))));
    EXPECT_TRUE(first.contains("Page 1 of 2"));
    EXPECT_TRUE(testing::PdfText(pdf, 2).contains("3 x 12000"));

    const QString fonts = testing::RunTool("pdffonts", {pdf});
    const QStringList rows = fonts.split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_FALSE(rows.isEmpty()) << fonts.toStdString();
    for (const QString& row : rows)  // the "emb" column
        EXPECT_TRUE(row.contains(QRegularExpression("\\byes\\s+\\w+\\s+\\w+\\s+\\d+\\s+\\d+$")))
            << row.toStdString();
    EXPECT_TRUE(fonts.contains(QRegularExpression("(Carlito|Calibri)")));
    EXPECT_TRUE(fonts.contains(QRegularExpression("(LiberationSans-Bold|Arial-?Black)")))
        << fonts.toStdString();
    EXPECT_FALSE(fonts.contains("DejaVu")) << fonts.toStdString();
    EXPECT_EQ(QImage(png).size(), QSize(400, 1200));
    // Without --size, the viewer window's size.
    ASSERT_EQ(RunWithPictures({BeamJob, "--diagram", png.toStdString()}, &errors), ExitSuccess);
    EXPECT_EQ(QImage(png).size(), QSize(945, 665));
}

TEST(CliReport, APictureOrReportThatCannotBeWrittenWholeFailsAndKeepsTheOldFile) {
    // Writes fail past 4 KB, as on a disk that is full: a small picture held in a buffer until
    // the end must still fail, not leave an empty file behind a success.
    QTemporaryDir folder;
    const std::string png = folder.filePath("diagram.png").toStdString();
    const std::string pdf = folder.filePath("report.pdf").toStdString();
    testing::WriteBytes(png, "old picture");
    testing::WriteBytes(pdf, "old report");
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved;
    limit.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string pictureErrors, reportErrors;
    const int picture = RunWithPictures({BeamJob, "--diagram", png}, &pictureErrors);
    const int report = RunWithPictures({BeamJob, "--pdf", pdf}, &reportErrors);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(picture, ExitBadInput);
    EXPECT_NE(pictureErrors.find(std::strerror(EFBIG)), std::string::npos) << pictureErrors;
    EXPECT_EQ(testing::ReadBytes(png), "old picture");
    EXPECT_EQ(report, ExitBadInput);
    EXPECT_NE(reportErrors.find(std::strerror(EFBIG)), std::string::npos) << reportErrors;
    EXPECT_EQ(testing::ReadBytes(pdf), "old report");
}

// The barcode of every label position of every page that has one, as its text.
std::vector<std::string> DecodedBarcodes(const QString& pdf, const QString& folder,
                                         const LabelLayout& layout = LabelLayouts().front()) {
    constexpr double Dpi = 150;
    testing::RunTool(QStringLiteral("pdftoppm"),
                     {"-r", QString::number(Dpi), "-gray", pdf, QDir(folder).filePath("page")});
    const auto pixels = [](double cm) { return static_cast<int>(cm / 2.54 * Dpi); };
    std::vector<std::string> texts;
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode);
    for (const QString& name : QDir(folder).entryList({"page*.pgm"}, QDir::Files, QDir::Name)) {
        const QImage page =
            QImage(QDir(folder).filePath(name)).convertToFormat(QImage::Format_Grayscale8);
        for (int slot = 0; slot < layout.PerPage(); ++slot) {
            const double x = layout.LeftMargin +
                             (slot % layout.Columns) * (layout.LabelWidth + layout.ColumnGap);
            const double y =
                layout.TopMargin + (slot / layout.Columns) * (layout.LabelHeight + layout.RowGap);
            const QImage label = page.copy(pixels(x), pixels(y), pixels(layout.LabelWidth),
                                           pixels(layout.LabelHeight));
            const ZXing::ImageView view(label.constBits(), label.width(), label.height(),
                                        ZXing::ImageFormat::Lum,
                                        static_cast<int>(label.bytesPerLine()));
            for (const ZXing::Result& result : ZXing::ReadBarcodes(view, hints))
                texts.push_back(result.text());
        }
    }
    return texts;
}

// Where each label goes is the report's (LayOutPieceLabels); here, every label of every layout
// reads back through its barcode, on the layout's paper. The saw sheet's bars and lines are the
// results' and the report's (SawSheet.EveryPieceOnce..., MakePieceLabels.TheWordsOf...); here,
// that they reach its PDF.
TEST(PieceLabels, EveryPieceAndKeptOffcutHasALabelWhoseBarcodeReadsItsMarkAndLength) {
    if (!testing::HavePoppler()) GTEST_SKIP() << "pdftoppm is not installed";
    const std::vector<std::string> job{
        "--stock",      "*@6000", "--cut",     "20@1500:B12", "--cut",    "10@1500:B13", "--cut",
        "6@1000:Tür 4", "--cut",  "7@700",     "--cut",       "1@2000",   "--offcut",    "1000",
        "--reference",  "J-1042", "--section", "RHS 50x50",   "--format", "json"};
    for (const char* layout : {"a4-3x8", "letter-3x10", "roll-62x29"}) {
        SCOPED_TRACE(layout);
        QTemporaryDir folder;
        const QString pdf = folder.filePath("labels.pdf");
        const QString saw = folder.filePath("saw.pdf");
        std::vector<std::string> args = job;
        args.insert(args.end(), {"--labels", pdf.toStdString(), "--label-layout", layout,
                                 "--saw-sheet", saw.toStdString()});
        std::string out, errors;
        ASSERT_EQ(RunWithPictures(args, &errors, &out), ExitSuccess) << errors;

        // What the labels must say, from the job and the plan's kept offcuts.
        std::map<std::string, int> expected{{"B12 1500mm", 20},
                                            {"B13 1500mm", 10},
                                            {"Tür 4 1000mm", 6},
                                            {"700mm", 7},
                                            {"2000mm", 1}};
        const nlohmann::json result = nlohmann::json::parse(out);
        for (const auto& pattern : result["patterns"]) {
            if (pattern["IsOffcut"].get<bool>())
                expected["Offcut " + std::to_string(pattern["OffcutLength"].get<int>()) + "mm"] +=
                    pattern["BarCount"].get<int>();
        }
        ASSERT_GT(expected.size(), 5u) << "the job must keep an offcut";
        std::map<std::string, int> read;
        const LabelLayout& paper = *FindLabelLayout(layout);
        for (const std::string& text : DecodedBarcodes(pdf, folder.path(), paper)) ++read[text];
        EXPECT_EQ(read, expected);
        for (const testing::PdfPageSize& size : testing::PdfPageSizes(pdf)) {
            EXPECT_NEAR(size.Width, paper.PageWidth / 2.54 * 72, 1.0);
            EXPECT_NEAR(size.Height, paper.PageHeight / 2.54 * 72, 1.0);
        }
        const std::string sheet = testing::PdfText(saw).toStdString();
        EXPECT_NE(sheet.find("Saw cuts: " + result["stats"]["saw_cuts"].dump()), std::string::npos)
            << sheet;
    }
}

// Which layouts, starts and margins are refused is the report's and the command line's rule
// (LabelOptionsProblem, CliApp.BadArgumentsExitTwoNamingTheArgument); here, that more labels
// than a PDF of them holds are refused before anything is written.
TEST(PieceLabels, TooManyLabelsAreRefusedBeforeAnythingIsWritten) {
    QTemporaryDir folder;
    const QString pdf = folder.filePath("labels.pdf");
    std::string errors;
    EXPECT_EQ(RunWithPictures({"--stock", "*@6000", "--cut", std::to_string(MaxLabels + 1) + "@100",
                               "--labels", pdf.toStdString(), "--quiet"},
                              &errors),
              ExitBadInput);
    EXPECT_NE(errors.find("a PDF of labels holds at most"), std::string::npos) << errors;
    EXPECT_FALSE(QFile::exists(pdf));
}

}  // namespace
}  // namespace tallora
