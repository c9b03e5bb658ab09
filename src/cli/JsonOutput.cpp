#include "cli/JsonOutput.h"

#include "cli/CliApp.h"
#include "cli/Terminal.h"
#include "job/RowTexts.h"
#include "results/SolutionBoundText.h"

namespace tallora::cli {

namespace {

// A row's number as the engine reads it; a quantity of "*" or "ANY" is -1 (unlimited), a text
// that is no number null.
nlohmann::json RowNumber(const std::string& text, bool quantity) {
    if (quantity && IsUnlimitedQuantity(text)) return -1;
    const auto value = ReadWholeNumber(text);
    return value ? nlohmann::json(*value) : nlohmann::json(nullptr);
}

// The rows, allowances and algorithm the calculation was given.
nlohmann::json InputJson(const JobInput& input, Algorithm requested) {
    const auto rows = [](const std::vector<ListRow>& list) {
        nlohmann::json out = nlohmann::json::array();
        for (const auto& row : list) {
            out.push_back({{"quantity", RowNumber(row.Quantity, true)},
                           {"length", RowNumber(row.Length, false)}});
        }
        return out;
    };
    const Allowances& a = input.Allowances;
    return {{"stock", rows(input.StockRows)},
            {"cuts", rows(input.CutRows)},
            {"kerf", a.Kerf},
            {"trim", a.Trim},
            {"hold", a.Hold},
            {"offcut", a.Offcut},
            {"scrap_all", a.NoOffcuts},
            {"algorithm", AlgorithmName(requested)}};
}

nlohmann::json PatternsJson(const CalculationResult& result) {
    nlohmann::json patterns = nlohmann::json::array();
    for (const auto& p : result.Patterns) {
        patterns.push_back({{"StockLength", p.StockLength},
                            {"BarCount", p.BarCount},
                            {"CutLength", p.CutLength},
                            {"PieceCount", p.PieceCount},
                            {"IsOffcut", p.IsOffcut},
                            {"OffcutLength", p.OffcutLength}});
    }
    return patterns;
}

// What the Optimal algorithm proved.
nlohmann::json BoundJson(const SolutionBound& b) {
    const auto orNull = [&](auto value) {
        return b.Known ? nlohmann::json(value) : nlohmann::json(nullptr);
    };
    return {
        {"lower_bound_mm", orNull(b.LowerBound)},
        {"linear_bound_mm", orNull(b.LinearBound)},
        {"lower_bound_bars", b.SingleLength ? orNull(b.LowerBoundBars) : nlohmann::json(nullptr)},
        {"bars", b.UsedBars},
        {"used_mm", b.Used},
        {"proven_optimal", b.ProvenOptimal},
        {"gap_bars",
         b.SingleLength ? orNull(b.UsedBars - b.LowerBoundBars) : nlohmann::json(nullptr)},
        // With inventory offcuts the bound is of new stock; without, all of it is new.
        {"gap_mm", orNull(b.NewUsed() - b.LowerBound)},
        {"offcuts", b.Offcuts
                        ? nlohmann::json{{"new_stock_mm", b.NewUsed()},
                                         {"offcuts_mm", b.OffcutUsed},
                                         {"offcut_lower_bound_mm", orNull(b.OffcutLowerBound)},
                                         {"new_stock_proven", b.NewStockProven}}
                        : nlohmann::json(nullptr)},
        {"seconds", b.Seconds},
        {"stopped", b.ProvenOptimal ? nlohmann::json(nullptr)
                    : b.Cancelled   ? nlohmann::json("cancelled")
                    : b.TimedOut    ? nlohmann::json("time limit")
                                    : nlohmann::json(nullptr)},
        {"text", BoundText(b, NumberFormat::UK())}};
}

nlohmann::json CostingJson(const CostingSheet& costing) {
    nlohmann::json grid = nlohmann::json::array();
    for (const auto& row : costing.GridRows) grid.push_back(row);
    const CostingTable& t = costing.Table;
    nlohmann::json rows = nlohmann::json::array();
    for (const CostingRow& r : t.Rows) {
        rows.push_back({{"quantity", r.Quantity},
                        {"length", r.Length},
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
std::pair<nlohmann::json, nlohmann::json> StatisticsJson(const Statistics* stats) {
    nlohmann::json texts = nlohmann::json::array();
    if (stats == nullptr) return {texts, nullptr};
    const StatisticsTexts shown = FormatStatistics(*stats, NumberFormat::UK());
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

}  // namespace

nlohmann::json ResultJson(const JobJson& job) {
    const CalculationResult& r = job.Result;
    const CalculationOutcome& outcome = job.Outcome;
    nlohmann::json remaining = nlohmann::json::array();
    for (const auto& row : r.Cuts) remaining.push_back({row.CutQuantity, row.CutLength});
    nlohmann::json stockLeft = nlohmann::json::array();
    for (const auto& row : r.Stock) stockLeft.push_back({row.StockQuantity, row.StockLength});
    const auto [statistics, stats] = StatisticsJson(job.Stats);
    const std::vector<std::string> lines =
        outcome.Completed ? r.CuttingListLines : std::vector<std::string>{};
    nlohmann::json result = {
        {"patterns", PatternsJson(r)},
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
        {"RemainingPieces", r.RemainingPieces}};
    // What the Optimal algorithm proved; no key after the other algorithms.
    if (r.Bound) result["bound"] = BoundJson(*r.Bound);
    if (job.Costing != nullptr) result["costing"] = CostingJson(*job.Costing);
    return result;
}

std::string JsonLine(const nlohmann::json& value) {
    return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

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
