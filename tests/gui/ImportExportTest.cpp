#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>
#include <cerrno>
#include <cstring>

#include "entry/PastedRows.h"
#include "gui/DesktopTestSupport.h"
#include "job/RowTexts.h"
#include "results/CuttingListCsv.h"

namespace tallora {
namespace {

using testing::Desktop;
using testing::ReadBytes;
using testing::WriteBytes;
using Rows = std::vector<ListRow>;

constexpr int StockList = 0;
constexpr int CutList = 1;

// File, Import Rows..., the list chosen and the file given.
void ImportRows(Desktop& d, int list, const std::string& path) {
    d.dialogs.choices.push_back(list);
    d.dialogs.openFiles.push_back(path);
    d.Find<QAction>("ImportRows")->trigger();
}

TEST(ImportRows, StockRowsFromACsvFileAsOneStepWithTheRefusedLinesInOneMessage) {
    Desktop d;
    MainWindow& form = d.Start();
    const std::string path = d.temp.File("stock.csv");
    WriteBytes(path, "Quantity,Length\r\n5,6000\r\n*,4000\r\n0,3000\r\nlong\r\n2,6000\r\n");
    ImportRows(d, StockList, path);

    EXPECT_EQ(form.Document().Input().StockRows, (Rows{{"*", "4000"}, {"7", "6000"}}));
    EXPECT_EQ(d.dialogs.choicePrompts,
              std::vector<std::string>{"Which list should the rows of the file go into?"});
    ASSERT_EQ(d.dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(d.dialogs.fileDialogs[0].Title, "Import Stock Lengths");
    EXPECT_NE(d.dialogs.fileDialogs[0].Filter.find("*.csv;*.tsv;*.txt"), std::string::npos);
    EXPECT_EQ(d.dialogs.messages,
              std::vector<std::string>{PasteFailuresMessage(
                  {{4, ReasonOf(ZeroQuantityMessage())},
                   {5, "'long' is not a quantity and a length, with or without a mark."}},
                  5, 20, "imported")});
    EXPECT_EQ(d.dialogs.messages[0].find("2 of the 5 imported lines were not added:"), 0u);
    EXPECT_TRUE(form.JobModified());
    EXPECT_EQ(form.StatusText(0), "2 Different stock lengths available");

    auto* undo = d.Find<QAction>("Undo");
    EXPECT_EQ(undo->text(), "&Undo Import 3 Stock Lengths");
    undo->trigger();
    EXPECT_TRUE(form.Document().Input().StockRows.empty());
    EXPECT_EQ(form.History().count(), 1);
}

TEST(ImportRows, CutRowsFromATabSeparatedFileKeepTheirMarksAndMergeOnlyWithTheSameMark) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddCut("2", "1200");
    const std::string path = d.temp.File("cuts.txt");
    WriteBytes(path, "Qty\tLength\tPart\n4\t1200\tDoor A\n3\t750\tPost, left\n1\t1200\tDoor B\n");
    ImportRows(d, CutList, path);

    const Rows imported{{"2", "1200"},
                        {"4", "1200", "Door A"},
                        {"3", "750", "Post, left"},
                        {"1", "1200", "Door B"}};
    EXPECT_EQ(form.Document().Input().CutRows, imported);
    EXPECT_TRUE(d.dialogs.messages.empty());
    EXPECT_EQ(d.dialogs.fileDialogs.at(0).Title, "Import Cut Lengths");

    // The import is one step, undone and made again as a whole.
    auto* undo = d.Find<QAction>("Undo");
    auto* redo = d.Find<QAction>("Redo");
    EXPECT_EQ(undo->text(), "&Undo Import 3 Cut Lengths");
    undo->trigger();
    EXPECT_EQ(form.Document().Input().CutRows, (Rows{{"2", "1200"}}));
    redo->trigger();
    EXPECT_EQ(form.Document().Input().CutRows, imported);
    EXPECT_TRUE(form.Document().Input().StockRows.empty());

    // Modify takes the row into the edits; committed again, it keeps its mark.
    testing::ClickRow(d.Find<QTreeView>("CListView"), 2);
    d.Click("CModify");
    d.Type("CLEdit", "0", true);  // 750 becomes 7500
    EXPECT_EQ(form.Document().Input().CutRows.back(), (ListRow{"3", "7500", "Post, left"}));
}

TEST(ImportRows, CancelledOrUnreadableChangesNothing) {
    Desktop d;
    MainWindow& form = d.Start();
    // Cancel at the question: no file is asked for.
    d.Find<QAction>("ImportRows")->trigger();
    EXPECT_EQ(d.dialogs.choicePrompts.size(), 1u);
    EXPECT_TRUE(d.dialogs.fileDialogs.empty());
    // Cancel at the file dialog.
    d.dialogs.choices.push_back(CutList);
    d.Find<QAction>("ImportRows")->trigger();
    EXPECT_EQ(d.dialogs.fileDialogs.size(), 1u);
    EXPECT_TRUE(d.dialogs.messages.empty());

    const std::string missing = d.temp.File("missing.csv");
    ImportRows(d, CutList, missing);
    EXPECT_EQ(d.dialogs.messages,
              std::vector<std::string>{"The file " + missing + " could not be read:\r\n" +
                                       std::strerror(ENOENT)});
    EXPECT_TRUE(form.Document().Input().CutRows.empty());
    EXPECT_FALSE(form.JobModified());
    EXPECT_EQ(form.History().count(), 0);
}

TEST(ExportCuttingList, WritesTheCalculatedCuttingListOnlyWhenThereIsOne) {
    Desktop d;
    MainWindow& form = d.Start();
    auto* exportList = d.Find<QAction>("ExportCuttingList");
    EXPECT_FALSE(exportList->isEnabled());
    // It sits in the File menu beside the PDF export.
    const QList<QAction*> file = form.menuBar()->actions().front()->menu()->actions();
    const auto pdf = std::find(file.begin(), file.end(), d.Find<QAction>("ExportPdf"));
    ASSERT_NE(pdf, file.end());
    EXPECT_EQ(*(pdf + 1), exportList);

    d.AddStock("*", "6000");
    d.AddCut("4", "1500");
    d.AddCut("2", "1000");
    testing::CalculateAndWait(form);
    ASSERT_TRUE(form.ResultsValid());
    EXPECT_TRUE(exportList->isEnabled());

    const std::string path = d.temp.File("list.csv");
    d.dialogs.saveFiles.push_back(path);
    exportList->trigger();
    ASSERT_EQ(d.dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(d.dialogs.fileDialogs[0].DefaultExtension, "csv");
    EXPECT_TRUE(d.dialogs.fileDialogs[0].ConfirmOverwrite);
    EXPECT_TRUE(d.dialogs.messages.empty());
    // 4 x 1503 + 2 x 1003 = 8018 needs two bars of 5975 (trim 25).
    const std::string written = ReadBytes(path);
    EXPECT_EQ(written, CuttingListCsv(form.Input(), form.Result()));
    EXPECT_EQ(written.rfind("Pattern,Stock Length,Bars,Cut Length,", 0), 0u);
    long long pieces1500 = 0, pieces1000 = 0;
    for (const CuttingPattern& p : form.Document().Result().Patterns) {
        EXPECT_EQ(p.StockLength, 5975);
        for (int k = 0; k < p.LengthCount(); ++k) {
            (p.CutLength[k] == 1503 ? pieces1500 : pieces1000) += p.PieceCount[k] * p.BarCount;
            EXPECT_NE(written.find(",6000," + std::to_string(p.BarCount) + "," +
                                   std::to_string(p.CutLength[k] - 3) + ","),
                      std::string::npos);
        }
    }
    EXPECT_EQ(pieces1500, 4);
    EXPECT_EQ(pieces1000, 2);

    // A folder that is not there: the file cannot be written, and the user is told.
    const std::string nowhere = d.temp.File("no-such-folder/list.csv");
    d.dialogs.saveFiles.push_back(nowhere);
    exportList->trigger();
    ASSERT_EQ(d.dialogs.messages.size(), 1u);
    EXPECT_EQ(d.dialogs.messages[0].rfind(
                  "The cutting list could not be written to\r\n" + nowhere + "\r\n", 0),
              0u);
}

}  // namespace
}  // namespace tallora
