#include <gtest/gtest.h>

#include <QMenu>
#include <QPlainTextEdit>
#include <QToolButton>

#include "commands/OpenJob.h"
#include "gui/DesktopTestSupport.h"
#include "storage/JobFile.h"
#include "support/TestJob.h"

namespace tallora {
namespace {

using testing::Desktop;
constexpr auto User = RegistryRoot::CurrentUser;

// New, Open and Exit ask to save a changed job by its name: Cancel keeps it, No lets it go, and
// Yes on an untitled job is Save As. Which files Reopen lists is the storage's rule
// (RecentFilesTest); here, a job comes back from it exactly as saved.
TEST(DocumentCommands, TheSavePromptNamesTheJobAndCancelKeepsIt) {
    Desktop d;
    MainWindow& form = d.Start();
    d.Find<QLineEdit>("CustomerEdit")->setText("Acme Steel");
    d.Calculated({{"4", "1450"}, {"3", "2100"}});
    d.dialogs.saveFiles = {d.temp.File("Beam.run.tlf")};
    form.saveJobAs();
    EXPECT_EQ(form.windowTitle(), "Tallora: [Beam]");
    const JobInput saved = form.Document().Input();
    const QString memo = d.Find<QPlainTextEdit>("CuttingList")->toPlainText();
    const QString used = d.Text("m1");

    d.AddCut("1", "500");
    d.dialogs.answers = {MessageAnswer::Cancel, MessageAnswer::Cancel};
    EXPECT_FALSE(form.newJob());
    EXPECT_EQ(d.Said(), "Save changes to Beam ?");
    form.exitProgram();
    EXPECT_EQ(d.Said(), "Save changes to Beam.run.tlf ?");
    EXPECT_EQ(d.quits, 0);
    EXPECT_EQ(form.Document().Input().CutRows.size(), 3u);
    d.dialogs.answers = {MessageAnswer::No};
    EXPECT_TRUE(form.newJob());
    EXPECT_TRUE(form.Document().Input().CutRows.empty());

    form.ReopenMenu()->actions().at(0)->trigger();
    EXPECT_EQ(form.Document().Input(), saved);
    EXPECT_EQ(d.Find<QPlainTextEdit>("CuttingList")->toPlainText(), memo);
    EXPECT_EQ(d.Text("m1"), used);
    EXPECT_EQ(d.Text("CustomerEdit"), "Acme Steel");
    EXPECT_FALSE(form.JobModified());

    // Save on an untitled job is Save As; a write that fails keeps the changes and no name.
    form.newJob();
    d.AddStock("*", "6000");
    d.dialogs.saveFiles = {d.temp.File("no/such/folder/job.tlf")};
    form.saveJob();
    EXPECT_EQ(d.dialogs.fileDialogs.back().Title, "Save Tallora Datafile");
    EXPECT_TRUE(d.dialogs.fileDialogs.back().ConfirmOverwrite);
    EXPECT_TRUE(form.JobModified());
    EXPECT_EQ(form.CurrentFileName(), "");
    EXPECT_FALSE(d.Said().empty());
    // Exit asks once; Yes leads to Save As, and cancelling that still ends the program.
    d.dialogs.answers = {MessageAnswer::Yes};
    form.exitProgram();
    EXPECT_EQ(d.Said(), "Save changes to untitled ?");
    EXPECT_EQ(d.quits, 1);
    EXPECT_FALSE(form.isVisible());
}

// What the autosave keeps and when it offers it are the storage's and the use case's rules
// (AutoSaveTest, AutoRecover); here, the offer over the shown window at the next start, before a
// file named on the command line, and gone at a normal end.
TEST(DocumentCommands, RecoveryAfterAnAbnormalEnd) {
    Desktop first;
    first.Start();
    first.AddStock("5", "6000");
    first.AddCut("2", "1200");
    first.Find<QLineEdit>("KerfEdit")->setText("4");
    testing::CalculateAndWait(*first.form);  // autosaves; the program then "crashes"
    const std::string other = first.temp.File("other.tlf");
    TestJob job;
    job.Input.StockRows = {{"*", "12000"}};
    ASSERT_EQ(SaveFile(other, job.Input, job.Result, Statistics{}), "");

    Desktop no;  // declined, the file named is read
    no.store = first.store;
    no.dialogs.answers = {MessageAnswer::No};
    EXPECT_EQ(no.Start(QString::fromStdString(other)).Document().Input().StockRows,
              job.Input.StockRows);
    EXPECT_EQ(no.Said(), RecoverQuestion);
    EXPECT_EQ(no.form->windowTitle(), "Tallora: [other]");

    Desktop yes;
    yes.store = first.store;
    yes.dialogs.answers = {MessageAnswer::Yes};
    std::vector<bool> shown;
    yes.dialogs.watch = [&](const std::string&) { shown.push_back(yes.form->isVisible()); };
    MainWindow& form = yes.Start(QString::fromStdString(other));
    EXPECT_EQ(shown, std::vector<bool>{true});
    EXPECT_EQ(form.Document().Input().StockRows, (std::vector<ListRow>{{"5", "6000"}}));
    EXPECT_EQ(yes.Text("KerfEdit"), "4mm");
    EXPECT_EQ(form.windowTitle(), "Tallora: [untitled]");
    EXPECT_FALSE(form.JobModified());
    EXPECT_FALSE(form.ResultsValid());

    form.close();  // a normal end
    EXPECT_FALSE(yes.store.KeyExists(User, AutoSaveKey));
}

// A file named on the command line that is not there is said, and the job stays untitled; Exit
// leaves the numbered reports in the data folder (closing deletes them:
// WorkSafety.ReportsThatNoProgramCanShowAreSaidAndAnExportedCopyIsKept).
TEST(DocumentCommands, AMissingFileOnTheCommandLineAndTheReportsAtExit) {
    Desktop d;
    const std::string missing = d.temp.File("missing.tlf");
    MainWindow& form = d.Start(QString::fromStdString(missing));
    EXPECT_TRUE(d.SaidPart(missing)) << d.Said();
    EXPECT_EQ(form.windowTitle(), "Tallora: [untitled]");
    const std::string report = d.DataDir() + "/~Tallora1.pdf";
    testing::WriteBytes(report, "%PDF");
    form.exitProgram();
    EXPECT_EQ(d.quits, 1);
    EXPECT_TRUE(std::filesystem::exists(report));
}

}  // namespace
}  // namespace tallora
