#include "engine/optimal/SlackFill.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace tallora::csp {

namespace {

// The pieces left, each item's in chunks of 1, 2, 4... for the subset sums.
struct Chunk {
    int Item;
    int Copies;
    int Weight;
};

// The fullest fill of `room` from the chunks of the pieces left: which lengths can be made, and
// the chunk that first made each, so that a fill can be taken apart again.
class SubsetSums {
public:
    int Fullest(const std::vector<Chunk>& chunks, int room) {
        const std::size_t words = static_cast<std::size_t>(room) / 64 + 1;
        bits_.assign(words, 0);
        bits_[0] = 1;
        first_.assign(static_cast<std::size_t>(room) + 1, -1);
        shifted_.resize(words);
        for (std::size_t k = 0; k < chunks.size(); ++k) {
            ShiftInto(chunks[k].Weight, words);
            for (std::size_t w = 0; w < words; ++w) {
                std::uint64_t fresh = shifted_[w] & ~bits_[w];
                bits_[w] |= shifted_[w];
                while (fresh != 0) {
                    const int bit = __builtin_ctzll(fresh);
                    fresh &= fresh - 1;
                    const std::size_t at = w * 64 + static_cast<std::size_t>(bit);
                    if (at <= static_cast<std::size_t>(room)) first_[at] = static_cast<int>(k);
                }
            }
            if (Reached(room)) break;
        }
        for (int c = room; c > 0; --c) {
            if (Reached(c)) return c;
        }
        return 0;
    }

    // The chunks of the fill of exactly `length`.
    std::vector<int> Taken(const std::vector<Chunk>& chunks, int length) const {
        std::vector<int> taken;
        for (int c = length; c > 0;) {
            const int k = first_[static_cast<std::size_t>(c)];
            taken.push_back(k);
            c -= chunks[static_cast<std::size_t>(k)].Weight;
        }
        return taken;
    }

private:
    bool Reached(int c) const { return (bits_[static_cast<std::size_t>(c) / 64] >> (c % 64)) & 1u; }

    void ShiftInto(int by, std::size_t words) {
        const std::size_t whole = static_cast<std::size_t>(by) / 64;
        const int part = by % 64;
        for (std::size_t w = words; w-- > 0;) {
            std::uint64_t value = 0;
            if (w >= whole) {
                value = bits_[w - whole] << part;
                if (part != 0 && w > whole) value |= bits_[w - whole - 1] >> (64 - part);
            }
            shifted_[w] = value;
        }
        // Nothing past the room.
        const int over = static_cast<int>(words * 64) - static_cast<int>(first_.size());
        if (over > 0) shifted_[words - 1] &= ~std::uint64_t{0} >> over;
    }

    std::vector<std::uint64_t> bits_;
    std::vector<std::uint64_t> shifted_;
    std::vector<int> first_;
};

std::vector<Chunk> Chunks(const Instance& in, const std::vector<long long>& left, int skip) {
    std::vector<Chunk> chunks;
    for (int i : in.BySize) {
        long long count = left[static_cast<std::size_t>(i)] - (i == skip ? 1 : 0);
        for (long long part = 1; count > 0; part *= 2) {
            const long long take = std::min(part, count);
            chunks.push_back(
                {i, static_cast<int>(take), static_cast<int>(take) * in.ItemAt(i).Size});
            count -= take;
        }
    }
    return chunks;
}

// The stock row whose bar, filled fullest with the longest piece left, costs least for what it
// holds, and that fill; -1 when no row left holds the piece.
int ChooseRow(const Instance& in, const std::vector<Chunk>& chunks, int size,
              const std::vector<long long>& available, SubsetSums& sums, int& fill) {
    int chosen = -1;
    double best = 0.0;
    for (int j = 0; j < in.M; ++j) {
        const int length = in.StockAt(j).Length;
        if (available[static_cast<std::size_t>(j)] == 0 || length < size) continue;
        const int rest = sums.Fullest(chunks, length - size);
        const double perLength = in.Costs.CostOf(j) / double(size + rest);
        if (chosen < 0 || perLength < best) {
            chosen = j;
            best = perLength;
            fill = rest;
        }
    }
    return chosen;
}

}  // namespace

std::optional<Bars> SlackBars(const Instance& in, std::vector<long long> left,
                              std::vector<long long> available) {
    SubsetSums sums;
    Bars plan;
    for (std::size_t next = 0; next < in.BySize.size();) {
        const int longest = in.BySize[next];
        if (left[static_cast<std::size_t>(longest)] <= 0) {
            ++next;
            continue;
        }
        if (in.Stopped()) return std::nullopt;
        const int size = in.ItemAt(longest).Size;
        const std::vector<Chunk> chunks = Chunks(in, left, longest);
        int fill = 0;
        const int chosen = ChooseRow(in, chunks, size, available, sums, fill);
        if (chosen < 0) return std::nullopt;
        sums.Fullest(chunks, in.StockAt(chosen).Length - size);
        std::vector<int> counts(static_cast<std::size_t>(in.N), 0);
        counts[static_cast<std::size_t>(longest)] = 1;
        for (int k : sums.Taken(chunks, fill)) {
            const Chunk& chunk = chunks[static_cast<std::size_t>(k)];
            counts[static_cast<std::size_t>(chunk.Item)] += chunk.Copies;
        }
        for (int i = 0; i < in.N; ++i)
            left[static_cast<std::size_t>(i)] -= counts[static_cast<std::size_t>(i)];
        if (available[static_cast<std::size_t>(chosen)] > 0)
            --available[static_cast<std::size_t>(chosen)];
        plan.push_back({MakePattern(chosen, counts), 1});
        in.Work();
    }
    return Merge(plan);
}

void MinimumSlack(const Instance& in, Incumbent& incumbent) {
    std::vector<long long> left(static_cast<std::size_t>(in.N));
    for (int i = 0; i < in.N; ++i) left[static_cast<std::size_t>(i)] = in.ItemAt(i).Demand;
    std::vector<long long> available(static_cast<std::size_t>(in.M));
    for (int j = 0; j < in.M; ++j) available[static_cast<std::size_t>(j)] = in.StockAt(j).Available;
    if (auto plan = SlackBars(in, std::move(left), std::move(available)))
        incumbent.Offer(std::move(*plan));
}

}  // namespace tallora::csp
