// The desktop never loses or damages the user's work: files that are not jobs, what counts as a
// change, the keyboard, a weight that does not read, reports, and cancelled calculations.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include "gui/DesktopTestSupport.h"
#include "gui/ProgressWindow.h"
#include "gui/costing/CostingWindow.h"
#include "storage/JobFile.h"
#include "support/TestJob.h"

namespace tallora {
namespace {

using testing::Desktop;
constexpr auto User = RegistryRoot::CurrentUser;

TEST(WorkSafety, AFileThatIsNotAJobNeverBecomesTheJobsFile) {
    Desktop d;
    MainWindow& form = d.Start();
    const std::string notes = d.temp.File("notes.txt");
    testing::WriteBytes(notes, "Buy more 6 m bars\r\n");
    const auto lastDir = d.store.ReadString(User, MainKey, "LastDir");
    d.dialogs.openFiles = {notes};
    form.openJob();
    EXPECT_EQ(d.Said(), NotADataFileMessage);
    EXPECT_EQ(form.windowTitle(), "Tallora: [untitled]");
    EXPECT_TRUE(form.Recent().Paths().empty());
    EXPECT_EQ(d.store.ReadString(User, MainKey, "LastDir"), lastDir);

    // The next save asks where to write; the notes are never overwritten.
    d.AddStock("*", "6000");
    form.saveJob();
    ASSERT_EQ(d.dialogs.fileDialogs.size(), 2u);
    EXPECT_EQ(d.dialogs.fileDialogs.back().Title, "Save Tallora Datafile");
    EXPECT_EQ(testing::ReadBytes(notes), "Buy more 6 m bars\r\n");

    Desktop again;  // named on the command line it is the same
    again.Start(QString::fromStdString(notes));
    EXPECT_EQ(again.form->CurrentFileName(), "");
}

TEST(WorkSafety, EveryEditOfTheJobIsAChangeButWhatTheProgramSetsIsNot) {
    const std::vector<std::pair<const char*, std::function<void(Desktop&)>>> edits = {
        {"customer", [](Desktop& d) { d.Type("CustomerEdit", "Acme"); }},
        {"section", [](Desktop& d) { d.Type("SectionEdit", "RHS"); }},
        {"weight", [](Desktop& d) { d.Type("WeightEdit", "5"); }},
        {"per metre", [](Desktop& d) { d.Click("RadioButton2"); }},
        {"kerf", [](Desktop& d) { d.Type("KerfEdit", "4"); }},
        {"hold spin",
         [](Desktop& d) {
             QTest::mouseClick(d.Find<QWidget>("HoldSpin")->findChildren<QToolButton*>()[0],
                               Qt::LeftButton);
         }},
        {"scrap all", [](Desktop& d) { d.Find<QCheckBox>("NoOffcuts")->click(); }},
        {"charge",
         [](Desktop& d) {
             QTimer::singleShot(0, [&d] {
                 CostingWindow* costing = d.form->Costing();
                 auto* edit = costing->findChild<QLineEdit*>("CCutEdit");
                 edit->setFocus();
                 QTest::keyClicks(edit, "12");
                 costing->close();
             });
             d.form->showCosting();
         }},
    };
    for (const auto& [name, change] : edits) {
        Desktop d;
        d.Start();
        change(d);
        EXPECT_TRUE(d.form->JobModified()) << name;
        // Exit now asks, so the edit cannot be lost.
        d.dialogs.answers = {MessageAnswer::Cancel};
        d.form->exitProgram();
        EXPECT_EQ(d.quits, 0) << name;
    }
    // Reading a file and New set every field without making a change.
    Desktop d;
    MainWindow& form = d.Start();
    EXPECT_FALSE(form.JobModified());
    EXPECT_FALSE(d.Find<QAction>("Save")->isEnabled());
    const std::string path = d.temp.File("job.tlf");
    TestJob job;
    job.Input.Allowances.Hold = 50;
    job.Input.Section = {"Acme", "J-2", "RHS", 12.5, 300, "Metre"};
    ASSERT_EQ(SaveFile(path, job.Input, job.Result, Statistics{}), "");
    d.dialogs.openFiles = {path};
    form.openJob();
    EXPECT_EQ(d.Text("HoldEdit"), "50mm");  // the Hold came with the job
    EXPECT_FALSE(form.JobModified());
    form.newJob();
    EXPECT_FALSE(form.JobModified());
}

TEST(WorkSafety, TheKeyboardStaysWhereTheUserWasAndEveryValueShowsWhole) {
    Desktop d;
    MainWindow& form = d.Start();
    for (const char* button : {"NewButton", "OpenButton", "SaveButton", "CalculateButton",
                               "PrintPDFButton", "DiagramButton", "CostingButton", "CloseButton"})
        EXPECT_EQ(d.Find<QToolButton>(button)->focusPolicy(), Qt::NoFocus) << button;
    for (const char* name : {"KerfEdit", "TrimEdit", "HoldEdit", "OffcutEdit"}) {
        auto* edit = d.Find<QLineEdit>(name);
        // The text, the edit's own margins and frame of 2 each side.
        EXPECT_GE(edit->width(), edit->fontMetrics().horizontalAdvance("18300mm") + 8) << name;
        EXPECT_LE(edit->geometry().right(), d.Find<QWidget>("OffcutSpin")->geometry().left());
    }
    d.AddStock("*", "6000");
    for (int i = 1; i <= 30; ++i) d.AddCut("1", QString::number(100 * i));
    auto* weight = d.Find<QLineEdit>("WeightEdit");
    weight->setFocus();
    d.Click("CalculateButton");
    testing::WaitForCalculation(form);
    ASSERT_TRUE(form.ResultsValid());
    EXPECT_EQ(form.focusWidget(), weight);
    // Space goes to the field, never to New.
    QTest::keyClick(form.focusWidget(), Qt::Key_Space);
    EXPECT_EQ(form.Document().Input().CutRows.size(), 30u);

    // The list shows the row added last, and the quantity stays in view.
    auto* list = d.Find<QTreeView>("CListView");
    const QModelIndex last = list->model()->index(29, 1);
    EXPECT_TRUE(list->viewport()->rect().intersects(list->visualRect(last)));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(last).center());
    EXPECT_EQ(list->horizontalScrollBar()->value(), 0);
    EXPECT_LE(list->header()->sectionSize(0) + list->header()->sectionSize(1),
              list->viewport()->width());
}

// Which texts are figures is the entry's rule (SectionFields); here, the mark, the message and
// that the last value that read is kept, never zero.
TEST(WorkSafety, AWeightThatIsNotANumberIsMarkedAndNeverUsedAsZero) {
    Desktop d;
    MainWindow& form = d.Start();
    auto* weight = d.Find<QLineEdit>("WeightEdit");
    weight->setText("10");
    weight->setText("1.2.3");
    EXPECT_FALSE(weight->styleSheet().isEmpty());
    EXPECT_TRUE(form.StatusText(2).contains("\"1.2.3\" is not a number"));
    EXPECT_EQ(form.Document().Input().Section.Weight, 10.0);
    d.AddStock("*", "6000");
    d.AddCut("3", "1500");
    testing::CalculateAndWait(form);
    EXPECT_FALSE(form.ResultsValid());
    EXPECT_TRUE(d.SaidPart("Please correct it before calculating.")) << d.Said();
    EXPECT_EQ(form.focusWidget(), weight);
    weight->setText("1.23");
    EXPECT_TRUE(weight->styleSheet().isEmpty());
    EXPECT_EQ(form.StatusText(2), "");
}

// Print PDF writes numbered reports that closing deletes; when no program can show one the user
// is told where it is, and an exported copy is kept.
TEST(WorkSafety, ReportsThatNoProgramCanShowAreSaidAndAnExportedCopyIsKept) {
    Desktop d;
    MainWindow& form = d.Start();
    d.Calculated();
    form.printReport();
    d.openWorks = false;
    form.printReport();
    ASSERT_EQ(d.opened.size(), 2u);
    EXPECT_EQ(d.opened[0].toStdString(), d.DataDir() + "/~Tallora1.pdf");
    EXPECT_EQ(d.opened[1].toStdString(), d.DataDir() + "/~Tallora2.pdf");
    EXPECT_EQ(testing::ReadBytes(d.opened[0].toStdString()).rfind("%PDF", 0), 0u);
    EXPECT_TRUE(d.SaidPart(d.opened[1].toStdString()));
    EXPECT_TRUE(d.SaidPart("no program could be started"));
    form.showHelp();
    EXPECT_TRUE(d.SaidPart("help pages are in"));

    const std::string kept = d.temp.File("beam report.pdf");
    d.dialogs.saveFiles = {kept};
    d.Find<QAction>("ExportPdf")->trigger();
    EXPECT_EQ(d.dialogs.fileDialogs.back().Title, "Export PDF");
    // A close the save prompt cancels keeps the reports; the close that happens removes them.
    d.AddCut("1", "500");
    d.dialogs.answers = {MessageAnswer::Cancel};
    form.close();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(std::filesystem::exists(d.opened[0].toStdString()));
    d.dialogs.answers = {MessageAnswer::No};
    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(testing::ReadBytes(kept).rfind("%PDF", 0), 0u);
    for (int i = 0; i < 2; ++i) EXPECT_FALSE(std::filesystem::exists(d.opened[i].toStdString()));
}

// When to offer Fast and which stock is too short are the use case's rules (Calculate.Offers...);
// here, a refusal and the question are shown, a Cancel while the question is up leaves the results
// as they were, Yes switches the menu, and a window closed while it runs asks nothing more.
TEST(WorkSafety, ACancelledCalculationLeavesTheResultsAsTheyWere) {
    Desktop d;
    MainWindow& form = d.Start();
    // No title bar of the window manager's, so no buttons on it; the caption is its own.
    EXPECT_TRUE(form.Progress()->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.Progress()->findChild<QLabel*>("Caption")->text(), "Calculation Progress");
    d.AddStock("*", "6000");
    d.AddCut("1", "7000");
    testing::CalculateAndWait(form);
    EXPECT_TRUE(d.SaidPart("not entered a stock length long enough")) << d.Said();
    EXPECT_TRUE(form.isEnabled());
    EXPECT_FALSE(form.ResultsValid());
    d.Find<QAction>("Undo")->trigger();
    d.Calculated();
    const auto patterns = form.Document().Result().Patterns;
    const QString memo = d.Find<QPlainTextEdit>("CuttingList")->toPlainText();
    const QString used = d.Text("m1");

    // Cancel while the Fast question is up: the calculation stops at its first check.
    for (int i = 1; i <= 41; ++i) d.AddCut("1", QString::number(10 * i - 3));
    d.dialogs.watch = [&](const std::string&) { form.Progress()->CancelButton()->click(); };
    testing::CalculateAndWait(form);
    EXPECT_EQ(form.StatusText(2), CancelledText);
    EXPECT_TRUE(form.ResultsValid());
    EXPECT_EQ(form.Document().Result().Patterns, patterns);
    EXPECT_EQ(d.Find<QPlainTextEdit>("CuttingList")->toPlainText(), memo);
    EXPECT_EQ(d.Text("m1"), used);
    EXPECT_TRUE(form.isEnabled());
    EXPECT_FALSE(form.Progress()->isVisible());

    d.dialogs.watch = nullptr;
    d.dialogs.answers = {MessageAnswer::Yes};
    testing::CalculateAndWait(form);
    EXPECT_TRUE(d.SaidPart("switch to the potentially less accurate Fast")) << d.Said();
    EXPECT_TRUE(d.Find<QAction>("Fast")->isChecked());
    EXPECT_FALSE(d.Find<QAction>("Complex")->isChecked());
    d.Find<QAction>("Complex")->trigger();
    d.dialogs.messages.clear();
    form.calculate();
    EXPECT_EQ(d.dialogs.messages.size(), 1u);
    EXPECT_TRUE(form.Calculating());
    d.form.reset();  // never hangs, and asks nothing more
    EXPECT_EQ(d.dialogs.messages.size(), 1u);
}

}  // namespace
}  // namespace tallora
