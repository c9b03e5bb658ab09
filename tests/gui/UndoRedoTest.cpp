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
// history, a rounding is said, and the lists and edits then take and show feet and inches.
TEST(UndoRedo, AUnitChangeConvertsTheJobAndUndoesAsOneStep) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddStock("*", "6096");  // 20 feet exactly
    d.AddCut("3", "1000");    // 39-3/8" and a little
    const JobInput metric = form.Document().Input();
    d.Find<QAction>("JobUnitsimperial1/16")->trigger();
    EXPECT_TRUE(form.Document().Input().Units.Imperial());
    ASSERT_EQ(d.dialogs.messages.size(), 1u);
    EXPECT_TRUE(d.SaidPart("rounded"));
    auto* stockList = d.Find<QTreeView>("SListView");
    EXPECT_EQ(stockList->model()->index(0, 1).data().toString(), "20' 0\"");
    EXPECT_EQ(d.Text("KerfEdit"), "1/8\"");
    d.AddCut("2", "6' 3-1/2\"");  // which forms are read: ReadImperialLength
    EXPECT_EQ(form.Document().Input().CutRows.back(), (ListRow{"2", "2416"}));

    auto* undo = d.Find<QAction>("Undo");
    undo->trigger();  // the row typed
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
    auto* redo = d.Find<QAction>("Redo");
    EXPECT_FALSE(undo->isEnabled());
    d.AddStock("5", "6000");
    EXPECT_EQ(undo->text(), "&Undo Add Stock Length");
    d.AddStock("2", "4000");
    d.AddStock("3", "6000");
    EXPECT_EQ(undo->text(), "&Undo Merge Stock Length");
    const Rows merged{{"2", "4000"}, {"8", "6000"}};
    ASSERT_EQ(form.Document().Input().StockRows, merged);
    undo->trigger();
    EXPECT_EQ(form.Document().Input().StockRows, (Rows{{"5", "6000"}, {"2", "4000"}}));
    EXPECT_EQ(redo->text(), "&Redo Merge Stock Length");
    redo->trigger();
    EXPECT_EQ(form.Document().Input().StockRows, merged);

    // Modify takes the row out into the edits; undoing puts it back and empties them.
    auto* list = d.Find<QTreeView>("SListView");
    ClickRow(list, 0);
    d.Click("SModify");
    EXPECT_EQ(undo->text(), "&Undo Modify Stock Length");
    undo->trigger();
    EXPECT_EQ(form.Document().Input().StockRows, merged);
    EXPECT_EQ(d.Text("SQEdit") + d.Text("SLEdit"), "");

    ClickRow(list, 0);
    ClickRow(list, 1, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(undo->text(), "&Undo Delete 2 Stock Lengths");
    undo->trigger();
    EXPECT_EQ(form.Document().Input().StockRows, merged);

    d.AddStock("1", "9000");
    const Rows unsorted = form.Document().Input().StockRows;
    ClickHeader(list, 0);
    ASSERT_NE(form.Document().Input().StockRows, unsorted);
    EXPECT_EQ(undo->text(), "&Undo Sort Stock Lengths");
    undo->trigger();
    EXPECT_EQ(list->model()->index(2, 1).data().toString(), "9000");

    // A paste of fifty rows is one step.
    QString text;
    for (int i = 1; i <= 50; ++i) text += QStringLiteral("1\t%1\n").arg(100 + i);
    Paste(d.Find<QTreeView>("CListView"), text);
    EXPECT_EQ(undo->text(), "&Undo Paste 50 Cut Lengths");
    undo->trigger();
    EXPECT_TRUE(form.Document().Input().CutRows.empty());
    EXPECT_EQ(d.Find<QTreeView>("CListView")->model()->rowCount(), 0);
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

TEST(UndoRedo, AnUndoAfterACalculationActsAsTheEditByHandDoes) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddStock("*", "6000");
    d.AddCut("3", "1500");
    const QString summary = form.StatusText(1);
    const int steps = form.History().count();
    testing::CalculateAndWait(form);
    ASSERT_TRUE(form.ResultsValid());
    EXPECT_EQ(form.History().count(), steps);  // a calculation is no step
    d.dialogs.saveFiles = {d.temp.File("job.tlf")};
    form.saveJobAs();

    auto* print = d.Find<QAction>("Print");
    d.AddCut("2", "700");
    const bool editedValid = form.ResultsValid();
    const bool editedPrint = print->isEnabled();
    form.saveJob();
    ASSERT_FALSE(form.JobModified());
    const int patterns = form.Document().Result().PatternCount();

    d.Find<QAction>("Undo")->trigger();
    EXPECT_EQ(form.Document().Input().CutRows, (Rows{{"3", "1500"}}));
    EXPECT_TRUE(form.JobModified());
    EXPECT_EQ(form.ResultsValid(), editedValid);
    EXPECT_EQ(print->isEnabled(), editedPrint);
    EXPECT_EQ(form.StatusText(1), summary);
    EXPECT_EQ(form.Document().Result().PatternCount(), patterns);  // the calculation itself stays

    // New and Open clear the history.
    d.Find<QAction>("New")->trigger();
    EXPECT_EQ(form.History().count(), 0);
    d.AddCut("1", "100");
    d.dialogs.answers = {MessageAnswer::No};
    d.dialogs.openFiles = {d.temp.File("job.tlf")};
    form.openJob();
    ASSERT_EQ(form.Document().Input().CutRows.size(), 2u);
    EXPECT_EQ(form.History().count(), 0);
    EXPECT_FALSE(d.Find<QAction>("Undo")->isEnabled());
    EXPECT_FALSE(d.Find<QAction>("Redo")->isEnabled());
}

}  // namespace
}  // namespace tallora
