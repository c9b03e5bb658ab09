#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "commands/Calculate.h"

namespace tallora {

// Runs one calculation at a time on a worker thread. The worker gets its own copy of the input;
// what it reports and the result it ends with wait in a mailbox under a mutex, which the
// window's thread empties on a short timer. Nothing is written by one thread while the other
// reads it, and no call crosses from the worker into the window system.
class CalculationController : public QObject {
    Q_OBJECT
public:
    explicit CalculationController(NumberFormat format, QObject* parent = nullptr);
    // A calculation still running is stopped and waited for: it reads nothing of the window's.
    ~CalculationController() override;

    bool Running() const { return worker_.joinable(); }
    // A new calculation is being prepared: a stop asked for before belongs to the last one.
    void Prepare() { stop_ = false; }
    void Start(JobInput input, CalculationOptions options);
    // Cancel in the progress window: the calculation stops at its next check.
    void RequestStop() { stop_ = true; }

signals:
    void progressed(const tallora::CalculationProgress& progress);
    // The calculation ended; `failure` is an error it did not handle itself.
    void finished(const tallora::CalculatedJob& job, const QString& failure);

private:
    // What the worker leaves for the window's thread.
    struct Mailbox {
        std::mutex Lock;
        std::optional<CalculationProgress> Progress;  // the latest, not yet shown
        std::optional<CalculatedJob> Done;
        QString Failure;
    };
    void Collect();

    NumberFormat format_;
    std::atomic<bool> stop_ = false;
    std::shared_ptr<Mailbox> mailbox_;
    std::thread worker_;
    QTimer* poll_;
};

}  // namespace tallora
