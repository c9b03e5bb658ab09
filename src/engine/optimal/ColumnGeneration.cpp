#include <chrono>
#include <cmath>
#include <limits>

#include "engine/optimal/Master.h"

namespace tallora::csp {

// Stops early once the best bound, rounded up to what a plan can use, meets the programme's
// own value rounded up: more columns cannot change the rounded bound then.
// Patterns are priced with the pieces the fixed bars leave: no plan needs more of an item.
// The duals are smoothed towards those of the best bound so far, which takes far fewer rounds
// than pricing at the programme's own duals, whose values jump about.
bool Master::ColumnGeneration(bool exact, double* bound, int rounds,
                              std::optional<long long> pruneAbove) {
    const Residual residual = ResidualJob();
    const double smoothing = in_.O.Smoothing;
    double best = -std::numeric_limits<double>::infinity();
    std::vector<double> pi, sigma, centerPi, centerSigma, mixPi, mixSigma, reduced;
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
        Duals(pi, sigma);
        const double z = lp_.objectiveValue();
        found = GreedyColumns(pi, sigma, residual.Bounds);
        bool added = false;
        for (const Pattern& pattern : found) added = AddColumn(pattern) || added;
        if (!exact) {
            if (!added) return finish(false);
            Resolve(true);
            continue;
        }
        // Priced first at the smoothed duals: their patterns count when they pay at the
        // programme's own.
        if (!centerPi.empty()) {
            mixPi.resize(pi.size());
            mixSigma.resize(sigma.size());
            for (std::size_t i = 0; i < pi.size(); ++i)
                mixPi[i] = smoothing * centerPi[i] + (1 - smoothing) * pi[i];
            for (std::size_t j = 0; j < sigma.size(); ++j)
                mixSigma[j] = smoothing * centerSigma[j] + (1 - smoothing) * sigma[j];
            found.clear();
            const double least = ExactColumns(mixPi, mixSigma, residual.Bounds, found, reduced);
            const double lower = LagrangeanBound(mixPi, mixSigma, least, residual);
            if (lower > best) {
                best = lower;
                centerPi = mixPi;
                centerSigma = mixSigma;
            }
            for (const Pattern& pattern : found) {
                if (ReducedCost(pattern, pi, sigma) < -Epsilon * in_.Costs.CostOf(pattern.Stock))
                    added = AddColumn(pattern) || added;
            }
        }
        if (!added) {
            found.clear();
            const double least = ExactColumns(pi, sigma, residual.Bounds, found, reduced);
            const double lower = LagrangeanBound(pi, sigma, least, residual);
            if (lower > best || centerPi.empty()) {
                best = std::max(best, lower);
                centerPi = pi;
                centerSigma = sigma;
            }
            for (const Pattern& pattern : found) added = AddColumn(pattern) || added;
            if (!added) {
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

// A lower bound on the programme from any duals, `least` being the least reduced cost per unit
// of stock length of any pattern at them. The plans that matter use no more stock than the best
// plan, so they cost at least the duals' worth plus that much stock at `least`.
// With one stock length and no limits, Farley's bound is often higher: no bar is worth more
// than the best pattern, so the pieces' worth needs at least that many bars.
double Master::LagrangeanBound(const std::vector<double>& pi, const std::vector<double>& sigma,
                               double least, const Residual& r) const {
    double worth = 0.0;
    for (int i = 0; i < in_.N; ++i)
        worth += pi[static_cast<std::size_t>(i)] * double(r.Demand[static_cast<std::size_t>(i)]);
    double limits = 0.0;
    for (int j = 0; j < in_.M; ++j) {
        if (r.Available[static_cast<std::size_t>(j)] >= 0)
            limits += sigma[static_cast<std::size_t>(j)] *
                      double(r.Available[static_cast<std::size_t>(j)]);
    }
    // A piece left uncut costs its penalty instead.
    double shortage = 0.0;
    for (int i = 0; i < in_.N; ++i) {
        shortage += double(r.Bounds[static_cast<std::size_t>(i)]) *
                    std::min(0.0, in_.Costs.Penalty(i) - pi[static_cast<std::size_t>(i)]);
    }
    const double budget = std::max(0.0, incumbent_.Cost() - r.FixedCost);
    double lower = r.FixedCost + worth + limits + shortage + budget * std::min(0.0, least);
    if (in_.M == 1 && in_.StockAt(0).Available < 0 && least < 0.0) {
        // The most worth per unit of cost: of the best pattern, or of a piece left uncut.
        double perCost = 1.0 - least;
        for (int i = 0; i < in_.N; ++i)
            perCost = std::max(perCost, pi[static_cast<std::size_t>(i)] / in_.Costs.Penalty(i));
        lower = std::max(lower, r.FixedCost + worth / perCost);
    }
    return lower;
}

}  // namespace tallora::csp
