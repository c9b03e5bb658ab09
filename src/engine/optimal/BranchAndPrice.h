#pragma once

#include <map>
#include <memory>
#include <unordered_set>
#include <vector>

#include "engine/optimal/Master.h"

namespace tallora::csp {

// A search over the master programme for a plan of at most a target, depth first. Each node's
// programme is solved by column generation and left where its bound, rounded up to what a plan
// can use, passes the target; a node whose arcs all carry whole bars is a plan. It branches on
// the arcs of the arc-flow graph (a piece of an item at a position in a bar, pieces longest
// first), so that pricing stays a knapsack over lengths; the bars through an arc at least the
// next whole number above their fraction first, then at most the one below.
// The programme is narrowed to what a plan of the target can be: each item cut exactly as
// often as asked, and no bar wasting more than such a plan wastes in all.
class BranchAndPrice {
public:
    enum class Outcome { Found, Exhausted, Stopped };

    BranchAndPrice(const Instance& instance, Incumbent& incumbent);

    // Patterns to start each search from, besides those its searches found.
    void AddPatterns(const std::vector<Pattern>& patterns);
    // Found: the incumbent has a plan of at most `target`. Exhausted: there is none, and none
    // cheaper. Stopped: the time or `nodes` ran out, or the search could not go through every
    // branch.
    Outcome Search(long long target, long long nodes);
    long long Nodes() const { return nodes_; }  // in all searches

private:
    enum class Result { Plan, Pruned, Stop };
    Result Node(int depth);
    Result Branch(int depth, const std::map<Arc, double>& flows);
    std::map<Arc, double> Flows() const;
    // A plan of the same cost from arcs that all carry whole bars.
    bool Decompose(const std::map<Arc, double>& flows, Bars& plan) const;

    const Instance& in_;
    Incumbent& incumbent_;
    std::vector<Pattern> pool_;
    std::unordered_set<Pattern, PatternHash> pooled_;
    std::unique_ptr<Master> master_;
    long long target_ = 0;
    long long nodes_ = 0;
    long long nodeLimit_ = 0;
    bool incomplete_ = false;
};

}  // namespace tallora::csp
