#include "engine/optimal/LocalSearch.h"

#include <algorithm>
#include <numeric>

namespace tallora::csp {

namespace {

long long Fill(const Instance& in, const Pattern& pattern) {
    long long fill = 0;
    for (const auto& [item, count] : pattern.Pieces)
        fill += static_cast<long long>(count) * in.ItemAt(item).Size;
    return fill;
}

}  // namespace

Bars Restock(const Instance& in, Bars patterns) {
    if (in.M < 2) return patterns;
    std::vector<long long> used(static_cast<std::size_t>(in.M), 0);
    std::vector<long long> fill(patterns.size());
    for (std::size_t k = 0; k < patterns.size(); ++k) {
        used[static_cast<std::size_t>(patterns[k].first.Stock)] += patterns[k].second;
        fill[k] = Fill(in, patterns[k].first);
    }
    std::vector<std::size_t> order(patterns.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return fill[a] > fill[b]; });
    Bars moved;
    bool changed = false;
    for (std::size_t k : order) {
        auto& [pattern, bars] = patterns[k];
        while (bars > 0) {
            int cheapest = pattern.Stock;
            for (int j = 0; j < in.M; ++j) {
                const Stock& s = in.StockAt(j);
                const bool room =
                    s.Available < 0 || used[static_cast<std::size_t>(j)] < s.Available;
                if (room && s.Length >= fill[k] && in.Costs.Of(j) < in.Costs.Of(cheapest))
                    cheapest = j;
            }
            if (cheapest == pattern.Stock) break;
            // As many bars as the cheaper row has.
            const Stock& s = in.StockAt(cheapest);
            const long long room =
                s.Available < 0 ? bars : s.Available - used[static_cast<std::size_t>(cheapest)];
            const int move = static_cast<int>(std::min<long long>(bars, room));
            Pattern there = pattern;
            there.Stock = cheapest;
            moved.push_back({there, move});
            used[static_cast<std::size_t>(cheapest)] += move;
            used[static_cast<std::size_t>(pattern.Stock)] -= move;
            bars -= move;
            changed = true;
        }
    }
    if (!changed) return patterns;
    for (auto& bar : patterns) moved.push_back(std::move(bar));
    return Merge(moved);
}

}  // namespace tallora::csp
