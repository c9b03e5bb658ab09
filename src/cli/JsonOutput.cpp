#include "cli/JsonOutput.h"

#include "cli/CliApp.h"
#include "cli/Terminal.h"
#include "job/RowTexts.h"
#include "results/SawSheet.h"
#include "results/SolutionBoundText.h"

namespace tallora::cli {

namespace {

// A length: whole millimetres, or an imperial job's inches (exact in binary: whole 1/32).
nlohmann::json Length(double length, const JobUnits& units) {
    if (units.Imperial()) return length / TicksPerInch;
    return static_cast<long long>(length);
}

// A row's number as the engine reads it; a quantity of "*" or "ANY" is -1 (unlimited), a text
// that is no number null.
nlohmann::json RowNumber(const std::string& text, bool quantity, const JobUnits& units = {}) {
    if (quantity && IsUnlimitedQuantity(text)) return -1;
    const auto value = ReadWholeNumber(text);
    if (!value) return nullptr;
    return quantity ? nlohmann::json(*value) : Length(*value, units);
}

// The rows, allowances and algorithm the calculation was given.
nlohmann::json InputJson(const JobInput& input, Algorithm requested) {
    const JobUnits& u = input.Units;
    const auto rows = [&u](const std::vector<ListRow>& list) {
        nlohmann::json out = nlohmann::json::array();
        for (const auto& row : list) {
            out.push_back({{"quantity", RowNumber(row.Quantity, true)},
                           {"length", RowNumber(row.Length, false, u)}});
            if (!row.Mark.empty() && InventoryOffcutIds(row.Mark).empty())
                out.back()["mark"] = row.Mark;
        }
        return out;
    };
    const Allowances& a = input.Allowances;
    return {{"stock", rows(input.StockRows)}, {"cuts", rows(input.CutRows)},
            {"kerf", Length(a.Kerf, u)},      {"trim", Length(a.Trim, u)},
            {"hold", Length(a.Hold, u)},      {"offcut", Length(a.Offcut, u)},
            {"scrap_all", a.NoOffcuts},       {"algorithm", AlgorithmName(requested)}};
}

nlohmann::json PatternJson(const CuttingPattern& p, const JobUnits& u) {
    nlohmann::json cuts = nlohmann::json::array();
    for (int length : p.CutLength) cuts.push_back(Length(length, u));
    return {{"StockLength", Length(p.StockLength, u)},
            {"BarCount", p.BarCount},
            {"CutLength", cuts},
            {"PieceCount", p.PieceCount},
            {"IsOffcut", p.IsOffcut},
            {"OffcutLength", Length(p.OffcutLength, u)}};
}

std::string Dumped(const nlohmann::json& value, int indent) {
    // Every text is UTF-8 already; a byte that is not still never stops the output.
    return value.dump(indent, ' ', false, nlohmann::json::error_handler_t::replace);
}

// A value dumped with its lines moved right by `by` spaces, as it stands inside an object or
// array: texts hold no line break (dump escapes them), so every one is the value's own.
std::string Indented(std::string text, int by) {
    const std::string margin(static_cast<size_t>(by), ' ');
    for (auto at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        text.insert(at + 1, margin);
    return text;
}

// What the Optimal algorithm proved. An imperial job's lengths are inches, under keys ending in
// "_in" rather than "_mm".
nlohmann::json BoundJson(const SolutionBound& b, const JobUnits& units) {
    const auto orNull = [&](auto value) {
        return b.Known ? nlohmann::json(value) : nlohmann::json(nullptr);
    };
    const auto length = [&](auto value) {
        return units.Imperial() ? nlohmann::json(static_cast<double>(value) / TicksPerInch)
                                : nlohmann::json(value);
    };
    const auto lengthOrNull = [&](auto value) {
        return b.Known ? length(value) : nlohmann::json(nullptr);
    };
    const std::string in = units.Imperial() ? "_in" : "_mm";
    return {
        {"lower_bound" + in, lengthOrNull(b.LowerBound)},
        {"linear_bound" + in, lengthOrNull(b.LinearBound)},
        {"lower_bound_bars", b.SingleLength ? orNull(b.LowerBoundBars) : nlohmann::json(nullptr)},
        {"bars", b.UsedBars},
        {"used" + in, length(b.Used)},
        {"proven_optimal", b.ProvenOptimal},
        {"gap_bars",
         b.SingleLength ? orNull(b.UsedBars - b.LowerBoundBars) : nlohmann::json(nullptr)},
        // With inventory offcuts the bound is of new stock; without, all of it is new.
        {"gap" + in, lengthOrNull(b.NewUsed() - b.LowerBound)},
        {"offcuts",
         b.Offcuts ? nlohmann::json{{"new_stock" + in, length(b.NewUsed())},
                                    {"offcuts" + in, length(b.OffcutUsed)},
                                    {"offcut_lower_bound" + in, lengthOrNull(b.OffcutLowerBound)},
                                    {"new_stock_proven", b.NewStockProven}}
                   : nlohmann::json(nullptr)},
        {"seconds", b.Seconds},
        {"stopped", b.ProvenOptimal ? nlohmann::json(nullptr)
                    : b.Cancelled   ? nlohmann::json("cancelled")
                    : b.TimedOut    ? nlohmann::json("time limit")
                                    : nlohmann::json(nullptr)},
        {"text", BoundText(b, NumberFormat::UK())}};
}

nlohmann::json CostingJson(const CostingSheet& costing, const JobUnits& units) {
    nlohmann::json grid = nlohmann::json::array();
    for (const auto& row : costing.GridRows) grid.push_back(row);
    const CostingTable& t = costing.Table;
    nlohmann::json rows = nlohmann::json::array();
    for (const CostingRow& r : t.Rows) {
        rows.push_back(
            {{"quantity", r.Quantity},
             {"length", units.Imperial() ? Length(r.Length, units) : nlohmann::json(r.Length)},
             {"net_weight", r.NetWeight},
             {"material", r.MaterialCost},
             {"cutting", r.CuttingCharge},
             {"other1", r.Other1},
             {"other2", r.Other2},
             {"other3", r.Other3},
             {"total", r.TotalCost}});
    }
    return {{"clipboard", costing.ClipboardLines},
            {"grid", grid},
            {"rows", rows},
            {"totals",
             {{"weight", t.TotalWeight},
              {"material", t.TotalMaterial},
              {"cutting", t.TotalCutting},
              {"other1", t.TotalOther1},
              {"other2", t.TotalOther2},
              {"other3", t.TotalOther3},
              {"grand", t.GrandTotal}}}};
}

// The statistics as the panel shows them, and as numbers; none without a completed run.
std::pair<nlohmann::json, nlohmann::json> StatisticsJson(const Statistics* stats,
                                                         const JobUnits& units) {
    nlohmann::json texts = nlohmann::json::array();
    if (stats == nullptr) return {texts, nullptr};
    const StatisticsTexts shown = FormatStatistics(*stats, NumberFormat::UK(), units);
    for (int i = 0; i < StatisticsRows; ++i) {
        texts.push_back({{"caption", shown.Captions[i]},
                         {"metres", shown.Metres[i]},
                         {"percent", shown.Percent[i]},
                         {"cost", shown.Cost[i]},
                         {"weight", shown.Weight[i]}});
    }
    return {texts,
            {{"metres", stats->StatMetres},
             {"percent", stats->StatPercent},
             {"cost", stats->StatCost},
             {"weight", stats->StatWeight}}};
}

// Each cut row's pieces: its mark, length, how many it asks for and how many the plan cuts.
nlohmann::json PiecesJson(const JobInput& input, const CalculationResult& result) {
    PieceMarks marks(input);
    for (const CuttingPattern& p : result.Patterns) {
        for (int k = 0; k < p.LengthCount(); ++k) {
            marks.Take(p.CutLength[k] - input.Allowances.Kerf,
                       static_cast<long long>(p.PieceCount[k]) * p.BarCount);
        }
    }
    nlohmann::json pieces = nlohmann::json::array();
    for (size_t i = 0; i < input.CutRows.size(); ++i) {
        const ListRow& row = input.CutRows[i];
        pieces.push_back({{"mark", row.Mark},
                          {"length", RowNumber(row.Length, false, input.Units)},
                          {"quantity", RowNumber(row.Quantity, true)},
                          {"cut", marks.GivenByRow()[i]}});
    }
    return pieces;
}

}  // namespace

void WriteJson(std::ostream& out, const nlohmann::json& value, int indent,
               const std::vector<CuttingPattern>* patterns, const JobUnits& units) {
    if (!value.is_object() || patterns == nullptr) {
        out << Dumped(value, indent);
        return;
    }
    const bool pretty = indent >= 0;
    const std::string newline = pretty ? "\n" : "";
    const std::string inner(pretty ? static_cast<size_t>(indent) : 0, ' ');
    out << "{" << (value.empty() ? "" : newline);
    bool first = true;
    for (const auto& [key, member] : value.items()) {
        out << (first ? "" : "," + newline) << inner << Dumped(key, -1) << (pretty ? ": " : ":");
        first = false;
        if (key != "patterns") {
            out << Indented(Dumped(member, indent), pretty ? indent : 0);
            continue;
        }
        if (patterns->empty()) {
            out << "[]";
            continue;
        }
        out << "[" << newline;
        for (size_t p = 0; p < patterns->size(); ++p) {
            out << (p == 0 ? "" : "," + newline) << inner << inner
                << Indented(Dumped(PatternJson((*patterns)[p], units), indent),
                            pretty ? 2 * indent : 0);
        }
        out << newline << inner << "]";
    }
    out << (value.empty() ? "" : newline) << "}";
}

nlohmann::json ResultJson(const JobJson& job) {
    nlohmann::json result = ResultJsonWithoutPatterns(job);
    nlohmann::json& patterns = result["patterns"];
    for (const auto& p : job.Result.Patterns) patterns.push_back(PatternJson(p, job.Input.Units));
    return result;
}

nlohmann::json ResultJsonWithoutPatterns(const JobJson& job) {
    const CalculationResult& r = job.Result;
    const CalculationOutcome& outcome = job.Outcome;
    const JobUnits& u = job.Input.Units;
    nlohmann::json remaining = nlohmann::json::array();
    for (const auto& row : r.Cuts) remaining.push_back({row.CutQuantity, Length(row.CutLength, u)});
    nlohmann::json stockLeft = nlohmann::json::array();
    for (const auto& row : r.Stock)
        stockLeft.push_back({row.StockQuantity, Length(row.StockLength, u)});
    auto [statistics, stats] = StatisticsJson(job.Stats, u);
    if (job.Stats != nullptr) {
        // The saw sheet's totals, beside the figures of the panel.
        const SawTotals saw = CountSawCuts(job.Input, r);
        stats["saw_cuts"] = saw.SawCuts;
        stats["sawn_length"] = Length(saw.SawnLength, u);
    }
    const std::vector<std::string> lines =
        outcome.Completed ? r.CuttingListLines : std::vector<std::string>{};
    nlohmann::json result = {
        {"patterns", nlohmann::json::array()},
        {"remaining", remaining},
        {"stock_left", stockLeft},
        {"scale_factor", r.ScaleFactor},
        {"permutations", outcome.Permutations},
        {"algorithm", AlgorithmName(job.Used)},
        {"time_text", job.TimeText},
        {"error", outcome.Completed ? nlohmann::json(nullptr) : nlohmann::json(outcome.Error)},
        {"cutting_list", lines},
        {"statistics", statistics},
        {"schema_version", JsonSchemaVersion},
        {"version", TALLORA_VERSION},
        {"input", InputJson(job.Input, job.Requested)},
        {"text", lines},
        {"stats", stats},
        {"stats_text", statistics},
        {"StockBarsUsed", r.StockBarsUsed},
        {"RemainingPieces", r.RemainingPieces},
        // Lengths in millimetres, or inches; statistics in metres and kilograms, or feet and
        // pounds.
        {"units", UnitName(u.Unit)}};
    if (u.Imperial()) result["precision"] = PrecisionName(u.Precision);
    // What the Optimal algorithm proved; no key after the other algorithms.
    if (r.Bound) result["bound"] = BoundJson(*r.Bound, u);
    // Only when it did: the plan is then no worse than Fast's, but not what the whole search
    // would have found.
    if (r.StoppedEarly) result["stopped_early"] = true;
    if (job.Costing != nullptr) result["costing"] = CostingJson(*job.Costing, u);
    if (outcome.Completed) result["pieces"] = PiecesJson(job.Input, r);
    return result;
}

std::string JsonLine(const nlohmann::json& value) { return Dumped(value, -1); }

nlohmann::json FileJson(const std::string& file) {
    return file.empty() ? nlohmann::json(nullptr) : nlohmann::json(file);
}

nlohmann::json JobErrorJson(const std::string& file, const std::string& error) {
    return {{"schema_version", JsonSchemaVersion},
            {"version", TALLORA_VERSION},
            {"file", FileJson(file)},
            {"error", error},
            {"exit_status", ExitBadInput}};
}

nlohmann::json InventoryMessageJson(const std::optional<InventoryCommandResult>& result,
                                    const char* done) {
    if (!result) return nullptr;
    return {{done, result->Changed}, {"message", MessageLines(result->Message)}};
}

}  // namespace tallora::cli
