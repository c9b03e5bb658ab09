// tallora-cli's --pdf and --diagram drawn with Qt, read back with poppler-utils.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <QImage>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <sstream>

#include "cli/CliApp.h"
#include "platform/PdfTools.h"
#include "platform/QtPictureOutput.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

int RunWithPictures(const std::vector<std::string>& args, std::string* errors = nullptr) {
    QtPictureOutput pictures;
    std::ostringstream out, err;
    const int status = RunCli(args, out, err, &pictures);
    if (errors != nullptr) *errors = err.str();
    return status;
}

const std::string BeamJob = TALLORA_EXAMPLES_DIR "/beam-job.tlf";

// The report's pages and texts are the report layer's (PdfReportTest) and the picture's sizes the
// command line's (CliApp.PdfReportAndDiagramAreWritten...); here, that Qt writes them: the
// instructions and statistics on a portrait A4 page, the bars on a landscape one, the pound sign
// among the texts, the page numbers written to the earlier page last, every font embedded (the
// heavy heading face and Calibri's stand-in), and the picture at the size asked.
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

}  // namespace
}  // namespace tallora
