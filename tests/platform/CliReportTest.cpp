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

TEST(CliReport, BeamJobReportHasItsInstructionsStatisticsAndLandscapeDiagrams) {
    if (!testing::HavePoppler()) GTEST_SKIP() << "pdfinfo is not installed";
    QTemporaryDir folder;
    const QString pdf = folder.filePath("beam job.pdf");
    std::string errors;
    ASSERT_EQ(RunWithPictures({BeamJob, "--pdf", pdf.toStdString()}, &errors), ExitSuccess)
        << errors;

    // Instructions and statistics on the portrait page, the two bars on a landscape page.
    const auto sizes = testing::PdfPageSizes(pdf);
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_FALSE(sizes[0].Landscape());
    EXPECT_TRUE(sizes[1].Landscape());

    // The report's texts are the report layer's (PdfReportTest); here, that they reach the PDF,
    // the pound sign among them.
    const QString text = testing::PdfText(pdf);
    EXPECT_TRUE(text.contains("Customer: Harbour Works Ltd")) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Stock bars used:.+£483\\.84"))))
        << text.toStdString();
    EXPECT_TRUE(testing::PdfText(pdf, 2).contains("3 x 12000"));
}

TEST(CliReport, DiagramPictureAtTheViewersSizeOrTheOneAsked) {
    QTemporaryDir folder;
    const std::string png = folder.filePath("diagram.png").toStdString();
    ASSERT_EQ(RunWithPictures({BeamJob, "--no-calc", "--diagram", png}), ExitSuccess);
    QImage image(QString::fromStdString(png));
    EXPECT_EQ(image.size(), QSize(DefaultDiagramWidth, DefaultDiagramHeight));

    ASSERT_EQ(RunWithPictures({BeamJob, "--diagram", png, "--size", "400x1200"}), ExitSuccess);
    image.load(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(400, 1200));
    // The first bar's outline at the 12-pixel margin, silver inside it.
    EXPECT_EQ(image.pixel(12, 12), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(13, 13), qRgb(0xC0, 0xC0, 0xC0));
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
