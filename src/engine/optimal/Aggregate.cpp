#include "engine/optimal/Aggregate.h"

#include <algorithm>
#include <map>

#include "engine/optimal/Patterns.h"

namespace tallora::csp {

Aggregate::Aggregate(const Problem& job) : job_(job) {
    joined_.Stocks = job.Stocks;
    std::map<int, std::vector<int>, std::greater<>> bySize;
    for (std::size_t i = 0; i < job.Items.size(); ++i) {
        if (job.Items[i].Demand > 0) bySize[job.Items[i].Size].push_back(static_cast<int>(i));
    }
    group_.assign(job.Items.size(), -1);
    for (const auto& [size, items] : bySize) {
        int demand = 0;
        for (int i : items) {
            group_[static_cast<std::size_t>(i)] = static_cast<int>(joined_.Items.size());
            demand += job.Items[static_cast<std::size_t>(i)].Demand;
        }
        joined_.Items.push_back({size, demand});
        members_.push_back(items);
    }
}

std::optional<Bars> Aggregate::Join(const Plan& plan) const {
    std::vector<long long> left(joined_.Items.size());
    for (std::size_t g = 0; g < left.size(); ++g) left[g] = joined_.Items[g].Demand;
    std::vector<long long> used(joined_.Stocks.size(), 0);
    Bars bars;
    for (const auto& [pattern, count] : plan.Patterns) {
        if (pattern.Stock < 0 || static_cast<std::size_t>(pattern.Stock) >= job_.Stocks.size() ||
            count <= 0)
            return std::nullopt;
        const Stock& stock = job_.Stocks[static_cast<std::size_t>(pattern.Stock)];
        std::vector<int> counts(joined_.Items.size(), 0);
        long long length = 0;
        for (const auto& [item, pieces] : pattern.Pieces) {
            if (item < 0 || static_cast<std::size_t>(item) >= job_.Items.size() || pieces < 0)
                return std::nullopt;
            const int g = group_[static_cast<std::size_t>(item)];
            if (g < 0) continue;
            counts[static_cast<std::size_t>(g)] += pieces;
            length +=
                static_cast<long long>(pieces) * job_.Items[static_cast<std::size_t>(item)].Size;
        }
        used[static_cast<std::size_t>(pattern.Stock)] += count;
        if (length > stock.Length ||
            (stock.Available >= 0 &&
             used[static_cast<std::size_t>(pattern.Stock)] > stock.Available))
            return std::nullopt;
        const Pattern joined = MakePattern(pattern.Stock, counts);
        for (int b = 0; b < count; ++b) bars.push_back({Trimmed(joined, left), 1});
    }
    return Merge(bars);
}

Plan Aggregate::Split(const Plan& plan) const {
    std::vector<long long> left(job_.Items.size());
    for (std::size_t i = 0; i < left.size(); ++i) left[i] = job_.Items[i].Demand;
    Bars bars;
    for (const auto& [pattern, count] : plan.Patterns) {
        for (int b = 0; b < count; ++b) {
            std::vector<int> counts(job_.Items.size(), 0);
            for (const auto& [g, pieces] : pattern.Pieces) {
                int rest = pieces;
                for (int i : members_[static_cast<std::size_t>(g)]) {
                    const int take = static_cast<int>(
                        std::min<long long>(rest, left[static_cast<std::size_t>(i)]));
                    counts[static_cast<std::size_t>(i)] += take;
                    left[static_cast<std::size_t>(i)] -= take;
                    rest -= take;
                }
            }
            bars.push_back({MakePattern(pattern.Stock, counts), 1});
        }
    }
    Plan split;
    split.Patterns = Merge(bars);
    split.Material = plan.Material;
    split.OffcutMaterial = plan.OffcutMaterial;
    split.Unplaced = plan.Unplaced;
    return split;
}

}  // namespace tallora::csp
