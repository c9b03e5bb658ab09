#include "engine/ComplexAlgorithm.h"

#include <algorithm>
#include <cmath>
#include <functional>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TALLORA_KNAPSACK_WIDE 1
#endif

namespace tallora {

namespace {

// One choice of a stage over a run of states: where the choice's candidate is strictly greater
// than the value so far, it becomes the value and the choice is recorded. Several states at a
// time where the processor can; the arithmetic is the same IEEE addition and comparison each
// way, so the tables are the same.
void RelaxStatesFrom(size_t idx, bool sse2, double* value, int* choice, const double* next,
                     size_t count, double worth, int recorded) {
#if defined(__SSE2__)
    const __m128d worth2 = _mm_set1_pd(worth);
    const __m128i recorded2 = _mm_set1_epi32(recorded);
    for (; sse2 && idx + 2 <= count; idx += 2) {
        const __m128d candidate = _mm_add_pd(worth2, _mm_loadu_pd(next + idx));
        const __m128d current = _mm_loadu_pd(value + idx);
        const __m128d better = _mm_cmplt_pd(current, candidate);
        if (_mm_movemask_pd(better) == 0) continue;  // the usual case
        _mm_storeu_pd(value + idx,
                      _mm_or_pd(_mm_and_pd(better, candidate), _mm_andnot_pd(better, current)));
        const __m128i mask = _mm_shuffle_epi32(_mm_castpd_si128(better), _MM_SHUFFLE(2, 0, 2, 0));
        const __m128i old = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(choice + idx));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(choice + idx),
                         _mm_or_si128(_mm_and_si128(mask, recorded2), _mm_andnot_si128(mask, old)));
    }
#endif
    for (; idx < count; ++idx) {
        const double candidate = worth + next[idx];
        if (value[idx] < candidate) {
            value[idx] = candidate;
            choice[idx] = recorded;
        }
    }
}

#if defined(TALLORA_KNAPSACK_WIDE)
__attribute__((target("avx2"))) void RelaxStatesFour(double* value, int* choice, const double* next,
                                                     size_t count, double worth, int recorded) {
    const __m256d worth4 = _mm256_set1_pd(worth);
    const __m128i recorded4 = _mm_set1_epi32(recorded);
    const __m256i lowHalves = _mm256_setr_epi32(0, 2, 4, 6, 0, 0, 0, 0);
    size_t idx = 0;
    for (; idx + 4 <= count; idx += 4) {
        const __m256d candidate = _mm256_add_pd(worth4, _mm256_loadu_pd(next + idx));
        const __m256d current = _mm256_loadu_pd(value + idx);
        const __m256d better = _mm256_cmp_pd(current, candidate, _CMP_LT_OS);
        if (_mm256_movemask_pd(better) == 0) continue;
        _mm256_storeu_pd(value + idx, _mm256_blendv_pd(current, candidate, better));
        const __m128i mask = _mm256_castsi256_si128(
            _mm256_permutevar8x32_epi32(_mm256_castpd_si256(better), lowHalves));
        __m128i* at = reinterpret_cast<__m128i*>(choice + idx);
        _mm_storeu_si128(at, _mm_blendv_epi8(_mm_loadu_si128(at), recorded4, mask));
    }
    RelaxStatesFrom(idx, true, value, choice, next, count, worth, recorded);
}

__attribute__((target("avx512f,avx512vl"))) void RelaxStatesEight(double* value, int* choice,
                                                                  const double* next, size_t count,
                                                                  double worth, int recorded) {
    const __m512d worth8 = _mm512_set1_pd(worth);
    const __m256i recorded8 = _mm256_set1_epi32(recorded);
    size_t idx = 0;
    for (; idx + 8 <= count; idx += 8) {
        const __m512d candidate = _mm512_add_pd(worth8, _mm512_loadu_pd(next + idx));
        const __m512d current = _mm512_loadu_pd(value + idx);
        const __mmask8 better = _mm512_cmp_pd_mask(current, candidate, _CMP_LT_OS);
        if (better == 0) continue;
        _mm512_mask_storeu_pd(value + idx, better, candidate);
        _mm256_mask_storeu_epi32(choice + idx, better, recorded8);
    }
    RelaxStatesFrom(idx, true, value, choice, next, count, worth, recorded);
}
#endif

void RelaxStates(KnapsackLanes lanes, double* value, int* choice, const double* next, size_t count,
                 double worth, int recorded) {
    switch (lanes) {
#if defined(TALLORA_KNAPSACK_WIDE)
        case KnapsackLanes::Eight:
            return RelaxStatesEight(value, choice, next, count, worth, recorded);
        case KnapsackLanes::Four:
            return RelaxStatesFour(value, choice, next, count, worth, recorded);
#endif
        case KnapsackLanes::Two:
            return RelaxStatesFrom(0, true, value, choice, next, count, worth, recorded);
        default:
            return RelaxStatesFrom(0, false, value, choice, next, count, worth, recorded);
    }
}

}  // namespace

bool HasKnapsackLanes(KnapsackLanes lanes) {
    switch (lanes) {
        case KnapsackLanes::One:
            return true;
        case KnapsackLanes::Two:
#if defined(__SSE2__)
            return true;
#else
            return false;
#endif
#if defined(TALLORA_KNAPSACK_WIDE)
        case KnapsackLanes::Four:
            return __builtin_cpu_supports("avx2");
        case KnapsackLanes::Eight:
            return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl");
#endif
        default:
            return false;
    }
}

KnapsackLanes WidestKnapsackLanes() {
    static const KnapsackLanes widest = [] {
        for (KnapsackLanes lanes : {KnapsackLanes::Eight, KnapsackLanes::Four, KnapsackLanes::Two})
            if (HasKnapsackLanes(lanes)) return lanes;
        return KnapsackLanes::One;
    }();
    return widest;
}

bool KnapsackTable(int capacity, const std::vector<int>& weights, const std::vector<double>& values,
                   KnapsackTables& tables, const std::function<bool()>& stop) {
    const int n = static_cast<int>(weights.size());
    tables.Capacity = capacity;
    if (n == 0) return true;
    const int L = capacity;
    const size_t states = static_cast<size_t>(L) + 1;  // state idx: L - idx capacity left

    // Every stage has all L + 1 states, so that every smaller capacity can be read from the same
    // table: a state's value and choice depend only on the stage and the capacity left. Every
    // stage writes the choice of each of its states, so the table needs no clearing.
    tables.Choice.resize(states * n);
    tables.Value.resize(states);
    tables.NextValue.resize(states);

    // Last stage: each choice's value is copies x value alone. For a finite positive value they
    // rise strictly with the copies, so the most copies that fit win; otherwise none is worth
    // more than nothing.
    {
        const int i = n - 1;
        double* value = tables.NextValue.data();
        int* choice = tables.Choice.data() + states * i;
        const int w = weights[i];
        const double v = values[i];
        if (std::isfinite(v)) {
            for (size_t idx = 0; idx < states; ++idx) {
                const int most = (L - static_cast<int>(idx)) / w;
                const double worth = static_cast<double>(most) * v;
                const bool taken = 0.0 < worth;
                value[idx] = taken ? worth : 0.0;
                choice[idx] = taken ? most + 1 : 0;
            }
        } else {
            std::fill(value, value + states, 0.0);
            std::fill(choice, choice + states, 0);
            for (int t = 0, off = 0; off <= L; ++t, off += w) {
                const double worth = static_cast<double>(t) * v;
                const size_t last = static_cast<size_t>(L - off) + 1;
                for (size_t idx = 0; idx < last; ++idx) {
                    if (value[idx] < worth) {
                        value[idx] = worth;
                        choice[idx] = t + 1;
                    }
                }
            }
        }
    }
    // Earlier stages, backwards; each state tries its choices in increasing order.
    for (int i = n - 2; i >= 0; --i) {
        if (stop && stop()) return false;
        const double* next = tables.NextValue.data();
        double* value = tables.Value.data();
        int* choice = tables.Choice.data() + states * i;
        // No copies: the later stages' value in the same state (never below 0), recorded when
        // positive.
        std::copy(next, next + states, value);
        for (size_t idx = 0; idx < states; ++idx) choice[idx] = next[idx] > 0.0 ? 1 : 0;
        // Copies of an item worth nothing never beat taking none: less capacity is never worth
        // more at the later stages.
        const double v = values[i];
        if (v > 0.0) {
            const int w = weights[i];
            for (int t = 1, off = w; off <= L; ++t, off += w) {
                const double worth = static_cast<double>(t) * v;
                const size_t last = static_cast<size_t>(L - off) + 1;
                RelaxStates(tables.Lanes, value, choice, next + off, last, worth, t + 1);
            }
        }
        std::swap(tables.Value, tables.NextValue);
    }
    return true;
}

void KnapsackCopies(int capacity, const std::vector<int>& weights, const KnapsackTables& tables,
                    std::vector<int>& copies) {
    const int n = static_cast<int>(weights.size());
    copies.assign(n, 0);
    if (n == 0 || capacity > tables.Capacity) return;
    const size_t states = static_cast<size_t>(tables.Capacity) + 1;
    // From the first stage at the full capacity; a stage without a choice ends it.
    size_t idx = static_cast<size_t>(tables.Capacity - capacity);
    for (int i = 0; i < n; ++i) {
        const int c = tables.Choice[states * i + idx];
        if (c == 0) break;
        copies[i] = c - 1;
        idx += static_cast<size_t>(c - 1) * weights[i];
    }
}

void Knapsack(int capacity, const std::vector<int>& weights, const std::vector<double>& values,
              std::vector<int>& copies, KnapsackTables& tables) {
    KnapsackTable(capacity, weights, values, tables);
    KnapsackCopies(capacity, weights, tables, copies);
}

namespace {

double Divide(double a, double b) {
    if (b == 0.0) throw DivisionByZero{};
    return a / b;
}

// Column generation: the live cut rows, their demand, and the pricing over the stock rows.
class Search {
public:
    Search(CalculationRun& run, SearchBasis& basis) : run_(run), tables_(run.Tables), b_(basis) {}

    void Run() {
        const int m = tables_.CutCount();
        b_.Reset(m);
        m_ = m;
        dual_.assign(m, 0.0);
        entering_.assign(m, 0);
        direction_.assign(m, 0.0);
        pivot_.assign(m, 0.0);
        weights_.resize(m);
        for (int i = 0; i < m; ++i) weights_[i] = tables_.Cuts[i].CutLength;
        if (run_.SearchTimeUp()) {
            run_.StoppedEarly = true;
            return;
        }

        StartingBasis();
        DualPrices();
        Pricing();
        int iterations = 0;
        int milestone = 0;
        while (bestGain_ >= 0.00001 && iterations < run_.SearchIterationLimit) {
            // Only a search that would go on is stopped early.
            if (run_.SearchTimeUp() || run_.BudgetSpent()) {
                run_.StoppedEarly = true;
                break;
            }
            ++iterations;
            if (run_.PermutationNumber % 25 == 1) milestone = run_.PermutationNumber;
            CalculationProgress progress;
            progress.Phase = CalculationPhase::Searching;
            progress.Milestone = milestone;
            run_.Report(progress);
            run_.CheckProgress();
            ++run_.PermutationNumber;
            Pivot();
            DualPrices();
            Pricing();
        }
        CalculationProgress done;
        done.Phase = CalculationPhase::Placing;
        run_.Report(done);
    }

private:
    double& Inverse(int i, int k) { return b_.BasisInverse[static_cast<size_t>(i) * m_ + k]; }
    int& Columns(int i, int j) { return b_.BasisColumns[static_cast<size_t>(i) * m_ + j]; }

    // Column j cuts only row j, as many as fit in the longest live stock.
    void StartingBasis() {
        const WorkingStockRow& longest = tables_.Stock.front();
        for (int j = 0; j < m_; ++j) {
            if (weights_[j] <= 0) throw DivisionByZero{};
            Columns(j, j) = longest.StockLength / weights_[j];
            Inverse(j, j) = Divide(1.0, Columns(j, j));
        }
        for (int j = 0; j < m_; ++j) {
            double level = 0.0;
            for (int k = 0; k < m_; ++k) {
                level += static_cast<double>(tables_.Cuts[k].CutQuantity) * Inverse(j, k);
            }
            b_.BasisLevel[j] = level;
            b_.BasisCost[j] = longest.StockCost;
            b_.BasisStockLength[j] = longest.StockLength;
        }
    }

    void DualPrices() {
        for (int i = 0; i < m_; ++i) {
            double price = 0.0;
            for (int j = 0; j < m_; ++j) price += b_.BasisCost[j] * Inverse(j, i);
            dual_[i] = price;
        }
    }

    // The knapsack of every live stock row, all read from one table of the longest; only a
    // strictly greater gain replaces the one kept.
    void Pricing() {
        std::fill(entering_.begin(), entering_.end(), 0);
        double best = 0.0;
        int longest = 0;
        for (const auto& stock : tables_.Stock) longest = std::max(longest, stock.StockLength);
        // The table of a large job takes a while: the deadline is looked at between its stages.
        if (!KnapsackTable(longest, weights_, dual_, knapsack_,
                           [this] { return run_.SearchTimeUp(); })) {
            run_.StoppedEarly = true;
            bestGain_ = 0.0;
            return;
        }
        for (const auto& stock : tables_.Stock) {
            KnapsackCopies(stock.StockLength, weights_, knapsack_, copies_);
            double value = 0.0;
            for (int i = 0; i < m_; ++i) value += static_cast<double>(copies_[i]) * dual_[i];
            const double gain = value - static_cast<double>(stock.StockCost);
            if (gain > best) {
                best = gain;
                enteringLength_ = stock.StockLength;
                enteringCost_ = static_cast<double>(stock.StockCost);
                entering_ = copies_;
            }
        }
        bestGain_ = best;
    }

    void Pivot() {
        for (int i = 0; i < m_; ++i) {
            double d = 0.0;
            for (int k = 0; k < m_; ++k) d += static_cast<double>(entering_[k]) * Inverse(i, k);
            direction_[i] = d;
        }
        // Ratio test; entries that are rounding noise never leave.
        int r = -1;
        double step = 1e30;
        for (int i = 0; i < m_; ++i) {
            const double ratio = direction_[i] > 1e-9 ? b_.BasisLevel[i] / direction_[i] : 1e30;
            if (step > ratio) {
                step = ratio;
                r = i;
            }
        }
        if (r < 0) throw DivisionByZero{};

        const double dr = direction_[r];
        for (int i = 0; i < m_; ++i) pivot_[i] = -direction_[i] / dr;
        pivot_[r] = 1.0 / dr;
        for (int i = 0; i < m_; ++i) {
            if (i == r) continue;
            const double f = pivot_[i];
            for (int k = 0; k < m_; ++k) Inverse(i, k) = Inverse(i, k) + f * Inverse(r, k);
        }
        for (int k = 0; k < m_; ++k) Inverse(r, k) = pivot_[r] * Inverse(r, k);

        for (int i = 0; i < m_; ++i) b_.BasisLevel[i] = b_.BasisLevel[i] - direction_[i] * step;
        b_.BasisLevel[r] = step;

        for (int i = 0; i < m_; ++i) Columns(i, r) = entering_[i];
        b_.BasisCost[r] = enteringCost_;
        b_.BasisStockLength[r] = enteringLength_;
    }

    CalculationRun& run_;
    WorkingTables& tables_;
    SearchBasis& b_;
    int m_ = 0;
    std::vector<int> weights_;
    std::vector<double> dual_;
    std::vector<int> entering_;
    std::vector<int> copies_;
    std::vector<double> direction_;
    std::vector<double> pivot_;
    int enteringLength_ = 0;
    double enteringCost_ = 0.0;
    double bestGain_ = 0.0;
    KnapsackTables knapsack_;
};

}  // namespace

void ComplexSearch(CalculationRun& run, SearchBasis& basis) { Search(run, basis).Run(); }

void RunComplex(CalculationRun& run) {
    WorkingTables& tables = run.Tables;
    NestAllInOneBar(tables);
    run.Settle();
    if (tables.FirstStockQuantity() != 0) {
        try {
            SearchBasis basis;
            ComplexSearch(run, basis);
            NestWholeBarsOfBasis(run, basis);
        } catch (const DivisionByZero&) {
            // Ends the search and NestWholeBarsOfBasis for this run; the generators below go on.
        }
    }
    run.Settle();
    // Stopped early: the driver places the rest as Fast does.
    if (run.StoppedEarly) return;
    RepeatPatterns(tables);
    run.Settle();
    NestBestFilledBar(tables);
    run.Settle();
    RepeatPatterns(tables);
    run.Settle();
    NestAllInOneBar(tables);
    run.Settle();
}

}  // namespace tallora
