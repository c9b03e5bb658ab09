#pragma once

#include <vector>

#include "engine/CalculationRun.h"
#include "engine/Generators.h"

namespace tallora {

// Reusable tables of the knapsack, so that pricing allocates nothing once warmed up.
struct KnapsackTables {
    int Capacity = 0;               // the largest capacity the table answers for
    std::vector<double> NextValue;  // the value of stage i + 1, by state
    std::vector<double> Value;      // the value of stage i
    std::vector<int> Choice;        // the copies chosen at every stage, by state
};

// Bounded knapsack by dynamic programming over the items as stages: capacity `capacity`, item i
// weighs weights[i] and is worth values[i]. Writes the copies of each item to `copies`.
void Knapsack(int capacity, const std::vector<int>& weights, const std::vector<double>& values,
              std::vector<int>& copies, KnapsackTables& tables);

// The same in two steps: the table up to the largest capacity, then the copies for any capacity
// up to it, exactly as Knapsack gives them for that capacity.
void KnapsackTable(int capacity, const std::vector<int>& weights, const std::vector<double>& values,
                   KnapsackTables& tables);
void KnapsackCopies(int capacity, const std::vector<int>& weights, const KnapsackTables& tables,
                    std::vector<int>& copies);

// The column-generation search over the live cut rows; leaves its basis for NestWholeBarsOfBasis.
// Throws DivisionByZero when it cannot go on (a piece longer than the longest stock, or no
// leaving row).
void ComplexSearch(CalculationRun& run, SearchBasis& basis);

struct DivisionByZero {};

// One run of the Complex algorithm.
void RunComplex(CalculationRun& run);

}  // namespace tallora
