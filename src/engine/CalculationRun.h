#pragma once

#include <chrono>
#include <optional>

#include "engine/CalculationObserver.h"
#include "engine/WorkingTables.h"

namespace tallora {

// Iterations one run of the Complex search may make before it stops with the basis it has: a
// guard against endless pivoting that ordinary jobs never reach.
inline constexpr int MaxSearchIterations = 20000;

// Thrown at a progress check after the user asked to stop; the driver catches it.
struct CalculationCancelled {};

// The state one calculation shares between the driver, the generators and the algorithms.
class CalculationRun {
public:
    using Clock = std::chrono::steady_clock;
    CalculationRun(WorkingTables& tables, CalculationObserver& observer)
        : Tables(tables), Observer(observer) {}

    WorkingTables& Tables;
    CalculationObserver& Observer;
    int LastProgress = -1;
    int PermutationNumber = 1;  // counts the Complex search's iterations across runs
    int SearchIterationLimit = MaxSearchIterations;
    // The caller's time: the Complex search stops there and the rest is placed as Fast places
    // it; the Optimal algorithm keeps the best plan it found by then.
    std::optional<Clock::time_point> Deadline;
    // Complex: what placing the rest will take, so that the search stops that much before the
    // deadline.
    Clock::duration FinishTime{};
    // Complex: iterations its search may make in all (PermutationNumber counts them); reached,
    // the search stops as at the deadline, at the same point on every machine.
    std::optional<int> IterationBudget;
    // Complex: the search was stopped by the deadline or the budget before it was done.
    bool StoppedEarly = false;
    // The Optimal algorithm's work limit and threads (CalculationOptions).
    std::optional<long long> WorkLimit;
    unsigned Threads = 1;

    bool TimeUp() const { return Deadline && Clock::now() >= *Deadline; }
    // Complex: whether its search is to stop now, with the time left for placing the rest.
    bool SearchTimeUp() const { return Deadline && Clock::now() + FinishTime >= *Deadline; }
    // Complex: whether its search may make no iteration more.
    bool BudgetSpent() const {
        return IterationBudget && PermutationNumber - 1 >= *IterationBudget;
    }
    // Recomputes RemainingPieces and reports the pieces placed when the figure changed; throws
    // CalculationCancelled when the user asked to stop.
    void CheckProgress();
    // The same without stopping: for a step that keeps what it found when the user cancelled.
    void ShowProgress();
    // Reports a phase with the pieces as they stand.
    void Report(CalculationProgress progress);
    // What follows every generator: CheckProgress, set AllAllocated, CompactLiveRows.
    void Settle();
};

}  // namespace tallora
