#pragma once

#include <QAbstractTableModel>
#include <optional>
#include <string>
#include <vector>

#include "inventory/OffcutStore.h"

namespace tallora {

// The offcut inventory as a table, read from the store a page at a time: a store of 100,000
// offcuts shows its first rows at once and the rest as the view scrolls to them.
class InventoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        IdColumn,
        SectionColumn,
        LengthColumn,
        CountColumn,
        SourceColumn,
        BookedColumn,
        LocationColumn,
        ColumnCount
    };
    static constexpr int PageSize = 500;

    explicit InventoryModel(OffcutStore& store, QObject* parent = nullptr);

    // Only one section's offcuts (matched as the store matches sections), or all.
    void SetSection(const std::optional<std::string>& section);
    const std::optional<std::string>& Section() const { return query_.Section; }
    // Reads the store again, as many rows as were shown: after a change, or another program's.
    void Refresh();
    const Offcut& At(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    // The row of an offcut among those read, or -1.
    int RowOf(long long id) const;
    long long Total() const { return total_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // "frame.cut, J-17, pattern 2": where an offcut came from, the file without its folder.
    static QString SourceText(const OffcutSource& source);
    // The booking time, given in UTC, in local time: "2024-05-01 10:30".
    static QString BookedText(const std::string& bookedAt);

signals:
    // The store could not be read; the table keeps what it had.
    void failed(const QString& message);

private:
    void Load(long long rows);

    OffcutStore& store_;
    OffcutQuery query_;
    std::vector<Offcut> rows_;
    long long total_ = 0;
};

}  // namespace tallora
