#include "gui/CalculationController.h"

#include <QMetaObject>
#include <QtConcurrent/QtConcurrentRun>

namespace tallora {

namespace {

// Reports on the worker: posts each report to the controller's thread without waiting. The
// controller outlives the worker (it waits for it), and a report still queued when it goes is
// dropped with it.
class PostingObserver : public CalculationObserver {
public:
    PostingObserver(CalculationController* controller, std::shared_ptr<std::atomic<bool>> stop)
        : controller_(controller), stop_(std::move(stop)) {}
    void OnProgress(const CalculationProgress& progress) override {
        CalculationController* c = controller_;
        QMetaObject::invokeMethod(
            c, [c, progress] { emit c->progressed(progress); }, Qt::QueuedConnection);
    }
    bool StopRequested() override { return stop_->load(); }

private:
    CalculationController* controller_;
    std::shared_ptr<std::atomic<bool>> stop_;
};

}  // namespace

CalculationController::CalculationController(NumberFormat format, QObject* parent)
    : QObject(parent),
      format_(std::move(format)),
      stop_(std::make_shared<std::atomic<bool>>(false)),
      worker_(new QFutureWatcher<Outcome>(this)) {
    qRegisterMetaType<tallora::CalculationProgress>();
    qRegisterMetaType<tallora::CalculatedJob>();
    connect(worker_, &QFutureWatcherBase::finished, this, &CalculationController::Ended);
}

CalculationController::~CalculationController() {
    stop_->store(true);
    worker_->waitForFinished();
}

void CalculationController::Start(JobInput input, CalculationOptions options) {
    running_ = true;
    auto observer = std::make_shared<PostingObserver>(this, stop_);
    worker_->setFuture(QtConcurrent::run(
        [input = std::move(input), options, observer, format = format_]() -> Outcome {
            Outcome outcome;
            try {
                outcome.Job = CalculateJob(input, options, *observer, format);
            } catch (const std::exception& e) {
                outcome.Failure = QString::fromStdString(e.what());
            }
            return outcome;
        }));
}

void CalculationController::Ended() {
    running_ = false;
    const Outcome outcome = worker_->result();
    emit finished(outcome.Job, outcome.Failure);
}

}  // namespace tallora
