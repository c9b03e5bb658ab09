#pragma once

#include <cstddef>

namespace tallora::csp {

// Reduced costs and fractions closer to zero than this are zero.
inline constexpr double Epsilon = 1e-7;

// How hard each part of the search tries before the next one takes over.
struct SolverOptions {
    // The search bar by bar: ways to complete one bar, nodes of its first run and of its runs
    // on what a dive leaves, and its restarts in other orders when there is no deadline.
    std::size_t MaxCompletions = 256;
    long long FirstFillNodes = 20000;
    long long ResidualFillNodes = 2000;
    unsigned UnlimitedRestarts = 12;
    // Neighbourhoods of the best plan cut again bar by bar in each round of improvement.
    int RepairsPerRound = 8;
    // Sums of bars the stock rows can give are worked out up to this many steps.
    long long MaxSumStates = 1LL << 26;
    // Diving: fractions tried other than the largest, programmes solved, pricing rounds at each.
    int MaxDiscrepancies = 3;
    long long MaxDiveNodes = 2000;
    int MaxDiveRounds = 200;
    // With a deadline, the share of the time left the first dive may take before the slower
    // heuristic's turn.
    double FirstDiveShare = 0.25;
    // Pattern enumeration: for a plan at the bound, for the whole job, and the walk's length.
    std::size_t MaxTightPatterns = 5000;
    std::size_t MaxCompletePatterns = 20000;
    long long MaxEnumerationVisits = 2000000;
    // Nodes the integer programme over patterns may search: over the patterns of a plan at the
    // bound, over the patterns known, over every pattern when there is no deadline, and for the
    // offcut length alone once the new stock is proven least. Nodes rather than seconds, so
    // that a search does the same on any machine.
    long long TightNodes = 2000;
    long long ImproveNodes = 500;
    long long CompleteNodes = 5000;
    long long OffcutPolishNodes = 500;
    // Column generation: patterns taken from one pricing per stock row, and how far the duals
    // are pulled towards those of the best bound.
    int ColumnsPerPricing = 8;
    double Smoothing = 0.7;
    // Nodes the search over the master programme takes for each target when there is neither a
    // deadline nor a work limit.
    long long BranchNodes = 20000;
    // Work a worker does before it hands the core to the other, when they take turns.
    long long TurnWork = 64;
};

}  // namespace tallora::csp
