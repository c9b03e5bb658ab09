#include "job/CuttingJob.h"

#include <string_view>

namespace tallora {

void ResetArray(CuttingJob& job) { job.Patterns.clear(); }

void RestoreResults(CuttingJob& job, const CuttingJob& from) {
    job.InputStockLength = from.InputStockLength;
    job.InputStockMark = from.InputStockMark;
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

namespace {
constexpr std::string_view OffcutMarkWord = "Inventory offcut ";
}  // namespace

std::string InventoryOffcutMark(long long id) {
    return std::string(OffcutMarkWord) + std::to_string(id);
}

std::vector<long long> InventoryOffcutIds(const std::string& mark) {
    std::vector<long long> ids;
    std::size_t start = 0;
    while (start < mark.size()) {
        std::size_t end = mark.find(", ", start);
        if (end == std::string::npos) end = mark.size();
        const std::string_view part(mark.data() + start, end - start);
        if (part.starts_with(OffcutMarkWord)) {
            const std::string_view digits = part.substr(OffcutMarkWord.size());
            long long id = 0;
            // At most 18 digits: no id overflows.
            bool ok = !digits.empty() && digits.size() <= 18;
            for (std::size_t k = 0; ok && k < digits.size(); ++k) {
                ok = digits[k] >= '0' && digits[k] <= '9';
                id = id * 10 + (digits[k] - '0');
            }
            if (ok && id > 0) ids.push_back(id);
        }
        start = end + 2;
    }
    return ids;
}

bool InputStockIsOffcut(const CuttingJob& job, int j) {
    return j >= 0 && j < static_cast<int>(job.InputStockMark.size()) &&
           !InventoryOffcutIds(job.InputStockMark[static_cast<std::size_t>(j)]).empty();
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
