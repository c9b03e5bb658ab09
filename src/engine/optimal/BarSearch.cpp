#include "engine/optimal/BarSearch.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace tallora::csp {

BarSearch::Filling BarSearch::FillToBound(long long nodeLimit, unsigned shuffle,
                                          const Residual* residual, const Bars* fixed) {
    long long waste = 0;
    long long bars = 0;
    if (!Prepare(nodeLimit, shuffle, residual, waste, bars)) return Filling::NotApplicable;
    if (!FillBar(waste, static_cast<int>(bars))) {
        if (incomplete_ || in_.Stopped() || residual != nullptr) return Filling::GaveUp;
        // Every way was tried: no plan has so few bars.
        incumbent_.SetRounded(*incumbent_.Rounded() + length_);
        incumbent_.Report();
        return Filling::NoPlan;
    }
    Record(fixed);
    return Filling::Found;
}

// The bars the bound allows and the waste they leave, and the sizes to place; false when the
// search does not apply: no bound, pieces left, offcut rows, several lengths, too few bars.
bool BarSearch::Prepare(long long nodeLimit, unsigned shuffle, const Residual* residual,
                        long long& waste, long long& bars) {
    const Plan& best = incumbent_.Best();
    if (!incumbent_.Rounded() || best.Unplaced > 0 || in_.Costs.Weight() > 0) return false;
    const int length = in_.P.Stocks.front().Length;
    long long barsAvailable = 0;
    for (int j = 0; j < in_.M; ++j) {
        const Stock& s = in_.StockAt(j);
        if (s.Length != length) return false;
        const long long available =
            residual != nullptr ? residual->Available[static_cast<std::size_t>(j)] : s.Available;
        barsAvailable = available < 0 || barsAvailable < 0 ? -1 : barsAvailable + available;
    }
    const double fixedCost = residual != nullptr ? residual->FixedCost : 0.0;
    bars = (*incumbent_.Rounded() - std::llround(fixedCost)) / length;
    if (bars < 0 || (barsAvailable >= 0 && barsAvailable < bars)) return false;
    // Distinct sizes, longest first, with their pieces.
    item_.clear();
    size_.clear();
    left_.clear();
    long long total = 0;
    for (int i : in_.BySize) {
        const Item& item = in_.ItemAt(i);
        const int demand =
            residual != nullptr ? residual->Bounds[static_cast<std::size_t>(i)] : item.Demand;
        if (demand == 0) continue;
        if (item.Size > length) return false;
        item_.push_back(i);
        size_.push_back(item.Size);
        left_.push_back(demand);
        total += static_cast<long long>(item.Size) * demand;
    }
    waste = bars * length - total;
    if (waste < 0) return false;
    length_ = length;
    bars_.clear();
    nodes_ = 0;
    // A work limit counts its nodes by the thousand, as the work done does.
    nodeLimit_ = in_.C.WorkLimit ? std::min(nodeLimit, *in_.C.WorkLimit * 1024) : nodeLimit;
    incomplete_ = false;
    random_.seed(shuffle);
    shuffle_ = shuffle != 0;
    return true;
}

// The bars found, after the fixed bars, into a plan for the incumbent.
void BarSearch::Record(const Bars* fixed) {
    Bars patterns;
    std::vector<long long> left(static_cast<std::size_t>(in_.N));
    for (int i = 0; i < in_.N; ++i) left[static_cast<std::size_t>(i)] = in_.ItemAt(i).Demand;
    std::vector<int> used(static_cast<std::size_t>(in_.M), 0);
    if (fixed != nullptr) {
        for (const auto& [pattern, count] : *fixed) {
            for (int b = 0; b < count; ++b) patterns.push_back({Trimmed(pattern, left), 1});
            used[static_cast<std::size_t>(pattern.Stock)] += count;
        }
    }
    int stock = 0;
    for (const auto& bar : bars_) {
        while (in_.StockAt(stock).Available >= 0 &&
               used[static_cast<std::size_t>(stock)] >= in_.StockAt(stock).Available) {
            ++stock;
        }
        ++used[static_cast<std::size_t>(stock)];
        std::vector<int> counts(static_cast<std::size_t>(in_.N), 0);
        for (const auto& [k, count] : bar) counts[static_cast<std::size_t>(item_[k])] += count;
        patterns.push_back({Trimmed(MakePattern(stock, counts), left), 1});
    }
    incumbent_.Accept(Merge(patterns), left);
}

// Fills the next bar and those after it; false when no way within `waste` was found.
bool BarSearch::FillBar(long long waste, int barsLeft) {
    std::size_t first = 0;
    while (first < left_.size() && left_[first] == 0) ++first;
    if (first == left_.size()) return true;
    if (barsLeft == 0) return false;
    if ((nodes_ & 1023) == 1023) in_.Work();
    if (++nodes_ > nodeLimit_ || ((nodes_ & 1023) == 0 && in_.Stopped())) {
        incomplete_ = true;
        return false;
    }
    // The longest piece left opens the bar; the ways to complete it, fullest first.
    --left_[first];
    const int room = length_ - size_[first];
    // The sizes with pieces left, from the opener's on: the only ones a way can hold.
    open_.clear();
    openSize_.clear();
    for (std::size_t k = first; k < size_.size(); ++k) {
        if (left_[k] == 0) continue;
        open_.push_back(k);
        openSize_.push_back(size_[k]);
    }
    after_.assign(open_.size() + 1, 0);
    for (std::size_t p = open_.size(); p-- > 0;)
        after_[p] = after_[p + 1] + static_cast<long long>(left_[open_[p]]) * openSize_[p];
    std::vector<std::pair<std::size_t, int>> taken;
    std::vector<Way> ways;
    Completions(0, room, room - static_cast<int>(std::min<long long>(waste, room)), 0, taken, ways);
    if (ways.size() >= in_.O.MaxCompletions) incomplete_ = true;
    std::stable_sort(ways.begin(), ways.end(),
                     [](const Way& a, const Way& b) { return a.Filled > b.Filled; });
    if (shuffle_) {
        for (auto from = ways.begin(); from != ways.end();) {
            auto to = std::find_if(from, ways.end(),
                                   [&](const Way& w) { return w.Filled != from->Filled; });
            std::shuffle(from, to, random_);
            from = to;
        }
    }
    bool found = false;
    for (const Way& way : ways) {
        for (const auto& [k, count] : way.Pieces) left_[k] -= count;
        bars_.push_back(way.Pieces);
        bars_.back().push_back({first, 1});
        found = FillBar(waste - (room - way.Filled), barsLeft - 1);
        if (found) break;
        bars_.pop_back();
        for (const auto& [k, count] : way.Pieces) left_[k] += count;
        if (incomplete_ && nodes_ > nodeLimit_) break;
        if (in_.Stopped()) break;
    }
    ++left_[first];
    return found;
}

// The ways to put pieces of the open sizes from position `at` on into `room`, filling at least
// `least`; only ways that leave no room for another piece that is left. Sizes that no longer
// fit are passed over at once, so a way costs the sizes it holds, not all there are.
void BarSearch::Completions(std::size_t at, int room, int least, int filled,
                            std::vector<std::pair<std::size_t, int>>& taken,
                            std::vector<Way>& ways) const {
    if (ways.size() >= in_.O.MaxCompletions) return;
    // The first size left that still fits (they are longest first).
    at = static_cast<std::size_t>(
        std::lower_bound(openSize_.begin() + static_cast<std::ptrdiff_t>(at), openSize_.end(),
                         room - filled, std::greater<int>()) -
        openSize_.begin());
    if (filled + after_[at] < least) return;
    if (at == open_.size()) {
        ways.push_back({filled, taken});
        return;
    }
    const std::size_t k = open_[at];
    const int size = openSize_[at];
    const int most = std::min(left_[k], (room - filled) / size);
    for (int take = most; take >= 0; --take) {
        if (take > 0) taken.push_back({k, take});
        // With a piece of this size left over, the rest must fill the bar until it no longer
        // fits, or the way is not maximal.
        const int need = take < left_[k] ? std::max(least, room - size + 1) : least;
        Completions(at + 1, room, need, filled + take * size, taken, ways);
        if (take > 0) taken.pop_back();
    }
}

}  // namespace tallora::csp
