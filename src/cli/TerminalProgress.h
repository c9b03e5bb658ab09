#pragma once

#include <chrono>
#include <ostream>
#include <string>

#include "engine/CalculationObserver.h"

namespace tallora::cli {

// A calculation that runs for longer than two seconds shows its progress on a terminal, on one
// line that is rewritten and cleared at the end; without a terminal it shows nothing.
class TerminalProgress : public CalculationObserver {
public:
    using Clock = std::chrono::steady_clock;
    explicit TerminalProgress(std::ostream* terminal) : terminal_(terminal) {}
    ~TerminalProgress() override { Clear(); }
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void OnProgress(const CalculationProgress& progress) override;
    // Rubs the line out.
    void Clear();

private:
    std::ostream* terminal_;
    const Clock::time_point start_ = Clock::now();
    Clock::time_point lastShown_;
    std::string pieces_, search_;
    size_t shown_ = 0;
};

}  // namespace tallora::cli
