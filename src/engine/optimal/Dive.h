#pragma once

#include <chrono>
#include <optional>
#include <random>

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

    // `until`: a time of its own to stop at, before the search's deadline.
    void Dive(std::optional<long long> target, int discrepancies, long long nodes,
              std::optional<std::chrono::steady_clock::time_point> until = std::nullopt);
    // Rounding down: the whole bars of the programme's solution are taken and the programme is
    // solved again for the pieces they leave, until no pattern has a whole bar; the pieces left
    // go bar by bar at least slack. It never rounds a fraction up, which costs a bar each time.
    void RoundDown();
    // A large neighbourhood of the best plan: the bars that waste most and a few others at
    // random are freed and their pieces cut again, the other bars kept; where the freed pieces
    // fit fewer or cheaper bars, the plan improves. With `price`, the freed pieces are rounded
    // down from the programme, else only cut bar by bar at least slack.
    void Repair(std::mt19937& random, bool price);

private:
    bool Over() const;
    bool DiveFrom(int discrepancies);
    void RoundDownFixed();
    void OfferFixedAndRest(const std::vector<long long>& left,
                           const std::vector<long long>& available, const Bars& fixed);
    bool Branch(int discrepancies);
    void RecordIntegral();

    const Instance& in_;
    Incumbent& incumbent_;
    Master& master_;
    BarSearch& bars_;
    long long nodes_ = 0;
    long long nodeLimit_ = 0;
    std::optional<long long> target_;
    std::optional<std::chrono::steady_clock::time_point> until_;
};

}  // namespace tallora::csp
