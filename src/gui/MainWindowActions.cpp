// The main window's actions, its menus and its tool bar.
#include <QActionGroup>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>

#include "gui/MainWindow.h"
#include "gui/widgets/DesignGeometry.h"

namespace tallora {

namespace {

// An action with its menu caption, tool-bar caption, object name, icon and hint.
template <class Handler>
QAction* MakeAction(MainWindow* window, const QString& text, const QString& iconText,
                    const char* name, const char* icon, const QString& hint, Handler handler) {
    auto* a = new QAction(text, window);
    a->setObjectName(QString::fromLatin1(name));
    if (!iconText.isEmpty()) a->setIconText(iconText);
    if (icon != nullptr) a->setIcon(QIcon(QStringLiteral(":/icons/") + QString::fromLatin1(icon)));
    if (!hint.isEmpty()) a->setStatusTip(hint);
    QObject::connect(a, &QAction::triggered, window, handler);
    return a;
}

}  // namespace

void MainWindow::createFileActions() {
    new_ = MakeAction(this, tr("&New"), tr("New"), "New", "new.svg", tr("Start a new cutting list"),
                      [this] { newJob(); });
    new_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    open_ = MakeAction(this, tr("&Open..."), tr("Open"), "Open", "open.svg",
                       tr("Open a saved cutting list"), &MainWindow::openJob);
    open_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    save_ = MakeAction(this, tr("&Save"), tr("Save"), "Save", "save.svg",
                       tr("Save the cutting list"), &MainWindow::saveJob);
    save_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    saveAs_ =
        MakeAction(this, tr("Save &As..."), {}, "SaveAs", nullptr, {}, &MainWindow::saveJobAs);
    print_ = MakeAction(this, tr("&Print..."), tr("Print PDF"), "Print", "pdf.svg",
                        tr("Make the cutting report as a PDF file and open it"),
                        &MainWindow::printReport);
    print_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    exportPdf_ = MakeAction(this, tr("&Export PDF..."), {}, "ExportPdf", nullptr,
                            tr("Write the cutting report as a PDF file where you choose"),
                            &MainWindow::exportReport);
    importRows_ =
        MakeAction(this, tr("&Import Rows..."), {}, "ImportRows", nullptr,
                   tr("Add stock or cut lengths from a CSV or text file"), &MainWindow::importRows);
    exportCuttingList_ =
        MakeAction(this, tr("Export &Cutting List..."), {}, "ExportCuttingList", nullptr,
                   tr("Write the cutting list as a CSV file for a spreadsheet"),
                   &MainWindow::exportCuttingList);
    printLabels_ = MakeAction(this, tr("Print &Labels..."), {}, "PrintLabels", nullptr,
                              tr("Make a label with a barcode for every piece, as a PDF file, "
                                 "and open it"),
                              &MainWindow::printLabels);
    exportSawSheet_ = MakeAction(this, tr("Export Sa&w Sheet..."), {}, "ExportSawSheet", nullptr,
                                 tr("Write the bars in cutting order, as PDF or CSV, for the saw"),
                                 &MainWindow::exportSawSheet);
    exit_ = MakeAction(this, tr("E&xit"), {}, "Exit", nullptr, {}, &MainWindow::exitProgram);
    exit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void MainWindow::createActions() {
    createFileActions();
    // Their texts name the step: "&Undo Paste 50 Cut Lengths".
    QUndoStack& history = document_->History();
    undo_ = history.createUndoAction(this, tr("&Undo"));
    undo_->setObjectName(QStringLiteral("Undo"));
    undo_->setIconText(tr("Undo"));
    undo_->setIcon(QIcon(QStringLiteral(":/icons/undo.svg")));
    undo_->setStatusTip(tr("Undo the last change to the lists, settings or data"));
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_ = history.createRedoAction(this, tr("&Redo"));
    redo_->setObjectName(QStringLiteral("Redo"));
    redo_->setIconText(tr("Redo"));
    redo_->setIcon(QIcon(QStringLiteral(":/icons/redo.svg")));
    redo_->setStatusTip(tr("Make the change that was undone again"));
    redo_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    useOffcuts_ =
        MakeAction(this, tr("&Use Offcuts from Inventory"), {}, "UseOffcuts", nullptr,
                   tr("Add the inventory's offcuts of the job's section to the stock list"),
                   &MainWindow::useOffcuts);
    bookOffcuts_ = MakeAction(this, tr("&Book Offcuts to Inventory"), {}, "BookOffcuts", nullptr,
                              tr("Keep the offcuts this job returns to stock, and take away the "
                                 "inventory offcuts it cut"),
                              &MainWindow::bookOffcuts);
    inventoryWindow_ = MakeAction(this, tr("Offcut &Inventory..."), {}, "InventoryWindow", nullptr,
                                  tr("See, change and export the offcuts kept in stock"),
                                  &MainWindow::showInventory);
    calculate_ = MakeAction(this, tr("Calculate"), tr("Calculate"), "Calculate", "calculate.svg",
                            tr("Work out the cutting patterns for the lengths entered"),
                            &MainWindow::calculate);
    calculate_->setShortcut(QKeySequence(Qt::Key_F9));
    diagramAction_ =
        MakeAction(this, tr("Cutting Diagram"), tr("Cutting Diagram"), "Diagram", "diagram.svg",
                   tr("Show the cutting patterns as bar diagrams"), &MainWindow::showDiagram);
    diagramAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    costingAction_ = MakeAction(
        this, tr(" Material Costing "), tr(" Material Costing "), "Costing", "costing.svg",
        tr("Price the material, cutting and other charges of the job"), &MainWindow::showCosting);
    costingAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    // The tool bar's Exit closes the window, which the File menu's Exit does not quite do.
    close_ = MakeAction(this, tr("Exit"), tr("Exit"), "Close", "exit.svg", tr("Close Tallora"),
                        &MainWindow::closeWindow);

    complex_ =
        MakeAction(this, tr("Complex"), {}, "Complex", nullptr, {}, &MainWindow::chooseComplex);
    fast_ = MakeAction(this, tr("Fast"), {}, "Fast", nullptr, {}, &MainWindow::chooseFast);
    optimal_ = MakeAction(this, tr("Optimal"), {}, "Optimal", nullptr,
                          tr("Search for the plan that uses the least stock, and prove how close "
                             "it is"),
                          &MainWindow::chooseOptimal);
    optimalTime_ = MakeAction(this, tr("Optimal &Time Limit..."), {}, "OptimalTimeLimit", nullptr,
                              tr("How many seconds the Optimal algorithm may search"),
                              &MainWindow::askOptimalTimeLimit);
    optimalThreads_ = MakeAction(this, tr("Optimal T&hreads..."), {}, "OptimalThreads", nullptr,
                                 tr("How many threads the Optimal algorithm may search on"),
                                 &MainWindow::askOptimalThreads);
    auto* group = new QActionGroup(this);
    for (QAction* a : {complex_, fast_, optimal_}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    complex_->setChecked(true);
    hints_ =
        MakeAction(this, tr("&Turn hints off"), {}, "Hints", nullptr, {}, &MainWindow::toggleHints);
    contents_ =
        MakeAction(this, tr("&Contents"), {}, "HelpContents", nullptr, {}, &MainWindow::showHelp);
    contents_->setShortcut(QKeySequence(Qt::Key_F1));
    about_ = MakeAction(this, tr("&About"), {}, "About", nullptr, {}, &MainWindow::showAbout);
}

void MainWindow::createOptionsMenu() {
    QMenu* options = menuBar()->addMenu(tr("&Options"));
    options->setObjectName(QStringLiteral("OptionsMenu"));
    const std::pair<QString, JobUnits> units[] = {
        {tr("Metric (mm)"), JobUnits::Metric()},
        {tr("Imperial, to 1/16 inch"), JobUnits::ImperialIn(ImperialPrecision::Sixteenth)},
        {tr("Imperial, to 1/32 inch"), JobUnits::ImperialIn(ImperialPrecision::ThirtySecond)},
        {tr("Imperial, to 1/8 inch"), JobUnits::ImperialIn(ImperialPrecision::Eighth)},
        {tr("Imperial, decimal inches"), JobUnits::ImperialIn(ImperialPrecision::Decimal)},
    };
    auto unitsMenu = [&](const QString& title, const char* name, QActionGroup*& group,
                         void (MainWindow::*choose)(const JobUnits&)) {
        QMenu* menu = options->addMenu(title);
        menu->setObjectName(QString::fromLatin1(name));
        group = new QActionGroup(this);
        for (const auto& [text, value] : units) {
            QAction* a = menu->addAction(text);
            a->setCheckable(true);
            a->setObjectName(QString::fromLatin1(name) +
                             QString::fromStdString(UnitsText(value)).remove(QLatin1Char(' ')));
            group->addAction(a);
            connect(a, &QAction::triggered, this,
                    [this, choose, value = value] { (this->*choose)(value); });
        }
    };
    unitsMenu(tr("&Units of This Job"), "JobUnits", jobUnits_, &MainWindow::chooseJobUnits);
    unitsMenu(tr("Units of &New Jobs"), "NewJobUnits", newJobUnits_,
              &MainWindow::chooseNewJobUnits);
    options->addSeparator();
    QMenu* language = options->addMenu(tr("&Language"));
    language->setObjectName(QStringLiteral("LanguageMenu"));
    language_ = new QActionGroup(this);
    const std::pair<QString, QString> languages[] = {
        {tr("System Language"), QString()},
        {QStringLiteral("English"), QStringLiteral("en")},
        {QStringLiteral("Deutsch"), QStringLiteral("de")}};
    for (const auto& [text, code] : languages) {
        QAction* a = language->addAction(text);
        a->setCheckable(true);
        a->setData(code);
        language_->addAction(a);
        connect(a, &QAction::triggered, this, [this, code = code] { chooseLanguage(code); });
    }
}

void MainWindow::createMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    file->addAction(new_);
    file->addAction(open_);
    reopen_ = file->addMenu(tr("Reopen..."));
    reopen_->setObjectName(QStringLiteral("Reopen"));
    file->addAction(importRows_);
    file->addAction(save_);
    file->addAction(saveAs_);
    file->addSeparator();
    file->addAction(print_);
    file->addAction(exportPdf_);
    file->addAction(exportCuttingList_);
    file->addAction(printLabels_);
    file->addAction(exportSawSheet_);
    file->addSeparator();
    file->addAction(exit_);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    edit->addAction(undo_);
    edit->addAction(redo_);

    QMenu* algorithm = menuBar()->addMenu(tr("&Algorithm"));
    algorithm->setObjectName(QStringLiteral("AlgorithmMenu"));
    algorithm->addAction(complex_);
    algorithm->addAction(fast_);
    algorithm->addAction(optimal_);
    algorithm->addSeparator();
    algorithm->addAction(optimalTime_);
    algorithm->addAction(optimalThreads_);

    QMenu* inventory = menuBar()->addMenu(tr("&Inventory"));
    inventory->setObjectName(QStringLiteral("InventoryMenu"));
    inventory->addAction(useOffcuts_);
    inventory->addAction(bookOffcuts_);
    inventory->addSeparator();
    inventory->addAction(inventoryWindow_);

    createOptionsMenu();

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    help->addAction(hints_);
    help->addAction(contents_);
    help->addAction(about_);
}

void MainWindow::createToolBar(QWidget* central) {
    auto* bar = new QToolBar(central);
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    bar->setIconSize(QSize(Px(20), Px(20)));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
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
    button(diagramAction_, "DiagramButton");
    button(costingAction_, "CostingButton");
    bar->addSeparator();
    button(close_, "CloseButton");
}

}  // namespace tallora
