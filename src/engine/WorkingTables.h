#pragma once

#include <optional>
#include <vector>

#include "job/CalculationResult.h"

namespace tallora {

// The engine's working state for one run: the live stock and cut rows, the patterns made so far
// and the figures the generators share. Lengths are scaled down by ScaleFactor until
// ScaleBackToMillimetres.
struct WorkingTables {
    std::vector<WorkingStockRow> Stock;  // only the live rows
    std::vector<WorkingCutRow> Cuts;
    std::vector<CuttingPattern> Patterns;
    int Kerf = 0;
    int TotalPieces = 0;
    int RemainingPieces = 0;
    int ScaleFactor = 1;
    bool AllAllocated = false;
    // Patterns stopped at MaxPatterns: see CalculationResult::PatternStoreFull.
    bool PatternStoreFull = false;
    std::optional<SolutionBound> Bound;

    int StockCount() const { return static_cast<int>(Stock.size()); }
    int CutCount() const { return static_cast<int>(Cuts.size()); }
    int PatternCount() const { return static_cast<int>(Patterns.size()); }
    // Row 1 of a table reads as zeros once the table is empty.
    int FirstStockLength() const { return Stock.empty() ? 0 : Stock.front().StockLength; }
    int FirstStockQuantity() const { return Stock.empty() ? 0 : Stock.front().StockQuantity; }
    int FirstCutLength() const { return Cuts.empty() ? 0 : Cuts.front().CutLength; }
};

// Scales all working lengths down by their greatest common divisor.
void DivideByCommonDivisor(WorkingTables& tables);
// Compacts and sorts the working tables.
void CompactLiveRows(WorkingTables& tables);
// The same for tables kept apart: the live rows only, longest first (equal lengths keep their
// order).
void CompactTables(std::vector<WorkingStockRow>& stock, std::vector<WorkingCutRow>& cuts);
// Scales everything back to millimetres.
void ScaleBackToMillimetres(WorkingTables& tables);
// Orders the patterns by stock length, longest first.
void SortPatternsByStockLength(WorkingTables& tables);

// Highest stock row (1-based) whose StockLength equals length, or 0 when there is none.
int MatchLength(const WorkingTables& tables, int length);
// Sum of CutQuantity over the live cut rows.
int SumCutQuantity(const WorkingTables& tables);
// Sum of CutLength x CutQuantity over the live cut rows.
long long RemainingLength(const WorkingTables& tables);

}  // namespace tallora
