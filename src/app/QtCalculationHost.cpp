#include "app/QtCalculationHost.h"

#include <QApplication>
#include <QThread>

#include "app/MainForm.h"
#include "app/ProgressForm.h"
#include "results/qt/StatisticsPanel.h"

namespace tallora {

void QtCalculationHost::OnWindowThread(const std::function<void()>& work) {
    if (QThread::currentThread() == form_.thread()) {
        work();
    } else {
        QMetaObject::invokeMethod(&form_, work, Qt::BlockingQueuedConnection);
    }
}

bool QtCalculationHost::AskQuestion(const std::string& text) {
    bool yes = false;
    OnWindowThread([&] {
        yes = form_.services_.Boxes.ShowMessage(MessageKind::Confirmation, MessageButtons::YesNo,
                                                text) == MessageAnswer::Yes;
    });
    return yes;
}

void QtCalculationHost::ShowError(const std::string& text) {
    OnWindowThread([&] { form_.services_.Boxes.ShowMessage(MessageKind::Error, MessageButtons::Ok, text); });
}

void QtCalculationHost::SetBusyCursor(bool busy) {
    OnWindowThread([busy] {
        if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
        else if (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
    });
}

void QtCalculationHost::SetStatusText(const std::string& text) {
    OnWindowThread([&] { form_.statusPanels_[2]->setText(QString::fromStdString(text)); });
}

void QtCalculationHost::ClearCuttingList() {
    OnWindowThread([&] { form_.memo_->clear(); });
}

void QtCalculationHost::SetMainWindowEnabled(bool enabled) {
    OnWindowThread([&] { form_.setEnabled(enabled); });
}

void QtCalculationHost::ShowProgress(int maximum) {
    OnWindowThread([&] { form_.progress_->Start(maximum); });
}

void QtCalculationHost::HideProgress() {
    OnWindowThread([&] { form_.progress_->hide(); });
}

void QtCalculationHost::SetProgressPosition(int position) {
    OnWindowThread([&] { form_.progress_->SetPosition(position); });
}

void QtCalculationHost::UpdateProgress(int position, const std::string& allocatedLine,
                                       const std::string& remainingLine) {
    OnWindowThread([&] {
        form_.progress_->SetPosition(position);
        form_.progress_->SetLines(QString::fromStdString(allocatedLine),
                                  QString::fromStdString(remainingLine));
    });
}

void QtCalculationHost::SetPermutationLine(const std::string& text) {
    OnWindowThread([&] { form_.progress_->SetPermutationLine(QString::fromStdString(text)); });
}

void QtCalculationHost::ProcessMessages() {
    // A calculation on the window's own thread (a converted file) lets the windows repaint; on
    // the worker thread the window's thread is running its own loop.
    if (QThread::currentThread() == form_.thread()) QCoreApplication::processEvents();
}

void QtCalculationHost::EnableOutputCommands() {
    OnWindowThread([&] { form_.EnableOutputCommands(true); });
}

void QtCalculationHost::ShowStatistics(const Statistics& stats) {
    OnWindowThread([&] { form_.ShowStatistics(stats); });
}

void QtCalculationHost::ShowCuttingList(const std::vector<std::string>&) {
    OnWindowThread([&] { form_.ShowCuttingList(); });
}

}  // namespace tallora
