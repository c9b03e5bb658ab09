#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tallora {

struct CuttingPattern {
    int StockLength = 0;  // usable length of the bar
    int BarCount = 0;
    std::vector<int> CutLength;   // each including one kerf, longest first
    std::vector<int> PieceCount;  // pieces of CutLength[k] per bar
    // The remnant's class under the allowances last applied (ApplyAllowances).
    bool IsOffcut = false;
    int OffcutLength = 0;

    int LengthCount() const { return static_cast<int>(CutLength.size()); }
    bool operator==(const CuttingPattern&) const = default;
};

// A row of the stock table as a calculation leaves it. StockQuantity -1 means unlimited.
struct WorkingStockRow {
    int StockLength = 0;
    int StockCost = 0;
    int StockQuantity = 0;
    bool Offcut = false;  // an inventory offcut, already paid for
    bool operator==(const WorkingStockRow&) const = default;
};

// A row of the cut table: length with kerf, pieces not yet allocated.
struct WorkingCutRow {
    int CutLength = 0;
    int CutQuantity = 0;
    bool operator==(const WorkingCutRow&) const = default;
};

// What the Optimal algorithm proves about its plan. Lengths are usable stock (bars less trim and
// hold), in millimetres, as the algorithm counts them. With inventory offcut rows the plan uses
// the least new stock first and the least offcuts second, and the bounds are on the new stock.
struct SolutionBound {
    double LinearBound = 0.0;    // the linear programme's bound on the stock length
    long long LowerBound = 0;    // that, rounded up to what a sum of bars can be
    int LowerBoundBars = 0;      // the same in bars, with a single stock length; else 0
    long long Used = 0;          // the plan's usable stock length
    int UsedBars = 0;            // the plan's bars
    bool SingleLength = false;   // one stock length: bars tell it all
    bool ProvenOptimal = false;  // with offcut rows: at both levels
    bool Offcuts = false;        // some stock rows were inventory offcuts
    long long OffcutUsed = 0;    // of Used, inventory offcuts
    // The least offcuts a plan with LowerBound of new stock can use.
    long long OffcutLowerBound = 0;
    bool NewStockProven = false;  // no plan uses less new stock
    // False: no bound, as the time was up before there was one, or the stock ran out.
    bool Known = false;
    bool PiecesLeft = false;  // some pieces could not be cut: the stock ran out
    bool TimedOut = false;    // the search stopped at the time limit
    bool Cancelled = false;   // the user stopped the search; the plan is the best by then
    double Seconds = 0.0;
    // Of Used, new stock.
    long long NewUsed() const { return Used - OffcutUsed; }
    bool operator==(const SolutionBound&) const = default;
};

// What a calculation returns, and what a job file keeps of it: the lists as the calculation read
// them, the tables it left, its patterns and the cutting list shown. Lengths in millimetres.
struct CalculationResult {
    // The rows the calculation read, in list order.
    std::vector<int> InputStockLength;  // usable lengths
    // The rows' marks, beside InputStockLength; empty after a job file is read.
    std::vector<std::string> InputStockMark;
    std::vector<int> InputCutLength;  // lengths with kerf
    std::vector<int> InputCutQuantity;
    int TotalPieces = 0;
    int TotalCutLength = 0;  // without kerf

    // The tables as the calculation left them: the stock not used and the pieces not placed.
    std::vector<WorkingStockRow> Stock;
    std::vector<WorkingCutRow> Cuts;
    std::vector<CuttingPattern> Patterns;
    // The calculation stopped making patterns at MaxPatterns: the pieces left are left because
    // the job is too large, not for want of stock.
    bool PatternStoreFull = false;
    // What the Optimal algorithm proved about the result; nothing after another algorithm.
    std::optional<SolutionBound> Bound;
    // The lengths' common divisor the engine worked in; 1 for a result read from a file.
    int ScaleFactor = 1;

    // Counted by ApplyAllowances: bars per input stock row and the pieces left.
    std::vector<int> StockBarsUsed;
    int RemainingPieces = 0;

    // The cutting list as shown: written after a calculation, kept in job files.
    std::vector<std::string> CuttingListLines;

    int InputStockCount() const { return static_cast<int>(InputStockLength.size()); }
    int InputCutCount() const { return static_cast<int>(InputCutLength.size()); }
    int PatternCount() const { return static_cast<int>(Patterns.size()); }
    bool operator==(const CalculationResult&) const = default;
};

// Whether input stock row j (0-based) of the calculation came from the inventory.
bool InputStockIsOffcut(const CalculationResult& result, int j);

}  // namespace tallora
