#include "engine/Calculation.h"

#include <climits>

#include "engine/CalculationRun.h"
#include "engine/ComplexAlgorithm.h"
#include "engine/FastAlgorithm.h"
#include "engine/Generators.h"
#include "engine/OptimalAlgorithm.h"
#include "engine/WorkingTables.h"
#include "job/Capacities.h"
#include "job/RowTexts.h"

namespace tallora {

const char* AlgorithmName(Algorithm algorithm) {
    switch (algorithm) {
        case Algorithm::Fast:
            return "fast";
        case Algorithm::Optimal:
            return "optimal";
        case Algorithm::Complex:
            break;
    }
    return "complex";
}

namespace {

const char* const kCalculatingText = "Calculating Solution... Please Wait a Moment";

// Rows of the entry lists as the calculation reads them.
struct ReadRows {
    std::vector<WorkingStockRow> stock;  // usable lengths
    std::vector<std::string> stockMarks;
    std::vector<WorkingCutRow> cuts;  // lengths with kerf
    std::string error;
};

ReadRows ReadEntryRows(const CuttingJob& job) {
    ReadRows rows;
    if (job.StockItems.size() > static_cast<size_t>(MaxStockRows)) {
        rows.error = StockListFullMessage();
        return rows;
    }
    if (job.CutItems.size() > static_cast<size_t>(MaxCutRows)) {
        rows.error = CutListFullMessage();
        return rows;
    }
    auto readLength = [&rows](const std::string& text) -> std::optional<int> {
        const auto length = ReadWholeNumber(text);
        if (!length)
            rows.error = NotALengthMessage(text);
        else if (*length > MaxLength)
            rows.error = LengthTooLongMessage(text);
        else
            return length;
        return std::nullopt;
    };
    auto readQuantity = [&rows](const std::string& text) -> std::optional<int> {
        const auto quantity = ReadWholeNumber(text);
        if (!quantity) rows.error = NotAQuantityMessage(text);
        return quantity;
    };

    const Allowances& a = job.allowances;
    for (const StockItem& item : job.StockItems) {
        const auto length = readLength(item.Length);
        if (!length) return rows;
        int quantity = -1;
        if (!IsUnlimitedQuantity(item.Quantity)) {
            const auto q = readQuantity(item.Quantity);
            if (!q) return rows;
            quantity = *q;
        }
        const int usable = *length - a.Trim - a.Hold;
        // A bar that trim and hold use up entirely cannot give a piece: leave it out.
        if (usable <= 0) continue;
        rows.stock.push_back({usable, usable, quantity, !InventoryOffcutIds(item.Mark).empty()});
        rows.stockMarks.push_back(item.Mark);
    }
    long long total = 0;
    for (const CutItem& item : job.CutItems) {
        const auto length = readLength(item.Length);
        if (!length) return rows;
        const auto quantity = readQuantity(item.Quantity);
        if (!quantity) return rows;
        if (*length + a.Kerf <= 0) {
            rows.error = "A cut length of " + item.Length + "mm with a kerf of " +
                         std::to_string(a.Kerf) + "mm cannot be cut." +
                         "\r\nPlease check your cut length entries.";
            return rows;
        }
        rows.cuts.push_back({*length + a.Kerf, *quantity});
        total += static_cast<long long>(*length + a.Kerf) * *quantity;
    }
    if (total > INT_MAX) {
        rows.error = "The cut lengths required total more than " + std::to_string(INT_MAX) +
                     "mm.\r\nPlease check your cut length entries.";
    }
    return rows;
}

// Main window enabled, progress window hidden, normal cursor: however the passes end.
class FinishGuard {
public:
    explicit FinishGuard(CalculationHost& host) : host_(host) {}
    FinishGuard(const FinishGuard&) = delete;
    FinishGuard& operator=(const FinishGuard&) = delete;
    ~FinishGuard() { Finish(); }
    void Finish() {
        if (done_) return;
        done_ = true;
        host_.SetMainWindowEnabled(true);
        host_.HideProgress();
        host_.SetBusyCursor(false);
    }

private:
    CalculationHost& host_;
    bool done_ = false;
};

}  // namespace

std::string SwitchToFastQuestion() {
    return "This calculation may take some time to process.\r\n"
           "Would you like to switch to the potentially less accurate Fast Algorithm?";
}

std::string StockTooShortMessage(int longestCutLength) {
    return "You have not entered a stock length long enough to cut a length of " +
           std::to_string(longestCutLength) + "mm." + "\r\n" +
           "Please check your stock length entries.";
}

CalculationOutcome RunCalculation(CuttingJob& job, Algorithm& algorithm, CalculationHost& host,
                                  const CalculationOptions& options) {
    CalculationOutcome outcome;

    // Rows the calculation cannot read are refused before anything changes.
    ReadRows rows = ReadEntryRows(job);
    if (!rows.error.empty()) {
        host.ShowError(rows.error);
        outcome.Error = rows.error;
        return outcome;
    }

    ResetArray(job);
    job.PatternStoreFull = false;
    job.Bound.reset();
    const auto start = std::chrono::steady_clock::now();
    host.SetBusyCursor(true);
    host.SetStatusText(kCalculatingText);
    job.CuttingListLines.clear();
    host.ClearCuttingList();

    CalculationRun run(job, host);
    const bool defaultLimit = algorithm == Algorithm::Optimal && !options.WorkLimit;
    const double seconds =
        options.TimeLimitSeconds.value_or(defaultLimit ? DefaultOptimalSeconds : 0.0);
    run.WorkLimit = options.WorkLimit;
    run.Threads = options.Threads;
    if (seconds > 0) {
        run.Deadline = start + std::chrono::duration_cast<CalculationRun::Clock::duration>(
                                   std::chrono::duration<double>(seconds));
    }
    job.AllAllocated = false;
    job.TotalCutLength = 0;
    job.TotalPieces = 0;

    job.Stock = std::move(rows.stock);
    job.InputStockLength.clear();
    for (const auto& row : job.Stock) job.InputStockLength.push_back(row.StockLength);
    job.InputStockMark = std::move(rows.stockMarks);
    job.StockBarsUsed.assign(job.Stock.size(), 0);

    job.Cuts = std::move(rows.cuts);
    job.InputCutLength.clear();
    job.InputCutQuantity.clear();
    for (const auto& row : job.Cuts) {
        job.InputCutLength.push_back(row.CutLength);
        job.InputCutQuantity.push_back(row.CutQuantity);
        job.TotalCutLength += (row.CutLength - job.allowances.Kerf) * row.CutQuantity;
        job.TotalPieces += row.CutQuantity;
    }

    PreProcess(job);

    // The offer is for the Complex search, whose work grows with the rows.
    if (job.CutCount() > 40 && algorithm == Algorithm::Complex) {
        if (host.AskQuestion(SwitchToFastQuestion())) algorithm = Algorithm::Fast;
    }

    host.ShowProgress(job.TotalPieces);
    try {
        FinishGuard finish(host);
        host.SetMainWindowEnabled(false);
        host.SetProgressPosition(1);

        Recompile(job);

        if (job.FirstStockLength() < job.FirstCutLength()) {
            host.SetBusyCursor(false);
            host.HideProgress();
            host.SetStatusText("");
            const int longest = job.FirstCutLength() * job.ScaleFactor - job.allowances.Kerf;
            outcome.Error = StockTooShortMessage(longest);
            host.ShowError(outcome.Error);
            outcome.Permutations = run.PermutationNumber;
            return outcome;
        }

        long long remaining = RemainingLength(job);
        bool changed = false;
        do {
            run.ProcessMessages();
            switch (algorithm) {
                case Algorithm::Complex:
                    StandardAlg(run);
                    break;
                case Algorithm::Fast:
                    FastAlg(run);
                    break;
                case Algorithm::Optimal:
                    OptimalAlg(run);
                    break;
            }
            const long long now = RemainingLength(job);
            changed = now != remaining;
            remaining = now;
        } while (!job.AllAllocated && changed && job.FirstStockQuantity() != 0);
    } catch (const CalculationCancelled&) {
        host.SetStatusText("");
        outcome.Cancelled = true;
        outcome.Permutations = run.PermutationNumber;
        return outcome;
    }

    MergePattern(job);
    const auto end = std::chrono::steady_clock::now();
    PostProcess(job);
    Sort(job);

    outcome.Completed = true;
    outcome.Permutations = run.PermutationNumber;
    outcome.TimeText =
        CalculationTimeText(std::chrono::duration_cast<std::chrono::milliseconds>(end - start));
    return outcome;
}

InputSummary CheckInputData(const CuttingJob& job) {
    InputSummary summary;
    const auto stock = job.StockItems.size();
    const auto cuts = job.CutItems.size();
    summary.CalculateEnabled = stock > 0 && cuts > 0;
    if (stock == 1)
        summary.StockText = "1 Stock length available";
    else if (stock > 1)
        summary.StockText = std::to_string(stock) + " Different stock lengths available";
    if (cuts == 1)
        summary.CutText = "1 Cut length required";
    else if (cuts > 1)
        summary.CutText = std::to_string(cuts) + " Different cut lengths required";
    return summary;
}

int CheckList(const std::vector<ListRow>& rows, int length) {
    for (int i = static_cast<int>(rows.size()) - 1; i >= 0; --i) {
        const auto value = ReadInteger(rows[i].Length);
        if (value && *value == length) return i;
    }
    return -1;
}

std::string CalculationTimeText(std::chrono::milliseconds elapsed) {
    const long long total = elapsed.count() < 0 ? 0 : elapsed.count();
    const long long minutes = (total / 60000) % 60;  // hours are not shown
    const long long seconds = (total / 1000) % 60;
    const long long millis = total % 1000;
    std::string ms = std::to_string(millis);
    ms.insert(0, 3 - ms.size(), '0');
    return "Calculation Time : " + std::to_string(minutes) +
           (minutes == 1 ? " minute " : " minutes ") + std::to_string(seconds) + "." + ms +
           " seconds";
}

}  // namespace tallora
