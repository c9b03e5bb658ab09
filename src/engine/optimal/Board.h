#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "engine/CuttingStockSolver.h"

namespace tallora::csp {

// What the workers of one search share: the plans each found, with the work it had done by
// then, the bound each proved, and when to stop. Each worker's search depends on nothing the
// other does, only its stopping does; once the bound is met, a worker stops when it has a plan
// at the bound or has done more work than the plan at the bound that took the least work. That
// plan is the result, whatever the order the workers ran in: the same plan for the same job
// and thread count whenever the search ends proven.
class Board {
public:
    // With `sequential`, the workers take turns on one core instead of running side by side.
    Board(const Control& control, long long weight, int workers, bool sequential);

    // A worker's better plan, at its cost (pieces left uncut included) and charge (without).
    void Offer(int worker, long long work, const Plan& plan, double cost, long long charge);
    // A bound a worker proved: no plan costs less than `rounded`.
    void Raise(long long rounded);
    void SetRootBound(double bound);
    // The workers start: what was found before comes before any work of theirs.
    void Fork();

    // Whether the worker stops: the user or the time stopped the search, or the plan at the
    // bound is known and the worker can add nothing to it. On the calling thread it asks
    // whether the user cancelled, which only that thread may.
    bool Stop(int worker, long long work);
    // Taking turns: the worker has done its share for now.
    void Turn(int worker);
    // A held worker waits at its start and at its turns until it is let go, the search ends or a
    // worker finishes: another search needs its core for a while. Waiting changes only when a
    // worker's plans come, never which.
    void Hold(int worker, bool held);
    void Begin(int worker);
    void Finish(int worker);
    // The calling thread waits for the workers, telling the caller what changed.
    void Watch(const std::vector<std::thread*>& threads);
    // Tells the caller where the search stands, if that changed; only on the calling thread.
    void Report();

    // Everyone stops: the user cancelled, the time is up, or a worker failed.
    void Halt();

    // The result: the cheapest plan, of the least work among equals, then the lowest worker.
    Plan Best() const;
    long long BestCharge() const;
    std::optional<long long> Bound() const;
    std::optional<double> RootBound() const;
    bool Proven() const;
    bool Cancelled() const { return cancelled_; }

private:
    struct Entry {
        bool Found = false;
        Plan Best;
        double Cost = 0.0;
        long long Charge = 0;
        long long Work = 0;  // when it was found
    };
    const Entry* Leader() const;
    void WaitWhileHeld(int worker, std::unique_lock<std::mutex>& lock);
    bool ProvenLocked() const;

    const Control& c_;
    const long long weight_;
    const bool sequential_;
    const std::thread::id caller_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Entry> entries_;
    std::vector<bool> started_;
    std::vector<bool> finished_;
    std::vector<bool> held_;
    std::optional<long long> bound_;
    std::optional<double> root_;
    std::atomic<bool> proven_{false};
    std::atomic<bool> halted_{false};
    bool cancelled_ = false;
    bool dirty_ = false;
    int turn_ = 0;
};

}  // namespace tallora::csp
