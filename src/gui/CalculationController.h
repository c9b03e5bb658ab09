#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <atomic>
#include <memory>

#include "commands/Calculate.h"

namespace tallora {

// Runs one calculation at a time on a worker thread: the worker gets its own copy of the input
// and hands the result back on the window's thread, so nothing is written by one thread while
// the other reads it. Progress comes back the same way, without holding the worker up.
class CalculationController : public QObject {
    Q_OBJECT
public:
    explicit CalculationController(NumberFormat format, QObject* parent = nullptr);
    // A calculation still running is stopped and waited for: it reads nothing of the window's.
    ~CalculationController() override;

    bool Running() const { return running_; }
    // A new calculation is being prepared: a stop asked for before belongs to the last one.
    void Prepare() { stop_->store(false); }
    void Start(JobInput input, CalculationOptions options);
    // Cancel in the progress window: the calculation stops at its next check.
    void RequestStop() { stop_->store(true); }

signals:
    void progressed(const tallora::CalculationProgress& progress);
    // The calculation ended; `failure` is an error it did not handle itself.
    void finished(const tallora::CalculatedJob& job, const QString& failure);

private:
    struct Outcome {
        CalculatedJob Job;
        QString Failure;
    };
    void Ended();

    NumberFormat format_;
    std::shared_ptr<std::atomic<bool>> stop_;
    QFutureWatcher<Outcome>* worker_;
    bool running_ = false;
};

}  // namespace tallora
