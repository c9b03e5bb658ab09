#include "job/CuttingJob.h"

namespace tallora {

void ResetArray(CuttingJob& job) { job.Patterns.clear(); }

void RestoreResults(CuttingJob& job, const CuttingJob& from) {
    job.InputStockLength = from.InputStockLength;
    job.InputCutLength = from.InputCutLength;
    job.InputCutQuantity = from.InputCutQuantity;
    job.TotalPieces = from.TotalPieces;
    job.TotalCutLength = from.TotalCutLength;
    job.StockBarsUsed = from.StockBarsUsed;
    job.Stock = from.Stock;
    job.Cuts = from.Cuts;
    job.RemainingPieces = from.RemainingPieces;
    job.ScaleFactor = from.ScaleFactor;
    job.AllAllocated = from.AllAllocated;
    job.PatternStoreFull = from.PatternStoreFull;
    job.Bound = from.Bound;
    job.Patterns = from.Patterns;
    job.CuttingListLines = from.CuttingListLines;
}

int MatchLength(const CuttingJob& job, int length) {
    for (int k = job.StockCount(); k >= 1; --k) {
        if (job.Stock[k - 1].StockLength == length) return k;
    }
    return 0;
}

int SumCutQuantity(const CuttingJob& job) {
    int sum = 0;
    for (const auto& row : job.Cuts) sum += row.CutQuantity;
    return sum;
}

long long RemainingLength(const CuttingJob& job) {
    long long sum = 0;
    for (const auto& row : job.Cuts) sum += static_cast<long long>(row.CutLength) * row.CutQuantity;
    return sum;
}

}  // namespace tallora
