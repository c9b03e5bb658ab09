#include <gtest/gtest.h>

#include <QClipboard>
#include <QPushButton>
#include <QTreeView>

#include "gui/DesktopTestSupport.h"

namespace tallora {
namespace {

using testing::ClickRow;
using testing::Desktop;
using testing::Paste;
using Rows = std::vector<ListRow>;

// Which lines a paste takes and how the message words the others is the entry's rule
// (PastedRowsTest); here, that the list takes the good rows and one message lists the rest.
TEST(PasteRows, BadLinesAreListedInOneMessageAndTheGoodRowsAreKept) {
    Desktop d;
    MainWindow& form = d.Start();
    auto* list = d.Find<QTreeView>("CListView");
    Paste(list, "Qty,Length\n3,1000\nabc\n1,500\n");
    EXPECT_EQ(form.Document().Input().CutRows, (Rows{{"3", "1000"}, {"1", "500"}}));
    ASSERT_EQ(d.dialogs.messages.size(), 1u);
    EXPECT_NE(d.dialogs.messages.front().find("Line 3: 'abc' is not a quantity and a length."),
              std::string::npos)
        << d.dialogs.messages.front();
    EXPECT_TRUE(form.JobModified());
    EXPECT_EQ(form.StatusText(1), "2 Different cut lengths required");

    // Nothing good at all: the message alone.
    Paste(list, "x,1\ny,2\n");
    EXPECT_EQ(d.dialogs.messages.size(), 2u);
    EXPECT_EQ(form.Document().Input().CutRows.size(), 2u);
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
