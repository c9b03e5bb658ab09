#include "gui/entry/EntryListModel.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

namespace tallora {
namespace {

std::vector<std::string> Lengths(const std::vector<ListRow>& rows) {
    std::vector<std::string> lengths;
    for (const auto& row : rows) lengths.push_back(row.Length);
    return lengths;
}

// Every edit tells the views exactly what changed: the tester checks each signal against the
// rows, and the spies check that no edit falls back on a reset.
TEST(EntryListModel, EditsAreReportedRowByRow) {
    std::vector<ListRow> rows;
    const JobUnits metric;
    EntryListModel model(EntryListModel::Kind::Stock, rows, metric, nullptr);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy moved(&model, &QAbstractItemModel::rowsMoved);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);

    for (const char* length : {"6000", "4000", "7500"}) model.CommitRow("2", length);
    EXPECT_EQ(inserted.count(), 3);
    // A length listed already merges, and its row moves to the end.
    const QPersistentModelIndex first = model.index(0, 1);
    EXPECT_EQ(model.CommitRow("3", "6000").MergedRow, 0);
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(first.row(), 2);
    EXPECT_EQ(model.data(model.index(2, 0), Qt::DisplayRole).toString(), "5");
    // The last row merging moves nothing.
    model.CommitRow("1", "6000");
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(changed.count(), 2);

    // Sorting keeps the views' indexes on their rows.
    model.SortRows(1);
    EXPECT_EQ(Lengths(rows), (std::vector<std::string>{"4000", "6000", "7500"}));
    EXPECT_EQ(first.row(), 1);
    EXPECT_EQ(model.RemoveRow(0).Length, "4000");
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(first.row(), 0);
    EXPECT_EQ(resets.count(), 0);
}

}  // namespace
}  // namespace tallora
