#pragma once

#include <vector>

#include "engine/CalculationRun.h"
#include "engine/WorkingTables.h"

namespace tallora {

// The Complex search's basis: m columns over the m live cut rows it ran on. NestWholeBarsOfBasis
// turns its whole-bar part into patterns.
struct SearchBasis {
    int Rows = 0;
    std::vector<int> BasisColumns;  // (i, j) at i * m + j: pieces of cut row i per bar of column j
    std::vector<double> BasisInverse;  // (i, k) at i * m + k
    std::vector<double> BasisLevel;    // bars of column j in the fractional solution
    std::vector<double> BasisCost;
    std::vector<int> BasisStockLength;

    void Reset(int rows);
    int Column(int i, int j) const { return BasisColumns[static_cast<size_t>(i) * Rows + j]; }
};

// Everything in one bar, when all remaining pieces fit in one stock bar.
void NestAllInOneBar(WorkingTables& tables);
// One new bar: the stock length that the longest-first fill uses best.
void NestBestFilledBar(WorkingTables& tables);
// Whole bars from the Complex search's fractional solution.
void NestWholeBarsOfBasis(CalculationRun& run, const SearchBasis& basis);
// One more bar of each existing pattern that the remaining demand still covers.
void RepeatPatterns(WorkingTables& tables);
// Joins identical patterns into one.
void MergeIdenticalPatterns(WorkingTables& tables);

}  // namespace tallora
