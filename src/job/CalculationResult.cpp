#include "job/CalculationResult.h"

#include "job/JobInput.h"

namespace tallora {

bool InputStockIsOffcut(const CalculationResult& result, int j) {
    return j >= 0 && j < static_cast<int>(result.InputStockMark.size()) &&
           !InventoryOffcutIds(result.InputStockMark[static_cast<std::size_t>(j)]).empty();
}

}  // namespace tallora
