#pragma once

#include <functional>
#include <vector>

#include "engine/CalculationRun.h"
#include "engine/Generators.h"

namespace tallora {

// How many states the knapsack's table relaxes at a time. Every width gives the same tables (the
// same IEEE additions and comparisons); the widest the processor has is the default.
enum class KnapsackLanes { One, Two, Four, Eight };
KnapsackLanes WidestKnapsackLanes();
bool HasKnapsackLanes(KnapsackLanes lanes);

// Reusable tables of the knapsack, so that pricing allocates nothing once warmed up.
struct KnapsackTables {
    KnapsackLanes Lanes = WidestKnapsackLanes();
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
// up to it, exactly as Knapsack gives them for that capacity. `stop`, when given, is asked now
// and then while the table is made: true leaves it unfinished, and the answer is false.
bool KnapsackTable(int capacity, const std::vector<int>& weights, const std::vector<double>& values,
                   KnapsackTables& tables, const std::function<bool()>& stop = {});
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
