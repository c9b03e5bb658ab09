#pragma once

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "commands/Ports.h"
#include "engine/Calculation.h"
#include "job/CuttingJob.h"

namespace tallora::testing {

// Records what the calculation asks of the window system, in order. With a job to watch, it
// counts the callbacks at which a cut row of the job holds a negative quantity.
class RecordingHost : public CalculateHost {
public:
    bool answerYes = false;
    std::vector<std::string> questions, errors, events, permutationLines, cuttingList;
    int pumps = 0;
    bool mainWindowEnabled = true;
    const CuttingJob* watched = nullptr;
    int negativeSeen = 0;
    int cancelAtCheck = -1;  // the user cancels at this progress check (from 0)
    int checks = 0;

    bool AskQuestion(const std::string& text) override {
        questions.push_back(text);
        events.push_back("question");
        return answerYes;
    }
    void ShowError(const std::string& text) override {
        errors.push_back(text);
        events.push_back("error");
    }
    void SetBusyCursor(bool on) override { events.push_back(on ? "busy" : "normal cursor"); }
    void SetStatusText(const std::string& text) override { events.push_back("status: " + text); }
    void ClearCuttingList() override { events.push_back("clear list"); }
    void SetMainWindowEnabled(bool enabled) override {
        mainWindowEnabled = enabled;
        events.push_back(enabled ? "enable main" : "disable main");
    }
    void ShowProgress(int maximum) override {
        events.push_back("show progress " + std::to_string(maximum));
    }
    void HideProgress() override { events.push_back("hide progress"); }
    void SetProgressPosition(int position) override {
        events.push_back("position " + std::to_string(position));
    }
    void UpdateProgress(int position, const std::string& allocated,
                        const std::string& remaining) override {
        Watch();
        events.push_back("progress " + std::to_string(position) + " | " + allocated + " | " +
                         remaining);
    }
    void SetPermutationLine(const std::string& text) override { permutationLines.push_back(text); }
    void ProcessMessages() override {
        Watch();
        ++pumps;
    }
    bool CancelRequested() override { return cancelAtCheck >= 0 && checks++ >= cancelAtCheck; }
    void ShowSectionPrices() override { events.push_back("prices"); }
    void EnableOutputCommands() override { events.push_back("enable output"); }
    void ShowStatistics(const Statistics&) override { events.push_back("statistics"); }
    void ShowCuttingList(const std::vector<std::string>& lines) override {
        cuttingList = lines;
        events.push_back("cutting list");
    }

private:
    void Watch() {
        if (watched == nullptr) return;
        for (const auto& row : watched->Cuts) negativeSeen += row.CutQuantity < 0;
    }
};

// One calculation on a recording host that watches the job, the algorithm as the user left it.
struct Calculated {
    RecordingHost host;
    Algorithm algorithm;
    CalculationOutcome outcome;
    explicit Calculated(CuttingJob& job, Algorithm chosen = Algorithm::Complex,
                        const CalculationOptions& options = {})
        : algorithm(chosen) {
        host.watched = &job;
        outcome = RunCalculation(job, algorithm, host, options);
        EXPECT_EQ(host.negativeSeen, 0);
    }
};

using Rows = std::vector<std::pair<std::string, std::string>>;  // (quantity, length)

inline CuttingJob MakeJob(const Rows& stock, const Rows& cuts, int kerf = 3, int trim = 25,
                          int hold = 0) {
    CuttingJob job;
    // Remnants stay unclassified, so results compare on the cuts alone.
    job.allowances = {kerf, trim, hold, 3000, true};
    for (const auto& [q, l] : stock) job.StockItems.push_back({q, l});
    for (const auto& [q, l] : cuts) job.CutItems.push_back({q, l});
    return job;
}

// Working tables set directly, in engine units, for the generators.
inline CuttingJob WorkingJob(const std::vector<WorkingStockRow>& stock,
                             const std::vector<WorkingCutRow>& cuts) {
    CuttingJob job;
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
inline CuttingJob WorkedExampleJob(int offcut, bool scrapAll = false) {
    CuttingJob job;
    job.allowances = {3, 25, 25, offcut, scrapAll};
    job.InputStockLength = {5950};
    job.InputCutLength = {1503, 1003};
    job.InputCutQuantity = {6, 2};
    job.TotalPieces = 8;
    job.TotalCutLength = 11000;
    job.Patterns = {Pattern(5950, 2, {1503, 1003}, {3, 1})};
    return job;
}

// Calculates a job worked out by hand: its patterns, the pieces left over and the stock left.
inline Calculated ExpectWorkedOut(const std::string& name, CuttingJob job, Algorithm algorithm,
                                  const std::vector<CuttingPattern>& patterns,
                                  const std::vector<WorkingCutRow>& left,
                                  const std::vector<WorkingStockRow>& stock) {
    SCOPED_TRACE(name);
    Calculated run(job, algorithm);
    EXPECT_TRUE(run.outcome.Completed);
    EXPECT_EQ(job.Patterns, patterns);
    EXPECT_EQ(job.Cuts, left);
    EXPECT_EQ(job.Stock, stock);
    int remaining = 0;
    for (const auto& row : left) remaining += row.CutQuantity;
    EXPECT_EQ(job.RemainingPieces, remaining);
    return run;
}

// Every entered piece is in a pattern, and no pattern asks more of its bar than it holds.
inline void ExpectEveryPiecePlacedWithinItsBar(const CuttingJob& job) {
    EXPECT_EQ(job.CutCount(), 0);
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
