#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "engine/CalculationObserver.h"
#include "job/CalculationResult.h"
#include "job/JobInput.h"

namespace tallora {

// The algorithms of the Algorithm menu.
enum class Algorithm { Complex, Fast, Optimal };

const char* AlgorithmName(Algorithm algorithm);  // "complex", "fast" or "optimal"

// What the caller sets for one calculation besides the job.
struct CalculationOptions {
    tallora::Algorithm Algorithm = Algorithm::Complex;
    // Complex: its search stops at the limit, early enough for the pieces left then to be
    // placed as the Fast algorithm places them; the plan is never worse than Fast's (see
    // CalculationResult::StoppedEarly). Optimal: it keeps the best plan found by then
    // (DefaultOptimalSeconds when not set).
    std::optional<double> TimeLimitSeconds;
    // Complex: the most iterations its search may make in all; reached, it stops as at the time
    // limit, at the same point on every machine.
    std::optional<int> SearchIterationBudget;
    // Optimal: the most nodes each of its searches may visit. Without TimeLimitSeconds it then
    // has no deadline, and its plan depends on the job alone, not on the machine's speed.
    std::optional<long long> WorkLimit{};
    // Optimal: its plan search and bound search side by side on two cores when two or more,
    // taking turns on one when one.
    unsigned Threads = std::thread::hardware_concurrency();
};

struct CalculationOutcome {
    bool Completed = false;  // false: refused (Error says why) or cancelled
    bool Cancelled = false;  // the user stopped it; Result is of no use
    // Refused after the rows were read: a result shown before is no longer the job's, and
    // Result holds the rows read and the tables as the refusal left them, without patterns.
    bool ResultsCleared = false;
    std::string Error;
    std::chrono::milliseconds Elapsed{0};
    int Permutations = 1;  // the search's iteration counter at the end
    // The patterns in millimetres, with the rows read and the tables left; its remnants are not
    // classified yet (ApplyAllowances) and its cutting list lines are empty.
    CalculationResult Result;
};

// Works out the cutting patterns of the job's lists with the chosen algorithm. Reads the input
// only; reports its progress to the observer and stops at a check when it asks to.
CalculationOutcome Calculate(const JobInput& input, const CalculationOptions& options,
                             CalculationObserver& observer);

// Why the calculation would refuse the job's rows before it starts, or nothing when it reads
// them.
std::optional<std::string> RowsError(const JobInput& input);

// "Calculation Time : 1 minute 5.250 seconds".
std::string CalculationTimeText(std::chrono::milliseconds elapsed);

// The refusal of a time limit that is not a finite number of seconds above 0.
std::string TimeLimitMessage();

// The refusal of a job whose longest piece no stock length can cut.
std::string StockTooShortMessage(int longestCutLength, const JobUnits& units = {});

}  // namespace tallora
