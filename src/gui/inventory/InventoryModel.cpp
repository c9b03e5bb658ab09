#include "gui/inventory/InventoryModel.h"
#include "gui/CoreTexts.h"

#include <QDateTime>
#include <QFileInfo>
#include <algorithm>

namespace tallora {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

InventoryModel::InventoryModel(OffcutStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {
    query_.Order = OffcutOrder::Section;
    Load(PageSize);
}

void InventoryModel::SetSection(const std::optional<std::string>& section) {
    query_.Section = section;
    Load(PageSize);
}

void InventoryModel::Refresh() {
    Load(std::max<long long>(PageSize, static_cast<long long>(rows_.size())));
}

int InventoryModel::RowOf(long long id) const {
    for (std::size_t k = 0; k < rows_.size(); ++k) {
        if (rows_[k].Id == id) return static_cast<int>(k);
    }
    return -1;
}

void InventoryModel::Load(long long rows) {
    std::vector<Offcut> read;
    long long total = 0;
    try {
        OffcutQuery query = query_;
        query.Offset = 0;
        query.Limit = rows;
        read = store_.List(query);
        total = store_.Count(query_.Section);
    } catch (const InventoryError& error) {
        emit failed(CoreText(error.what()));
        return;
    }
    beginResetModel();
    rows_ = std::move(read);
    total_ = total;
    endResetModel();
}

int InventoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int InventoryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString InventoryModel::SourceText(const OffcutSource& source) {
    QStringList parts;
    if (!source.JobFile.empty()) parts << QFileInfo(Q(source.JobFile)).fileName();
    if (!source.JobReference.empty()) parts << Q(source.JobReference);
    if (source.Pattern > 0) parts << tr("pattern %1").arg(source.Pattern);
    return parts.join(QStringLiteral(", "));
}

QString InventoryModel::BookedText(const std::string& bookedAt) {
    QDateTime time = QDateTime::fromString(Q(bookedAt), Qt::ISODate);
    if (!time.isValid()) return Q(bookedAt);
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QVariant InventoryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Offcut& o = At(index.row());
    if (role == Qt::TextAlignmentRole) {
        const bool number = index.column() == IdColumn || index.column() == LengthColumn ||
                            index.column() == CountColumn;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role == Qt::ToolTipRole && index.column() == SourceColumn && !o.Source.JobFile.empty())
        return Q(o.Source.JobFile);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case IdColumn:
            return QString::number(o.Id);
        case SectionColumn:
            return Q(o.Section);
        case LengthColumn:
            return QString::number(o.Length);
        case CountColumn:
            return QString::number(o.Count);
        case SourceColumn:
            return SourceText(o.Source);
        case BookedColumn:
            return BookedText(o.BookedAt);
        case LocationColumn:
            return Q(o.Location);
        default:
            return {};
    }
}

QVariant InventoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case IdColumn:
            return tr("No.");
        case SectionColumn:
            return tr("Section");
        case LengthColumn:
            return tr("Length (mm)");
        case CountColumn:
            return tr("Count");
        case SourceColumn:
            return tr("Source");
        case BookedColumn:
            return tr("Booked");
        case LocationColumn:
            return tr("Location");
        default:
            return {};
    }
}

void InventoryModel::sort(int column, Qt::SortOrder order) {
    static constexpr OffcutOrder Orders[ColumnCount] = {
        OffcutOrder::Id,     OffcutOrder::Section,  OffcutOrder::Length,  OffcutOrder::Count,
        OffcutOrder::Source, OffcutOrder::BookedAt, OffcutOrder::Location};
    if (column < 0 || column >= ColumnCount) return;
    query_.Order = Orders[column];
    query_.Descending = order == Qt::DescendingOrder;
    Load(PageSize);
}

bool InventoryModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && static_cast<long long>(rows_.size()) < total_;
}

void InventoryModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) return;
    std::vector<Offcut> page;
    try {
        OffcutQuery query = query_;
        query.Offset = static_cast<long long>(rows_.size());
        query.Limit = PageSize;
        page = store_.List(query);
    } catch (const InventoryError& error) {
        emit failed(CoreText(error.what()));
        return;
    }
    if (page.empty()) {
        // Another program took offcuts away: the count was too high.
        total_ = static_cast<long long>(rows_.size());
        return;
    }
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(page.size()) - 1);
    rows_.insert(rows_.end(), page.begin(), page.end());
    endInsertRows();
}

}  // namespace tallora
