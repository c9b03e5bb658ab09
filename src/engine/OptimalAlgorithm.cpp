#include "engine/OptimalAlgorithm.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/ComplexAlgorithm.h"
#include "engine/CuttingStockSolver.h"
#include "engine/FastAlgorithm.h"
#include "engine/WorkingTables.h"

namespace tallora {

namespace {

// The live rows of the working tables, in their scaled lengths, and where each came from.
struct LiveRows {
    csp::Problem Problem;
    std::vector<std::size_t> CutRow;
    std::vector<std::size_t> StockRow;
    bool Offcuts = false;
    bool SingleLength = true;
};

LiveRows ReadLiveRows(const WorkingTables& tables) {
    LiveRows rows;
    for (std::size_t r = 0; r < tables.Cuts.size(); ++r) {
        if (tables.Cuts[r].CutQuantity <= 0) continue;
        rows.Problem.Items.push_back({tables.Cuts[r].CutLength, tables.Cuts[r].CutQuantity});
        rows.CutRow.push_back(r);
    }
    for (std::size_t r = 0; r < tables.Stock.size(); ++r) {
        const WorkingStockRow& stock = tables.Stock[r];
        if (stock.StockQuantity == 0) continue;
        rows.Problem.Stocks.push_back({stock.StockLength, stock.StockQuantity, stock.Offcut});
        rows.Offcuts = rows.Offcuts || (stock.Offcut && stock.StockQuantity > 0);
        rows.StockRow.push_back(r);
    }
    for (const auto& stock : rows.Problem.Stocks) {
        rows.SingleLength = rows.SingleLength && stock.Length == rows.Problem.Stocks.front().Length;
    }
    return rows;
}

// The bars of one of Fast's patterns on the problem's stock rows that have bars left; false
// when they do not hold them all.
bool TakeBars(const CuttingPattern& cut, csp::Pattern pattern, const csp::Problem& problem,
              std::vector<long long>& left, csp::Plan& plan) {
    int bars = cut.BarCount;
    for (std::size_t j = 0; j < left.size() && bars > 0; ++j) {
        if (problem.Stocks[j].Length != cut.StockLength || left[j] == 0) continue;
        const int take = left[j] < 0 ? bars : static_cast<int>(std::min<long long>(bars, left[j]));
        if (left[j] > 0) left[j] -= take;
        pattern.Stock = static_cast<int>(j);
        plan.Patterns.push_back({pattern, take});
        bars -= take;
    }
    return bars == 0;
}

// The patterns a generator left in `done`, in the problem's items and stock rows; nothing when a
// bar of them matches no stock row that has a bar left.
std::optional<csp::Plan> PlanOf(const WorkingTables& done, const csp::Problem& problem) {
    std::vector<long long> left;
    for (const csp::Stock& stock : problem.Stocks) left.push_back(stock.Available);
    csp::Plan plan;
    for (const CuttingPattern& cut : done.Patterns) {
        std::map<int, int> counts;
        for (int k = 0; k < cut.LengthCount(); ++k) {
            const auto item =
                std::find_if(problem.Items.begin(), problem.Items.end(), [&](const csp::Item& i) {
                    return i.Size == cut.CutLength[static_cast<std::size_t>(k)];
                });
            if (item == problem.Items.end()) return std::nullopt;
            counts[static_cast<int>(item - problem.Items.begin())] +=
                cut.PieceCount[static_cast<std::size_t>(k)];
        }
        if (!TakeBars(cut, {0, {counts.begin(), counts.end()}}, problem, left, plan))
            return std::nullopt;
    }
    return plan;
}

// Runs an algorithm on a copy of the live tables as the calculation runs it: until every piece
// is placed, nothing changes or (Complex) its search was stopped.
template <typename Generator>
void RunAside(WorkingTables& copy, CalculationRun& run, Generator&& generate) {
    for (long long before = -1; !copy.AllAllocated && copy.FirstStockQuantity() != 0 &&
                                RemainingLength(copy) != before && !run.StoppedEarly;) {
        before = RemainingLength(copy);
        generate(run);
    }
}

// The Fast algorithm's plan for the live tables, in the problem's items and stock rows:
// Optimal starts from it, so that it never cuts more stock than Fast.
std::optional<csp::Plan> FastPlan(const WorkingTables& tables, const csp::Problem& problem) {
    WorkingTables copy = tables;
    copy.Patterns.clear();
    CalculationObserver silent;
    CalculationRun fast(copy, silent);
    RunAside(copy, fast, RunFast);
    return PlanOf(copy, problem);
}

// Asks the Complex search to stop when the Optimal search no longer needs its plan.
class StopWhen : public CalculationObserver {
public:
    explicit StopWhen(const std::function<bool()>& stop) : stop_(stop) {}
    bool StopRequested() override { return stop_(); }

private:
    const std::function<bool()>& stop_;
};

// The Complex algorithm's plan, by the deadline or within the work limit (as iterations): a long
// Optimal search is never worse than Complex on the same job. Stopped by the deadline, it ends as
// Complex with a limit does, the rest placed as Fast places them in the `finish` kept back;
// stopped by the work limit or by the search, it gives nothing.
std::optional<csp::Plan> ComplexPlan(const WorkingTables& tables, const csp::Problem& problem,
                                     const CalculationRun& run,
                                     CalculationRun::Clock::duration finish,
                                     const std::function<bool()>& stop) {
    WorkingTables copy = tables;
    copy.Patterns.clear();
    StopWhen observer(stop);
    CalculationRun complex(copy, observer);
    complex.Deadline = run.Deadline;
    complex.FinishTime = finish;
    if (run.WorkLimit)
        complex.IterationBudget = static_cast<int>(std::min<long long>(*run.WorkLimit, INT_MAX));
    try {
        RunAside(copy, complex, RunComplex);
    } catch (const CalculationCancelled&) {
        return std::nullopt;
    }
    if (complex.StoppedEarly) {
        if (complex.BudgetSpent()) return std::nullopt;
        complex.StoppedEarly = false;
        try {
            RunAside(copy, complex, RunFast);
        } catch (const CalculationCancelled&) {
            return std::nullopt;
        }
    }
    return PlanOf(copy, problem);
}

// Every report carries the best plan so far and the bound, in millimetres (with offcut rows,
// of new stock); pieces are placed only at the end, so until then the time gone stands for
// them.
csp::Control SearchControl(CalculationRun& run, const LiveRows& rows,
                           CalculationProgress& progress) {
    const auto started = CalculationRun::Clock::now();
    const int scale = run.Tables.ScaleFactor;
    progress.Phase = CalculationPhase::Optimal;
    progress.SingleStockLength = rows.SingleLength ? rows.Problem.Stocks.front().Length * scale : 0;
    progress.OffcutRows = rows.Offcuts;
    csp::Control control;
    control.Deadline = run.Deadline;
    control.WorkLimit = run.WorkLimit;
    control.Threads = run.Threads;
    control.Cancelled = [&run, &progress, started, shown = started]() mutable {
        const auto now = CalculationRun::Clock::now();
        if (run.Deadline && *run.Deadline > started &&
            now - shown >= std::chrono::milliseconds(100)) {
            shown = now;
            const double gone = std::chrono::duration<double>(now - started).count() /
                                std::chrono::duration<double>(*run.Deadline - started).count();
            progress.TimeFraction = std::min(1.0, gone);
            run.Report(progress);
        }
        return run.Observer.StopRequested();
    };
    control.Progress = [&run, &progress, scale](long long material, double bound) {
        progress.BestMaterial = material * scale;
        if (bound >= 0) progress.Bound = bound * scale;
        run.Report(progress);
    };
    return control;
}

// The plan into the result store, as the generators write it: pieces longest first. Returns
// the bars it cut.
int StorePlan(WorkingTables& tables, const LiveRows& rows, const csp::Plan& plan) {
    int bars = 0;
    for (const auto& [pattern, count] : plan.Patterns) {
        CuttingPattern cut;
        WorkingStockRow& stock =
            tables.Stock[rows.StockRow[static_cast<std::size_t>(pattern.Stock)]];
        cut.StockLength = stock.StockLength;
        cut.BarCount = count;
        std::vector<std::pair<int, int>> pieces;
        for (const auto& [item, n] : pattern.Pieces) {
            pieces.push_back({rows.Problem.Items[static_cast<std::size_t>(item)].Size, n});
            tables.Cuts[rows.CutRow[static_cast<std::size_t>(item)]].CutQuantity -= n * count;
        }
        std::stable_sort(pieces.begin(), pieces.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        for (const auto& [length, n] : pieces) {
            cut.CutLength.push_back(length);
            cut.PieceCount.push_back(n);
        }
        if (stock.StockQuantity != -1) stock.StockQuantity -= count;
        bars += count;
        tables.Patterns.push_back(std::move(cut));
    }
    return bars;
}

// The bound beside the plan; a second pass, for pieces the first could not place, adds its
// bars to the first's.
void StoreBound(WorkingTables& tables, const LiveRows& rows, const csp::Result& result, int bars) {
    const int scale = tables.ScaleFactor;
    const long long offcutUsed = result.Best.OffcutMaterial * scale;
    if (tables.Bound) {
        tables.Bound->Used += result.Best.Material * scale;
        tables.Bound->UsedBars += bars;
        tables.Bound->OffcutUsed += offcutUsed;
        tables.Bound->ProvenOptimal = false;
        tables.Bound->NewStockProven = false;
        return;
    }
    SolutionBound bound;
    bound.SingleLength = rows.SingleLength;
    bound.Used = result.Best.Material * scale;
    bound.UsedBars = bars;
    bound.Offcuts = rows.Offcuts;
    bound.OffcutUsed = offcutUsed;
    bound.Known = result.RoundedBound.has_value();
    bound.PiecesLeft = result.Best.Unplaced > 0;
    if (bound.Known) {
        bound.LinearBound = *result.LowerBound * scale;
        bound.LowerBound = *result.RoundedBound * scale;
        if (rows.SingleLength) {
            bound.LowerBoundBars =
                static_cast<int>(*result.RoundedBound / rows.Problem.Stocks.front().Length);
        }
        bound.ProvenOptimal = result.Proven;
        bound.NewStockProven = result.NewStockProven;
        bound.OffcutLowerBound = result.OffcutBound.value_or(0) * scale;
    }
    bound.TimedOut = result.TimedOut;
    bound.Cancelled = result.Cancelled;
    tables.Bound = bound;
}

}  // namespace

void RunOptimal(CalculationRun& run) {
    WorkingTables& tables = run.Tables;
    const auto started = CalculationRun::Clock::now();
    const LiveRows rows = ReadLiveRows(tables);
    if (rows.Problem.Items.empty() || rows.Problem.Stocks.empty()) {
        run.Settle();
        return;
    }
    CalculationProgress progress;
    csp::Control control = SearchControl(run, rows, progress);
    if (auto fast = FastPlan(tables, rows.Problem)) control.StartPlans.push_back(std::move(*fast));
    const auto finish = CalculationRun::Clock::now() - started;
    control.SlowPlan = [&tables, &rows, &run, finish](const std::function<bool()>& stop) {
        return ComplexPlan(tables, rows.Problem, run, finish, stop);
    };

    const csp::Result result = csp::Solve(rows.Problem, control);
    CalculationProgress searched;
    searched.Phase = CalculationPhase::Placing;
    run.Report(searched);

    const int bars = StorePlan(tables, rows, result.Best);
    StoreBound(tables, rows, result, bars);
    tables.Bound->Seconds =
        std::chrono::duration<double>(CalculationRun::Clock::now() - started).count();

    // A cancelled search still gives its plan: the progress check that would stop it is not made.
    run.ShowProgress();
    tables.AllAllocated = true;
    CompactLiveRows(tables);
}

}  // namespace tallora
