#include <algorithm>
#include <limits>

#include "engine/optimal/Master.h"

namespace tallora::csp {

namespace {

// Cells of the pricing's table worth a unit of work, about as long as a few pivots.
constexpr long long PricingCellsPerWork = 1 << 17;

}  // namespace

// Patterns worth adding, found cheaply: each bar filled greedily by the value per length.
std::vector<Pattern> Master::GreedyColumns(const Duals& duals,
                                           const std::vector<int>& bounds) const {
    const std::vector<double>& pi = duals.Pi;
    std::vector<int> order;
    for (int i = 0; i < in_.N; ++i) {
        if (pi[static_cast<std::size_t>(i)] > Epsilon && bounds[static_cast<std::size_t>(i)] > 0)
            order.push_back(i);
    }
    std::vector<Pattern> found;
    const auto fill = [&](const std::vector<int>& sorted) {
        for (int j = 0; j < in_.M; ++j) {
            const Stock& s = in_.StockAt(j);
            if (s.Available == 0) continue;
            int left = s.Length;
            std::vector<int> counts(static_cast<std::size_t>(in_.N), 0);
            for (int i : sorted) {
                const int size = in_.ItemAt(i).Size;
                const int take = std::min(bounds[static_cast<std::size_t>(i)], left / size);
                if (take <= 0) continue;
                counts[static_cast<std::size_t>(i)] = take;
                left -= take * size;
            }
            Pattern pattern = MakePattern(j, counts);
            const double cost = in_.Costs.CostOf(j);
            if (ReducedCost(pattern, duals) < -Epsilon * cost && Fits(pattern))
                found.push_back(std::move(pattern));
        }
    };
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return pi[static_cast<std::size_t>(a)] * in_.ItemAt(b).Size >
               pi[static_cast<std::size_t>(b)] * in_.ItemAt(a).Size;
    });
    fill(order);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return pi[static_cast<std::size_t>(a)] > pi[static_cast<std::size_t>(b)];
    });
    fill(order);
    return found;
}

// The exact pricing: for each stock row the most valuable pattern, and the least reduced cost
// of all per unit of cost (0 or more when no pattern is worth adding).
double Master::ExactColumns(const Duals& duals, const std::vector<int>& bounds,
                            std::vector<Pattern>& found) {
    if (restriction_.ExactDemand) return RestrictedColumns(duals, bounds, found);
    int capacity = 0;
    for (const Stock& s : in_.P.Stocks) {
        if (s.Available != 0) capacity = std::max(capacity, s.Length);
    }
    knapsack_.Build(sizes_, duals.Pi, bounds, capacity);
    in_.Work(static_cast<long long>(in_.N) * capacity / PricingCellsPerWork);
    double least = 0.0;
    for (int j = 0; j < in_.M; ++j) {
        const Stock& s = in_.StockAt(j);
        if (s.Available == 0) continue;
        const double cost = in_.Costs.CostOf(j);
        const double worth = cost - duals.Sigma[static_cast<std::size_t>(j)];
        least = std::min(least, (worth - knapsack_.Value(s.Length)) / cost);
        // The best pattern, and a few more from shorter capacities where the value drops:
        // other patterns worth adding, for the cost of one table.
        int taken = 0;
        double last = std::numeric_limits<double>::infinity();
        for (int c = s.Length; c > 0 && taken < in_.O.ColumnsPerPricing; --c) {
            const double value = knapsack_.Value(c);
            if (worth - value >= -Epsilon * cost) break;
            if (value < last - Epsilon) {
                found.push_back(
                    MakePattern(j, knapsack_.Copies(c, static_cast<std::size_t>(in_.N))));
                ++taken;
                last = value;
            }
        }
    }
    return least;
}

// The same for the narrowed programme: per stock row, over the lengths a pattern may fill, with
// the branches' arcs at their own values.
double Master::RestrictedColumns(const Duals& duals, const std::vector<int>& bounds,
                                 std::vector<Pattern>& found) {
    double least = 0.0;
    std::vector<ArcPricing::ArcValue> arcs;
    std::vector<std::pair<double, int>> fills;
    for (int j = 0; j < in_.M; ++j) {
        const Stock& s = in_.StockAt(j);
        if (s.Available == 0) continue;
        arcs.clear();
        for (std::size_t b = 0; b < branches_.size(); ++b) {
            const Arc& arc = branches_[b].Where;
            if (arc.Stock == j && duals.Mu[b] != 0.0)
                arcs.push_back({arc.Position, arc.Item, duals.Mu[b]});
        }
        arcPricing_.Build(sizes_, duals.Pi, bounds, s.Length, arcs);
        in_.Work(static_cast<long long>(in_.N) * s.Length / PricingCellsPerWork);
        const long long waste = restriction_.MaxWaste < 0 ? s.Length : restriction_.MaxWaste;
        const int shortest = static_cast<int>(std::max<long long>(1, s.Length - waste));
        const double cost = in_.Costs.CostOf(j);
        const double worth = cost - duals.Sigma[static_cast<std::size_t>(j)];
        fills.clear();
        for (int c = s.Length; c >= shortest; --c) {
            const double value = arcPricing_.Value(c);
            if (value != ArcPricing::None) fills.push_back({value, c});
        }
        if (fills.empty()) continue;
        // Only the best few are wanted: the most worth first, the fullest among equals.
        const auto better = [](const auto& a, const auto& b) {
            return a.first > b.first || (a.first == b.first && a.second > b.second);
        };
        const std::size_t wanted = std::min<std::size_t>(
            fills.size(), static_cast<std::size_t>(8 * in_.O.ColumnsPerPricing));
        std::partial_sort(fills.begin(), fills.begin() + static_cast<long>(wanted), fills.end(),
                          better);
        fills.resize(wanted);
        least = std::min(least, (worth - fills.front().first) / cost);
        // The best patterns of different worth.
        int taken = 0;
        double last = std::numeric_limits<double>::infinity();
        for (const auto& [value, c] : fills) {
            if (taken >= in_.O.ColumnsPerPricing || worth - value >= -Epsilon * cost) break;
            if (value < last - Epsilon) {
                found.push_back(MakePattern(j, arcPricing_.Copies(c)));
                ++taken;
                last = value;
            }
        }
    }
    return least;
}

}  // namespace tallora::csp
