#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "inventory/OffcutStore.h"
#include "job/CalculationResult.h"
#include "job/JobInput.h"

namespace tallora {

// A stock row of a job that stands for inventory offcuts: those of one length, one row.
struct InventoryStockRow {
    std::size_t StockRow = 0;  // index into the job's StockRows
    std::vector<long long> OffcutIds;
    int Pieces = 0;
    int Length = 0;  // mm
    bool operator==(const InventoryStockRow&) const = default;
};

struct InventoryStock {
    std::vector<InventoryStockRow> Rows;
    int LeftOut = 0;        // offcuts with no room left in the stock list
    int AlreadyListed = 0;  // offcuts a row of the list stands for already
    int SameLength = 0;     // offcuts of the length of an ordinary stock row, which stays alone
    int Pieces() const;
    long long TotalLength() const;  // mm, of the rows added
};

// Appends the offcuts to the job's stock list as limited rows marked with their ids (quantity =
// pieces, length = offcut length), longest first, as far as the stock list has room. Offcuts of
// one length share a row, as typed rows of one length do. A length the list has already as an
// ordinary row is left out: the calculation could not tell the bars apart.
InventoryStock AddOffcutsAsStock(JobInput& input, std::vector<Offcut> offcuts);

// The same with the inventory's offcuts of the job's section.
InventoryStock AddInventoryStock(JobInput& input, const OffcutStore& store);

// The inventory offcuts a calculated job cut, from the bars of its offcut rows: each row's bars
// go to its offcuts in the order of its mark, each as far as its pieces go. Throws
// InventoryError (NotEnough) when an offcut a row used is gone or is no longer of the row's
// section and length, or when its offcuts have fewer pieces left than the row's bars.
std::vector<UsedOffcut> UsedInventoryOffcuts(const JobInput& input, const CalculationResult& result,
                                             const OffcutStore& store);

}  // namespace tallora
