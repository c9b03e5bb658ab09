#include <gtest/gtest.h>

#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolButton>
#include <cerrno>
#include <cstring>

#include "commands/OpenJob.h"
#include "gui/DesktopTestSupport.h"
#include "gui/QtDialogs.h"
#include "storage/AutoSave.h"
#include "storage/JobFile.h"
#include "support/TestJob.h"

namespace tallora {
namespace {

using testing::Desktop;
constexpr auto User = RegistryRoot::CurrentUser;

// A calculated, named job on disk.
std::string SavedJob(Desktop& d, const std::string& name) {
    MainWindow& form = *d.form;
    d.AddStock("*", "6000");
    d.AddCut("4", "1450");
    d.AddCut("3", "2100");
    d.Find<QLineEdit>("CustomerEdit")->setText("Acme Steel");
    testing::CalculateAndWait(form);
    const std::string path = d.temp.File(name);
    d.dialogs.saveFiles = {path};
    form.saveJobAs();
    return path;
}

TEST(DocumentCommands, CaptionsAndTheSavePromptsNames) {
    Desktop d;
    MainWindow& form = d.Start();
    const std::string path = SavedJob(d, "Beam.run.tlf");
    EXPECT_EQ(form.windowTitle(), "Tallora: [Beam]");
    EXPECT_FALSE(form.JobModified());

    d.AddCut("1", "500");
    d.dialogs.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(form.newJob());
    EXPECT_EQ(d.dialogs.messages.back(), "Save changes to Beam ?");
    EXPECT_EQ(form.Document().Input().CutRows.size(), 3u);  // Cancel leaves everything as it was

    d.dialogs.answers = {MessageAnswer::Cancel};
    form.exitProgram();
    EXPECT_EQ(d.dialogs.messages.back(), "Save changes to Beam.run.tlf ?");
    EXPECT_EQ(d.quits, 0);

    d.dialogs.answers = {MessageAnswer::No};
    EXPECT_TRUE(form.newJob());
    EXPECT_EQ(form.windowTitle(), "Tallora: [untitled]");
    EXPECT_TRUE(form.Document().Input().CutRows.empty());
    EXPECT_EQ(d.Text("m1"), "0.000m");

    d.AddCut("1", "500");
    d.dialogs.answers = {MessageAnswer::Cancel, MessageAnswer::Cancel};
    form.exitProgram();
    EXPECT_EQ(d.dialogs.messages.back(), "Save changes to untitled ?");
    form.newJob();
    EXPECT_EQ(d.dialogs.messages.back(), "Save changes to untitled ?");
    (void)path;
}

TEST(DocumentCommands, AJobSavedBeforeItWasCalculatedOpensWithoutResults) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddStock("*", "6000");
    d.AddCut("4", "1450");
    const std::string path = d.temp.File("uncalculated.tlf");
    d.dialogs.saveFiles = {path};
    form.saveJobAs();
    form.newJob();
    d.dialogs.openFiles = {path};
    form.openJob();
    EXPECT_EQ(form.Document().Input().CutRows.size(), 1u);
    EXPECT_FALSE(form.ResultsValid());
    // As in the window that saved it: only Calculate and the saves.
    for (const char* command : {"Print", "Diagram", "Costing", "BookOffcuts", "ExportCuttingList"})
        EXPECT_FALSE(d.Find<QAction>(command)->isEnabled()) << command;
    EXPECT_TRUE(d.Find<QAction>("Calculate")->isEnabled());
    EXPECT_TRUE(d.Find<QAction>("SaveAs")->isEnabled());
    testing::CalculateAndWait(form);
    EXPECT_TRUE(d.Find<QAction>("Print")->isEnabled());
}

TEST(DocumentCommands, SaveOnAnUntitledJobIsSaveAsAndCancelKeepsTheChanges) {
    Desktop d;
    MainWindow& form = d.Start();
    d.AddStock("*", "6000");
    form.saveJob();  // the save dialog, cancelled
    ASSERT_EQ(d.dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(d.dialogs.fileDialogs[0].Title, "Save Tallora Datafile");
    EXPECT_EQ(d.dialogs.fileDialogs[0].DefaultExtension, "tlf");
    EXPECT_TRUE(d.dialogs.fileDialogs[0].ConfirmOverwrite);
    EXPECT_EQ(d.dialogs.fileDialogs[0].InitialFolder, d.DataDir());
    EXPECT_TRUE(form.JobModified());

    // Yes in Exit's prompt leads to Save As; cancelling it still ends the program.
    d.dialogs.answers = {MessageAnswer::Yes};
    form.exitProgram();
    EXPECT_EQ(d.quits, 1);
    EXPECT_EQ(d.store.ReadString(User, MainKey, "LastDir"), "");

    // A write that fails keeps the name and the changes.
    d.dialogs.saveFiles = {d.temp.File("no/such/folder/job.tlf")};
    form.saveJobAs();
    EXPECT_TRUE(form.JobModified());
    EXPECT_EQ(form.CurrentFileName(), "");
    EXPECT_FALSE(d.dialogs.messages.back().empty());
}

TEST(DocumentCommands, AJobReopenedIsShownExactlyAsSaved) {
    Desktop d;
    MainWindow& form = d.Start();
    const std::string path = SavedJob(d, "frame.tlf");
    const QString memo = d.Find<QPlainTextEdit>("CuttingList")->toPlainText();
    const QString used = d.Text("m1");
    const auto rows = form.Document().Input().CutRows;
    EXPECT_EQ(form.Recent().Paths(), std::vector<std::string>{path});
    EXPECT_EQ(d.store.ReadString(User, MainKey, "LastDir"), d.temp.Path().string() + "/");

    form.newJob();
    ASSERT_EQ(form.ReopenMenu()->actions().size(), 1);
    EXPECT_EQ(form.ReopenMenu()->actions()[0]->text().toStdString(), "&1 " + path);
    form.ReopenMenu()->actions()[0]->trigger();
    EXPECT_EQ(form.CurrentFileName().toStdString(), path);
    EXPECT_EQ(form.windowTitle(), "Tallora: [frame]");
    EXPECT_EQ(form.Document().Input().CutRows, rows);
    EXPECT_EQ(d.Find<QPlainTextEdit>("CuttingList")->toPlainText(), memo);
    EXPECT_EQ(d.Text("m1"), used);
    EXPECT_EQ(d.Text("CustomerEdit"), "Acme Steel");
    EXPECT_TRUE(form.ResultsValid());
    EXPECT_TRUE(d.Find<QToolButton>("PrintPDFButton")->isEnabled());
    EXPECT_FALSE(form.JobModified());

    // A file that has gone is removed from the list with a warning.
    std::filesystem::remove(path);
    form.ReopenMenu()->actions()[0]->trigger();
    EXPECT_EQ(
        d.dialogs.messages.back(),
        "That file could no longer be found and has been removed from the Reopen list:\r\n" + path);
    ASSERT_EQ(form.ReopenMenu()->actions().size(), 1);
    EXPECT_EQ(form.ReopenMenu()->actions()[0]->text(), "(Empty)");
    EXPECT_FALSE(form.ReopenMenu()->actions()[0]->isEnabled());
}

TEST(DocumentCommands, OpeningNineFilesLeavesEight) {
    Desktop d;
    MainWindow& form = d.Start();
    for (int i = 1; i <= 9; ++i) {
        const std::string path = d.temp.File("job" + std::to_string(i) + ".tlf");
        ASSERT_EQ(SaveFile(path, JobInput{}, CalculationResult{}, Statistics{}), "");
        d.dialogs.openFiles = {path};
        form.openJob();
    }
    const auto entries = form.ReopenMenu()->actions();
    ASSERT_EQ(entries.size(), 8);
    EXPECT_EQ(entries[0]->text().toStdString(), "&1 " + d.temp.File("job9.tlf"));
    EXPECT_EQ(entries[7]->text().toStdString(), "&8 " + d.temp.File("job2.tlf"));

    // Cancelling the open dialog leaves the job on screen, untitled and unchanged.
    d.AddStock("3", "4000");
    d.dialogs.answers = {MessageAnswer::No};
    form.openJob();
    EXPECT_EQ(form.CurrentFileName(), "");
    EXPECT_FALSE(form.JobModified());
    EXPECT_EQ(form.Document().Input().StockRows.size(), 1u);

    // A file that cannot be read: the job stays cleared and untitled.
    d.dialogs.openFiles = {d.temp.File("nothing.tlf")};
    form.openJob();
    EXPECT_EQ(form.windowTitle(), "Tallora: [untitled]");
    EXPECT_TRUE(form.Document().Input().StockRows.empty());
}

TEST(DocumentCommands, RecoveryAfterAnAbnormalEnd) {
    Desktop first;
    first.Start();
    first.AddStock("5", "6000");
    first.AddCut("2", "1200");
    first.Find<QLineEdit>("KerfEdit")->setText("4");
    testing::CalculateAndWait(*first.form);  // autosaves; the program then "crashes"
    ASSERT_TRUE(first.store.KeyExists(User, AutoSaveKey));

    Desktop second;
    second.store = first.store;
    second.dialogs.answers = {MessageAnswer::No};
    second.Start();
    EXPECT_EQ(second.dialogs.messages.back(), RecoverQuestion);
    EXPECT_TRUE(second.form->Document().Input().StockRows.empty());

    Desktop third;
    third.store = second.store;  // declining keeps the offer for the next start
    third.dialogs.answers = {MessageAnswer::Yes};
    MainWindow& form = third.Start();
    EXPECT_EQ(form.Document().Input().StockRows, (std::vector<ListRow>{{"5", "6000"}}));
    EXPECT_EQ(third.Text("KerfEdit"), "4mm");
    EXPECT_TRUE(third.Find<QToolButton>("CalculateButton")->isEnabled());
    EXPECT_EQ(form.windowTitle(), "Tallora: [untitled]");
    EXPECT_FALSE(form.JobModified());
    EXPECT_FALSE(form.ResultsValid());

    form.close();  // a normal end
    EXPECT_FALSE(third.store.KeyExists(User, AutoSaveKey));
}

TEST(DocumentCommands, CommandLineFilesOldFormatsAndTheReports) {
    Desktop d;
    const std::string missing = d.temp.File("missing.tlf");
    MainWindow& form = d.Start(QString::fromStdString(missing));
    EXPECT_EQ(d.dialogs.messages.front(),
              "Error opening file.\r\n" + missing + ": " + std::strerror(ENOENT));
    EXPECT_EQ(form.windowTitle(), "Tallora: [untitled]");

    const std::string old = d.temp.File("old.tlf");
    testing::WriteBytes(
        old,
        testing::CrLf({"Tallora Datafile", "// Stock length data", "ANY @ 6000",
                       "// Cut length data", "3 @ 1500", "// Output", "// Customer name", "Acme",
                       "// List reference", "", "// Section name", "", "// Section weight kg/m",
                       "0", "// Section cost", "0", "// Cost type", "Tonne"}));
    d.dialogs.openFiles = {old};
    form.openJob();
    testing::WaitForCalculation(form);
    EXPECT_TRUE(form.ResultsValid());
    EXPECT_EQ(form.Document().Input().StockRows.front().Quantity, "ANY");
    EXPECT_EQ(testing::ReadBytes(old).rfind("TA DataFile\r\n", 0), 0u);
    EXPECT_EQ(d.dialogs.messages.back(), "File has now been converted to the new format.");

    // Exit leaves the numbered reports in the data folder.
    const std::string report = d.DataDir() + "/~Tallora1.pdf";
    testing::WriteBytes(report, "%PDF");
    form.exitProgram();
    EXPECT_EQ(d.quits, 1);
    EXPECT_TRUE(std::filesystem::exists(report));

    // Closing deletes them: OutputWindows.PrintPdfWritesNumberedReportsThatCloseDeletes.
}

TEST(DocumentCommands, MessageBoxesSitOverTheMiddleOfTheirWindowEvenWhileItIsDisabled) {
    QWidget owner;
    owner.setGeometry(300, 200, 800, 600);
    owner.show();
    QtDialogs dialogs(&owner);
    for (const bool enabled : {true, false}) {
        owner.setEnabled(enabled);  // disabled while a calculation runs
        QPoint centre;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            centre = box->frameGeometry().center();
            box->accept();
        });
        dialogs.ShowMessage(MessageKind::Error, MessageButtons::Ok, "The file could not be read.");
        EXPECT_LE((centre - owner.frameGeometry().center()).manhattanLength(), 40)
            << "enabled " << enabled << ": " << centre.x() << "," << centre.y();
    }
}

TEST(DocumentCommands, FileDialogsOpenAtTheSizeTheUserLastGaveOne) {
    MemoryRegistry store;
    store.CreateKey(User, MainKey);
    const auto answer = [](QSize resizeTo, QSize* seen) {
        QTimer::singleShot(0, [=] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            *seen = dialog->size();
            if (resizeTo.isValid()) dialog->resize(resizeTo);
            dialog->reject();
        });
    };
    QSize first, second, third;
    {
        QtDialogs dialogs(nullptr, &store);
        answer(QSize(720, 480), &first);
        EXPECT_EQ(dialogs.AskOpenFileName({}), std::nullopt);
        answer({}, &second);  // the save dialog too, in the same run
        EXPECT_EQ(dialogs.AskSaveFileName({}), std::nullopt);
    }
    EXPECT_TRUE(first.isValid());
    EXPECT_EQ(second, QSize(720, 480));
    QtDialogs later(nullptr, &store);  // the next run
    answer({}, &third);
    EXPECT_EQ(later.AskOpenFileName({}), std::nullopt);
    EXPECT_EQ(third, QSize(720, 480));
}

}  // namespace
}  // namespace tallora
