#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "engine/CuttingJob.h"

namespace tallora {

// A view of one of the job's entry lists: columns "Quantity" and "Length", rows in list order.
class EntryListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    EntryListModel(std::vector<ListRow>& rows, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The rows changed in the job: show them again.
    void Refresh();

private:
    std::vector<ListRow>& rows_;
};

}  // namespace tallora
