#include "engine/optimal/Master.h"

#include <CoinHelperFunctions.hpp>

#include <algorithm>

namespace tallora::csp {

Master::Master(const Instance& instance, const Incumbent& incumbent)
    : in_(instance), incumbent_(incumbent) {}

void Master::Build(const Plan& first) {
    lp_.setLogLevel(0);
    stockRow_.assign(static_cast<std::size_t>(in_.M), -1);
    int rows = in_.N;
    for (int j = 0; j < in_.M; ++j) {
        if (in_.StockAt(j).Available >= 0) stockRow_[static_cast<std::size_t>(j)] = rows++;
    }
    lp_.resize(rows, 0);
    for (int i = 0; i < in_.N; ++i) {
        lp_.setRowLower(i, in_.ItemAt(i).Demand);
        lp_.setRowUpper(i, COIN_DBL_MAX);
    }
    for (int j = 0; j < in_.M; ++j) {
        const int row = StockRow(j);
        if (row < 0) continue;
        lp_.setRowLower(row, -COIN_DBL_MAX);
        lp_.setRowUpper(row, in_.StockAt(j).Available);
    }
    // Pieces left uncut, at their penalty: the stock a piece needs may run out.
    shortageColumns_ = in_.N;
    for (int i = 0; i < shortageColumns_; ++i) {
        const int row = i;
        const double one = 1.0;
        lp_.addColumn(1, &row, &one, 0.0, COIN_DBL_MAX, in_.Costs.Penalty(i));
    }
    for (const auto& [pattern, bars] : first.Patterns) AddColumn(pattern);
    for (int i = 0; i < in_.N; ++i) {
        int chosen = -1;
        for (int j = 0; j < in_.M; ++j) {
            if (in_.StockAt(j).Length < in_.ItemAt(i).Size) continue;
            if (chosen < 0 || in_.StockAt(j).Length > in_.StockAt(chosen).Length) chosen = j;
        }
        if (chosen < 0) continue;
        std::vector<int> counts(static_cast<std::size_t>(in_.N), 0);
        counts[static_cast<std::size_t>(i)] =
            std::min(in_.ItemAt(i).Demand, in_.StockAt(chosen).Length / in_.ItemAt(i).Size);
        if (counts[static_cast<std::size_t>(i)] > 0) AddColumn(MakePattern(chosen, counts));
    }
    Resolve(true);
}

bool Master::AddColumn(const Pattern& pattern) {
    if (!known_.insert(pattern).second) return false;
    std::vector<int> rows;
    std::vector<double> values;
    for (const auto& [item, count] : pattern.Pieces) {
        rows.push_back(item);
        values.push_back(count);
    }
    const int row = StockRow(pattern.Stock);
    if (row >= 0) {
        rows.push_back(row);
        values.push_back(1.0);
    }
    lp_.addColumn(static_cast<int>(rows.size()), rows.data(), values.data(), 0.0, COIN_DBL_MAX,
                  in_.Costs.CostOf(pattern.Stock));
    columns_.push_back(pattern);
    return true;
}

void Master::Resolve(bool primal) {
    if (in_.C.Deadline) lp_.setMaximumWallSeconds(std::max(0.0, in_.SecondsLeft(1e300)));
    if (primal)
        lp_.primal();
    else
        lp_.dual();
}

// What each piece and each bar of a stock row is worth at the programme's solution.
void Master::Duals(std::vector<double>& pi, std::vector<double>& sigma) const {
    const double* duals = lp_.dualRowSolution();
    pi.assign(static_cast<std::size_t>(in_.N), 0.0);
    for (int i = 0; i < in_.N; ++i) pi[static_cast<std::size_t>(i)] = std::max(0.0, duals[i]);
    sigma.assign(static_cast<std::size_t>(in_.M), 0.0);
    for (int j = 0; j < in_.M; ++j) {
        const int row = StockRow(j);
        if (row >= 0) sigma[static_cast<std::size_t>(j)] = std::min(0.0, duals[row]);
    }
}

Residual Master::ResidualJob() const {
    Residual r;
    r.Demand.resize(static_cast<std::size_t>(in_.N));
    for (int i = 0; i < in_.N; ++i) r.Demand[static_cast<std::size_t>(i)] = in_.ItemAt(i).Demand;
    r.Available.resize(static_cast<std::size_t>(in_.M));
    for (int j = 0; j < in_.M; ++j)
        r.Available[static_cast<std::size_t>(j)] = in_.StockAt(j).Available;
    for (std::size_t k = 0; k < fixed_.size(); ++k) {
        if (fixed_[k] == 0) continue;
        const Pattern& pattern = columns_[k];
        r.FixedCost += double(fixed_[k]) * in_.Costs.CostOf(pattern.Stock);
        for (const auto& [item, count] : pattern.Pieces)
            r.Demand[static_cast<std::size_t>(item)] -= static_cast<long long>(count) * fixed_[k];
        if (r.Available[static_cast<std::size_t>(pattern.Stock)] >= 0)
            r.Available[static_cast<std::size_t>(pattern.Stock)] -= fixed_[k];
    }
    r.Bounds.resize(static_cast<std::size_t>(in_.N));
    for (int i = 0; i < in_.N; ++i) {
        r.Bounds[static_cast<std::size_t>(i)] =
            static_cast<int>(std::max<long long>(0, r.Demand[static_cast<std::size_t>(i)]));
    }
    return r;
}

double Master::ReducedCost(const Pattern& pattern, const std::vector<double>& pi,
                           const std::vector<double>& sigma) const {
    double value = 0.0;
    for (const auto& [item, count] : pattern.Pieces)
        value += count * pi[static_cast<std::size_t>(item)];
    return in_.Costs.CostOf(pattern.Stock) - sigma[static_cast<std::size_t>(pattern.Stock)] - value;
}

void Master::ClearFixed() { fixed_.assign(columns_.size(), 0); }

void Master::SetFixed(std::size_t k, int bars) {
    fixed_[k] = bars;
    lp_.setColumnLower(PatternColumn(k), bars);
}

void Master::ReleaseFixed() {
    fixed_.assign(columns_.size(), 0);
    for (std::size_t k = 0; k < columns_.size(); ++k) lp_.setColumnLower(PatternColumn(k), 0.0);
    Resolve(false);
}

Bars Master::FixedBars() const {
    Bars bars;
    for (std::size_t k = 0; k < fixed_.size(); ++k) {
        if (fixed_[k] > 0) bars.push_back({columns_[k], fixed_[k]});
    }
    return bars;
}

}  // namespace tallora::csp
