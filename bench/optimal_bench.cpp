// Optimal, Complex and Fast side by side on jobs whose best plan is known or bounded: the
// Falkenauer, Hard28 and AI/ANI sets (BPPLIB's CSP format, with their optima), generated triplet
// jobs, random shop jobs of 10 to 1000 rows on one to three stock lengths, and shop jobs with
// offcuts from the inventory beside new stock. Each run is made in a child process, so that its
// peak memory and CPU time are its own.
//
//   tallora_optimal_bench [--sets falkenauer,hard28,ani-ai,triplets,shop,scale,lengths,large,
//                                 offcuts]
//                         [--algorithms optimal,complex,fast] [--data ../shared/bench]
//                         [--dir FALKENAUER_DIR] [--jobs N] [--time-limit S]
//                         [--complex-limit S] [--threads N] [--each] [--print-args]
//
// --time-limit is Optimal's (its own default when not given), --complex-limit Complex's (none by
// default: Complex stops at its iteration limit). --print-args prints each job as tallora-cli's
// arguments instead of running it; TALLORA_BENCH_ONLY=NAME keeps one job.
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
    bool SingleLength = true;
    int LongestOffcut = 0;  // mm; 0 without offcut rows
};

struct Outcome {
    int Bars = -1;
    long long Material = -1;  // usable stock, mm
    int BoundBars = -1;       // Optimal's lower bound in bars, one stock length; -1 when none
    long long BoundMaterial = -1;
    bool Proven = false;
    // With offcut rows: the metres of new stock and of offcuts, and whether the new stock is
    // proven least.
    double NewMetres = 0.0;
    double OffcutMetres = 0.0;
    bool NewStockProven = false;
    double Seconds = 0.0;
    double CpuSeconds = 0.0;
    double PeakMegabytes = 0.0;
};

struct Settings {
    std::optional<double> OptimalLimit;
    std::optional<double> ComplexLimit;
    std::optional<int> Threads;
};

JobInput NewJob(int kerf, int trim) {
    JobInput job;
    job.Allowances.Kerf = kerf;
    job.Allowances.Trim = trim;
    job.Allowances.Hold = 0;
    return job;
}

// A job of BPPLIB's CSP format, mapped so that each piece with its kerf of 1 takes its size.
// `scale` 2 doubles sizes and capacity, so that a piece of size 1 is still a cut of 1 mm.
std::optional<Job> ReadCspJob(const std::filesystem::path& path, int scale) {
    std::ifstream in(path);
    int kinds = 0;
    int capacity = 0;
    if (!(in >> kinds >> capacity)) return std::nullopt;
    Job job{path.stem().string(), "", NewJob(1, 0), std::nullopt};
    job.Input.StockRows.push_back({"*", std::to_string(capacity * scale)});
    std::map<int, int> demand;
    for (int i = 0; i < kinds; ++i) {
        int size = 0;
        int count = 0;
        if (!(in >> size >> count)) return std::nullopt;
        demand[size * scale] += count;
    }
    for (auto it = demand.rbegin(); it != demand.rend(); ++it) {
        job.Input.CutRows.push_back({std::to_string(it->second), std::to_string(it->first - 1)});
    }
    return job;
}

// The jobs of a folder of CSP files with its OPTIMA list ("name bars" lines, # comments).
// `family` names a job's set from its file name.
std::vector<Job> CspJobs(const std::filesystem::path& dir, int scale,
                         std::string (*family)(const std::string&)) {
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
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() == ".txt") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    std::vector<Job> jobs;
    for (const auto& file : files) {
        auto job = ReadCspJob(file, scale);
        if (!job) {
            std::cerr << "cannot read " << file << "\n";
            continue;
        }
        const std::string stem = file.stem().string();
        job->Set = family(stem);
        if (optima.count(stem) != 0) job->Optimum = optima[stem];
        jobs.push_back(std::move(*job));
    }
    if (jobs.empty()) std::cerr << "no jobs in " << dir << "\n";
    return jobs;
}

std::string FalkenauerFamily(const std::string& stem) {
    const auto family = stem.substr(0, stem.rfind('_'));
    return family.substr(family.rfind('_') + 1);
}

std::string Hard28Family(const std::string&) { return "hard28"; }

std::string AniAiFamily(const std::string& stem) {
    const auto cut = stem.find('_', stem.find('_') + 1);
    const std::string kind = stem.substr(cut + 1, 2);
    return (kind == "NR" ? "ANI " : "AI ") + stem.substr(0, stem.find('_'));
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

// Distinct lengths of 200 to 3000 mm, 1 to `most` pieces each, kerf 3, the given trim, on
// unlimited stock of the given lengths.
Job ShopJob(int rows, const std::vector<int>& stock, unsigned seed, int most = 30, int trim = 25) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> length(200, 3000);
    std::uniform_int_distribution<int> quantity(1, most);
    std::string lengths;
    for (int s : stock) lengths += (lengths.empty() ? "" : "+") + std::to_string(s);
    Job job{"shop" + std::to_string(rows) + "x" + lengths + "_" + std::to_string(seed),
            "shop " + std::to_string(rows) + " rows, " + lengths + " mm", NewJob(3, trim),
            std::nullopt, stock.size() == 1};
    for (int s : stock) job.Input.StockRows.push_back({"*", std::to_string(s)});
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
    Job job = ShopJob(rows, {6000}, seed);
    job.Name = "offcuts" + std::to_string(rows) + "+" + std::to_string(offcuts) + "_" +
               std::to_string(seed);
    job.Set = "shop " + std::to_string(rows) + " rows, " + std::to_string(offcuts) + " offcut rows";
    job.SingleLength = false;
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
    job.LongestOffcut = *std::max_element(lengths.begin(), lengths.end());
    return job;
}

Outcome RunOnce(const Job& job, Algorithm chosen, const Settings& settings) {
    tallora::CalculationObserver quiet;
    tallora::CalculationOptions options;
    options.Algorithm = chosen;
    if (chosen == Algorithm::Optimal) options.TimeLimitSeconds = settings.OptimalLimit;
    if (chosen == Algorithm::Complex) options.TimeLimitSeconds = settings.ComplexLimit;
    if (settings.Threads) options.Threads = static_cast<unsigned>(*settings.Threads);
    const auto start = std::chrono::steady_clock::now();
    const auto outcome = tallora::Calculate(job.Input, options, quiet);
    const tallora::CalculationResult& run = outcome.Result;
    Outcome result;
    result.Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!outcome.Completed) return result;
    result.Bars = 0;
    result.Material = 0;
    for (const auto& p : run.Patterns) {
        result.Bars += p.BarCount;
        result.Material += 1LL * p.BarCount * p.StockLength;
    }
    if (run.Bound && run.Bound->Known) {
        result.BoundMaterial = run.Bound->LowerBound;
        result.Proven = run.Bound->ProvenOptimal;
        if (run.Bound->SingleLength) result.BoundBars = run.Bound->LowerBoundBars;
    }
    if (run.Bound && run.Bound->Offcuts) {
        result.Proven = run.Bound->ProvenOptimal;
        result.NewStockProven = run.Bound->NewStockProven;
        result.NewMetres = double(run.Bound->NewUsed()) / 1000.0;
        result.OffcutMetres = double(run.Bound->OffcutUsed) / 1000.0;
    } else if (job.LongestOffcut > 0) {
        // The offcuts are all shorter than the new stock less its trim, so a bar's length tells
        // which it came from; Complex and Fast report no split of their own.
        long long fresh = 0;
        for (const auto& p : run.Patterns) {
            if (p.StockLength > job.LongestOffcut) fresh += 1LL * p.BarCount * p.StockLength;
        }
        result.NewMetres = double(fresh) / 1000.0;
        result.OffcutMetres = double(result.Material - fresh) / 1000.0;
    }
    return result;
}

double Seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; }

// The run in a child, for its own peak memory and CPU time.
Outcome Measure(const Job& job, Algorithm algorithm, const Settings& settings) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        const Outcome o = RunOnce(job, algorithm, settings);
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
    o.CpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    return o;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

double Max(const std::vector<double>& values) {
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) parts.push_back(part);
    return parts;
}

std::vector<Job> MakeJobs(const std::vector<std::string>& sets, const std::filesystem::path& data,
                          const std::filesystem::path& falkenauer, int shopJobs) {
    std::vector<Job> jobs;
    const auto add = [&](std::vector<Job> more) {
        for (auto& j : more) jobs.push_back(std::move(j));
    };
    for (const auto& set : sets) {
        if (set == "falkenauer") {
            add(CspJobs(falkenauer, 1, FalkenauerFamily));
        } else if (set == "hard28") {
            add(CspJobs(data / "hard28", 2, Hard28Family));
        } else if (set == "ani-ai") {
            add(CspJobs(data / "ani-ai", 2, AniAiFamily));
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
                auto job = ShopJob(rows, {stock}, 1000u + static_cast<unsigned>(k));
                job.Set = std::string("shop 10-100 rows, ") + std::to_string(stock) + " mm";
                jobs.push_back(std::move(job));
            }
        } else if (set == "scale") {
            // Shop scale: kerf 3, no trim, 1 to 10 pieces a row, one stock length.
            for (int rows : {50, 200, 500, 1000}) {
                for (int stock : {6000, 12000}) {
                    for (unsigned seed = 1; seed <= 3; ++seed)
                        jobs.push_back(ShopJob(rows, {stock}, seed, 10, 0));
                }
            }
        } else if (set == "lengths") {
            // The same on two and three stock lengths.
            for (int rows : {40, 80, 120, 200}) {
                for (const std::vector<int>& stock :
                     {std::vector<int>{6000, 7500}, std::vector<int>{6000, 9000, 12000}}) {
                    for (unsigned seed = 1; seed <= 3; ++seed)
                        jobs.push_back(ShopJob(rows, stock, seed, 10, 0));
                }
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
                        jobs.push_back(ShopJob(rows, {stock}, seed));
                }
            }
        } else {
            std::cerr << "unknown set " << set << "\n";
            std::exit(2);
        }
    }
    return jobs;
}

struct Tally {
    int Jobs = 0, AtBest = 0, Proven = 0, WorseThanOthers = 0;
    double WorstOver = 0, TotalOver = 0;
    std::vector<double> Seconds, Cpu;
    double Peak = 0.0;
};

// How far a plan is above the best known: in bars with one stock length, else in metres.
double Over(const Job& job, const Outcome& o, int bestBars, long long bestMaterial) {
    if (job.SingleLength) return bestBars >= 0 && o.Bars >= 0 ? o.Bars - bestBars : 0;
    if (bestMaterial < 0 || o.Material < 0) return 0;
    // With offcut rows the bound is on the new stock.
    if (job.LongestOffcut > 0) return o.NewMetres - double(bestMaterial) / 1000.0;
    return double(o.Material - bestMaterial) / 1000.0;
}

void PrintOutcome(const std::string& name, const Outcome& o, bool singleLength) {
    if (singleLength) {
        std::printf("  %s %4d%s", name.c_str(), o.Bars, o.Proven ? "*" : " ");
        if (o.BoundBars >= 0) std::printf(" lb %4d", o.BoundBars);
    } else {
        std::printf("  %s %9.1fm%s", name.c_str(), double(o.Material) / 1000.0,
                    o.Proven ? "*" : " ");
        if (o.BoundMaterial >= 0) std::printf(" lb %9.1fm", double(o.BoundMaterial) / 1000.0);
    }
    std::printf(" %7.3fs %7.3fcpu %5.0fMB", o.Seconds, o.CpuSeconds, o.PeakMegabytes);
    if (o.NewMetres > 0 || o.OffcutMetres > 0) {
        std::printf(" new %.3fm%s offcuts %.3fm", o.NewMetres, o.NewStockProven ? "*" : "",
                    o.OffcutMetres);
    }
}

// What the command line asks for.
struct Arguments {
    std::vector<std::string> Sets{"falkenauer", "triplets", "shop"};
    std::vector<std::string> Algorithms{"optimal", "complex", "fast"};
    std::filesystem::path Data = "../shared/bench";
    std::optional<std::filesystem::path> Falkenauer;
    int ShopJobs = 200;
    Settings Limits;
    bool Each = false;
    bool PrintArgs = false;
};

Arguments ReadArguments(int argc, char** argv) {
    Arguments args;
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
            args.Sets = Split(value());
        else if (arg == "--algorithms")
            args.Algorithms = Split(value());
        else if (arg == "--data")
            args.Data = value();
        else if (arg == "--dir")
            args.Falkenauer = value();
        else if (arg == "--jobs")
            args.ShopJobs = std::stoi(value());
        else if (arg == "--time-limit")
            args.Limits.OptimalLimit = std::stod(value());
        else if (arg == "--complex-limit")
            args.Limits.ComplexLimit = std::stod(value());
        else if (arg == "--threads")
            args.Limits.Threads = std::stoi(value());
        else if (arg == "--each")
            args.Each = true;
        else if (arg == "--print-args")
            args.PrintArgs = true;
        else {
            std::cerr << "unknown argument " << arg << "\n";
            std::exit(2);
        }
    }
    return args;
}

// One job by every algorithm asked for, into the tallies of its set.
void RunJob(const Job& job, const Arguments& args,
            std::map<std::pair<std::string, std::string>, Tally>& tallies) {
    std::map<std::string, Outcome> got;
    for (const auto& name : args.Algorithms) {
        const Algorithm algorithm = name == "fast"      ? Algorithm::Fast
                                    : name == "optimal" ? Algorithm::Optimal
                                                        : Algorithm::Complex;
        got[name] = Measure(job, algorithm, args.Limits);
    }
    // The known optimum, else Optimal's bound.
    int bestBars = job.Optimum.value_or(-1);
    long long bestMaterial = -1;
    if (got.count("optimal") != 0) {
        if (bestBars < 0) bestBars = got["optimal"].BoundBars;
        bestMaterial = got["optimal"].BoundMaterial;
    }
    if (args.Each) {
        if (job.SingleLength)
            std::printf("%-30s best %4d", job.Name.c_str(), bestBars);
        else
            std::printf("%-30s best %9.1fm", job.Name.c_str(), double(bestMaterial) / 1000.0);
    }
    // Worse: more material; with offcut rows, more new stock, or as much and more offcuts.
    const auto key = [&](const Outcome& o) {
        return std::make_pair(job.LongestOffcut > 0 ? std::llround(o.NewMetres * 1000.0) : 0LL,
                              o.Material);
    };
    std::optional<std::pair<long long, long long>> leastOther;  // of the others
    for (const auto& name : args.Algorithms) {
        if (name == "optimal" || got[name].Material < 0) continue;
        if (!leastOther || key(got[name]) < *leastOther) leastOther = key(got[name]);
    }
    for (const auto& name : args.Algorithms) {
        const Outcome& o = got[name];
        Tally& t = tallies[{job.Set, name}];
        ++t.Jobs;
        const double over = Over(job, o, bestBars, bestMaterial);
        if (o.Bars >= 0 && over <= 0 && (bestBars >= 0 || bestMaterial >= 0)) ++t.AtBest;
        if (o.Proven) ++t.Proven;
        if (name == "optimal" && leastOther && o.Material >= 0 && key(o) > *leastOther)
            ++t.WorseThanOthers;
        t.WorstOver = std::max(t.WorstOver, over);
        t.TotalOver += over;
        t.Seconds.push_back(o.Seconds);
        t.Cpu.push_back(o.CpuSeconds);
        t.Peak = std::max(t.Peak, o.PeakMegabytes);
        if (args.Each) PrintOutcome(name, o, job.SingleLength);
    }
    if (args.Each) {
        std::printf("\n");
        std::fflush(stdout);
    }
}

// The job as tallora-cli's arguments, one job a line after its name, to run it on its own.
void PrintCliArguments(const Job& job) {
    std::printf("%s:", job.Name.c_str());
    for (const auto& row : job.Input.StockRows)
        std::printf(" --stock %s@%s", row.Quantity.c_str(), row.Length.c_str());
    for (const auto& row : job.Input.CutRows)
        std::printf(" --cut %s@%s", row.Quantity.c_str(), row.Length.c_str());
    std::printf(" --kerf %d --trim %d --hold %d\n", job.Input.Allowances.Kerf,
                job.Input.Allowances.Trim, job.Input.Allowances.Hold);
}

}  // namespace

int main(int argc, char** argv) {
    const Arguments args = ReadArguments(argc, argv);
    const std::vector<Job> jobs = MakeJobs(
        args.Sets, args.Data, args.Falkenauer.value_or(args.Data / "falkenauer"), args.ShopJobs);

    std::vector<std::string> order;
    std::map<std::pair<std::string, std::string>, Tally> tallies;
    const char* only = std::getenv("TALLORA_BENCH_ONLY");  // one job by its name
    for (const Job& job : jobs) {
        if (only != nullptr && job.Name != only) continue;
        if (args.PrintArgs) {
            PrintCliArguments(job);
            continue;
        }
        if (std::find(order.begin(), order.end(), job.Set) == order.end()) order.push_back(job.Set);
        RunJob(job, args, tallies);
    }
    if (args.PrintArgs) return 0;

    // Over the best: bars with one stock length, metres with several (of new stock, with offcut
    // rows); "worse" counts Optimal's plans that use more stock than another algorithm's (with
    // offcut rows: more new stock, or as much and more offcuts).
    std::printf("\n%-36s %-8s %4s %7s %6s %6s %6s %5s %8s %8s %8s %8s %7s\n", "set", "alg", "jobs",
                "at best", "proven", "max+", "mean+", "worse", "med s", "max s", "med cpu",
                "max cpu", "peak MB");
    for (const auto& set : order) {
        for (const auto& name : args.Algorithms) {
            const Tally& t = tallies[{set, name}];
            std::printf("%-36s %-8s %4d %7d %6d %6.1f %6.2f %5d %8.3f %8.3f %8.3f %8.3f %7.0f\n",
                        set.c_str(), name.c_str(), t.Jobs, t.AtBest, t.Proven, t.WorstOver,
                        t.Jobs > 0 ? t.TotalOver / t.Jobs : 0.0, t.WorseThanOthers,
                        Median(t.Seconds), Max(t.Seconds), Median(t.Cpu), Max(t.Cpu), t.Peak);
        }
    }
    return 0;
}
