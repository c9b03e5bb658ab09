#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>

#include "commands/Dialogs.h"

namespace tallora {

// The host of a calculation that runs on a worker thread: every call becomes a signal, which the
// main window connects to its windows with Qt::BlockingQueuedConnection, so the calls are carried
// out on the window's thread, in order, before the calculation goes on. Call it from the worker
// only: a blocking connection from the window's own thread would wait for itself.
class QtCalculationHost : public QObject, public CalculateHost {
    Q_OBJECT
public:
    using QObject::QObject;

    // The window is going: later calls show nothing and the question is answered No, so that
    // the calculation can run to its end on its own.
    void Detach() { detached_ = true; }
    // Cancel in the progress window; a new calculation starts without it.
    void RequestCancel() { cancel_ = true; }
    void ResetCancel() { cancel_ = false; }
    bool CancelRequested() override { return cancel_ || detached_; }

    bool AskQuestion(const std::string& text) override;
    void ShowError(const std::string& text) override;
    void SetBusyCursor(bool busy) override {
        if (!detached_) emit busyCursorSet(busy);
    }
    void SetStatusText(const std::string& text) override {
        if (!detached_) emit statusTextSet(Q(text));
    }
    void ClearCuttingList() override {
        if (!detached_) emit cuttingListCleared();
    }
    void SetMainWindowEnabled(bool enabled) override {
        if (!detached_) emit mainWindowEnabled(enabled);
    }
    void ShowProgress(int maximum) override {
        if (!detached_) emit progressShown(maximum);
    }
    void HideProgress() override {
        if (!detached_) emit progressHidden();
    }
    void SetProgressPosition(int position) override {
        if (!detached_) emit progressMoved(position);
    }
    void UpdateProgress(int position, const std::string& allocatedLine,
                        const std::string& remainingLine) override {
        if (!detached_) emit progressUpdated(position, Q(allocatedLine), Q(remainingLine));
    }
    void SetPermutationLine(const std::string& text) override {
        if (!detached_) emit permutationLineSet(Q(text));
    }
    // The window's thread runs its own loop while the worker calculates.
    void ProcessMessages() override {}
    void ShowSectionPrices() override {
        if (!detached_) emit sectionPricesRewritten();
    }
    void EnableOutputCommands() override {
        if (!detached_) emit outputCommandsEnabled();
    }
    void ShowStatistics(const Statistics& stats) override {
        if (!detached_) emit statisticsShown(stats);
    }
    void ShowCuttingList(const std::vector<std::string>& lines) override;

signals:
    void questionAsked(const QString& text, bool* yes);
    void errorShown(const QString& text);
    void busyCursorSet(bool busy);
    void statusTextSet(const QString& text);
    void cuttingListCleared();
    void mainWindowEnabled(bool enabled);
    void progressShown(int maximum);
    void progressHidden();
    void progressMoved(int position);
    void progressUpdated(int position, const QString& allocatedLine, const QString& remainingLine);
    void permutationLineSet(const QString& text);
    void sectionPricesRewritten();
    void outputCommandsEnabled();
    void statisticsShown(const tallora::Statistics& stats);
    void cuttingListShown(const QStringList& lines);

private:
    static QString Q(const std::string& text) { return QString::fromStdString(text); }
    std::atomic<bool> detached_ = false;
    std::atomic<bool> cancel_ = false;
};

}  // namespace tallora
