#include "engine/optimal/Knapsack.h"

#include <algorithm>

#include "engine/optimal/Options.h"

namespace tallora::csp {

void Knapsack::Build(const std::vector<int>& sizes, const std::vector<double>& values,
                     const std::vector<int>& bounds, int capacity) {
    chunks_.clear();
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (values[i] <= Epsilon || bounds[i] <= 0) continue;
        int left = std::min(bounds[i], capacity / sizes[i]);
        for (int part = 1; left > 0; part *= 2) {
            const int take = std::min(part, left);
            chunks_.push_back({static_cast<int>(i), take, take * sizes[i], take * values[i]});
            left -= take;
        }
    }
    const std::size_t states = static_cast<std::size_t>(capacity) + 1;
    words_ = (states + 63) / 64;
    value_.assign(states, 0.0);
    taken_.assign(words_ * chunks_.size(), 0);
    for (std::size_t k = 0; k < chunks_.size(); ++k) {
        const Chunk& chunk = chunks_[k];
        std::uint64_t* bits = taken_.data() + k * words_;
        for (int c = capacity; c >= chunk.Weight; --c) {
            const double candidate =
                value_[static_cast<std::size_t>(c - chunk.Weight)] + chunk.Value;
            if (candidate > value_[static_cast<std::size_t>(c)] + 1e-12) {
                value_[static_cast<std::size_t>(c)] = candidate;
                bits[static_cast<std::size_t>(c) / 64] |= std::uint64_t{1} << (c % 64);
            }
        }
    }
}

std::vector<int> Knapsack::Copies(int capacity, std::size_t items) const {
    std::vector<int> copies(items, 0);
    int c = capacity;
    for (std::size_t k = chunks_.size(); k-- > 0;) {
        const std::uint64_t* bits = taken_.data() + k * words_;
        if ((bits[static_cast<std::size_t>(c) / 64] >> (c % 64)) & 1u) {
            copies[static_cast<std::size_t>(chunks_[k].Item)] += chunks_[k].Copies;
            c -= chunks_[k].Weight;
        }
    }
    return copies;
}

}  // namespace tallora::csp
