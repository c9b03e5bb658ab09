#include "gui/CalculationController.h"

namespace tallora {

namespace {

// Often enough for a progress bar, seldom enough to leave the worker the processor.
constexpr int PollMilliseconds = 15;

// Reports on the worker into the mailbox.
class MailboxObserver : public CalculationObserver {
public:
    MailboxObserver(std::function<void(const CalculationProgress&)> post,
                    const std::atomic<bool>& stop)
        : post_(std::move(post)), stop_(stop) {}
    void OnProgress(const CalculationProgress& progress) override { post_(progress); }
    bool StopRequested() override { return stop_; }

private:
    std::function<void(const CalculationProgress&)> post_;
    const std::atomic<bool>& stop_;
};

}  // namespace

CalculationController::CalculationController(NumberFormat format, QObject* parent)
    : QObject(parent), format_(std::move(format)), poll_(new QTimer(this)) {
    poll_->setInterval(PollMilliseconds);
    connect(poll_, &QTimer::timeout, this, &CalculationController::Collect);
}

CalculationController::~CalculationController() {
    stop_ = true;
    if (worker_.joinable()) worker_.join();
}

void CalculationController::Start(JobInput input, CalculationOptions options) {
    mailbox_ = std::make_shared<Mailbox>();
    worker_ = std::thread([this, box = mailbox_, input = std::move(input), options] {
        MailboxObserver observer(
            [&box](const CalculationProgress& progress) {
                const std::lock_guard lock(box->Lock);
                box->Progress = progress;
            },
            stop_);
        CalculatedJob job;
        QString failure;
        try {
            job = CalculateJob(input, options, observer, format_);
        } catch (const std::exception& e) {
            failure = QString::fromStdString(e.what());
        }
        const std::lock_guard lock(box->Lock);
        box->Done = std::move(job);
        box->Failure = failure;
    });
    poll_->start();
}

void CalculationController::Collect() {
    std::optional<CalculationProgress> progress;
    std::optional<CalculatedJob> done;
    QString failure;
    {
        const std::lock_guard lock(mailbox_->Lock);
        progress = std::exchange(mailbox_->Progress, std::nullopt);
        done = std::exchange(mailbox_->Done, std::nullopt);
        failure = mailbox_->Failure;
    }
    if (progress) emit progressed(*progress);
    if (!done) return;
    poll_->stop();
    worker_.join();
    emit finished(*done, failure);
}

}  // namespace tallora
