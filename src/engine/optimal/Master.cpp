#include "engine/optimal/Master.h"

#include <CoinHelperFunctions.hpp>

#include <algorithm>

namespace tallora::csp {

Master::Master(const Instance& instance, const Incumbent& incumbent, Restriction restriction)
    : in_(instance), incumbent_(incumbent), restriction_(restriction) {
    for (const Item& item : in_.P.Items) sizes_.push_back(item.Size);
}

void Master::Build(const std::vector<Pattern>& columns) {
    lp_.setLogLevel(0);
    stockRow_.assign(static_cast<std::size_t>(in_.M), -1);
    int rows = in_.N;
    for (int j = 0; j < in_.M; ++j) {
        if (in_.StockAt(j).Available >= 0) stockRow_[static_cast<std::size_t>(j)] = rows++;
    }
    lp_.resize(rows, 0);
    for (int i = 0; i < in_.N; ++i) {
        lp_.setRowLower(i, in_.ItemAt(i).Demand);
        lp_.setRowUpper(i, restriction_.ExactDemand ? in_.ItemAt(i).Demand : COIN_DBL_MAX);
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
    // A branch that asks for bars through an arc can be met by none of the patterns known:
    // its shortfall at a penalty, in a column of its own that stays empty until then.
    for (int slot = 0; slot < restriction_.BranchSlots; ++slot)
        lp_.addColumn(0, nullptr, nullptr, 0.0, 0.0, SlotPenalty());
    for (const Pattern& pattern : columns) AddColumn(pattern);
    for (int i = 0; i < in_.N && !restriction_.ExactDemand; ++i) {
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

double Master::SlotPenalty() const {
    double most = 0.0;
    for (int i = 0; i < in_.N; ++i) most = std::max(most, in_.Costs.Penalty(i));
    return most;
}

// Whether a pattern belongs in the programme: within the demand when it is exact, within the
// waste a bar may have.
bool Master::Fits(const Pattern& pattern) const {
    long long fill = 0;
    for (const auto& [item, count] : pattern.Pieces) {
        if (restriction_.ExactDemand && count > in_.ItemAt(item).Demand) return false;
        fill += static_cast<long long>(count) * in_.ItemAt(item).Size;
    }
    return restriction_.MaxWaste < 0 ||
           in_.StockAt(pattern.Stock).Length - fill <= restriction_.MaxWaste;
}

bool Master::Through(const Pattern& pattern, const Arc& arc) const {
    if (pattern.Stock != arc.Stock) return false;
    bool through = false;
    ForEachArc(sizes_, pattern.Stock, pattern.Pieces,
               [&](const Arc& on) { through = through || on == arc; });
    return through;
}

int Master::BranchRow(std::size_t b) const {
    return lp_.numberRows() - static_cast<int>(branches_.size()) + static_cast<int>(b);
}

bool Master::PushBranch(const Arc& arc, double lower, double upper) {
    const std::size_t depth = branches_.size();
    if (depth >= static_cast<std::size_t>(restriction_.BranchSlots)) return false;
    std::vector<int> columns;
    std::vector<double> values;
    for (std::size_t k = 0; k < columns_.size(); ++k) {
        if (!Through(columns_[k], arc)) continue;
        columns.push_back(PatternColumn(k));
        values.push_back(1.0);
    }
    if (lower > 0) {
        const int slot = shortageColumns_ + static_cast<int>(depth);
        columns.push_back(slot);
        values.push_back(1.0);
        lp_.setColumnUpper(slot, COIN_DBL_MAX);
    }
    lp_.addRow(static_cast<int>(columns.size()), columns.data(), values.data(), lower, upper);
    branches_.push_back({arc, lower, upper});
    return true;
}

void Master::PopBranch() {
    const int row = lp_.numberRows() - 1;
    lp_.deleteRows(1, &row);
    const int slot = shortageColumns_ + static_cast<int>(branches_.size()) - 1;
    lp_.setColumnUpper(slot, 0.0);
    lp_.setColumnLower(slot, 0.0);
    branches_.pop_back();
}

bool Master::AddColumn(const Pattern& pattern) {
    if (!Fits(pattern) || !known_.emplace(pattern, columns_.size()).second) return false;
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
    for (std::size_t b = 0; b < branches_.size(); ++b) {
        if (!Through(pattern, branches_[b].Where)) continue;
        rows.push_back(BranchRow(b));
        values.push_back(1.0);
    }
    lp_.addColumn(static_cast<int>(rows.size()), rows.data(), values.data(), 0.0, COIN_DBL_MAX,
                  in_.Costs.CostOf(pattern.Stock));
    columns_.push_back(pattern);
    return true;
}

std::optional<std::size_t> Master::ColumnOf(const Pattern& pattern) {
    if (const auto at = known_.find(pattern); at != known_.end()) return at->second;
    if (!AddColumn(pattern)) return std::nullopt;
    return columns_.size() - 1;
}

void Master::Resolve(bool primal) {
    in_.Work();
    if (in_.C.Deadline) lp_.setMaximumWallSeconds(std::max(0.0, in_.SecondsLeft(1e300)));
    if (primal)
        lp_.primal();
    else
        lp_.dual();
    // Large programmes take more pivots: the work counts them, so that it weighs alike in
    // both workers.
    in_.Work(lp_.numberIterations() / 8);
}

// What each row is worth at the programme's solution, each with the sign its row allows.
void Master::ReadDuals(Duals& duals) const {
    const double* row = lp_.dualRowSolution();
    duals.Pi.assign(static_cast<std::size_t>(in_.N), 0.0);
    for (int i = 0; i < in_.N; ++i) {
        duals.Pi[static_cast<std::size_t>(i)] =
            restriction_.ExactDemand ? row[i] : std::max(0.0, row[i]);
    }
    duals.Sigma.assign(static_cast<std::size_t>(in_.M), 0.0);
    for (int j = 0; j < in_.M; ++j) {
        const int at = StockRow(j);
        if (at >= 0) duals.Sigma[static_cast<std::size_t>(j)] = std::min(0.0, row[at]);
    }
    duals.Mu.assign(branches_.size(), 0.0);
    for (std::size_t b = 0; b < branches_.size(); ++b) {
        const double value = row[BranchRow(b)];
        duals.Mu[b] = branches_[b].Lower > 0 ? std::max(0.0, value) : std::min(0.0, value);
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

double Master::ReducedCost(const Pattern& pattern, const Duals& duals) const {
    double value = 0.0;
    for (const auto& [item, count] : pattern.Pieces)
        value += count * duals.Pi[static_cast<std::size_t>(item)];
    for (std::size_t b = 0; b < branches_.size(); ++b) {
        if (Through(pattern, branches_[b].Where)) value += duals.Mu[b];
    }
    return in_.Costs.CostOf(pattern.Stock) - duals.Sigma[static_cast<std::size_t>(pattern.Stock)] -
           value;
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
