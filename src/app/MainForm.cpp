#include "app/MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

#include "app/AboutBox.h"
#include "app/ProgressForm.h"
#include "app/QtCalculationHost.h"
#include "costing/qt/CostingForm.h"
#include "report/PdfReport.h"
#include "report/qt/QtPrintEngine.h"
#include "results/qt/ImageForm.h"
#include "entry/qt/AdditionalDataPanel.h"
#include "entry/qt/DesignGeometry.h"
#include "entry/qt/EntryPanel.h"
#include "entry/qt/SettingsPanel.h"
#include "results/CuttingList.h"
#include "results/qt/StatisticsPanel.h"
#include "storage/AutoSave.h"
#include "storage/JobFile.h"
#include "storage/OldVersion.h"
#include "storage/TextFile.h"

namespace tallora {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString FileNamePart(const QString& path) { return Q(tallora::FileNamePart(path.toStdString())); }

// The name without everything from its first ".".
QString ShortName(const QString& path) { return FileNamePart(path).section(QLatin1Char('.'), 0, 0); }

}  // namespace

TMainForm::TMainForm(DesktopServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Tallora"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tallora.svg")));
    recent_ = std::make_unique<RecentFiles>(services_.Store, RegularFileExists);
    host_ = std::make_unique<QtCalculationHost>(*this);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Client"));
    // Group captions sit on the frame's top line, as the panels' positions expect.
    central->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: %1px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: %2px; padding: 0 1px; }").arg(Px(7)).arg(Px(7)));
    central->setFixedSize(Px(929), Px(625));
    setCentralWidget(central);
    CreateMenus();
    CreateToolBar(central);
    CreatePanels(central);

    // The status bar: two panels of 220 and the rest.
    for (int i = 0; i < 3; ++i) {
        statusPanels_[i] = new QLabel(this);
        statusPanels_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        if (i < 2) statusPanels_[i]->setFixedWidth(Px(220));
        statusBar()->addWidget(statusPanels_[i], i == 2 ? 1 : 0);
    }
    hintBar_ = statusBar();
    qApp->installEventFilter(this);

    progress_ = new TProgressForm();
    // The costing window exists before any job file is read: reading sets its charge names.
    costing_ = new TCostingForm(job_, services_.Boxes, services_.Store, services_.Format, this);
    setFixedSize(sizeHint());
    viewer_ = new TImageForm(job_, this);
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
    // The panels view the job's rows: they go before the job does.
    delete takeCentralWidget();
    delete progress_;
}

void TMainForm::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    new_ = file->addAction(QStringLiteral("&New"), this, [this] { ResetClick(); });
    new_->setObjectName(QStringLiteral("New2"));
    new_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    open_ = file->addAction(QStringLiteral("&Open..."), this, &TMainForm::Open1Click);
    open_->setObjectName(QStringLiteral("Open1"));
    open_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    reopen_ = file->addMenu(QStringLiteral("Reopen..."));
    reopen_->setObjectName(QStringLiteral("Reopen1"));
    save_ = file->addAction(QStringLiteral("&Save"), this, &TMainForm::Save1Click);
    save_->setObjectName(QStringLiteral("Save1"));
    save_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    saveAs_ = file->addAction(QStringLiteral("Save &As..."), this, &TMainForm::SaveAs1Click);
    saveAs_->setObjectName(QStringLiteral("SaveAs1"));
    file->addSeparator();
    print_ = file->addAction(QStringLiteral("&Print..."), this, &TMainForm::PrintPDFButtonClick);
    print_->setObjectName(QStringLiteral("Print1"));
    print_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    file->addSeparator();
    exit_ = file->addAction(QStringLiteral("E&xit"), this, &TMainForm::ExitButtonClick);
    exit_->setObjectName(QStringLiteral("Exit1"));
    exit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* algorithm = menuBar()->addMenu(QStringLiteral("&Algorithm"));
    algorithm->setObjectName(QStringLiteral("Algorithm1"));
    auto* group = new QActionGroup(this);
    standard_ = algorithm->addAction(QStringLiteral("Complex"), this, &TMainForm::Standard1Click);
    standard_->setObjectName(QStringLiteral("Standard1"));
    fast_ = algorithm->addAction(QStringLiteral("Fast"), this, &TMainForm::Fast1Click);
    fast_->setObjectName(QStringLiteral("Fast1"));
    for (QAction* a : {standard_, fast_}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    standard_->setChecked(true);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    hintsOff_ = help->addAction(QStringLiteral("&Turn hints off"), this, &TMainForm::HintsOff1Click);
    hintsOff_->setObjectName(QStringLiteral("HintsOff1"));
    contents_ = help->addAction(QStringLiteral("&Contents"), this, &TMainForm::Contents1Click);
    contents_->setObjectName(QStringLiteral("Contents1"));
    contents_->setShortcut(QKeySequence(Qt::Key_F1));
    about_ = help->addAction(QStringLiteral("&About"), this, &TMainForm::About1Click);
    about_->setObjectName(QStringLiteral("About1"));
}

void TMainForm::CreateToolBar(QWidget* central) {
    auto* bar = new QToolBar(central);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setIconSize(QSize(Px(20), Px(20)));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Place(bar, 0, 0, 929, 46);
    auto button = [&](const char* name, const char* caption, const char* icon, const char* hint,
                      auto handler) {
        auto* b = new QToolButton(bar);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(QString::fromUtf8(caption));
        b->setIcon(QIcon(QStringLiteral(":/icons/") + QString::fromLatin1(icon)));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setStatusTip(QString::fromUtf8(hint));
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, handler);
        bar->addWidget(b);
        return b;
    };
    newButton_ = button("NewButton", "New", "new.svg", "Start a new cutting list", [this] { ResetClick(); });
    openButton_ = button("OpenButton", "Open", "open.svg", "Open a saved cutting list", &TMainForm::Open1Click);
    saveButton_ = button("SaveButton", "Save", "save.svg", "Save the cutting list", &TMainForm::Save1Click);
    bar->addSeparator();
    calculateButton_ = button("CalculateButton", "Calculate", "calculate.svg",
                              "Work out the cutting patterns for the lengths entered",
                              &TMainForm::CalculateButtonClick);
    printButton_ = button("PrintPDFButton", "Print PDF", "pdf.svg",
                          "Make the cutting report as a PDF file and open it",
                          &TMainForm::PrintPDFButtonClick);
    displayButton_ = button("DisplayBtn", "Cutting Diagram", "diagram.svg",
                            "Show the cutting patterns as bar diagrams", &TMainForm::DrawPatternsClick);
    costingButton_ = button("CostingBtn", " Material Costing ", "costing.svg",
                            "Price the material, cutting and other charges of the job",
                            &TMainForm::CostingButtonClick);
    bar->addSeparator();
    closeButton_ = button("CloseButton", "Exit", "exit.svg", "Close Tallora", &TMainForm::CloseButtonClick);
}

void TMainForm::CreatePanels(QWidget* central) {
    stockPanel_ = new EntryPanel(EntryPanel::Kind::Stock, job_.StockItems, services_.Boxes,
                                 sortColumn_, central);
    Place(stockPanel_, 8, 48, 185, 393);
    cutPanel_ = new EntryPanel(EntryPanel::Kind::Cut, job_.CutItems, services_.Boxes, sortColumn_,
                               central);
    Place(cutPanel_, 200, 48, 185, 393);
    settingsPanel_ = new SettingsPanel(job_.allowances, central);
    Place(settingsPanel_, 392, 48, 241, 193);
    additionalPanel_ = new AdditionalDataPanel(job_.section, services_.Format, central);
    Place(additionalPanel_, 392, 248, 241, 193);
    statisticsPanel_ = new StatisticsPanel(central);
    Place(statisticsPanel_, 8, 448, 625, 169);
    memo_ = new QPlainTextEdit(central);
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Place(memo_, 640, 54, 281, 563);

    connect(stockPanel_, &EntryPanel::rowsChanged, this, &TMainForm::OnRowsChanged);
    connect(cutPanel_, &EntryPanel::rowsChanged, this, &TMainForm::OnRowsChanged);
    connect(settingsPanel_, &SettingsPanel::allowanceChanged, this, &TMainForm::RefreshStatistics);
    connect(settingsPanel_, &SettingsPanel::scrapAllChanged, this, &TMainForm::RefreshStatisticsAndList);
    connect(additionalPanel_, &AdditionalDataPanel::pricesChanged, this, &TMainForm::RefreshStatistics);
}

void TMainForm::FormCreate(const QString& commandLineFile) {
    DoRegCheck(services_.Store, services_.Shell);
    ReadCFGData(services_.Store, job_.allowances, settings_);
    recent_->MRU_Load();
    RebuildReopenMenu();

    hintsOff_->setText(settings_.Hints ? QStringLiteral("&Turn hints off") : QStringLiteral("&Turn hints on"));
    EmptyJob();

    if (!commandLineFile.isEmpty()) {
        // The long form of the path, as stored on disk.
        const QFileInfo info(commandLineFile);
        currentFileName_ = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
        if (!ReadJobFile(currentFileName_, true)) {
            services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, "Error opening file.");
            ClearJob();
        }
        SetCaption();
    }
    jobModified_ = false;

    if (AutoRecover(services_.Store, job_, services_.Boxes)) {
        ShowJob();
        calculateButton_->setEnabled(true);
    }
    costing_->ReloadNames();
}

// ----- entry and results -----

void TMainForm::CheckInputData() {
    const InputSummary summary = tallora::CheckInputData(job_);
    calculateButton_->setEnabled(summary.CalculateEnabled);
    statusPanels_[0]->setText(Q(summary.StockText));
    statusPanels_[1]->setText(Q(summary.CutText));
}

void TMainForm::OnRowsChanged() {
    jobModified_ = true;
    CheckInputData();
}

void TMainForm::RefreshStatistics() {
    if (!resultsValid_ || calculating_) return;
    ShowStatistics(CompileStats(job_));
}

void TMainForm::RefreshStatisticsAndList() {
    if (!resultsValid_ || calculating_) return;
    ShowStatistics(CompileStats(job_));
    job_.CuttingListLines = MemoDisplay(job_);
    ShowCuttingList();
}

void TMainForm::ShowStatistics(const Statistics& stats) {
    stats_ = stats;
    statisticsPanel_->Show(DisplayStats(stats_, services_.Format));
}

void TMainForm::ShowCuttingList() {
    QStringList lines;
    for (const auto& line : job_.CuttingListLines) lines << Q(line);
    memo_->setPlainText(lines.join(QLatin1Char('\n')));
}

void TMainForm::ZeroStatistics() { ShowStatistics(Statistics{}); }

void TMainForm::EnableOutputCommands(bool enabled) {
    for (QAction* a : {save_, saveAs_, print_}) a->setEnabled(enabled);
    for (QToolButton* b : {saveButton_, printButton_, displayButton_, costingButton_}) b->setEnabled(enabled);
}

void TMainForm::ShowJob() {
    stockPanel_->Reload();
    cutPanel_->Reload();
    settingsPanel_->Reload();
    additionalPanel_->Reload();
    ShowCuttingList();
}

void TMainForm::SetCaption() {
    const QString name = currentFileName_.isEmpty() ? QStringLiteral("untitled") : ShortName(currentFileName_);
    setWindowTitle(QStringLiteral("Tallora: [") + name + QLatin1Char(']'));
}

QString TMainForm::StatusText(int panel) const { return statusPanels_[panel]->text(); }

// ----- the calculation -----

void TMainForm::CalculateButtonClick() {
    if (calculating_ || !tallora::CheckInputData(job_).CalculateEnabled) return;
    AutoSave(services_.Store, job_);
    additionalPanel_->RewriteWeightAndCost();

    // The work runs beside the window's own thread, which keeps the windows painted; the host
    // hands every text and box to the window's thread, in order.
    calculating_ = true;
    CalculationOutcome outcome;
    std::string failure;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            outcome = RunCalculation(job_, algorithm_, *host_);
        } catch (const std::exception& e) {
            failure = e.what();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    calculating_ = false;

    fast_->setChecked(algorithm_ == Algorithm::Fast);
    standard_->setChecked(algorithm_ == Algorithm::Complex);
    if (outcome.Completed) resultsValid_ = true;
    setEnabled(true);
    // An error the calculation did not handle itself is shown, and the program goes on.
    if (!failure.empty()) services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, failure);
}

void TMainForm::Standard1Click() {
    algorithm_ = Algorithm::Complex;
    standard_->setChecked(true);
}

void TMainForm::Fast1Click() {
    algorithm_ = Algorithm::Fast;
    fast_->setChecked(true);
}

// ----- hints, help, about -----

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        QStatusBar* bar = hintBar_ != nullptr ? hintBar_ : statusBar();
        if (!settings_.Hints || tip.isEmpty()) bar->clearMessage();
        else bar->showMessage(tip);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::HintsOff1Click() {
    settings_.Hints = !settings_.Hints;
    if (!settings_.Hints) statusBar()->clearMessage();
    hintsOff_->setText(settings_.Hints ? QStringLiteral("&Turn hints off") : QStringLiteral("&Turn hints on"));
}

void TMainForm::Contents1Click() {
    // Our own help pages: beside the program in the build, in share/tallora/help when installed.
    const QDir dir(QCoreApplication::applicationDirPath());
    for (const QString& candidate : {dir.filePath(QStringLiteral("help/Welcome.html")),
                                     dir.filePath(QStringLiteral("../share/tallora/help/Welcome.html"))}) {
        if (QFileInfo::exists(candidate)) {
            services_.OpenDocument(QFileInfo(candidate).canonicalFilePath());
            return;
        }
    }
    services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok,
                                "The help pages could not be found beside the program.");
}

void TMainForm::About1Click() {
    AboutBox box(this);
    box.exec();
}

// ----- document commands -----

bool TMainForm::SavePrompt(bool exitForm) {
    if (!jobModified_) return true;
    QString name;
    if (exitForm) name = currentFileName_.isEmpty() ? QStringLiteral("[untitled]") : FileNamePart(currentFileName_);
    else name = currentFileName_.isEmpty() ? QStringLiteral("untitled") : ShortName(currentFileName_);
    const MessageAnswer answer = services_.Boxes.ShowMessage(
        exitForm ? MessageKind::Plain : MessageKind::Confirmation, MessageButtons::YesNoCancel,
        QStringLiteral("Save changes to %1 ?").arg(name).toStdString());
    if (answer == MessageAnswer::Cancel) return false;
    if (answer == MessageAnswer::Yes) {
        if (currentFileName_.isEmpty()) SaveAs1Click();
        else Save1Click();
    }
    return true;
}

void TMainForm::ClearJob() {
    DoRegCheck(services_.Store, services_.Shell);
    ReadCFGData(services_.Store, job_.allowances, settings_);
    EmptyJob();
}

void TMainForm::EmptyJob() {
    resultsValid_ = false;
    // Everything of the last job but its allowances and the charge names.
    CuttingJob fresh;
    fresh.allowances = job_.allowances;
    fresh.costing.OtherName1 = job_.costing.OtherName1;
    fresh.costing.OtherName2 = job_.costing.OtherName2;
    fresh.costing.OtherName3 = job_.costing.OtherName3;
    job_ = std::move(fresh);
    ShowJob();
    stockPanel_->QuantityEdit()->setFocus();
    EnableOutputCommands(false);
    for (QLabel* panel : statusPanels_) panel->clear();
    CheckInputData();
    currentFileName_.clear();
    SetCaption();
    ZeroStatistics();
    jobModified_ = false;
}

bool TMainForm::ResetClick() {
    if (!SavePrompt(false)) return false;
    // A nominal report left in the data folder goes, unless another program holds it.
    const std::filesystem::path pdf =
        std::filesystem::path(DataDirOrDefault(services_.Store, services_.Shell)) / "Tallora.pdf";
    std::error_code ec;
    if (std::filesystem::exists(pdf, ec)) {
        std::FILE* file = std::fopen(pdf.string().c_str(), "r+b");
        if (file == nullptr) {
            services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, std::strerror(errno));
            return false;
        }
        std::fclose(file);
        std::filesystem::remove(pdf, ec);
    }
    ClearJob();
    return true;
}

FileDialogOptions TMainForm::DialogOptions(bool save) const {
    FileDialogOptions options;
    options.Title = save ? "Save Tallora Datafile" : "Open Tallora Datafile";
    options.Filter = "Tallora Datafile (*.tlf)|*.tlf|Any file (*.*)|*.*";
    options.DefaultExtension = "tlf";
    options.ConfirmOverwrite = save;
    options.InitialFolder = InitialDialogFolder(services_.Store, services_.Shell);
    return options;
}

bool TMainForm::ReadJobFile(const QString& path, bool commandLine) {
    std::string error;
    const auto lines = ReadTextFile(path.toStdString(), error);
    if (!lines) {
        if (!commandLine) services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, error);
        return false;
    }
    const JobFileRead read = ReadJobLines(*lines, job_, services_.Boxes);
    if (read.Status == ReadStatus::OldVersion) {
        CalculationServices calculation{services_.Store, *host_, algorithm_, services_.Format};
        calculating_ = true;
        const Conversion conversion = ConvertOldVersion(*lines, path.toStdString(), job_,
                                                        services_.Boxes, calculation);
        calculating_ = false;
        setEnabled(true);
        ShowJob();
        CheckInputData();
        if (conversion.Status == OldReadStatus::Read) {
            for (QAction* a : {save_, saveAs_}) a->setEnabled(true);
            saveButton_->setEnabled(true);
            resultsValid_ = conversion.Outcome.Completed;
            fast_->setChecked(algorithm_ == Algorithm::Fast);
            if (!conversion.SaveError.empty()) {
                services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, conversion.SaveError);
            }
        }
        return true;
    }
    ShowJob();
    costing_->ReloadNames();
    if (read.Status == ReadStatus::Loaded) {
        ShowStatistics(read.Stats);
        resultsValid_ = read.ResultsValid;
        CheckInputData();
        EnableOutputCommands(true);
    }
    return true;
}

bool TMainForm::WriteJobFile(const QString& path) {
    const std::string error = SaveFile(path.toStdString(), job_, stats_);
    if (!error.empty()) {
        services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, error);
        return false;
    }
    return true;
}

void TMainForm::Open1Click() {
    if (!SavePrompt(false)) return;
    jobModified_ = false;
    currentFileName_.clear();
    if (const auto chosen = services_.Boxes.AskOpenFileName(DialogOptions(false))) {
        ClearJob();
        currentFileName_ = Q(*chosen);
        if (!ReadJobFile(currentFileName_, false)) currentFileName_.clear();
    }
    recent_->MRU_Add(currentFileName_.toStdString());
    RebuildReopenMenu();
    SetCaption();
    WriteLastDir(services_.Store, currentFileName_.toStdString());
}

void TMainForm::Save1Click() {
    if (currentFileName_.isEmpty()) {
        SaveAs1Click();
        return;
    }
    if (!WriteJobFile(currentFileName_)) return;
    SetCaption();
    jobModified_ = false;
    WriteLastDir(services_.Store, currentFileName_.toStdString());
}

void TMainForm::SaveAs1Click() {
    bool written = false;
    if (const auto chosen = services_.Boxes.AskSaveFileName(DialogOptions(true))) {
        if (!WriteJobFile(Q(*chosen))) return;
        currentFileName_ = Q(*chosen);
        written = true;
    }
    recent_->MRU_Add(currentFileName_.toStdString());
    RebuildReopenMenu();
    SetCaption();
    if (written) jobModified_ = false;
    WriteLastDir(services_.Store, currentFileName_.toStdString());
}

void TMainForm::WriteSettings() { WriteCFGData(services_.Store, job_.allowances, settings_); }

void TMainForm::ExitButtonClick() {
    WriteSettings();
    if (!SavePrompt(true)) return;
    services_.Quit();
}

void TMainForm::CloseButtonClick() { close(); }

void TMainForm::closeEvent(QCloseEvent* event) {
    if (calculating_) {
        event->ignore();
        return;
    }
    WriteSettings();
    // The numbered reports of this run.
    std::error_code ec;
    const std::filesystem::path folder(ReportsFolder().toStdString());
    if (std::filesystem::is_directory(folder, ec)) {
        for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind('~', 0) == 0 && entry.path().extension() == ".pdf") {
                std::filesystem::remove(entry.path(), ec);
            }
        }
    }
    if (!SavePrompt(true)) {
        event->ignore();
        return;
    }
    event->accept();
}

QString TMainForm::ReportsFolder() const {
    return Q(DataDirOrDefault(services_.Store, services_.Shell));
}

// ----- recent files -----

void TMainForm::RebuildReopenMenu() {
    reopen_->clear();
    for (const ReopenEntry& entry : recent_->MRU_BuildMenu()) {
        QAction* action = reopen_->addAction(Q(entry.Caption));
        action->setEnabled(entry.Enabled);
        const int position = entry.Position;
        if (position >= 0) connect(action, &QAction::triggered, this, [this, position] { MRUMenuClick(position); });
    }
}

void TMainForm::MRUMenuClick(int position) {
    switch (recent_->Check(position)) {
        case RecentFiles::Reopen::Nothing: return;
        case RecentFiles::Reopen::Missing:
            services_.Boxes.ShowMessage(MessageKind::Warning, MessageButtons::Ok, recent_->RemoveMissing(position));
            RebuildReopenMenu();
            return;
        case RecentFiles::Reopen::Open: break;
    }
    const QString path = Q(recent_->Paths()[position]);
    if (!ResetClick()) return;
    currentFileName_ = path;
    if (!ReadJobFile(currentFileName_, false)) currentFileName_.clear();
    SetCaption();
}

// ----- output windows (made in their own files) -----

void TMainForm::DrawPatternsClick() {
    viewer_->Image()->update();
    if (viewer_->isVisible()) return;
    // While the viewer is open, hints show in its own status bar.
    SetHintBar(viewer_->StatusBar());
    viewer_->exec();
    SetHintBar(statusBar());
}
void TMainForm::CostingButtonClick() {
    const SectionData& s = job_.section;
    const CostingOutcome back = costing_->Execute(s.SectionCost, s.SectionWeight, s.CostType, stats_);
    // The window's working copies come back into the main window's fields.
    additionalPanel_->SetCostText(Q(back.CostText));
    job_.section.SectionCost = back.SectionCost;
    additionalPanel_->SetCostType(back.CostType);
    additionalPanel_->SetWeightText(Q(back.WeightText));
    job_.section.SectionWeight = back.SectionWeight;
    ShowStatistics(CompileStats(job_));
}
void TMainForm::PrintPDFButtonClick() {
    QtPrintEngine engine;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ReportOutcome outcome =
        PrintCuttingReport(engine, job_, statisticsPanel_->Texts(), ReportsFolder().toStdString(),
                           currentFileName_.toStdString());
    QApplication::restoreOverrideCursor();
    switch (outcome.Status) {
        case ReportOutcome::Result::Saved: services_.OpenDocument(PathToQString(outcome.File)); break;
        case ReportOutcome::Result::SaveFailed: services_.Boxes.Inform(outcome.Message); break;
        case ReportOutcome::Result::FileError:
            services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, outcome.Message);
            break;
    }
}

}  // namespace tallora
