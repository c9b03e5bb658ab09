#pragma once

#include <QPointer>
#include <QWidget>

#include "commands/Ports.h"

namespace tallora {

// The program's boxes and file dialogs as Qt shows them.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    MessageAnswer ShowMessage(MessageKind kind, MessageButtons buttons,
                              const std::string& text) override;
    std::optional<std::string> AskOpenFileName(const FileDialogOptions& options) override;
    std::optional<std::string> AskSaveFileName(const FileDialogOptions& options) override;
    std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override;

private:
    // A box must stay usable while its owner is disabled (during a calculation).
    QWidget* Parent() const;

    QPointer<QWidget> owner_;
};

// "Name (*.ext)|*.ext|Any file (*.*)|*.*" as a Qt filter list.
QString QtFilter(const std::string& filter);

}  // namespace tallora
