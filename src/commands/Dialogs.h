#pragma once

#include <optional>
#include <string>
#include <vector>

#include "report/PieceLabels.h"

// The boxes and file dialogs the use cases need. The desktop shows real ones; tests and the
// command line answer from a script.
namespace tallora {

enum class MessageKind { Information, Warning, Error, Confirmation, Plain };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct FileDialogOptions {
    std::string Title;
    std::string Filter;            // "Name (*.ext)|*.ext|Any file (*.*)|*.*"
    std::string DefaultExtension;  // appended to a name typed without one
    std::string InitialFolder;
    bool ConfirmOverwrite = false;
};

// Every modal box and file dialog of the program. The desktop shows real ones; tests and the
// command line answer from a script.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MessageAnswer ShowMessage(MessageKind kind, MessageButtons buttons,
                                      const std::string& text) = 0;
    // The chosen path, or nothing when the user cancels.
    virtual std::optional<std::string> AskOpenFileName(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> AskSaveFileName(const FileDialogOptions& options) = 0;
    // The text entered, or nothing on Cancel.
    virtual std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                               const std::string& initial) = 0;
    // A question answered by one of a few buttons: the index of the choice, or nothing on Cancel.
    virtual std::optional<int> AskChoice(const std::string& title, const std::string& prompt,
                                         const std::vector<std::string>& choices) = 0;

    // The layout, first position and margins of the piece labels; nothing on Cancel. What is
    // returned fits the layout (LabelOptionsProblem).
    virtual std::optional<LabelOptions> AskLabelOptions(const LabelOptions& initial) {
        (void)initial;
        return std::nullopt;
    }

    void Inform(const std::string& text) {
        ShowMessage(MessageKind::Information, MessageButtons::Ok, text);
    }
};

// Answers every box with its first button (No where it asks) and every dialog with Cancel: for the
// command line and other runs without a user.
class SilentDialogs : public Dialogs {
public:
    MessageAnswer ShowMessage(MessageKind, MessageButtons buttons, const std::string&) override {
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    std::optional<std::string> AskOpenFileName(const FileDialogOptions&) override { return {}; }
    std::optional<std::string> AskSaveFileName(const FileDialogOptions&) override { return {}; }
    std::optional<std::string> AskText(const std::string&, const std::string&,
                                       const std::string&) override {
        return {};
    }
    std::optional<int> AskChoice(const std::string&, const std::string&,
                                 const std::vector<std::string>&) override {
        return {};
    }
};

}  // namespace tallora
