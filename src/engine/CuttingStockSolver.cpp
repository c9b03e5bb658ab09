#include "engine/CuttingStockSolver.h"

#include <CbcEventHandler.hpp>
#include <CbcModel.hpp>
#include <ClpSimplex.hpp>
#include <CoinHelperFunctions.hpp>
#include <OsiClpSolverInterface.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <random>
#include <unordered_map>
#include <unordered_set>

namespace tallora::csp {

namespace {

using Clock = std::chrono::steady_clock;

// Reduced costs and fractions closer to zero than this are zero.
constexpr double Epsilon = 1e-7;

long long Gcd(long long a, long long b) {
    while (b != 0) {
        const long long r = a % b;
        a = b;
        b = r;
    }
    return a;
}

std::size_t HashOf(const Pattern& p) {
    std::size_t h = static_cast<std::size_t>(p.Stock) * 1000003u;
    for (const auto& [item, count] : p.Pieces) {
        h ^= (static_cast<std::size_t>(item) * 7919u + static_cast<std::size_t>(count)) +
             0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    }
    return h;
}

struct PatternHash {
    std::size_t operator()(const Pattern& p) const { return HashOf(p); }
};

// The best patterns for the duals, every capacity up to the largest at once: a bounded
// knapsack by dynamic programming, each item's copies split in powers of two.
class Knapsack {
public:
    // The most valuable pattern within `capacity` among items of the given bounds; value in
    // `value`. Bounds of 0 leave an item out.
    void Build(const std::vector<int>& sizes, const std::vector<double>& values,
               const std::vector<int>& bounds, int capacity) {
        capacity_ = capacity;
        chunks_.clear();
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            if (values[i] <= Epsilon || bounds[i] <= 0) continue;
            int left = std::min(bounds[i], capacity / sizes[i]);
            for (int part = 1; left > 0; part *= 2) {
                const int take = std::min(part, left);
                chunks_.push_back({static_cast<int>(i), take, take * sizes[i], take * values[i]});
                left -= take;
            }
        }
        const std::size_t states = static_cast<std::size_t>(capacity) + 1;
        words_ = (states + 63) / 64;
        value_.assign(states, 0.0);
        taken_.assign(words_ * chunks_.size(), 0);
        for (std::size_t k = 0; k < chunks_.size(); ++k) {
            const Chunk& chunk = chunks_[k];
            std::uint64_t* bits = taken_.data() + k * words_;
            for (int c = capacity; c >= chunk.Weight; --c) {
                const double candidate =
                    value_[static_cast<std::size_t>(c - chunk.Weight)] + chunk.Value;
                if (candidate > value_[static_cast<std::size_t>(c)] + 1e-12) {
                    value_[static_cast<std::size_t>(c)] = candidate;
                    bits[static_cast<std::size_t>(c) / 64] |= std::uint64_t{1} << (c % 64);
                }
            }
        }
    }

    double Value(int capacity) const { return value_[static_cast<std::size_t>(capacity)]; }

    std::vector<int> Copies(int capacity, std::size_t items) const {
        std::vector<int> copies(items, 0);
        int c = capacity;
        for (std::size_t k = chunks_.size(); k-- > 0;) {
            const std::uint64_t* bits = taken_.data() + k * words_;
            if ((bits[static_cast<std::size_t>(c) / 64] >> (c % 64)) & 1u) {
                copies[static_cast<std::size_t>(chunks_[k].Item)] += chunks_[k].Copies;
                c -= chunks_[k].Weight;
            }
        }
        return copies;
    }

private:
    struct Chunk {
        int Item;
        int Copies;
        int Weight;
        double Value;
    };
    int capacity_ = 0;
    std::vector<Chunk> chunks_;
    std::size_t words_ = 0;
    std::vector<double> value_;
    std::vector<std::uint64_t> taken_;
};

class Solver {
public:
    Solver(const Problem& problem, const Control& control) : p_(problem), c_(control) {
        n_ = static_cast<int>(p_.Items.size());
        m_ = static_cast<int>(p_.Stocks.size());
        for (const Stock& s : p_.Stocks) {
            maxLength_ = std::max(maxLength_, s.Length);
        }
        Charges();
        minSize_ = std::numeric_limits<int>::max();
        for (const Item& item : p_.Items) minSize_ = std::min(minSize_, item.Size);
        bySize_.resize(static_cast<std::size_t>(n_));
        std::iota(bySize_.begin(), bySize_.end(), 0);
        std::stable_sort(bySize_.begin(), bySize_.end(), [this](int a, int b) {
            return p_.Items[static_cast<std::size_t>(a)].Size >
                   p_.Items[static_cast<std::size_t>(b)].Size;
        });
    }

    Result Run() {
        Result result;
        if (n_ == 0 || m_ == 0) return result;
        FirstFitDecreasing(false);
        // Offcuts first: a plan that takes them, where the longest bars would leave them all.
        if (weight_ > 0) FirstFitDecreasing(true);
        FindSums();
        BuildMaster();
        // The programme may take most of the time; the rest is for finding plans.
        if (c_.Deadline) softDeadline_ = Clock::now() + (*c_.Deadline - Clock::now()) * 7 / 10;
        double bound = -std::numeric_limits<double>::infinity();
        ColumnGeneration(true, &bound);
        softDeadline_.reset();
        if (std::isfinite(bound)) {
            rootBound_ = bound;
            rounded_ = RoundUp(bound);
            Report();
        }
        // Jobs whose best plans fill every bar to the millimetre, as triplets do, are solved
        // best by an integer programme over every such pattern, when they are few.
        if (!Proven() && !Stopped()) {
            const std::vector<Pattern> tight = TightPatterns();
            if (!tight.empty()) RestrictedMaster(tight, true, TightSeconds);
        }
        // A short search bar by bar, then diving for a plan at the bound, whose whole bars
        // leave a few pieces for the search bar by bar to fill.
        Filling filling = Filling::GaveUp;
        if (!Proven() && !Stopped()) filling = FillToBound(FirstFillNodes, 0);
        if (!Proven() && !Stopped() && rounded_) Dive(rounded_, MaxDiscrepancies, MaxDiveNodes);
        // No plan at the bound yet: a plain dive for a better plan, then the integer programme
        // over the patterns known, then searches bar by bar in other orders until the time
        // is up.
        if (!Proven() && !Stopped()) Dive(std::nullopt, 0, MaxDiveNodes);
        if (!Proven() && !Stopped()) RestrictedMaster({}, false, ImproveSeconds);
        if (!Proven() && !Stopped()) CompleteSearch();
        // With offcut rows there is no search bar by bar: the time left goes to the integer
        // programme over the patterns known.
        if (weight_ > 0 && !Proven() && !Stopped())
            RestrictedMaster({}, false, c_.Deadline ? 1e6 : CompleteSeconds);
        // Without a deadline the restarts end after a few rounds.
        for (unsigned round = 1; filling == Filling::GaveUp && !Proven() && !Stopped() &&
                                 (c_.Deadline || round <= UnlimitedRestarts);
             ++round) {
            filling = FillToBound(FirstFillNodes << std::min(round, 10u), round);
        }
        result.Best = best_;
        // Offcut rows too many to weigh exactly: their plan is no proven preference.
        if (rootBound_ && best_.Unplaced == 0 && (weight_ > 0 || !offcutRows_)) {
            result.Proven = Proven();
            if (weight_ > 0) {
                // A plan's cost is weight_ times its new stock plus its offcuts in offStep_.
                const long long offcuts = offcutTotal_ / offStep_;
                result.LowerBound =
                    std::max(0.0, (*rootBound_ - double(offcuts)) / double(weight_));
                result.RoundedBound = *rounded_ / weight_;
                result.OffcutBound = *rounded_ % weight_ * offStep_;
                result.NewStockProven = NewMaterial(best_) <= *result.RoundedBound;
            } else {
                result.LowerBound = rootBound_;
                result.RoundedBound = rounded_;
                result.NewStockProven = result.Proven;
            }
        }
        result.TimedOut = TimedOut();
        result.Cancelled = c_.Cancelled && c_.Cancelled();
        return result;
    }

private:
    // --- stopping ---

    bool TimedOut() const { return c_.Deadline && Clock::now() >= *c_.Deadline; }
    bool Stopped() const { return TimedOut() || (c_.Cancelled && c_.Cancelled()); }
    bool Proven() const { return rounded_ && best_.Unplaced == 0 && bestCharge_ <= *rounded_; }

    static long long NewMaterial(const Plan& plan) { return plan.Material - plan.OffcutMaterial; }
    // With offcut rows: the best plan's new stock meets the bound's, so only offcut length is
    // left to gain.
    bool NewStockAtBound() const {
        return weight_ > 0 && rounded_ && best_.Unplaced == 0 &&
               NewMaterial(best_) <= *rounded_ / weight_;
    }

    void Report() {
        if (!c_.Progress) return;
        if (weight_ > 0)
            c_.Progress(NewMaterial(best_), rounded_ ? double(*rounded_ / weight_) : -1.0);
        else
            c_.Progress(best_.Material, rounded_ ? double(*rounded_) : -1.0);
    }

    // What a bar of each stock row costs. Without offcut rows, its length. With them, new stock
    // is weighed above all the offcuts there are together, so that the least cost is the least
    // new stock first and the least offcut length second, each exact in whole numbers. Offcuts
    // count in steps of their lengths' common divisor, which keeps the weight small; when the
    // costs could still pass what a double holds exactly, offcuts are plain stock.
    void Charges() {
        cost_.assign(static_cast<std::size_t>(m_), 0);
        for (int j = 0; j < m_; ++j)
            cost_[static_cast<std::size_t>(j)] = p_.Stocks[static_cast<std::size_t>(j)].Length;
        maxCost_ = maxLength_;
        long long step = 0;
        long long total = 0;
        for (const Stock& s : p_.Stocks) {
            if (IsOffcut(s)) {
                step = Gcd(step, s.Length);
                total += static_cast<long long>(s.Length) * s.Available;
            }
        }
        if (total <= 0) return;
        offcutRows_ = true;
        long long pieces = 0;
        for (const Item& item : p_.Items) pieces += item.Demand;
        const long long weight = total / step + 1;
        // No plan worth having uses more than a bar a piece.
        const long double most = static_cast<long double>(weight) * maxLength_ * (pieces + 1);
        if (most > static_cast<long double>(1LL << 50)) return;
        weight_ = weight;
        offStep_ = step;
        offcutTotal_ = total;
        for (int j = 0; j < m_; ++j) {
            const Stock& s = p_.Stocks[static_cast<std::size_t>(j)];
            cost_[static_cast<std::size_t>(j)] = IsOffcut(s) ? s.Length / step : s.Length * weight;
            maxCost_ = std::max(maxCost_, cost_[static_cast<std::size_t>(j)]);
        }
    }

    static bool IsOffcut(const Stock& s) { return s.Offcut && s.Available >= 0; }
    double CostOf(int stock) const { return double(cost_[static_cast<std::size_t>(stock)]); }
    double MaxCost() const { return double(maxCost_); }

    // The least stock length a plan can use that reaches `bound`: the least sum of bars the
    // stock rows can give, where those sums are known, else the next multiple of the lengths'
    // common divisor.
    long long RoundUp(double bound) const {
        if (weight_ > 0) return RoundUpCharge(bound);
        const double steps = std::ceil(bound / static_cast<double>(step_) - 1e-6);
        long long at = std::max(0LL, static_cast<long long>(steps));
        while (at < static_cast<long long>(sums_.size()) && !sums_[static_cast<std::size_t>(at)])
            ++at;
        return at * step_;
    }

    // Which sums of bars the stock rows can give, in steps of the lengths' common divisor, up to
    // a bar beyond the first plan (no better plan uses more).
    void FindSums() {
        if (weight_ > 0) {
            FindCharges();
            return;
        }
        step_ = 0;
        for (const Stock& s : p_.Stocks) {
            if (s.Available != 0) step_ = Gcd(step_, s.Length);
        }
        if (step_ <= 0) step_ = 1;
        sums_.clear();
        const long long states = best_.Material / step_ + maxLength_ / step_ + 1;
        if (m_ == 1) return;
        sums_ = Sums(Rows::All, step_, states);
    }

    // With offcut rows: the sums of new bars, in steps of their lengths' common divisor up to a
    // bar beyond the first plan's new stock, and of offcut bars, in offStep_, all of them.
    void FindCharges() {
        step_ = 0;
        int longest = 0;
        for (const Stock& s : p_.Stocks) {
            if (s.Available == 0 || IsOffcut(s)) continue;
            step_ = Gcd(step_, s.Length);
            longest = std::max(longest, s.Length);
        }
        if (step_ <= 0) step_ = 1;
        sums_ = Sums(Rows::New, step_, NewMaterial(best_) / step_ + longest / step_ + 1);
        offSums_ = Sums(Rows::Offcuts, offStep_, offcutTotal_ / offStep_ + 1);
    }

    enum class Rows { All, New, Offcuts };

    // Which sums of bars the rows can give, in steps; nothing when there are too many states.
    std::vector<bool> Sums(Rows rows, long long step, long long states) const {
        std::vector<bool> sums;
        if (states > MaxSumStates) return sums;
        sums.assign(static_cast<std::size_t>(states), false);
        sums[0] = true;
        for (const Stock& s : p_.Stocks) {
            if (s.Available == 0) continue;
            if (rows != Rows::All && IsOffcut(s) != (rows == Rows::Offcuts)) continue;
            const std::size_t length = static_cast<std::size_t>(s.Length / step);
            if (s.Available < 0) {
                for (std::size_t at = length; at < sums.size(); ++at) {
                    if (sums[at - length]) sums[at] = true;
                }
                continue;
            }
            // Bounded: in chunks of 1, 2, 4... bars.
            long long left = s.Available;
            for (long long part = 1; left > 0; part *= 2) {
                const long long take = std::min(part, left);
                left -= take;
                const std::size_t shift = static_cast<std::size_t>(take) * length;
                if (shift >= sums.size()) continue;
                for (std::size_t at = sums.size(); at-- > shift;) {
                    if (sums[at - shift]) sums[at] = true;
                }
            }
        }
        return sums;
    }

    // The least cost a plan with offcut rows can have that reaches `bound`: the least new stock
    // that reaches it with every offcut, then the least offcuts that make up the rest.
    long long RoundUpCharge(double bound) const {
        bound -= 1e-6 + 1e-12 * std::fabs(bound);
        const long long offcuts = offcutTotal_ / offStep_;
        const long long fresh = LeastSum(sums_, step_, (bound - double(offcuts)) / double(weight_));
        const double rest = bound - double(fresh) * double(weight_);
        if (rest <= 0) return fresh * weight_;
        const long long off = LeastSum(offSums_, 1, rest);
        if (off <= offcuts) return fresh * weight_ + off;
        return LeastSum(sums_, step_, double(fresh + 1)) * weight_;
    }

    // The least sum of at least `least` the rows can give, where the sums are known; else the
    // next multiple of the step.
    static long long LeastSum(const std::vector<bool>& sums, long long step, double least) {
        const double steps = std::ceil(least / double(step) - 1e-9);
        long long at = std::max(0LL, static_cast<long long>(steps));
        while (at < static_cast<long long>(sums.size()) && !sums[static_cast<std::size_t>(at)])
            ++at;
        return at * step;
    }

    // What a plan costs: its stock, and far more for each piece it leaves uncut.
    double Penalty(int item) const {
        return 2.0 * MaxCost() *
               std::ceil(double(p_.Items[static_cast<std::size_t>(item)].Size) / double(minSize_));
    }
    long long Charge(const Plan& plan) const {
        long long charge = 0;
        for (const auto& [pattern, bars] : plan.Patterns)
            charge += static_cast<long long>(bars) * cost_[static_cast<std::size_t>(pattern.Stock)];
        return charge;
    }
    double Cost(const Plan& plan, const std::vector<long long>& unplaced) const {
        double cost = static_cast<double>(Charge(plan));
        for (int i = 0; i < n_; ++i)
            cost += Penalty(i) * double(unplaced[static_cast<std::size_t>(i)]);
        return cost;
    }

    // --- a first plan: pieces longest first into the first bar they fit ---

    void FirstFitDecreasing(bool offcutsFirst) {
        struct Bar {
            int Stock;
            int Left;
            std::vector<int> Counts;
        };
        std::vector<Bar> bars;
        std::vector<int> available(static_cast<std::size_t>(m_));
        for (int j = 0; j < m_; ++j)
            available[static_cast<std::size_t>(j)] =
                p_.Stocks[static_cast<std::size_t>(j)].Available;
        std::vector<long long> unplaced(static_cast<std::size_t>(n_), 0);
        for (int i : bySize_) {
            const int size = p_.Items[static_cast<std::size_t>(i)].Size;
            for (int piece = 0; piece < p_.Items[static_cast<std::size_t>(i)].Demand; ++piece) {
                Bar* into = nullptr;
                for (Bar& bar : bars) {
                    if (bar.Left >= size) {
                        into = &bar;
                        break;
                    }
                }
                if (into == nullptr) {
                    // The longest bar that is left and holds the piece; an offcut before new
                    // stock when asked.
                    int chosen = -1;
                    for (int j = 0; j < m_; ++j) {
                        const Stock& s = p_.Stocks[static_cast<std::size_t>(j)];
                        if (s.Length < size || available[static_cast<std::size_t>(j)] == 0)
                            continue;
                        if (chosen < 0) {
                            chosen = j;
                            continue;
                        }
                        const Stock& c = p_.Stocks[static_cast<std::size_t>(chosen)];
                        const bool better = offcutsFirst && IsOffcut(s) != IsOffcut(c)
                                                ? IsOffcut(s)
                                                : s.Length > c.Length;
                        if (better) chosen = j;
                    }
                    if (chosen < 0) {
                        ++unplaced[static_cast<std::size_t>(i)];
                        continue;
                    }
                    if (available[static_cast<std::size_t>(chosen)] > 0)
                        --available[static_cast<std::size_t>(chosen)];
                    bars.push_back({chosen, p_.Stocks[static_cast<std::size_t>(chosen)].Length,
                                    std::vector<int>(static_cast<std::size_t>(n_), 0)});
                    into = &bars.back();
                }
                into->Left -= size;
                ++into->Counts[static_cast<std::size_t>(i)];
            }
        }
        std::vector<std::pair<Pattern, int>> counted;
        for (const Bar& bar : bars) counted.push_back({MakePattern(bar.Stock, bar.Counts), 1});
        Accept(Merge(counted), unplaced);
    }

    Pattern MakePattern(int stock, const std::vector<int>& counts) const {
        Pattern p;
        p.Stock = stock;
        for (int i = 0; i < n_; ++i) {
            if (counts[static_cast<std::size_t>(i)] > 0)
                p.Pieces.push_back({i, counts[static_cast<std::size_t>(i)]});
        }
        return p;
    }

    static std::vector<std::pair<Pattern, int>> Merge(
        const std::vector<std::pair<Pattern, int>>& patterns) {
        std::vector<std::pair<Pattern, int>> merged;
        std::unordered_map<std::size_t, std::vector<std::size_t>> at;
        for (const auto& [pattern, bars] : patterns) {
            if (bars <= 0 || pattern.Pieces.empty()) continue;
            auto& slots = at[HashOf(pattern)];
            bool found = false;
            for (std::size_t k : slots) {
                if (merged[k].first == pattern) {
                    merged[k].second += bars;
                    found = true;
                    break;
                }
            }
            if (!found) {
                slots.push_back(merged.size());
                merged.push_back({pattern, bars});
            }
        }
        return merged;
    }

    // Takes a plan when it is better than the best so far.
    void Accept(std::vector<std::pair<Pattern, int>> patterns,
                const std::vector<long long>& unplaced) {
        Plan plan;
        plan.Patterns = std::move(patterns);
        for (const auto& [pattern, bars] : plan.Patterns) {
            const Stock& stock = p_.Stocks[static_cast<std::size_t>(pattern.Stock)];
            plan.Material += static_cast<long long>(bars) * stock.Length;
            if (IsOffcut(stock)) plan.OffcutMaterial += static_cast<long long>(bars) * stock.Length;
        }
        for (long long u : unplaced) plan.Unplaced += u;
        const double cost = Cost(plan, unplaced);
        if (cost < bestCost_ - 0.5) {
            bestCharge_ = Charge(plan);
            best_ = std::move(plan);
            bestCost_ = cost;
            Report();
        }
    }

    // --- the master programme ---

    void BuildMaster() {
        lp_.setLogLevel(0);
        stockRow_.assign(static_cast<std::size_t>(m_), -1);
        int rows = n_;
        for (int j = 0; j < m_; ++j) {
            if (p_.Stocks[static_cast<std::size_t>(j)].Available >= 0)
                stockRow_[static_cast<std::size_t>(j)] = rows++;
        }
        lp_.resize(rows, 0);
        for (int i = 0; i < n_; ++i) {
            lp_.setRowLower(i, p_.Items[static_cast<std::size_t>(i)].Demand);
            lp_.setRowUpper(i, COIN_DBL_MAX);
        }
        for (int j = 0; j < m_; ++j) {
            const int row = stockRow_[static_cast<std::size_t>(j)];
            if (row < 0) continue;
            lp_.setRowLower(row, -COIN_DBL_MAX);
            lp_.setRowUpper(row, p_.Stocks[static_cast<std::size_t>(j)].Available);
        }
        // Pieces left uncut, at their penalty: the stock a piece needs may run out.
        shortageColumns_ = n_;
        for (int i = 0; i < shortageColumns_; ++i) {
            const int row = i;
            const double one = 1.0;
            lp_.addColumn(1, &row, &one, 0.0, COIN_DBL_MAX, Penalty(i));
        }
        // The first plan's patterns, and each item alone on the longest bar that holds it.
        for (const auto& [pattern, bars] : best_.Patterns) AddColumn(pattern);
        for (int i = 0; i < n_; ++i) {
            int chosen = -1;
            for (int j = 0; j < m_; ++j) {
                if (p_.Stocks[static_cast<std::size_t>(j)].Length <
                    p_.Items[static_cast<std::size_t>(i)].Size)
                    continue;
                if (chosen < 0 || p_.Stocks[static_cast<std::size_t>(j)].Length >
                                      p_.Stocks[static_cast<std::size_t>(chosen)].Length)
                    chosen = j;
            }
            if (chosen < 0) continue;
            std::vector<int> counts(static_cast<std::size_t>(n_), 0);
            counts[static_cast<std::size_t>(i)] =
                std::min(p_.Items[static_cast<std::size_t>(i)].Demand,
                         p_.Stocks[static_cast<std::size_t>(chosen)].Length /
                             p_.Items[static_cast<std::size_t>(i)].Size);
            if (counts[static_cast<std::size_t>(i)] > 0) AddColumn(MakePattern(chosen, counts));
        }
        Resolve(true);
    }

    bool AddColumn(const Pattern& pattern) {
        if (!known_.insert(pattern).second) return false;
        std::vector<int> rows;
        std::vector<double> values;
        for (const auto& [item, count] : pattern.Pieces) {
            rows.push_back(item);
            values.push_back(count);
        }
        const int row = stockRow_[static_cast<std::size_t>(pattern.Stock)];
        if (row >= 0) {
            rows.push_back(row);
            values.push_back(1.0);
        }
        lp_.addColumn(static_cast<int>(rows.size()), rows.data(), values.data(), 0.0, COIN_DBL_MAX,
                      CostOf(pattern.Stock));
        columns_.push_back(pattern);
        return true;
    }

    // The programme solved again from where it was, within the time left.
    void Resolve(bool primal) {
        if (c_.Deadline) {
            lp_.setMaximumWallSeconds(
                std::max(0.0, std::chrono::duration<double>(*c_.Deadline - Clock::now()).count()));
        }
        if (primal)
            lp_.primal();
        else
            lp_.dual();
    }

    int PatternColumn(std::size_t k) const { return shortageColumns_ + static_cast<int>(k); }

    double ShortageInSolution() const {
        const double* x = lp_.primalColumnSolution();
        double total = 0.0;
        for (int i = 0; i < shortageColumns_; ++i) total += x[i];
        return total;
    }

    // What each piece and each bar of a stock row is worth at the programme's solution.
    void Duals(std::vector<double>& pi, std::vector<double>& sigma) const {
        const double* duals = lp_.dualRowSolution();
        pi.assign(static_cast<std::size_t>(n_), 0.0);
        for (int i = 0; i < n_; ++i) pi[static_cast<std::size_t>(i)] = std::max(0.0, duals[i]);
        sigma.assign(static_cast<std::size_t>(m_), 0.0);
        for (int j = 0; j < m_; ++j) {
            const int row = stockRow_[static_cast<std::size_t>(j)];
            if (row >= 0) sigma[static_cast<std::size_t>(j)] = std::min(0.0, duals[row]);
        }
    }

    // Patterns worth adding, found cheaply: each bar filled greedily by the value per length.
    std::vector<Pattern> GreedyColumns(const std::vector<double>& pi,
                                       const std::vector<double>& sigma,
                                       const std::vector<int>& bounds) const {
        std::vector<int> order;
        for (int i = 0; i < n_; ++i) {
            if (pi[static_cast<std::size_t>(i)] > Epsilon &&
                bounds[static_cast<std::size_t>(i)] > 0)
                order.push_back(i);
        }
        std::vector<Pattern> found;
        const auto fill = [&](const std::vector<int>& sorted) {
            for (int j = 0; j < m_; ++j) {
                const Stock& s = p_.Stocks[static_cast<std::size_t>(j)];
                if (s.Available == 0) continue;
                int left = s.Length;
                double value = 0.0;
                std::vector<int> counts(static_cast<std::size_t>(n_), 0);
                for (int i : sorted) {
                    const int size = p_.Items[static_cast<std::size_t>(i)].Size;
                    const int take = std::min(bounds[static_cast<std::size_t>(i)], left / size);
                    if (take <= 0) continue;
                    counts[static_cast<std::size_t>(i)] = take;
                    left -= take * size;
                    value += take * pi[static_cast<std::size_t>(i)];
                }
                if (CostOf(j) - sigma[static_cast<std::size_t>(j)] - value < -Epsilon * CostOf(j)) {
                    found.push_back(MakePattern(j, counts));
                }
            }
        };
        std::sort(order.begin(), order.end(), [&](int a, int b) {
            return pi[static_cast<std::size_t>(a)] * p_.Items[static_cast<std::size_t>(b)].Size >
                   pi[static_cast<std::size_t>(b)] * p_.Items[static_cast<std::size_t>(a)].Size;
        });
        fill(order);
        std::sort(order.begin(), order.end(), [&](int a, int b) {
            return pi[static_cast<std::size_t>(a)] > pi[static_cast<std::size_t>(b)];
        });
        fill(order);
        return found;
    }

    // The exact pricing: for each stock row the most valuable pattern, and the least reduced
    // cost of all (0 or more when no pattern is worth adding).
    double ExactColumns(const std::vector<double>& pi, const std::vector<double>& sigma,
                        const std::vector<int>& bounds, std::vector<Pattern>& found,
                        std::vector<double>& bestReduced) {
        std::vector<int> sizes(static_cast<std::size_t>(n_));
        for (int i = 0; i < n_; ++i)
            sizes[static_cast<std::size_t>(i)] = p_.Items[static_cast<std::size_t>(i)].Size;
        int capacity = 0;
        for (const Stock& s : p_.Stocks) {
            if (s.Available != 0) capacity = std::max(capacity, s.Length);
        }
        knapsack_.Build(sizes, pi, bounds, capacity);
        double least = 0.0;
        bestReduced.assign(static_cast<std::size_t>(m_), 0.0);
        for (int j = 0; j < m_; ++j) {
            const Stock& s = p_.Stocks[static_cast<std::size_t>(j)];
            if (s.Available == 0) continue;
            const double worth = CostOf(j) - sigma[static_cast<std::size_t>(j)];
            const double reduced = worth - knapsack_.Value(s.Length);
            bestReduced[static_cast<std::size_t>(j)] = reduced;
            least = std::min(least, reduced / CostOf(j));
            // The best pattern, and a few more from shorter capacities where the value drops:
            // other patterns worth adding, for the cost of one table.
            int taken = 0;
            double last = std::numeric_limits<double>::infinity();
            for (int c = s.Length; c > 0 && taken < ColumnsPerPricing; --c) {
                const double value = knapsack_.Value(c);
                if (worth - value >= -Epsilon * CostOf(j)) break;
                if (value < last - Epsilon) {
                    found.push_back(
                        MakePattern(j, knapsack_.Copies(c, static_cast<std::size_t>(n_))));
                    ++taken;
                    last = value;
                }
            }
        }
        return least;
    }

    // Column generation on the programme as it stands (with its fixed bars); true when no
    // pattern can lower it any more. `bound` gets the best lower bound on it found on the way.
    // Stops early once that bound, rounded up to what a plan can use, meets the programme's own
    // value rounded up: more columns cannot change the rounded bound then.
    // Patterns are priced with the pieces the fixed bars leave: no plan needs more of an item.
    // The duals are smoothed towards those of the best bound so far, which takes far fewer
    // rounds than pricing at the programme's own duals, whose values jump about.
    bool ColumnGeneration(bool exact, double* bound = nullptr,
                          int rounds = std::numeric_limits<int>::max(),
                          std::optional<long long> pruneAbove = std::nullopt) {
        Residual residual = ResidualJob();
        double best = -std::numeric_limits<double>::infinity();
        std::vector<double> pi, sigma, centerPi, centerSigma, mixPi, mixSigma, reduced;
        std::vector<Pattern> found;
        const auto finish = [&](bool converged) {
            if (bound != nullptr) *bound = best;
            return converged;
        };
        for (int round = 0;; ++round) {
            if (Stopped() || !lp_.isProvenOptimal() || round >= rounds ||
                (softDeadline_ && Clock::now() >= *softDeadline_)) {
                return finish(false);
            }
            Duals(pi, sigma);
            const double z = lp_.objectiveValue();
            found = GreedyColumns(pi, sigma, residual.Bounds);
            bool added = false;
            for (const Pattern& pattern : found) added = AddColumn(pattern) || added;
            if (!exact) {
                if (!added) return finish(false);
                Resolve(true);
                continue;
            }
            // Priced first at the smoothed duals: their patterns count when they pay at the
            // programme's own.
            if (!centerPi.empty()) {
                mixPi.resize(pi.size());
                mixSigma.resize(sigma.size());
                for (std::size_t i = 0; i < pi.size(); ++i)
                    mixPi[i] = Smoothing * centerPi[i] + (1 - Smoothing) * pi[i];
                for (std::size_t j = 0; j < sigma.size(); ++j)
                    mixSigma[j] = Smoothing * centerSigma[j] + (1 - Smoothing) * sigma[j];
                found.clear();
                const double least = ExactColumns(mixPi, mixSigma, residual.Bounds, found, reduced);
                const double lower = LagrangeanBound(mixPi, mixSigma, least, residual);
                if (lower > best) {
                    best = lower;
                    centerPi = mixPi;
                    centerSigma = mixSigma;
                }
                for (const Pattern& pattern : found) {
                    if (ReducedCost(pattern, pi, sigma) < -Epsilon * CostOf(pattern.Stock)) {
                        added = AddColumn(pattern) || added;
                    }
                }
            }
            if (!added) {
                found.clear();
                const double least = ExactColumns(pi, sigma, residual.Bounds, found, reduced);
                const double lower = LagrangeanBound(pi, sigma, least, residual);
                if (lower > best || centerPi.empty()) {
                    best = std::max(best, lower);
                    centerPi = pi;
                    centerSigma = sigma;
                }
                for (const Pattern& pattern : found) added = AddColumn(pattern) || added;
                if (!added) {
                    best = std::max(best, z);
                    return finish(true);
                }
            }
            // A dive's branch can stop as soon as its bound passes the target.
            if (pruneAbove && std::isfinite(best) && RoundUp(best) > *pruneAbove)
                return finish(false);
            if (std::isfinite(best) && RoundUp(best) >= RoundUp(z)) {
                Resolve(true);
                return finish(true);
            }
            Resolve(true);
        }
    }

    // What the fixed bars leave: the pieces of each item still asked for (less than none where
    // they cut more), the bars of each stock row, and what the fixed bars cost.
    struct Residual {
        std::vector<int> Bounds;        // pieces a pattern may still take
        std::vector<long long> Demand;  // pieces still asked for, below zero where over-cut
        std::vector<long long> Available;
        double FixedCost = 0.0;
    };

    Residual ResidualJob() const {
        Residual r;
        r.Demand.resize(static_cast<std::size_t>(n_));
        for (int i = 0; i < n_; ++i)
            r.Demand[static_cast<std::size_t>(i)] = p_.Items[static_cast<std::size_t>(i)].Demand;
        r.Available.resize(static_cast<std::size_t>(m_));
        for (int j = 0; j < m_; ++j)
            r.Available[static_cast<std::size_t>(j)] =
                p_.Stocks[static_cast<std::size_t>(j)].Available;
        for (std::size_t k = 0; k < fixed_.size(); ++k) {
            if (fixed_[k] == 0) continue;
            const Pattern& pattern = columns_[k];
            r.FixedCost += double(fixed_[k]) * CostOf(pattern.Stock);
            for (const auto& [item, count] : pattern.Pieces)
                r.Demand[static_cast<std::size_t>(item)] -=
                    static_cast<long long>(count) * fixed_[k];
            if (r.Available[static_cast<std::size_t>(pattern.Stock)] >= 0)
                r.Available[static_cast<std::size_t>(pattern.Stock)] -= fixed_[k];
        }
        r.Bounds.resize(static_cast<std::size_t>(n_));
        for (int i = 0; i < n_; ++i) {
            r.Bounds[static_cast<std::size_t>(i)] =
                static_cast<int>(std::max<long long>(0, r.Demand[static_cast<std::size_t>(i)]));
        }
        return r;
    }

    double ReducedCost(const Pattern& pattern, const std::vector<double>& pi,
                       const std::vector<double>& sigma) const {
        double value = 0.0;
        for (const auto& [item, count] : pattern.Pieces)
            value += count * pi[static_cast<std::size_t>(item)];
        return CostOf(pattern.Stock) - sigma[static_cast<std::size_t>(pattern.Stock)] - value;
    }

    // A lower bound on the programme from any duals, `least` being the least reduced cost per
    // unit of stock length of any pattern at them. The plans that matter use no more stock than
    // the best plan, so they cost at least the duals' worth plus that much stock at `least`.
    // With one stock length and no limits, Farley's bound is often higher: no bar is worth more
    // than the best pattern, so the pieces' worth needs at least that many bars.
    double LagrangeanBound(const std::vector<double>& pi, const std::vector<double>& sigma,
                           double least, const Residual& r) const {
        double worth = 0.0;
        for (int i = 0; i < n_; ++i)
            worth +=
                pi[static_cast<std::size_t>(i)] * double(r.Demand[static_cast<std::size_t>(i)]);
        double limits = 0.0;
        for (int j = 0; j < m_; ++j) {
            if (r.Available[static_cast<std::size_t>(j)] >= 0)
                limits += sigma[static_cast<std::size_t>(j)] *
                          double(r.Available[static_cast<std::size_t>(j)]);
        }
        // A piece left uncut costs its penalty instead.
        double shortage = 0.0;
        for (int i = 0; i < n_; ++i) {
            shortage += double(r.Bounds[static_cast<std::size_t>(i)]) *
                        std::min(0.0, Penalty(i) - pi[static_cast<std::size_t>(i)]);
        }
        const double budget = std::max(0.0, bestCost_ - r.FixedCost);
        double lower = r.FixedCost + worth + limits + shortage + budget * std::min(0.0, least);
        if (m_ == 1 && p_.Stocks.front().Available < 0 && least < 0.0) {
            // The most worth per unit of cost: of the best pattern, or of a piece left uncut.
            double perCost = 1.0 - least;
            for (int i = 0; i < n_; ++i)
                perCost = std::max(perCost, pi[static_cast<std::size_t>(i)] / Penalty(i));
            lower = std::max(lower, r.FixedCost + worth / perCost);
        }
        return lower;
    }

    // --- from the programme to bars: diving, with a few steps back ---

    // Fixes the whole bars of the programme's solution, then the largest fraction, and solves
    // again, until the solution is whole. Where that fails, up to `Discrepancies` times another
    // fraction is fixed instead; a branch stops where its bound cannot beat the best plan.
    // With a target, branches whose bound passes it are left: the dive looks for a plan of
    // the target's material only.
    void Dive(std::optional<long long> target, int discrepancies, long long nodes) {
        fixed_.assign(columns_.size(), 0);
        diveNodes_ = 0;
        diveNodeLimit_ = nodes;
        diveTarget_ = target;
        DiveFrom(discrepancies);
        fixed_.assign(columns_.size(), 0);
        for (std::size_t k = 0; k < columns_.size(); ++k) lp_.setColumnLower(PatternColumn(k), 0.0);
        Resolve(false);
    }

    // True when the dive found a plan that meets the bound.
    bool DiveFrom(int discrepancies) {
        if (Stopped() || ++diveNodes_ > diveNodeLimit_) return false;
        fixed_.resize(columns_.size(), 0);
        double bound = 0.0;
        ColumnGeneration(true, &bound, MaxDiveRounds, diveTarget_);
        fixed_.resize(columns_.size(), 0);
        // The bound holds however far the programme got; its solution only when it was solved.
        if (std::isfinite(bound)) {
            if (best_.Unplaced == 0 && RoundUp(bound) >= bestCharge_) return false;
            if (diveTarget_ && RoundUp(bound) > *diveTarget_) return false;
        }
        if (!lp_.isProvenOptimal()) return false;
        const double z = lp_.objectiveValue();
        if (z >= bestCost_ - 0.5) return false;
        const double* x = lp_.primalColumnSolution();
        // Whole bars are taken as they are; only fractions need a decision.
        std::vector<std::pair<std::size_t, int>> raised;
        for (std::size_t k = 0; k < columns_.size(); ++k) {
            const int whole = static_cast<int>(std::floor(x[PatternColumn(k)] + Epsilon));
            if (whole > fixed_[k]) {
                raised.push_back({k, fixed_[k]});
                SetFixed(k, whole);
            }
        }
        bool meets = false;
        if (!raised.empty() && diveTarget_) {
            // What the whole bars leave is often small enough to fill bar by bar.
            const Residual residual = ResidualJob();
            meets = FillToBound(ResidualFillNodes, 0, &residual) == Filling::Found && Proven();
        }
        if (meets) {
        } else if (!raised.empty()) {
            Resolve(false);
            meets = DiveFrom(discrepancies);
        } else {
            std::vector<std::pair<double, std::size_t>> fractions;
            for (std::size_t k = 0; k < columns_.size(); ++k) {
                const double f = x[PatternColumn(k)] - fixed_[k];
                if (f > Epsilon) fractions.push_back({f, k});
            }
            if (fractions.empty()) {
                RecordIntegral();
                meets = Proven();
            } else {
                std::sort(fractions.rbegin(), fractions.rend());
                const int tries = std::min<int>(static_cast<int>(fractions.size()),
                                                1 + (discrepancies > 0 ? 1 : 0));
                for (int t = 0; t < tries && !meets && !Stopped(); ++t) {
                    const std::size_t k = fractions[static_cast<std::size_t>(t)].second;
                    const int before = fixed_[k];
                    SetFixed(k, before + 1);
                    Resolve(false);
                    meets = DiveFrom(discrepancies - t);
                    SetFixed(k, before);
                }
                Resolve(false);
            }
        }
        for (auto it = raised.rbegin(); it != raised.rend(); ++it) SetFixed(it->first, it->second);
        return meets;
    }

    void SetFixed(std::size_t k, int bars) {
        fixed_[k] = bars;
        lp_.setColumnLower(PatternColumn(k), bars);
    }

    // The programme's solution is whole: its bars, with the pieces beyond the demand left off.
    void RecordIntegral() {
        const double* x = lp_.primalColumnSolution();
        std::vector<long long> left(static_cast<std::size_t>(n_));
        for (int i = 0; i < n_; ++i)
            left[static_cast<std::size_t>(i)] = p_.Items[static_cast<std::size_t>(i)].Demand;
        std::vector<std::pair<Pattern, int>> patterns;
        for (std::size_t k = 0; k < columns_.size(); ++k) {
            const int bars = static_cast<int>(std::llround(x[PatternColumn(k)]));
            if (bars <= 0) continue;
            // Bar by bar, so that a surplus comes off only the bars that have it.
            for (int b = 0; b < bars; ++b) {
                Pattern cut;
                cut.Stock = columns_[k].Stock;
                for (const auto& [item, count] : columns_[k].Pieces) {
                    const int take = static_cast<int>(
                        std::min<long long>(count, left[static_cast<std::size_t>(item)]));
                    if (take > 0) {
                        cut.Pieces.push_back({item, take});
                        left[static_cast<std::size_t>(item)] -= take;
                    }
                }
                if (!cut.Pieces.empty()) patterns.push_back({cut, 1});
            }
        }
        Accept(Merge(patterns), left);
    }

    // --- the integer programme over the patterns known ---

    // Stops the branch and bound when the user cancels or the time is up; with offcut rows,
    // also a short while after there is a plan whose new stock meets the bound (the best plan
    // before it, or one it found), as only offcut length is left to gain then, which is not
    // worth keeping the user waiting for.
    class StopWhen : public CbcEventHandler {
    public:
        StopWhen(const Solver& solver, std::optional<double> goodEnough)
            : solver_(solver), goodEnough_(goodEnough) {
            if (solver.NewStockAtBound()) reached_ = Clock::now();
        }
        CbcAction event(CbcEvent) override {
            if (solver_.Stopped()) return stop;
            if (!reached_ && goodEnough_ && model_ != nullptr &&
                model_->getObjValue() <= *goodEnough_)
                reached_ = Clock::now();
            if (reached_ &&
                Clock::now() - *reached_ >= std::chrono::duration<double>(OffcutPolishSeconds))
                return stop;
            return noAction;
        }
        CbcEventHandler* clone() const override { return new StopWhen(*this); }

    private:
        const Solver& solver_;
        std::optional<double> goodEnough_;
        std::optional<Clock::time_point> reached_;
    };

    // Every pattern generated so far and `extra`, as a whole-number programme, searched for a
    // plan cheaper than the best by branch and bound; only plans at the bound are asked for when
    // `toBound`, which prunes far more.
    // `alone`: `extra` are all the patterns there are, searched until the deadline. True when
    // the search went to its end:
    // no plan among these patterns beats the best then.
    bool RestrictedMaster(const std::vector<Pattern>& extra, bool toBound, double seconds,
                          bool alone = false) {
        if (best_.Unplaced > 0) return false;
        std::vector<Pattern> pool = extra;
        if (!alone && (!toBound || extra.empty())) {
            for (const Pattern& p : columns_) pool.push_back(p);
        }
        const int rows = n_ + static_cast<int>(std::count_if(stockRow_.begin(), stockRow_.end(),
                                                             [](int r) { return r >= 0; }));
        CoinPackedMatrix matrix(true, 0, 0);
        matrix.setDimensions(rows, 0);
        std::vector<double> cost, lower, upper;
        for (const Pattern& pattern : pool) {
            CoinPackedVector column;
            for (const auto& [item, count] : pattern.Pieces) column.insert(item, count);
            const int row = stockRow_[static_cast<std::size_t>(pattern.Stock)];
            const Stock& stock = p_.Stocks[static_cast<std::size_t>(pattern.Stock)];
            if (row >= 0) column.insert(row, 1.0);
            matrix.appendCol(column);
            cost.push_back(CostOf(pattern.Stock));
            lower.push_back(0.0);
            upper.push_back(stock.Available >= 0 ? stock.Available : COIN_DBL_MAX);
        }
        std::vector<double> rowLower(static_cast<std::size_t>(rows), -COIN_DBL_MAX);
        std::vector<double> rowUpper(static_cast<std::size_t>(rows), COIN_DBL_MAX);
        // A plan at the bound that wastes nothing cuts exactly what is asked.
        long long total = 0;
        for (const Item& item : p_.Items) total += static_cast<long long>(item.Size) * item.Demand;
        const bool exact = toBound && rounded_ && weight_ == 0 && *rounded_ == total;
        for (int i = 0; i < n_; ++i) {
            rowLower[static_cast<std::size_t>(i)] = p_.Items[static_cast<std::size_t>(i)].Demand;
            if (exact)
                rowUpper[static_cast<std::size_t>(i)] =
                    p_.Items[static_cast<std::size_t>(i)].Demand;
        }
        for (int j = 0; j < m_; ++j) {
            const int row = stockRow_[static_cast<std::size_t>(j)];
            if (row >= 0)
                rowUpper[static_cast<std::size_t>(row)] =
                    p_.Stocks[static_cast<std::size_t>(j)].Available;
        }
        OsiClpSolverInterface lp;
        lp.messageHandler()->setLogLevel(0);
        lp.loadProblem(matrix, lower.data(), upper.data(), cost.data(), rowLower.data(),
                       rowUpper.data());
        for (int k = 0; k < static_cast<int>(pool.size()); ++k) lp.setInteger(k);
        CbcModel model(lp);
        model.setLogLevel(0);
        model.messageHandler()->setLogLevel(0);
        const double target = toBound && rounded_ ? double(*rounded_) : bestCost_ - 1.0;
        model.setCutoff(target + 0.5);
        if (c_.Deadline) {
            if (alone) seconds = std::numeric_limits<double>::infinity();
            seconds = std::min(seconds,
                               std::chrono::duration<double>(*c_.Deadline - Clock::now()).count());
        }
        if (seconds <= 0) return false;
        seconds = std::min(seconds, 1e6);
        model.setMaximumSeconds(seconds);
        // Strong branching costs more than it saves on these programmes.
        model.setNumberStrong(0);
        model.setNumberBeforeTrust(0);
        std::optional<double> goodEnough;
        if (weight_ > 0 && rounded_)
            goodEnough = double(*rounded_ / weight_ * weight_ + offcutTotal_ / offStep_) + 0.5;
        StopWhen stopWhen(*this, goodEnough);
        model.passInEventHandler(&stopWhen);
        model.branchAndBound();
        const bool finished = model.status() == 0 && !Stopped() &&
                              (model.isProvenOptimal() || model.isProvenInfeasible());
        const double* x = model.bestSolution();
        if (x == nullptr) return finished;
        std::vector<long long> left(static_cast<std::size_t>(n_));
        for (int i = 0; i < n_; ++i)
            left[static_cast<std::size_t>(i)] = p_.Items[static_cast<std::size_t>(i)].Demand;
        std::vector<std::pair<Pattern, int>> patterns;
        for (std::size_t k = 0; k < pool.size(); ++k) {
            const int bars = static_cast<int>(std::llround(x[k]));
            for (int b = 0; b < bars; ++b) patterns.push_back({Trimmed(pool[k], left), 1});
        }
        Accept(Merge(patterns), left);
        return finished;
    }

    // A bar of `pattern` with the pieces no longer wanted left off; `left` counts down.
    Pattern Trimmed(const Pattern& pattern, std::vector<long long>& left) const {
        Pattern cut;
        cut.Stock = pattern.Stock;
        for (const auto& [item, count] : pattern.Pieces) {
            const int take =
                static_cast<int>(std::min<long long>(count, left[static_cast<std::size_t>(item)]));
            if (take > 0) {
                cut.Pieces.push_back({item, take});
                left[static_cast<std::size_t>(item)] -= take;
            }
        }
        return cut;
    }

    // Every pattern of each stock row that wastes at most `maxWaste` and has no room for
    // another piece that is asked for; false, and nothing, when there are more than `most` or
    // the search for them grows too long. No plan needs other patterns than these (with pieces
    // it does not need left off): a piece that still fits can always be added.
    bool Enumerate(long long maxWaste, std::size_t most, std::vector<Pattern>& found) const {
        found.clear();
        std::vector<int> counts(static_cast<std::size_t>(n_), 0);
        // What the pieces from each size on could fill at most.
        std::vector<long long> after(bySize_.size() + 1, 0);
        for (std::size_t k = bySize_.size(); k-- > 0;) {
            const Item& item = p_.Items[static_cast<std::size_t>(bySize_[k])];
            after[k] = after[k + 1] + static_cast<long long>(item.Size) * item.Demand;
        }
        bool overflow = false;
        long long visits = 0;
        for (int j = 0; j < m_ && !overflow; ++j) {
            const Stock& stock = p_.Stocks[static_cast<std::size_t>(j)];
            if (stock.Available == 0) continue;
            const int length = stock.Length;
            const long long least = length - std::min<long long>(maxWaste, length);
            const auto walk = [&](auto&& self, std::size_t at, int filled) -> void {
                if (overflow || filled + after[at] < least) return;
                if (++visits > MaxEnumerationVisits) {
                    overflow = true;
                    return;
                }
                if (at == bySize_.size()) {
                    for (int i : bySize_) {
                        const Item& item = p_.Items[static_cast<std::size_t>(i)];
                        if (counts[static_cast<std::size_t>(i)] < item.Demand &&
                            item.Size <= length - filled)
                            return;
                    }
                    if (filled == 0) return;
                    if (found.size() >= most) {
                        overflow = true;
                        return;
                    }
                    found.push_back(MakePattern(j, counts));
                    return;
                }
                const int i = bySize_[at];
                const Item& item = p_.Items[static_cast<std::size_t>(i)];
                const int take = std::min(item.Demand, (length - filled) / item.Size);
                for (int t = take; t >= 0; --t) {
                    counts[static_cast<std::size_t>(i)] = t;
                    self(self, at + 1, filled + t * item.Size);
                }
                counts[static_cast<std::size_t>(i)] = 0;
            };
            walk(walk, 0, 0);
        }
        if (overflow) found.clear();
        return !overflow;
    }

    // One stock length and a bound that leaves less than a bar to waste: the patterns a plan
    // at the bound can use, when they are few.
    std::vector<Pattern> TightPatterns() const {
        std::vector<Pattern> found;
        if (!rounded_ || weight_ > 0) return found;
        for (const Stock& s : p_.Stocks) {
            if (s.Length != p_.Stocks.front().Length) return found;
        }
        long long total = 0;
        for (const Item& item : p_.Items) total += static_cast<long long>(item.Size) * item.Demand;
        const long long waste = *rounded_ - total;
        if (waste < 0 || waste >= p_.Stocks.front().Length) return found;
        Enumerate(waste, MaxTightPatterns, found);
        return found;
    }

    // Few patterns in all: the integer programme over every one of them finds the best plan
    // there is, and when it finishes, that plan is proven best.
    void CompleteSearch() {
        if (best_.Unplaced > 0) return;
        std::vector<Pattern> all;
        if (!Enumerate(std::numeric_limits<long long>::max(), MaxCompletePatterns, all)) return;
        if (RestrictedMaster(all, false, CompleteSeconds, true)) {
            rounded_ = bestCharge_;
            Report();
        }
    }

    // --- one stock length: a search for a plan of exactly the bound's bars ---

    // Bar by bar, the longest piece left first, completed by the pieces that fill its bar best;
    // the bound leaves so much waste for all bars together, and no more. Used where diving
    // stops one bar short, as on jobs whose best plans fill every bar to the millimetre.
    enum class Filling { NotApplicable, Found, GaveUp, NoPlan };

    // `shuffle` 0 tries the fullest ways of filling a bar longest pieces first; others try ways
    // that fill a bar equally well in an order of their own. NoPlan: the search went through
    // every way and found no plan of the bound's bars, so the bound rises by one bar.
    // With `fixed`, the bars the dive fixed stay and the search fills what they leave.
    Filling FillToBound(long long nodeLimit, unsigned shuffle, const Residual* fixed = nullptr) {
        if (!rounded_ || best_.Unplaced > 0 || weight_ > 0) return Filling::NotApplicable;
        const int length = p_.Stocks.front().Length;
        long long barsAvailable = 0;
        for (int j = 0; j < m_; ++j) {
            const Stock& s = p_.Stocks[static_cast<std::size_t>(j)];
            if (s.Length != length) return Filling::NotApplicable;
            const long long available =
                fixed != nullptr ? fixed->Available[static_cast<std::size_t>(j)] : s.Available;
            barsAvailable = available < 0 || barsAvailable < 0 ? -1 : barsAvailable + available;
        }
        const double fixedCost = fixed != nullptr ? fixed->FixedCost : 0.0;
        const long long bars = (*rounded_ - std::llround(fixedCost)) / length;
        if (bars < 0 || (barsAvailable >= 0 && barsAvailable < bars)) return Filling::NotApplicable;
        // Distinct sizes, longest first, with their pieces.
        fill_ = {};
        long long total = 0;
        for (int i : bySize_) {
            const Item& item = p_.Items[static_cast<std::size_t>(i)];
            const int demand =
                fixed != nullptr ? fixed->Bounds[static_cast<std::size_t>(i)] : item.Demand;
            if (demand == 0) continue;
            if (item.Size > length) return Filling::NotApplicable;
            fill_.Item.push_back(i);
            fill_.Size.push_back(item.Size);
            fill_.Left.push_back(demand);
            total += static_cast<long long>(item.Size) * demand;
        }
        const long long waste = bars * length - total;
        if (waste < 0) return Filling::NotApplicable;
        fill_.Length = length;
        fill_.Bars.clear();
        fill_.Nodes = 0;
        fill_.NodeLimit = nodeLimit;
        fill_.Incomplete = false;
        fill_.Random.seed(shuffle);
        fill_.Shuffle = shuffle != 0;
        if (!FillBar(waste, static_cast<int>(bars))) {
            if (fill_.Incomplete || Stopped() || fixed != nullptr) return Filling::GaveUp;
            // Every way was tried: no plan has so few bars.
            *rounded_ += length;
            Report();
            return Filling::NoPlan;
        }
        std::vector<std::pair<Pattern, int>> patterns;
        std::vector<long long> left(static_cast<std::size_t>(n_));
        for (int i = 0; i < n_; ++i)
            left[static_cast<std::size_t>(i)] = p_.Items[static_cast<std::size_t>(i)].Demand;
        std::vector<int> used(static_cast<std::size_t>(m_), 0);
        for (std::size_t k = 0; fixed != nullptr && k < fixed_.size(); ++k) {
            for (int b = 0; b < fixed_[k]; ++b) patterns.push_back({Trimmed(columns_[k], left), 1});
            used[static_cast<std::size_t>(columns_[k].Stock)] += fixed_[k];
        }
        int stock = 0;
        for (const auto& bar : fill_.Bars) {
            while (p_.Stocks[static_cast<std::size_t>(stock)].Available >= 0 &&
                   used[static_cast<std::size_t>(stock)] >=
                       p_.Stocks[static_cast<std::size_t>(stock)].Available) {
                ++stock;
            }
            ++used[static_cast<std::size_t>(stock)];
            std::vector<int> counts(static_cast<std::size_t>(n_), 0);
            for (const auto& [k, count] : bar)
                counts[static_cast<std::size_t>(fill_.Item[k])] += count;
            patterns.push_back({Trimmed(MakePattern(stock, counts), left), 1});
        }
        Accept(Merge(patterns), left);
        return Filling::Found;
    }

    // Fills the next bar and those after it; false when no way within `waste` was found.
    bool FillBar(long long waste, int barsLeft) {
        std::size_t first = 0;
        while (first < fill_.Left.size() && fill_.Left[first] == 0) ++first;
        if (first == fill_.Left.size()) return true;
        if (barsLeft == 0) return false;
        if (++fill_.Nodes > fill_.NodeLimit || ((fill_.Nodes & 1023) == 0 && Stopped())) {
            fill_.Incomplete = true;
            return false;
        }
        // The longest piece left opens the bar; the ways to complete it, fullest first.
        --fill_.Left[first];
        const int room = fill_.Length - fill_.Size[first];
        const std::size_t sizes = fill_.Size.size();
        fill_.After.assign(sizes + 1, 0);
        for (std::size_t k = sizes; k-- > first;) {
            fill_.After[k] =
                fill_.After[k + 1] + static_cast<long long>(fill_.Left[k]) * fill_.Size[k];
        }
        std::vector<int> extra(sizes, 0);
        std::vector<Way> ways;
        Completions(first, room, room - static_cast<int>(std::min<long long>(waste, room)), 0,
                    extra, ways);
        if (ways.size() >= MaxCompletions) fill_.Incomplete = true;
        std::stable_sort(ways.begin(), ways.end(),
                         [](const Way& a, const Way& b) { return a.Filled > b.Filled; });
        if (fill_.Shuffle) {
            for (auto from = ways.begin(); from != ways.end();) {
                auto to = std::find_if(from, ways.end(),
                                       [&](const Way& w) { return w.Filled != from->Filled; });
                std::shuffle(from, to, fill_.Random);
                from = to;
            }
        }
        bool found = false;
        for (const Way& way : ways) {
            for (const auto& [k, count] : way.Pieces) fill_.Left[k] -= count;
            fill_.Bars.push_back(way.Pieces);
            fill_.Bars.back().push_back({first, 1});
            found = FillBar(waste - (room - way.Filled), barsLeft - 1);
            if (found) break;
            fill_.Bars.pop_back();
            for (const auto& [k, count] : way.Pieces) fill_.Left[k] += count;
            if (fill_.Incomplete && fill_.Nodes > fill_.NodeLimit) break;
            if (Stopped()) break;
        }
        ++fill_.Left[first];
        return found;
    }

    // One way to complete a bar: pieces of size indices, and the length they fill.
    struct Way {
        int Filled = 0;
        std::vector<std::pair<std::size_t, int>> Pieces;
    };

    // The ways to put pieces of size index `from` on into `room`, filling at least `least`;
    // only ways that leave no room for another piece that is left.
    void Completions(std::size_t from, int room, int least, int filled, std::vector<int>& extra,
                     std::vector<Way>& ways) const {
        if (ways.size() >= MaxCompletions || filled + fill_.After[from] < least) return;
        if (from == fill_.Size.size()) {
            Way way;
            way.Filled = filled;
            for (std::size_t k = 0; k < fill_.Size.size(); ++k) {
                if (fill_.Left[k] > extra[k] && fill_.Size[k] <= room - filled) return;
                if (extra[k] > 0) way.Pieces.push_back({k, extra[k]});
            }
            ways.push_back(std::move(way));
            return;
        }
        const int size = fill_.Size[from];
        const int most = std::min(fill_.Left[from], (room - filled) / size);
        for (int take = most; take >= 0; --take) {
            extra[from] = take;
            Completions(from + 1, room, least, filled + take * size, extra, ways);
        }
        extra[from] = 0;
    }

    const Problem& p_;
    const Control& c_;
    int n_ = 0;
    int m_ = 0;
    int maxLength_ = 0;
    int minSize_ = 1;
    std::vector<int> bySize_;

    ClpSimplex lp_;
    std::vector<int> stockRow_;
    int shortageColumns_ = 0;
    std::vector<Pattern> columns_;
    std::unordered_set<Pattern, PatternHash> known_;
    std::vector<int> fixed_;
    Knapsack knapsack_;

    // The search of FillToBound: sizes longest first, pieces left, bars so far.
    struct FillState {
        int Length = 0;
        std::vector<int> Item;
        std::vector<int> Size;
        std::vector<int> Left;
        std::vector<std::vector<std::pair<std::size_t, int>>> Bars;
        std::vector<long long> After;  // what the pieces left from each size on fill
        long long Nodes = 0;
        long long NodeLimit = 0;
        bool Incomplete = false;  // some ways were not tried
        bool Shuffle = false;
        std::mt19937 Random;
    };
    static constexpr std::size_t MaxCompletions = 256;
    static constexpr long long FirstFillNodes = 20000;
    static constexpr long long ResidualFillNodes = 2000;
    FillState fill_;
    long long diveNodes_ = 0;
    long long diveNodeLimit_ = 0;
    std::optional<long long> diveTarget_;
    std::optional<Clock::time_point> softDeadline_;
    long long step_ = 1;      // the stock lengths' common divisor
    std::vector<bool> sums_;  // sums of bars, in steps; empty with one stock length
    // With offcut rows: sums_ is of new bars, offSums_ of offcut bars in offStep_.
    std::vector<bool> offSums_;
    std::vector<long long> cost_;  // of a bar of each stock row
    long long maxCost_ = 0;
    long long weight_ = 0;  // of new stock over offcuts; 0 without offcut rows
    long long offStep_ = 1;
    long long offcutTotal_ = 0;  // the length of every offcut bar together
    bool offcutRows_ = false;
    static constexpr long long MaxSumStates = 1LL << 26;
    static constexpr int MaxDiscrepancies = 3;
    static constexpr int MaxDiveRounds = 200;
    static constexpr std::size_t MaxTightPatterns = 5000;
    static constexpr std::size_t MaxCompletePatterns = 20000;
    static constexpr long long MaxEnumerationVisits = 2000000;
    static constexpr double TightSeconds = 2.0;
    static constexpr double ImproveSeconds = 1.0;
    // The offcut length's own search, once the new stock is proven least.
    static constexpr double OffcutPolishSeconds = 1.0;
    // With no deadline the search over every pattern stops here; with one, at the deadline.
    static constexpr double CompleteSeconds = 5.0;
    static constexpr unsigned UnlimitedRestarts = 12;
    static constexpr int ColumnsPerPricing = 8;
    static constexpr double Smoothing = 0.7;
    static constexpr long long MaxDiveNodes = 2000;

    Plan best_;
    double bestCost_ = std::numeric_limits<double>::infinity();
    long long bestCharge_ = 0;  // the best plan's cost without its pieces left uncut
    std::optional<double> rootBound_;
    std::optional<long long> rounded_;
};

}  // namespace

Result Solve(const Problem& problem, const Control& control) {
    return Solver(problem, control).Run();
}

std::string CheckPlan(const Problem& problem, const Plan& plan) {
    const std::size_t n = problem.Items.size();
    std::vector<long long> cut(n, 0);
    std::vector<long long> bars(problem.Stocks.size(), 0);
    long long material = 0;
    long long offcuts = 0;
    for (const auto& [pattern, count] : plan.Patterns) {
        if (pattern.Stock < 0 || static_cast<std::size_t>(pattern.Stock) >= problem.Stocks.size())
            return "a pattern names no stock row";
        if (count <= 0) return "a pattern has no bars";
        long long used = 0;
        for (const auto& [item, pieces] : pattern.Pieces) {
            if (item < 0 || static_cast<std::size_t>(item) >= n) return "a pattern names no item";
            if (pieces <= 0) return "a pattern cuts no pieces of an item it names";
            used +=
                static_cast<long long>(pieces) * problem.Items[static_cast<std::size_t>(item)].Size;
            cut[static_cast<std::size_t>(item)] += static_cast<long long>(pieces) * count;
        }
        const Stock& stock = problem.Stocks[static_cast<std::size_t>(pattern.Stock)];
        if (used > stock.Length) return "a pattern is longer than its bar";
        bars[static_cast<std::size_t>(pattern.Stock)] += count;
        material += static_cast<long long>(count) * stock.Length;
        if (stock.Offcut && stock.Available >= 0)
            offcuts += static_cast<long long>(count) * stock.Length;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (cut[i] > problem.Items[i].Demand) return "more pieces of an item than asked for";
    }
    for (std::size_t j = 0; j < problem.Stocks.size(); ++j) {
        const int available = problem.Stocks[j].Available;
        if (available >= 0 && bars[j] > available) return "more bars of a stock row than it has";
    }
    if (material != plan.Material) return "the material is not the sum of the bars";
    if (offcuts != plan.OffcutMaterial) return "the offcut material is not the sum of its bars";
    long long asked = 0;
    long long placed = 0;
    for (std::size_t i = 0; i < n; ++i) {
        asked += problem.Items[i].Demand;
        placed += cut[i];
    }
    if (asked - placed != plan.Unplaced) return "the pieces left over do not add up";
    return {};
}

}  // namespace tallora::csp
