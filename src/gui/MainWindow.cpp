#include "gui/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QUndoStack>
#include <QVBoxLayout>
#include <utility>

#include "commands/OpenJob.h"
#include "entry/InputEdits.h"
#include "entry/ListEntry.h"
#include "gui/AboutBox.h"
#include "gui/CalculationController.h"
#include "gui/CoreTexts.h"
#include "gui/ProgressWindow.h"
#include "gui/costing/CostingWindow.h"
#include "gui/entry/AdditionalDataPanel.h"
#include "gui/entry/EntryPanel.h"
#include "gui/entry/SettingsPanel.h"
#include "gui/inventory/InventoryWindow.h"
#include "gui/results/DiagramWindow.h"
#include "gui/results/StatisticsPanel.h"
#include "gui/widgets/DesignGeometry.h"
#include "storage/TextFile.h"

namespace tallora {

namespace {

// A text of the core's, in the user's language where there is a translation.
QString Shown(const std::string& text) { return CoreText(text); }

bool IsUndoKey(const QKeyEvent* key) {
    const QKeyCombination combination = key->keyCombination();
    return combination == QKeyCombination(Qt::CTRL | Qt::Key_Z) ||
           combination == QKeyCombination(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) ||
           combination == QKeyCombination(Qt::CTRL | Qt::Key_Y);
}

}  // namespace

MainWindow::MainWindow(DesktopServices services, QWidget* parent)
    : QMainWindow(parent),
      services_(std::move(services)),
      document_(new JobDocument(this)),
      calculation_(new CalculationController(services_.Format, this)) {
    setObjectName(QStringLiteral("MainWindow"));
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
    setCentralWidget(central);
    createActions();
    createMenus();
    createToolBar(central);
    createPanels(central);
    layOutPanels(central);
    // The design's size, or more where a language's texts need it.
    central->setMinimumSize(designClient_.expandedTo(central->minimumSizeHint()));
    connectPanels();

    // The status bar: two panels of 220 and the rest.
    for (int i = 0; i < 3; ++i) {
        statusPanels_[i] = new QLabel(this);
        statusPanels_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        if (i < 2) statusPanels_[i]->setFixedWidth(Px(220));
        statusBar()->addWidget(statusPanels_[i], i == 2 ? 1 : 0);
    }
    // Optimal's line (the time, then how the plan stands against its bound) can be wider than
    // its panel: it goes on to a second line rather than being cut.
    statusPanels_[2]->setWordWrap(true);
    hintBar_ = statusBar();
    qApp->installEventFilter(this);

    progress_ = new ProgressWindow();
    connect(progress_, &ProgressWindow::cancelRequested, calculation_,
            &CalculationController::RequestStop);
    connect(calculation_, &CalculationController::progressed, this, &MainWindow::showProgress);
    connect(calculation_, &CalculationController::finished, this, &MainWindow::calculationEnded);
    // The time shown moves on while a long step of a search reports nothing.
    activityTimer_ = new QTimer(this);
    activityTimer_->setInterval(500);
    connect(activityTimer_, &QTimer::timeout, this, &MainWindow::showActivity);
    // The costing window exists before any job file is read: reading sets its charge names.
    costing_ = new CostingWindow(document_->Input(), document_->Result(), services_.Boxes,
                                 services_.Store, services_.Format, this);
    // A grip would take room from the status text at the design size.
    statusBar()->setSizeGripEnabled(false);
    // Never smaller than the design size; the window's edges make it larger.
    setMinimumSize(sizeHint());
    resize(sizeHint());
    diagram_ = new DiagramWindow(document_->Input(), document_->Result(), this);
}

MainWindow::~MainWindow() {
    // A calculation still running stops; it reads its own copy of the input.
    delete calculation_;
    qApp->removeEventFilter(this);
    // The panels view the job's rows: they go before the job does.
    delete takeCentralWidget();
    delete progress_;
}

void MainWindow::createPanels(QWidget* central) {
    JobInput& input = document_->Input();
    stockPanel_ = new EntryPanel(EntryPanel::Kind::Stock, input.StockRows, input.Units,
                                 services_.Boxes, sortColumn_, central);
    cutPanel_ = new EntryPanel(EntryPanel::Kind::Cut, input.CutRows, input.Units, services_.Boxes,
                               sortColumn_, central);
    settingsPanel_ = new SettingsPanel(input.Allowances, input.Units, central);
    additionalPanel_ =
        new AdditionalDataPanel(input.Section, services_.Format, input.Units, central);
    statisticsPanel_ = new StatisticsPanel(central);
    cuttingList_ = new QPlainTextEdit(central);
    cuttingList_->setObjectName(QStringLiteral("CuttingList"));
    cuttingList_->setReadOnly(true);
    cuttingList_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    cuttingList_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

namespace {

// A panel keeps its design size, or grows where its contents need more; a taller one takes
// the window's extra height.
void SizePanel(QWidget* panel, int width, int height, bool taller) {
    const QSize size = QSize(Px(width), Px(height)).expandedTo(panel->minimumSizeHint());
    panel->setFixedWidth(size.width());
    if (taller) {
        panel->setMinimumHeight(size.height());
        panel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    } else {
        panel->setFixedHeight(size.height());
    }
}

}  // namespace

void MainWindow::layOutPanels(QWidget* central) {
    // The tool bar across the top; below it the entry panels, the settings and the additional
    // data, with the statistics under them, and the cutting list on the right. The entry panels
    // take the window's extra height, the cutting list its extra width and height.
    auto* client = new QVBoxLayout(central);
    client->setContentsMargins(0, 0, 0, 0);
    client->setSpacing(0);
    auto* bar = central->findChild<QToolBar*>();
    bar->setFixedHeight(Px(46));
    client->addWidget(bar);
    auto* body = new QHBoxLayout;
    body->setContentsMargins(Px(8), Px(2), Px(8), Px(8));
    body->setSpacing(Px(7));
    client->addLayout(body, 1);

    auto* left = new QVBoxLayout;
    left->setSpacing(Px(7));
    auto* top = new QHBoxLayout;
    top->setSpacing(Px(7));
    for (QWidget* panel : {static_cast<QWidget*>(stockPanel_), static_cast<QWidget*>(cutPanel_)}) {
        SizePanel(panel, 185, 393, true);
        top->addWidget(panel);
    }
    auto* data = new QVBoxLayout;
    data->setSpacing(Px(7));
    for (QWidget* panel :
         {static_cast<QWidget*>(settingsPanel_), static_cast<QWidget*>(additionalPanel_)}) {
        SizePanel(panel, 241, 193, false);
        data->addWidget(panel);
    }
    data->addStretch(1);
    top->addLayout(data);
    left->addLayout(top, 1);
    SizePanel(statisticsPanel_, 625, 169, false);
    left->addWidget(statisticsPanel_);
    body->addLayout(left);

    // The cutting list's top stands level with the panels' frames, below their captions.
    auto* right = new QVBoxLayout;
    right->setContentsMargins(0, Px(6), 0, 0);
    cuttingList_->setMinimumSize(Px(281), Px(563));
    cuttingList_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    right->addWidget(cuttingList_);
    body->addLayout(right, 1);
}

void MainWindow::connectPanels() {
    connect(stockPanel_, &EntryPanel::rowsChanged, this, &MainWindow::onRowsChanged);
    connect(cutPanel_, &EntryPanel::rowsChanged, this, &MainWindow::onRowsChanged);
    connect(settingsPanel_, &SettingsPanel::allowanceChanged, this, &MainWindow::refreshStatistics);
    connect(settingsPanel_, &SettingsPanel::scrapAllChanged, this,
            &MainWindow::refreshStatisticsAndList);
    connect(additionalPanel_, &AdditionalDataPanel::pricesChanged, this,
            &MainWindow::refreshStatistics);
    // What the user changes is a change of the job; what the program sets (a file, New) is not.
    connect(settingsPanel_, &SettingsPanel::edited, this, &MainWindow::onJobEdited);
    connect(additionalPanel_, &AdditionalDataPanel::edited, this, &MainWindow::onJobEdited);
    connect(additionalPanel_, &AdditionalDataPanel::priceProblemChanged, this,
            &MainWindow::onPriceProblem);

    // Each change of the inputs, after the job has it, may be a step of the history.
    connect(stockPanel_, &EntryPanel::edited, this,
            [this](const QString& what) { recordEdit(what); });
    connect(cutPanel_, &EntryPanel::edited, this,
            [this](const QString& what) { recordEdit(what); });
    for (auto changed : {&SettingsPanel::allowanceChanged, &SettingsPanel::scrapAllChanged}) {
        connect(settingsPanel_, changed, this, [this] { recordEdit(); });
    }
    for (auto changed : {&AdditionalDataPanel::pricesChanged, &AdditionalDataPanel::textsChanged}) {
        connect(additionalPanel_, changed, this, [this] { recordEdit(); });
    }
    connect(document_, &JobDocument::inputRestored, this, &MainWindow::onInputRestored);
    connect(qApp, &QApplication::focusChanged, this, [this] { ++focusSerial_; });
}

void MainWindow::start(const QString& commandLineFile) {
    SetUpFirstRun(services_.Store, services_.Shell);
    ReadProgramSettings(services_.Store, document_->Input().Allowances, settings_);
    // The settings' allowances are in the units of new jobs.
    document_->Input().Units = ReadDefaultUnits(services_.Store);
    recent_->Load();
    rebuildReopenMenu();

    hints_->setText(settings_.Hints ? tr("&Turn hints off") : tr("&Turn hints on"));
    emptyJob();

    // The last run's inputs are offered first: taking them makes the job, and a file named on
    // the command line is then not read over them; declining reads it.
    if (AutoRecover(services_.Store, document_->Input(), services_.Boxes)) {
        showJob();
        summariseInput();
    } else if (!commandLineFile.isEmpty()) {
        openCommandLineFile(commandLineFile);
    }
    // An earlier-format file is recalculated first.
    whenIdle([this] { finishStart(); });
}

void MainWindow::openCommandLineFile(const QString& file) {
    // The long form of the path, as stored on disk.
    const QFileInfo info(file);
    const QString path = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    std::string error;
    switch (readJobFile(path, true, document_->Input().Allowances, &error)) {
        case OpenResult::Opened:
            document_->SetFileName(path);
            break;
        case OpenResult::NotAJob:
            clearJob();
            break;
        case OpenResult::SystemError:
            services_.Boxes.ShowMessage(
                MessageKind::Error, MessageButtons::Ok,
                tr("Error opening file.\r\n%1: %2").arg(path, Shown(error)).toStdString());
            clearJob();
            break;
    }
    setCaption();
}

void MainWindow::showAndStart(const QString& commandLineFile) {
    // Where the user left the window; a stored value Qt cannot read leaves the design size.
    if (const auto geometry = ReadWindowGeometry(services_.Store, "WindowGeometry")) {
        restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(*geometry)));
    }
    // Every message of the start has the main window behind it.
    show();
    start(commandLineFile);
}

void MainWindow::finishStart() {
    document_->SetModified(false);
    costing_->ReloadNames();
}

// ----- entry and results -----

void MainWindow::summariseInput() {
    const InputSummary summary = SummariseInput(document_->Input());
    canCalculate_ = summary.CalculateEnabled;
    updateCommands();
    statusPanels_[0]->setText(Shown(summary.StockText));
    statusPanels_[1]->setText(Shown(summary.CutText));
}

void MainWindow::updateCommands() {
    // Anything entered can be kept, calculated or not.
    const JobInput& input = document_->Input();
    const SectionData& s = input.Section;
    const bool entered = !input.StockRows.empty() || !input.CutRows.empty() ||
                         !s.Customer.empty() || !s.Reference.empty() || !s.Name.empty() ||
                         s.Weight != 0.0 || s.Cost != 0.0;
    save_->setEnabled(canSave_ || entered);
    saveAs_->setEnabled(canSave_ || entered);
    for (QAction* a : {print_, diagramAction_, exportPdf_, exportCuttingList_, printLabels_,
                       exportSawSheet_, costingAction_, bookOffcuts_})
        a->setEnabled(document_->HasResults());
    calculate_->setEnabled(canCalculate_);
}

void MainWindow::onRowsChanged() {
    document_->SetModified(true);
    summariseInput();
}

void MainWindow::recordEdit(const QString& what) {
    if (restoring_ || Calculating()) return;
    document_->RecordEdit(what, inputSerial_, focusSerial_);
}

void MainWindow::onInputRestored(unsigned parts, bool scrapAllChanged) {
    if (parts & InputPart::Units) {
        // The results shown were of the other units' lengths.
        document_->ClearResult();
        cuttingList_->clear();
        showStatistics(Statistics{});
        showUnits();
    }
    restoring_ = true;
    if (parts & InputPart::Stock) stockPanel_->Reload();
    if (parts & InputPart::Cut) cutPanel_->Reload();
    if (parts & InputPart::Allowances) settingsPanel_->Reload();
    if (parts & InputPart::Section) additionalPanel_->Reload();
    restoring_ = false;
    // What the same edit made by hand does to the document and the results shown.
    if (parts & (InputPart::Stock | InputPart::Cut)) onRowsChanged();
    if (parts & (InputPart::Allowances | InputPart::Section)) {
        onJobEdited();
        if (scrapAllChanged)
            refreshStatisticsAndList();
        else
            refreshStatistics();
    }
}

void MainWindow::onJobEdited() {
    document_->SetModified(true);
    updateCommands();
}

void MainWindow::onPriceProblem(const QString& problem) {
    // The third panel says what is wrong until it is put right.
    if (!problem.isEmpty())
        statusPanels_[2]->setText(problem);
    else if (statusPanels_[2]->text() == shownProblem_)
        statusPanels_[2]->clear();
    shownProblem_ = problem;
}

void MainWindow::refreshStatistics() {
    if (!document_->HasResults() || Calculating()) return;
    showStatistics(RefreshResult(document_->Input(), document_->Result(), false));
}

void MainWindow::refreshStatisticsAndList() {
    if (!document_->HasResults() || Calculating()) return;
    showStatistics(RefreshResult(document_->Input(), document_->Result(), true));
    showCuttingList();
}

void MainWindow::showStatistics(const Statistics& stats) {
    document_->SetStats(stats);
    StatisticsTexts texts = FormatStatistics(stats, services_.Format, document_->Input().Units);
    // In the window's language, for the report made from them too.
    for (std::string& caption : texts.Captions) caption = CoreText(caption).toStdString();
    texts.Translate = [](const std::string& english) { return CoreText(english).toStdString(); };
    statisticsPanel_->Show(texts);
    statisticsPanel_->ShowSawTotals(
        document_->HasResults()
            ? std::optional<SawTotals>(CountSawCuts(document_->Input(), document_->Result()))
            : std::nullopt,
        document_->Input().Units);
}

void MainWindow::showCuttingList() {
    // In English the lines are shown as they are, however many there are.
    const std::string total = "Total stock bars used:";
    const bool translated = Shown(total) != QString::fromStdString(total);
    QStringList lines;
    for (const auto& line : document_->Result().CuttingListLines)
        lines << (translated ? Shown(line) : QString::fromStdString(line));
    cuttingList_->setPlainText(lines.join(QLatin1Char('\n')));
}

void MainWindow::enableSave(bool enabled) {
    canSave_ = enabled;
    updateCommands();
}

void MainWindow::showJob() {
    showUnits();
    stockPanel_->Reload();
    cutPanel_->Reload();
    settingsPanel_->Reload();
    additionalPanel_->Reload();
    showCuttingList();
    // A hint of the control under the pointer would hide the status bar's panels until the
    // pointer moved again.
    statusBar()->clearMessage();
    // Every job shown whole is a new one (New, a file, the recovered inputs).
    document_->ResetHistory();
}

void MainWindow::setCaption() {
    const QString& file = document_->FileName();
    const QString name =
        file.isEmpty() ? tr("untitled") : QFileInfo(file).fileName().section('.', 0, 0);
    setWindowTitle(tr("Tallora: [") + name + QLatin1Char(']'));
}

QString MainWindow::StatusText(int panel) const { return statusPanels_[panel]->text(); }

const QUndoStack& MainWindow::History() const { return document_->History(); }

void MainWindow::showStatusText(const QString& text) {
    QLabel* panel = statusPanels_[2];
    panel->setText(text);
    panel->setToolTip(text);
    // The panel takes the lines the text needs, and the window grows to keep the design's room
    // for the lists when it does.
    statusBar()->layout()->activate();
    const bool wraps = panel->fontMetrics().horizontalAdvance(text) > panel->contentsRect().width();
    panel->setMinimumHeight(wraps ? panel->heightForWidth(panel->width()) : 0);
    if (wraps) setMinimumSize(minimumSizeHint().expandedTo(minimumSize()));
}

void MainWindow::showError(const std::string& text) {
    services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, text);
}

// ----- the calculation -----

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
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
            (pressed == diagramAction_->shortcut() || pressed == costingAction_->shortcut())) {
            event->ignore();
            return true;
        }
    }
    if (type == QEvent::ToolTip) {
        // A hint shows as a tool tip too, under the same switch; a tool button's hint names
        // its shortcut. Widgets with a tool tip of their own keep it.
        auto* widget = qobject_cast<QWidget*>(watched);
        // The diagram names what is under the pointer in its status bar: a tip there would
        // cover the very piece pointed at.
        if (widget != nullptr && widget->property(NoHintTipProperty).toBool()) return false;
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
    if (type == QEvent::StatusTip) {
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

void MainWindow::toggleHints() {
    settings_.Hints = !settings_.Hints;
    if (!settings_.Hints) statusBar()->clearMessage();
    hints_->setText(settings_.Hints ? tr("&Turn hints off") : tr("&Turn hints on"));
}

void MainWindow::showHelp() {
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
                    tr("The help pages are in\r\n%1\r\nbut no program could be started to show "
                       "them.")
                        .arg(QFileInfo(page).absolutePath())
                        .toStdString());
            }
            return;
        }
    }
    showError(tr("The help pages could not be found beside the program.").toStdString());
}

void MainWindow::showAbout() {
    AboutBox box(this);
    box.exec();
}

}  // namespace tallora
