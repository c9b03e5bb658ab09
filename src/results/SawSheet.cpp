#include "results/SawSheet.h"

#include <algorithm>
#include <map>
#include <set>

#include "job/RowTexts.h"
#include "results/CuttingList.h"
#include "results/CuttingListCsv.h"

namespace tallora {

namespace {

std::vector<SawRun> ForwardRuns(const CuttingPattern& pattern, int kerf) {
    std::vector<SawRun> runs;
    for (int k = 0; k < pattern.LengthCount(); ++k) {
        if (pattern.PieceCount[k] > 0)
            runs.push_back({pattern.CutLength[k] - kerf, pattern.PieceCount[k]});
    }
    return runs;
}

SawBar BarOf(const JobInput& input, const CalculationResult& result, int p, int bar,
             std::vector<SawRun> runs) {
    const Allowances& a = input.Allowances;
    const CuttingPattern& pattern = result.Patterns[static_cast<size_t>(p)];
    SawBar out;
    out.Pattern = p;
    out.BarOfPattern = bar;
    out.EnteredLength = pattern.StockLength + a.Trim + a.Hold;
    long long used = 0;
    for (const SawRun& run : runs) used += static_cast<long long>(run.Length + a.Kerf) * run.Count;
    out.Remnant = static_cast<int>(pattern.StockLength + a.Hold - used);
    out.KeepOffcut = pattern.IsOffcut && !a.NoOffcuts;
    out.FromInventory = PatternFromInventoryOffcuts(result, p);
    out.Runs = std::move(runs);
    return out;
}

}  // namespace

std::vector<SawBar> CuttingListOrder(const JobInput& input, const CalculationResult& result) {
    std::vector<SawBar> bars;
    for (int p = 0; p < result.PatternCount(); ++p) {
        const CuttingPattern& pattern = result.Patterns[static_cast<size_t>(p)];
        for (int b = 1; b <= pattern.BarCount; ++b)
            bars.push_back(BarOf(input, result, p, b, ForwardRuns(pattern, input.Allowances.Kerf)));
    }
    return bars;
}

SawSheet MakeSawSheet(const JobInput& input, const CalculationResult& result) {
    const int kerf = input.Allowances.Kerf;
    SawSheet sheet;
    // The patterns not yet placed, by the length each would start or end on.
    std::set<int> left;
    std::map<int, std::set<int>> byEnd;
    std::vector<std::vector<SawRun>> runs(result.Patterns.size());
    for (int p = 0; p < result.PatternCount(); ++p) {
        runs[static_cast<size_t>(p)] = ForwardRuns(result.Patterns[static_cast<size_t>(p)], kerf);
        const auto& r = runs[static_cast<size_t>(p)];
        if (r.empty() || result.Patterns[static_cast<size_t>(p)].BarCount <= 0) continue;
        left.insert(p);
        byEnd[r.front().Length].insert(p);
        byEnd[r.back().Length].insert(p);
    }
    int stop = -1;
    while (!left.empty()) {
        int p = *left.begin();
        if (const auto at = byEnd.find(stop); at != byEnd.end() && !at->second.empty())
            p = *at->second.begin();
        left.erase(p);
        const std::vector<SawRun>& forward = runs[static_cast<size_t>(p)];
        for (const int end : {forward.front().Length, forward.back().Length}) {
            if (auto at = byEnd.find(end); at != byEnd.end()) {
                at->second.erase(p);
                if (at->second.empty()) byEnd.erase(at);
            }
        }
        std::vector<SawRun> backward(forward.rbegin(), forward.rend());
        // Start where the stop is; then every bar ends where the next begins.
        bool reversed = forward.front().Length != stop && forward.back().Length == stop;
        const int barCount = result.Patterns[static_cast<size_t>(p)].BarCount;
        for (int b = 1; b <= barCount; ++b) {
            sheet.Bars.push_back(BarOf(input, result, p, b, reversed ? backward : forward));
            reversed = !reversed;
        }
        stop = sheet.Bars.back().Runs.back().Length;
    }
    const SawTotals totals = CountSawCuts(input, result);
    sheet.SawCuts = totals.SawCuts;
    sheet.SawnLength = totals.SawnLength;
    return sheet;
}

SawTotals CountSawCuts(const JobInput& input, const CalculationResult& result) {
    SawTotals totals;
    for (const CuttingPattern& p : result.Patterns) {
        if (p.BarCount <= 0) continue;
        long long pieces = 0;
        long long length = 0;
        for (int k = 0; k < p.LengthCount(); ++k) {
            pieces += p.PieceCount[k];
            length +=
                static_cast<long long>(p.CutLength[k] - input.Allowances.Kerf) * p.PieceCount[k];
        }
        if (pieces == 0) continue;
        totals.SawCuts += (pieces + (input.Allowances.Trim > 0 ? 1 : 0)) * p.BarCount;
        totals.SawnLength += length * p.BarCount;
    }
    return totals;
}

long long StopMoves(const std::vector<SawBar>& bars) {
    long long moves = 0;
    int stop = -1;
    for (const SawBar& bar : bars) {
        for (const SawRun& run : bar.Runs) {
            if (run.Length != stop && stop >= 0) ++moves;
            stop = run.Length;
        }
    }
    return moves;
}

PieceMarks::PieceMarks(const JobInput& input) {
    std::map<int, std::vector<Row>> rows;
    given_.assign(input.CutRows.size(), 0);
    for (size_t i = 0; i < input.CutRows.size(); ++i) {
        const ListRow& row = input.CutRows[i];
        marks_.push_back(&row.Mark);
        const auto length = ReadWholeNumber(row.Length);
        const auto quantity = ReadWholeNumber(row.Quantity);
        if (length && quantity) rows[*length].push_back({static_cast<int>(i), *quantity});
    }
    rowsByLength_.assign(rows.begin(), rows.end());
}

std::string PieceMarks::Next(int length) {
    const auto at = std::lower_bound(rowsByLength_.begin(), rowsByLength_.end(), length,
                                     [](const auto& entry, int l) { return entry.first < l; });
    if (at == rowsByLength_.end() || at->first != length) return {};
    for (Row& row : at->second) {
        if (row.Left <= 0) continue;
        --row.Left;
        ++given_[static_cast<size_t>(row.Index)];
        return *marks_[static_cast<size_t>(row.Index)];
    }
    return {};
}

void PieceMarks::Take(int length, long long count) {
    const auto at = std::lower_bound(rowsByLength_.begin(), rowsByLength_.end(), length,
                                     [](const auto& entry, int l) { return entry.first < l; });
    if (at == rowsByLength_.end() || at->first != length) return;
    for (Row& row : at->second) {
        const long long taken = std::min(row.Left, count);
        row.Left -= taken;
        given_[static_cast<size_t>(row.Index)] += taken;
        count -= taken;
    }
}

std::string SawSheetCsv(const JobInput& input, const CalculationResult& result,
                        const SawSheet& sheet) {
    const Allowances& a = input.Allowances;
    std::string csv = CsvLine({"Bar", "Pattern", "Bar of Pattern", "Stock Length", "Cut", "Mark",
                               "Length", "Remaining", "Done"});
    PieceMarks marks(input);
    for (size_t b = 0; b < sheet.Bars.size(); ++b) {
        const SawBar& bar = sheet.Bars[b];
        const std::string barCount =
            std::to_string(result.Patterns[static_cast<size_t>(bar.Pattern)].BarCount);
        const std::vector<std::string> head{std::to_string(b + 1), std::to_string(bar.Pattern + 1),
                                            std::to_string(bar.BarOfPattern) + " of " + barCount,
                                            FormatLength(bar.EnteredLength, input.Units)};
        long long remaining = bar.EnteredLength - a.Trim;
        int cut = 0;
        for (const SawRun& run : bar.Runs) {
            for (int n = 0; n < run.Count; ++n) {
                remaining -= run.Length + a.Kerf;
                std::vector<std::string> fields = head;
                fields.insert(fields.end(), {std::to_string(++cut), CsvText(marks.Next(run.Length)),
                                             FormatLength(run.Length, input.Units),
                                             FormatLength(remaining, input.Units), ""});
                csv += CsvLine(fields);
            }
        }
        std::vector<std::string> fields = head;
        fields.insert(fields.end(), {bar.KeepOffcut ? "Offcut" : "Scrap", "",
                                     FormatLength(bar.Remnant, input.Units), "", ""});
        csv += CsvLine(fields);
    }
    return csv;
}

}  // namespace tallora
