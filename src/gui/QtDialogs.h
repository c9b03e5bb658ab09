#pragma once

#include <QPointer>
#include <QWidget>

#include "commands/Dialogs.h"
#include "storage/RegistryStore.h"

class QFileDialog;

namespace tallora {

// The program's boxes and file dialogs as Qt shows them.
class QtDialogs : public Dialogs {
public:
    // With a store, the file dialogs open at the size the user last gave one.
    explicit QtDialogs(QWidget* owner = nullptr, RegistryStore* store = nullptr)
        : owner_(owner), store_(store) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    MessageAnswer ShowMessage(MessageKind kind, MessageButtons buttons,
                              const std::string& text) override;
    std::optional<std::string> AskOpenFileName(const FileDialogOptions& options) override;
    std::optional<std::string> AskSaveFileName(const FileDialogOptions& options) override;
    std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override;
    std::optional<int> AskChoice(const std::string& title, const std::string& prompt,
                                 const std::vector<std::string>& choices) override;
    std::optional<LabelOptions> AskLabelOptions(const LabelOptions& initial) override;

private:
    // A box must stay usable while its owner is disabled (during a calculation).
    QWidget* Parent() const;

    int RunFileDialog(QFileDialog& dialog);

    QPointer<QWidget> owner_;
    RegistryStore* store_ = nullptr;
};

// "Name (*.ext)|*.ext|Any file (*.*)|*.*" as a Qt filter list.
QString QtFilter(const std::string& filter);

}  // namespace tallora
