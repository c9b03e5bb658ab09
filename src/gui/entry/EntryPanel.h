#pragma once

#include <QGroupBox>
#include <QPushButton>
#include <QTreeView>

#include "commands/Dialogs.h"
#include "entry/PastedRows.h"
#include "gui/entry/EntryListModel.h"
#include "gui/widgets/FilteredEdit.h"
#include "job/JobInput.h"

namespace tallora {

// One of the two entry panels: " Stock Lengths Available " or " Cut Lengths Required ". Rows
// typed into the two edits become rows of the job's list.
class EntryPanel : public QGroupBox {
    Q_OBJECT
public:
    enum class Kind { Stock, Cut };
    EntryPanel(Kind kind, std::vector<ListRow>& rows, const JobUnits& units, Dialogs& dialogs,
               int& sortColumn, QWidget* parent);

    // The rows changed in the job (a file was read, New): show them and clear the edits.
    void Reload();
    FilteredEdit* QuantityEdit() const { return quantity_; }

    // Handlers of the panel's controls.
    void commitRow();  // the edits as a row of the list
    void showSelectedRow();
    void modifyRow();
    void deleteRows();  // every selected row
    void sortByColumn(int column);
    // Rows pasted as text, one a line, each by the typed entry's rules; the lines refused are
    // listed in one message.
    void PasteRows(const QString& text);
    // Rows read from a file (RowsFromText: a third column is a cut row's mark), by the same
    // rules as a paste; one step of the history.
    void ImportRows(const QString& text);
    // The selected rows as text, in list order, onto the clipboard.
    void CopyRows();
    QTreeView* List() const { return list_; }

signals:
    // A row was added, modified or deleted: the job has changed and the summary needs a refresh.
    void rowsChanged();
    // The rows were edited or sorted; `what` names the edit for the Edit menu.
    void edited(const QString& what);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString Rows(int count) const;  // "3 Stock Lengths"; no number for 0
    // Commits the rows read; `how` names the step ("Paste") and the lines ("pasted").
    void TakeRows(const PastedRows& read, const QString& step, const std::string& how);
    std::vector<int> SelectedRows() const;  // in list order

    Kind kind_;
    std::vector<ListRow>& rows_;
    Dialogs& dialogs_;
    int& sortColumn_;
    const JobUnits& units_;
    EntryListModel* model_;
    FilteredEdit* quantity_;
    FilteredEdit* length_;
    QTreeView* list_;
    QPushButton* modify_;
    QPushButton* delete_;
    // The mark of the row taken into the edits by Modify, given back when they are committed.
    std::string modifiedMark_;
    std::string modifiedLength_;  // the length of the row taken out for modifying
};

}  // namespace tallora
