#pragma once

#include <optional>

namespace tallora {

// What a calculation is doing when it reports.
enum class CalculationPhase {
    Started,    // the rows are read: TotalPieces is known
    Searching,  // the Complex search: Iteration counts its steps
    Placing,    // pieces placed on bars
    Optimal,    // the Optimal search: best plan and bound as far as known
    Finished,   // the run is over, however it ended
};

// A calculation's progress. Lengths are usable stock in millimetres.
struct CalculationProgress {
    CalculationPhase Phase = CalculationPhase::Started;
    int TotalPieces = 0;
    int PiecesPlaced = 0;
    int PiecesLeft = 0;
    int PatternsMade = 0;
    int Iteration = 0;  // the Complex search's step counter, from 1
    // The step the search's line names: the last of steps 1, 26, 51, ... this run of the
    // search has reached; 0 before the first.
    int Milestone = 0;
    // Optimal: how much of its time is gone (0 to 1) while no piece is placed yet.
    double TimeFraction = 0.0;
    // Optimal: the best plan's stock so far and the bound under it (with inventory offcut rows,
    // of new stock); in bars as well where there is one stock length.
    std::optional<long long> BestMaterial;
    std::optional<double> Bound;
    int SingleStockLength = 0;  // the one stock length, or 0 with several
    bool OffcutRows = false;    // some stock rows are inventory offcuts
};

// Told of a calculation's progress, and asked whether to stop. Calls come from the thread the
// calculation runs on.
class CalculationObserver {
public:
    virtual ~CalculationObserver() = default;
    virtual void OnProgress(const CalculationProgress&) {}
    // True once the user asked to stop: the calculation stops at its next check.
    virtual bool StopRequested() { return false; }
};

}  // namespace tallora
