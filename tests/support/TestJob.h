#pragma once

#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "results/Statistics.h"

namespace tallora {

// A job as the tests build it: what was entered, and what a calculation gave or a file held.
struct TestJob {
    JobInput Input;
    CalculationResult Result;
};

namespace testing {

// The statistics of the job's result, its allowances applied first as the front ends do.
inline Statistics StatsOf(TestJob& job) {
    ApplyAllowances(job.Input.Allowances, job.Result);
    return CompileStats(job.Input, job.Result);
}

}  // namespace testing
}  // namespace tallora
