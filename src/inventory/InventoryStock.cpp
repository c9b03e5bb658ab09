#include "inventory/InventoryStock.h"

#include <algorithm>

#include "job/Capacities.h"

namespace tallora {

InventoryStock AddOffcutsAsStock(CuttingJob& job, std::vector<Offcut> offcuts) {
    // Longest first: when the list is too short for all of them, the most useful go in.
    std::stable_sort(offcuts.begin(), offcuts.end(),
                     [](const Offcut& a, const Offcut& b) { return a.Length > b.Length; });
    InventoryStock stock;
    for (const Offcut& offcut : offcuts) {
        if (static_cast<int>(job.StockItems.size()) >= MaxStockRows) {
            ++stock.LeftOut;
            continue;
        }
        stock.Rows.push_back({job.StockItems.size(), offcut.Id});
        job.StockItems.push_back({std::to_string(offcut.Count), std::to_string(offcut.Length)});
    }
    return stock;
}

InventoryStock AddInventoryStock(CuttingJob& job, const OffcutStore& store) {
    return AddOffcutsAsStock(job, store.List(job.section.Section));
}

}  // namespace tallora
