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
using Rows = std::vector<ListRow>;

// Types a mark into a cut row's Mark cell, as the cell's editor commits it.
void TypeMark(Desktop& d, int row, const QString& mark) {
    QAbstractItemModel* model = d.Find<QTreeView>("CListView")->model();
    model->setData(model->index(row, 2), mark, Qt::EditRole);
}

TEST(CutMarks, AMarkTypedInItsCellIsOneStepCopiedAndPastedWithItsRow) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddCut("4", "1200");
    d.AddCut("2", "900");
    auto* list = d.Find<QTreeView>("CListView");
    EXPECT_EQ(list->model()->headerData(2, Qt::Horizontal).toString(), "Mark");
    EXPECT_EQ(d.Find<QTreeView>("SListView")->model()->columnCount(), 2);

    TypeMark(d, 0, "  Door\nA ");  // one line, blanks trimmed
    EXPECT_EQ(form.Document().Input().CutRows[0], (ListRow{"4", "1200", "Door A"}));
    auto* undo = d.Find<QAction>("Undo");
    EXPECT_EQ(undo->text(), "&Undo Mark");
    undo->trigger();
    EXPECT_EQ(form.Document().Input().CutRows[0].Mark, "");
    d.Find<QAction>("Redo")->trigger();
    EXPECT_EQ(form.Document().Input().CutRows[0].Mark, "Door A");

    // Copied and pasted into a new job, the rows keep their marks; a row of the same length with
    // another mark stays a row of its own.
    testing::ClickRow(list, 0);
    testing::ClickRow(list, 1, Qt::ControlModifier);
    QTest::keySequence(list, QKeySequence::Copy);
    const QString copied = QGuiApplication::clipboard()->text();
    d.Find<QAction>("New")->trigger();
    d.AddCut("1", "1200");
    testing::Paste(list, copied);
    EXPECT_EQ(form.Document().Input().CutRows,
              (Rows{{"1", "1200"}, {"4", "1200", "Door A"}, {"2", "900"}}));
}

TEST(ShopFloorFiles, LabelsAndSawSheetFromTheFileMenuOnceThereAreResults) {
    Desktop d;
    MainWindow& form = d.Start();
    auto* labels = d.Find<QAction>("PrintLabels");
    auto* sawSheet = d.Find<QAction>("ExportSawSheet");
    EXPECT_FALSE(labels->isEnabled());
    EXPECT_FALSE(sawSheet->isEnabled());
    d.AddStock("*", "6000");
    d.AddCut("6", "1500");
    TypeMark(d, 0, "B12");
    testing::CalculateAndWait(form);
    ASSERT_TRUE(labels->isEnabled());
    EXPECT_TRUE(d.Text("SawTotals")
                    .contains("Saw cuts: " + QString::number(CountSawCuts(form.Document().Input(),
                                                                          form.Document().Result())
                                                                 .SawCuts)));

    // Cancel writes nothing; the options chosen are used, and the file opened as the report is.
    labels->trigger();
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
    EXPECT_EQ(testing::ReadBytes(csv).rfind("Bar,Pattern", 0), 0u);
    EXPECT_NE(testing::ReadBytes(csv).find(",B12,1500mm,"), std::string::npos);
    EXPECT_EQ(testing::ReadBytes(pdf).rfind("%PDF", 0), 0u);
    EXPECT_TRUE(d.dialogs.messages.empty());
}

}  // namespace
}  // namespace tallora
