#include <chrono>
#include <cmath>
#include <limits>

#include "engine/optimal/Master.h"

namespace tallora::csp {

namespace {

void Mix(const Duals& center, const Duals& own, double smoothing, Duals& mix) {
    const auto blend = [smoothing](const std::vector<double>& a, const std::vector<double>& b,
                                   std::vector<double>& out) {
        out.resize(b.size());
        for (std::size_t i = 0; i < b.size(); ++i)
            out[i] = smoothing * a[i] + (1 - smoothing) * b[i];
    };
    blend(center.Pi, own.Pi, mix.Pi);
    blend(center.Sigma, own.Sigma, mix.Sigma);
    blend(center.Mu, own.Mu, mix.Mu);
}

}  // namespace

// Stops early once the best bound, rounded up to what a plan can use, meets the programme's
// own value rounded up: more columns cannot change the rounded bound then.
// Patterns are priced with the pieces the fixed bars leave: no plan needs more of an item.
// The duals are smoothed towards those of the best bound so far, which takes far fewer rounds
// than pricing at the programme's own duals, whose values jump about.
bool Master::ColumnGeneration(bool exact, double* bound, int rounds,
                              std::optional<long long> pruneAbove) {
    const Residual residual = ResidualJob();
    double best = -std::numeric_limits<double>::infinity();
    Duals own, center, mix;
    bool centered = false;
    std::vector<Pattern> found;
    const auto finish = [&](bool converged) {
        if (bound != nullptr) *bound = best;
        return converged;
    };
    for (int round = 0;; ++round) {
        if (in_.Stopped() || !lp_.isProvenOptimal() || round >= rounds ||
            (SoftDeadline && std::chrono::steady_clock::now() >= *SoftDeadline)) {
            return finish(false);
        }
        ReadDuals(own);
        const double z = lp_.objectiveValue();
        // Greedy patterns are cheap; the exact pricing gives the bound and the patterns that
        // make progress, so it runs every round.
        found = GreedyColumns(own, residual.Bounds);
        bool greedy = false;
        for (const Pattern& pattern : found) greedy = AddColumn(pattern) || greedy;
        if (!exact) {
            if (!greedy) return finish(false);
            Resolve(true);
            continue;
        }
        bool added = false;
        // Priced first at the smoothed duals: their patterns count when they pay at the
        // programme's own.
        if (centered) {
            Mix(center, own, in_.O.Smoothing, mix);
            added = PriceAt(mix, own, residual, best, center) || added;
        }
        if (!added) {
            found.clear();
            const double least = ExactColumns(own, residual.Bounds, found);
            const double lower = LagrangeanBound(own, least, residual);
            if (lower > best || !centered) {
                best = std::max(best, lower);
                center = own;
                centered = true;
            }
            for (const Pattern& pattern : found) added = AddColumn(pattern) || added;
            if (!added && !greedy) {
                best = std::max(best, z);
                return finish(true);
            }
        }
        // A dive's branch can stop as soon as its bound passes the target.
        if (pruneAbove && std::isfinite(best) && in_.Costs.RoundUp(best) > *pruneAbove)
            return finish(false);
        if (std::isfinite(best) && in_.Costs.RoundUp(best) >= in_.Costs.RoundUp(z)) {
            Resolve(true);
            return finish(true);
        }
        Resolve(true);
    }
}

// Prices at `at`, keeping it as the centre when its bound is the best so far; adds the patterns
// that pay at the programme's own duals.
bool Master::PriceAt(const Duals& at, const Duals& own, const Residual& residual, double& best,
                     Duals& center) {
    std::vector<Pattern> found;
    const double least = ExactColumns(at, residual.Bounds, found);
    const double lower = LagrangeanBound(at, least, residual);
    if (lower > best) {
        best = lower;
        center = at;
    }
    bool added = false;
    for (const Pattern& pattern : found) {
        if (ReducedCost(pattern, own) < -Epsilon * in_.Costs.CostOf(pattern.Stock))
            added = AddColumn(pattern) || added;
    }
    return added;
}

// What the branches' rows give the bound from any duals, and the most a branch's shortfall
// column is worth per unit of its cost.
double Master::BranchWorth(const Duals& duals, double& perCost) const {
    const double penalty = restriction_.BranchSlots > 0 ? SlotPenalty() : 1.0;
    double worth = 0.0;
    for (std::size_t b = 0; b < branches_.size(); ++b) {
        const double mu = duals.Mu[b];
        worth += mu * (branches_[b].Lower > 0 ? branches_[b].Lower : branches_[b].Upper);
        if (branches_[b].Lower > 0) perCost = std::max(perCost, mu / penalty);
    }
    return worth;
}

// A lower bound on the programme from any duals, `least` being the least reduced cost per unit
// of stock length of any pattern at them. The plans that matter cost no more than the budget
// (the best plan, or the search's target), so they cost at least the duals' worth plus that
// much stock at `least`. Farley's bound is often higher: scaled down until no pattern and no
// uncut piece is worth more than it costs, the duals are feasible and their worth a bound.
double Master::LagrangeanBound(const Duals& duals, double least, const Residual& r) const {
    double worth = 0.0;
    for (int i = 0; i < in_.N; ++i) {
        worth +=
            duals.Pi[static_cast<std::size_t>(i)] * double(r.Demand[static_cast<std::size_t>(i)]);
    }
    double limits = 0.0;
    for (int j = 0; j < in_.M; ++j) {
        if (r.Available[static_cast<std::size_t>(j)] >= 0)
            limits += duals.Sigma[static_cast<std::size_t>(j)] *
                      double(r.Available[static_cast<std::size_t>(j)]);
    }
    // A piece left uncut costs its penalty instead, and so does a branch's shortfall.
    double shortage = 0.0;
    for (int i = 0; i < in_.N; ++i) {
        shortage += double(r.Bounds[static_cast<std::size_t>(i)]) *
                    std::min(0.0, in_.Costs.Penalty(i) - duals.Pi[static_cast<std::size_t>(i)]);
    }
    double perCost = 1.0 - least;
    const double branches = BranchWorth(duals, perCost);
    for (std::size_t b = 0; b < branches_.size(); ++b) {
        if (branches_[b].Lower > 0)
            shortage += branches_[b].Lower * std::min(0.0, SlotPenalty() - duals.Mu[b]);
    }
    const double most = Budget ? *Budget : incumbent_.Cost();
    const double budget = std::max(0.0, most - r.FixedCost);
    double lower =
        r.FixedCost + worth + limits + branches + shortage + budget * std::min(0.0, least);
    const bool farley = restriction_.ExactDemand || (in_.M == 1 && in_.StockAt(0).Available < 0);
    if (farley && least < 0.0) {
        // The most worth per unit of cost: of the best pattern, or of a piece left uncut.
        for (int i = 0; i < in_.N; ++i) {
            perCost =
                std::max(perCost, duals.Pi[static_cast<std::size_t>(i)] / in_.Costs.Penalty(i));
        }
        lower = std::max(lower, r.FixedCost + (worth + limits + branches) / perCost);
    }
    return lower;
}

}  // namespace tallora::csp
