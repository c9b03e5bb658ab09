#include <gtest/gtest.h>

#include <QAction>
#include <QUndoStack>

#include "gui/DesktopTestSupport.h"
#include "results/CuttingListCsv.h"

namespace tallora {
namespace {

using testing::Desktop;
using testing::Paste;
using testing::ReadBytes;
using testing::WriteBytes;
using Rows = std::vector<ListRow>;

constexpr int CutList = 1;

// File, Import Rows..., the list chosen and the file given.
void ImportRows(Desktop& d, int list, const std::string& path) {
    d.dialogs.choices.push_back(list);
    d.dialogs.openFiles.push_back(path);
    d.Find<QAction>("ImportRows")->trigger();
}

// Which lines a file or a paste gives and how rows merge are the entry's rules (RowsFromText,
// ParsePastedRows, CommitRow); here, the questions asked, the refused lines in one message, the
// one step of the history, the marks kept through Modify, and nothing changed by a cancel or a
// file that cannot be read.
TEST(ImportRows, RowsFromAFileAsOneStepWithTheRefusedLinesInOneMessage) {
    Desktop d;
    MainWindow& form = d.Start();
    d.Find<QAction>("ImportRows")->trigger();  // Cancel at the question: no file is asked for
    d.dialogs.choices.push_back(CutList);
    d.Find<QAction>("ImportRows")->trigger();  // Cancel at the file dialog
    const std::string missing = d.temp.File("missing.csv");
    ImportRows(d, CutList, missing);
    EXPECT_EQ(d.dialogs.fileDialogs.size(), 2u);
    EXPECT_EQ(d.dialogs.messages.size(), 1u);
    EXPECT_TRUE(d.SaidPart(missing)) << d.Said();
    EXPECT_EQ(form.History().count(), 0);

    d.AddCut("2", "1200");
    const std::string path = d.temp.File("cuts.txt");
    WriteBytes(path, "Qty\tLength\tPart\n3\t750\tPost, left\nlong\n1\t1200\tDoor B\n");
    ImportRows(d, CutList, path);
    const Rows imported{{"2", "1200"}, {"3", "750", "Post, left"}, {"1", "1200", "Door B"}};
    EXPECT_EQ(form.Document().Input().CutRows, imported);
    EXPECT_EQ(d.dialogs.messages.size(), 2u);
    EXPECT_TRUE(d.SaidPart("Line 3:")) << d.Said();
    auto* undo = d.Find<QAction>("Undo");
    EXPECT_EQ(undo->text(), "&Undo Import 2 Cut Lengths");
    undo->trigger();
    EXPECT_EQ(form.Document().Input().CutRows, (Rows{{"2", "1200"}}));
    d.Find<QAction>("Redo")->trigger();
    // Modify takes the row into the edits; committed again, it keeps its mark.
    testing::ClickRow(d.Find<QTreeView>("CListView"), 1);
    d.Click("CModify");
    d.Type("CLEdit", "0", true);  // 750 becomes 7500
    EXPECT_EQ(form.Document().Input().CutRows.back(), (ListRow{"3", "7500", "Post, left"}));

    // A paste into the list takes its good rows as one step and says the rest in one message.
    Paste(d.Find<QTreeView>("CListView"), "Qty,Length\n3,1000\nabc\n1,500\n");
    EXPECT_EQ(form.Document().Input().CutRows.size(), 5u);
    EXPECT_EQ(d.dialogs.messages.size(), 3u);
    EXPECT_TRUE(d.SaidPart("Line 3: 'abc'")) << d.Said();
    // The quantity box takes rows, but a single value as any paste.
    auto* quantity = d.Find<QLineEdit>("CQEdit");
    quantity->setFocus();
    Paste(quantity, "12");
    EXPECT_EQ(quantity->text(), "12");
    Paste(quantity, "3\t800\r\n4\t900\r\n");
    EXPECT_EQ(form.Document().Input().CutRows.size(), 7u);
    EXPECT_EQ(quantity->text(), "12");
}

TEST(ExportCuttingList, WritesTheCalculatedCuttingListOnlyWhenThereIsOne) {
    Desktop d;
    MainWindow& form = d.Start();
    auto* exportList = d.Find<QAction>("ExportCuttingList");
    EXPECT_FALSE(exportList->isEnabled());
    d.Calculated({{"4", "1500"}, {"2", "1000"}});
    EXPECT_TRUE(exportList->isEnabled());

    const std::string path = d.temp.File("list.csv");
    d.dialogs.saveFiles.push_back(path);
    exportList->trigger();
    EXPECT_EQ(d.dialogs.fileDialogs.at(0).DefaultExtension, "csv");
    EXPECT_TRUE(d.dialogs.messages.empty());
    // The results' own export, of the job calculated (its lines: CuttingListCsvTest).
    EXPECT_EQ(ReadBytes(path), CuttingListCsv(form.Input(), form.Result()));

    // A folder that is not there: the file cannot be written, and the user is told.
    const std::string nowhere = d.temp.File("no-such-folder/list.csv");
    d.dialogs.saveFiles.push_back(nowhere);
    exportList->trigger();
    EXPECT_TRUE(d.SaidPart(nowhere)) << d.Said();
}

// A mark typed in its cell is one step and reaches the saw sheet; labels and the saw sheet are
// offered once there are results, with the options chosen.
TEST(ShopFloorFiles, AMarkTypedInItsCellReachesTheLabelsAndTheSawSheet) {
    Desktop d;
    MainWindow& form = d.Start();
    auto* labels = d.Find<QAction>("PrintLabels");
    auto* sawSheet = d.Find<QAction>("ExportSawSheet");
    d.AddCut("6", "1500");
    d.AddCut("2", "900");
    auto* list = d.Find<QTreeView>("CListView");
    list->model()->setData(list->model()->index(0, 2), "  B\n12 ", Qt::EditRole);
    EXPECT_EQ(form.Document().Input().CutRows[0], (ListRow{"6", "1500", "B 12"}));
    auto* undo = d.Find<QAction>("Undo");
    EXPECT_EQ(undo->text(), "&Undo Mark");
    undo->trigger();
    EXPECT_EQ(form.Document().Input().CutRows[0].Mark, "");
    d.Find<QAction>("Redo")->trigger();

    EXPECT_FALSE(labels->isEnabled());
    EXPECT_FALSE(sawSheet->isEnabled());
    d.Calculated({});
    ASSERT_TRUE(labels->isEnabled());
    labels->trigger();  // Cancel writes nothing
    EXPECT_TRUE(d.opened.empty());
    LabelOptions roll;
    roll.Layout = *FindLabelLayout("roll-62x29");
    d.dialogs.labelOptions.push_back(roll);
    labels->trigger();
    ASSERT_EQ(d.opened.size(), 1u);
    EXPECT_EQ(testing::ReadBytes(d.opened[0].toStdString()).rfind("%PDF", 0), 0u);

    const std::string csv = d.temp.File("saw.csv");
    const std::string pdf = d.temp.File("saw.pdf");
    d.dialogs.saveFiles = {csv, pdf};
    sawSheet->trigger();
    sawSheet->trigger();
    EXPECT_NE(testing::ReadBytes(csv).find(",B 12,1500mm,"), std::string::npos);
    EXPECT_EQ(testing::ReadBytes(pdf).rfind("%PDF", 0), 0u);
    EXPECT_TRUE(d.dialogs.messages.empty());
}

}  // namespace
}  // namespace tallora
