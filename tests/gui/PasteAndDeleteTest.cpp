#include <gtest/gtest.h>

#include <QPushButton>
#include <QTreeView>
#include <QUndoStack>

#include "gui/DesktopTestSupport.h"

namespace tallora {
namespace {

using testing::ClickRow;
using testing::Desktop;
using testing::Paste;
using Rows = std::vector<ListRow>;

// Which lines a paste takes and how the message words the others is the entry's rule
// (ParsePastedRows, PasteFailuresMessage); here, that the list takes the good rows and one
// message lists the rest, and that the quantity box takes rows but a single value as any paste.
TEST(PasteRows, BadLinesAreListedInOneMessageAndTheQuantityBoxTakesRows) {
    Desktop d;
    MainWindow& form = d.Start();
    Paste(d.Find<QTreeView>("CListView"), "Qty,Length\n3,1000\nabc\n1,500\n");
    EXPECT_EQ(form.Document().Input().CutRows, (Rows{{"3", "1000"}, {"1", "500"}}));
    ASSERT_EQ(d.dialogs.messages.size(), 1u);
    EXPECT_TRUE(d.SaidPart("Line 3: 'abc' is not a quantity and a length.")) << d.Said();
    EXPECT_EQ(form.StatusText(1), "2 Different cut lengths required");
    // Nothing good at all: the message alone, and no step of the history.
    const int steps = form.History().count();
    Paste(d.Find<QTreeView>("CListView"), "x,1\ny,2\n");
    EXPECT_EQ(d.dialogs.messages.size(), 2u);
    EXPECT_EQ(form.History().count(), steps);

    auto* quantity = d.Find<QLineEdit>("CQEdit");
    quantity->setFocus();
    Paste(quantity, "12");
    EXPECT_EQ(quantity->text(), "12");
    Paste(quantity, "3\t800\r\n4\t900\r\n");
    EXPECT_EQ(form.Document().Input().CutRows.size(), 4u);
    EXPECT_EQ(quantity->text(), "12");  // the box is left as it was
}

TEST(DeleteRows, TheKeysAndTheButtonRemoveEverySelectedRow) {
    Desktop d;
    MainWindow& form = d.Start();
    for (int i = 1; i <= 5; ++i) d.AddCut("1", QString::number(100 * i));
    auto* list = d.Find<QTreeView>("CListView");
    ClickRow(list, 1);
    ClickRow(list, 3, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(form.Document().Input().CutRows, (Rows{{"1", "100"}, {"1", "300"}, {"1", "500"}}));
    EXPECT_FALSE(d.Find<QPushButton>("CDelete")->isEnabled());
    ClickRow(list, 0);
    QTest::keyClick(list, Qt::Key_Backspace);
    ClickRow(list, 0);
    ClickRow(list, 1, Qt::ControlModifier);
    d.Click("CDelete");
    EXPECT_TRUE(form.Document().Input().CutRows.empty());
    EXPECT_TRUE(d.dialogs.messages.empty());
}

}  // namespace
}  // namespace tallora
