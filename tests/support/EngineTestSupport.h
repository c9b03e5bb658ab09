#pragma once

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "engine/Calculation.h"
#include "engine/CuttingStockSolver.h"
#include "engine/WorkingTables.h"
#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "results/ProgressText.h"
#include "support/TestJob.h"

namespace tallora::testing {

// Records a calculation's progress and stops it when told; with a table to watch, it counts the
// reports at which a cut row holds a negative quantity.
class RecordingObserver : public CalculationObserver {
public:
    std::vector<CalculationProgress> reports;
    int cancelAtCheck = -1;  // the user cancels at this check (from 0)
    int checks = 0;

    // The search line of the progress window as it changes; "" when a search ends.
    std::vector<std::string> searchLines;
    int searchRuns = 0;  // runs of the Complex search that counted iterations

    void OnProgress(const CalculationProgress& progress) override {
        reports.push_back(progress);
        negativeSeen += progress.PiecesLeft < 0 || progress.PiecesPlaced < 0;
        const bool searching = progress.Phase == CalculationPhase::Searching ||
                               progress.Phase == CalculationPhase::Optimal;
        if (searching) {
            const std::string line = SearchLine(progress);
            if (!line.empty() && (searchLines.empty() || searchLines.back() != line))
                searchLines.push_back(line);
            inSearch_ = inSearch_ || !line.empty();
        } else if (inSearch_) {
            searchLines.push_back("");
            inSearch_ = false;
        }
        // A run of the Complex search ends with a report of the pieces, its iterations counted.
        if (progress.Phase == CalculationPhase::Placing && progress.Iteration != lastIteration_) {
            ++searchRuns;
            lastIteration_ = progress.Iteration;
        }
    }
    bool StopRequested() override { return cancelAtCheck >= 0 && checks++ >= cancelAtCheck; }
    int negativeSeen = 0;

private:
    bool inSearch_ = false;
    int lastIteration_ = 1;
};

// One calculation of the job's input, its result put into the job as a front end puts it.
struct Calculated {
    RecordingObserver observer;
    CalculationOutcome outcome;
    explicit Calculated(TestJob& job, Algorithm algorithm = Algorithm::Complex,
                        std::optional<double> seconds = {}) {
        CalculationOptions options;
        options.TimeLimitSeconds = seconds;
        Run(job, algorithm, options);
    }
    // With the caller's options, such as a work limit in place of the time.
    Calculated(TestJob& job, Algorithm algorithm, CalculationOptions options) {
        Run(job, algorithm, options);
    }

private:
    void Run(TestJob& job, Algorithm algorithm, CalculationOptions options) {
        options.Algorithm = algorithm;
        outcome = Calculate(job.Input, options, observer);
        if (outcome.Completed || outcome.ResultsCleared) job.Result = outcome.Result;
        EXPECT_EQ(observer.negativeSeen, 0);
    }
};

// Searches in tests stop on work, never on a clock: the same result on any machine.
inline constexpr long long Work = 100000;

inline csp::Control WorkLimited(long long nodes) {
    csp::Control control;
    control.WorkLimit = nodes;
    return control;
}

inline CalculationOptions WorkLimitedRun(long long nodes = Work) {
    CalculationOptions options;
    options.WorkLimit = nodes;
    return options;
}

using Rows = std::vector<std::pair<std::string, std::string>>;  // (quantity, length)

inline TestJob MakeJob(const Rows& stock, const Rows& cuts, int kerf = 3, int trim = 25,
                       int hold = 0) {
    TestJob job;
    // Remnants stay unclassified, so results compare on the cuts alone.
    job.Input.Allowances = {kerf, trim, hold, 3000, true};
    for (const auto& [q, l] : stock) job.Input.StockRows.push_back({q, l});
    for (const auto& [q, l] : cuts) job.Input.CutRows.push_back({q, l});
    return job;
}

// Working tables set directly, in engine units, for the generators.
inline WorkingTables WorkingJob(const std::vector<WorkingStockRow>& stock,
                                const std::vector<WorkingCutRow>& cuts) {
    WorkingTables job;
    job.Stock = stock;
    job.Cuts = cuts;
    for (const auto& row : cuts) job.TotalPieces += row.CutQuantity;
    return job;
}

inline CuttingPattern Pattern(int stockLength, int bars, std::vector<int> lengths,
                              std::vector<int> counts) {
    return {stockLength, bars, std::move(lengths), std::move(counts)};
}

// The worked example of the results: one 6000 mm stock row (Trim 25, Hold 25, Kerf 3), two bars
// each cut to 3 x 1500 and 1 x 1000, everything placed.
inline TestJob WorkedExampleJob(int offcut, bool scrapAll = false) {
    TestJob job;
    job.Input.Allowances = {3, 25, 25, offcut, scrapAll};
    CalculationResult& r = job.Result;
    r.InputStockLength = {5950};
    r.InputCutLength = {1503, 1003};
    r.InputCutQuantity = {6, 2};
    r.TotalPieces = 8;
    r.TotalCutLength = 11000;
    r.Patterns = {Pattern(5950, 2, {1503, 1003}, {3, 1})};
    return job;
}

// Limited stock with an unused row, single bars and pieces left over: the second example of the
// cutting list and the report. Entry order 12000, 6000, 4000 (Trim 25, Kerf 3, Offcut 500).
inline TestJob LeftOverJob(bool scrapAll = false) {
    TestJob job;
    job.Input.Allowances = {3, 25, 0, 500, scrapAll};
    CalculationResult& r = job.Result;
    r.InputStockLength = {11975, 5975, 3975};
    r.InputCutLength = {7003, 5003, 2003};
    r.InputCutQuantity = {2, 2, 7};
    r.TotalPieces = 11;
    r.Patterns = {Pattern(5975, 1, {5003}, {1}), Pattern(3975, 2, {2003}, {1})};
    r.Cuts = {{7003, 1}, {2003, 5}, {5003, 1}};
    return job;
}

// Calculates a job worked out by hand: its patterns, the pieces left over and the stock left.
inline Calculated ExpectWorkedOut(const std::string& name, TestJob job, Algorithm algorithm,
                                  const std::vector<CuttingPattern>& patterns,
                                  const std::vector<WorkingCutRow>& left,
                                  const std::vector<WorkingStockRow>& stock) {
    SCOPED_TRACE(name);
    Calculated run(job, algorithm);
    EXPECT_TRUE(run.outcome.Completed);
    EXPECT_EQ(job.Result.Patterns, patterns);
    EXPECT_EQ(job.Result.Cuts, left);
    EXPECT_EQ(job.Result.Stock, stock);
    int remaining = 0;
    for (const auto& row : left) remaining += row.CutQuantity;
    EXPECT_EQ(job.Result.RemainingPieces, remaining);
    return run;
}

// Every entered piece is in a pattern, and no pattern asks more of its bar than it holds.
inline void ExpectEveryPiecePlacedWithinItsBar(const CalculationResult& job) {
    EXPECT_TRUE(job.Cuts.empty());
    std::map<int, long long> pieces;  // by length
    for (const auto& p : job.Patterns) {
        long long used = 0;
        for (int k = 0; k < p.LengthCount(); ++k) {
            used += 1LL * p.PieceCount[k] * p.CutLength[k];
            pieces[p.CutLength[k]] += 1LL * p.PieceCount[k] * p.BarCount;
        }
        EXPECT_LE(used, p.StockLength);
    }
    for (int i = 0; i < job.InputCutCount(); ++i)
        EXPECT_EQ(pieces[job.InputCutLength[i]], job.InputCutQuantity[i]) << job.InputCutLength[i];
}

}  // namespace tallora::testing

namespace tallora {
inline void PrintTo(const CuttingPattern& p, std::ostream* os) {
    *os << p.BarCount << " x " << p.StockLength << " [";
    for (int k = 0; k < p.LengthCount(); ++k)
        *os << (k ? ", " : "") << p.PieceCount[k] << " x " << p.CutLength[k];
    *os << "]" << (p.IsOffcut ? " offcut " + std::to_string(p.OffcutLength) : "");
}
}  // namespace tallora
