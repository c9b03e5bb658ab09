#include "engine/optimal/FirstFit.h"

namespace tallora::csp {

namespace {

// The longest bar that is left and holds the piece; an offcut before new stock when asked.
int ChooseStock(const Instance& in, const std::vector<int>& available, int size,
                bool offcutsFirst) {
    int chosen = -1;
    for (int j = 0; j < in.M; ++j) {
        const Stock& s = in.StockAt(j);
        if (s.Length < size || available[static_cast<std::size_t>(j)] == 0) continue;
        if (chosen < 0) {
            chosen = j;
            continue;
        }
        const Stock& c = in.StockAt(chosen);
        const bool better = offcutsFirst && Charges::IsOffcut(s) != Charges::IsOffcut(c)
                                ? Charges::IsOffcut(s)
                                : s.Length > c.Length;
        if (better) chosen = j;
    }
    return chosen;
}

}  // namespace

void FirstFitDecreasing(const Instance& in, Incumbent& incumbent, bool offcutsFirst) {
    struct Bar {
        int Stock;
        int Left;
        std::vector<int> Counts;
    };
    std::vector<Bar> bars;
    std::vector<int> available(static_cast<std::size_t>(in.M));
    for (int j = 0; j < in.M; ++j) available[static_cast<std::size_t>(j)] = in.StockAt(j).Available;
    std::vector<long long> unplaced(static_cast<std::size_t>(in.N), 0);
    for (int i : in.BySize) {
        const int size = in.ItemAt(i).Size;
        for (int piece = 0; piece < in.ItemAt(i).Demand; ++piece) {
            Bar* into = nullptr;
            for (Bar& bar : bars) {
                if (bar.Left >= size) {
                    into = &bar;
                    break;
                }
            }
            if (into == nullptr) {
                const int chosen = ChooseStock(in, available, size, offcutsFirst);
                if (chosen < 0) {
                    ++unplaced[static_cast<std::size_t>(i)];
                    continue;
                }
                if (available[static_cast<std::size_t>(chosen)] > 0)
                    --available[static_cast<std::size_t>(chosen)];
                bars.push_back({chosen, in.StockAt(chosen).Length,
                                std::vector<int>(static_cast<std::size_t>(in.N), 0)});
                into = &bars.back();
            }
            into->Left -= size;
            ++into->Counts[static_cast<std::size_t>(i)];
        }
    }
    Bars counted;
    for (const Bar& bar : bars) counted.push_back({MakePattern(bar.Stock, bar.Counts), 1});
    incumbent.Accept(Merge(counted), unplaced);
}

}  // namespace tallora::csp
