// The desktop never loses or damages the user's work: files that are not jobs, the save prompt,
// what counts as a change, the start-up order, the keyboard, and calculations that are cancelled.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include "commands/Calculate.h"
#include "gui/DesktopTestSupport.h"
#include "gui/ProgressWindow.h"
#include "gui/costing/CostingWindow.h"
#include "storage/JobFile.h"
#include "storage/RecentFiles.h"
#include "support/TestJob.h"

namespace tallora {
namespace {

using testing::Desktop;
constexpr auto User = RegistryRoot::CurrentUser;

int Count(const std::vector<std::string>& texts, const std::string& text) {
    return static_cast<int>(std::count(texts.begin(), texts.end(), text));
}

TEST(WorkSafety, AFileThatIsNotAJobNeverBecomesTheJobsFile) {
    Desktop d;
    MainWindow& form = d.Start();
    const std::string notes = d.temp.File("notes.txt");
    testing::WriteBytes(notes, "Buy more 6 m bars\r\n");
    const auto lastDir = d.store.ReadString(User, MainKey, "LastDir");
    d.dialogs.openFiles = {notes};
    form.openJob();
    EXPECT_EQ(d.dialogs.messages.back(), NotADataFileMessage);
    EXPECT_EQ(form.CurrentFileName(), "");
    EXPECT_EQ(form.windowTitle(), "Tallora: [untitled]");
    EXPECT_TRUE(form.Recent().Paths().empty());
    EXPECT_EQ(d.store.ReadString(User, MainKey, "LastDir"), lastDir);

    // The next save asks where to write; the notes are never overwritten.
    d.AddStock("*", "6000");
    form.saveJob();
    ASSERT_EQ(d.dialogs.fileDialogs.size(), 2u);
    EXPECT_EQ(d.dialogs.fileDialogs.back().Title, "Save Tallora Datafile");
    EXPECT_EQ(testing::ReadBytes(notes), "Buy more 6 m bars\r\n");

    // Named on the command line it is the same.
    Desktop again;
    again.Start(QString::fromStdString(notes));
    EXPECT_EQ(again.form->CurrentFileName(), "");
    EXPECT_EQ(again.form->windowTitle(), "Tallora: [untitled]");
}

TEST(WorkSafety, ExitAsksOnceAndEndsTheProgram) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddCut("2", "1500");
    d.dialogs.answers = {MessageAnswer::No, MessageAnswer::Cancel};
    form.exitProgram();
    EXPECT_EQ(Count(d.dialogs.messages, "Save changes to untitled ?"), 1);
    EXPECT_EQ(d.quits, 1);
    EXPECT_FALSE(form.isVisible());
}

TEST(WorkSafety, EveryEditOfTheJobIsAChangeButWhatTheProgramSetsIsNot) {
    const std::vector<std::pair<const char*, std::function<void(Desktop&)>>> edits = {
        {"customer", [](Desktop& d) { d.Type("CustomerEdit", "Acme"); }},
        {"reference", [](Desktop& d) { d.Type("ReferenceEdit", "J-1"); }},
        {"section", [](Desktop& d) { d.Type("SectionEdit", "RHS"); }},
        {"weight", [](Desktop& d) { d.Type("WeightEdit", "5"); }},
        {"cost", [](Desktop& d) { d.Type("CostEdit", "9"); }},
        {"per metre",
         [](Desktop& d) {
             QTest::mouseClick(d.Find<QRadioButton>("RadioButton2"), Qt::LeftButton);
         }},
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
        EXPECT_FALSE(d.form->JobModified()) << name;
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

TEST(WorkSafety, AnEnteredJobCanBeSavedBeforeItIsCalculated) {
    Desktop d;
    MainWindow& form = d.Start();
    auto* save = d.Find<QAction>("Save");
    EXPECT_FALSE(save->isEnabled());
    d.Type("CustomerEdit", "Acme");
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(d.Find<QToolButton>("SaveButton")->isEnabled());
    d.AddStock("*", "6000");
    d.AddCut("3", "1500");
    const std::string path = d.temp.File("draft.tlf");
    d.dialogs.saveFiles = {path};
    form.saveJobAs();
    EXPECT_FALSE(form.JobModified());

    Desktop reopened;
    MainWindow& back = reopened.Start(QString::fromStdString(path));
    EXPECT_EQ(back.Document().Input().CutRows, (std::vector<ListRow>{{"3", "1500"}}));
    EXPECT_EQ(back.Document().Input().Section.Customer, "Acme");
    EXPECT_EQ(back.Document().Result().PatternCount(), 0);
    EXPECT_FALSE(back.ResultsValid());
    EXPECT_EQ(reopened.Find<QPlainTextEdit>("CuttingList")->toPlainText(), "");
}

TEST(WorkSafety, RecoveryReplacesTheJobAndTheFileIsReadOnlyWhenItIsDeclined) {
    Desktop first;
    first.Start();
    first.AddStock("5", "6000");
    first.AddCut("2", "1200");
    testing::CalculateAndWait(*first.form);  // autosaved; the program then "crashes"
    const std::string path = first.temp.File("other.tlf");
    TestJob other;
    other.Input.StockRows = {{"*", "12000"}};
    other.Input.CutRows = {{"4", "3000"}};
    ASSERT_EQ(SaveFile(path, other.Input, other.Result, Statistics{}), "");

    Desktop yes;
    yes.store = first.store;
    yes.dialogs.answers = {MessageAnswer::Yes};
    std::vector<bool> shown;
    yes.dialogs.watch = [&](const std::string&) { shown.push_back(yes.form->isVisible()); };
    MainWindow& recovered = yes.Start(QString::fromStdString(path));
    EXPECT_EQ(shown, std::vector<bool>{true});  // the offer comes over the main window
    EXPECT_EQ(recovered.Document().Input().StockRows, (std::vector<ListRow>{{"5", "6000"}}));
    EXPECT_EQ(recovered.Document().Input().CutRows, (std::vector<ListRow>{{"2", "1200"}}));
    EXPECT_EQ(recovered.windowTitle(), "Tallora: [untitled]");
    EXPECT_EQ(recovered.StatusText(0), "1 Stock length available");

    Desktop no;
    no.store = first.store;
    no.dialogs.answers = {MessageAnswer::No};
    MainWindow& read = no.Start(QString::fromStdString(path));
    EXPECT_EQ(read.Document().Input().StockRows, other.Input.StockRows);
    EXPECT_EQ(read.windowTitle(), "Tallora: [other]");
}

TEST(WorkSafety, TheKeyboardStaysWhereTheUserWas) {
    Desktop d;
    MainWindow& form = d.Start();
    for (const char* button : {"NewButton", "OpenButton", "SaveButton", "CalculateButton",
                               "PrintPDFButton", "DiagramButton", "CostingButton", "CloseButton"}) {
        EXPECT_EQ(d.Find<QToolButton>(button)->focusPolicy(), Qt::NoFocus) << button;
    }
    d.AddStock("*", "6000");
    d.AddCut("3", "1500");
    auto* weight = d.Find<QLineEdit>("WeightEdit");
    weight->setFocus();
    QTest::mouseClick(d.Find<QToolButton>("CalculateButton"), Qt::LeftButton);
    testing::WaitForCalculation(form);
    ASSERT_TRUE(form.ResultsValid());
    EXPECT_EQ(form.focusWidget(), weight);
    // Space goes to the field, never to New.
    QTest::keyClick(form.focusWidget(), Qt::Key_Space);
    EXPECT_EQ(form.Document().Input().CutRows.size(), 1u);
    EXPECT_TRUE(form.ResultsValid());
}

TEST(WorkSafety, TheListsKeepTheQuantityInViewAndShowTheRowAdded) {
    Desktop d;
    d.Start();
    for (int i = 1; i <= 30; ++i) d.AddCut("1", QString::number(100 * i));
    QApplication::processEvents();
    auto* list = d.Find<QTreeView>("CListView");
    const QModelIndex last = list->model()->index(29, 1);
    EXPECT_TRUE(list->viewport()->rect().intersects(list->visualRect(last)));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(last).center());
    EXPECT_EQ(list->horizontalScrollBar()->value(), 0);
    EXPECT_LE(list->header()->sectionSize(0) + list->header()->sectionSize(1),
              list->viewport()->width());
}

TEST(WorkSafety, EveryAllowanceShowsItsWholeValue) {
    Desktop d;
    d.Start();
    for (const char* name : {"KerfEdit", "TrimEdit", "HoldEdit", "OffcutEdit"}) {
        auto* edit = d.Find<QLineEdit>(name);
        // The text, the edit's own margins and frame of 2 each side.
        EXPECT_GE(edit->width(), edit->fontMetrics().horizontalAdvance("18300mm") + 8) << name;
        EXPECT_LE(edit->geometry().right(), d.Find<QWidget>("OffcutSpin")->geometry().left());
    }
}

TEST(WorkSafety, AWeightThatIsNotANumberIsMarkedAndNeverUsedAsZero) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddStock("*", "6000");
    d.AddCut("3", "1500");
    auto* weight = d.Find<QLineEdit>("WeightEdit");
    weight->setText("10");
    weight->setText("1.2.3");
    EXPECT_FALSE(weight->styleSheet().isEmpty());
    EXPECT_EQ(form.StatusText(2), "Weight (kg/m): \"1.2.3\" is not a number");
    EXPECT_EQ(form.Document().Input().Section.Weight, 10.0);  // the last value that read

    testing::CalculateAndWait(form);
    EXPECT_FALSE(form.ResultsValid());
    EXPECT_EQ(d.dialogs.messages.back(),
              "Weight (kg/m): \"1.2.3\" is not a number.\r\nPlease correct it before calculating.");
    EXPECT_EQ(form.focusWidget(), weight);

    // Which texts are figures is the entry's rule (SectionFields); corrected, the mark goes.
    weight->setText("1.23");
    EXPECT_TRUE(weight->styleSheet().isEmpty());
    EXPECT_EQ(form.StatusText(2), "");
    testing::CalculateAndWait(form);
    EXPECT_TRUE(form.ResultsValid());
    EXPECT_EQ(d.Text("k2"), "5.535kg");  // 4.5 m of pieces at 1.23 kg/m
}

TEST(WorkSafety, AReportThatNoProgramCanShowIsReportedAndExportKeepsACopy) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddStock("*", "6000");
    d.AddCut("3", "1500");
    testing::CalculateAndWait(form);
    d.openWorks = false;
    form.printReport();
    const std::string report = d.DataDir() + "/~Tallora1.pdf";
    EXPECT_NE(d.dialogs.messages.back().find(report), std::string::npos);
    EXPECT_NE(d.dialogs.messages.back().find("no program could be started"), std::string::npos);
    form.showHelp();
    EXPECT_NE(d.dialogs.messages.back().find("help pages are in"), std::string::npos);

    const std::string kept = d.temp.File("beam report.pdf");
    d.dialogs.saveFiles = {kept};
    form.findChild<QAction*>("ExportPdf")->trigger();
    EXPECT_EQ(d.dialogs.fileDialogs.back().Title, "Export PDF");
    EXPECT_EQ(testing::ReadBytes(kept).rfind("%PDF", 0), 0u);
    form.close();
    EXPECT_TRUE(std::filesystem::exists(kept));
    EXPECT_FALSE(std::filesystem::exists(report));
}

TEST(WorkSafety, ACancelledCalculationLeavesTheResultsAsTheyWere) {
    Desktop d;
    MainWindow& form = d.Start();
    // No title bar of the window manager's, so no buttons on it; the caption is its own.
    EXPECT_TRUE(form.Progress()->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.Progress()->findChild<QLabel*>("Caption")->text(), "Calculation Progress");
    d.AddStock("*", "3000");
    d.AddCut("2", "1000");
    testing::CalculateAndWait(form);
    ASSERT_TRUE(form.ResultsValid());
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
}

}  // namespace
}  // namespace tallora
