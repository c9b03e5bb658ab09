#pragma once

#include <string>

namespace tallora {

// What the calculation needs from the window system. The desktop answers with its progress
// window and message boxes; tests and the command line answer with scripted fakes.
class CalculationHost {
public:
    virtual ~CalculationHost() = default;

    // Yes/No question box; true for Yes.
    virtual bool AskQuestion(const std::string& text) = 0;
    // Error box with one OK button.
    virtual void ShowError(const std::string& text) = 0;

    virtual void SetBusyCursor(bool busy) = 0;
    // Third panel of the main window's status bar.
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void ClearCuttingList() = 0;
    virtual void SetMainWindowEnabled(bool enabled) = 0;

    // Progress window: shown with the bar's maximum and painted at once.
    virtual void ShowProgress(int maximum) = 0;
    virtual void HideProgress() = 0;
    virtual void SetProgressPosition(int position) = 0;
    // Bar position and the allocated and remaining lines, painted at once.
    virtual void UpdateProgress(int position, const std::string& allocatedLine,
                                const std::string& remainingLine) = 0;
    // First line of the progress window ("Testing permutation: ..."), painted at once.
    virtual void SetPermutationLine(const std::string& text) = 0;

    // Lets the window system process pending messages.
    virtual void ProcessMessages() = 0;

    // The user asked to stop: the calculation stops at its next progress check.
    virtual bool CancelRequested() { return false; }
};

// A host that shows nothing and answers No; `Host` may be an interface that extends this one.
template <class Host = CalculationHost>
class SilentHost : public Host {
public:
    bool AskQuestion(const std::string&) override { return false; }
    void ShowError(const std::string&) override {}
    void SetBusyCursor(bool) override {}
    void SetStatusText(const std::string&) override {}
    void ClearCuttingList() override {}
    void SetMainWindowEnabled(bool) override {}
    void ShowProgress(int) override {}
    void HideProgress() override {}
    void SetProgressPosition(int) override {}
    void UpdateProgress(int, const std::string&, const std::string&) override {}
    void SetPermutationLine(const std::string&) override {}
    void ProcessMessages() override {}
};
using SilentCalculationHost = SilentHost<>;

}  // namespace tallora
