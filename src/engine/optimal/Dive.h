#pragma once

#include <optional>

#include "engine/optimal/BarSearch.h"
#include "engine/optimal/Master.h"

namespace tallora::csp {

// From the programme to bars: fixes the whole bars of the programme's solution, then the
// largest fraction, and solves again, until the solution is whole. Where that fails, up to
// `discrepancies` times another fraction is fixed instead; a branch stops where its bound
// cannot beat the best plan. With a target, branches whose bound passes it are left: the dive
// looks for a plan of the target's material only.
class Diver {
public:
    Diver(const Instance& instance, Incumbent& incumbent, Master& master, BarSearch& bars)
        : in_(instance), incumbent_(incumbent), master_(master), bars_(bars) {}

    void Dive(std::optional<long long> target, int discrepancies, long long nodes);

private:
    bool DiveFrom(int discrepancies);
    bool Branch(int discrepancies);
    void RecordIntegral();

    const Instance& in_;
    Incumbent& incumbent_;
    Master& master_;
    BarSearch& bars_;
    long long nodes_ = 0;
    long long nodeLimit_ = 0;
    std::optional<long long> target_;
};

}  // namespace tallora::csp
