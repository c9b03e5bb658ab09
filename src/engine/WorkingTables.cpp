#include "engine/WorkingTables.h"

#include <algorithm>
#include <numeric>

namespace tallora {

void DivideByCommonDivisor(WorkingTables& tables) {
    int g = 0;
    for (const auto& row : tables.Stock) g = std::gcd(g, row.StockLength);
    for (const auto& row : tables.Cuts) g = std::gcd(g, row.CutLength);
    if (g > 1) {
        for (auto& row : tables.Stock) {
            row.StockLength /= g;
            row.StockCost /= g;
        }
        for (auto& row : tables.Cuts) row.CutLength /= g;
        tables.ScaleFactor = g;
    } else {
        tables.ScaleFactor = 1;
    }
}

void CompactTables(std::vector<WorkingStockRow>& stock, std::vector<WorkingCutRow>& cuts) {
    std::erase_if(cuts, [](const WorkingCutRow& r) { return r.CutQuantity == 0; });
    // Stable: equal lengths keep their order.
    std::stable_sort(cuts.begin(), cuts.end(), [](const WorkingCutRow& a, const WorkingCutRow& b) {
        return a.CutLength > b.CutLength;
    });
    std::erase_if(stock, [](const WorkingStockRow& r) { return r.StockQuantity == 0; });
    std::stable_sort(stock.begin(), stock.end(),
                     [](const WorkingStockRow& a, const WorkingStockRow& b) {
                         return a.StockLength > b.StockLength;
                     });
}

void CompactLiveRows(WorkingTables& tables) {
    CompactTables(tables.Stock, tables.Cuts);
    if (!tables.Cuts.empty()) tables.AllAllocated = false;
}

void ScaleBackToMillimetres(WorkingTables& tables) {
    const int f = tables.ScaleFactor;
    for (auto& row : tables.Stock) {
        row.StockLength *= f;
        row.StockCost = row.StockLength;
    }
    for (auto& row : tables.Cuts) row.CutLength *= f;
    for (auto& p : tables.Patterns) {
        p.StockLength *= f;
        for (int& length : p.CutLength) length *= f;
        if (p.IsOffcut) p.OffcutLength *= f;
    }
}

namespace {

// Positions lo..hi are 1-based, as the order of equal lengths depends on the exact steps.
void QuickSort(std::vector<CuttingPattern>& patterns, int lo, int hi) {
    auto length = [&patterns](int position) { return patterns[position - 1].StockLength; };
    const int pivot = length((lo + hi) / 2);
    int i = lo;
    int j = hi;
    do {
        while (length(i) > pivot) ++i;
        while (length(j) < pivot) --j;
        if (i <= j) {
            std::swap(patterns[i - 1], patterns[j - 1]);
            ++i;
            --j;
        }
    } while (i <= j);
    if (lo < j) QuickSort(patterns, lo, j);
    if (i < hi) QuickSort(patterns, i, hi);
}

}  // namespace

void SortPatternsByStockLength(WorkingTables& tables) {
    if (tables.PatternCount() < 2) return;
    QuickSort(tables.Patterns, 1, tables.PatternCount());
}

int MatchLength(const WorkingTables& tables, int length) {
    for (int k = tables.StockCount(); k >= 1; --k) {
        if (tables.Stock[k - 1].StockLength == length) return k;
    }
    return 0;
}

int SumCutQuantity(const WorkingTables& tables) {
    int sum = 0;
    for (const auto& row : tables.Cuts) sum += row.CutQuantity;
    return sum;
}

long long RemainingLength(const WorkingTables& tables) {
    long long sum = 0;
    for (const auto& row : tables.Cuts)
        sum += static_cast<long long>(row.CutLength) * row.CutQuantity;
    return sum;
}

}  // namespace tallora
