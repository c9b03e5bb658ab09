#include <gtest/gtest.h>

#include <QClipboard>
#include <QPushButton>
#include <QTreeView>

#include "entry/PastedRows.h"
#include "gui/DesktopTestSupport.h"
#include "job/RowTexts.h"

namespace tallora {
namespace {

using testing::ClickRow;
using testing::Desktop;
using testing::Paste;
using Rows = std::vector<ListRow>;

TEST(PasteRows, AHeaderIsSkippedAndStockTakesUnlimitedQuantities) {
    Desktop d;
    MainWindow& form = d.Start();
    auto* list = d.Find<QTreeView>("SListView");
    Paste(list, "Quantity\tLength\r\n5\t6000\r\n*\t4000\r\nany\t3000\r\n");
    EXPECT_EQ(form.Document().Input().StockRows,
              (Rows{{"5", "6000"}, {"*", "4000"}, {"ANY", "3000"}}));
    EXPECT_TRUE(d.dialogs.messages.empty());
    EXPECT_TRUE(form.JobModified());
    EXPECT_EQ(form.StatusText(0), "3 Different stock lengths available");
}

TEST(PasteRows, BadLinesAreListedInOneMessageAndTheGoodRowsAreKeptAndMerged) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddCut("2", "1000");
    auto* list = d.Find<QTreeView>("CListView");
    Paste(list, "Qty,Length\n3,1000\n*,2000\nANY,2500\nabc\n3,18301\n0,700\n1,500\n4,1000\n");
    // Each good row by the typed entry's rules: 1000 merges twice and moves to the end.
    EXPECT_EQ(form.Document().Input().CutRows, (Rows{{"1", "500"}, {"9", "1000"}}));
    ASSERT_EQ(d.dialogs.messages.size(), 1u);
    const std::string& message = d.dialogs.messages.front();
    EXPECT_EQ(message, PasteFailuresMessage({{3, ReasonOf(NotAQuantityMessage("*"))},
                                             {4, ReasonOf(NotAQuantityMessage("ANY"))},
                                             {5, "'abc' is not a quantity and a length."},
                                             {6, ReasonOf(LengthTooLongMessage("18301"))},
                                             {7, ReasonOf(ZeroQuantityMessage())}},
                                            8));
    EXPECT_NE(message.find("Line 3: '*' is not a quantity in whole numbers."), std::string::npos);
    EXPECT_NE(message.find("Line 6: 18301mm is greater than"), std::string::npos);
    EXPECT_EQ(form.StatusText(1), "2 Different cut lengths required");

    // Nothing good at all: the message alone.
    Paste(list, "x,1\ny,2\n");
    EXPECT_EQ(d.dialogs.messages.size(), 2u);
    EXPECT_EQ(form.Document().Input().CutRows, (Rows{{"1", "500"}, {"9", "1000"}}));
}

TEST(PasteRows, TheQuantityBoxTakesRowsButASingleValueAsAnyPaste) {
    Desktop d;
    MainWindow& form = d.Start();
    auto* quantity = d.Find<QLineEdit>("CQEdit");
    quantity->setFocus();
    Paste(quantity, "12");
    EXPECT_EQ(quantity->text(), "12");
    EXPECT_TRUE(form.Document().Input().CutRows.empty());

    Paste(quantity, "3\t800\r\n4\t900\r\n");
    EXPECT_EQ(form.Document().Input().CutRows, (Rows{{"3", "800"}, {"4", "900"}}));
    EXPECT_EQ(quantity->text(), "12");  // the box is left as it was

    Paste(d.Find<QLineEdit>("SQEdit"), "* 6000");
    EXPECT_EQ(form.Document().Input().StockRows, (Rows{{"*", "6000"}}));
}

TEST(CopyRows, SelectedRowsCopyInListOrderAndPasteBackTheSame) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddStock("*", "6000");
    d.AddStock("4", "4000");
    auto* list = d.Find<QTreeView>("SListView");
    Paste(list, "ANY\t3000");
    ASSERT_EQ(form.Document().Input().StockRows.size(), 3u);
    ClickRow(list, 2);
    ClickRow(list, 0, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "*\t6000\nANY\t3000\n");

    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    Desktop other;
    MainWindow& copy = other.Start();
    QTest::keyClick(other.Find<QTreeView>("SListView"), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(copy.Document().Input().StockRows, form.Document().Input().StockRows);
    EXPECT_TRUE(other.dialogs.messages.empty());
}

TEST(DeleteRows, TheKeysAndTheButtonRemoveEverySelectedRow) {
    Desktop d;
    MainWindow& form = d.Start();
    for (int i = 1; i <= 6; ++i) d.AddCut("1", QString::number(100 * i));
    auto* list = d.Find<QTreeView>("CListView");
    ClickRow(list, 1);
    ClickRow(list, 3, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(form.Document().Input().CutRows,
              (Rows{{"1", "100"}, {"1", "300"}, {"1", "500"}, {"1", "600"}}));
    EXPECT_FALSE(d.Find<QPushButton>("CDelete")->isEnabled());

    ClickRow(list, 0);
    QTest::keyClick(list, Qt::Key_Backspace);
    EXPECT_EQ(form.Document().Input().CutRows, (Rows{{"1", "300"}, {"1", "500"}, {"1", "600"}}));

    ClickRow(list, 0);
    ClickRow(list, 2, Qt::ControlModifier);
    QTest::mouseClick(d.Find<QPushButton>("CDelete"), Qt::LeftButton);
    EXPECT_EQ(form.Document().Input().CutRows, (Rows{{"1", "500"}}));
    EXPECT_TRUE(d.dialogs.messages.empty());
    EXPECT_EQ(form.StatusText(1), "1 Cut length required");
}

}  // namespace
}  // namespace tallora
