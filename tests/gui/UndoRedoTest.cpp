#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QTreeView>
#include <QUndoStack>

#include "gui/DesktopTestSupport.h"
#include "gui/entry/SettingsPanel.h"

namespace tallora {
namespace {

using testing::ClickRow;
using testing::Desktop;
using testing::Paste;
using Rows = std::vector<ListRow>;

void ClickHeader(QTreeView* list, int column) {
    QHeaderView* header = list->header();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

// How lengths convert is the entry's rule (ChangeUnits); here, the change is one step of the
// history, a rounding is said, and the lists and edits then show feet and inches.
TEST(UndoRedo, AUnitChangeConvertsTheJobAndUndoesAsOneStep) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddStock("*", "6096");  // 20 feet exactly
    d.AddCut("3", "1000");    // 39-3/8" and a little
    const JobInput metric = form.Document().Input();
    d.Find<QAction>("JobUnitsimperial1/16")->trigger();
    EXPECT_EQ(d.dialogs.messages.size(), 1u);
    auto* stockList = d.Find<QTreeView>("SListView");
    EXPECT_EQ(stockList->model()->index(0, 1).data().toString(), "20' 0\"");
    EXPECT_EQ(d.Text("KerfEdit"), "1/8\"");
    auto* undo = d.Find<QAction>("Undo");
    EXPECT_EQ(undo->text(), "&Undo Units");
    undo->trigger();
    EXPECT_EQ(form.Document().Input(), metric);
    EXPECT_EQ(stockList->model()->index(0, 1).data().toString(), "6096");
    EXPECT_EQ(d.Text("KerfEdit"), "3mm");
}

// How rows merge and sort is the entry's rule (CommitRow, SortRows); here, each edit of a list is
// one step, named, and undoing it shows the list as it was.
TEST(UndoRedo, RowEditsEachUndoAsOneStep) {
    Desktop d;
    MainWindow& form = d.Start();
    auto* undo = d.Find<QAction>("Undo");
    EXPECT_FALSE(undo->isEnabled());
    d.AddStock("5", "6000");
    d.AddStock("2", "4000");
    const Rows rows = form.Document().Input().StockRows;
    auto* list = d.Find<QTreeView>("SListView");
    const auto undone = [&](const char* step) {
        EXPECT_EQ(undo->text().toStdString(), std::string("&Undo ") + step);
        const Rows after = form.Document().Input().StockRows;
        undo->trigger();
        EXPECT_EQ(form.Document().Input().StockRows, rows) << step;
        EXPECT_EQ(list->model()->rowCount(), static_cast<int>(rows.size())) << step;
        d.Find<QAction>("Redo")->trigger();
        EXPECT_EQ(form.Document().Input().StockRows, after) << step;
        undo->trigger();
    };
    d.AddStock("3", "6000");
    undone("Merge Stock Length");
    testing::ClickRow(list, 0);
    d.Click("SModify");  // the row goes out into the edits
    undone("Modify Stock Length");
    EXPECT_EQ(d.Text("SQEdit") + d.Text("SLEdit"), "");
    testing::ClickRow(list, 0);
    testing::ClickRow(list, 1, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_Delete);
    undone("Delete 2 Stock Lengths");
    ClickHeader(list, 1);
    undone("Sort Stock Lengths");
    QString text;  // fifty rows pasted are one step
    for (int i = 1; i <= 50; ++i) text += QStringLiteral("1\t%1\n").arg(100 + i);
    Paste(d.Find<QTreeView>("CListView"), text);
    EXPECT_EQ(undo->text(), "&Undo Paste 50 Cut Lengths");
    undo->trigger();
    EXPECT_TRUE(form.Document().Input().CutRows.empty());
}

// Which parts of the input an edit names is the entry's rule (InputEdits); here, every field of
// the window is one step however many keys or clicks it took, and undoing it shows the field as
// it was.
TEST(UndoRedo, AllowancesScrapAllSectionFieldsAndThePriceBasis) {
    Desktop d;
    MainWindow& form = d.Start();
    auto* undo = d.Find<QAction>("Undo");
    const auto typeInto = [&d](const char* name, const QString& text) {
        return [&d, name, text] {
            auto* edit = d.Find<QLineEdit>(name);
            edit->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, text);
            d.Find<QLineEdit>("ReferenceEdit")->setFocus();
        };
    };
    const auto text = [&d](const char* name) { return [&d, name] { return d.Text(name); }; };
    const auto checked = [&d](const char* name) {
        return [&d, name] { return QString::number(d.Find<QAbstractButton>(name)->isChecked()); };
    };
    const auto kerfUp = [&d] {
        for (int i = 0; i < 2; ++i)
            QTest::mouseClick(d.Find<SpinButton>("KerfSpin")->Up(), Qt::LeftButton);
    };
    struct Case {
        const char* step;
        std::function<void()> edit;
        std::function<QString()> shown;
    };
    for (const Case& c :
         {Case{"Trim", typeInto("TrimEdit", "12"), text("TrimEdit")},
          Case{"Kerf", kerfUp, text("KerfEdit")},
          Case{"Scrap All Waste", [&d] { d.Click("NoOffcuts"); }, checked("NoOffcuts")},
          Case{"Customer", typeInto("CustomerEdit", "Acme"), text("CustomerEdit")},
          Case{"Weight", typeInto("WeightEdit", "12.5"), text("WeightEdit")},
          Case{"Price Basis", [&d] { d.Click("RadioButton2"); }, checked("RadioButton1")}}) {
        const JobInput before = form.Document().Input();
        const QString shownBefore = c.shown();
        const int steps = form.History().count();
        c.edit();
        const JobInput after = form.Document().Input();
        EXPECT_NE(after, before) << c.step;
        EXPECT_EQ(form.History().count(), steps + 1) << c.step;
        EXPECT_EQ(undo->text().toStdString(), std::string("&Undo ") + c.step);
        undo->trigger();
        EXPECT_EQ(form.Document().Input(), before) << c.step;
        EXPECT_EQ(c.shown(), shownBefore) << c.step;
        d.Find<QAction>("Redo")->trigger();
        EXPECT_EQ(form.Document().Input(), after) << c.step;
    }
}

TEST(UndoRedo, TheKeysInAFieldUndoTheJobNotTheFieldsText) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddCut("2", "1500");
    auto* customer = d.Find<QLineEdit>("CustomerEdit");
    customer->setFocus();
    QTest::keyClicks(customer, "Acme");
    QTest::keyClick(customer, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(customer->text(), "");
    QTest::keyClick(customer, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(form.Document().Input().CutRows.empty());
    QTest::keyClick(customer, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(form.Document().Input().CutRows, (Rows{{"2", "1500"}}));
    QTest::keyClick(customer, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(customer->text(), "Acme");
    EXPECT_FALSE(d.Find<QAction>("Redo")->isEnabled());
}

// A calculation is no step; undoing an edit made after one leaves the results as the edit by
// hand would, and New and Open clear the history.
TEST(UndoRedo, AnUndoAfterACalculationActsAsTheEditByHandDoes) {
    Desktop d;
    MainWindow& form = d.Start();
    d.Calculated();
    EXPECT_EQ(form.History().count(), 2);  // the two rows typed
    d.dialogs.saveFiles = {d.temp.File("job.tlf")};
    form.saveJobAs();
    const QString summary = form.StatusText(1);
    auto* print = d.Find<QAction>("Print");
    d.AddCut("2", "700");
    const bool editedValid = form.ResultsValid();
    const bool editedPrint = print->isEnabled();
    const int patterns = form.Document().Result().PatternCount();
    form.saveJob();
    d.Find<QAction>("Undo")->trigger();
    EXPECT_EQ(form.Document().Input().CutRows, (Rows{{"3", "1500"}}));
    EXPECT_TRUE(form.JobModified());
    EXPECT_EQ(form.ResultsValid(), editedValid);
    EXPECT_EQ(print->isEnabled(), editedPrint);
    EXPECT_EQ(form.StatusText(1), summary);
    EXPECT_EQ(form.Document().Result().PatternCount(), patterns);  // the calculation itself stays

    d.Find<QAction>("New")->trigger();
    EXPECT_EQ(form.History().count(), 0);
    d.AddCut("1", "100");
    d.dialogs.answers = {MessageAnswer::No};
    d.dialogs.openFiles = {d.temp.File("job.tlf")};
    form.openJob();
    ASSERT_EQ(form.Document().Input().CutRows.size(), 2u);
    EXPECT_EQ(form.History().count(), 0);
    EXPECT_FALSE(d.Find<QAction>("Undo")->isEnabled());
}

}  // namespace
}  // namespace tallora
