#pragma once

#include <vector>

#include "engine/CuttingStockSolver.h"
#include "engine/optimal/Options.h"

namespace tallora::csp {

// What a bar of each stock row costs, and the least cost a plan can have that reaches a bound.
// Without offcut rows a bar costs its length. With them, new stock is weighed above all the
// offcuts there are together, so that the least cost is the least new stock first and the least
// offcut length second, each exact in whole numbers. Offcuts count in steps of their lengths'
// common divisor, which keeps the weight small; when the costs could still pass what a double
// holds exactly, offcuts are plain stock.
class Charges {
public:
    Charges(const Problem& problem, const SolverOptions& options);
    Charges(const Charges&) = delete;
    Charges& operator=(const Charges&) = delete;

    static bool IsOffcut(const Stock& s) { return s.Offcut && s.Available >= 0; }

    long long Of(int stock) const { return cost_[static_cast<std::size_t>(stock)]; }
    double CostOf(int stock) const { return double(Of(stock)); }
    double MaxCost() const { return double(maxCost_); }
    // What leaving a piece of the item uncut costs: far more than any stock.
    double Penalty(int item) const;
    // A plan's cost without its pieces left uncut, and with them.
    long long Charge(const Plan& plan) const;
    double Cost(const Plan& plan, const std::vector<long long>& unplaced) const;

    // The weight of new stock over offcuts; 0 without offcut rows weighed apart.
    long long Weight() const { return weight_; }
    long long OffcutStep() const { return offStep_; }
    long long OffcutTotal() const { return offcutTotal_; }
    // Some rows are offcuts, whether or not they could be weighed apart.
    bool OffcutRows() const { return offcutRows_; }

    // Which sums of bars the stock rows can give, found once there is a first plan: no better
    // plan uses more than a bar beyond it.
    void FindSums(const Plan& first);
    // The least stock length a plan can use that reaches `bound`: the least sum of bars the
    // stock rows can give, where those sums are known, else the next multiple of the lengths'
    // common divisor. With offcut rows, the least cost.
    long long RoundUp(double bound) const;
    // With offcut rows, the least cost of `total` of stock: the least new stock that, with
    // every offcut, reaches it, and then the least offcuts that make up the rest. A plan with
    // more new stock costs more than any offcuts.
    long long MaterialCharge(long long total) const;

private:
    enum class Rows { All, New, Offcuts };
    std::vector<bool> Sums(Rows rows, long long step, long long states) const;
    long long RoundUpCharge(double bound) const;
    static long long LeastSum(const std::vector<bool>& sums, long long step, double least);

    const Problem& p_;
    const SolverOptions& o_;
    int maxLength_ = 0;
    int minSize_ = 1;
    std::vector<long long> cost_;  // of a bar of each stock row
    long long maxCost_ = 0;
    long long weight_ = 0;
    long long offStep_ = 1;
    long long offcutTotal_ = 0;  // the length of every offcut bar together
    bool offcutRows_ = false;
    long long step_ = 1;      // the stock lengths' common divisor
    std::vector<bool> sums_;  // sums of bars, in steps; empty with one stock length
    // With offcut rows: sums_ is of new bars, offSums_ of offcut bars in offStep_.
    std::vector<bool> offSums_;
};

}  // namespace tallora::csp
