#pragma once

#include <vector>

#include "engine/CuttingStockSolver.h"
#include "engine/optimal/Board.h"
#include "engine/optimal/Charges.h"
#include "engine/optimal/Options.h"

namespace tallora::csp {

// The job as one worker of the search reads it, the work it has done, and when it stops.
struct Instance {
    Instance(const Problem& problem, const Control& control, const SolverOptions& options,
             const Charges& costs, Board& board, int worker);

    const Problem& P;
    const Control& C;
    const SolverOptions& O;
    int N = 0;                // items
    int M = 0;                // stock rows
    std::vector<int> BySize;  // items, longest first
    const Charges& Costs;
    Board& Shared;
    const int Worker;
    // Work done: programmes solved, nodes searched. It orders the workers' plans, so it counts
    // the same on any machine.
    mutable long long Done = 0;

    const Item& ItemAt(int i) const { return P.Items[static_cast<std::size_t>(i)]; }
    const Stock& StockAt(int j) const { return P.Stocks[static_cast<std::size_t>(j)]; }
    void Work(long long units = 1) const;
    bool TimedOut() const;
    bool Stopped() const;
    // Seconds to the deadline, capped at `seconds`; `seconds` without one.
    double SecondsLeft(double seconds) const;
};

}  // namespace tallora::csp
