#pragma once

#include <vector>

#include "engine/CuttingStockSolver.h"
#include "engine/optimal/Charges.h"
#include "engine/optimal/Options.h"

namespace tallora::csp {

// The job as every part of the search reads it, and when to stop.
struct Instance {
    Instance(const Problem& problem, const Control& control, const SolverOptions& options);

    const Problem& P;
    const Control& C;
    const SolverOptions& O;
    int N = 0;                // items
    int M = 0;                // stock rows
    std::vector<int> BySize;  // items, longest first
    Charges Costs;

    const Item& ItemAt(int i) const { return P.Items[static_cast<std::size_t>(i)]; }
    const Stock& StockAt(int j) const { return P.Stocks[static_cast<std::size_t>(j)]; }
    bool TimedOut() const;
    bool Stopped() const;
    // Seconds to the deadline, capped at `seconds`; `seconds` without one.
    double SecondsLeft(double seconds) const;
};

}  // namespace tallora::csp
