#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "commands/Ports.h"
#include "engine/Calculation.h"
#include "job/CuttingJob.h"

namespace tallora::testing {

// Records what the calculation asks of the window system, in order.
class RecordingHost : public CalculateHost {
public:
    bool answerYes = false;
    std::vector<std::string> questions;
    std::vector<std::string> errors;
    std::vector<std::string> events;
    std::vector<std::string> permutationLines;
    std::vector<std::string> statusTexts;
    int pumps = 0;
    bool mainWindowEnabled = true;
    bool progressVisible = false;
    bool busy = false;

    bool AskQuestion(const std::string& text) override {
        questions.push_back(text);
        events.push_back("question");
        return answerYes;
    }
    void ShowError(const std::string& text) override {
        errors.push_back(text);
        events.push_back("error");
    }
    void SetBusyCursor(bool on) override {
        busy = on;
        events.push_back(on ? "busy" : "normal cursor");
    }
    void SetStatusText(const std::string& text) override {
        statusTexts.push_back(text);
        events.push_back("status: " + text);
    }
    void ClearCuttingList() override { events.push_back("clear list"); }
    void SetMainWindowEnabled(bool enabled) override {
        mainWindowEnabled = enabled;
        events.push_back(enabled ? "enable main" : "disable main");
    }
    void ShowProgress(int maximum) override {
        progressVisible = true;
        events.push_back("show progress " + std::to_string(maximum));
    }
    void HideProgress() override {
        progressVisible = false;
        events.push_back("hide progress");
    }
    void SetProgressPosition(int position) override {
        events.push_back("position " + std::to_string(position));
    }
    void UpdateProgress(int position, const std::string& allocated,
                        const std::string& remaining) override {
        events.push_back("progress " + std::to_string(position) + " | " + allocated + " | " +
                         remaining);
    }
    void SetPermutationLine(const std::string& text) override { permutationLines.push_back(text); }
    void ProcessMessages() override { ++pumps; }
    void ShowSectionPrices() override { events.push_back("prices"); }
    void EnableOutputCommands() override { events.push_back("enable output"); }
    void ShowStatistics(const Statistics&) override { events.push_back("statistics"); }
    void ShowCuttingList(const std::vector<std::string>& lines) override {
        cuttingList = lines;
        events.push_back("cutting list");
    }
    std::vector<std::string> cuttingList;
};

using Rows = std::vector<std::pair<std::string, std::string>>;  // (quantity, length)

inline CuttingJob MakeJob(const Rows& stock, const Rows& cuts, int kerf = 3, int trim = 25,
                          int hold = 0) {
    CuttingJob job;
    // Remnants stay unclassified, so results compare on the cuts alone.
    job.allowances.NoOffcuts = true;
    job.allowances.Kerf = kerf;
    job.allowances.Trim = trim;
    job.allowances.Hold = hold;
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
    CuttingPattern p;
    p.StockLength = stockLength;
    p.BarCount = bars;
    p.CutLength = std::move(lengths);
    p.PieceCount = std::move(counts);
    return p;
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

// Pieces placed by the result store, per cut length.
inline long long PiecesOfLength(const CuttingJob& job, int length) {
    long long pieces = 0;
    for (const auto& p : job.Patterns) {
        for (int k = 0; k < p.LengthCount(); ++k) {
            if (p.CutLength[k] == length)
                pieces += static_cast<long long>(p.PieceCount[k]) * p.BarCount;
        }
    }
    return pieces;
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
