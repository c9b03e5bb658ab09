#include "engine/optimal/Instance.h"

#include <algorithm>
#include <chrono>
#include <numeric>

namespace tallora::csp {

Instance::Instance(const Problem& problem, const Control& control, const SolverOptions& options)
    : P(problem),
      C(control),
      O(options),
      N(static_cast<int>(problem.Items.size())),
      M(static_cast<int>(problem.Stocks.size())),
      Costs(problem, options) {
    BySize.resize(static_cast<std::size_t>(N));
    std::iota(BySize.begin(), BySize.end(), 0);
    std::stable_sort(BySize.begin(), BySize.end(),
                     [this](int a, int b) { return ItemAt(a).Size > ItemAt(b).Size; });
}

bool Instance::TimedOut() const {
    return C.Deadline && std::chrono::steady_clock::now() >= *C.Deadline;
}

bool Instance::Stopped() const { return TimedOut() || (C.Cancelled && C.Cancelled()); }

double Instance::SecondsLeft(double seconds) const {
    if (!C.Deadline) return seconds;
    return std::min(
        seconds,
        std::chrono::duration<double>(*C.Deadline - std::chrono::steady_clock::now()).count());
}

}  // namespace tallora::csp
