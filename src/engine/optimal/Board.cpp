#include "engine/optimal/Board.h"

#include <algorithm>

#include <chrono>

namespace tallora::csp {

namespace {

// How often the calling thread looks at the user and tells the caller how the search stands.
constexpr std::chrono::milliseconds WatchEvery(20);

}  // namespace

Board::Board(const Control& control, long long weight, int workers, bool sequential)
    : c_(control),
      weight_(weight),
      sequential_(sequential),
      caller_(std::this_thread::get_id()),
      entries_(static_cast<std::size_t>(workers)),
      started_(static_cast<std::size_t>(workers), false),
      finished_(static_cast<std::size_t>(workers), false),
      held_(static_cast<std::size_t>(workers), false) {}

void Board::Offer(int worker, long long work, const Plan& plan, double cost, long long charge) {
    std::lock_guard lock(mutex_);
    Entry& entry = entries_[static_cast<std::size_t>(worker)];
    if (entry.Found && cost >= entry.Cost - 0.5) return;
    entry = {true, plan, cost, charge, work};
    proven_ = ProvenLocked();
    dirty_ = true;
    if (proven_) changed_.notify_all();
}

void Board::Raise(long long rounded) {
    std::lock_guard lock(mutex_);
    if (bound_ && *bound_ >= rounded) return;
    bound_ = rounded;
    proven_ = ProvenLocked();
    dirty_ = true;
    if (proven_) changed_.notify_all();
}

void Board::SetRootBound(double bound) {
    std::lock_guard lock(mutex_);
    if (!root_ || *root_ < bound) root_ = bound;
}

void Board::Fork() {
    std::lock_guard lock(mutex_);
    for (Entry& entry : entries_) entry.Work = -1;
}

// The cheapest plan, the one found with the least work among equals, the lowest worker's
// among those.
const Board::Entry* Board::Leader() const {
    const Entry* leader = nullptr;
    for (const Entry& entry : entries_) {
        if (!entry.Found) continue;
        if (leader == nullptr || entry.Cost < leader->Cost - 0.5 ||
            (entry.Cost <= leader->Cost + 0.5 && entry.Work < leader->Work))
            leader = &entry;
    }
    return leader;
}

bool Board::ProvenLocked() const {
    const Entry* leader = Leader();
    return bound_ && leader != nullptr && leader->Best.Unplaced == 0 && leader->Charge <= *bound_;
}

void Board::Halt() {
    halted_ = true;
    std::lock_guard lock(mutex_);
    changed_.notify_all();
}

bool Board::Stop(int worker, long long work) {
    if (std::this_thread::get_id() == caller_) {
        if (c_.Cancelled && c_.Cancelled()) {
            cancelled_ = true;
            Halt();
        }
        Report();
    }
    if (halted_) return true;
    if (!proven_) return false;
    std::lock_guard lock(mutex_);
    const Entry& own = entries_[static_cast<std::size_t>(worker)];
    if (own.Found && own.Best.Unplaced == 0 && own.Charge <= *bound_) return true;
    const Entry* leader = Leader();
    const int first = static_cast<int>(leader - entries_.data());
    return work > leader->Work || (work == leader->Work && worker > first);
}

void Board::Hold(int worker, bool held) {
    std::lock_guard lock(mutex_);
    held_[static_cast<std::size_t>(worker)] = held;
    changed_.notify_all();
}

void Board::WaitWhileHeld(int worker, std::unique_lock<std::mutex>& lock) {
    changed_.wait(lock,
                  [&] { return !held_[static_cast<std::size_t>(worker)] || halted_ || proven_; });
}

void Board::Begin(int worker) {
    std::unique_lock lock(mutex_);
    started_[static_cast<std::size_t>(worker)] = true;
    WaitWhileHeld(worker, lock);
    if (sequential_) changed_.wait(lock, [&] { return turn_ == worker || halted_; });
}

void Board::Turn(int worker) {
    std::unique_lock lock(mutex_);
    WaitWhileHeld(worker, lock);
    if (!sequential_) return;
    const int other = 1 - worker;
    // Before the workers start (the first plan and the bound), and once the other is done,
    // there is nobody to take turns with.
    if (!started_[static_cast<std::size_t>(worker)] || !started_[static_cast<std::size_t>(other)] ||
        finished_[static_cast<std::size_t>(other)])
        return;
    turn_ = other;
    changed_.notify_all();
    changed_.wait(lock, [&] { return turn_ == worker || halted_; });
}

void Board::Finish(int worker) {
    std::lock_guard lock(mutex_);
    finished_[static_cast<std::size_t>(worker)] = true;
    // Nobody needs the core it held another off now.
    std::fill(held_.begin(), held_.end(), false);
    if (sequential_ && turn_ == worker) turn_ = 1 - worker;
    changed_.notify_all();
}

void Board::Watch(const std::vector<std::thread*>& threads) {
    std::unique_lock lock(mutex_);
    const auto deadline = c_.Deadline;
    for (;;) {
        bool all = true;
        for (bool f : finished_) all = all && f;
        if (all) break;
        changed_.wait_for(lock, WatchEvery);
        lock.unlock();
        if (!halted_ && c_.Cancelled && c_.Cancelled()) {
            cancelled_ = true;
            Halt();
        }
        if (deadline && std::chrono::steady_clock::now() >= *deadline) Halt();
        Report();
        lock.lock();
    }
    lock.unlock();
    for (std::thread* t : threads) t->join();
    Report();
}

void Board::Report() {
    if (!c_.Progress || std::this_thread::get_id() != caller_) return;
    long long material = 0;
    double bound = -1.0;
    {
        std::lock_guard lock(mutex_);
        if (!dirty_) return;
        dirty_ = false;
        const Entry* leader = Leader();
        if (leader == nullptr) return;
        material = leader->Best.Material;
        if (weight_ > 0) material -= leader->Best.OffcutMaterial;
        if (bound_) bound = double(weight_ > 0 ? *bound_ / weight_ : *bound_);
    }
    c_.Progress(material, bound);
}

Plan Board::Best() const {
    std::lock_guard lock(mutex_);
    const Entry* leader = Leader();
    return leader != nullptr ? leader->Best : Plan{};
}

long long Board::BestCharge() const {
    std::lock_guard lock(mutex_);
    const Entry* leader = Leader();
    return leader != nullptr ? leader->Charge : 0;
}

std::optional<long long> Board::Bound() const {
    std::lock_guard lock(mutex_);
    return bound_;
}

std::optional<double> Board::RootBound() const {
    std::lock_guard lock(mutex_);
    return root_;
}

bool Board::Proven() const { return proven_; }

}  // namespace tallora::csp
