// tallora-cli's labels and saw sheet drawn with Qt, read back with poppler-utils and ZXing.
#include <gtest/gtest.h>

// Texts as UTF-8.
#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/CliApp.h"
#include "platform/PdfTools.h"
#include "platform/QtPictureOutput.h"
#include "report/PieceLabels.h"

namespace tallora {
namespace {

int RunWithPictures(const std::vector<std::string>& args, std::string& out, std::string& errors) {
    QtPictureOutput pictures;
    std::ostringstream shown, err;
    const int status = RunCli(args, shown, err, &pictures);
    out = shown.str();
    errors = err.str();
    return status;
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
        std::vector<std::string> args = job;
        args.insert(args.end(), {"--labels", pdf.toStdString(), "--label-layout", layout});
        std::string out, errors;
        ASSERT_EQ(RunWithPictures(args, out, errors), ExitSuccess) << errors;

        // What the labels must say, from the job and the plan's kept offcuts.
        std::map<std::string, int> expected{{"B12 1500mm", 20},
                                            {"B13 1500mm", 10},
                                            {"Tür 4 1000mm", 6},
                                            {"700mm", 7},
                                            {"2000mm", 1}};
        const nlohmann::json result = nlohmann::json::parse(out);
        int offcuts = 0;
        for (const auto& pattern : result["patterns"]) {
            if (!pattern["IsOffcut"].get<bool>()) continue;
            const int bars = pattern["BarCount"].get<int>();
            expected["Offcut " + std::to_string(pattern["OffcutLength"].get<int>()) + "mm"] += bars;
            offcuts += bars;
        }
        ASSERT_GT(offcuts, 0) << "the job must keep an offcut";

        std::map<std::string, int> read;
        for (const std::string& text :
             DecodedBarcodes(pdf, folder.path(), *FindLabelLayout(layout)))
            ++read[text];
        EXPECT_EQ(read, expected);
        // Every page is the layout's paper, in points.
        const LabelLayout& paper = *FindLabelLayout(layout);
        for (const testing::PdfPageSize& size : testing::PdfPageSizes(pdf)) {
            EXPECT_NEAR(size.Width, paper.PageWidth / 2.54 * 72, 1.0);
            EXPECT_NEAR(size.Height, paper.PageHeight / 2.54 * 72, 1.0);
        }
        if (std::string(layout) == "roll-62x29") {
            // One label a page: the pages are the labels.
            EXPECT_EQ(testing::PdfPageSizes(pdf).size(), 20u + 10 + 6 + 7 + 1 + offcuts);
        }
    }
}

TEST(PieceLabels, ALayoutOrStartPositionThatIsNotThereIsRefusedBeforeAnythingIsWritten) {
    const std::vector<std::vector<std::string>> bad{
        {"--label-layout", "a4-4x4"},
        {"--label-start", "25"},
        {"--label-start", "0"},
        {"--label-layout", "letter-3x10", "--label-start", "31"},
        {"--label-margins", "5"},
        {"--label-margins", "5,x"},
        {"--label-margins", "-1,0"},
        // 5 mm more to the left of A4's three 70 mm labels and the last is off the page.
        {"--label-margins", "5,0"}};
    for (const auto& options : bad) {
        SCOPED_TRACE(options[1]);
        QTemporaryDir folder;
        const QString pdf = folder.filePath("labels.pdf");
        std::vector<std::string> args{"--stock", "*@6000",   "--cut",
                                      "2@1500",  "--labels", pdf.toStdString()};
        args.insert(args.end(), options.begin(), options.end());
        std::string out, errors;
        EXPECT_NE(RunWithPictures(args, out, errors), ExitSuccess);
        EXPECT_NE(errors.find(options[options.size() - 2]), std::string::npos) << errors;
        EXPECT_FALSE(QFile::exists(pdf));
    }
    {
        // More labels than a PDF of them holds: said, and no file.
        QTemporaryDir folder;
        const QString pdf = folder.filePath("labels.pdf");
        std::string out, errors;
        EXPECT_EQ(
            RunWithPictures({"--stock", "*@6000", "--cut", std::to_string(MaxLabels + 1) + "@100",
                             "--labels", pdf.toStdString(), "--quiet"},
                            out, errors),
            ExitBadInput);
        EXPECT_NE(errors.find("a PDF of labels holds at most"), std::string::npos) << errors;
        EXPECT_FALSE(QFile::exists(pdf));
    }
    // A start part-way down a sheet moves the labels, not their number.
    QTemporaryDir folder;
    const QString pdf = folder.filePath("labels.pdf");
    std::string out, errors;
    ASSERT_EQ(RunWithPictures({"--stock", "*@6000", "--cut", "2@1500:X", "--labels",
                               pdf.toStdString(), "--label-start", "24"},
                              out, errors),
              ExitSuccess)
        << errors;
    EXPECT_EQ(testing::PdfPageSizes(pdf).size(), 2u);
    EXPECT_EQ(DecodedBarcodes(pdf, folder.path()).size(), 2u);
}

TEST(SawSheetPdf, ListsEveryBarWithItsCutsAndTheTotals) {
    if (!testing::HavePoppler()) GTEST_SKIP() << "pdftotext is not installed";
    QTemporaryDir folder;
    const QString pdf = folder.filePath("saw.pdf");
    std::string out, errors;
    ASSERT_EQ(RunWithPictures({"--stock", "*@6000", "--cut", "9@1500:B12", "--cut", "3@900",
                               "--saw-sheet", pdf.toStdString(), "--format", "json"},
                              out, errors),
              ExitSuccess)
        << errors;
    const nlohmann::json result = nlohmann::json::parse(out);
    const std::string text = testing::PdfText(pdf).toStdString();
    EXPECT_NE(
        text.find("Saw cuts: " + std::to_string(result["stats"]["saw_cuts"].get<long long>())),
        std::string::npos);
    int bars = 0;
    for (const auto& pattern : result["patterns"]) bars += pattern["BarCount"].get<int>();
    for (int b = 1; b <= bars; ++b)
        EXPECT_NE(text.find("Bar " + std::to_string(b) + ": 6000mm"), std::string::npos) << b;
    EXPECT_EQ(text.find("Bar " + std::to_string(bars + 1) + ":"), std::string::npos);
}

TEST(PieceLabels, AnOffcutOfABookedPlanCarriesItsInventoryId) {
    if (!testing::HavePoppler()) GTEST_SKIP() << "pdftoppm is not installed";
    QTemporaryDir folder;
    const std::string job = folder.filePath("job.tlf").toStdString();
    const std::string inventory = folder.filePath("inventory.sqlite").toStdString();
    std::string out, errors;
    ASSERT_EQ(RunWithPictures({"--stock", "*@6000", "--cut", "2@2000:P", "--offcut", "500",
                               "--section", "RHS 50x50", "--save", job, "--quiet"},
                              out, errors),
              ExitSuccess)
        << errors;
    // Labels before the booking have no id; after it, run again from the file, they have.
    for (const bool booked : {false, true}) {
        SCOPED_TRACE(booked ? "booked" : "not booked");
        if (booked) {
            ASSERT_EQ(RunWithPictures(
                          {job, "--no-calc", "--book-offcuts", "--inventory", inventory, "--quiet"},
                          out, errors),
                      ExitSuccess)
                << errors;
        }
        QTemporaryDir pages;
        const QString pdf = pages.filePath("labels.pdf");
        ASSERT_EQ(RunWithPictures({job, "--no-calc", "--labels", pdf.toStdString(), "--inventory",
                                   inventory, "--quiet"},
                                  out, errors),
                  ExitSuccess)
            << errors;
        std::vector<std::string> offcuts;
        for (const std::string& text : DecodedBarcodes(pdf, pages.path())) {
            if (text.rfind("Offcut ", 0) == 0) offcuts.push_back(text);
        }
        ASSERT_EQ(offcuts.size(), 1u);
        EXPECT_EQ(offcuts[0].find(", inventory ") != std::string::npos, booked) << offcuts[0];
    }
}

}  // namespace
}  // namespace tallora
