#pragma once

#include <QGroupBox>
#include <QPushButton>
#include <QTreeView>

#include "commands/Ports.h"
#include "entry/qt/EntryListModel.h"
#include "job/CuttingJob.h"
#include "widgets/FilteredEdit.h"

namespace tallora {

// One of the two entry panels: " Stock Lengths Available " or " Cut Lengths Required ". Rows
// typed into the two edits become rows of the job's list.
class EntryPanel : public QGroupBox {
    Q_OBJECT
public:
    enum class Kind { Stock, Cut };
    EntryPanel(Kind kind, std::vector<ListRow>& rows, Dialogs& dialogs, int& sortColumn,
               QWidget* parent);

    // The rows changed in the job (a file was read, New): show them and clear the edits.
    void Reload();
    FilteredEdit* QuantityEdit() const { return quantity_; }

    // Handlers of the panel's controls.
    void SEnter();  // commits the edits as a row (CEnter for the cut panel)
    void SListViewSelectItem();
    void SModifyClick();
    void SDeleteClick();
    void ListViewColumnClick(int column);

signals:
    // A row was added, modified or deleted: the job has changed and the summary needs a refresh.
    void rowsChanged();

private:
    Kind kind_;
    std::vector<ListRow>& rows_;
    Dialogs& dialogs_;
    int& sortColumn_;
    EntryListModel* model_;
    FilteredEdit* quantity_;
    FilteredEdit* length_;
    QTreeView* list_;
    QPushButton* modify_;
    QPushButton* delete_;
};

}  // namespace tallora
