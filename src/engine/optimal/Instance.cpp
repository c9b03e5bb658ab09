#include "engine/optimal/Instance.h"

#include <algorithm>
#include <chrono>
#include <numeric>

namespace tallora::csp {

Instance::Instance(const Problem& problem, const Control& control, const SolverOptions& options,
                   const Charges& costs, Board& board, int worker)
    : P(problem),
      C(control),
      O(options),
      N(static_cast<int>(problem.Items.size())),
      M(static_cast<int>(problem.Stocks.size())),
      Costs(costs),
      Shared(board),
      Worker(worker) {
    BySize.resize(static_cast<std::size_t>(N));
    std::iota(BySize.begin(), BySize.end(), 0);
    std::stable_sort(BySize.begin(), BySize.end(),
                     [this](int a, int b) { return ItemAt(a).Size > ItemAt(b).Size; });
}

void Instance::Work(long long units) const {
    const long long before = Done;
    Done += units;
    if (before / O.TurnWork != Done / O.TurnWork) Shared.Turn(Worker);
}

bool Instance::TimedOut() const {
    return C.Deadline && std::chrono::steady_clock::now() >= *C.Deadline;
}

bool Instance::Stopped() const { return TimedOut() || Shared.Stop(Worker, Done); }

double Instance::SecondsLeft(double seconds) const {
    if (!C.Deadline) return seconds;
    return std::min(
        seconds,
        std::chrono::duration<double>(*C.Deadline - std::chrono::steady_clock::now()).count());
}

}  // namespace tallora::csp
