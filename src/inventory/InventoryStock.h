#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "inventory/OffcutStore.h"
#include "job/CuttingJob.h"

namespace tallora {

// A stock row of a job that stands for an inventory offcut.
struct InventoryStockRow {
    std::size_t StockRow = 0;  // index into the job's StockItems
    long long OffcutId = 0;
    bool operator==(const InventoryStockRow&) const = default;
};

struct InventoryStock {
    std::vector<InventoryStockRow> Rows;
    int LeftOut = 0;  // offcuts with no room left in the stock list
};

// Appends the offcuts to the job's stock list as limited rows (quantity = pieces, length =
// offcut length), longest first, as far as the stock list has room; says which row is which
// offcut, so the bars the calculation takes from them can be booked against the inventory.
InventoryStock AddOffcutsAsStock(CuttingJob& job, std::vector<Offcut> offcuts);

// The same with the inventory's offcuts of the job's section.
InventoryStock AddInventoryStock(CuttingJob& job, const OffcutStore& store);

}  // namespace tallora
