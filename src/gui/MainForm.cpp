#include "gui/MainForm.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QUndoCommand>
#include <QUndoStack>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <tuple>
#include <utility>

#include "gui/AboutBox.h"
#include "gui/ProgressForm.h"
#include "gui/QtCalculationHost.h"
#include "commands/Exports.h"
#include "commands/Inventory.h"
#include "commands/OpenJob.h"
#include "gui/costing/CostingForm.h"
#include "gui/entry/AdditionalDataPanel.h"
#include "gui/entry/EntryPanel.h"
#include "gui/entry/SettingsPanel.h"
#include "gui/inventory/InventoryForm.h"
#include "report/PdfReport.h"
#include "platform/QtPrintEngine.h"
#include "results/CuttingList.h"
#include "results/CuttingListCsv.h"
#include "gui/results/ImageForm.h"
#include "gui/results/StatisticsPanel.h"
#include "storage/RowsFile.h"
#include "storage/SafeFile.h"
#include "storage/TextFile.h"
#include "gui/widgets/DesignGeometry.h"

namespace tallora {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString FileNamePart(const QString& path) { return Q(tallora::FileNamePart(path.toStdString())); }

// The name without everything from its first ".".
QString ShortName(const QString& path) {
    return FileNamePart(path).Section(QLatin1Char('.'), 0, 0);
}

// One step of the history: the job's inputs before and after an edit the user has made.
class EditCommand : public QUndoCommand {
public:
    using Apply = std::function<void(const JobInputs&, unsigned parts)>;
    EditCommand(Apply apply, JobInputs before, JobInputs after, const QString& text, int input,
                int focus)
        : QUndoCommand(text),
          apply_(std::move(apply)),
          before_(std::move(before)),
          after_(std::move(after)),
          parts_(ChangedParts(before_, after_)),
          field_(ChangedField(before_, after_)),
          input_(input),
          focus_(focus) {}

    int id() const override { return 1; }
    void undo() override { apply_(before_, parts_); }
    void redo() override {
        // Pushed after the edit was made: the first redo has nothing to do.
        if (std::exchange(done_, false)) return;
        apply_(after_, parts_);
    }
    // Keystrokes in one field make one step until the focus moves; what one key or click
    // changed in the fields (an offcut of 0 checks "Scrap all waste") is one step too. Rows
    // never merge.
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const EditCommand*>(other);
        const unsigned rows = InputPart::Stock | InputPart::Cut;
        if ((parts_ | next->parts_) & rows) return false;
        const bool sameField =
            field_ != InputField::None && next->field_ == field_ && next->focus_ == focus_;
        if (!sameField && next->input_ != input_) return false;
        after_ = next->after_;
        parts_ = ChangedParts(before_, after_);
        input_ = next->input_;
        focus_ = next->focus_;
        // Typed back to what it was: no step.
        setObsolete(parts_ == 0);
        return true;
    }

private:
    Apply apply_;
    JobInputs before_;
    JobInputs after_;
    unsigned parts_;
    InputField field_;
    int input_;
    int focus_;
    bool done_ = true;
};

bool IsUndoKey(const QKeyEvent* key) {
    const QKeyCombination combination = key->keyCombination();
    return combination == QKeyCombination(Qt::CTRL | Qt::Key_Z) ||
           combination == QKeyCombination(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) ||
           combination == QKeyCombination(Qt::CTRL | Qt::Key_Y);
}

}  // namespace

TMainForm::TMainForm(DesktopServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Tallora"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tallora.svg")));
    recent_ = std::make_unique<RecentFiles>(services_.Store, RegularFileExists);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Client"));
    // Group captions sit on the frame's top line, as the panels' positions expect.
    central->setStyleSheet(
        QStringLiteral(
            "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: %1px; }"
            "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
            " left: %2px; padding: 0 1px; }")
            .arg(Px(7))
            .arg(Px(7)));
    designClient_ = QSize(Px(929), Px(625));
    setAcceptDrops(true);
    central->setMinimumSize(designClient_);
    setCentralWidget(central);
    undoStack_ = new QUndoStack(this);
    CreateActions();
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
    // A grip would take room from the status text at the design size.
    statusBar()->setSizeGripEnabled(false);
    // Never smaller than the design size; the window's edges make it larger.
    setMinimumSize(sizeHint());
    resize(sizeHint());
    RecordGrowth();
    viewer_ = new TImageForm(job_, this);
    ConnectCalculationHost();
}

TMainForm::~TMainForm() {
    // A calculation works on the job: it ends before the job goes. Its later calls show nothing,
    // and a call it waits on is dropped, which lets it go on.
    host_->Detach();
    while (worker_->isRunning()) {
        for (QObject* receiver :
             {static_cast<QObject*>(this), static_cast<QObject*>(progress_),
              static_cast<QObject*>(statusPanels_[2]), static_cast<QObject*>(memo_)}) {
            QCoreApplication::removePostedEvents(receiver, QEvent::MetaCall);
        }
        QThread::msleep(5);
    }
    qApp->removeEventFilter(this);
    // The panels view the job's rows: they go before the job does.
    delete takeCentralWidget();
    delete progress_;
}

void TMainForm::CreateActions() {
    // The menu's caption, the tool bar's caption, the object name of each, its hint.
    auto action = [this](const char* text, const char* iconText, const char* name, const char* icon,
                         const char* hint, auto handler) {
        auto* a = new QAction(QString::fromUtf8(text), this);
        a->setObjectName(QString::fromLatin1(name));
        if (iconText != nullptr) a->setIconText(QString::fromUtf8(iconText));
        if (icon != nullptr)
            a->setIcon(QIcon(QStringLiteral(":/icons/") + QString::fromLatin1(icon)));
        if (hint != nullptr) a->setStatusTip(QString::fromUtf8(hint));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    new_ = action("&New", "New", "New2", "new.svg", "Start a new cutting list",
                  [this] { ResetClick(); });
    new_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    open_ = action("&Open...", "Open", "Open1", "open.svg", "Open a saved cutting list",
                   &TMainForm::Open1Click);
    open_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    save_ = action("&Save", "Save", "Save1", "save.svg", "Save the cutting list",
                   &TMainForm::Save1Click);
    save_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    saveAs_ = action("Save &As...", nullptr, "SaveAs1", nullptr, nullptr, &TMainForm::SaveAs1Click);
    // Their texts name the step: "&Undo Paste 50 Cut Lengths".
    undo_ = undoStack_->createUndoAction(this, QStringLiteral("&Undo"));
    undo_->setObjectName(QStringLiteral("Undo1"));
    undo_->setIconText(QStringLiteral("Undo"));
    undo_->setIcon(QIcon(QStringLiteral(":/icons/undo.svg")));
    undo_->setStatusTip(QStringLiteral("Undo the last change to the lists, settings or data"));
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_ = undoStack_->createRedoAction(this, QStringLiteral("&Redo"));
    redo_->setObjectName(QStringLiteral("Redo1"));
    redo_->setIconText(QStringLiteral("Redo"));
    redo_->setIcon(QIcon(QStringLiteral(":/icons/redo.svg")));
    redo_->setStatusTip(QStringLiteral("Make the change that was undone again"));
    redo_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    print_ = action("&Print...", "Print PDF", "Print1", "pdf.svg",
                    "Make the cutting report as a PDF file and open it",
                    &TMainForm::PrintPDFButtonClick);
    print_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    exportPdf_ = action("&Export PDF...", nullptr, "ExportPDF1", nullptr,
                        "Write the cutting report as a PDF file where you choose",
                        &TMainForm::ExportPDFClick);
    importRows_ =
        action("&Import Rows...", nullptr, "ImportRows1", nullptr,
               "Add stock or cut lengths from a CSV or text file", &TMainForm::ImportRows1Click);
    exportCuttingList_ = action("Export &Cutting List...", nullptr, "ExportCuttingList1", nullptr,
                                "Write the cutting list as a CSV file for a spreadsheet",
                                &TMainForm::ExportCuttingList1Click);
    useOffcuts_ = action("&Use Offcuts from Inventory", nullptr, "UseOffcuts1", nullptr,
                         "Add the inventory's offcuts of the job's section to the stock list",
                         &TMainForm::UseOffcuts1Click);
    bookOffcuts_ = action("&Book Offcuts to Inventory", nullptr, "BookOffcuts1", nullptr,
                          "Keep the offcuts this job returns to stock, and take away the "
                          "inventory offcuts it cut",
                          &TMainForm::BookOffcuts1Click);
    inventoryWindow_ =
        action("Offcut &Inventory...", nullptr, "Inventory1", nullptr,
               "See, change and export the offcuts kept in stock", &TMainForm::Inventory1Click);
    exit_ = action("E&xit", nullptr, "Exit1", nullptr, nullptr, &TMainForm::ExitButtonClick);
    exit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    calculate_ = action("Calculate", "Calculate", "Calculate", "calculate.svg",
                        "Work out the cutting patterns for the lengths entered",
                        &TMainForm::CalculateButtonClick);
    calculate_->setShortcut(QKeySequence(Qt::Key_F9));
    display_ = action("Cutting Diagram", "Cutting Diagram", "Display", "diagram.svg",
                      "Show the cutting patterns as bar diagrams", &TMainForm::DrawPatternsClick);
    display_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    costingAction_ = action(" Material Costing ", " Material Costing ", "Costing", "costing.svg",
                            "Price the material, cutting and other charges of the job",
                            &TMainForm::CostingButtonClick);
    costingAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    // The tool bar's Exit closes the window, which the File menu's Exit does not quite do.
    close_ =
        action("Exit", "Exit", "Close", "exit.svg", "Close Tallora", &TMainForm::CloseButtonClick);

    standard_ =
        action("Complex", nullptr, "Standard1", nullptr, nullptr, &TMainForm::Standard1Click);
    fast_ = action("Fast", nullptr, "Fast1", nullptr, nullptr, &TMainForm::Fast1Click);
    optimal_ = action("Optimal", nullptr, "Optimal1", nullptr,
                      "Search for the plan that uses the least stock, and prove how close it is",
                      &TMainForm::Optimal1Click);
    optimalTime_ =
        action("Optimal &Time Limit...", nullptr, "OptimalTime1", nullptr,
               "How many seconds the Optimal algorithm may search", &TMainForm::OptimalTime1Click);
    auto* group = new QActionGroup(this);
    for (QAction* a : {standard_, fast_, optimal_}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    standard_->setChecked(true);
    hintsOff_ = action("&Turn hints off", nullptr, "HintsOff1", nullptr, nullptr,
                       &TMainForm::HintsOff1Click);
    contents_ =
        action("&Contents", nullptr, "Contents1", nullptr, nullptr, &TMainForm::Contents1Click);
    contents_->setShortcut(QKeySequence(Qt::Key_F1));
    about_ = action("&About", nullptr, "About1", nullptr, nullptr, &TMainForm::About1Click);
}

void TMainForm::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(new_);
    file->addAction(open_);
    reopen_ = file->addMenu(QStringLiteral("Reopen..."));
    reopen_->setObjectName(QStringLiteral("Reopen1"));
    file->addAction(importRows_);
    file->addAction(save_);
    file->addAction(saveAs_);
    file->addSeparator();
    file->addAction(print_);
    file->addAction(exportPdf_);
    file->addAction(exportCuttingList_);
    file->addSeparator();
    file->addAction(exit_);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    edit->addAction(undo_);
    edit->addAction(redo_);

    QMenu* algorithm = menuBar()->addMenu(QStringLiteral("&Algorithm"));
    algorithm->setObjectName(QStringLiteral("Algorithm1"));
    algorithm->addAction(standard_);
    algorithm->addAction(fast_);
    algorithm->addAction(optimal_);
    algorithm->addSeparator();
    algorithm->addAction(optimalTime_);

    QMenu* inventory = menuBar()->addMenu(QStringLiteral("&Inventory"));
    inventory->setObjectName(QStringLiteral("InventoryMenu"));
    inventory->addAction(useOffcuts_);
    inventory->addAction(bookOffcuts_);
    inventory->addSeparator();
    inventory->addAction(inventoryWindow_);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(hintsOff_);
    help->addAction(contents_);
    help->addAction(about_);
}

void TMainForm::CreateToolBar(QWidget* central) {
    auto* bar = new QToolBar(central);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setIconSize(QSize(Px(20), Px(20)));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Place(bar, 0, 0, 929, 46);
    auto button = [bar](QAction* action, const char* name) {
        bar->addAction(action);
        auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(action));
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoRaise(true);
        // A command button never keeps the keyboard: Space must not run New after a click.
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    button(new_, "NewButton");
    button(open_, "OpenButton");
    button(save_, "SaveButton");
    bar->addSeparator();
    button(undo_, "UndoButton");
    button(redo_, "RedoButton");
    bar->addSeparator();
    button(calculate_, "CalculateButton");
    QToolButton* print = button(print_, "PrintPDFButton");
    auto* printMenu = new QMenu(print);
    printMenu->addAction(exportPdf_);
    print->setMenu(printMenu);
    print->setPopupMode(QToolButton::MenuButtonPopup);
    button(display_, "DisplayBtn");
    button(costingAction_, "CostingBtn");
    bar->addSeparator();
    button(close_, "CloseButton");
}

void TMainForm::CreatePanels(QWidget* central) {
    stockPanel_ = new EntryPanel(EntryPanel::Kind::Stock, job_.StockRows, services_.Boxes,
                                 sortColumn_, central);
    Place(stockPanel_, 8, 48, 185, 393);
    cutPanel_ =
        new EntryPanel(EntryPanel::Kind::Cut, job_.CutRows, services_.Boxes, sortColumn_, central);
    Place(cutPanel_, 200, 48, 185, 393);
    settingsPanel_ = new SettingsPanel(job_.Allowances, central);
    Place(settingsPanel_, 392, 48, 241, 193);
    additionalPanel_ = new AdditionalDataPanel(job_.Section, services_.Format, central);
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
    connect(settingsPanel_, &SettingsPanel::scrapAllChanged, this,
            &TMainForm::RefreshStatisticsAndList);
    connect(additionalPanel_, &AdditionalDataPanel::pricesChanged, this,
            &TMainForm::RefreshStatistics);
    // What the user changes is a change of the job; what the program sets (a file, New) is not.
    connect(settingsPanel_, &SettingsPanel::edited, this, &TMainForm::OnJobEdited);
    connect(additionalPanel_, &AdditionalDataPanel::edited, this, &TMainForm::OnJobEdited);
    connect(additionalPanel_, &AdditionalDataPanel::priceProblemChanged, this,
            &TMainForm::OnPriceProblem);

    // Each change of the inputs, after the job has it, may be a step of the history.
    connect(stockPanel_, &EntryPanel::edited, this,
            [this](const QString& what) { RecordEdit(what); });
    connect(cutPanel_, &EntryPanel::edited, this,
            [this](const QString& what) { RecordEdit(what); });
    for (auto changed : {&SettingsPanel::allowanceChanged, &SettingsPanel::scrapAllChanged}) {
        connect(settingsPanel_, changed, this, [this] { RecordEdit(); });
    }
    for (auto changed : {&AdditionalDataPanel::pricesChanged, &AdditionalDataPanel::textsChanged}) {
        connect(additionalPanel_, changed, this, [this] { RecordEdit(); });
    }
    connect(qApp, &QApplication::focusChanged, this, [this] { ++focusSerial_; });
}

void TMainForm::FormCreate(const QString& commandLineFile) {
    DoRegCheck(services_.Store, services_.Shell);
    ReadCFGData(services_.Store, job_.Allowances, settings_);
    recent_->MRU_Load();
    RebuildReopenMenu();

    hintsOff_->setText(settings_.Hints ? QStringLiteral("&Turn hints off")
                                       : QStringLiteral("&Turn hints on"));
    EmptyJob();

    // The last run's inputs are offered first: taking them makes the job, and a file named on
    // the command line is then not read over them; declining reads it.
    if (AutoRecover(services_.Store, job_, services_.Boxes)) {
        ShowJob();
        CheckInputData();
    } else if (!commandLineFile.isEmpty()) {
        // The long form of the path, as stored on disk.
        const QFileInfo info(commandLineFile);
        const QString path = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
        std::string error;
        switch (ReadJobFile(path, true, &error)) {
            case OpenResult::Opened:
                currentFileName_ = path;
                break;
            case OpenResult::NotAJob:
                ClearJob();
                break;
            case OpenResult::SystemError:
                services_.Boxes.ShowMessage(
                    MessageKind::Error, MessageButtons::Ok,
                    "Error opening file.\r\n" + path.toStdString() + ": " + error);
                ClearJob();
                break;
        }
        SetCaption();
    }
    // An earlier-format file is recalculated first.
    WhenIdle([this] { FinishStart(); });
}

void TMainForm::ShowAndStart(const QString& commandLineFile) {
    // Where the user left the window; a stored value Qt cannot read leaves the design size.
    if (const auto geometry = ReadWindowGeometry(services_.Store, "WindowGeometry")) {
        restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(*geometry)));
    }
    // Every message of the start has the main window behind it.
    show();
    FormCreate(commandLineFile);
}

void TMainForm::FinishStart() {
    jobModified_ = false;
    costing_->ReloadNames();
}

// ----- entry and results -----

void TMainForm::CheckInputData() {
    const InputSummary summary = SummariseInput(job_);
    canCalculate_ = summary.CalculateEnabled;
    UpdateCommands();
    statusPanels_[0]->setText(Q(summary.StockText));
    statusPanels_[1]->setText(Q(summary.CutText));
}

void TMainForm::UpdateCommands() {
    // Anything entered can be kept, calculated or not.
    const SectionData& s = job_.Section;
    const bool entered = !job_.StockRows.empty() || !job_.CutRows.empty() ||
                         !s.Customer.empty() || !s.Reference.empty() || !s.Name.empty() ||
                         s.Weight != 0.0 || s.Cost != 0.0;
    save_->setEnabled(canSave_ || entered);
    saveAs_->setEnabled(canSave_ || entered);
    for (QAction* a :
         {print_, display_, exportPdf_, exportCuttingList_, costingAction_, bookOffcuts_})
        a->setEnabled(canOutput_);
    calculate_->setEnabled(canCalculate_);
}

void TMainForm::OnRowsChanged() {
    jobModified_ = true;
    CheckInputData();
}

void TMainForm::RecordEdit(const QString& what) {
    if (restoring_ || calculating_) return;
    JobInputs now = InputsOf(job_);
    if (ChangedParts(recorded_, now) == 0) return;
    const QString text = what.isEmpty() ? Q(FieldEditName(ChangedField(recorded_, now))) : what;
    auto apply = [this](const JobInputs& inputs, unsigned parts) { RestoreInputs(inputs, parts); };
    auto* step =
        new EditCommand(apply, std::move(recorded_), now, text, inputSerial_, focusSerial_);
    recorded_ = std::move(now);
    undoStack_->push(step);
}

void TMainForm::RestoreInputs(const JobInputs& inputs, unsigned parts) {
    const bool scrapAll =
        (parts & InputPart::Allowances) && inputs.Allowances.NoOffcuts != job_.Allowances.NoOffcuts;
    restoring_ = true;
    PutInputs(job_, inputs, parts);
    if (parts & InputPart::Stock) stockPanel_->Reload();
    if (parts & InputPart::Cut) cutPanel_->Reload();
    if (parts & InputPart::Allowances) settingsPanel_->Reload();
    if (parts & InputPart::Section) additionalPanel_->Reload();
    restoring_ = false;
    recorded_ = InputsOf(job_);
    // What the same edit made by hand does to the document and the results shown.
    if (parts & (InputPart::Stock | InputPart::Cut)) OnRowsChanged();
    if (parts & (InputPart::Allowances | InputPart::Section)) {
        OnJobEdited();
        if (scrapAll)
            RefreshStatisticsAndList();
        else
            RefreshStatistics();
    }
}

void TMainForm::ResetHistory() {
    undoStack_->clear();
    recorded_ = InputsOf(job_);
}

void TMainForm::OnJobEdited() {
    jobModified_ = true;
    UpdateCommands();
}

void TMainForm::OnPriceProblem(const QString& problem) {
    // The third panel says what is wrong until it is put right.
    if (!problem.isEmpty())
        statusPanels_[2]->setText(problem);
    else if (statusPanels_[2]->text() == shownProblem_)
        statusPanels_[2]->clear();
    shownProblem_ = problem;
}

void TMainForm::RefreshStatistics() {
    if (!resultsValid_ || calculating_) return;
    ShowStatistics(CompileStats(job_));
}

void TMainForm::RefreshStatisticsAndList() {
    if (!resultsValid_ || calculating_) return;
    ShowStatistics(CompileStats(job_));
    job_.CuttingListLines = MakeCuttingList(job_);
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
    canSave_ = enabled;
    canOutput_ = enabled;
    UpdateCommands();
}

void TMainForm::RewriteSectionPrices() {
    additionalPanel_->ShowPrices();
    // The statistics of the result shown follow the prices, as they do when typed.
    if (resultsValid_) ShowStatistics(CompileStats(job_));
}

void TMainForm::ShowJob() {
    stockPanel_->Reload();
    cutPanel_->Reload();
    settingsPanel_->Reload();
    additionalPanel_->Reload();
    ShowCuttingList();
    // Every job shown whole is a new one (New, a file, the recovered inputs).
    ResetHistory();
}

void TMainForm::SetCaption() {
    const QString name =
        currentFileName_.isEmpty() ? QStringLiteral("untitled") : ShortName(currentFileName_);
    setWindowTitle(QStringLiteral("Tallora: [") + name + QLatin1Char(']'));
}

QString TMainForm::StatusText(int panel) const { return statusPanels_[panel]->text(); }

// ----- the calculation -----

void TMainForm::CalculateButtonClick() {
    if (calculating_ || !SummariseInput(job_).CalculateEnabled) return;
    // A weight or cost that does not read is not taken as 0: it is put right first.
    if (QLineEdit* field = additionalPanel_->PriceProblemField()) {
        services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok,
                                    additionalPanel_->PriceProblem().toStdString() +
                                        ".\r\nPlease correct it before calculating.");
        field->setFocus();
        return;
    }
    StartCalculation({});
}

void TMainForm::ConnectCalculationHost() {
    host_ = new QtCalculationHost(this);
    worker_ = new QFutureWatcher<WorkerResult>(this);
    connect(worker_, &QFutureWatcherBase::finished, this, &TMainForm::CalculationEnded);

    // The worker waits for each call, so the window's thread touches the job only while the
    // calculation stands still.
    const auto wait = Qt::BlockingQueuedConnection;
    QtCalculationHost* h = host_;
    connect(
        h, &QtCalculationHost::questionAsked, this,
        [this](const QString& text, bool* yes) {
            *yes = services_.Boxes.ShowMessage(MessageKind::Confirmation, MessageButtons::YesNo,
                                               text.toStdString()) == MessageAnswer::Yes;
        },
        wait);
    connect(
        h, &QtCalculationHost::errorShown, this,
        [this](const QString& text) {
            services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, text.toStdString());
        },
        wait);
    connect(
        h, &QtCalculationHost::busyCursorSet, this,
        [](bool busy) {
            if (busy)
                QApplication::setOverrideCursor(Qt::WaitCursor);
            else if (QApplication::overrideCursor() != nullptr)
                QApplication::restoreOverrideCursor();
        },
        wait);
    connect(h, &QtCalculationHost::statusTextSet, statusPanels_[2], &QLabel::setText, wait);
    // Optimal's line can be wider than the panel: the whole of it shows on hovering.
    connect(h, &QtCalculationHost::statusTextSet, statusPanels_[2], &QLabel::setToolTip, wait);
    connect(h, &QtCalculationHost::cuttingListCleared, memo_, &QPlainTextEdit::clear, wait);
    connect(h, &QtCalculationHost::mainWindowEnabled, this, &QWidget::setEnabled, wait);
    connect(h, &QtCalculationHost::progressShown, progress_, &TProgressForm::Start, wait);
    connect(h, &QtCalculationHost::progressHidden, progress_, &QWidget::hide, wait);
    connect(h, &QtCalculationHost::progressMoved, progress_, &TProgressForm::SetPosition, wait);
    connect(
        h, &QtCalculationHost::progressUpdated, progress_,
        [this](int position, const QString& allocated, const QString& remaining) {
            progress_->SetPosition(position);
            progress_->SetLines(allocated, remaining);
        },
        wait);
    connect(progress_, &TProgressForm::cancelRequested, this, [this] { host_->RequestCancel(); });
    connect(h, &QtCalculationHost::permutationLineSet, progress_,
            &TProgressForm::SetPermutationLine, wait);
    connect(h, &QtCalculationHost::sectionPricesRewritten, this, &TMainForm::RewriteSectionPrices,
            wait);
    connect(
        h, &QtCalculationHost::outputCommandsEnabled, this, [this] { EnableOutputCommands(true); },
        wait);
    connect(h, &QtCalculationHost::statisticsShown, this, &TMainForm::ShowStatistics, wait);
    connect(
        h, &QtCalculationHost::cuttingListShown, this,
        [this](const QStringList& lines) { memo_->setPlainText(lines.join(QLatin1Char('\n'))); },
        wait);
}

void TMainForm::StartCalculation(std::function<void(const CalculateResult&)> then) {
    calculating_ = true;
    focusBefore_ = QApplication::focusWidget();
    host_->ResetCancel();
    afterCalculation_ = std::move(then);
    RegistryStore* store = &services_.Store;
    const NumberFormat format = services_.Format;
    // The time limit is Optimal's; Complex keeps its own way of stopping.
    CalculationOptions options;
    if (algorithm_ == Algorithm::Optimal) options.TimeLimitSeconds = settings_.OptimalSeconds;
    worker_->setFuture(QtConcurrent::run([this, store, format, options] {
        WorkerResult worker;
        try {
            worker.Result = Calculate(job_, algorithm_, *host_, format, store, options);
        } catch (const std::exception& e) {
            worker.Failure = e.what();
        }
        return worker;
    }));
}

void TMainForm::CalculationEnded() {
    const WorkerResult worker = worker_->result();
    calculating_ = false;
    fast_->setChecked(algorithm_ == Algorithm::Fast);
    standard_->setChecked(algorithm_ == Algorithm::Complex);
    optimal_->setChecked(algorithm_ == Algorithm::Optimal);
    if (worker.Result.Completed) resultsValid_ = true;
    // What the calculation rewrote (the prices) is no edit to undo.
    recorded_ = InputsOf(job_);
    setEnabled(true);
    // An error the calculation did not handle itself is shown, and the program goes on.
    if (!worker.Failure.empty()) {
        services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, worker.Failure);
    }
    if (auto then = std::exchange(afterCalculation_, nullptr)) then(worker.Result);
    RestoreFocus(focusBefore_);
    for (auto& work : std::exchange(whenIdle_, {})) work();
    emit calculationFinished();
}

void TMainForm::RestoreFocus(QWidget* before) {
    // Back where the user was, or in the cut quantity box: never on a command that Space runs.
    if (before != nullptr && before->isVisible() && before->isEnabled() &&
        before->window() == this) {
        before->setFocus();
    } else {
        cutPanel_->QuantityEdit()->setFocus();
    }
}

void TMainForm::WhenIdle(std::function<void()> work) {
    if (calculating_)
        whenIdle_.push_back(std::move(work));
    else
        work();
}

void TMainForm::Standard1Click() {
    algorithm_ = Algorithm::Complex;
    standard_->setChecked(true);
}

void TMainForm::Fast1Click() {
    algorithm_ = Algorithm::Fast;
    fast_->setChecked(true);
}

void TMainForm::Optimal1Click() {
    algorithm_ = Algorithm::Optimal;
    optimal_->setChecked(true);
}

void TMainForm::OptimalTime1Click() {
    const auto text = services_.Boxes.AskText("Optimal Time Limit", OptimalSecondsPrompt,
                                              std::to_string(settings_.OptimalSeconds));
    if (!text) return;
    if (const auto seconds = ParseOptimalSeconds(*text)) {
        settings_.OptimalSeconds = *seconds;
        WriteOptimalSeconds(services_.Store, *seconds);
    } else {
        services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, BadOptimalSecondsText);
    }
}

// ----- hints, help, about -----

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Resize && watched == centralWidget()) FitToClient();
    if (type == QEvent::KeyPress || type == QEvent::MouseButtonPress) ++inputSerial_;
    // In this window's fields the keys undo the job's last step: a field's own undo would take
    // back part of an edit behind the history's back.
    if ((type == QEvent::ShortcutOverride || type == QEvent::KeyPress) &&
        IsUndoKey(static_cast<QKeyEvent*>(event))) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (edit != nullptr && edit->window() == this) {
            event->ignore();
            return true;
        }
    }
    // Ctrl+D deletes a character in a line edit; here it shows the diagram, from any field.
    if (type == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == this &&
            (pressed == display_->shortcut() || pressed == costingAction_->shortcut())) {
            event->ignore();
            return true;
        }
    }
    if (event->type() == QEvent::ToolTip) {
        // A hint shows as a tool tip too, under the same switch; a tool button's hint names
        // its shortcut. Widgets with a tool tip of their own keep it.
        auto* widget = qobject_cast<QWidget*>(watched);
        QString hint = widget != nullptr ? widget->statusTip() : QString();
        if (auto* button = qobject_cast<QToolButton*>(watched);
            button != nullptr && button->defaultAction() != nullptr) {
            const QAction* a = button->defaultAction();
            hint = a->statusTip();
            if (!hint.isEmpty() && !a->shortcut().isEmpty())
                hint += QStringLiteral(" (") + a->shortcut().toString(QKeySequence::NativeText) +
                        QLatin1Char(')');
        }
        if (!hint.isEmpty()) {
            if (settings_.Hints)
                QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), hint, widget);
            else
                QToolTip::hideText();
            return true;
        }
    }
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        QStatusBar* bar = hintBar_ != nullptr ? hintBar_ : statusBar();
        if (!settings_.Hints || tip.isEmpty())
            bar->clearMessage();
        else
            bar->showMessage(tip);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::HintsOff1Click() {
    settings_.Hints = !settings_.Hints;
    if (!settings_.Hints) statusBar()->clearMessage();
    hintsOff_->setText(settings_.Hints ? QStringLiteral("&Turn hints off")
                                       : QStringLiteral("&Turn hints on"));
}

void TMainForm::Contents1Click() {
    // Our own help pages: beside the program in the build, in share/tallora/help when installed.
    const QDir dir(QCoreApplication::applicationDirPath());
    for (const QString& candidate :
         {dir.filePath(QStringLiteral("help/Welcome.html")),
          dir.filePath(QStringLiteral("../share/tallora/help/Welcome.html"))}) {
        if (QFileInfo::exists(candidate)) {
            const QString page = QFileInfo(candidate).canonicalFilePath();
            if (!services_.OpenDocument(page)) {
                services_.Boxes.ShowMessage(
                    MessageKind::Warning, MessageButtons::Ok,
                    "The help pages are in\r\n" + QFileInfo(page).absolutePath().toStdString() +
                        "\r\nbut no program could be started to show them.");
            }
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
    if (exitForm)
        name = currentFileName_.isEmpty() ? QStringLiteral("[untitled]")
                                          : FileNamePart(currentFileName_);
    else
        name =
            currentFileName_.isEmpty() ? QStringLiteral("untitled") : ShortName(currentFileName_);
    const MessageAnswer answer = services_.Boxes.ShowMessage(
        exitForm ? MessageKind::Plain : MessageKind::Confirmation, MessageButtons::YesNoCancel,
        QStringLiteral("Save changes to %1 ?").arg(name).toStdString());
    if (answer == MessageAnswer::Cancel) return false;
    if (answer == MessageAnswer::Yes) {
        if (currentFileName_.isEmpty())
            SaveAs1Click();
        else
            Save1Click();
    }
    return true;
}

void TMainForm::ClearJob() {
    DoRegCheck(services_.Store, services_.Shell);
    ReadCFGData(services_.Store, job_.Allowances, settings_);
    EmptyJob();
}

void TMainForm::EmptyJob() {
    resultsValid_ = false;
    // Everything of the last job but its allowances and the charge names.
    CuttingJob fresh;
    fresh.Allowances = job_.Allowances;
    fresh.Costing.OtherName1 = job_.Costing.OtherName1;
    fresh.Costing.OtherName2 = job_.Costing.OtherName2;
    fresh.Costing.OtherName3 = job_.Costing.OtherName3;
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
            services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok,
                                        std::strerror(errno));
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

TMainForm::OpenResult TMainForm::ReadJobFile(const QString& path, bool commandLine,
                                             std::string* systemError) {
    std::string error;
    const auto lines = ReadTextFile(path.toStdString(), error);
    if (!lines) {
        if (!commandLine)
            services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, error);
        if (systemError != nullptr) *systemError = error;
        return OpenResult::SystemError;
    }
    const JobFileRead read = DoOpen(*lines, job_, services_.Boxes);
    if (read.Status == ReadStatus::NotADataFile) return OpenResult::NotAJob;
    if (read.Status == ReadStatus::OldVersion) {
        const OldReadStatus old = ConvertOldVersion(*lines, job_, services_.Boxes);
        if (old != OldReadStatus::Read) {
            ShowJob();
            CheckInputData();
            return old == OldReadStatus::BadFile ? OpenResult::NotAJob : OpenResult::Opened;
        }
        // Recalculated as Calculate does, then written again in the current format.
        StartCalculation([this, file = path.toStdString()](const CalculateResult& result) {
            ShowJob();
            CheckInputData();
            canSave_ = true;
            UpdateCommands();
            resultsValid_ = result.Completed;
            const std::string error =
                SaveConvertedVersion(file, job_, result.Stats, services_.Boxes);
            if (!error.empty())
                services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, error);
        });
        return OpenResult::Opened;
    }
    ShowJob();
    costing_->ReloadNames();
    if (read.Status == ReadStatus::Loaded) {
        ShowStatistics(read.Stats);
        resultsValid_ = read.ResultsValid;
        CheckInputData();
        EnableOutputCommands(true);
    }
    return OpenResult::Opened;
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
        if (!OpenPath(Q(*chosen))) return;
    }
    KeepOpened();
}

bool TMainForm::OpenPath(const QString& path) {
    ClearJob();
    // A file that is not a job never becomes the job's file, the Reopen list's or LastDir.
    if (ReadJobFile(path, false) != OpenResult::Opened) {
        SetCaption();
        return false;
    }
    currentFileName_ = path;
    return true;
}

void TMainForm::KeepOpened() {
    recent_->MRU_Add(currentFileName_.toStdString());
    RebuildReopenMenu();
    SetCaption();
    WriteLastDir(services_.Store, currentFileName_.toStdString());
}

// A job file dragged from the file manager opens as File, Open would open it.
QString TMainForm::DroppedJob(const QMimeData* data) const {
    if (calculating_ || data == nullptr || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    if (!url.isLocalFile()) return {};
    const QString path = url.toLocalFile();
    return path.endsWith(QStringLiteral(".tlf"), Qt::CaseInsensitive) ? path : QString();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedJob(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const QString path = DroppedJob(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    // The drag ends before any box is shown.
    QTimer::singleShot(0, this, [this, path] {
        if (!SavePrompt(false)) return;
        jobModified_ = false;
        currentFileName_.clear();
        if (OpenPath(path)) KeepOpened();
    });
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

void TMainForm::WriteSettings() {
    WriteCFGData(services_.Store, job_.Allowances, settings_);
    WriteWindowGeometry(services_.Store, "WindowGeometry", saveGeometry().toBase64().toStdString());
}

void TMainForm::RecordGrowth() {
    const auto find = [this](const char* name) {
        return centralWidget()->findChild<QWidget*>(QString::fromLatin1(name));
    };
    // The entry panels and their lists grow downwards, their buttons and the statistics below
    // them move down; the cutting list grows right and down; the tool bar spans the width.
    const std::vector<std::tuple<QWidget*, int, int, int>> rules = {
        {stockPanel_, 0, 1, 0},
        {cutPanel_, 0, 1, 0},
        {find("SListView"), 0, 1, 0},
        {find("CListView"), 0, 1, 0},
        {find("SModify"), 0, 0, 1},
        {find("SDelete"), 0, 0, 1},
        {find("CModify"), 0, 0, 1},
        {find("CDelete"), 0, 0, 1},
        {statisticsPanel_, 0, 0, 1},
        {memo_, 1, 1, 0},
        {centralWidget()->findChild<QToolBar*>(), 1, 0, 0}};
    for (const auto& [widget, wider, taller, lower] : rules) {
        if (widget != nullptr)
            growing_.push_back({widget, widget->geometry(), wider, taller, lower});
    }
}

void TMainForm::FitToClient() {
    const QSize extra = centralWidget()->size() - designClient_;
    const int dx = std::max(0, extra.width());
    const int dy = std::max(0, extra.height());
    for (const Growing& g : growing_) {
        g.Widget->setGeometry(g.Design.x(), g.Design.y() + g.Lower * dy,
                              g.Design.width() + g.Wider * dx, g.Design.height() + g.Taller * dy);
    }
}

void TMainForm::ExitButtonClick() {
    WriteSettings();
    if (!SavePrompt(true)) return;
    // The program ends without the window's close request: no second prompt, and the temporary
    // reports stay.
    exiting_ = true;
    services_.Quit();
}

void TMainForm::CloseButtonClick() { close(); }

void TMainForm::closeEvent(QCloseEvent* event) {
    if (exiting_) {
        event->accept();
        return;
    }
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
        if (position >= 0)
            connect(action, &QAction::triggered, this,
                    [this, position] { MRUMenuClick(position); });
    }
}

void TMainForm::MRUMenuClick(int position) {
    switch (recent_->Check(position)) {
        case RecentFiles::Reopen::Nothing:
            return;
        case RecentFiles::Reopen::Missing:
            services_.Boxes.ShowMessage(MessageKind::Warning, MessageButtons::Ok,
                                        recent_->RemoveMissing(position));
            RebuildReopenMenu();
            return;
        case RecentFiles::Reopen::Open:
            break;
    }
    const QString path = Q(recent_->Paths()[position]);
    if (!ResetClick()) return;
    if (ReadJobFile(path, false) == OpenResult::Opened) currentFileName_ = path;
    SetCaption();
}

// ----- output windows (made in their own files) -----

void TMainForm::DrawPatternsClick() {
    viewer_->Image()->update();
    if (viewer_->isVisible()) return;
    QWidget* before = QApplication::focusWidget();
    // While the viewer is open, hints show in its own status bar.
    SetHintBar(viewer_->StatusBar());
    viewer_->exec();
    SetHintBar(statusBar());
    RestoreFocus(before);
}

void TMainForm::CostingButtonClick() {
    QWidget* before = QApplication::focusWidget();
    const SectionData& s = job_.Section;
    const CostingSettings charges = job_.Costing;
    const double cost = s.Cost, weight = s.Weight;
    const std::string costType = s.CostType;
    const CostingOutcome back =
        costing_->Execute(s.Cost, s.Weight, s.CostType, stats_);
    // The window's working copies come back into the main window's fields, as one step.
    restoring_ = true;
    additionalPanel_->SetCostText(Q(back.CostText));
    additionalPanel_->SetCostType(back.CostType);
    additionalPanel_->SetWeightText(Q(back.WeightText));
    restoring_ = false;
    // A text that does not read leaves the job with the value its field last read.
    if (additionalPanel_->PriceProblem().isEmpty()) {
        job_.Section.Cost = back.Cost;
        job_.Section.Weight = back.Weight;
    }
    RecordEdit(QStringLiteral("Material Costing"));
    if (job_.Costing != charges || s.Cost != cost || s.Weight != weight ||
        s.CostType != costType) {
        OnJobEdited();
    }
    ShowStatistics(CompileStats(job_));
    RestoreFocus(before);
}

void TMainForm::PrintPDFButtonClick() {
    QtPrintEngine engine;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ReportOutcome outcome =
        PrintCuttingReport(engine, job_, statisticsPanel_->Texts(), ReportsFolder().toStdString(),
                           currentFileName_.toStdString());
    QApplication::restoreOverrideCursor();
    switch (outcome.Status) {
        case ReportOutcome::Result::Saved:
            if (!services_.OpenDocument(PathToQString(outcome.File))) {
                services_.Boxes.ShowMessage(
                    MessageKind::Warning, MessageButtons::Ok,
                    "The report was written to\r\n" + outcome.File.string() +
                        "\r\nbut no program could be started to show it. It is removed when "
                        "Tallora closes: File, Export PDF... keeps a copy where you choose.");
            }
            break;
        case ReportOutcome::Result::SaveFailed:
            services_.Boxes.Inform(outcome.Message);
            break;
        case ReportOutcome::Result::FileError:
            services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, outcome.Message);
            break;
    }
}

void TMainForm::ExportPDFClick() {
    const auto chosen = services_.Boxes.AskSaveFileName(ExportOptions("Export PDF", "PDF", "pdf"));
    if (!chosen) return;
    QtPrintEngine engine;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool saved = ExportReport(engine, job_, statisticsPanel_->Texts(), *chosen);
    QApplication::restoreOverrideCursor();
    if (!saved) {
        services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok,
                                    "The report could not be written to\r\n" + *chosen +
                                        "\r\nThe folder may not exist or may not be writable, "
                                        "or another program has the file open.");
    }
}

void TMainForm::ImportRows1Click() {
    const auto list = services_.Boxes.AskChoice(
        "Import Rows", "Which list should the rows of the file go into?", {"Stock", "Cut"});
    if (!list) return;
    FileDialogOptions options;
    options.Title = *list == 0 ? "Import Stock Lengths" : "Import Cut Lengths";
    options.Filter =
        "Rows (*.csv;*.tsv;*.txt)|*.csv;*.tsv;*.txt|CSV file (*.csv)|*.csv|Any file (*.*)|*.*";
    options.InitialFolder = InitialDialogFolder(services_.Store, services_.Shell);
    const auto chosen = services_.Boxes.AskOpenFileName(options);
    if (!chosen) return;
    std::string error;
    const auto text = ReadRowsFile(*chosen, error);
    if (!text) {
        services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, error);
        return;
    }
    (*list == 0 ? stockPanel_ : cutPanel_)->ImportRows(Q(*text));
}

FileDialogOptions TMainForm::ExportOptions(const char* title, const char* kind,
                                           const char* extension) const {
    FileDialogOptions options;
    options.Title = title;
    options.Filter =
        std::string(kind) + " file (*." + extension + ")|*." + extension + "|Any file (*.*)|*.*";
    options.DefaultExtension = extension;
    options.ConfirmOverwrite = true;
    options.InitialFolder = InitialDialogFolder(services_.Store, services_.Shell);
    return options;
}

void TMainForm::ExportCuttingList1Click() {
    const auto chosen =
        services_.Boxes.AskSaveFileName(ExportOptions("Export Cutting List", "CSV", "csv"));
    if (!chosen) return;
    const std::string error = WriteFileSafely(*chosen, CuttingListCsv(job_));
    if (!error.empty()) {
        services_.Boxes.ShowMessage(
            MessageKind::Error, MessageButtons::Ok,
            "The cutting list could not be written to\r\n" + *chosen + "\r\n" + error);
    }
}

TInventoryForm* TMainForm::InventoryForm() const { return inventory_.data(); }

void TMainForm::UseOffcuts1Click() {
    try {
        const OffcutStore store = OpenInventory(services_.Store, services_.Shell);
        const InventoryCommandResult result = UseOffcutsFromInventory(job_, store);
        if (result.Changed) {
            stockPanel_->Reload();
            OnRowsChanged();
            RecordEdit(QStringLiteral("Use Offcuts from Inventory"));
        }
        services_.Boxes.ShowMessage(MessageKind::Information, MessageButtons::Ok, result.Message);
    } catch (const InventoryError& error) {
        services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, error.what());
    }
}

void TMainForm::BookOffcuts1Click() {
    if (!resultsValid_) return;
    try {
        OffcutStore store = OpenInventory(services_.Store, services_.Shell);
        const InventoryCommandResult result =
            BookOffcutsToInventory(store, job_, currentFileName_.toStdString());
        if (inventory_) inventory_->Refresh();
        services_.Boxes.ShowMessage(MessageKind::Information, MessageButtons::Ok, result.Message);
    } catch (const InventoryError& error) {
        services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, error.what());
    }
}

void TMainForm::Inventory1Click() {
    if (!inventory_) {
        try {
            OffcutStore store = OpenInventory(services_.Store, services_.Shell);
            inventory_ =
                new TInventoryForm(std::move(store), services_.Boxes,
                                   InitialDialogFolder(services_.Store, services_.Shell), this);
        } catch (const InventoryError& error) {
            services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, error.what());
            return;
        }
        inventory_->setAttribute(Qt::WA_DeleteOnClose);
        // The job's own section first, when the inventory has offcuts of it.
        if (!SectionKey(job_.Section.Name).empty())
            inventory_->SelectSection(job_.Section.Name);
    } else {
        inventory_->Refresh();
    }
    inventory_->show();
    inventory_->raise();
    inventory_->activateWindow();
}

}  // namespace tallora
