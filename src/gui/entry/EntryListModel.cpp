#include "gui/entry/EntryListModel.h"

#include <QColor>
#include <QFont>

#include "job/RowTexts.h"
#include "results/LengthFormat.h"

namespace tallora {

std::string ShownLength(const std::string& length, const JobUnits& units) {
    const auto value = units.Imperial() ? ReadWholeNumber(length) : std::nullopt;
    return value ? FormatLength(*value, units) : length;
}

EntryListModel::EntryListModel(Kind kind, std::vector<ListRow>& rows, const JobUnits& units,
                               QObject* parent)
    : QAbstractTableModel(parent), kind_(kind), rows_(rows), units_(units) {}

int EntryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int EntryListModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return kind_ == Kind::Cut ? 3 : 2;
}

QVariant EntryListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
    const ListRow& row = rows_[index.row()];
    // Rows of inventory offcuts stand out from the bars to buy.
    const bool offcut = kind_ == Kind::Stock && !InventoryOffcutIds(row.Mark).empty();
    if (offcut) {
        if (role == Qt::ForegroundRole) return QColor(0, 110, 40);
        if (role == Qt::FontRole) {
            QFont font;
            font.setItalic(true);
            return font;
        }
        if (role == Qt::ToolTipRole)
            return tr("From the offcut inventory: ") + QString::fromStdString(row.Mark);
    }
    // A long mark does not fit its column: the row shows it whole when the pointer rests on it.
    if (role == Qt::ToolTipRole && !row.Mark.empty())
        return tr("Mark: ") + QString::fromStdString(row.Mark);
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    if (index.column() == MarkColumn) return QString::fromStdString(row.Mark);
    if (index.column() == 0) return QString::fromStdString(row.Quantity);
    return QString::fromStdString(ShownLength(row.Length, units_));
}

Qt::ItemFlags EntryListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (kind_ == Kind::Cut && index.column() == MarkColumn) flags |= Qt::ItemIsEditable;
    return flags;
}

bool EntryListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || kind_ != Kind::Cut || index.column() != MarkColumn ||
        index.row() < 0 || index.row() >= static_cast<int>(rows_.size()))
        return false;
    // A mark is a line of text: a line break would split the row in a file or a paste.
    const std::string mark = value.toString().simplified().toStdString();
    ListRow& row = rows_[static_cast<size_t>(index.row())];
    if (mark == row.Mark) return false;
    row.Mark = mark;
    emit dataChanged(index, index);
    emit markEdited();
    return true;
}

QVariant EntryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section == MarkColumn) return tr("Mark");
    return section == 0 ? tr("Quantity") : tr("Length");
}

CommitResult EntryListModel::CommitRow(const std::string& quantity, const std::string& length,
                                       const std::string& mark) {
    // The rules work on a copy: the views may see the change only between the signals.
    std::vector<ListRow> rows = rows_;
    const CommitResult result = kind_ == Kind::Stock
                                    ? CommitStockRow(rows, quantity, length, mark, units_)
                                    : CommitCutRow(rows, quantity, length, mark, units_);
    if (result.Status != CommitStatus::Committed) return result;
    const int count = rowCount();
    if (result.MergedRow >= 0) {
        const bool moves = result.MergedRow != count - 1;
        if (moves) beginMoveRows({}, result.MergedRow, result.MergedRow, {}, count);
        rows_ = std::move(rows);
        if (moves) endMoveRows();
        emit dataChanged(index(count - 1, 0), index(count - 1, columnCount() - 1));
    } else if (static_cast<int>(rows.size()) > count) {
        beginInsertRows({}, count, count);
        rows_ = std::move(rows);
        endInsertRows();
    }
    return result;
}

ListRow EntryListModel::RemoveRow(int row) {
    beginRemoveRows({}, row, row);
    ListRow removed = std::move(rows_[static_cast<size_t>(row)]);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
    return removed;
}

void EntryListModel::SortRows(int column) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<int> order = SortOrder(rows_, column);
    std::vector<ListRow> sorted;
    std::vector<int> newRow(order.size());
    sorted.reserve(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        sorted.push_back(std::move(rows_[static_cast<size_t>(order[i])]));
        newRow[static_cast<size_t>(order[i])] = static_cast<int>(i);
    }
    rows_ = std::move(sorted);
    QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& old : from) {
        to << index(newRow[static_cast<size_t>(old.row())], old.column());
    }
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void EntryListModel::Reload() {
    beginResetModel();
    endResetModel();
}

}  // namespace tallora
