#pragma once

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QToolButton>
#include <functional>
#include <memory>

#include "engine/Calculation.h"
#include "engine/CuttingJob.h"
#include "results/NumberFormat.h"
#include "results/Statistics.h"
#include "storage/Dialogs.h"
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
class QtCalculationHost;

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

    // Handlers.
    void CalculateButtonClick();
    void Standard1Click();
    void Fast1Click();
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

    // Document state.
    CuttingJob& Job() { return job_; }
    const QString& CurrentFileName() const { return currentFileName_; }
    bool JobModified() const { return jobModified_; }
    bool ResultsValid() const { return resultsValid_; }
    Algorithm ChosenAlgorithm() const { return algorithm_; }
    const Statistics& Stats() const { return stats_; }
    QString StatusText(int panel) const;
    const RecentFiles& Recent() const { return *recent_; }

    // The window's parts, for the windows that work with it.
    TProgressForm* ProgressForm() const { return progress_; }
    TCostingForm* CostingForm() const { return costing_; }
    TImageForm* ImageForm() const { return viewer_; }
    QMenu* ReopenMenu() const { return reopen_; }
    // Hints go to this status bar while a window shows over the main one.
    void SetHintBar(QStatusBar* bar) { hintBar_ = bar; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class QtCalculationHost;

    void CreateMenus();
    void CreateToolBar(QWidget* central);
    void CreatePanels(QWidget* central);

    // CheckInputData: Calculate's availability and the status bar summary.
    void CheckInputData();
    void OnRowsChanged();
    // Allowances, weight, cost or cost type changed: the statistics of a result follow.
    void RefreshStatistics();
    void RefreshStatisticsAndList();
    void ShowStatistics(const Statistics& stats);
    void ShowCuttingList();
    void EnableOutputCommands(bool enabled);
    void SetCaption();
    void ShowJob();  // every panel from the job
    void ZeroStatistics();

    // The document commands' parts.
    bool SavePrompt(bool exitForm);
    void ClearJob();  // New's clearing, without the prompt
    void EmptyJob();  // an untitled job without rows or results, with the allowances in force
    bool ReadJobFile(const QString& path, bool commandLine);
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
    int sortColumn_ = 0;
    std::unique_ptr<RecentFiles> recent_;

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
    std::unique_ptr<QtCalculationHost> host_;

    QAction* new_ = nullptr;
    QAction* open_ = nullptr;
    QAction* save_ = nullptr;
    QAction* saveAs_ = nullptr;
    QAction* print_ = nullptr;
    QAction* exit_ = nullptr;
    QAction* standard_ = nullptr;
    QAction* fast_ = nullptr;
    QAction* hintsOff_ = nullptr;
    QAction* contents_ = nullptr;
    QAction* about_ = nullptr;
    QMenu* reopen_ = nullptr;
    QToolButton* newButton_ = nullptr;
    QToolButton* openButton_ = nullptr;
    QToolButton* saveButton_ = nullptr;
    QToolButton* calculateButton_ = nullptr;
    QToolButton* printButton_ = nullptr;
    QToolButton* displayButton_ = nullptr;
    QToolButton* costingButton_ = nullptr;
    QToolButton* closeButton_ = nullptr;
};

}  // namespace tallora
