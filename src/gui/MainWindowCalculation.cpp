// The main window's calculations: starting one on the worker thread, its progress, what it
// gives, and the choice of algorithm with the Optimal algorithm's settings.
#include <QApplication>
#include <QLineEdit>
#include <QStatusBar>
#include <QTimer>
#include <utility>

#include "entry/ListEntry.h"
#include "gui/CalculationController.h"
#include "gui/CoreTexts.h"
#include "gui/MainWindow.h"
#include "gui/ProgressWindow.h"
#include "gui/entry/AdditionalDataPanel.h"
#include "gui/entry/EntryPanel.h"
#include "gui/results/StatisticsPanel.h"
#include "results/ProgressText.h"

namespace tallora {

bool MainWindow::Calculating() const { return calculation_->Running(); }

void MainWindow::calculate() {
    if (Calculating() || !SummariseInput(document_->Input()).CalculateEnabled) return;
    // A weight or cost that does not read is not taken as 0: it is put right first.
    if (QLineEdit* field = additionalPanel_->PriceProblemField()) {
        showError(tr("%1.\r\nPlease correct it before calculating.")
                      .arg(additionalPanel_->PriceProblem())
                      .toStdString());
        field->setFocus();
        return;
    }
    // Offcuts another job (or this one) booked since they were added are not cut again.
    if (!dropOffcutsGone() || !SummariseInput(document_->Input()).CalculateEnabled) return;
    startCalculation({});
}

void MainWindow::startCalculation(std::function<void(const CalculatedJob&)> then) {
    focusBefore_ = QApplication::focusWidget();
    afterCalculation_ = std::move(then);
    calculation_->Prepare();
    // The inputs are kept and the prices shown as their fields show them, before the question
    // of large jobs; the prices rewritten are no edit of the user's.
    JobInput& input = document_->Input();
    input = PrepareCalculation(
        input, algorithm_, &services_.Store, services_.Format, [this](const std::string& question) {
            return services_.Boxes.ShowMessage(MessageKind::Confirmation, MessageButtons::YesNo,
                                               question) == MessageAnswer::Yes;
        });
    additionalPanel_->ShowPrices();
    document_->AcceptInput();
    refreshStatistics();
    if (const auto error = RowsError(input)) {
        showError(*error);
        calculationEnded({}, {});
        return;
    }
    // The time limit is Optimal's; Complex keeps its own way of stopping.
    CalculationOptions options;
    options.Algorithm = algorithm_;
    if (algorithm_ == Algorithm::Optimal) options.TimeLimitSeconds = settings_.OptimalSeconds;
    if (settings_.OptimalThreads > 0)
        options.Threads = static_cast<unsigned>(settings_.OptimalThreads);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    statusBar()->clearMessage();
    statusPanels_[2]->setText(tr("Calculating Solution... Please Wait a Moment"));
    limit_ = options.TimeLimitSeconds;
    lastProgress_ = {};
    calculationClock_.start();
    activityTimer_->start();
    cuttingList_->clear();
    setEnabled(false);
    calculation_->Start(input, options);
}

void MainWindow::showProgress(const CalculationProgress& progress) {
    if (!Calculating()) return;
    if (progress.Phase == CalculationPhase::Started) {
        progress_->Start(progress.TotalPieces);
        progress_->SetPosition(1);
    }
    lastProgress_ = progress;
    showActivity();
    const int position =
        progress.PiecesPlaced + static_cast<int>(progress.TimeFraction * progress.PiecesLeft);
    progress_->SetPosition(progress.Phase == CalculationPhase::Optimal ? position
                                                                       : progress.PiecesPlaced);
    progress_->SetLines(CoreText(AllocatedLine(progress)), CoreText(RemainingLine(progress)));
    progress_->SetPermutationLine(CoreText(SearchLine(progress)));
}

void MainWindow::showActivity() {
    if (!Calculating()) return;
    // Nothing placed yet in a search: only the time shows that it works.
    const bool busy =
        lastProgress_.PiecesPlaced == 0 && lastProgress_.Phase == CalculationPhase::Searching;
    progress_->SetActivity(
        CoreText(ActivityLine(lastProgress_, calculationClock_.elapsed() / 1000.0, limit_)), busy);
}

void MainWindow::calculationEnded(const CalculatedJob& job, const QString& failure) {
    activityTimer_->stop();
    statusBar()->clearMessage();
    if (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
    progress_->hide();
    setEnabled(true);
    const CalculationOutcome& outcome = job.Outcome;
    if (!failure.isEmpty()) {
        // An error the calculation did not handle itself is shown, and the program goes on.
        showError(failure.toStdString());
    } else {
        showCalculated(outcome, job);
    }
    fast_->setChecked(algorithm_ == Algorithm::Fast);
    complex_->setChecked(algorithm_ == Algorithm::Complex);
    optimal_->setChecked(algorithm_ == Algorithm::Optimal);
    if (auto then = std::exchange(afterCalculation_, nullptr)) then(job);
    restoreFocus(focusBefore_);
    for (auto& work : std::exchange(whenIdle_, {})) work();
    emit calculationFinished();
}

void MainWindow::showCalculated(const CalculationOutcome& outcome, const CalculatedJob& job) {
    if (outcome.Completed) {
        document_->SetResult(outcome.Result, job.Stats, true);
        enableSave(true);
        showStatistics(job.Stats);
        showCuttingList();
        showStatusText(CoreText(job.StatusText));
    } else if (outcome.Cancelled) {
        // The results shown before are kept.
        showCuttingList();
        statusPanels_[2]->setText(tr(CancelledText));
    } else if (outcome.ResultsCleared) {
        // Refused once it had started: what was shown before is the job's no longer.
        document_->SetResult(outcome.Result, Statistics{}, false);
        showStatistics(Statistics{});
        updateCommands();
        statusPanels_[2]->clear();
        showError(outcome.Error);
    } else if (!outcome.Error.empty()) {
        showCuttingList();
        showError(outcome.Error);
    }
}

void MainWindow::restoreFocus(QWidget* before) {
    // Back where the user was, or in the cut quantity box: never on a command that Space runs.
    if (before != nullptr && before->isVisible() && before->isEnabled() &&
        before->window() == this) {
        before->setFocus();
    } else {
        cutPanel_->QuantityEdit()->setFocus();
    }
}

void MainWindow::whenIdle(std::function<void()> work) {
    if (Calculating())
        whenIdle_.push_back(std::move(work));
    else
        work();
}

void MainWindow::chooseComplex() {
    algorithm_ = Algorithm::Complex;
    complex_->setChecked(true);
}

void MainWindow::chooseFast() {
    algorithm_ = Algorithm::Fast;
    fast_->setChecked(true);
}

void MainWindow::chooseOptimal() {
    algorithm_ = Algorithm::Optimal;
    optimal_->setChecked(true);
}

// One whole-number setting of Optimal's: asked with its current value, kept when it reads.
bool MainWindow::askOptimalSetting(const QString& title, const char* prompt, const char* bad,
                                   int& value, std::optional<int> (*parse)(const std::string&)) {
    const auto text = services_.Boxes.AskText(title.toStdString(), tr(prompt).toStdString(),
                                              std::to_string(value));
    if (!text) return false;
    const auto read = parse(*text);
    if (!read) {
        showError(tr(bad).toStdString());
        return false;
    }
    value = *read;
    return true;
}

void MainWindow::askOptimalTimeLimit() {
    if (askOptimalSetting(tr("Optimal Time Limit"), OptimalSecondsPrompt, BadOptimalSecondsText,
                          settings_.OptimalSeconds, ParseOptimalSeconds))
        WriteOptimalSeconds(services_.Store, settings_.OptimalSeconds);
}

void MainWindow::askOptimalThreads() {
    if (askOptimalSetting(tr("Optimal Threads"), OptimalThreadsPrompt, BadOptimalThreadsText,
                          settings_.OptimalThreads, ParseOptimalThreads))
        WriteOptimalThreads(services_.Store, settings_.OptimalThreads);
}

// ----- hints, help, about -----

}  // namespace tallora
