#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "commands/Calculate.h"
#include "commands/Inventory.h"
#include "costing/CostingSheet.h"
#include "job/CalculationResult.h"
#include "job/JobInput.h"

namespace tallora::cli {

// What the JSON of a job reports: the input, the result shown and how the calculation went.
struct JobJson {
    const JobInput& Input;
    const CalculationResult& Result;
    Algorithm Requested;
    Algorithm Used;
    const CalculationOutcome& Outcome;  // its Result is not read
    const Statistics* Stats;            // none when the calculation did not complete
    std::string TimeText;
    const CostingSheet* Costing;
};

// The JSON object of one job's results (docs/cli-json.md).
nlohmann::json ResultJson(const JobJson& job);
// The same with an empty "patterns": WriteJson writes them one at a time.
nlohmann::json ResultJsonWithoutPatterns(const JobJson& job);

// Writes a value as value.dump(indent) does (indent -1: on one line), the key "patterns" of an
// object taken from `patterns` when given: a job of a million patterns is written without a
// million objects held at once.
void WriteJson(std::ostream& out, const nlohmann::json& value, int indent,
               const std::vector<CuttingPattern>* patterns = nullptr, const JobUnits& units = {});

// A JSON line: every text is UTF-8 already; a byte that is not still never stops the output.
std::string JsonLine(const nlohmann::json& value);

// A job's file as its JSON names it: null for none.
nlohmann::json FileJson(const std::string& file);

// What a job that could not be calculated at all gives in place of its results.
nlohmann::json JobErrorJson(const std::string& file, const std::string& error);

// What the inventory said of a job's offcuts, under `done` ("changed" or "booked").
nlohmann::json InventoryMessageJson(const std::optional<InventoryCommandResult>& result,
                                    const char* done);

}  // namespace tallora::cli
