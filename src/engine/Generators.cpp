#include "engine/Generators.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "job/Capacities.h"

namespace tallora {

void SearchBasis::Reset(int rows) {
    Rows = rows;
    const size_t cells = static_cast<size_t>(rows) * rows;
    BasisColumns.assign(cells, 0);
    BasisInverse.assign(cells, 0.0);
    BasisLevel.assign(rows, 0.0);
    BasisCost.assign(rows, 0.0);
    BasisStockLength.assign(rows, 0);
}

namespace {

bool StoreFull(WorkingTables& tables) {
    if (tables.PatternCount() < MaxPatterns) return false;
    tables.PatternStoreFull = true;
    return true;
}

// Live cut rows of a length. Between engine steps the rows are in descending order of length,
// so rows of equal length stand together.
std::pair<std::vector<WorkingCutRow>::iterator, std::vector<WorkingCutRow>::iterator> RowsOfLength(
    WorkingTables& tables, int length) {
    return std::equal_range(
        tables.Cuts.begin(), tables.Cuts.end(), WorkingCutRow{length, 0},
        [](const WorkingCutRow& a, const WorkingCutRow& b) { return a.CutLength > b.CutLength; });
}

// Takes one bar of each entry's pieces off the cut rows of the same length.
void TakePieces(WorkingTables& tables, const CuttingPattern& pattern, int bars) {
    for (int k = 0; k < pattern.LengthCount(); ++k) {
        auto [first, last] = RowsOfLength(tables, pattern.CutLength[k]);
        for (auto row = first; row != last; ++row) row->CutQuantity -= bars * pattern.PieceCount[k];
    }
}

void TakeBars(WorkingStockRow& row, int bars) {
    if (row.StockQuantity != -1) row.StockQuantity -= bars;
}

}  // namespace

void NestAllInOneBar(WorkingTables& tables) {
    if (tables.AllAllocated) return;
    if (tables.Cuts.empty()) {
        // No pieces: nothing to cut, and no bar is spent on nothing.
        tables.AllAllocated = true;
        return;
    }
    if (StoreFull(tables)) return;
    const long long total = RemainingLength(tables);
    int best = MaxLength;
    bool fits = false;
    for (const auto& row : tables.Stock) {
        if (total <= row.StockLength) {
            fits = true;
            best = std::min(best, row.StockLength);
        }
    }
    if (!fits) return;
    tables.AllAllocated = true;
    // The bar comes off its row as in the other generators, so the stock left is right.
    const int r = MatchLength(tables, best);
    if (r != 0) TakeBars(tables.Stock[r - 1], 1);
    CuttingPattern pattern;
    pattern.StockLength = best;
    pattern.BarCount = 1;
    for (auto& row : tables.Cuts) {
        pattern.CutLength.push_back(row.CutLength);
        pattern.PieceCount.push_back(row.CutQuantity);
        row.CutLength = 0;
        row.CutQuantity = 0;
    }
    tables.Patterns.push_back(std::move(pattern));
}

void NestBestFilledBar(WorkingTables& tables) {
    if (tables.AllAllocated) return;
    tables.RemainingPieces = SumCutQuantity(tables);

    // The pieces, longest first (equal lengths keep their order), as runs of one row each.
    std::vector<WorkingCutRow> pieces;
    for (const auto& row : tables.Cuts) {
        if (row.CutQuantity > 0) pieces.push_back(row);
    }
    std::stable_sort(
        pieces.begin(), pieces.end(),
        [](const WorkingCutRow& a, const WorkingCutRow& b) { return a.CutLength > b.CutLength; });

    // Fills one candidate bar per stock row; only a strictly better fill replaces the choice.
    std::vector<std::pair<int, int>> chosenRuns;  // (length, pieces) in placing order
    int chosenLength = 0;
    double bestUtilisation = 0.0;
    std::vector<std::pair<int, int>> runs;
    for (const auto& stock : tables.Stock) {
        if (stock.StockQuantity == 0) continue;
        const int length = stock.StockLength;
        runs.clear();
        long long used = 0;
        int placed = 0;
        for (const auto& piece : pieces) {
            if (placed == MaxBarPieces) break;
            // A piece goes on while the bar holds it, an exact fit included.
            long long fit = (length - used) / piece.CutLength;
            fit = std::min<long long>({fit, piece.CutQuantity, MaxBarPieces - placed});
            if (fit <= 0) continue;
            runs.emplace_back(piece.CutLength, static_cast<int>(fit));
            used += fit * piece.CutLength;
            placed += static_cast<int>(fit);
        }
        const double utilisation = static_cast<double>(used) / static_cast<double>(length) * 100.0;
        if (utilisation > bestUtilisation) {
            bestUtilisation = utilisation;
            chosenLength = length;
            chosenRuns = runs;
        }
    }
    if (chosenRuns.empty()) return;

    const int r = MatchLength(tables, chosenLength);
    if (r == 0 || tables.Stock[r - 1].StockQuantity == 0) return;
    if (StoreFull(tables)) return;

    CuttingPattern pattern;
    pattern.StockLength = chosenLength;
    pattern.BarCount = 1;
    for (const auto& [length, count] : chosenRuns) {
        if (!pattern.CutLength.empty() && pattern.CutLength.back() == length) {
            pattern.PieceCount.back() += count;
        } else {
            pattern.CutLength.push_back(length);
            pattern.PieceCount.push_back(count);
        }
    }
    TakeBars(tables.Stock[r - 1], 1);
    TakePieces(tables, pattern, 1);
    tables.Patterns.push_back(std::move(pattern));
}

void NestWholeBarsOfBasis(CalculationRun& run, const SearchBasis& basis) {
    WorkingTables& tables = run.Tables;
    const int m = basis.Rows;
    for (int j = 0; j < m; ++j) {
        const double level = basis.BasisLevel[j] + 1e-9;
        if (!(level >= 1.0)) continue;
        int bars =
            level >= static_cast<double>(INT_MAX) ? INT_MAX : static_cast<int>(std::trunc(level));
        const int r = MatchLength(tables, basis.BasisStockLength[j]);
        const int q = r == 0 ? 0 : tables.Stock[r - 1].StockQuantity;
        if (q == 0) continue;
        if (q != -1 && q < bars) bars = q;
        // Never more pieces of a row than remain.
        bool hasPieces = false;
        for (int i = 0; i < m; ++i) {
            const int pieces = basis.Column(i, j);
            if (pieces > 0) {
                hasPieces = true;
                bars = std::min(bars, tables.Cuts[i].CutQuantity / pieces);
            }
        }
        if (!hasPieces || bars <= 0) continue;
        if (StoreFull(tables)) return;

        CuttingPattern pattern;
        pattern.StockLength = basis.BasisStockLength[j];
        pattern.BarCount = bars;
        tables.Patterns.push_back(std::move(pattern));
        for (int i = 0; i < m; ++i) {
            const int pieces = basis.Column(i, j);
            if (pieces == 0) continue;
            CuttingPattern& added = tables.Patterns.back();
            added.CutLength.push_back(tables.Cuts[i].CutLength);
            added.PieceCount.push_back(pieces);
            tables.Cuts[i].CutQuantity -= bars * pieces;
            run.CheckProgress();
        }
        if (q != -1) tables.Stock[r - 1].StockQuantity -= bars;
    }
}

void RepeatPatterns(WorkingTables& tables) {
    if (tables.AllAllocated) return;
    const int count = tables.PatternCount();
    for (int p = 0; p < count; ++p) {
        CuttingPattern& pattern = tables.Patterns[p];
        int covered = 0;
        for (int k = 0; k < pattern.LengthCount(); ++k) {
            auto [first, last] = RowsOfLength(tables, pattern.CutLength[k]);
            for (auto row = first; row != last; ++row) {
                if (row->CutQuantity >= pattern.PieceCount[k]) ++covered;
            }
        }
        const int r = MatchLength(tables, pattern.StockLength);
        if (covered == pattern.LengthCount() && r != 0 && tables.Stock[r - 1].StockQuantity != 0) {
            TakeBars(tables.Stock[r - 1], 1);
            ++pattern.BarCount;
            TakePieces(tables, pattern, 1);
        }
    }
}

namespace {

bool Identical(const CuttingPattern& a, const CuttingPattern& b) {
    return a.StockLength == b.StockLength && a.CutLength == b.CutLength &&
           a.PieceCount == b.PieceCount;
}

}  // namespace

void MergeIdenticalPatterns(WorkingTables& tables) {
    auto& patterns = tables.Patterns;
    size_t i = 0;
    do {
        size_t j = i + 1;
        while (j < patterns.size()) {
            if (Identical(patterns[i], patterns[j])) {
                patterns[i].BarCount += patterns[j].BarCount;
                if (j + 1 != patterns.size()) patterns[j] = std::move(patterns.back());
                patterns.pop_back();
            } else {
                ++j;
            }
        }
        ++i;
    } while (i + 1 < patterns.size());
}

}  // namespace tallora
