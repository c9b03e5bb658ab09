// Optimal, Complex and Fast side by side on jobs whose best plan is known or bounded: the
// Falkenauer sets (BPPLIB's CSP format, with their optima), generated triplet jobs and random
// shop jobs, and shop jobs with offcuts from the inventory beside new stock. Each run is made in a
// child process, so that its peak memory is its own.
//
//   tallora_optimal_bench [--sets falkenauer,triplets,shop,large,offcuts] [--algorithms
//   optimal,complex,fast]
//                         [--dir ../shared/bench/falkenauer] [--jobs N] [--time-limit S] [--each]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/Calculation.h"

namespace {

using tallora::Algorithm;
using tallora::JobInput;

struct Job {
    std::string Name;
    std::string Set;
    JobInput Input;
    std::optional<int> Optimum;  // bars, where known
};

struct Outcome {
    int Bars = -1;
    int BoundBars = -1;  // Optimal's lower bound in bars, one stock length; -1 when none
    bool Proven = false;
    // With offcut rows: the metres of new stock and of offcuts, and whether the new stock is
    // proven least.
    double NewMetres = 0.0;
    double OffcutMetres = 0.0;
    bool NewStockProven = false;
    double Seconds = 0.0;
    double PeakMegabytes = 0.0;
};

JobInput NewJob(int kerf, int trim) {
    JobInput job;
    job.Allowances.Kerf = kerf;
    job.Allowances.Trim = trim;
    job.Allowances.Hold = 0;
    return job;
}

// A job of BPPLIB's CSP format, mapped so that each piece with its kerf takes its size.
std::optional<Job> ReadCspJob(const std::filesystem::path& path) {
    std::ifstream in(path);
    int kinds = 0;
    int capacity = 0;
    if (!(in >> kinds >> capacity)) return std::nullopt;
    Job job{path.stem().string(), "", NewJob(1, 0), std::nullopt};
    job.Input.StockRows.push_back({"*", std::to_string(capacity)});
    std::map<int, int> demand;
    for (int i = 0; i < kinds; ++i) {
        int size = 0;
        int count = 0;
        if (!(in >> size >> count)) return std::nullopt;
        demand[size] += count;
    }
    for (auto it = demand.rbegin(); it != demand.rend(); ++it) {
        job.Input.CutRows.push_back({std::to_string(it->second), std::to_string(it->first - 1)});
    }
    return job;
}

std::vector<Job> FalkenauerJobs(const std::filesystem::path& dir) {
    std::map<std::string, int> optima;
    std::ifstream list(dir / "OPTIMA");
    std::string line;
    while (std::getline(list, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name;
        int bars = 0;
        if (fields >> name >> bars) optima[name] = bars;
    }
    std::vector<Job> jobs;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() == ".txt") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        auto job = ReadCspJob(file);
        if (!job) {
            std::cerr << "cannot read " << file << "\n";
            continue;
        }
        const std::string stem = file.stem().string();
        const auto family = stem.substr(0, stem.rfind('_'));
        job->Set = family.substr(family.rfind('_') + 1);
        if (optima.count(stem) != 0) job->Optimum = optima[stem];
        jobs.push_back(std::move(*job));
    }
    return jobs;
}

// Falkenauer's triplets: every bar of 1000 holds three pieces of 250 to 500 with no waste.
Job TripletJob(int bars, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<int> sizes;
    for (int b = 0; b < bars; ++b) {
        const int first = std::uniform_int_distribution<int>(380, 490)(random);
        const int second = std::uniform_int_distribution<int>(251, (1000 - first) / 2)(random);
        sizes.push_back(first);
        sizes.push_back(second);
        sizes.push_back(1000 - first - second);
    }
    std::map<int, int> demand;
    for (int s : sizes) ++demand[s];
    Job job{"t" + std::to_string(bars * 3) + "_" + std::to_string(seed),
            "t" + std::to_string(bars * 3), NewJob(1, 0), bars};
    job.Input.StockRows.push_back({"*", "1000"});
    for (auto it = demand.rbegin(); it != demand.rend(); ++it) {
        job.Input.CutRows.push_back({std::to_string(it->second), std::to_string(it->first - 1)});
    }
    return job;
}

// Distinct lengths of 200 to 3000 mm, 1 to 30 pieces each, kerf 3, trim 25.
Job ShopJob(int rows, int stock, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> length(200, 3000);
    std::uniform_int_distribution<int> quantity(1, 30);
    Job job{
        "shop" + std::to_string(rows) + "x" + std::to_string(stock) + "_" + std::to_string(seed),
        "shop " + std::to_string(rows) + " rows, " + std::to_string(stock) + " mm", NewJob(3, 25),
        std::nullopt};
    job.Input.StockRows.push_back({"*", std::to_string(stock)});
    std::vector<int> used;
    while (static_cast<int>(job.Input.CutRows.size()) < rows) {
        const int l = length(random);
        if (std::find(used.begin(), used.end(), l) != used.end()) continue;
        used.push_back(l);
        job.Input.CutRows.push_back({std::to_string(quantity(random)), std::to_string(l)});
    }
    return job;
}

// A shop job on unlimited new stock with `offcuts` rows of inventory offcuts, 1 to 3 of each
// length, 1000 to 5000 mm.
Job OffcutShopJob(int rows, int offcuts, unsigned seed) {
    Job job = ShopJob(rows, 6000, seed);
    job.Name = "offcuts" + std::to_string(rows) + "+" + std::to_string(offcuts) + "_" +
               std::to_string(seed);
    job.Set = "shop " + std::to_string(rows) + " rows, " + std::to_string(offcuts) + " offcut rows";
    std::mt19937 random(seed * 7919u);
    std::vector<int> lengths;
    while (static_cast<int>(lengths.size()) < offcuts) {
        const int l = std::uniform_int_distribution<int>(100, 500)(random) * 10;
        if (std::find(lengths.begin(), lengths.end(), l) == lengths.end()) lengths.push_back(l);
    }
    for (std::size_t k = 0; k < lengths.size(); ++k) {
        job.Input.StockRows.push_back(
            {std::to_string(std::uniform_int_distribution<int>(1, 3)(random)),
             std::to_string(lengths[k]),
             tallora::InventoryOffcutMark(static_cast<long long>(k) + 1)});
    }
    return job;
}

Outcome RunOnce(const Job& job, Algorithm chosen, std::optional<double> timeLimit) {
    tallora::CalculationObserver quiet;
    tallora::CalculationOptions options;
    options.Algorithm = chosen;
    options.TimeLimitSeconds = timeLimit;
    const auto start = std::chrono::steady_clock::now();
    const auto outcome = tallora::Calculate(job.Input, options, quiet);
    const tallora::CalculationResult& run = outcome.Result;
    Outcome result;
    result.Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!outcome.Completed) return result;
    result.Bars = 0;
    for (const auto& p : run.Patterns) result.Bars += p.BarCount;
    if (run.Bound && run.Bound->Known && run.Bound->SingleLength) {
        result.BoundBars = run.Bound->LowerBoundBars;
        result.Proven = run.Bound->ProvenOptimal;
    }
    if (run.Bound && run.Bound->Offcuts) {
        result.Proven = run.Bound->ProvenOptimal;
        result.NewStockProven = run.Bound->NewStockProven;
        result.NewMetres = double(run.Bound->NewUsed()) / 1000.0;
        result.OffcutMetres = double(run.Bound->OffcutUsed) / 1000.0;
    }
    return result;
}

// The run in a child, for its own peak memory.
Outcome Measure(const Job& job, Algorithm algorithm, std::optional<double> timeLimit) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        const Outcome o = RunOnce(job, algorithm, timeLimit);
        const ssize_t written = write(fds[1], &o, sizeof o);
        _exit(written == static_cast<ssize_t>(sizeof o) ? 0 : 1);
    }
    close(fds[1]);
    Outcome o;
    const ssize_t got = read(fds[0], &o, sizeof o);
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (got != static_cast<ssize_t>(sizeof o)) o = Outcome{};
    o.PeakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return o;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) parts.push_back(part);
    return parts;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> sets{"falkenauer", "triplets", "shop"};
    std::vector<std::string> algorithms{"optimal", "complex", "fast"};
    std::filesystem::path dir = "../shared/bench/falkenauer";
    int shopJobs = 200;
    std::optional<double> timeLimit;
    bool each = false;
    for (int a = 1; a < argc; ++a) {
        const std::string arg = argv[a];
        const auto value = [&]() -> std::string {
            if (a + 1 >= argc) {
                std::cerr << arg << " needs a value\n";
                std::exit(2);
            }
            return argv[++a];
        };
        if (arg == "--sets")
            sets = Split(value());
        else if (arg == "--algorithms")
            algorithms = Split(value());
        else if (arg == "--dir")
            dir = value();
        else if (arg == "--jobs")
            shopJobs = std::stoi(value());
        else if (arg == "--time-limit")
            timeLimit = std::stod(value());
        else if (arg == "--each")
            each = true;
        else {
            std::cerr << "unknown argument " << arg << "\n";
            return 2;
        }
    }

    std::vector<Job> jobs;
    for (const auto& set : sets) {
        if (set == "falkenauer") {
            auto f = FalkenauerJobs(dir);
            if (f.empty()) std::cerr << "no Falkenauer jobs in " << dir << "\n";
            for (auto& j : f) jobs.push_back(std::move(j));
        } else if (set == "triplets") {
            for (int bars : {20, 40, 83, 167}) {
                for (unsigned seed = 1; seed <= 10; ++seed) jobs.push_back(TripletJob(bars, seed));
            }
        } else if (set == "shop") {
            // Rows 10 to 100, half on 6000 mm and half on 12000 mm stock.
            std::mt19937 random(20261206u);
            for (int k = 0; k < shopJobs; ++k) {
                const int rows = std::uniform_int_distribution<int>(10, 100)(random);
                const int stock = k % 2 == 0 ? 6000 : 12000;
                auto job = ShopJob(rows, stock, 1000u + static_cast<unsigned>(k));
                job.Set = std::string("shop 10-100 rows, ") + std::to_string(stock) + " mm";
                jobs.push_back(std::move(job));
            }
        } else if (set == "offcuts") {
            for (int rows : {20, 40, 80}) {
                for (unsigned seed = 1; seed <= 5; ++seed)
                    jobs.push_back(OffcutShopJob(rows, 20, seed));
            }
        } else if (set == "large") {
            for (int rows : {10, 40, 100, 200, 500}) {
                for (int stock : {6000, 12000}) {
                    for (unsigned seed = 1; seed <= 3; ++seed)
                        jobs.push_back(ShopJob(rows, stock, seed));
                }
            }
        } else {
            std::cerr << "unknown set " << set << "\n";
            return 2;
        }
    }

    struct Tally {
        int Jobs = 0, AtBest = 0, Proven = 0, WorstOver = 0, TotalOver = 0;
        std::vector<double> Seconds;
        double Peak = 0.0;
    };
    std::vector<std::string> order;
    std::map<std::pair<std::string, std::string>, Tally> tallies;
    const char* only = std::getenv("TALLORA_BENCH_ONLY");  // one job by its name
    for (const Job& job : jobs) {
        if (only != nullptr && job.Name != only) continue;
        if (std::find(order.begin(), order.end(), job.Set) == order.end()) order.push_back(job.Set);
        std::map<std::string, Outcome> got;
        for (const auto& name : algorithms) {
            const Algorithm algorithm = name == "fast"      ? Algorithm::Fast
                                        : name == "optimal" ? Algorithm::Optimal
                                                            : Algorithm::Complex;
            got[name] = Measure(job, algorithm, timeLimit);
        }
        // The known optimum, else Optimal's bound.
        int best = job.Optimum.value_or(-1);
        if (best < 0 && got.count("optimal") != 0) best = got["optimal"].BoundBars;
        if (each) std::printf("%-28s best %4d", job.Name.c_str(), best);
        for (const auto& name : algorithms) {
            const Outcome& o = got[name];
            Tally& t = tallies[{job.Set, name}];
            ++t.Jobs;
            const int over = best >= 0 && o.Bars >= 0 ? o.Bars - best : 0;
            if (o.Bars >= 0 && best >= 0 && over <= 0) ++t.AtBest;
            if (o.Proven) ++t.Proven;
            t.WorstOver = std::max(t.WorstOver, over);
            t.TotalOver += over;
            t.Seconds.push_back(o.Seconds);
            t.Peak = std::max(t.Peak, o.PeakMegabytes);
            if (each) {
                std::printf("  %s %4d%s %7.3fs %5.0fMB", name.c_str(), o.Bars, o.Proven ? "*" : " ",
                            o.Seconds, o.PeakMegabytes);
                if (o.NewMetres > 0 || o.OffcutMetres > 0) {
                    std::printf(" new %.3fm%s offcuts %.3fm", o.NewMetres,
                                o.NewStockProven ? "*" : "", o.OffcutMetres);
                }
            }
        }
        if (each) {
            std::printf("\n");
            std::fflush(stdout);
        }
    }

    std::printf("\n%-32s %-8s %5s %8s %7s %5s %6s %9s %9s %8s\n", "set", "alg", "jobs", "at best",
                "proven", "max+", "mean+", "median s", "max s", "peak MB");
    for (const auto& set : order) {
        for (const auto& name : algorithms) {
            const Tally& t = tallies[{set, name}];
            const double maxSeconds =
                t.Seconds.empty() ? 0.0 : *std::max_element(t.Seconds.begin(), t.Seconds.end());
            std::printf("%-32s %-8s %5d %8d %7d %5d %6.2f %9.3f %9.3f %8.0f\n", set.c_str(),
                        name.c_str(), t.Jobs, t.AtBest, t.Proven, t.WorstOver,
                        t.Jobs > 0 ? double(t.TotalOver) / t.Jobs : 0.0, Median(t.Seconds),
                        maxSeconds, t.Peak);
        }
    }
    return 0;
}
