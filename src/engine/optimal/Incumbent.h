#pragma once

#include <limits>
#include <optional>
#include <vector>

#include "engine/optimal/Instance.h"
#include "engine/optimal/Patterns.h"

namespace tallora::csp {

// The best plan found so far and the bound it is measured against.
class Incumbent {
public:
    explicit Incumbent(const Instance& instance) : in_(instance) {}

    // Takes a plan when it is better than the best so far, each bar on the cheapest stock row
    // that holds it.
    void Accept(Bars patterns, const std::vector<long long>& unplaced);
    // The same for patterns that cut no more than is asked: what they leave is uncut.
    void Offer(Bars patterns);

    const Plan& Best() const { return best_; }
    double Cost() const { return bestCost_; }
    long long Charge() const { return bestCharge_; }  // without its pieces left uncut

    // The programme's bound at the root, and the least cost a plan can have, when known; each
    // only ever rises.
    const std::optional<double>& RootBound() const { return rootBound_; }
    const std::optional<long long>& Rounded() const { return rounded_; }
    void SetRootBound(double bound);
    void SetRounded(long long rounded);

    bool Proven() const;
    // With offcut rows: the best plan's new stock meets the bound's, so only offcut length is
    // left to gain.
    bool NewStockAtBound() const;
    // Tells the caller where the search stands.
    void Report() const;

    static long long NewMaterial(const Plan& plan) { return plan.Material - plan.OffcutMaterial; }

private:
    const Instance& in_;
    Plan best_;
    double bestCost_ = std::numeric_limits<double>::infinity();
    long long bestCharge_ = 0;
    std::optional<double> rootBound_;
    std::optional<long long> rounded_;
};

}  // namespace tallora::csp
