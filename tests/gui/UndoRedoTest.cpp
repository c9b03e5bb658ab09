#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
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

// Gives an edit the focus as a click would and types over its whole text.
void TypeOver(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    QApplication::processEvents();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Options, Units of This Job converts every length (how: ChangeUnits) as one step of the
// history, says so when a length was rounded, and the lists and edits then take and show feet
// and inches.
TEST(UndoRedo, AUnitChangeConvertsTheJobAndUndoesAsOneStep) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddStock("*", "6096");  // 20 feet exactly
    d.AddCut("3", "1000");    // 39-3/8" and a little
    const JobInput metric = form.Document().Input();
    d.dialogs.messages.clear();

    d.Find<QAction>("JobUnitsimperial1/16")->trigger();
    const JobInput& input = form.Document().Input();
    EXPECT_TRUE(input.Units.Imperial());
    EXPECT_EQ(input.StockRows, (Rows{{"*", "7680"}}));
    EXPECT_EQ(input.CutRows, (Rows{{"3", "1260"}}));
    ASSERT_EQ(d.dialogs.messages.size(), 1u);  // 1000mm moved to 39-3/8"
    EXPECT_NE(d.dialogs.messages[0].find("rounded"), std::string::npos);
    auto* stockList = d.Find<QTreeView>("SListView");
    EXPECT_EQ(stockList->model()->index(0, 1).data().toString(), "20' 0\"");
    EXPECT_EQ(d.Find<QLineEdit>("KerfEdit")->text(), "1/8\"");

    // Typed in feet and inches (which forms: ReadImperialLength).
    d.AddCut("2", "6' 3-1/2\"");
    EXPECT_EQ(form.Document().Input().CutRows.back(), (ListRow{"2", "2416"}));

    auto* undo = d.Find<QAction>("Undo");
    undo->trigger();  // the row typed
    EXPECT_EQ(undo->text(), "&Undo Units");
    undo->trigger();
    EXPECT_EQ(form.Document().Input(), metric);
    EXPECT_EQ(stockList->model()->index(0, 1).data().toString(), "6096");
    EXPECT_EQ(d.Find<QLineEdit>("KerfEdit")->text(), "3mm");
}

TEST(UndoRedo, RowEditsEachUndoAsOneStep) {
    Desktop d;
    MainWindow& form = d.Start();
    auto* undo = d.Find<QAction>("Undo");
    auto* redo = d.Find<QAction>("Redo");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "&Undo");

    d.AddStock("5", "6000");
    EXPECT_EQ(undo->text(), "&Undo Add Stock Length");
    d.AddStock("2", "4000");
    d.AddStock("3", "6000");
    EXPECT_EQ(undo->text(), "&Undo Merge Stock Length");
    const Rows merged{{"2", "4000"}, {"8", "6000"}};
    ASSERT_EQ(form.Document().Input().StockRows, merged);
    undo->trigger();
    EXPECT_EQ(form.Document().Input().StockRows, (Rows{{"5", "6000"}, {"2", "4000"}}));
    EXPECT_EQ(form.StatusText(0), "2 Different stock lengths available");
    EXPECT_EQ(redo->text(), "&Redo Merge Stock Length");
    redo->trigger();
    EXPECT_EQ(form.Document().Input().StockRows, merged);

    // Modify takes the row out into the edits; undoing puts it back and empties them.
    auto* list = d.Find<QTreeView>("SListView");
    ClickRow(list, 0);
    QTest::mouseClick(d.Find<QPushButton>("SModify"), Qt::LeftButton);
    EXPECT_EQ(d.Text("SQEdit"), "2");
    EXPECT_EQ(undo->text(), "&Undo Modify Stock Length");
    undo->trigger();
    EXPECT_EQ(form.Document().Input().StockRows, merged);
    EXPECT_EQ(d.Text("SQEdit"), "");
    EXPECT_EQ(d.Text("SLEdit"), "");

    ClickRow(list, 0);
    ClickRow(list, 1, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_TRUE(form.Document().Input().StockRows.empty());
    EXPECT_EQ(undo->text(), "&Undo Delete 2 Stock Lengths");
    undo->trigger();
    EXPECT_EQ(form.Document().Input().StockRows, merged);
    redo->trigger();
    EXPECT_TRUE(form.Document().Input().StockRows.empty());
    undo->trigger();

    d.AddStock("1", "9000");
    const Rows unsorted = form.Document().Input().StockRows;
    ClickHeader(list, 0);
    ASSERT_NE(form.Document().Input().StockRows, unsorted);
    EXPECT_EQ(undo->text(), "&Undo Sort Stock Lengths");
    undo->trigger();
    EXPECT_EQ(form.Document().Input().StockRows, unsorted);
    EXPECT_EQ(list->model()->index(2, 1).data().toString(), "9000");
    // Sorting a sorted list changes nothing: no step.
    ClickHeader(list, 1);
    const int steps = form.History().count();
    ClickHeader(list, 1);
    EXPECT_EQ(form.History().count(), steps);
}

TEST(UndoRedo, APasteOfFiftyRowsIsOneStep) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddCut("7", "50");
    const Rows before = form.Document().Input().CutRows;
    QString text;
    for (int i = 1; i <= 50; ++i) text += QStringLiteral("1\t%1\n").arg(100 + i);
    const int steps = form.History().count();
    Paste(d.Find<QTreeView>("CListView"), text);
    ASSERT_EQ(form.Document().Input().CutRows.size(), 51u);
    const Rows pasted = form.Document().Input().CutRows;
    EXPECT_EQ(form.History().count(), steps + 1);
    EXPECT_EQ(d.Find<QAction>("Undo")->text(), "&Undo Paste 50 Cut Lengths");
    d.Find<QAction>("Undo")->trigger();
    EXPECT_EQ(form.Document().Input().CutRows, before);
    EXPECT_EQ(d.Find<QTreeView>("CListView")->model()->rowCount(), 1);
    d.Find<QAction>("Redo")->trigger();
    EXPECT_EQ(form.Document().Input().CutRows, pasted);

    // A paste that adds nothing is no step.
    Paste(d.Find<QTreeView>("CListView"), "x,1\ny,2\n");
    EXPECT_EQ(d.dialogs.messages.size(), 1u);
    EXPECT_EQ(form.History().count(), steps + 1);
}

TEST(UndoRedo, AllowancesScrapAllSectionFieldsAndThePriceBasis) {
    Desktop d;
    MainWindow& form = d.Start();
    auto* undo = d.Find<QAction>("Undo");
    auto* redo = d.Find<QAction>("Redo");
    const Allowances start = form.Document().Input().Allowances;

    // Keystrokes in one field are one step.
    auto* trim = d.Find<QLineEdit>("TrimEdit");
    TypeOver(trim, "12");
    EXPECT_EQ(form.Document().Input().Allowances.Trim, 12);
    EXPECT_EQ(form.History().count(), 1);
    EXPECT_EQ(undo->text(), "&Undo Trim");
    d.Find<QLineEdit>("CustomerEdit")->setFocus();
    undo->trigger();
    EXPECT_EQ(form.Document().Input().Allowances.Trim, start.Trim);
    EXPECT_EQ(trim->text(), QString::fromStdString(AllowanceDisplayText(start.Trim)));
    redo->trigger();
    EXPECT_EQ(form.Document().Input().Allowances.Trim, 12);

    // A spin button's clicks, one after another, are one step.
    auto* spin = d.Find<SpinButton>("KerfSpin");
    QTest::mouseClick(spin->Up(), Qt::LeftButton);
    QTest::mouseClick(spin->Up(), Qt::LeftButton);
    ASSERT_EQ(form.Document().Input().Allowances.Kerf, start.Kerf + 2);
    EXPECT_EQ(undo->text(), "&Undo Kerf");
    undo->trigger();
    EXPECT_EQ(form.Document().Input().Allowances.Kerf, start.Kerf);
    EXPECT_EQ(form.Document().Input().Allowances.Trim, 12);

    auto* scrap = d.Find<QCheckBox>("NoOffcuts");
    QTest::mouseClick(scrap, Qt::LeftButton);
    ASSERT_TRUE(form.Document().Input().Allowances.NoOffcuts);
    EXPECT_FALSE(d.Find<QLineEdit>("OffcutEdit")->isEnabled());
    EXPECT_EQ(undo->text(), "&Undo Scrap All Waste");
    undo->trigger();
    EXPECT_FALSE(form.Document().Input().Allowances.NoOffcuts);
    EXPECT_FALSE(scrap->isChecked());
    EXPECT_TRUE(d.Find<QLineEdit>("OffcutEdit")->isEnabled());

    auto* customer = d.Find<QLineEdit>("CustomerEdit");
    customer->setFocus();
    QTest::keyClicks(customer, "Acme");
    auto* weight = d.Find<QLineEdit>("WeightEdit");
    weight->setFocus();
    QTest::keyClicks(weight, "12.5");
    EXPECT_EQ(undo->text(), "&Undo Weight");
    undo->trigger();
    EXPECT_EQ(form.Document().Input().Section.Weight, 0.0);
    EXPECT_EQ(undo->text(), "&Undo Customer");
    undo->trigger();
    EXPECT_EQ(form.Document().Input().Section.Customer, "");
    EXPECT_EQ(customer->text(), "");
    redo->trigger();
    EXPECT_EQ(customer->text(), "Acme");
    EXPECT_EQ(form.Document().Input().Section.Customer, "Acme");

    QTest::mouseClick(d.Find<QRadioButton>("RadioButton2"), Qt::LeftButton);
    ASSERT_EQ(form.Document().Input().Section.CostType, "Metre");
    EXPECT_EQ(undo->text(), "&Undo Price Basis");
    undo->trigger();
    EXPECT_EQ(form.Document().Input().Section.CostType, "Tonne");
    EXPECT_TRUE(d.Find<QRadioButton>("RadioButton1")->isChecked());
    redo->trigger();
    EXPECT_TRUE(d.Find<QRadioButton>("RadioButton2")->isChecked());
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
    ASSERT_FALSE(form.JobModified());

    auto* print = d.Find<QAction>("Print");
    d.AddCut("2", "700");
    const bool editedValid = form.ResultsValid();
    const bool editedPrint = print->isEnabled();
    EXPECT_TRUE(form.JobModified());
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
}

TEST(UndoRedo, NewAndOpenClearTheHistory) {
    Desktop d;
    MainWindow& form = d.Start();
    auto* undo = d.Find<QAction>("Undo");
    d.AddStock("*", "6000");
    d.AddCut("3", "1500");
    const std::string path = d.temp.File("kept.tlf");
    d.dialogs.saveFiles = {path};
    form.saveJobAs();
    ASSERT_TRUE(undo->isEnabled());
    d.Find<QAction>("New")->trigger();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(form.History().count(), 0);

    d.AddCut("1", "100");
    ASSERT_TRUE(undo->isEnabled());
    d.dialogs.answers = {MessageAnswer::No};
    d.dialogs.openFiles = {path};
    form.openJob();
    ASSERT_EQ(form.Document().Input().CutRows, (Rows{{"3", "1500"}}));
    EXPECT_EQ(form.History().count(), 0);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(d.Find<QAction>("Redo")->isEnabled());
}

}  // namespace
}  // namespace tallora
