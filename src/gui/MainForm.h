#pragma once

#include <QAction>
#include <QFutureWatcher>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <functional>
#include <memory>
#include <vector>

#include "commands/Calculate.h"
#include "commands/Dialogs.h"
#include "entry/InputEdits.h"
#include "job/CuttingJob.h"
#include "results/NumberFormat.h"
#include "results/Statistics.h"
#include "storage/RecentFiles.h"
#include "storage/RegistryStore.h"
#include "storage/Settings.h"

namespace tallora {

class AdditionalDataPanel;
class EntryPanel;
class SettingsPanel;
class StatisticsPanel;
class TProgressForm;
class TCostingForm;
class TImageForm;
class TInventoryForm;
class QtCalculationHost;
}  // namespace tallora

class QUndoStack;

namespace tallora {

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

// The main window: owns the one open job and its document state.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(DesktopServices services, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Main window creation: settings, recent files, an empty job, the file named on the command
    // line (empty for none), zeroed statistics and the offer to recover autosaved inputs.
    void FormCreate(const QString& commandLineFile);
    // Program start: the window is shown first, so that every start-up message has it behind.
    void ShowAndStart(const QString& commandLineFile);

    // Handlers.
    void CalculateButtonClick();
    void Standard1Click();
    void Fast1Click();
    void Optimal1Click();
    void OptimalTime1Click();
    void HintsOff1Click();
    void Contents1Click();
    void About1Click();
    bool ResetClick();  // false when the save prompt was cancelled
    void Open1Click();
    void Save1Click();
    void SaveAs1Click();
    void ExitButtonClick();
    void CloseButtonClick();
    void MRUMenuClick(int position);
    void DrawPatternsClick();
    void CostingButtonClick();
    void PrintPDFButtonClick();
    void ExportPDFClick();
    // Rows from a CSV or text file into the list the user picks, as a paste would take them.
    void ImportRows1Click();
    // The cutting list as a CSV file where the user chooses.
    void ExportCuttingList1Click();
    // The offcut inventory: its offcuts of the job's section as stock rows, the calculated job's
    // offcuts booked into it, and its window.
    void UseOffcuts1Click();
    void BookOffcuts1Click();
    void Inventory1Click();

    // Document state.
    CuttingJob& Job() { return job_; }
    const QString& CurrentFileName() const { return currentFileName_; }
    bool JobModified() const { return jobModified_; }
    bool ResultsValid() const { return resultsValid_; }
    Algorithm ChosenAlgorithm() const { return algorithm_; }
    // A calculation runs on its worker; the window is disabled until it ends.
    bool Calculating() const { return calculating_; }
    const Statistics& Stats() const { return stats_; }
    QString StatusText(int panel) const;
    const RecentFiles& Recent() const { return *recent_; }

    // The window's parts, for the windows that work with it.
    TProgressForm* ProgressForm() const { return progress_; }
    TCostingForm* CostingForm() const { return costing_; }
    TImageForm* ImageForm() const { return viewer_; }
    TInventoryForm* InventoryForm() const;  // the inventory window while it is open
    QMenu* ReopenMenu() const { return reopen_; }
    // The Edit menu's history of the user's edits.
    const QUndoStack& History() const { return *undoStack_; }
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
    struct WorkerResult {
        CalculateResult Result;
        std::string Failure;  // an error the calculation did not handle itself
    };

    void CreateActions();
    void CreateMenus();
    void CreateToolBar(QWidget* central);
    void CreatePanels(QWidget* central);
    void ConnectCalculationHost();

    // Calculate on the worker; `then` runs on the window's thread when it has ended.
    void StartCalculation(std::function<void(const CalculateResult&)> then);
    void CalculationEnded();
    // Runs now, or after the calculation that is running.
    void WhenIdle(std::function<void()> work);
    // The rest of FormCreate, after a file given on the command line was read and converted.
    void FinishStart();
    // Puts the keyboard back on a widget of this window after a calculation or a window.
    void RestoreFocus(QWidget* before);
    // The user changed something of the job besides its rows.
    void OnJobEdited();
    void OnPriceProblem(const QString& problem);

    // Every command's availability, from the document state.
    void UpdateCommands();
    // CheckInputData: Calculate's availability and the status bar summary.
    void CheckInputData();
    void OnRowsChanged();
    // An edit of the user's may have changed the job's inputs: it becomes a step of the history
    // (named `what`, or after the field it changed).
    void RecordEdit(const QString& what = {});
    // Undo and redo: puts parts of the inputs back into the job and shows them, as an edit would.
    void RestoreInputs(const JobInputs& inputs, unsigned parts);
    // The job was replaced (New, a file): nothing before it can be undone.
    void ResetHistory();
    // Allowances, weight, cost or cost type changed: the statistics of a result follow.
    void RefreshStatistics();
    void RefreshStatisticsAndList();
    void ShowStatistics(const Statistics& stats);
    void ShowCuttingList();
    void EnableOutputCommands(bool enabled);
    void RewriteSectionPrices();
    void SetCaption();
    void ShowJob();  // every panel from the job
    void ZeroStatistics();

    // The document commands' parts.
    bool SavePrompt(bool exitForm);
    void ClearJob();  // New's clearing, without the prompt
    void EmptyJob();  // an untitled job without rows or results, with the allowances in force
    OpenResult ReadJobFile(const QString& path, bool commandLine,
                           std::string* systemError = nullptr);
    bool WriteJobFile(const QString& path);
    FileDialogOptions DialogOptions(bool save) const;
    void WriteSettings();
    void RebuildReopenMenu();
    QString ReportsFolder() const;

    DesktopServices services_;
    CuttingJob job_;
    ProgramSettings settings_;
    Algorithm algorithm_ = Algorithm::Complex;
    Statistics stats_;
    QString currentFileName_;
    bool jobModified_ = false;
    bool resultsValid_ = false;
    bool calculating_ = false;
    bool exiting_ = false;  // Exit ends the program: no close request runs
    QPointer<QWidget> focusBefore_;
    QString shownProblem_;
    bool canSave_ = false;    // Save and Save As
    bool canOutput_ = false;  // the report, the diagram and the costing
    bool canCalculate_ = false;
    int sortColumn_ = 0;
    std::unique_ptr<RecentFiles> recent_;
    QFutureWatcher<WorkerResult>* worker_ = nullptr;
    std::function<void(const CalculateResult&)> afterCalculation_;
    std::vector<std::function<void()>> whenIdle_;

    EntryPanel* stockPanel_ = nullptr;
    EntryPanel* cutPanel_ = nullptr;
    SettingsPanel* settingsPanel_ = nullptr;
    AdditionalDataPanel* additionalPanel_ = nullptr;
    StatisticsPanel* statisticsPanel_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    QLabel* statusPanels_[3] = {};
    QStatusBar* hintBar_ = nullptr;
    TProgressForm* progress_ = nullptr;
    TCostingForm* costing_ = nullptr;
    TImageForm* viewer_ = nullptr;
    QPointer<TInventoryForm> inventory_;
    QtCalculationHost* host_ = nullptr;

    QUndoStack* undoStack_ = nullptr;
    JobInputs recorded_;      // the inputs as the last step of the history left them
    bool restoring_ = false;  // the program sets the fields: no step is recorded
    int inputSerial_ = 0;     // counts key and mouse presses
    int focusSerial_ = 0;     // counts focus changes

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
    QAction* useOffcuts_ = nullptr;
    QAction* bookOffcuts_ = nullptr;
    QAction* inventoryWindow_ = nullptr;
    QAction* exit_ = nullptr;
    QAction* calculate_ = nullptr;
    QAction* display_ = nullptr;
    QAction* costingAction_ = nullptr;
    QAction* close_ = nullptr;
    QAction* standard_ = nullptr;
    QAction* fast_ = nullptr;
    QAction* optimal_ = nullptr;
    QAction* optimalTime_ = nullptr;
    QAction* hintsOff_ = nullptr;
    QAction* contents_ = nullptr;
    QAction* about_ = nullptr;
    QMenu* reopen_ = nullptr;

    // The window may grow beyond its design size: the lists and the cutting list take the room.
    struct Growing {
        QWidget* Widget;
        QRect Design;
        int Wider;   // share of the extra width it takes (0 or 1)
        int Taller;  // share of the extra height it takes
        int Lower;   // moves down by the extra height
    };
    std::vector<Growing> growing_;
    QSize designClient_;
    void RecordGrowth();
    // Opening a chosen file: false when it is not a job (the job is then empty and untitled).
    bool OpenPath(const QString& path);
    void KeepOpened();  // the opened file into the Reopen list, the caption and LastDir
    QString DroppedJob(const QMimeData* data) const;
    // A save dialog for a file the program writes on request: "PDF file (*.pdf)" and so on.
    FileDialogOptions ExportOptions(const char* title, const char* kind,
                                    const char* extension) const;
    void FitToClient();
};

}  // namespace tallora
