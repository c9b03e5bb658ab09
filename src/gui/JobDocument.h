#pragma once

#include <QObject>
#include <QString>

#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "results/Statistics.h"

class QUndoStack;

namespace tallora {

// The one open job of the main window: what the user entered, the result shown with its
// statistics, the file it belongs to, whether it changed since, and the history of the user's
// edits. Lives on the window's thread; a calculation works on a copy of the input.
class JobDocument : public QObject {
    Q_OBJECT
public:
    explicit JobDocument(QObject* parent = nullptr);

    JobInput& Input() { return input_; }
    const JobInput& Input() const { return input_; }
    const CalculationResult& Result() const { return result_; }
    CalculationResult& Result() { return result_; }
    const Statistics& Stats() const { return stats_; }
    // A result the output commands can show: a completed calculation, or one read from a file.
    bool HasResults() const { return hasResults_; }

    // A calculation's result, or a file's: shown from now on.
    void SetResult(CalculationResult result, const Statistics& stats, bool valid);
    void SetStats(const Statistics& stats) { stats_ = stats; }
    // No result: a new job, or a calculation refused after it started.
    void ClearResult();

    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& name) { fileName_ = name; }
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // The Edit menu's history.
    QUndoStack& History() const { return *history_; }
    // An edit of the user's may have changed the input: it becomes a step of the history, named
    // `what` or after the field it changed. `input` counts key and mouse presses, `focus` focus
    // changes: keystrokes in one field merge into one step until the focus moves.
    void RecordEdit(const QString& what, int input, int focus);
    // The input was replaced (New, a file, the recovered inputs): nothing before can be undone.
    void ResetHistory();
    // The program changed the input (prices rewritten): no step of the history.
    void AcceptInput() { recorded_ = input_; }

signals:
    // Undo or redo put these parts (InputPart bits) of the input back; "Scrap all waste" is one
    // of the changes, which the cutting list shows.
    void inputRestored(unsigned parts, bool scrapAllChanged);

private:
    void Restore(const JobInput& from, unsigned parts);

    JobInput input_;
    CalculationResult result_;
    Statistics stats_;
    bool hasResults_ = false;
    QString fileName_;
    bool modified_ = false;
    QUndoStack* history_;
    JobInput recorded_;  // the input as the last step of the history left it
};

}  // namespace tallora
