#include "entry/qt/EntryListModel.h"

namespace tallora {

EntryListModel::EntryListModel(std::vector<ListRow>& rows, QObject* parent)
    : QAbstractTableModel(parent), rows_(rows) {}

int EntryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int EntryListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant EntryListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
    if (role != Qt::DisplayRole) return {};
    const ListRow& row = rows_[index.row()];
    return QString::fromStdString(index.column() == 0 ? row.Quantity : row.Length);
}

QVariant EntryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == 0 ? QStringLiteral("Quantity") : QStringLiteral("Length");
}

void EntryListModel::Refresh() {
    beginResetModel();
    endResetModel();
}

}  // namespace tallora
