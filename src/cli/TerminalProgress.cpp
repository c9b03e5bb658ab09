#include "cli/TerminalProgress.h"

#include <algorithm>

#include "results/ProgressText.h"

namespace tallora::cli {

void TerminalProgress::OnProgress(const CalculationProgress& progress) {
    if (progress.Phase == CalculationPhase::Finished) return Clear();
    pieces_ = AllocatedLine(progress) + ", " + RemainingLine(progress);
    search_ = SearchLine(progress);
    const auto now = Clock::now();
    if (terminal_ == nullptr || now - start_ < std::chrono::seconds(2) ||
        now - lastShown_ < std::chrono::milliseconds(250)) {
        return;
    }
    lastShown_ = now;
    const std::string line = "tallora-cli: " + pieces_ + (search_.empty() ? "" : ", " + search_);
    *terminal_ << "\r" << line << std::string(shown_ > line.size() ? shown_ - line.size() : 0, ' ')
               << std::flush;
    shown_ = std::max(shown_, line.size());
}

void TerminalProgress::Clear() {
    if (shown_ == 0) return;
    *terminal_ << "\r" << std::string(shown_, ' ') << "\r" << std::flush;
    shown_ = 0;
}

}  // namespace tallora::cli
