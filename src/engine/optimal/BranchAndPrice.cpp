#include "engine/optimal/BranchAndPrice.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tallora::csp {

namespace {

// Branches deeper than this are not taken: the search then says it could not finish.
constexpr int MaxDepth = 500;
// Flows closer to a whole number than this are whole.
constexpr double Whole = 1e-6;

}  // namespace

BranchAndPrice::BranchAndPrice(const Instance& instance, Incumbent& incumbent)
    : in_(instance), incumbent_(incumbent) {}

void BranchAndPrice::AddPatterns(const std::vector<Pattern>& patterns) {
    for (const Pattern& p : patterns) {
        if (pooled_.insert(p).second) pool_.push_back(p);
    }
}

BranchAndPrice::Outcome BranchAndPrice::Search(long long target, long long nodes) {
    Restriction restriction;
    restriction.ExactDemand = true;
    restriction.BranchSlots = MaxDepth;
    if (in_.Costs.Weight() == 0) {
        long long total = 0;
        for (const Item& item : in_.P.Items)
            total += static_cast<long long>(item.Size) * item.Demand;
        restriction.MaxWaste = target - total;
        if (restriction.MaxWaste < 0) return Outcome::Exhausted;
    }
    master_ = std::make_unique<Master>(in_, incumbent_, restriction);
    master_->Budget = double(target);
    master_->Build(pool_);
    target_ = target;
    // No limit comes as the largest count: the sum must not overflow.
    nodeLimit_ = nodes > std::numeric_limits<long long>::max() - nodes_
                     ? std::numeric_limits<long long>::max()
                     : nodes_ + nodes;
    incomplete_ = false;
    const Result result = master_->Solved() ? Node(0) : Result::Stop;
    AddPatterns(master_->Columns());
    master_.reset();
    if (result == Result::Plan) return Outcome::Found;
    if (result == Result::Stop || incomplete_) return Outcome::Stopped;
    return Outcome::Exhausted;
}

BranchAndPrice::Result BranchAndPrice::Node(int depth) {
    if (in_.Stopped() || nodes_ >= nodeLimit_) return Result::Stop;
    ++nodes_;
    double bound = -std::numeric_limits<double>::infinity();
    const bool converged =
        master_->ColumnGeneration(true, &bound, std::numeric_limits<int>::max(), target_);
    if (std::isfinite(bound) && in_.Costs.RoundUp(bound) > target_) return Result::Pruned;
    if (in_.Stopped()) return Result::Stop;
    if (!converged || !master_->Solved()) {
        // A programme that could not be solved proves nothing about its branch.
        incomplete_ = true;
        return Result::Pruned;
    }
    if (in_.Costs.RoundUp(master_->Objective()) > target_) return Result::Pruned;
    const std::map<Arc, double> flows = Flows();
    Bars plan;
    if (Decompose(flows, plan)) {
        incumbent_.Offer(std::move(plan));
        if (incumbent_.Best().Unplaced == 0 && incumbent_.Charge() <= target_) return Result::Plan;
    }
    return Branch(depth, flows);
}

// On the arc whose bars are furthest from a whole number: first at least the next whole number,
// then at most the one below.
BranchAndPrice::Result BranchAndPrice::Branch(int depth, const std::map<Arc, double>& flows) {
    const std::map<Arc, double>::value_type* chosen = nullptr;
    double furthest = Whole;
    for (const auto& entry : flows) {
        const double part = entry.second - std::floor(entry.second);
        const double distance = std::min(part, 1.0 - part);
        if (distance > furthest) {
            furthest = distance;
            chosen = &entry;
        }
    }
    if (chosen == nullptr || depth >= MaxDepth) {
        // Whole arcs that give no plan, or too deep: nothing proven below.
        incomplete_ = true;
        return Result::Pruned;
    }
    const Arc arc = chosen->first;
    const double flow = chosen->second;
    const double up[2][2] = {{std::ceil(flow), COIN_DBL_MAX}, {-COIN_DBL_MAX, std::floor(flow)}};
    for (const auto& [lower, upper] : up) {
        if (!master_->PushBranch(arc, lower, upper)) {
            incomplete_ = true;
            return Result::Pruned;
        }
        master_->Resolve(false);
        const Result result = Node(depth + 1);
        master_->PopBranch();
        if (result != Result::Pruned) return result;
    }
    return Result::Pruned;
}

std::map<Arc, double> BranchAndPrice::Flows() const {
    std::map<Arc, double> flows;
    std::vector<int> sizes;
    for (const Item& item : in_.P.Items) sizes.push_back(item.Size);
    const std::vector<Pattern>& columns = master_->Columns();
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const double level = master_->Level(k);
        if (level <= Whole) continue;
        ForEachArc(sizes, columns[k].Stock, columns[k].Pieces,
                   [&](const Arc& arc) { flows[arc] += level; });
    }
    return flows;
}

// Path by path from the start of a bar: each ends where more bars arrive at a position than
// leave it along arcs, else follows an arc that still carries bars.
bool BranchAndPrice::Decompose(const std::map<Arc, double>& flows, Bars& plan) const {
    std::map<Arc, long long> left;
    for (const auto& [arc, flow] : flows) {
        const double whole = std::round(flow);
        if (std::fabs(flow - whole) > Whole) return false;
        if (whole > 0) left[arc] = static_cast<long long>(whole);
    }
    std::map<std::pair<int, int>, long long> ends;  // (stock, position): paths that end there
    std::map<int, long long> paths;                 // by stock: paths from the start
    for (const auto& [arc, count] : left) {
        const int to = arc.Position + in_.ItemAt(arc.Item).Size;
        ends[{arc.Stock, to}] += count;
        if (arc.Position == 0)
            paths[arc.Stock] += count;
        else
            ends[{arc.Stock, arc.Position}] -= count;
    }
    for (const auto& [at, count] : ends) {
        if (count < 0) return false;
    }
    for (const auto& [stock, count] : paths) {
        for (long long p = 0; p < count; ++p) {
            std::vector<int> counts(static_cast<std::size_t>(in_.N), 0);
            int at = 0;
            while (at == 0 || ends[{stock, at}] == 0) {
                auto next = left.lower_bound(Arc{stock, at, 0});
                while (next != left.end() && next->first.Stock == stock &&
                       next->first.Position == at && next->second == 0)
                    ++next;
                if (next == left.end() || next->first.Stock != stock || next->first.Position != at)
                    return false;
                --next->second;
                ++counts[static_cast<std::size_t>(next->first.Item)];
                at += in_.ItemAt(next->first.Item).Size;
            }
            --ends[{stock, at}];
            plan.push_back({MakePattern(stock, counts), 1});
        }
    }
    plan = Merge(plan);
    return true;
}

}  // namespace tallora::csp
