// The main window's commands on documents and outputs: New, Open, Save, the recent files, the
// report, the exports, the costing and diagram windows, and the job's units and language.
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "commands/Exports.h"
#include "commands/Inventory.h"
#include "commands/OpenJob.h"
#include "entry/Allowances.h"
#include "entry/UnitChange.h"
#include "gui/CoreTexts.h"
#include "gui/MainWindow.h"

#include "gui/costing/CostingWindow.h"
#include "gui/entry/AdditionalDataPanel.h"
#include "gui/entry/EntryPanel.h"
#include "gui/entry/SettingsPanel.h"
#include "gui/inventory/InventoryWindow.h"
#include "gui/results/DiagramWindow.h"
#include "gui/results/StatisticsPanel.h"
#include "platform/QtPrintEngine.h"
#include "report/PdfReport.h"
#include "storage/RowsFile.h"
#include "storage/TextFile.h"

namespace tallora {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The shop-floor papers' words as the desktop shows its own.
ReportLanguage InUsersLanguage() {
    return [](const std::string& english) { return CoreText(english).toStdString(); };
}

// The name without its folder and everything from its first ".".
QString ShortName(const QString& path) {
    return QFileInfo(path).fileName().section(QLatin1Char('.'), 0, 0);
}

}  // namespace

// ----- New, Open, Save -----

bool MainWindow::savePrompt(bool exitForm) {
    if (!document_->Modified()) return true;
    const QString& file = document_->FileName();
    // A job without a file is "untitled" as the caption names it, whichever command asks.
    QString name = tr("untitled");
    if (!file.isEmpty()) name = exitForm ? QFileInfo(file).fileName() : ShortName(file);
    const MessageAnswer answer = services_.Boxes.ShowMessage(
        exitForm ? MessageKind::Plain : MessageKind::Confirmation, MessageButtons::YesNoCancel,
        tr("Save changes to %1 ?").arg(name).toStdString());
    if (answer == MessageAnswer::Cancel) return false;
    if (answer == MessageAnswer::Yes) {
        if (file.isEmpty())
            saveJobAs();
        else
            saveJob();
    }
    return true;
}

void MainWindow::clearJob() {
    SetUpFirstRun(services_.Store, services_.Shell);
    ReadProgramSettings(services_.Store, document_->Input().Allowances, settings_);
    // The settings' allowances are in the units of new jobs.
    document_->Input().Units = ReadDefaultUnits(services_.Store);
    emptyJob();
}

void MainWindow::emptyJob() {
    // Everything of the last job but its allowances and the charge names.
    JobInput& input = document_->Input();
    JobInput fresh;
    fresh.Units = ReadDefaultUnits(services_.Store);
    fresh.Allowances = ConvertAllowances(input.Allowances, input.Units, fresh.Units);
    fresh.Allowances.NoOffcuts = input.Allowances.NoOffcuts;
    fresh.Costing.OtherName1 = input.Costing.OtherName1;
    fresh.Costing.OtherName2 = input.Costing.OtherName2;
    fresh.Costing.OtherName3 = input.Costing.OtherName3;
    input = std::move(fresh);
    document_->ClearResult();
    showJob();
    stockPanel_->QuantityEdit()->setFocus();
    enableSave(false);
    for (QLabel* panel : statusPanels_) panel->clear();
    summariseInput();
    document_->SetFileName({});
    setCaption();
    showStatistics(Statistics{});
    document_->SetModified(false);
}

bool MainWindow::newJob() {
    if (!savePrompt(false)) return false;
    // A nominal report left in the data folder goes, unless another program holds it.
    const std::filesystem::path pdf =
        std::filesystem::path(DataDirOrDefault(services_.Store, services_.Shell)) / "Tallora.pdf";
    std::error_code ec;
    if (std::filesystem::exists(pdf, ec)) {
        std::FILE* file = std::fopen(pdf.string().c_str(), "r+b");
        if (file == nullptr) {
            showError(std::strerror(errno));
            return false;
        }
        std::fclose(file);
        std::filesystem::remove(pdf, ec);
    }
    clearJob();
    return true;
}

FileDialogOptions MainWindow::dialogOptions(bool save) const {
    FileDialogOptions options;
    options.Title =
        (save ? tr("Save Tallora Datafile") : tr("Open Tallora Datafile")).toStdString();
    options.Filter = tr("Tallora Datafile (*.tlf)|*.tlf|Any file (*.*)|*.*").toStdString();
    options.DefaultExtension = "tlf";
    options.ConfirmOverwrite = save;
    options.InitialFolder = InitialDialogFolder(services_.Store, services_.Shell);
    return options;
}

MainWindow::OpenResult MainWindow::readJobFile(const QString& path, bool commandLine,
                                               const Allowances& inForce,
                                               std::string* systemError) {
    std::string error;
    const auto lines = ReadTextFile(path.toStdString(), error);
    if (!lines) {
        if (!commandLine) showError(error);
        if (systemError != nullptr) *systemError = error;
        return OpenResult::SystemError;
    }
    JobDocument& d = *document_;
    const OpenedJob opened = ReadJobFile(*lines, d.Input(), d.Result());
    // The messages come once the window shows what was read.
    if (opened.Earlier) {
        services_.Boxes.Inform(OldVersionMessage);
        if (*opened.Earlier != OldReadStatus::Read) {
            showJob();
            summariseInput();
            services_.Boxes.Inform(opened.Problem());
            return *opened.Earlier == OldReadStatus::BadFile ? OpenResult::NotAJob
                                                             : OpenResult::Opened;
        }
        convertEarlierFormat(path.toStdString());
        return OpenResult::Opened;
    }
    if (opened.Read.Status == ReadStatus::NotADataFile) {
        services_.Boxes.Inform(opened.Problem());
        return OpenResult::NotAJob;
    }
    showJob();
    costing_->ReloadNames();
    if (opened.Read.Status == ReadStatus::Loaded) {
        d.SetResult(d.Result(), opened.Read.Stats, opened.Read.ResultsValid);
        showStatistics(opened.Read.Stats);
        summariseInput();
        // A job saved before it was calculated has no results to show.
        enableSave(true);
        // Only a file whose allowances differ from those in force before it was opened
        // changes the settings.
        const Allowances& now = d.Input().Allowances;
        if (now.Kerf != inForce.Kerf || now.Trim != inForce.Trim || now.Hold != inForce.Hold ||
            now.Offcut != inForce.Offcut) {
            services_.Boxes.Inform(SettingsChangedMessage);
        }
    }
    if (const std::string problem = opened.Problem(); !problem.empty())
        services_.Boxes.Inform(problem);
    return OpenResult::Opened;
}

void MainWindow::convertEarlierFormat(const std::string& file) {
    // Recalculated as Calculate does, then written again in the current format.
    startCalculation([this, file](const CalculatedJob& job) {
        showJob();
        summariseInput();
        canSave_ = true;
        updateCommands();
        const std::string error = SaveConvertedVersion(
            file, document_->Input(), document_->Result(), job.Stats, services_.Boxes);
        if (!error.empty()) showError(error);
    });
}

bool MainWindow::writeJobFile(const QString& path) {
    const std::string error =
        SaveFile(path.toStdString(), document_->Input(), document_->Result(), document_->Stats());
    if (!error.empty()) {
        showError(error);
        return false;
    }
    return true;
}

void MainWindow::openJob() {
    if (!savePrompt(false)) return;
    document_->SetModified(false);
    document_->SetFileName({});
    if (const auto chosen = services_.Boxes.AskOpenFileName(dialogOptions(false))) {
        if (!openPath(Q(*chosen))) return;
    }
    keepOpened();
}

bool MainWindow::openPath(const QString& path) {
    const Allowances inForce = document_->Input().Allowances;
    clearJob();
    // A file that is not a job never becomes the job's file, the Reopen list's or LastDir.
    if (readJobFile(path, false, inForce) != OpenResult::Opened) {
        setCaption();
        return false;
    }
    document_->SetFileName(path);
    return true;
}

void MainWindow::keepOpened() {
    recent_->Add(document_->FileName().toStdString());
    rebuildReopenMenu();
    setCaption();
    WriteLastDir(services_.Store, document_->FileName().toStdString());
}

// A job file dragged from the file manager opens as File, Open would open it.
QString MainWindow::droppedJob(const QMimeData* data) const {
    if (Calculating() || data == nullptr || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    if (!url.isLocalFile()) return {};
    const QString path = url.toLocalFile();
    return path.endsWith(QStringLiteral(".tlf"), Qt::CaseInsensitive) ? path : QString();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedJob(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = droppedJob(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    // The drag ends before any box is shown.
    QTimer::singleShot(0, this, [this, path] {
        if (!savePrompt(false)) return;
        document_->SetModified(false);
        document_->SetFileName({});
        if (openPath(path)) keepOpened();
    });
}

void MainWindow::saveJob() {
    const QString file = document_->FileName();
    if (file.isEmpty()) {
        saveJobAs();
        return;
    }
    if (!writeJobFile(file)) return;
    setCaption();
    document_->SetModified(false);
    WriteLastDir(services_.Store, file.toStdString());
}

void MainWindow::saveJobAs() {
    bool written = false;
    if (const auto chosen = services_.Boxes.AskSaveFileName(dialogOptions(true))) {
        if (!writeJobFile(Q(*chosen))) return;
        document_->SetFileName(Q(*chosen));
        written = true;
    }
    recent_->Add(document_->FileName().toStdString());
    rebuildReopenMenu();
    setCaption();
    if (written) document_->SetModified(false);
    WriteLastDir(services_.Store, document_->FileName().toStdString());
}

void MainWindow::writeSettings() {
    // The settings keep the allowances in the units of new jobs.
    const JobInput& input = document_->Input();
    WriteProgramSettings(
        services_.Store,
        ConvertAllowances(input.Allowances, input.Units, ReadDefaultUnits(services_.Store)),
        settings_);
    WriteWindowGeometry(services_.Store, "WindowGeometry", saveGeometry().toBase64().toStdString());
}

void MainWindow::exitProgram() {
    writeSettings();
    if (!savePrompt(true)) return;
    // The program ends without the window's close request: no second prompt, and the temporary
    // reports stay.
    exiting_ = true;
    services_.Quit();
}

void MainWindow::closeWindow() { close(); }

void MainWindow::closeEvent(QCloseEvent* event) {
    if (exiting_) {
        event->accept();
        return;
    }
    if (Calculating()) {
        event->ignore();
        return;
    }
    writeSettings();
    if (!savePrompt(true)) {
        event->ignore();
        return;
    }
    // The numbered reports go only once the window really closes: a cancelled close keeps
    // the ones a viewer may still show.
    std::error_code ec;
    const std::filesystem::path folder(reportsFolder().toStdString());
    if (std::filesystem::is_directory(folder, ec)) {
        for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind('~', 0) == 0 && entry.path().extension() == ".pdf") {
                std::filesystem::remove(entry.path(), ec);
            }
        }
    }
    event->accept();
}

QString MainWindow::reportsFolder() const {
    return Q(DataDirOrDefault(services_.Store, services_.Shell));
}

// ----- recent files -----

void MainWindow::rebuildReopenMenu() {
    reopen_->clear();
    for (const ReopenEntry& entry : recent_->MenuEntries()) {
        QAction* action =
            reopen_->addAction(entry.Enabled ? Q(entry.Caption) : CoreText(entry.Caption));
        action->setEnabled(entry.Enabled);
        const int position = entry.Position;
        if (position >= 0)
            connect(action, &QAction::triggered, this,
                    [this, position] { reopenRecent(position); });
    }
}

void MainWindow::reopenRecent(int position) {
    switch (recent_->Check(position)) {
        case RecentFiles::Reopen::Nothing:
            return;
        case RecentFiles::Reopen::Missing:
            services_.Boxes.ShowMessage(MessageKind::Warning, MessageButtons::Ok,
                                        recent_->RemoveMissing(position));
            rebuildReopenMenu();
            return;
        case RecentFiles::Reopen::Open:
            break;
    }
    const QString path = Q(recent_->Paths()[position]);
    const Allowances inForce = document_->Input().Allowances;
    if (!newJob()) return;
    if (readJobFile(path, false, inForce) == OpenResult::Opened) document_->SetFileName(path);
    setCaption();
}

// ----- output windows and files -----

void MainWindow::showDiagram() {
    diagram_->Image()->update();
    if (diagram_->isVisible()) return;
    QWidget* before = QApplication::focusWidget();
    // While the viewer is open, hints show in its own status bar.
    SetHintBar(diagram_->StatusBar());
    diagram_->exec();
    SetHintBar(statusBar());
    restoreFocus(before);
}

void MainWindow::showCosting() {
    QWidget* before = QApplication::focusWidget();
    JobInput& input = document_->Input();
    const SectionData s = input.Section;
    const CostingSettings charges = input.Costing;
    const CostingOutcome back = costing_->Execute(s.Cost, s.Weight, s.CostType, document_->Stats());
    // The window's working copies come back into the main window's fields, as one step.
    restoring_ = true;
    additionalPanel_->SetCostText(Q(back.CostText));
    additionalPanel_->SetCostType(back.CostType);
    additionalPanel_->SetWeightText(Q(back.WeightText));
    restoring_ = false;
    // A text that does not read leaves the job with the value its field last read.
    if (additionalPanel_->PriceProblem().isEmpty()) {
        input.Section.Cost = back.Cost;
        input.Section.Weight = back.Weight;
    }
    recordEdit(tr("Material Costing"));
    if (input.Costing != charges || input.Section != s) onJobEdited();
    if (document_->HasResults()) refreshStatistics();
    restoreFocus(before);
}

void MainWindow::printReport() {
    QtPrintEngine engine;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ReportOutcome outcome = PrintCuttingReport(
        engine, document_->Input(), document_->Result(), statisticsPanel_->Texts(),
        reportsFolder().toStdString(), document_->FileName().toStdString());
    QApplication::restoreOverrideCursor();
    switch (outcome.Status) {
        case ReportOutcome::Result::Saved:
            if (!services_.OpenDocument(PathToQString(outcome.File))) {
                services_.Boxes.ShowMessage(
                    MessageKind::Warning, MessageButtons::Ok,
                    tr("The report was written to\r\n%1\r\nbut no program could be started to "
                       "show it. It is removed when Tallora closes: File, Export PDF... keeps a "
                       "copy where you choose.")
                        .arg(PathToQString(outcome.File))
                        .toStdString());
            }
            break;
        case ReportOutcome::Result::SaveFailed:
            services_.Boxes.Inform(outcome.Message);
            break;
        case ReportOutcome::Result::FileError:
            showError(outcome.Message);
            break;
    }
}

FileDialogOptions MainWindow::exportOptions(const char* title, const char* kind,
                                            const char* extension) const {
    FileDialogOptions options;
    options.Title = tr(title).toStdString();
    options.Filter = tr("%1 file (*.%2)|*.%2|Any file (*.*)|*.*")
                         .arg(QString::fromLatin1(kind), QString::fromLatin1(extension))
                         .toStdString();
    options.DefaultExtension = extension;
    options.ConfirmOverwrite = true;
    options.InitialFolder = InitialDialogFolder(services_.Store, services_.Shell);
    return options;
}

void MainWindow::exportReport() {
    const auto chosen =
        services_.Boxes.AskSaveFileName(exportOptions(QT_TR_NOOP("Export PDF"), "PDF", "pdf"));
    if (!chosen) return;
    QtPrintEngine engine;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool saved = ExportReport(engine, document_->Input(), document_->Result(),
                                    statisticsPanel_->Texts(), *chosen);
    QApplication::restoreOverrideCursor();
    if (!saved) {
        showError(tr("The report could not be written to\r\n%1\r\nThe folder may not exist or may "
                     "not be writable, or another program has the file open.")
                      .arg(Q(*chosen))
                      .toStdString());
    }
}

void MainWindow::printLabels() {
    const auto options = services_.Boxes.AskLabelOptions(labelOptions_);
    if (!options) return;
    labelOptions_ = *options;
    // Offcuts booked to the inventory are labelled with their ids; labels need no inventory.
    std::map<int, long long> offcutIds;
    const std::string inventory = InventoryPath(services_.Store, services_.Shell);
    std::error_code missing;
    if (std::filesystem::exists(inventory, missing)) {
        try {
            const OffcutStore store = OpenInventory(inventory, services_.Shell);
            offcutIds = BookedOffcutIds(store, document_->Input(), document_->Result());
        } catch (const InventoryError&) {
            // A damaged or locked inventory costs the offcut labels their ids, nothing more.
        }
    }
    const std::filesystem::path file =
        NumberedReportFile(std::filesystem::path(reportsFolder().toStdString()));
    QtPrintEngine engine;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::string error = ExportPieceLabels(engine, document_->Input(), document_->Result(),
                                                *options, file, offcutIds, InUsersLanguage());
    QApplication::restoreOverrideCursor();
    if (!error.empty()) {
        showError(tr("The labels could not be written to\r\n%1\r\n%2")
                      .arg(PathToQString(file), CoreText(error))
                      .toStdString());
        return;
    }
    if (!services_.OpenDocument(PathToQString(file))) {
        services_.Boxes.ShowMessage(
            MessageKind::Warning, MessageButtons::Ok,
            tr("The labels were written to\r\n%1\r\nbut no program could be started to show "
               "them.")
                .arg(PathToQString(file))
                .toStdString());
    }
}

void MainWindow::exportSawSheet() {
    FileDialogOptions options = exportOptions(QT_TR_NOOP("Export Saw Sheet"), "PDF", "pdf");
    options.Filter =
        tr("PDF file (*.pdf)|*.pdf|CSV file (*.csv)|*.csv|Any file (*.*)|*.*").toStdString();
    const auto chosen = services_.Boxes.AskSaveFileName(options);
    if (!chosen) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::string error;
    if (IsCsvFileName(*chosen)) {
        error = ExportSawSheetCsv(*chosen, document_->Input(), document_->Result());
    } else {
        QtPrintEngine engine;
        if (!ExportSawSheet(engine, document_->Input(), document_->Result(), *chosen,
                            InUsersLanguage()))
            error =
                engine.SaveError().empty() ? "the file could not be written" : engine.SaveError();
    }
    QApplication::restoreOverrideCursor();
    if (!error.empty()) {
        showError(tr("The saw sheet could not be written to\r\n%1\r\n%2")
                      .arg(Q(*chosen), CoreText(error))
                      .toStdString());
    }
}

void MainWindow::importRows() {
    const auto list = services_.Boxes.AskChoice(
        tr("Import Rows").toStdString(),
        tr("Which list should the rows of the file go into?").toStdString(),
        {tr("Stock").toStdString(), tr("Cut").toStdString()});
    if (!list) return;
    FileDialogOptions options;
    options.Title =
        (*list == 0 ? tr("Import Stock Lengths") : tr("Import Cut Lengths")).toStdString();
    options.Filter =
        tr("Rows (*.csv;*.tsv;*.txt)|*.csv;*.tsv;*.txt|CSV file (*.csv)|*.csv|Any file (*.*)|*.*")
            .toStdString();
    options.InitialFolder = InitialDialogFolder(services_.Store, services_.Shell);
    const auto chosen = services_.Boxes.AskOpenFileName(options);
    if (!chosen) return;
    std::string error;
    const auto text = ReadRowsFile(*chosen, error);
    if (!text) {
        showError(error);
        return;
    }
    (*list == 0 ? stockPanel_ : cutPanel_)->ImportRows(Q(*text));
}

void MainWindow::exportCuttingList() {
    const auto chosen = services_.Boxes.AskSaveFileName(
        exportOptions(QT_TR_NOOP("Export Cutting List"), "CSV", "csv"));
    if (!chosen) return;
    const std::string error = ExportCuttingList(*chosen, document_->Input(), document_->Result());
    if (!error.empty()) {
        showError(tr("The cutting list could not be written to\r\n%1\r\n%2")
                      .arg(Q(*chosen), CoreText(error))
                      .toStdString());
    }
}

void MainWindow::showUnits() {
    const QString units = QString::fromStdString(UnitsText(document_->Input().Units));
    const QString newJobs = QString::fromStdString(UnitsText(ReadDefaultUnits(services_.Store)));
    auto check = [](QActionGroup* group, const QString& prefix, const QString& value) {
        for (QAction* a : group->actions()) {
            a->setChecked(a->objectName() == prefix + QString(value).remove(QLatin1Char(' ')));
        }
    };
    check(jobUnits_, QStringLiteral("JobUnits"), units);
    check(newJobUnits_, QStringLiteral("NewJobUnits"), newJobs);
    const QString language = QString::fromStdString(ReadLanguage(services_.Store));
    for (QAction* a : language_->actions()) a->setChecked(a->data().toString() == language);
}

void MainWindow::chooseJobUnits(const JobUnits& units) {
    JobInput& input = document_->Input();
    if (Calculating() || input.Units == units) {
        showUnits();
        return;
    }
    const UnitChange change = ChangeUnits(input, units);
    // The results were of the lengths as they were.
    document_->ClearResult();
    restoring_ = true;
    stockPanel_->Reload();
    cutPanel_->Reload();
    settingsPanel_->Reload();
    additionalPanel_->Reload();
    restoring_ = false;
    cuttingList_->clear();
    showStatistics(Statistics{});
    showUnits();
    summariseInput();
    recordEdit(tr("Units"));
    onJobEdited();
    if (change.LengthMoved) {
        services_.Boxes.ShowMessage(
            MessageKind::Information, MessageButtons::Ok,
            tr("Some lengths were rounded to the nearest %1 in the new units: check the lists "
               "and the settings before you calculate.")
                .arg(units.Imperial() && units.Precision != ImperialPrecision::Decimal
                         ? QString::fromStdString(PrecisionName(units.Precision) + "\"")
                     : units.Imperial() ? tr("1/32 inch")
                                        : tr("millimetre"))
                .toStdString());
    }
}

void MainWindow::chooseNewJobUnits(const JobUnits& units) {
    WriteDefaultUnits(services_.Store, units);
    showUnits();
}

void MainWindow::chooseLanguage(const QString& language) {
    WriteLanguage(services_.Store, language.toStdString());
    showUnits();
    services_.Boxes.ShowMessage(
        MessageKind::Information, MessageButtons::Ok,
        tr("Tallora speaks the language chosen the next time it starts.").toStdString());
}

}  // namespace tallora
