#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>

#include "gui/DesktopTestSupport.h"
#include "results/SawSheet.h"

namespace tallora {
namespace {

using testing::Desktop;

// How rows with marks merge is the entry's rule (CommitCutRow.RowsOfOneLengthMergeOnlyWith...);
// here, a mark typed in its cell is one step, goes with its row through the clipboard, and
// reaches the saw sheet; labels and the saw sheet are offered once there are results, with the
// options chosen.
TEST(ShopFloorFiles, AMarkTypedInItsCellReachesTheClipboardTheLabelsAndTheSawSheet) {
    Desktop d;
    MainWindow& form = d.Start();
    auto* labels = d.Find<QAction>("PrintLabels");
    auto* sawSheet = d.Find<QAction>("ExportSawSheet");
    d.AddCut("6", "1500");
    d.AddCut("2", "900");
    auto* list = d.Find<QTreeView>("CListView");
    EXPECT_EQ(list->model()->headerData(2, Qt::Horizontal).toString(), "Mark");
    list->model()->setData(list->model()->index(0, 2), "  B\n12 ", Qt::EditRole);
    EXPECT_EQ(form.Document().Input().CutRows[0], (ListRow{"6", "1500", "B 12"}));
    auto* undo = d.Find<QAction>("Undo");
    EXPECT_EQ(undo->text(), "&Undo Mark");
    undo->trigger();
    EXPECT_EQ(form.Document().Input().CutRows[0].Mark, "");
    d.Find<QAction>("Redo")->trigger();

    // Copied and pasted back, the row merges with its own mark's row.
    testing::ClickRow(list, 0);
    QTest::keySequence(list, QKeySequence::Copy);
    testing::Paste(list, QGuiApplication::clipboard()->text());
    EXPECT_EQ(form.Document().Input().CutRows[1], (ListRow{"12", "1500", "B 12"}));

    EXPECT_FALSE(labels->isEnabled());
    EXPECT_FALSE(sawSheet->isEnabled());
    d.Calculated({});
    ASSERT_TRUE(labels->isEnabled());
    EXPECT_TRUE(d.Text("SawTotals")
                    .contains("Saw cuts: " + QString::number(CountSawCuts(form.Document().Input(),
                                                                          form.Document().Result())
                                                                 .SawCuts)));
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
