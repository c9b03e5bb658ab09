#include "inventory/InventoryStock.h"

#include <algorithm>
#include <climits>
#include <map>

#include "job/Capacities.h"
#include "job/RowTexts.h"

namespace tallora {

int InventoryStock::Pieces() const {
    long long pieces = 0;
    for (const auto& row : Rows) pieces += row.Pieces;
    return static_cast<int>(std::min<long long>(pieces, INT_MAX));
}

long long InventoryStock::TotalLength() const {
    long long total = 0;
    for (const auto& row : Rows) total += static_cast<long long>(row.Pieces) * row.Length;
    return total;
}

InventoryStock AddOffcutsAsStock(JobInput& input, std::vector<Offcut> offcuts) {
    InventoryStock stock;
    // What the list holds already: ordinary lengths, and the offcuts its rows stand for.
    std::map<int, bool> listed;  // length -> is an offcut row
    std::vector<long long> listedIds;
    for (const ListRow& row : input.StockRows) {
        const auto ids = InventoryOffcutIds(row.Mark);
        listedIds.insert(listedIds.end(), ids.begin(), ids.end());
        if (const auto length = ReadWholeNumber(row.Length)) listed[*length] = !ids.empty();
    }

    // Longest first, oldest first within a length: when the list is too short for all of them,
    // the most useful go in, and bars are taken from the offcuts that waited longest.
    std::stable_sort(offcuts.begin(), offcuts.end(), [](const Offcut& a, const Offcut& b) {
        return a.Length != b.Length ? a.Length > b.Length : a.Id < b.Id;
    });
    for (std::size_t k = 0; k < offcuts.size();) {
        std::size_t end = k;
        while (end < offcuts.size() && offcuts[end].Length == offcuts[k].Length) ++end;
        const int length = offcuts[k].Length;
        InventoryStockRow row;
        std::string mark;
        long long pieces = 0;
        for (std::size_t i = k; i < end; ++i) {
            if (std::find(listedIds.begin(), listedIds.end(), offcuts[i].Id) != listedIds.end()) {
                ++stock.AlreadyListed;
                continue;
            }
            row.OffcutIds.push_back(offcuts[i].Id);
            mark += (mark.empty() ? "" : ", ") + InventoryOffcutMark(offcuts[i].Id);
            pieces += offcuts[i].Count;
        }
        const int count = static_cast<int>(row.OffcutIds.size());
        k = end;
        if (count == 0) continue;
        if (listed.contains(length)) {
            // An offcut row of this length from before is left as it was; so is a typed row.
            (listed[length] ? stock.AlreadyListed : stock.SameLength) += count;
            continue;
        }
        if (static_cast<int>(input.StockRows.size()) >= MaxStockRows) {
            stock.LeftOut += count;
            continue;
        }
        row.StockRow = input.StockRows.size();
        row.Pieces = static_cast<int>(std::min<long long>(pieces, INT_MAX));
        row.Length = length;
        input.StockRows.push_back({std::to_string(row.Pieces), std::to_string(length), mark});
        listed[length] = true;
        stock.Rows.push_back(std::move(row));
    }
    return stock;
}

InventoryStock AddInventoryStock(JobInput& input, const OffcutStore& store) {
    return AddOffcutsAsStock(input, store.List(input.Section.Name));
}

std::vector<UsedOffcut> UsedInventoryOffcuts(const JobInput& input, const CalculationResult& result,
                                             const OffcutStore& store) {
    std::vector<UsedOffcut> used;
    const Allowances& a = input.Allowances;
    for (int j = 0; j < result.InputStockCount(); ++j) {
        if (!InputStockIsOffcut(result, j)) continue;
        int bars = j < static_cast<int>(result.StockBarsUsed.size()) ? result.StockBarsUsed[j] : 0;
        const int length = result.InputStockLength[j] + a.Trim + a.Hold;
        for (long long id :
             InventoryOffcutIds(result.InputStockMark[static_cast<std::size_t>(j)])) {
            if (bars <= 0) break;
            const auto offcut = store.Find(id);
            if (!offcut || offcut->Length != length ||
                SectionKey(offcut->Section) != SectionKey(input.Section.Name)) {
                throw InventoryError(
                    InventoryErrorKind::NotEnough,
                    "The job cut inventory offcut " + std::to_string(id) + " (" +
                        std::to_string(length) + "mm), which is no longer in the inventory as " +
                        "it was: another job may have used it. Use the offcuts again and " +
                        "calculate the job before booking it.");
            }
            const int taken = std::min(bars, offcut->Count);
            used.push_back({id, taken});
            bars -= taken;
        }
        if (bars > 0) {
            throw InventoryError(
                InventoryErrorKind::NotEnough,
                "The job cut " + std::to_string(result.StockBarsUsed[j]) + " bars of " +
                    std::to_string(length) + "mm from inventory offcuts, but the inventory " +
                    "has only " + std::to_string(result.StockBarsUsed[j] - bars) + " of them " +
                    "left: another job may have used them. Use the offcuts again and " +
                    "calculate the job before booking it.");
        }
    }
    return used;
}

}  // namespace tallora
