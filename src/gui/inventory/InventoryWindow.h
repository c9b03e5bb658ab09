#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "commands/Dialogs.h"
#include "gui/inventory/InventoryModel.h"
#include "inventory/OffcutStore.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class QTableWidget;
class QUndoStack;

class QHBoxLayout;
class QVBoxLayout;
class QTableView;

namespace tallora {

// The offcut inventory window: the store's offcuts as a table, filtered by section and sorted by
// any column, with add, edit and delete (undone and redone while the window is open), export to
// CSV and the metres kept of each section.
class InventoryWindow : public QDialog {
    Q_OBJECT
public:
    // Asks for an offcut's fields: the initial ones shown, nothing when cancelled.
    using Editor = std::function<std::optional<NewOffcut>(QWidget* parent, const QString& title,
                                                          const NewOffcut& initial)>;

    // The window over an open store; `exportFolder` is where Export starts.
    InventoryWindow(OffcutStore store, Dialogs& dialogs, std::string exportFolder,
                    QWidget* parent = nullptr);
    ~InventoryWindow() override;

    // Tests answer the offcut dialog themselves.
    void SetEditor(Editor editor) { editor_ = std::move(editor); }
    // Shows one section's offcuts (when it has any), or all.
    void SelectSection(const std::optional<std::string>& section);
    // Reads the store again: after a booking, or a change another program made.
    void Refresh();

    // Handlers.
    void addOffcut();
    void editOffcut();     // the first selected offcut
    void deleteOffcuts();  // every selected offcut
    void exportOffcuts();
    void SectionChanged();

    InventoryModel& Model() { return *model_; }
    OffcutStore& Store() { return store_; }
    QUndoStack& History() { return *history_; }
    QTableView* Table() const { return table_; }
    QTableWidget* Totals() const { return totals_; }

    // The offcut dialog the window uses unless a test gives its own.
    static std::optional<NewOffcut> AskOffcut(QWidget* parent, const QString& title,
                                              const NewOffcut& initial);

    // A step of the window's history: a change to the store it can take back.
    class Change;

private:
    QHBoxLayout* CreateCommands();
    QTableView* CreateTable();
    void CreateTotals(QVBoxLayout* layout);
    void RunChange(Change* change);  // pushes it; a change the store refuses is dropped
    void ShowFailure(const QString& message);
    // The section choice and the totals, from one reading of the store.
    void FillSections();
    void FillTotals(const std::vector<SectionTotal>& totals);
    void UpdateButtons();
    std::vector<Offcut> SelectedOffcuts() const;
    void Select(long long id);

    OffcutStore store_;
    Dialogs& dialogs_;
    std::string exportFolder_;
    Editor editor_;
    InventoryModel* model_ = nullptr;
    QUndoStack* history_ = nullptr;
    QComboBox* section_ = nullptr;
    QTableView* table_ = nullptr;
    QTableWidget* totals_ = nullptr;
    QLabel* count_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* delete_ = nullptr;
    bool filling_ = false;
};

}  // namespace tallora
