// Engine benchmarks. Peak memory is reported as the process's maximum resident set size.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <random>

#include "engine/Calculation.h"

namespace {

using tallora::Algorithm;
using tallora::JobInput;

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Cut rows of 2 to 30 pieces, 200 to 3000 mm, on unlimited stock, kerf 3, trim 25.
JobInput RandomJob(int cutRows, std::vector<int> stockLengths, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> length(200, 3000);
    std::uniform_int_distribution<int> quantity(2, 30);
    JobInput job;
    job.Allowances.Kerf = 3;
    job.Allowances.Trim = 25;
    job.Allowances.Hold = 0;
    for (int stock : stockLengths) job.StockRows.push_back({"*", std::to_string(stock)});
    std::vector<int> used;
    while (static_cast<int>(job.CutRows.size()) < cutRows) {
        const int l = length(random);
        if (std::find(used.begin(), used.end(), l) != used.end()) continue;
        used.push_back(l);
        job.CutRows.push_back({std::to_string(quantity(random)), std::to_string(l)});
    }
    return job;
}

void Calculate(benchmark::State& state, Algorithm chosen, int cutRows, std::vector<int> stock) {
    const JobInput input = RandomJob(cutRows, stock, 20261206u);
    int bars = 0;
    int permutations = 0;
    for (auto _ : state) {
        tallora::CalculationObserver quiet;
        const auto outcome = tallora::Calculate(input, {chosen, {}}, quiet);
        benchmark::DoNotOptimize(outcome.Result.Patterns.data());
        bars = 0;
        for (const auto& p : outcome.Result.Patterns) bars += p.BarCount;
        permutations = outcome.Permutations;
    }
    state.counters["bars"] = bars;
    state.counters["iterations"] = permutations - 1;
    state.counters["peak_MB"] = PeakMegabytes();
}

void BM_Complex40Rows(benchmark::State& state) {
    Calculate(state, Algorithm::Complex, 40, {6000, 9000, 12000});
}
BENCHMARK(BM_Complex40Rows)->Unit(benchmark::kMillisecond)->Iterations(3);

// Many stock lengths: one knapsack table of the longest answers for them all.
void BM_Complex40RowsOn100StockLengths(benchmark::State& state) {
    std::vector<int> stock;
    for (int i = 0; i < 100; ++i) stock.push_back(3000 + 97 * i);
    Calculate(state, Algorithm::Complex, 40, stock);
}
BENCHMARK(BM_Complex40RowsOn100StockLengths)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Fast1000Rows(benchmark::State& state) {
    Calculate(state, Algorithm::Fast, 1000, {6000, 9000, 12000});
}
BENCHMARK(BM_Fast1000Rows)->Unit(benchmark::kMillisecond)->Iterations(3);

// Memory of a large Complex job (run on its own: --benchmark_filter=Complex200).
void BM_Complex200Rows(benchmark::State& state) {
    Calculate(state, Algorithm::Complex, 200, {6000, 9000, 12000});
}
BENCHMARK(BM_Complex200Rows)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
