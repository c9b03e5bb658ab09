#include "engine/optimal/Patterns.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace tallora::csp {

long long Gcd(long long a, long long b) {
    while (b != 0) {
        const long long r = a % b;
        a = b;
        b = r;
    }
    return a;
}

std::size_t HashOf(const Pattern& p) {
    std::size_t h = static_cast<std::size_t>(p.Stock) * 1000003u;
    for (const auto& [item, count] : p.Pieces) {
        h ^= (static_cast<std::size_t>(item) * 7919u + static_cast<std::size_t>(count)) +
             0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    }
    return h;
}

Pattern MakePattern(int stock, const std::vector<int>& counts) {
    Pattern p;
    p.Stock = stock;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        if (counts[i] > 0) p.Pieces.push_back({static_cast<int>(i), counts[i]});
    }
    return p;
}

Bars Merge(const Bars& patterns) {
    Bars merged;
    std::unordered_map<std::size_t, std::vector<std::size_t>> at;
    for (const auto& [pattern, bars] : patterns) {
        if (bars <= 0 || pattern.Pieces.empty()) continue;
        auto& slots = at[HashOf(pattern)];
        bool found = false;
        for (std::size_t k : slots) {
            if (merged[k].first == pattern) {
                merged[k].second += bars;
                found = true;
                break;
            }
        }
        if (!found) {
            slots.push_back(merged.size());
            merged.push_back({pattern, bars});
        }
    }
    return merged;
}

Pattern Trimmed(const Pattern& pattern, std::vector<long long>& left) {
    Pattern cut;
    cut.Stock = pattern.Stock;
    for (const auto& [item, count] : pattern.Pieces) {
        const int take =
            static_cast<int>(std::min<long long>(count, left[static_cast<std::size_t>(item)]));
        if (take > 0) {
            cut.Pieces.push_back({item, take});
            left[static_cast<std::size_t>(item)] -= take;
        }
    }
    return cut;
}

std::string CheckPlan(const Problem& problem, const Plan& plan) {
    const std::size_t n = problem.Items.size();
    std::vector<long long> cut(n, 0);
    std::vector<long long> bars(problem.Stocks.size(), 0);
    long long material = 0;
    long long offcuts = 0;
    for (const auto& [pattern, count] : plan.Patterns) {
        if (pattern.Stock < 0 || static_cast<std::size_t>(pattern.Stock) >= problem.Stocks.size())
            return "a pattern names no stock row";
        if (count <= 0) return "a pattern has no bars";
        long long used = 0;
        for (const auto& [item, pieces] : pattern.Pieces) {
            if (item < 0 || static_cast<std::size_t>(item) >= n) return "a pattern names no item";
            if (pieces <= 0) return "a pattern cuts no pieces of an item it names";
            used +=
                static_cast<long long>(pieces) * problem.Items[static_cast<std::size_t>(item)].Size;
            cut[static_cast<std::size_t>(item)] += static_cast<long long>(pieces) * count;
        }
        const Stock& stock = problem.Stocks[static_cast<std::size_t>(pattern.Stock)];
        if (used > stock.Length) return "a pattern is longer than its bar";
        bars[static_cast<std::size_t>(pattern.Stock)] += count;
        material += static_cast<long long>(count) * stock.Length;
        if (stock.Offcut && stock.Available >= 0)
            offcuts += static_cast<long long>(count) * stock.Length;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (cut[i] > problem.Items[i].Demand) return "more pieces of an item than asked for";
    }
    for (std::size_t j = 0; j < problem.Stocks.size(); ++j) {
        const int available = problem.Stocks[j].Available;
        if (available >= 0 && bars[j] > available) return "more bars of a stock row than it has";
    }
    if (material != plan.Material) return "the material is not the sum of the bars";
    if (offcuts != plan.OffcutMaterial) return "the offcut material is not the sum of its bars";
    long long asked = 0;
    long long placed = 0;
    for (std::size_t i = 0; i < n; ++i) {
        asked += problem.Items[i].Demand;
        placed += cut[i];
    }
    if (asked - placed != plan.Unplaced) return "the pieces left over do not add up";
    return {};
}

}  // namespace tallora::csp
