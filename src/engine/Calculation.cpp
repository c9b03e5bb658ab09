#include "engine/Calculation.h"

#include <algorithm>
#include <climits>
#include <cmath>

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

// Rows of the entry lists as the calculation reads them.
struct ReadRows {
    std::vector<WorkingStockRow> stock;  // usable lengths
    std::vector<std::string> stockMarks;
    std::vector<WorkingCutRow> cuts;  // lengths with kerf
    std::string error;
};

ReadRows ReadEntryRows(const JobInput& input) {
    ReadRows rows;
    if (input.StockRows.size() > static_cast<size_t>(MaxStockRows)) {
        rows.error = StockListFullMessage();
        return rows;
    }
    if (input.CutRows.size() > static_cast<size_t>(MaxCutRows)) {
        rows.error = CutListFullMessage();
        return rows;
    }
    const JobUnits& units = input.Units;
    auto readLength = [&rows, &units](const std::string& text) -> std::optional<int> {
        const auto length = ReadWholeNumber(text);
        if (!length)
            rows.error = NotALengthMessage(text, units);
        else if (*length > MaxLengthOf(units))
            rows.error = LengthTooLongMessage(text, units);
        else if (*length == 0)
            rows.error =
                LengthTooShortMessage(text, units);  // the entry lists' rule, wherever it came from
        else
            return length;
        return std::nullopt;
    };
    auto readQuantity = [&rows](const std::string& text) -> std::optional<int> {
        const auto quantity = ReadWholeNumber(text);
        if (!quantity) rows.error = NotAQuantityMessage(text);
        return quantity;
    };

    const Allowances& a = input.Allowances;
    for (const ListRow& item : input.StockRows) {
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
    // Marked rows of one length are one length to the engine; the labels tell them apart. A job
    // without marks is read row by row as ever.
    const bool marked = std::any_of(input.CutRows.begin(), input.CutRows.end(),
                                    [](const ListRow& r) { return !r.Mark.empty(); });
    for (const ListRow& item : input.CutRows) {
        const auto length = readLength(item.Length);
        if (!length) return rows;
        const auto quantity = readQuantity(item.Quantity);
        if (!quantity) return rows;
        if (*length + a.Kerf <= 0) {
            rows.error = "A cut length of " + LengthWithUnit(*length, units) + " with a kerf of " +
                         LengthWithUnit(a.Kerf, units) + " cannot be cut." +
                         "\r\nPlease check your cut length entries.";
            return rows;
        }
        const auto same =
            !marked ? rows.cuts.end()
                    : std::find_if(rows.cuts.begin(), rows.cuts.end(),
                                   [&](const auto& r) { return r.CutLength == *length + a.Kerf; });
        if (same != rows.cuts.end()) {
            if (static_cast<long long>(same->CutQuantity) + *quantity > INT_MAX) {
                rows.error = QuantityTooLargeMessage(item.Quantity);
                return rows;
            }
            same->CutQuantity += *quantity;
        } else {
            rows.cuts.push_back({*length + a.Kerf, *quantity});
        }
        total += static_cast<long long>(*length + a.Kerf) * *quantity;
    }
    if (total > INT_MAX) {
        rows.error = "The cut lengths required total more than " + std::to_string(INT_MAX) +
                     "mm.\r\nPlease check your cut length entries.";
    }
    return rows;
}

}  // namespace

std::string TimeLimitMessage() { return "The time limit must be a number of seconds above 0."; }

std::string StockTooShortMessage(int longestCutLength, const JobUnits& units) {
    return "You have not entered a stock length long enough to cut a length of " +
           LengthWithUnit(longestCutLength, units) + "." + "\r\n" +
           "Please check your stock length entries.";
}

std::optional<std::string> RowsError(const JobInput& input) {
    ReadRows rows = ReadEntryRows(input);
    if (rows.error.empty()) return std::nullopt;
    return rows.error;
}

namespace {

// The rows read into the tables, and the copies the result keeps of them.
void StartTables(const JobInput& input, ReadRows rows, WorkingTables& tables,
                 CalculationResult& result) {
    tables.Kerf = input.Allowances.Kerf;
    tables.Stock = std::move(rows.stock);
    for (const auto& row : tables.Stock) result.InputStockLength.push_back(row.StockLength);
    result.InputStockMark = std::move(rows.stockMarks);
    tables.Cuts = std::move(rows.cuts);
    for (const auto& row : tables.Cuts) {
        result.InputCutLength.push_back(row.CutLength);
        result.InputCutQuantity.push_back(row.CutQuantity);
        result.TotalCutLength += (row.CutLength - tables.Kerf) * row.CutQuantity;
        result.TotalPieces += row.CutQuantity;
    }
    tables.TotalPieces = result.TotalPieces;
    result.StockBarsUsed.assign(result.InputStockLength.size(), 0);
}

// The algorithm's runs until every piece is placed, the stock runs out or a run places nothing;
// Complex runs also until its search is stopped early.
void RunAlgorithm(Algorithm algorithm, CalculationRun& run) {
    WorkingTables& tables = run.Tables;
    long long remaining = RemainingLength(tables);
    bool changed = false;
    do {
        switch (algorithm) {
            case Algorithm::Complex:
                RunComplex(run);
                break;
            case Algorithm::Fast:
                RunFast(run);
                break;
            case Algorithm::Optimal:
                RunOptimal(run);
                break;
        }
        const long long now = RemainingLength(tables);
        changed = now != remaining;
        remaining = now;
    } while (!tables.AllAllocated && changed && tables.FirstStockQuantity() != 0 &&
             !(algorithm == Algorithm::Complex && run.StoppedEarly));
}

// Passes on only the user's wish to stop: a plan made aside shows no progress of its own.
class StopOnly : public CalculationObserver {
public:
    explicit StopOnly(CalculationObserver& observer) : observer_(observer) {}
    bool StopRequested() override { return observer_.StopRequested(); }

private:
    CalculationObserver& observer_;
};

// Stock used, in the tables' units, with the pieces left first: the lesser plan is the better.
std::pair<long long, long long> Cost(const WorkingTables& tables) {
    long long stock = 0;
    for (const auto& p : tables.Patterns)
        stock += static_cast<long long>(p.StockLength) * p.BarCount;
    return {SumCutQuantity(tables), stock};
}

// Complex with a limit. Fast's plan of the whole job is made first, and its time kept back from
// the search, so that what the search has not placed when it stops can be placed as Fast does by
// the deadline. A search stopped early may have chosen worse than Fast would: then Fast's plan is
// taken, so the result is never worse than Fast's.
void RunLimitedComplex(CalculationRun& run) {
    const auto started = CalculationRun::Clock::now();
    StopOnly quiet(run.Observer);
    WorkingTables fast = run.Tables;
    CalculationRun aside(fast, quiet);
    RunAlgorithm(Algorithm::Fast, aside);
    run.FinishTime = CalculationRun::Clock::now() - started;

    RunAlgorithm(Algorithm::Complex, run);
    if (!run.StoppedEarly) return;
    WorkingTables& tables = run.Tables;
    // The rest can only add stock: when what is used already and the pieces left, however well
    // they were packed, come to Fast's plan or more, Fast's plan stands.
    const auto [left, used] = Cost(tables);
    const auto [fastLeft, fastUsed] = Cost(fast);
    if (!(left == fastLeft && left == 0) || used + RemainingLength(tables) < fastUsed) {
        RunAlgorithm(Algorithm::Fast, run);
        if (Cost(tables) <= Cost(fast)) return;
    }
    tables = std::move(fast);
}

}  // namespace

CalculationOutcome Calculate(const JobInput& input, const CalculationOptions& options,
                             CalculationObserver& observer) {
    CalculationOutcome outcome;
    // A limit of nan or infinity would be no limit at all, and a negative one none either.
    if (const auto& limit = options.TimeLimitSeconds;
        limit && !(std::isfinite(*limit) && *limit > 0)) {
        outcome.Error = TimeLimitMessage();
        return outcome;
    }
    // Rows the calculation cannot read are refused before anything starts.
    ReadRows rows = ReadEntryRows(input);
    if (!rows.error.empty()) {
        outcome.Error = rows.error;
        return outcome;
    }

    const auto start = std::chrono::steady_clock::now();
    WorkingTables tables;
    CalculationResult& result = outcome.Result;
    StartTables(input, std::move(rows), tables, result);
    CalculationRun run(tables, observer);
    const bool defaultLimit = options.Algorithm == Algorithm::Optimal && !options.WorkLimit;
    const double seconds =
        options.TimeLimitSeconds.value_or(defaultLimit ? DefaultOptimalSeconds : 0.0);
    run.WorkLimit = options.WorkLimit;
    run.Threads = options.Threads;
    if (seconds > 0) {
        run.Deadline = start + std::chrono::duration_cast<CalculationRun::Clock::duration>(
                                   std::chrono::duration<double>(seconds));
    }
    run.IterationBudget = options.SearchIterationBudget;
    DivideByCommonDivisor(tables);
    run.Report({});
    CompactLiveRows(tables);
    if (tables.FirstStockLength() < tables.FirstCutLength()) {
        const int longest = tables.FirstCutLength() * tables.ScaleFactor - tables.Kerf;
        outcome.Error = StockTooShortMessage(longest, input.Units);
        outcome.ResultsCleared = true;
        result.Stock = std::move(tables.Stock);
        result.Cuts = std::move(tables.Cuts);
        result.ScaleFactor = tables.ScaleFactor;
        return outcome;
    }
    try {
        if (options.Algorithm == Algorithm::Complex && (run.Deadline || run.IterationBudget))
            RunLimitedComplex(run);
        else
            RunAlgorithm(options.Algorithm, run);
    } catch (const CalculationCancelled&) {
        outcome = {};
        outcome.Cancelled = true;
        outcome.Permutations = run.PermutationNumber;
        return outcome;
    }

    MergeIdenticalPatterns(tables);
    outcome.Elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    ScaleBackToMillimetres(tables);
    SortPatternsByStockLength(tables);
    CalculationProgress finished;
    finished.Phase = CalculationPhase::Finished;
    run.Report(finished);

    result.RemainingPieces = SumCutQuantity(tables);
    result.Stock = std::move(tables.Stock);
    result.Cuts = std::move(tables.Cuts);
    result.Patterns = std::move(tables.Patterns);
    result.PatternStoreFull = tables.PatternStoreFull;
    result.Bound = tables.Bound;
    result.StoppedEarly = run.StoppedEarly;
    result.ScaleFactor = tables.ScaleFactor;
    outcome.Completed = true;
    outcome.Permutations = run.PermutationNumber;
    return outcome;
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
