#pragma once

#include "storage/Dialogs.h"

namespace tallora {

// Answers every box with its first button.
class FuzzDialogs : public Dialogs {
public:
    MessageAnswer ShowMessage(MessageKind, MessageButtons, const std::string&) override {
        return MessageAnswer::Ok;
    }
    std::optional<std::string> AskOpenFileName(const FileDialogOptions&) override { return {}; }
    std::optional<std::string> AskSaveFileName(const FileDialogOptions&) override { return {}; }
    std::optional<std::string> AskText(const std::string&, const std::string&,
                                       const std::string&) override {
        return {};
    }
};

}  // namespace tallora
