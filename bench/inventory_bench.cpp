// Offcut inventory benchmarks on a file of 100,000 offcuts, on disk in the system's temporary
// folder as a real inventory is (WAL, a sync at each commit).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "inventory/Booking.h"
#include "inventory/OffcutStore.h"

namespace {

using namespace tallora;

constexpr int StoredOffcuts = 100000;

std::string Section(int i) { return "IPE " + std::to_string(100 + 20 * i); }

void RemoveInventory(const std::string& path) {
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
}

// The inventory file of a benchmark, removed with its journal when the benchmark ends.
struct BenchInventory {
    std::string Path;
    ~BenchInventory() { RemoveInventory(Path); }
};

std::string InventoryPath(int sections) {
    return (std::filesystem::temp_directory_path() /
            ("tallora-bench-" + std::to_string(sections) + ".sqlite"))
        .string();
}

// A fresh inventory of `sections` sections holding StoredOffcuts offcuts between them.
void FillInventory(const BenchInventory& file, int sections) {
    RemoveInventory(file.Path);
    OffcutStore store = OffcutStore::Open(file.Path);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> length(1000, 6000);
    std::vector<NewOffcut> offcuts;
    for (int i = 0; i < StoredOffcuts; ++i) {
        offcuts.push_back({Section(i % sections),
                           length(random),
                           1 + i % 4,
                           {"old.cut", "J-" + std::to_string(i), 1},
                           ""});
    }
    BookingRecord booking;
    booking.Calculation = "filling";
    store.Book(booking, offcuts, {});
}

// A calculated job of 20 patterns, each returning an offcut.
struct BookableJob {
    JobInput Input;
    CalculationResult Result;
};

BookableJob MakeBookableJob() {
    BookableJob job;
    job.Input.Allowances.Offcut = 1000;
    job.Input.Section.Name = Section(0);
    job.Input.StockRows = {{"*", "6000"}};
    job.Input.CutRows = {{"40", "2000"}};
    for (int p = 0; p < 20; ++p) {
        CuttingPattern pattern{5975, 2, {2003}, {2}};
        pattern.IsOffcut = true;
        pattern.OffcutLength = 5975 - 2 * 2003;
        job.Result.Patterns.push_back(pattern);
    }
    return job;
}

void BookAJob(benchmark::State& state) {
    const BenchInventory file{InventoryPath(100)};
    FillInventory(file, 100);
    OffcutStore store = OffcutStore::Open(file.Path);
    BookableJob job = MakeBookableJob();
    // Each booking also takes a piece of offcuts of the section it books into.
    const std::vector<Offcut> section = store.List(job.Input.Section.Name);
    std::size_t next = 0;
    int booking = 0;
    for (auto _ : state) {
        job.Input.Section.Reference =
            "R" + std::to_string(++booking);  // a new calculation each time
        std::vector<UsedOffcut> used;
        for (int k = 0; k < 3 && next < section.size(); ++k)
            used.push_back({section[next++].Id, 1});
        benchmark::DoNotOptimize(BookJob(store, job.Input, job.Result, "bench.cut", used));
    }
}
BENCHMARK(BookAJob)->Unit(benchmark::kMillisecond);

void ListOneSection(benchmark::State& state) {
    const int sections = static_cast<int>(state.range(0));
    const BenchInventory file{InventoryPath(sections)};
    FillInventory(file, sections);
    const OffcutStore store = OffcutStore::Open(file.Path);
    std::size_t rows = 0;
    for (auto _ : state) {
        const auto offcuts = store.List(" " + Section(0) + " ");
        rows = offcuts.size();
        benchmark::DoNotOptimize(offcuts.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}
// 1,000 of the offcuts in the section listed, and all 100,000 in one section.
BENCHMARK(ListOneSection)->Arg(100)->Arg(1)->Unit(benchmark::kMillisecond);

// What the inventory window reads when it opens or is sorted: the first page and the count.
void ListWindowPage(benchmark::State& state) {
    const BenchInventory file{InventoryPath(1)};
    FillInventory(file, 1);
    const OffcutStore store = OffcutStore::Open(file.Path);
    OffcutQuery query;
    query.Order = static_cast<OffcutOrder>(state.range(0));
    query.Descending = true;
    query.Limit = 500;
    for (auto _ : state) {
        const auto page = store.List(query);
        benchmark::DoNotOptimize(page.data());
        benchmark::DoNotOptimize(store.Count());
    }
}
// By section (an index), by length and by location (none: the whole table is sorted).
BENCHMARK(ListWindowPage)
    ->Arg(static_cast<int>(OffcutOrder::Section))
    ->Arg(static_cast<int>(OffcutOrder::Length))
    ->Arg(static_cast<int>(OffcutOrder::Location))
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
