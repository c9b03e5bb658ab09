#include "engine/optimal/Incumbent.h"

#include <utility>

#include "engine/optimal/LocalSearch.h"

namespace tallora::csp {

void Incumbent::Accept(Bars patterns, const std::vector<long long>& unplaced) {
    Plan plan;
    plan.Patterns = Restock(in_, std::move(patterns));
    for (const auto& [pattern, bars] : plan.Patterns) {
        const Stock& stock = in_.StockAt(pattern.Stock);
        plan.Material += static_cast<long long>(bars) * stock.Length;
        if (Charges::IsOffcut(stock))
            plan.OffcutMaterial += static_cast<long long>(bars) * stock.Length;
    }
    for (long long u : unplaced) plan.Unplaced += u;
    const double cost = in_.Costs.Cost(plan, unplaced);
    if (cost < bestCost_ - 0.5) {
        bestCharge_ = in_.Costs.Charge(plan);
        best_ = std::move(plan);
        bestCost_ = cost;
        in_.Shared.Offer(in_.Worker, in_.Done, best_, bestCost_, bestCharge_);
        Report();
    }
}

void Incumbent::Offer(Bars patterns) {
    std::vector<long long> left(static_cast<std::size_t>(in_.N));
    for (int i = 0; i < in_.N; ++i) left[static_cast<std::size_t>(i)] = in_.ItemAt(i).Demand;
    for (const auto& [pattern, bars] : patterns) {
        for (const auto& [item, count] : pattern.Pieces)
            left[static_cast<std::size_t>(item)] -= static_cast<long long>(count) * bars;
    }
    Accept(std::move(patterns), left);
}

void Incumbent::SetRootBound(double bound) {
    if (rootBound_ && *rootBound_ >= bound) return;
    rootBound_ = bound;
    in_.Shared.SetRootBound(bound);
}

void Incumbent::SetRounded(long long rounded) {
    if (rounded_ && *rounded_ >= rounded) return;
    rounded_ = rounded;
    in_.Shared.Raise(rounded);
}

bool Incumbent::Proven() const {
    return rounded_ && best_.Unplaced == 0 && bestCharge_ <= *rounded_;
}

bool Incumbent::NewStockAtBound() const {
    const long long weight = in_.Costs.Weight();
    return weight > 0 && rounded_ && best_.Unplaced == 0 &&
           NewMaterial(best_) <= *rounded_ / weight;
}

void Incumbent::Report() const { in_.Shared.Report(); }

}  // namespace tallora::csp
