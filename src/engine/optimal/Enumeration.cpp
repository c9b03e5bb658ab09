#include "engine/optimal/Enumeration.h"

#include <algorithm>

namespace tallora::csp {

bool Enumerate(const Instance& in, long long maxWaste, std::size_t most,
               std::vector<Pattern>& found) {
    found.clear();
    const std::vector<int>& bySize = in.BySize;
    std::vector<int> counts(static_cast<std::size_t>(in.N), 0);
    // What the pieces from each size on could fill at most.
    std::vector<long long> after(bySize.size() + 1, 0);
    for (std::size_t k = bySize.size(); k-- > 0;) {
        const Item& item = in.ItemAt(bySize[k]);
        after[k] = after[k + 1] + static_cast<long long>(item.Size) * item.Demand;
    }
    bool overflow = false;
    long long visits = 0;
    for (int j = 0; j < in.M && !overflow; ++j) {
        const Stock& stock = in.StockAt(j);
        if (stock.Available == 0) continue;
        const int length = stock.Length;
        const long long least = length - std::min<long long>(maxWaste, length);
        const auto walk = [&](auto&& self, std::size_t at, int filled) -> void {
            if (overflow || filled + after[at] < least) return;
            if (++visits > in.O.MaxEnumerationVisits) {
                overflow = true;
                return;
            }
            if (at == bySize.size()) {
                for (int i : bySize) {
                    const Item& item = in.ItemAt(i);
                    if (counts[static_cast<std::size_t>(i)] < item.Demand &&
                        item.Size <= length - filled)
                        return;
                }
                if (filled == 0) return;
                if (found.size() >= most) {
                    overflow = true;
                    return;
                }
                found.push_back(MakePattern(j, counts));
                return;
            }
            const int i = bySize[at];
            const Item& item = in.ItemAt(i);
            const int take = std::min(item.Demand, (length - filled) / item.Size);
            for (int t = take; t >= 0; --t) {
                counts[static_cast<std::size_t>(i)] = t;
                self(self, at + 1, filled + t * item.Size);
            }
            counts[static_cast<std::size_t>(i)] = 0;
        };
        walk(walk, 0, 0);
    }
    if (overflow) found.clear();
    return !overflow;
}

std::vector<Pattern> TightPatterns(const Instance& in, const Incumbent& incumbent) {
    std::vector<Pattern> found;
    const auto& rounded = incumbent.Rounded();
    if (!rounded || in.Costs.Weight() > 0) return found;
    for (const Stock& s : in.P.Stocks) {
        if (s.Length != in.P.Stocks.front().Length) return found;
    }
    long long total = 0;
    for (const Item& item : in.P.Items) total += static_cast<long long>(item.Size) * item.Demand;
    const long long waste = *rounded - total;
    if (waste < 0 || waste >= in.P.Stocks.front().Length) return found;
    Enumerate(in, waste, in.O.MaxTightPatterns, found);
    return found;
}

}  // namespace tallora::csp
