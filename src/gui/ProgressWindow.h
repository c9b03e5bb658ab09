#pragma once

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace tallora {

// "Calculation Progress": the bar, three lines and what it is doing while a calculation runs; on
// top, centred, with its caption drawn by itself and no title-bar buttons. Its Cancel button (or
// Escape) asks the calculation to stop.
class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    void Start(int maximum);
    void SetPosition(int position);
    void SetLines(const QString& allocated, const QString& remaining);
    void SetPermutationLine(const QString& text);
    // The line under the bar; a busy bar while the share done cannot be told.
    void SetActivity(const QString& text, bool busy);
    QString Line(int number) const;  // 1 to 4 (the activity)
    bool Busy() const { return bar_->maximum() == 0; }
    QPushButton* CancelButton() const { return cancel_; }

signals:
    void cancelRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* lines_[3];
    QLabel* activity_;
    int range_ = 1;
    QProgressBar* bar_;
    QPushButton* cancel_;
};

}  // namespace tallora
