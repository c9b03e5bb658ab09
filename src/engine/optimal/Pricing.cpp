#include <algorithm>
#include <limits>

#include "engine/optimal/Master.h"

namespace tallora::csp {

// Patterns worth adding, found cheaply: each bar filled greedily by the value per length.
std::vector<Pattern> Master::GreedyColumns(const std::vector<double>& pi,
                                           const std::vector<double>& sigma,
                                           const std::vector<int>& bounds) const {
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
            double value = 0.0;
            std::vector<int> counts(static_cast<std::size_t>(in_.N), 0);
            for (int i : sorted) {
                const int size = in_.ItemAt(i).Size;
                const int take = std::min(bounds[static_cast<std::size_t>(i)], left / size);
                if (take <= 0) continue;
                counts[static_cast<std::size_t>(i)] = take;
                left -= take * size;
                value += take * pi[static_cast<std::size_t>(i)];
            }
            const double cost = in_.Costs.CostOf(j);
            if (cost - sigma[static_cast<std::size_t>(j)] - value < -Epsilon * cost)
                found.push_back(MakePattern(j, counts));
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
double Master::ExactColumns(const std::vector<double>& pi, const std::vector<double>& sigma,
                            const std::vector<int>& bounds, std::vector<Pattern>& found,
                            std::vector<double>& bestReduced) {
    std::vector<int> sizes(static_cast<std::size_t>(in_.N));
    for (int i = 0; i < in_.N; ++i) sizes[static_cast<std::size_t>(i)] = in_.ItemAt(i).Size;
    int capacity = 0;
    for (const Stock& s : in_.P.Stocks) {
        if (s.Available != 0) capacity = std::max(capacity, s.Length);
    }
    knapsack_.Build(sizes, pi, bounds, capacity);
    double least = 0.0;
    bestReduced.assign(static_cast<std::size_t>(in_.M), 0.0);
    for (int j = 0; j < in_.M; ++j) {
        const Stock& s = in_.StockAt(j);
        if (s.Available == 0) continue;
        const double cost = in_.Costs.CostOf(j);
        const double worth = cost - sigma[static_cast<std::size_t>(j)];
        const double reduced = worth - knapsack_.Value(s.Length);
        bestReduced[static_cast<std::size_t>(j)] = reduced;
        least = std::min(least, reduced / cost);
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

}  // namespace tallora::csp
