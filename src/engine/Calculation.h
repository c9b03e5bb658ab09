#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/CalculationHost.h"
#include "job/CuttingJob.h"

namespace tallora {

// The Algorithm menu: Complex (Standard1), Fast (Fast1) or Optimal.
enum class Algorithm { Complex, Fast, Optimal };

const char* AlgorithmName(Algorithm algorithm);  // "complex", "fast" or "optimal"

// What the caller sets for one calculation besides the job and the algorithm.
struct CalculationOptions {
    // Complex: its search stops at the limit and the calculation goes on from the basis it has.
    // Optimal: it keeps the best plan found by then (DefaultOptimalSeconds when not set).
    std::optional<double> TimeLimitSeconds;
    // Optimal: the most nodes each of its searches may visit. Without TimeLimitSeconds it then
    // has no deadline, and its plan depends on the job alone, not on the machine's speed.
    std::optional<long long> WorkLimit;
    // Optimal: its plan search and bound search side by side on two cores when two or more,
    // taking turns on one when one.
    unsigned Threads = std::thread::hardware_concurrency();
};

struct CalculationOutcome {
    bool Completed = false;  // false: refused (Error holds the message shown) or cancelled
    bool Cancelled = false;  // the user stopped it; the job's results are of no use
    std::string Error;
    std::string TimeText;  // "Calculation Time : ..." when completed
    int Permutations = 1;  // the search's iteration counter at the end
};

// The engine's part of CalculateButtonClick, from clearing the result store to the patterns
// sorted in millimetres; it stops at a progress check when the host says the user cancelled. The
// caller autosaves the inputs and rewrites the weight and cost fields first, and compiles the
// statistics and the cutting list of a completed run after. `algorithm` is the Algorithm menu's
// state; the switch offered for large jobs changes it for later calculations too.
CalculationOutcome RunCalculation(CuttingJob& job, Algorithm& algorithm, CalculationHost& host,
                                  const CalculationOptions& options = {});

// The status-bar summary of the entered lists and whether Calculate is available.
struct InputSummary {
    bool CalculateEnabled = false;
    std::string StockText;  // status panel 0
    std::string CutText;    // status panel 1
};
InputSummary CheckInputData(const CuttingJob& job);

// Index (from 0) of the last row of an entry list whose length reads as `length`, or -1.
int CheckList(const std::vector<ListRow>& rows, int length);

// "Calculation Time : 1 minute 5.250 seconds".
std::string CalculationTimeText(std::chrono::milliseconds elapsed);

// Texts of the calculation.
std::string SwitchToFastQuestion();
std::string StockTooShortMessage(int longestCutLength);

}  // namespace tallora
