#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "engine/CalculationHost.h"
#include "engine/CuttingJob.h"

namespace tallora {

// The Algorithm menu: Complex (Standard1) or Fast (Fast1).
enum class Algorithm { Complex, Fast };

const char* AlgorithmName(Algorithm algorithm);  // "complex" or "fast"

// Iterations one run of the Complex search may make before it stops with the basis it has: a
// guard against endless pivoting that ordinary jobs never reach.
inline constexpr int MaxSearchIterations = 20000;

// The state one calculation shares between the driver, the generators and the algorithms.
class CalculationRun {
public:
    CalculationRun(CuttingJob& job, CalculationHost& host) : Job(job), Host(host) {}

    CuttingJob& Job;
    CalculationHost& Host;
    int LastProgress = -1;
    int PermutationNumber = 1;  // counts the Complex search's iterations across runs
    int SearchIterationLimit = MaxSearchIterations;

    // Recomputes RemainingPieces and refreshes the progress window when the figure changed.
    void CheckProgress();
    void ProcessMessages() { Host.ProcessMessages(); }
    // What follows every generator: CheckProgress, set AllAllocated, Recompile.
    void Settle();
};

struct CalculationOutcome {
    bool Completed = false;  // false: refused; Error holds the message shown
    std::string Error;
    Statistics Stats;                      // when completed
    std::vector<std::string> CuttingList;  // when completed
    std::string TimeText;    // "Calculation Time : ..." when completed
    int Permutations = 1;    // the search's iteration counter at the end
};

// The calculation behind CalculateButtonClick, from clearing the result store to the time
// text. The caller autosaves the inputs and rewrites the weight and cost fields first. The
// statistics and the cutting list of a completed run go to the host and into the outcome.
// `algorithm` is the Algorithm menu's state; the switch offered for large jobs changes it for
// later calculations too.
CalculationOutcome RunCalculation(CuttingJob& job, Algorithm& algorithm, CalculationHost& host);

// Scales all working lengths down by their greatest common divisor.
void PreProcess(CuttingJob& job);
int GCD(int a, int b);
int GCDArray(const std::vector<int>& values);
// Compacts and sorts the working tables.
void Recompile(CuttingJob& job);
// Scales everything back to millimetres.
void PostProcess(CuttingJob& job);
// Orders the patterns by stock length, longest first.
void Sort(CuttingJob& job);

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
