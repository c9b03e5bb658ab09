#include "engine/optimal/PatternMip.h"

#include <CbcEventHandler.hpp>
#include <CbcModel.hpp>
#include <CoinHelperFunctions.hpp>
#include <OsiClpSolverInterface.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tallora::csp {

namespace {

// Stops the branch and bound when the user cancels or the time is up, or at once when it has a
// plan at the least cost there can be; with offcut rows, also a few nodes after there is a plan
// whose new stock meets the bound (the best plan before it, or one it found), as only offcut length
// is left to gain then, which is not worth keeping the user waiting for.
class StopWhen : public CbcEventHandler {
public:
    StopWhen(const Instance& in, const Incumbent& incumbent, std::optional<double> goodEnough)
        : in_(in),
          goodEnough_(goodEnough),
          reached_(incumbent.NewStockAtBound()),
          least_(incumbent.Rounded()) {}
    CbcAction event(CbcEvent) override {
        in_.Work();
        if (in_.Stopped()) return stop;
        if (model_ == nullptr) return noAction;
        if (least_ && model_->getObjValue() <= double(*least_) + 0.5) return stop;
        if (!reached_ && goodEnough_ && model_->getObjValue() <= *goodEnough_) {
            reached_ = true;
            reachedNodes_ = model_->getNodeCount();
        }
        if (reached_ && model_->getNodeCount() - reachedNodes_ >= in_.O.OffcutPolishNodes)
            return stop;
        return noAction;
    }
    CbcEventHandler* clone() const override { return new StopWhen(*this); }

private:
    const Instance& in_;
    std::optional<double> goodEnough_;
    bool reached_ = false;
    long long reachedNodes_ = 0;
    std::optional<long long> least_;
};

// The programme's columns: the patterns of the pool, each bounded by its stock row's bars.
OsiClpSolverInterface BuildModel(const Instance& in, const Incumbent& incumbent,
                                 const Master& master, const std::vector<Pattern>& pool,
                                 bool toBound) {
    int rows = in.N;
    for (int j = 0; j < in.M; ++j) rows += master.StockRow(j) >= 0 ? 1 : 0;
    // Built at once: column by column, the matrix copies itself at every column.
    std::vector<CoinBigIndex> starts{0};
    std::vector<int> indices;
    std::vector<double> elements, cost, lower, upper;
    for (const Pattern& pattern : pool) {
        for (const auto& [item, count] : pattern.Pieces) {
            indices.push_back(item);
            elements.push_back(count);
        }
        const int row = master.StockRow(pattern.Stock);
        const Stock& stock = in.StockAt(pattern.Stock);
        if (row >= 0) {
            indices.push_back(row);
            elements.push_back(1.0);
        }
        starts.push_back(static_cast<CoinBigIndex>(indices.size()));
        cost.push_back(in.Costs.CostOf(pattern.Stock));
        lower.push_back(0.0);
        upper.push_back(stock.Available >= 0 ? stock.Available : COIN_DBL_MAX);
    }
    const CoinPackedMatrix matrix(true, rows, static_cast<int>(pool.size()),
                                  static_cast<CoinBigIndex>(indices.size()), elements.data(),
                                  indices.data(), starts.data(), nullptr);
    std::vector<double> rowLower(static_cast<std::size_t>(rows), -COIN_DBL_MAX);
    std::vector<double> rowUpper(static_cast<std::size_t>(rows), COIN_DBL_MAX);
    // A plan at the bound that wastes nothing cuts exactly what is asked.
    long long total = 0;
    for (const Item& item : in.P.Items) total += static_cast<long long>(item.Size) * item.Demand;
    const auto& rounded = incumbent.Rounded();
    const bool exact = toBound && rounded && in.Costs.Weight() == 0 && *rounded == total;
    for (int i = 0; i < in.N; ++i) {
        rowLower[static_cast<std::size_t>(i)] = in.ItemAt(i).Demand;
        if (exact) rowUpper[static_cast<std::size_t>(i)] = in.ItemAt(i).Demand;
    }
    for (int j = 0; j < in.M; ++j) {
        const int row = master.StockRow(j);
        if (row >= 0) rowUpper[static_cast<std::size_t>(row)] = in.StockAt(j).Available;
    }
    OsiClpSolverInterface lp;
    lp.messageHandler()->setLogLevel(0);
    lp.loadProblem(matrix, lower.data(), upper.data(), cost.data(), rowLower.data(),
                   rowUpper.data());
    for (int k = 0; k < static_cast<int>(pool.size()); ++k) lp.setInteger(k);
    return lp;
}

// The best solution's bars, with the pieces beyond the demand left off, for the incumbent.
void Record(const Instance& in, Incumbent& incumbent, const std::vector<Pattern>& pool,
            const double* x) {
    std::vector<long long> left(static_cast<std::size_t>(in.N));
    for (int i = 0; i < in.N; ++i) left[static_cast<std::size_t>(i)] = in.ItemAt(i).Demand;
    Bars patterns;
    for (std::size_t k = 0; k < pool.size(); ++k) {
        const int bars = static_cast<int>(std::llround(x[k]));
        for (int b = 0; b < bars; ++b) patterns.push_back({Trimmed(pool[k], left), 1});
    }
    incumbent.Accept(Merge(patterns), left);
}

}  // namespace

bool RestrictedMaster(const Instance& in, Incumbent& incumbent, const Master& master,
                      const std::vector<Pattern>& extra, bool toBound,
                      std::optional<long long> nodes, bool alone) {
    if (incumbent.Best().Unplaced > 0) return false;
    std::vector<Pattern> pool = extra;
    if (!alone && (!toBound || extra.empty())) {
        for (const Pattern& p : master.Columns()) pool.push_back(p);
    }
    OsiClpSolverInterface lp = BuildModel(in, incumbent, master, pool, toBound);
    CbcModel model(lp);
    model.setLogLevel(0);
    model.messageHandler()->setLogLevel(0);
    const auto& rounded = incumbent.Rounded();
    const double target = toBound && rounded ? double(*rounded) : incumbent.Cost() - 1.0;
    model.setCutoff(target + 0.5);
    if (in.C.WorkLimit) nodes = std::min(nodes.value_or(*in.C.WorkLimit), *in.C.WorkLimit);
    if (nodes) model.setMaximumNodes(static_cast<int>(std::min<long long>(*nodes, 1 << 30)));
    const double seconds = in.SecondsLeft(1e6);
    if (seconds <= 0) return false;
    // Its own clock is the process's processor time, which two workers spend twice as fast.
    model.setUseElapsedTime(true);
    model.setMaximumSeconds(seconds);
    // Strong branching costs more than it saves on these programmes.
    model.setNumberStrong(0);
    model.setNumberBeforeTrust(0);
    std::optional<double> goodEnough;
    const long long weight = in.Costs.Weight();
    if (weight > 0 && rounded)
        goodEnough =
            double(*rounded / weight * weight + in.Costs.OffcutTotal() / in.Costs.OffcutStep()) +
            0.5;
    StopWhen stopWhen(in, incumbent, goodEnough);
    model.passInEventHandler(&stopWhen);
    model.branchAndBound();
    const bool finished = model.status() == 0 && !in.Stopped() &&
                          (model.isProvenOptimal() || model.isProvenInfeasible());
    const double* x = model.bestSolution();
    if (x == nullptr) return finished;
    Record(in, incumbent, pool, x);
    return finished;
}

}  // namespace tallora::csp
