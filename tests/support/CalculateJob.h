#pragma once

#include "commands/Calculate.h"
#include "support/TestJob.h"

namespace tallora::testing {

// Calculates the job as both programs do (prices as shown, no switch to Fast) and puts the
// result into it; what the calculation gave, for its statistics and outcome.
inline CalculatedJob CalculateAsTheProgramsDo(TestJob& job,
                                              Algorithm algorithm = Algorithm::Complex) {
    job.Input = PrepareCalculation(job.Input, algorithm, nullptr, NumberFormat::UK(),
                                   [](const std::string&) { return false; });
    CalculationObserver quiet;
    CalculatedJob done = CalculateJob(job.Input, {algorithm, {}}, quiet, NumberFormat::UK());
    if (done.Outcome.Completed || done.Outcome.ResultsCleared) job.Result = done.Outcome.Result;
    return done;
}

}  // namespace tallora::testing
