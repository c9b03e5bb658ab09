#include "engine/WorkingTables.h"

#include <algorithm>

namespace tallora {

int GCD(int a, int b) {
    while (b != 0) {
        const int r = a % b;
        a = b;
        b = r;
    }
    return a;
}

int GCDArray(const std::vector<int>& values) {
    if (values.empty()) return 0;
    int g = values[0];
    for (size_t k = 1; k < values.size(); ++k) g = GCD(g, values[k]);
    return g;
}

void PreProcess(CuttingJob& job) {
    std::vector<int> lengths;
    lengths.reserve(job.Stock.size() + job.Cuts.size());
    for (const auto& row : job.Stock) lengths.push_back(row.StockLength);
    for (const auto& row : job.Cuts) lengths.push_back(row.CutLength);
    const int g = GCDArray(lengths);
    if (g > 1) {
        for (auto& row : job.Stock) {
            row.StockLength /= g;
            row.StockCost /= g;
        }
        for (auto& row : job.Cuts) row.CutLength /= g;
        job.ScaleFactor = g;
    } else {
        job.ScaleFactor = 1;
    }
}

void Recompile(CuttingJob& job) {
    const auto live = std::count_if(job.Cuts.begin(), job.Cuts.end(),
                                    [](const WorkingCutRow& r) { return r.CutQuantity > 0; });
    if (live > 0) job.AllAllocated = false;
    if (!job.AllAllocated) {
        std::erase_if(job.Cuts, [](const WorkingCutRow& r) { return r.CutQuantity == 0; });
    }
    // Only the first `live` rows stay live; with everything allocated none does.
    job.Cuts.resize(std::min(job.Cuts.size(), static_cast<size_t>(live)));
    // Stable: equal lengths keep their order.
    std::stable_sort(
        job.Cuts.begin(), job.Cuts.end(),
        [](const WorkingCutRow& a, const WorkingCutRow& b) { return a.CutLength > b.CutLength; });

    std::erase_if(job.Stock, [](const WorkingStockRow& r) { return r.StockQuantity == 0; });
    std::stable_sort(job.Stock.begin(), job.Stock.end(),
                     [](const WorkingStockRow& a, const WorkingStockRow& b) {
                         return a.StockLength > b.StockLength;
                     });
}

void PostProcess(CuttingJob& job) {
    const int f = job.ScaleFactor;
    for (auto& row : job.Stock) {
        row.StockLength *= f;
        row.StockCost = row.StockLength;
    }
    for (auto& row : job.Cuts) row.CutLength *= f;
    for (auto& p : job.Patterns) {
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

void Sort(CuttingJob& job) {
    if (job.PatternCount() < 2) return;
    QuickSort(job.Patterns, 1, job.PatternCount());
}

}  // namespace tallora
