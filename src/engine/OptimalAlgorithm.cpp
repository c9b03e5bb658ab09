#include "engine/OptimalAlgorithm.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <string>

#include "engine/CuttingStockSolver.h"
#include "engine/FastAlgorithm.h"
#include "engine/WorkingTables.h"

namespace tallora {

namespace {

std::string Metres(double millimetres) {
    const long long tenths = static_cast<long long>(millimetres / 100.0 + 0.5);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " m";
}

// The Fast algorithm's plan for the live tables, in the problem's items and stock rows:
// Optimal starts from it, so that it never cuts more stock than Fast. Nothing when a bar of it
// matches no stock row that has a bar left.
std::optional<csp::Plan> FastPlan(const CuttingJob& job, const csp::Problem& problem) {
    CuttingJob copy = job;
    copy.Patterns.clear();
    SilentCalculationHost host;
    CalculationRun fast(copy, host);
    // As the calculation runs it: until every piece is placed or nothing changes.
    for (long long before = -1;
         !copy.AllAllocated && copy.FirstStockQuantity() != 0 && RemainingLength(copy) != before;) {
        before = RemainingLength(copy);
        FastAlg(fast);
    }
    std::vector<long long> left;
    for (const csp::Stock& stock : problem.Stocks) left.push_back(stock.Available);
    csp::Plan plan;
    for (const CuttingPattern& cut : copy.Patterns) {
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
        csp::Pattern pattern{0, {counts.begin(), counts.end()}};
        int bars = cut.BarCount;
        for (std::size_t j = 0; j < left.size() && bars > 0; ++j) {
            if (problem.Stocks[j].Length != cut.StockLength || left[j] == 0) continue;
            const int take =
                left[j] < 0 ? bars : static_cast<int>(std::min<long long>(bars, left[j]));
            if (left[j] > 0) left[j] -= take;
            pattern.Stock = static_cast<int>(j);
            plan.Patterns.push_back({pattern, take});
            bars -= take;
        }
        if (bars > 0) return std::nullopt;
    }
    return plan;
}

}  // namespace

void OptimalAlg(CalculationRun& run) {
    CuttingJob& job = run.Job;
    run.ProcessMessages();
    const auto started = CalculationRun::Clock::now();

    // The live rows of the working tables, in their scaled lengths.
    csp::Problem problem;
    std::vector<std::size_t> cutRow;
    std::vector<std::size_t> stockRow;
    bool offcuts = false;
    for (std::size_t r = 0; r < job.Cuts.size(); ++r) {
        if (job.Cuts[r].CutQuantity <= 0) continue;
        problem.Items.push_back({job.Cuts[r].CutLength, job.Cuts[r].CutQuantity});
        cutRow.push_back(r);
    }
    for (std::size_t r = 0; r < job.Stock.size(); ++r) {
        if (job.Stock[r].StockQuantity == 0) continue;
        problem.Stocks.push_back(
            {job.Stock[r].StockLength, job.Stock[r].StockQuantity, job.Stock[r].Offcut});
        offcuts = offcuts || (job.Stock[r].Offcut && job.Stock[r].StockQuantity > 0);
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
    const int scale = job.ScaleFactor;

    csp::Control control;
    if (auto fast = FastPlan(job, problem)) control.StartPlans.push_back(std::move(*fast));
    control.Deadline = run.Deadline;
    control.WorkLimit = run.WorkLimit;
    control.Threads = run.Threads;
    // Pieces are placed only at the end, so until then the bar shows the time gone.
    const int allocated = job.TotalPieces - SumCutQuantity(job);
    auto shown = started;
    control.Cancelled = [&run, &shown, started, allocated, total = job.TotalPieces] {
        const auto now = CalculationRun::Clock::now();
        if (run.Deadline && *run.Deadline > started &&
            now - shown >= std::chrono::milliseconds(100)) {
            shown = now;
            const double gone = std::chrono::duration<double>(now - started).count() /
                                std::chrono::duration<double>(*run.Deadline - started).count();
            run.Host.SetProgressPosition(
                allocated + static_cast<int>(std::min(1.0, gone) * (total - allocated)));
        }
        return run.Host.CancelRequested();
    };
    // The progress window's first line: the best plan so far and the bound; with offcut rows,
    // of new stock.
    control.Progress = [&](long long material, double bound) {
        std::string line;
        const std::string fresh = offcuts ? " of new stock" : "";
        if (singleLength) {
            const int length = problem.Stocks.front().Length;
            line = "Best so far: " + std::to_string(material / length) + " bars" + fresh;
            if (bound >= 0)
                line += ", lower bound " + std::to_string(static_cast<long long>(bound) / length);
        } else {
            line = "Best so far: " + Metres(double(material) * scale) + fresh;
            if (bound >= 0) line += ", lower bound " + Metres(bound * scale);
        }
        run.Host.SetPermutationLine(line);
    };

    const csp::Result result = csp::Solve(problem, control);
    run.Host.SetPermutationLine("");

    // The plan into the result store, as the generators write it: pieces longest first.
    int bars = 0;
    for (const auto& [pattern, count] : result.Best.Patterns) {
        CuttingPattern cut;
        WorkingStockRow& stock = job.Stock[stockRow[static_cast<std::size_t>(pattern.Stock)]];
        cut.StockLength = stock.StockLength;
        cut.BarCount = count;
        std::vector<std::pair<int, int>> pieces;
        for (const auto& [item, n] : pattern.Pieces) {
            pieces.push_back({problem.Items[static_cast<std::size_t>(item)].Size, n});
            job.Cuts[cutRow[static_cast<std::size_t>(item)]].CutQuantity -= n * count;
        }
        std::stable_sort(pieces.begin(), pieces.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        for (const auto& [length, n] : pieces) {
            cut.CutLength.push_back(length);
            cut.PieceCount.push_back(n);
        }
        if (stock.StockQuantity != -1) stock.StockQuantity -= count;
        bars += count;
        job.Patterns.push_back(std::move(cut));
    }

    // A second pass, for pieces the first could not place, adds its bars to the first's.
    const long long offcutUsed = result.Best.OffcutMaterial * scale;
    if (job.Bound) {
        job.Bound->Used += result.Best.Material * scale;
        job.Bound->UsedBars += bars;
        job.Bound->OffcutUsed += offcutUsed;
        job.Bound->ProvenOptimal = false;
        job.Bound->NewStockProven = false;
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
        job.Bound = bound;
    }
    job.Bound->Seconds =
        std::chrono::duration<double>(CalculationRun::Clock::now() - started).count();

    // A cancelled search still gives its plan: the progress check that would stop it is not made.
    run.ShowProgress();
    job.AllAllocated = true;
    Recompile(job);
}

}  // namespace tallora
