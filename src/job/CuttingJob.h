#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "job/Capacities.h"
#include "job/CostingSettings.h"

namespace tallora {

// Shop allowances, in millimetres.
struct Allowances {
    int Kerf = 3;            // lost per saw cut; every piece carries one
    int Trim = 25;           // squared off each bar
    int Hold = 0;            // held in the vice, cannot be cut
    int Offcut = 3000;       // shortest remnant returned to stock
    bool NoOffcuts = false;  // "Scrap all waste"
};

struct SectionData {
    std::string Customer;
    std::string Reference;
    std::string Section;
    double SectionWeight = 0.0;      // kg per metre
    double SectionCost = 0.0;        // per tonne or per metre
    std::string CostType = "Tonne";  // "Tonne" or "Metre"
};

// One row of an entry list, as typed: quantity text ("*" or "ANY" for unlimited stock) and
// length text in millimetres. A cut row may carry a mark (a part number) read with the rows from
// a file; a stock row taken from the offcut inventory carries the offcuts' marks
// (InventoryOffcutMark). Job files keep neither.
struct ListRow {
    ListRow() = default;
    // Rows are made as {quantity, length} nearly everywhere: the mark is left out there.
    ListRow(std::string quantity, std::string length, std::string mark = {})
        : Quantity(std::move(quantity)), Length(std::move(length)), Mark(std::move(mark)) {}

    std::string Quantity;
    std::string Length;
    std::string Mark;
    bool operator==(const ListRow&) const = default;
};
using StockItem = ListRow;
using CutItem = ListRow;

struct CuttingPattern {
    int StockLength = 0;  // usable length of the bar
    int BarCount = 0;
    std::vector<int> CutLength;   // each including one kerf, longest first
    std::vector<int> PieceCount;  // pieces of CutLength[k] per bar
    bool IsOffcut = false;
    int OffcutLength = 0;

    int LengthCount() const { return static_cast<int>(CutLength.size()); }
    bool operator==(const CuttingPattern&) const = default;
};

// A live row of the working stock table. StockQuantity -1 means unlimited.
struct WorkingStockRow {
    int StockLength = 0;
    int StockCost = 0;
    int StockQuantity = 0;
    bool Offcut = false;  // an inventory offcut, already paid for
    bool operator==(const WorkingStockRow&) const = default;
};

// A live row of the working cut table: length with kerf, pieces not yet allocated.
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

// The one open job: what was entered, the copies a calculation keeps of it, the working
// tables of the engine and the result store.
struct CuttingJob {
    Allowances allowances;
    SectionData section;
    CostingSettings costing;

    std::vector<StockItem> StockItems;  // stock list, in list order
    std::vector<CutItem> CutItems;      // cut list, in list order

    // Kept input copies, made when a calculation starts.
    std::vector<int> InputStockLength;  // usable lengths, entry order
    // The rows' marks, beside InputStockLength; empty after a job file is read.
    std::vector<std::string> InputStockMark;
    std::vector<int> InputCutLength;  // lengths with kerf
    std::vector<int> InputCutQuantity;
    int TotalPieces = 0;
    int TotalCutLength = 0;          // without kerf
    std::vector<int> StockBarsUsed;  // per input stock row

    // Working tables: only the live rows are held.
    std::vector<WorkingStockRow> Stock;
    std::vector<WorkingCutRow> Cuts;
    int RemainingPieces = 0;
    int ScaleFactor = 1;
    bool AllAllocated = false;
    // The calculation stopped making patterns at MaxPatterns: the pieces left are left because
    // the job is too large, not for want of stock.
    bool PatternStoreFull = false;
    // What the Optimal algorithm proved about the result; nothing after another algorithm.
    std::optional<SolutionBound> Bound;

    // Result store.
    std::vector<CuttingPattern> Patterns;
    // The cutting list as shown: written by a calculation, kept in job files.
    std::vector<std::string> CuttingListLines;

    int InputStockCount() const { return static_cast<int>(InputStockLength.size()); }
    int InputCutCount() const { return static_cast<int>(InputCutLength.size()); }
    int StockCount() const { return static_cast<int>(Stock.size()); }
    int CutCount() const { return static_cast<int>(Cuts.size()); }
    int PatternCount() const { return static_cast<int>(Patterns.size()); }

    // Row 1 of a table reads as zeros once the table is empty.
    int FirstStockLength() const { return Stock.empty() ? 0 : Stock.front().StockLength; }
    int FirstStockQuantity() const { return Stock.empty() ? 0 : Stock.front().StockQuantity; }
    int FirstCutLength() const { return Cuts.empty() ? 0 : Cuts.front().CutLength; }
};

// The mark of a stock row standing for the inventory offcut of that id: "Inventory offcut 12".
// A row for several offcuts of one length has their marks joined by ", ".
std::string InventoryOffcutMark(long long id);
// The inventory offcuts a stock row's mark names, in its order; none for an ordinary row.
std::vector<long long> InventoryOffcutIds(const std::string& mark);
// Whether input stock row j (0-based) of the last calculation came from the inventory.
bool InputStockIsOffcut(const CuttingJob& job, int j);

// Clears the result store.
void ResetArray(CuttingJob& job);

// Puts back what a calculation changes (kept copies, working tables, result store and cutting
// list lines) as another copy of the job holds them; the entered rows, allowances, section data
// and charges stay as they are.
void RestoreResults(CuttingJob& job, const CuttingJob& from);

// Highest stock row (1-based) whose StockLength equals length, or 0 when there is none.
int MatchLength(const CuttingJob& job, int length);

// Sum of CutQuantity over the live cut rows.
int SumCutQuantity(const CuttingJob& job);

// Sum of CutLength x CutQuantity over the live cut rows.
long long RemainingLength(const CuttingJob& job);

}  // namespace tallora
