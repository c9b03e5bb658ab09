#pragma once

#include <functional>

#include "engine/CalculationHost.h"

namespace tallora {

class TMainForm;

// The calculation's window system: the progress window, the main window's status bar, panels
// and commands, and the boxes. Callable from the worker thread that runs a calculation: every
// call is carried out on the window's own thread, in order.
class QtCalculationHost : public CalculationHost {
public:
    explicit QtCalculationHost(TMainForm& form) : form_(form) {}

    bool AskQuestion(const std::string& text) override;
    void ShowError(const std::string& text) override;
    void SetBusyCursor(bool busy) override;
    void SetStatusText(const std::string& text) override;
    void ClearCuttingList() override;
    void SetMainWindowEnabled(bool enabled) override;
    void ShowProgress(int maximum) override;
    void HideProgress() override;
    void SetProgressPosition(int position) override;
    void UpdateProgress(int position, const std::string& allocatedLine,
                        const std::string& remainingLine) override;
    void SetPermutationLine(const std::string& text) override;
    void ProcessMessages() override;
    void EnableOutputCommands() override;
    void ShowStatistics(const Statistics& stats) override;
    void ShowCuttingList(const std::vector<std::string>& lines) override;

private:
    void OnWindowThread(const std::function<void()>& work);
    TMainForm& form_;
};

}  // namespace tallora
