#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// The cutting stock problem as the Optimal algorithm solves it: the fewest millimetres of stock
// that cut every piece asked for, with the lower bound that proves a plan can do no better.
// Offcut rows are already paid for: with some, the fewest millimetres of new stock come first and
// the fewest millimetres of offcuts second.
namespace tallora::csp {

struct Item {
    int Size = 0;    // with its kerf, in the job's scaled units
    int Demand = 0;  // pieces asked for
};

struct Stock {
    int Length = 0;       // usable length
    int Available = -1;   // bars; -1 unlimited
    bool Offcut = false;  // from the offcut inventory; counts only on a limited row
};

struct Problem {
    std::vector<Item> Items;
    std::vector<Stock> Stocks;
};

// One way to cut a bar: the pieces of each item (index into Problem::Items) it gives.
struct Pattern {
    int Stock = 0;
    std::vector<std::pair<int, int>> Pieces;  // (item, count), items in increasing order
    bool operator==(const Pattern&) const = default;
};

struct Plan {
    std::vector<std::pair<Pattern, int>> Patterns;  // with their bars
    long long Material = 0;                         // stock length used
    long long OffcutMaterial = 0;                   // of it, from offcut rows
    long long Unplaced = 0;                         // pieces no stock could take
    bool Empty() const { return Patterns.empty() && Unplaced == 0; }
};

// What the solver is told while it works.
struct Control {
    // When to stop at the latest; without one, each search stops after a bounded effort.
    std::optional<std::chrono::steady_clock::time_point> Deadline;
    std::function<bool()> Cancelled;  // the user asked to stop
    // A better plan was found, or the bound rose: material, bound (or -1 while there is none);
    // with offcut rows, of new stock.
    std::function<void(long long, double)> Progress;
    // The most nodes each search may visit: of a branch and bound, programmes a dive solves,
    // thousands of bars of the search bar by bar.
    // Set, it takes the place of the searches' own time allowances, so that without a Deadline
    // the result depends on the job alone and not on how fast the machine is.
    std::optional<long long> WorkLimit;
    // Plans known before the search, such as a quick heuristic's: the result is never worse
    // than the best of them. Pieces beyond the demand are left off; a plan whose bars do not
    // hold their pieces, or that takes more bars than a row has, is passed over.
    std::vector<Plan> StartPlans;
    // A slower heuristic's plan, asked for once by the plan search when its quick searches leave
    // the bound unmet, so that a long search is never worse than that heuristic; it gives up,
    // with nothing, once `stop` says so.
    std::function<std::optional<Plan>(const std::function<bool()>& stop)> SlowPlan;
    // Two or more: the plan search and the bound's search run side by side on two cores; one:
    // they take turns on one. A search that ends proven gives the same plan either way.
    unsigned Threads = std::thread::hardware_concurrency();
};

struct Result {
    Plan Best;
    // The linear programme's bound on the stock length, and the least material a plan can have
    // with it (the bound rounded up to a sum of stock lengths). Present only when every piece can
    // be cut, and only once the programme has been solved to the end.
    // With offcut rows both are bounds on the new stock, and OffcutBound is the least offcut
    // length a plan with RoundedBound of new stock can use; none when the offcuts are too many
    // to weigh exactly against new stock.
    std::optional<double> LowerBound;
    std::optional<long long> RoundedBound;
    std::optional<long long> OffcutBound;
    bool Proven = false;  // Best meets the bounds: no plan uses less stock (new, then offcuts)
    bool NewStockProven = false;  // Best meets RoundedBound: no plan uses less new stock
    bool TimedOut = false;
    bool Cancelled = false;
};

Result Solve(const Problem& problem, const Control& control);

// Whether a plan is one: every pattern fits its bar, no item is cut more often than asked, no
// stock row gives more bars than it has. An empty text when it is, else what is wrong.
std::string CheckPlan(const Problem& problem, const Plan& plan);

}  // namespace tallora::csp
