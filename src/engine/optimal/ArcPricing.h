#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tallora::csp {

// A branch of the search on one arc of a stock row's arc-flow graph: a piece of `Item` cut
// starting `Position` into the bar, its pieces laid longest first.
struct Arc {
    int Stock = 0;
    int Position = 0;
    int Item = 0;
    auto operator<=>(const Arc&) const = default;
};

// The most valuable patterns of one stock row: a dynamic programme over the items longest first
// (item 0 the longest) and the exact length they fill, so that a pattern's pieces take their
// positions in that order and an arc that a branch gave a value of its own is priced exactly.
// Items worth less than nothing count too: a pattern may need them to fill its bar enough.
class ArcPricing {
public:
    struct ArcValue {
        int Position = 0;
        int Item = 0;
        double Value = 0.0;
    };

    // Items with a bound of 0 are left out; `arcs` in any order.
    void Build(const std::vector<int>& sizes, const std::vector<double>& values,
               const std::vector<int>& bounds, int length, const std::vector<ArcValue>& arcs);
    static constexpr double None = -1e300;
    // The most a pattern filling exactly `fill` is worth; None when no pattern fills it.
    double Value(int fill) const { return value_[static_cast<std::size_t>(fill)]; }
    // The pieces of each item of that pattern.
    std::vector<int> Copies(int fill) const;

private:
    // One step of the programme: `Copies` pieces of an item taken or not (a bit per fill), or
    // for an item with arcs of their own, how many of its pieces (a count per fill).
    struct Stage {
        int Item = 0;
        int Copies = 0;
        std::size_t Choice = 0;  // where its choices start
        bool Counted = false;
    };
    void Chunked(int item, int size, double value, int bound);
    void ArcByArc(int item, int size, double value, int bound);

    int length_ = 0;
    std::vector<int> sizes_;
    std::vector<Stage> stages_;
    std::vector<double> value_;
    std::vector<double> before_;
    std::vector<double> arcValue_;  // of the item in hand, by position
    std::vector<std::uint64_t> bits_;
    std::vector<std::uint16_t> counts_;
};

// The arcs of a pattern's path: its pieces longest first from the start of the bar.
template <typename Visit>
void ForEachArc(const std::vector<int>& sizes, int stock,
                const std::vector<std::pair<int, int>>& pieces, Visit&& visit) {
    int at = 0;
    for (const auto& [item, count] : pieces) {
        const int size = sizes[static_cast<std::size_t>(item)];
        for (int t = 0; t < count; ++t, at += size) visit(Arc{stock, at, item});
    }
}

}  // namespace tallora::csp
