#pragma once

#include <QAction>
#include <QActionGroup>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "commands/Calculate.h"
#include "commands/Dialogs.h"
#include "engine/Calculation.h"
#include "gui/JobDocument.h"
#include "results/NumberFormat.h"
#include "storage/RecentFiles.h"
#include "storage/RegistryStore.h"
#include "storage/Settings.h"

namespace tallora {

class AdditionalDataPanel;
class CalculationController;
class CostingWindow;
class DiagramWindow;
class EntryPanel;
class InventoryWindow;
class ProgressWindow;
class SettingsPanel;
class StatisticsPanel;

// What the main window needs of the platform; tests give fakes.
struct DesktopServices {
    RegistryStore& Store;
    ShellServices& Shell;
    Dialogs& Boxes;
    NumberFormat Format;
    // Opens a document or web page with the system's default handler.
    std::function<bool(const QString& path)> OpenDocument;
    // Ends the application (Exit from the File menu).
    std::function<void()> Quit;
};

// The main window: a view of the one open job (its JobDocument), the commands on it, and the
// calculation that runs on a worker.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(DesktopServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The program's start: settings, recent files, an empty job, the file named on the command
    // line (empty for none), zeroed statistics and the offer to recover autosaved inputs.
    void start(const QString& commandLineFile);
    // The same with the window shown first, so that every start-up message has it behind.
    void showAndStart(const QString& commandLineFile);

    // The commands, as the menus and the tool bar run them.
    void calculate();
    void chooseComplex();
    void chooseFast();
    void chooseOptimal();
    void askOptimalTimeLimit();
    void askOptimalThreads();
    void toggleHints();
    void showHelp();
    void showAbout();
    bool newJob();  // false when the save prompt was cancelled
    void openJob();
    void saveJob();
    void saveJobAs();
    void exitProgram();
    void closeWindow();
    void reopenRecent(int position);
    void showDiagram();
    void showCosting();
    void printReport();
    void exportReport();
    // Rows from a CSV or text file into the list the user picks, as a paste would take them.
    void importRows();
    // The cutting list as a CSV file where the user chooses.
    void exportCuttingList();
    // A label for every piece and kept offcut, in the layout the user picks, shown as the report
    // is: a PDF in the data folder, opened.
    void printLabels();
    // The bars in cutting order as a PDF or CSV file where the user chooses.
    void exportSawSheet();
    // The offcut inventory: its offcuts of the job's section as stock rows, the calculated job's
    // offcuts booked into it, and its window.
    void useOffcuts();
    void bookOffcuts();
    // Takes the offcuts gone from the inventory out of the stock list; false when the inventory
    // cannot say which they are.
    bool dropOffcutsGone();
    bool askOptimalSetting(const QString& title, const char* prompt, const char* bad, int& value,
                           std::optional<int> (*parse)(const std::string&));
    void showInventory();
    // Options: the open job put into other units (an undoable edit that converts every length
    // and says when one was rounded), the units new jobs take, and the desktop's language.
    void chooseJobUnits(const JobUnits& units);
    void chooseNewJobUnits(const JobUnits& units);
    void chooseLanguage(const QString& language);

    // Document state.
    JobDocument& Document() { return *document_; }
    const JobInput& Input() const { return document_->Input(); }
    const CalculationResult& Result() const { return document_->Result(); }
    const QString& CurrentFileName() const { return document_->FileName(); }
    bool JobModified() const { return document_->Modified(); }
    bool ResultsValid() const { return document_->HasResults(); }
    const Statistics& Stats() const { return document_->Stats(); }
    Algorithm ChosenAlgorithm() const { return algorithm_; }
    // A calculation runs on its worker; the window is disabled until it ends.
    bool Calculating() const;
    QString StatusText(int panel) const;
    const RecentFiles& Recent() const { return *recent_; }

    // The window's parts, for the windows that work with it.
    ProgressWindow* Progress() const { return progress_; }
    CostingWindow* Costing() const { return costing_; }
    DiagramWindow* Diagram() const { return diagram_; }
    InventoryWindow* Inventory() const;  // the inventory window while it is open
    QMenu* ReopenMenu() const { return reopen_; }
    // The Edit menu's history of the user's edits.
    const QUndoStack& History() const;
    // Hints go to this status bar while a window shows over the main one.
    void SetHintBar(QStatusBar* bar) { hintBar_ = bar; }

signals:
    // A calculation ended (completed, refused or failed) and the window is usable again.
    void calculationFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class OpenResult {
        Opened,       // a job file, read whole or in part (converted when of the earlier format)
        NotAJob,      // not a job file: the user was told
        SystemError,  // the file could not be read
    };

    void createActions();
    void createFileActions();
    void createMenus();
    void createToolBar(QWidget* central);
    void createPanels(QWidget* central);
    void connectPanels();

    // Calculate on the worker; `then` runs on the window's thread when it has ended.
    void startCalculation(std::function<void(const CalculatedJob&)> then);
    void showProgress(const CalculationProgress& progress);
    void showActivity();
    void calculationEnded(const CalculatedJob& job, const QString& failure);
    void showCalculated(const CalculationOutcome& outcome, const CalculatedJob& job);
    // Runs now, or after the calculation that is running.
    void whenIdle(std::function<void()> work);
    // The rest of the start, after a file given on the command line was read and converted.
    void finishStart();
    void openCommandLineFile(const QString& file);
    // Puts the keyboard back on a widget of this window after a calculation or a window.
    void restoreFocus(QWidget* before);
    // The user changed something of the job besides its rows.
    void onJobEdited();
    void onPriceProblem(const QString& problem);
    void onInputRestored(unsigned parts, bool scrapAllChanged);

    // Every command's availability, from the document state.
    void updateCommands();
    // Calculate's availability and the status bar summary of the lists.
    void summariseInput();
    void onRowsChanged();
    // An edit of the user's may have changed the job's input: a step of the history.
    void recordEdit(const QString& what = {});
    // Allowances, weight, cost or cost type changed: the statistics of a result follow.
    void refreshStatistics();
    void refreshStatisticsAndList();
    void showStatistics(const Statistics& stats);
    void showCuttingList();
    // Save and Save As for a job without anything entered (one read from a file).
    void enableSave(bool enabled);
    void setCaption();
    void showJob();  // every panel from the job

    // The document commands' parts.
    bool savePrompt(bool exitForm);
    void clearJob();  // New's clearing, without the prompt
    void emptyJob();  // an untitled job without rows or results, with the allowances in force
    // The file into the emptied job; `inForce` are the allowances before the file was opened.
    OpenResult readJobFile(const QString& path, bool commandLine, const Allowances& inForce,
                           std::string* systemError = nullptr);
    void convertEarlierFormat(const std::string& file);
    bool writeJobFile(const QString& path);
    FileDialogOptions dialogOptions(bool save) const;
    // A save dialog for a file the program writes on request: "PDF file (*.pdf)" and so on.
    FileDialogOptions exportOptions(const char* title, const char* kind,
                                    const char* extension) const;
    void writeSettings();
    void rebuildReopenMenu();
    QString reportsFolder() const;
    // Opening a chosen file: false when it is not a job (the job is then empty and untitled).
    bool openPath(const QString& path);
    void keepOpened();  // the opened file into the Reopen list, the caption and LastDir
    QString droppedJob(const QMimeData* data) const;
    void showError(const std::string& text);
    // The third panel of the status bar, on as many lines as the text needs.
    void showStatusText(const QString& text);

    void layOutPanels(QWidget* central);

    DesktopServices services_;
    JobDocument* document_;
    CalculationController* calculation_;
    ProgramSettings settings_;
    Algorithm algorithm_ = Algorithm::Complex;
    bool exiting_ = false;  // Exit ends the program: no close request runs
    QPointer<QWidget> focusBefore_;
    CalculationProgress lastProgress_;
    std::optional<double> limit_;
    QElapsedTimer calculationClock_;
    QTimer* activityTimer_ = nullptr;
    QString shownProblem_;
    bool canSave_ = false;  // Save and Save As
    bool canCalculate_ = false;
    int sortColumn_ = 0;
    std::unique_ptr<RecentFiles> recent_;
    std::function<void(const CalculatedJob&)> afterCalculation_;
    std::vector<std::function<void()>> whenIdle_;
    bool restoring_ = false;  // the program sets the fields: no step is recorded
    int inputSerial_ = 0;     // counts key and mouse presses
    int focusSerial_ = 0;     // counts focus changes

    EntryPanel* stockPanel_ = nullptr;
    EntryPanel* cutPanel_ = nullptr;
    SettingsPanel* settingsPanel_ = nullptr;
    AdditionalDataPanel* additionalPanel_ = nullptr;
    StatisticsPanel* statisticsPanel_ = nullptr;
    QPlainTextEdit* cuttingList_ = nullptr;
    QLabel* statusPanels_[3] = {};
    QStatusBar* hintBar_ = nullptr;
    ProgressWindow* progress_ = nullptr;
    CostingWindow* costing_ = nullptr;
    DiagramWindow* diagram_ = nullptr;
    QPointer<InventoryWindow> inventory_;

    // One action per command; the menu and the tool bar show the same action.
    QAction* new_ = nullptr;
    QAction* open_ = nullptr;
    QAction* save_ = nullptr;
    QAction* saveAs_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* print_ = nullptr;
    QAction* exportPdf_ = nullptr;
    QAction* importRows_ = nullptr;
    QAction* exportCuttingList_ = nullptr;
    QAction* printLabels_ = nullptr;
    QAction* exportSawSheet_ = nullptr;
    LabelOptions labelOptions_;  // as last chosen
    QAction* useOffcuts_ = nullptr;
    QAction* bookOffcuts_ = nullptr;
    QAction* inventoryWindow_ = nullptr;
    QAction* exit_ = nullptr;
    QAction* calculate_ = nullptr;
    QAction* diagramAction_ = nullptr;
    QAction* costingAction_ = nullptr;
    QAction* close_ = nullptr;
    QAction* complex_ = nullptr;
    QAction* fast_ = nullptr;
    QAction* optimal_ = nullptr;
    QAction* optimalTime_ = nullptr;
    QAction* optimalThreads_ = nullptr;
    QAction* hints_ = nullptr;
    QAction* contents_ = nullptr;
    QAction* about_ = nullptr;
    QActionGroup* jobUnits_ = nullptr;
    QActionGroup* newJobUnits_ = nullptr;
    QActionGroup* language_ = nullptr;
    void createOptionsMenu();
    void showUnits();
    QMenu* reopen_ = nullptr;

    QSize designClient_;
};

}  // namespace tallora
