#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "entry/ListEntry.h"
#include "job/JobInput.h"

namespace tallora {

// A row's length text as the lists show it: an imperial job's 1/32 inches in feet and inches.
std::string ShownLength(const std::string& length, const JobUnits& units);

// One of the job's entry lists as a table: columns "Quantity" and "Length", and for cut rows
// "Mark", which is edited in place; rows in list order.
// Every edit of the rows goes through the model, which tells its views exactly what changed.
class EntryListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Kind { Stock, Cut };
    // Lengths are shown and typed in `units`, the job's.
    EntryListModel(Kind kind, std::vector<ListRow>& rows, const JobUnits& units, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A cut row's mark, typed in its cell.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    static constexpr int MarkColumn = 2;

    // A typed row, by the entry rules: added at the end, merged into the row of its length
    // (which moves to the end), or refused with a message.
    // A cut row keeps the mark; a stock row has none.
    CommitResult CommitRow(const std::string& quantity, const std::string& length,
                           const std::string& mark = {});
    // Takes a row out of the list.
    ListRow RemoveRow(int row);
    // Orders the rows by a column (0 quantity, 1 length), once.
    void SortRows(int column);

    // The job's rows were replaced as a whole (a file was read, New): show them again.
    void Reload();

signals:
    // A mark was typed in its cell.
    void markEdited();

private:
    Kind kind_;
    std::vector<ListRow>& rows_;
    const JobUnits& units_;
};

}  // namespace tallora
