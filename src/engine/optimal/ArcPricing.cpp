#include "engine/optimal/ArcPricing.h"

#include <algorithm>

namespace tallora::csp {

void ArcPricing::Build(const std::vector<int>& sizes, const std::vector<double>& values,
                       const std::vector<int>& bounds, int length,
                       const std::vector<ArcValue>& arcs) {
    length_ = length;
    sizes_ = sizes;
    stages_.clear();
    bits_.clear();
    counts_.clear();
    const std::size_t states = static_cast<std::size_t>(length) + 1;
    value_.assign(states, None);
    value_[0] = 0.0;
    arcValue_.assign(states, 0.0);
    std::vector<std::vector<const ArcValue*>> byItem(sizes.size());
    for (const ArcValue& arc : arcs) {
        if (arc.Position <= length) byItem[static_cast<std::size_t>(arc.Item)].push_back(&arc);
    }
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const int bound = std::min(bounds[i], length / sizes[i]);
        if (bound <= 0) continue;
        const int item = static_cast<int>(i);
        if (byItem[i].empty()) {
            Chunked(item, sizes[i], values[i], bound);
            continue;
        }
        for (const ArcValue* arc : byItem[i])
            arcValue_[static_cast<std::size_t>(arc->Position)] += arc->Value;
        ArcByArc(item, sizes[i], values[i], bound);
        for (const ArcValue* arc : byItem[i])
            arcValue_[static_cast<std::size_t>(arc->Position)] = 0.0;
    }
}

// No arc of the item has a value of its own: its pieces in chunks of 1, 2, 4... taken or not.
void ArcPricing::Chunked(int item, int size, double value, int bound) {
    const std::size_t words = (value_.size() + 63) / 64;
    for (int part = 1, left = bound; left > 0; part *= 2) {
        const int take = std::min(part, left);
        left -= take;
        const int weight = take * size;
        const double worth = take * value;
        stages_.push_back({item, take, bits_.size(), false});
        bits_.resize(bits_.size() + words, 0);
        std::uint64_t* bits = bits_.data() + stages_.back().Choice;
        for (int c = length_; c >= weight; --c) {
            const double from = value_[static_cast<std::size_t>(c - weight)];
            if (from == None) continue;
            if (from + worth > value_[static_cast<std::size_t>(c)] + 1e-12) {
                value_[static_cast<std::size_t>(c)] = from + worth;
                bits[static_cast<std::size_t>(c) / 64] |= std::uint64_t{1} << (c % 64);
            }
        }
    }
}

// The item's pieces one after the other from each fill, each adding its arc's own value.
void ArcPricing::ArcByArc(int item, int size, double value, int bound) {
    stages_.push_back({item, 0, counts_.size(), true});
    counts_.resize(counts_.size() + value_.size(), 0);
    std::uint16_t* counts = counts_.data() + stages_.back().Choice;
    before_ = value_;
    for (int from = 0; from + size <= length_; ++from) {
        double worth = before_[static_cast<std::size_t>(from)];
        if (worth == None) continue;
        for (int k = 1, at = from; k <= bound && at + size <= length_; ++k, at += size) {
            worth += value + arcValue_[static_cast<std::size_t>(at)];
            const std::size_t to = static_cast<std::size_t>(at + size);
            if (worth > value_[to] + 1e-12) {
                value_[to] = worth;
                counts[to] = static_cast<std::uint16_t>(k);
            }
        }
    }
}

std::vector<int> ArcPricing::Copies(int fill) const {
    std::vector<int> copies(sizes_.size(), 0);
    std::size_t c = static_cast<std::size_t>(fill);
    for (std::size_t s = stages_.size(); s-- > 0;) {
        const Stage& stage = stages_[s];
        const int size = sizes_[static_cast<std::size_t>(stage.Item)];
        if (stage.Counted) {
            const int k = counts_[stage.Choice + c];
            copies[static_cast<std::size_t>(stage.Item)] += k;
            c -= static_cast<std::size_t>(k * size);
        } else if ((bits_[stage.Choice + c / 64] >> (c % 64)) & 1u) {
            copies[static_cast<std::size_t>(stage.Item)] += stage.Copies;
            c -= static_cast<std::size_t>(stage.Copies * size);
        }
    }
    return copies;
}

}  // namespace tallora::csp
