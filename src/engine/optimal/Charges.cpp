#include "engine/optimal/Charges.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/optimal/Patterns.h"

namespace tallora::csp {

Charges::Charges(const Problem& problem, const SolverOptions& options) : p_(problem), o_(options) {
    for (const Stock& s : p_.Stocks) maxLength_ = std::max(maxLength_, s.Length);
    const std::size_t m = p_.Stocks.size();
    cost_.assign(m, 0);
    for (std::size_t j = 0; j < m; ++j) cost_[j] = p_.Stocks[j].Length;
    maxCost_ = maxLength_;
    minSize_ = std::numeric_limits<int>::max();
    for (const Item& item : p_.Items) minSize_ = std::min(minSize_, item.Size);
    long long step = 0;
    long long total = 0;
    for (const Stock& s : p_.Stocks) {
        if (IsOffcut(s)) {
            step = Gcd(step, s.Length);
            total += static_cast<long long>(s.Length) * s.Available;
        }
    }
    if (total <= 0) return;
    offcutRows_ = true;
    long long pieces = 0;
    for (const Item& item : p_.Items) pieces += item.Demand;
    const long long weight = total / step + 1;
    // No plan worth having uses more than a bar a piece.
    const long double most = static_cast<long double>(weight) * maxLength_ * (pieces + 1);
    if (most > static_cast<long double>(1LL << 50)) return;
    weight_ = weight;
    offStep_ = step;
    offcutTotal_ = total;
    for (std::size_t j = 0; j < m; ++j) {
        const Stock& s = p_.Stocks[j];
        cost_[j] = IsOffcut(s) ? s.Length / step : s.Length * weight;
        maxCost_ = std::max(maxCost_, cost_[j]);
    }
}

double Charges::Penalty(int item) const {
    return 2.0 * MaxCost() *
           std::ceil(double(p_.Items[static_cast<std::size_t>(item)].Size) / double(minSize_));
}

long long Charges::Charge(const Plan& plan) const {
    long long charge = 0;
    for (const auto& [pattern, bars] : plan.Patterns)
        charge += static_cast<long long>(bars) * Of(pattern.Stock);
    return charge;
}

double Charges::Cost(const Plan& plan, const std::vector<long long>& unplaced) const {
    double cost = static_cast<double>(Charge(plan));
    for (std::size_t i = 0; i < unplaced.size(); ++i)
        cost += Penalty(static_cast<int>(i)) * double(unplaced[i]);
    return cost;
}

long long Charges::RoundUp(double bound) const {
    if (weight_ > 0) return RoundUpCharge(bound);
    const double steps = std::ceil(bound / static_cast<double>(step_) - 1e-6);
    long long at = std::max(0LL, static_cast<long long>(steps));
    while (at < static_cast<long long>(sums_.size()) && !sums_[static_cast<std::size_t>(at)]) ++at;
    return at * step_;
}

void Charges::FindSums(const Plan& first) {
    step_ = 0;
    if (weight_ > 0) {
        // New bars in steps of their lengths' common divisor up to a bar beyond the first
        // plan's new stock; offcut bars in offStep_, all of them.
        int longest = 0;
        for (const Stock& s : p_.Stocks) {
            if (s.Available == 0 || IsOffcut(s)) continue;
            step_ = Gcd(step_, s.Length);
            longest = std::max(longest, s.Length);
        }
        if (step_ <= 0) step_ = 1;
        const long long fresh = first.Material - first.OffcutMaterial;
        sums_ = Sums(Rows::New, step_, fresh / step_ + longest / step_ + 1);
        offSums_ = Sums(Rows::Offcuts, offStep_, offcutTotal_ / offStep_ + 1);
        return;
    }
    for (const Stock& s : p_.Stocks) {
        if (s.Available != 0) step_ = Gcd(step_, s.Length);
    }
    if (step_ <= 0) step_ = 1;
    sums_.clear();
    const long long states = first.Material / step_ + maxLength_ / step_ + 1;
    if (p_.Stocks.size() == 1) return;
    sums_ = Sums(Rows::All, step_, states);
}

// Which sums of bars the rows can give, in steps; nothing when there are too many states.
std::vector<bool> Charges::Sums(Rows rows, long long step, long long states) const {
    std::vector<bool> sums;
    if (states > o_.MaxSumStates) return sums;
    sums.assign(static_cast<std::size_t>(states), false);
    sums[0] = true;
    for (const Stock& s : p_.Stocks) {
        if (s.Available == 0) continue;
        if (rows != Rows::All && IsOffcut(s) != (rows == Rows::Offcuts)) continue;
        const std::size_t length = static_cast<std::size_t>(s.Length / step);
        if (s.Available < 0) {
            for (std::size_t at = length; at < sums.size(); ++at) {
                if (sums[at - length]) sums[at] = true;
            }
            continue;
        }
        // Bounded: in chunks of 1, 2, 4... bars.
        long long left = s.Available;
        for (long long part = 1; left > 0; part *= 2) {
            const long long take = std::min(part, left);
            left -= take;
            const std::size_t shift = static_cast<std::size_t>(take) * length;
            if (shift >= sums.size()) continue;
            for (std::size_t at = sums.size(); at-- > shift;) {
                if (sums[at - shift]) sums[at] = true;
            }
        }
    }
    return sums;
}

// The least cost a plan with offcut rows can have that reaches `bound`: the least new stock
// that reaches it with every offcut, then the least offcuts that make up the rest.
long long Charges::RoundUpCharge(double bound) const {
    bound -= 1e-6 + 1e-12 * std::fabs(bound);
    const long long offcuts = offcutTotal_ / offStep_;
    const long long fresh = LeastSum(sums_, step_, (bound - double(offcuts)) / double(weight_));
    const double rest = bound - double(fresh) * double(weight_);
    if (rest <= 0) return fresh * weight_;
    const long long off = LeastSum(offSums_, 1, rest);
    if (off <= offcuts) return fresh * weight_ + off;
    return LeastSum(sums_, step_, double(fresh + 1)) * weight_;
}

long long Charges::MaterialCharge(long long total) const {
    const long long offcuts = offcutTotal_ / offStep_;
    const long long fresh = LeastSum(sums_, step_, double(std::max(0LL, total - offcutTotal_)));
    const long long rest = std::max(0LL, total - fresh);
    const long long off = LeastSum(offSums_, 1, double(rest) / double(offStep_));
    if (off <= offcuts) return fresh * weight_ + off;
    return LeastSum(sums_, step_, double(fresh + 1)) * weight_;
}

// The least sum of at least `least` the rows can give, where the sums are known; else the next
// multiple of the step.
long long Charges::LeastSum(const std::vector<bool>& sums, long long step, double least) {
    const double steps = std::ceil(least / double(step) - 1e-9);
    long long at = std::max(0LL, static_cast<long long>(steps));
    while (at < static_cast<long long>(sums.size()) && !sums[static_cast<std::size_t>(at)]) ++at;
    return at * step;
}

}  // namespace tallora::csp
