#include "engine/OptimalAlgorithm.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "engine/CuttingStockSolver.h"
#include "engine/WorkingTables.h"

namespace tallora {

void RunOptimal(CalculationRun& run) {
    WorkingTables& tables = run.Tables;
    const auto started = CalculationRun::Clock::now();

    // The live rows of the working tables, in their scaled lengths.
    csp::Problem problem;
    std::vector<std::size_t> cutRow;
    std::vector<std::size_t> stockRow;
    bool offcuts = false;
    for (std::size_t r = 0; r < tables.Cuts.size(); ++r) {
        if (tables.Cuts[r].CutQuantity <= 0) continue;
        problem.Items.push_back({tables.Cuts[r].CutLength, tables.Cuts[r].CutQuantity});
        cutRow.push_back(r);
    }
    for (std::size_t r = 0; r < tables.Stock.size(); ++r) {
        if (tables.Stock[r].StockQuantity == 0) continue;
        problem.Stocks.push_back(
            {tables.Stock[r].StockLength, tables.Stock[r].StockQuantity, tables.Stock[r].Offcut});
        offcuts = offcuts || (tables.Stock[r].Offcut && tables.Stock[r].StockQuantity > 0);
        stockRow.push_back(r);
    }
    if (problem.Items.empty() || problem.Stocks.empty()) {
        run.Settle();
        return;
    }
    bool singleLength = true;
    for (const auto& stock : problem.Stocks) {
        singleLength = singleLength && stock.Length == problem.Stocks.front().Length;
    }
    const int scale = tables.ScaleFactor;

    // Every report carries the best plan so far and the bound, in millimetres (with offcut rows,
    // of new stock); pieces are placed only at the end, so until then the time gone stands for
    // them.
    CalculationProgress progress;
    progress.Phase = CalculationPhase::Optimal;
    progress.SingleStockLength = singleLength ? problem.Stocks.front().Length * scale : 0;
    progress.OffcutRows = offcuts;
    csp::Control control;
    control.Deadline = run.Deadline;
    auto shown = started;
    control.Cancelled = [&run, &shown, &progress, started] {
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

    const csp::Result result = csp::Solve(problem, control);
    CalculationProgress searched;
    searched.Phase = CalculationPhase::Placing;
    run.Report(searched);

    // The plan into the result store, as the generators write it: pieces longest first.
    int bars = 0;
    for (const auto& [pattern, count] : result.Best.Patterns) {
        CuttingPattern cut;
        WorkingStockRow& stock = tables.Stock[stockRow[static_cast<std::size_t>(pattern.Stock)]];
        cut.StockLength = stock.StockLength;
        cut.BarCount = count;
        std::vector<std::pair<int, int>> pieces;
        for (const auto& [item, n] : pattern.Pieces) {
            pieces.push_back({problem.Items[static_cast<std::size_t>(item)].Size, n});
            tables.Cuts[cutRow[static_cast<std::size_t>(item)]].CutQuantity -= n * count;
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

    // A second pass, for pieces the first could not place, adds its bars to the first's.
    const long long offcutUsed = result.Best.OffcutMaterial * scale;
    if (tables.Bound) {
        tables.Bound->Used += result.Best.Material * scale;
        tables.Bound->UsedBars += bars;
        tables.Bound->OffcutUsed += offcutUsed;
        tables.Bound->ProvenOptimal = false;
        tables.Bound->NewStockProven = false;
    } else {
        SolutionBound bound;
        bound.SingleLength = singleLength;
        bound.Used = result.Best.Material * scale;
        bound.UsedBars = bars;
        bound.Offcuts = offcuts;
        bound.OffcutUsed = offcutUsed;
        bound.Known = result.RoundedBound.has_value();
        bound.PiecesLeft = result.Best.Unplaced > 0;
        if (bound.Known) {
            bound.LinearBound = *result.LowerBound * scale;
            bound.LowerBound = *result.RoundedBound * scale;
            if (singleLength) {
                bound.LowerBoundBars =
                    static_cast<int>(*result.RoundedBound / problem.Stocks.front().Length);
            }
            bound.ProvenOptimal = result.Proven;
            bound.NewStockProven = result.NewStockProven;
            bound.OffcutLowerBound = result.OffcutBound.value_or(0) * scale;
        }
        bound.TimedOut = result.TimedOut;
        bound.Cancelled = result.Cancelled;
        tables.Bound = bound;
    }
    tables.Bound->Seconds =
        std::chrono::duration<double>(CalculationRun::Clock::now() - started).count();

    // A cancelled search still gives its plan: the progress check that would stop it is not made.
    run.ShowProgress();
    tables.AllAllocated = true;
    CompactLiveRows(tables);
}

}  // namespace tallora
