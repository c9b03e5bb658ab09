#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "engine/CuttingStockSolver.h"

namespace tallora::testing {

// (new stock length, offcut length)
using Usage = std::pair<long long, long long>;

// The least new stock that cuts every piece, then the least offcuts with it, by trying every
// way: for jobs of a few pieces. Nothing when the stock cannot cut them all. Without offcut rows
// it is the least stock length.
inline std::optional<Usage> BruteForceLeast(const csp::Problem& p) {
    std::map<std::vector<int>, std::optional<Usage>> memo;
    const std::size_t n = p.Items.size();
    const auto best = [&](auto&& self, const std::vector<int>& state) -> std::optional<Usage> {
        if (std::all_of(state.begin(), state.begin() + static_cast<long>(n),
                        [](int d) { return d == 0; })) {
            return Usage{0, 0};
        }
        if (auto it = memo.find(state); it != memo.end()) return it->second;
        // The first piece still wanted goes on some bar, with any others that fit.
        std::size_t first = 0;
        while (state[first] == 0) ++first;
        std::optional<Usage> result;
        for (std::size_t j = 0; j < p.Stocks.size(); ++j) {
            const bool limited = p.Stocks[j].Available >= 0;
            if (limited && state[n + j] == 0) continue;
            const int length = p.Stocks[j].Length;
            if (p.Items[first].Size > length) continue;
            std::vector<int> take(n, 0);
            take[first] = 1;
            const auto fill = [&](auto&& again, std::size_t i, int room) -> void {
                if (i == n) {
                    std::vector<int> next = state;
                    for (std::size_t k = 0; k < n; ++k) next[k] -= take[k];
                    if (limited) --next[n + j];
                    std::optional<Usage> rest = self(self, next);
                    if (!rest) return;
                    (p.Stocks[j].Offcut ? rest->second : rest->first) += length;
                    if (!result || *rest < *result) result = rest;
                    return;
                }
                const int base = take[i];
                for (int t = 0; base + t <= state[i] && t * p.Items[i].Size <= room; ++t) {
                    take[i] = base + t;
                    again(again, i + 1, room - t * p.Items[i].Size);
                }
                take[i] = base;
            };
            fill(fill, 0, length - p.Items[first].Size);
        }
        memo[state] = result;
        return result;
    };
    std::vector<int> state;
    for (const auto& item : p.Items) state.push_back(item.Demand);
    for (const auto& stock : p.Stocks) state.push_back(std::max(0, stock.Available));
    return best(best, state);
}

}  // namespace tallora::testing
