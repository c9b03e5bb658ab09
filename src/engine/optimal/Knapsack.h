#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tallora::csp {

// The best patterns for the duals, every capacity up to the largest at once: a bounded
// knapsack by dynamic programming, each item's copies split in powers of two.
class Knapsack {
public:
    // The most valuable pattern within `capacity` among items of the given bounds; value in
    // `value`. Bounds of 0 leave an item out.
    void Build(const std::vector<int>& sizes, const std::vector<double>& values,
               const std::vector<int>& bounds, int capacity);

    double Value(int capacity) const { return value_[static_cast<std::size_t>(capacity)]; }

    std::vector<int> Copies(int capacity, std::size_t items) const;

private:
    struct Chunk {
        int Item;
        int Copies;
        int Weight;
        double Value;
    };
    std::vector<Chunk> chunks_;
    std::size_t words_ = 0;
    std::vector<double> value_;
    std::vector<std::uint64_t> taken_;
};

}  // namespace tallora::csp
