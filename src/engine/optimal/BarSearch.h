#pragma once

#include <cstddef>
#include <random>
#include <utility>
#include <vector>

#include "engine/optimal/Incumbent.h"
#include "engine/optimal/Master.h"

namespace tallora::csp {

// One stock length: a search for a plan of exactly the bound's bars. Bar by bar, the longest
// piece left first, completed by the pieces that fill its bar best; the bound leaves so much
// waste for all bars together, and no more. Used where diving stops one bar short, as on jobs
// whose best plans fill every bar to the millimetre.
class BarSearch {
public:
    enum class Filling { NotApplicable, Found, GaveUp, NoPlan };

    BarSearch(const Instance& instance, Incumbent& incumbent)
        : in_(instance), incumbent_(incumbent) {}

    // `shuffle` 0 tries the fullest ways of filling a bar longest pieces first; others try ways
    // that fill a bar equally well in an order of their own. NoPlan: the search went through
    // every way and found no plan of the bound's bars, so the bound rises by one bar.
    // With `residual` and `fixed`, the bars a dive fixed stay and the search fills what they
    // leave.
    Filling FillToBound(long long nodeLimit, unsigned shuffle, const Residual* residual = nullptr,
                        const Bars* fixed = nullptr);

private:
    // One way to complete a bar: pieces of size indices, and the length they fill.
    struct Way {
        int Filled = 0;
        std::vector<std::pair<std::size_t, int>> Pieces;
    };

    bool Prepare(long long nodeLimit, unsigned shuffle, const Residual* residual, long long& waste,
                 long long& bars);
    void Record(const Bars* fixed);
    bool FillBar(long long waste, int barsLeft);
    void Completions(std::size_t at, int room, int least, int filled,
                     std::vector<std::pair<std::size_t, int>>& taken, std::vector<Way>& ways) const;

    const Instance& in_;
    Incumbent& incumbent_;
    // Sizes longest first, pieces left, bars so far.
    int length_ = 0;
    std::vector<int> item_;
    std::vector<int> size_;
    std::vector<int> left_;
    std::vector<std::vector<std::pair<std::size_t, int>>> bars_;
    // The bar being filled: the sizes with pieces left from its opener's on (indices and
    // sizes), and what the pieces from each of them on fill.
    std::vector<std::size_t> open_;
    std::vector<int> openSize_;
    std::vector<long long> after_;
    long long nodes_ = 0;
    long long nodeLimit_ = 0;
    bool incomplete_ = false;  // some ways were not tried
    bool shuffle_ = false;
    std::mt19937 random_;
};

}  // namespace tallora::csp
