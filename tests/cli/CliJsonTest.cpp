// The JSON output against docs/cli-json.schema.json, checked by a small validator of the
// schema keywords the file uses; the numbers against the texts shown beside them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>

#include "cli/CliApp.h"
#include "cli/JsonOutput.h"
#include "cli/TextOutput.h"
#include "commands/Calculate.h"
#include "results/SolutionBoundText.h"
#include "support/CliTestSupport.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

using nlohmann::json;
using testing::Args;
using testing::RunTool;
using testing::With;

const std::string DocsDir = std::string(TALLORA_TESTS_DIR) + "/../docs";

json ReadJson(const std::string& path) {
    std::ifstream file(path);
    return json::parse(file);
}

// Validates a value against a JSON Schema: type, enum, const, properties, required,
// additionalProperties (false), items, minItems, maxItems, minimum, oneOf and local $ref. A
// keyword it does not know is itself an error, so the schema cannot promise what is unchecked.
class SchemaValidator {
public:
    explicit SchemaValidator(json schema) : root_(std::move(schema)) {}

    std::vector<std::string> Errors(const json& value) const {
        std::vector<std::string> errors;
        Check(root_, value, "$", errors);
        return errors;
    }

private:
    const json& Resolve(const std::string& ref) const {
        const std::string prefix = "#/$defs/";
        if (ref.rfind(prefix, 0) != 0 || !root_["$defs"].contains(ref.substr(prefix.size()))) {
            throw std::runtime_error("unresolved $ref " + ref);
        }
        return root_["$defs"][ref.substr(prefix.size())];
    }

    static bool HasType(const json& value, const std::string& type) {
        static const std::map<std::string, bool (json::*)() const noexcept> is = {
            {"object", &json::is_object}, {"array", &json::is_array},
            {"string", &json::is_string}, {"integer", &json::is_number_integer},
            {"number", &json::is_number}, {"boolean", &json::is_boolean},
            {"null", &json::is_null}};
        return (value.*is.at(type))();
    }

    void Check(const json& schema, const json& value, const std::string& at,
               std::vector<std::string>& errors) const {
        static const std::set<std::string> known = {
            "$schema", "$id",   "title",    "description", "$defs",    "$ref",
            "type",    "enum",  "const",    "properties",  "required", "additionalProperties",
            "items",   "oneOf", "minItems", "maxItems",    "minimum"};
        for (const auto& [keyword, unused] : schema.items()) {
            if (!known.contains(keyword)) throw std::runtime_error("unknown keyword " + keyword);
        }
        if (schema.contains("$ref")) Check(Resolve(schema["$ref"]), value, at, errors);
        if (schema.contains("type")) {
            const json types = schema["type"].is_array() ? schema["type"] : json{schema["type"]};
            bool any = false;
            for (const auto& type : types) any = any || HasType(value, type.get<std::string>());
            if (!any) {
                errors.push_back(at + ": " + value.type_name() + " is not " + types.dump());
                return;
            }
        }
        if (schema.contains("const") && value != schema["const"]) {
            errors.push_back(at + ": " + value.dump() + " is not " + schema["const"].dump());
        }
        if (schema.contains("enum") && std::find(schema["enum"].begin(), schema["enum"].end(),
                                                 value) == schema["enum"].end()) {
            errors.push_back(at + ": " + value.dump() + " is not one of " + schema["enum"].dump());
        }
        if (schema.contains("minimum") && value.is_number() &&
            value.get<double>() < schema["minimum"].get<double>()) {
            errors.push_back(at + ": " + value.dump() + " is below the minimum");
        }
        if (value.is_object()) CheckObject(schema, value, at, errors);
        if (value.is_array()) {
            if (schema.contains("minItems") && value.size() < schema["minItems"].get<size_t>())
                errors.push_back(at + ": fewer than " + schema["minItems"].dump() + " items");
            if (schema.contains("maxItems") && value.size() > schema["maxItems"].get<size_t>())
                errors.push_back(at + ": more than " + schema["maxItems"].dump() + " items");
            if (schema.contains("items")) {
                for (size_t i = 0; i < value.size(); ++i)
                    Check(schema["items"], value[i], at + "[" + std::to_string(i) + "]", errors);
            }
        }
        if (schema.contains("oneOf")) {
            int matching = 0;
            for (const auto& choice : schema["oneOf"]) {
                std::vector<std::string> ignored;
                Check(choice, value, at, ignored);
                matching += ignored.empty() ? 1 : 0;
            }
            if (matching != 1) {
                errors.push_back(at + ": matches " + std::to_string(matching) +
                                 " of the oneOf choices, not one");
            }
        }
    }

    void CheckObject(const json& schema, const json& value, const std::string& at,
                     std::vector<std::string>& errors) const {
        for (const auto& key : schema.value("required", json::array())) {
            if (!value.contains(key.get<std::string>())) {
                errors.push_back(at + ": no key " + key.get<std::string>());
            }
        }
        const json properties = schema.value("properties", json::object());
        for (const auto& [key, item] : value.items()) {
            if (properties.contains(key)) {
                Check(properties[key], item, at + "." + key, errors);
            } else if (schema.contains("additionalProperties") &&
                       schema["additionalProperties"] == false) {
                errors.push_back(at + ": key " + key + " is not in the schema");
            }
        }
    }

    json root_;
};

// The JSON outputs of the recorded transcripts (CliOutputRegression: the example and random
// jobs, refusals, several jobs, the inventory's lists and bookings) and of Optimal, whose plan may
// depend on the machine's speed and is not recorded: each example job, an imperial job and a job
// that uses offcuts. Each with its name; made once.
std::vector<std::pair<std::string, json>> MakeOutputs() {
    std::vector<std::pair<std::string, json>> outputs;
    const auto keep = [&](const std::string& name, const std::string& out) {
        if (out.rfind("{\n", 0) == 0) return outputs.emplace_back(name, json::parse(out)), void();
        std::stringstream lines(out);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("{", 0) == 0) outputs.emplace_back(name, json::parse(line));
        }
    };
    std::vector<std::filesystem::path> recorded(
        std::filesystem::directory_iterator(std::string(TALLORA_TESTS_DIR) + "/cli/golden"), {});
    std::sort(recorded.begin(), recorded.end());
    for (const auto& file : recorded) {
        const std::string transcript = testing::ReadBytes(file.string());
        const auto out = transcript.find("--- out\n") + 8;
        keep(file.filename().string(), transcript.substr(out, transcript.find("--- err\n") - out));
    }
    testing::TempFolder folder;
    const std::string inventory = folder.File("offcuts.sqlite");
    EXPECT_EQ(
        RunTool({"inventory", "add", "IPE 200", "2500", "2", "--inventory", inventory}).status,
        ExitSuccess);
    const std::string examples = std::string(TALLORA_EXAMPLES_DIR) + "/";
    const std::vector<Args> optimal = {
        {examples + "beam-job.tlf", "--costing"},
        {examples + "costing-job.tlf", "--costing"},
        {examples + "limited-stock.tlf", "--costing"},
        {"--units", "imperial", "--stock", "ANY@20ft", "--cut", "12@6' 3-1/2\"", "--kerf", "1/8\"",
         "--trim", "1/2\"", "--costing", "--weight", "31", "--cost", "45", "--per", "cwt"},
        // Two pieces that the offcuts of 2500 mm can give.
        {"--stock", "*@6000", "--cut", "6@1500", "--cut", "1@5000", "--cut", "2@2400", "--offcut",
         "1000", "--section", "IPE 200", "--use-offcuts", "--inventory", inventory},
    };
    for (const Args& args : optimal) {
        const testing::CliRun run =
            RunTool(With(args, {"--algorithm", "optimal", "--format", "json"}));
        EXPECT_EQ(run.status, ExitSuccess) << run.err;
        keep("optimal " + args[0], run.out);
    }
    return outputs;
}

const std::vector<std::pair<std::string, json>>& Outputs() {
    static const auto outputs = MakeOutputs();
    return outputs;
}

TEST(CliJson, EveryOutputMatchesTheDocumentedSchema) {
    const SchemaValidator validator(ReadJson(DocsDir + "/cli-json.schema.json"));
    const auto outputs = Outputs();
    ASSERT_GT(outputs.size(), 50u);
    for (const auto& [name, output] : outputs) {
        const auto errors = validator.Errors(output);
        EXPECT_TRUE(errors.empty()) << name << ": " << errors.front();
    }

    // The validator refuses what the schema forbids: each fault alone makes the whole object
    // match neither choice.
    const std::vector<std::function<void(json&)>> faults = {
        [](json& j) { j.erase("stats"); },
        [](json& j) { j["stats_text"].erase(0); },
        [](json& j) { j["patterns"][0]["BarCount"] = "3"; },
        [](json& j) { j["costing"]["totals"]["grand"] = nullptr; },
        [](json& j) { j["surprise"] = 1; },
        [](json& j) { j["schema_version"] = 2; },
    };
    for (size_t i = 0; i < faults.size(); ++i) {
        json broken = outputs.back().second;
        faults[i](broken);
        const auto errors = validator.Errors(broken);
        ASSERT_EQ(errors.size(), 1u) << i;
        EXPECT_EQ(errors[0], "$: matches 0 of the oneOf choices, not one") << i;
    }
}

// A job booked again is refused (exit 1) and says so in its JSON; Optimal's bound splits the
// stock of a job with offcuts into new bars and offcuts, and measures from new stock.
TEST(CliJson, InventoryOutputsMatchTheDocumentedSchema) {
    const SchemaValidator validator(ReadJson(DocsDir + "/cli-json.schema.json"));
    testing::TempFolder folder;
    const Args job = {
        "--stock",        "*@6000",   "--cut", "6@1500",      "--cut",
        "1@5000",         "--offcut", "1000",  "--section",   "IPE 200",
        "--book-offcuts", "--format", "json",  "--inventory", folder.File("offcuts.sqlite")};
    ASSERT_EQ(RunTool(job).status, ExitSuccess);
    const testing::CliRun again = RunTool(job);
    EXPECT_EQ(again.status, ExitRefused) << again.err;
    EXPECT_EQ(again.Json()["inventory"]["book_offcuts"]["booked"], false);
    EXPECT_TRUE(validator.Errors(again.Json()).empty());

    const json& bound = Outputs().back().second["bound"];
    ASSERT_TRUE(bound["offcuts"].is_object()) << bound.dump();
    EXPECT_EQ(bound["offcuts"]["new_stock_mm"].get<long long>() +
                  bound["offcuts"]["offcuts_mm"].get<long long>(),
              bound["used_mm"].get<long long>());
    EXPECT_GT(bound["offcuts"]["offcuts_mm"].get<long long>(), 0);
    EXPECT_EQ(bound["gap_mm"].get<long long>(), bound["offcuts"]["new_stock_mm"].get<long long>() -
                                                    bound["lower_bound_mm"].get<long long>());
}

// A Complex search stopped before it was done (here by a budget of iterations, as the time limit
// stops it) says so in the status bar text, the text output and the JSON, which keeps to the
// schema; one that was not stopped says nothing.
TEST(CliJson, AComplexSearchStoppedEarlySaysSoInEveryOutput) {
    const SchemaValidator validator(ReadJson(DocsDir + "/cli-json.schema.json"));
    JobInput input;
    input.StockRows = {{"*", "6000"}};
    input.CutRows = {{"4", "2497"}, {"4", "3497"}, {"6", "1197"}};
    for (const std::optional<int> budget : {std::optional<int>(0), std::optional<int>()}) {
        SCOPED_TRACE(budget ? "stopped" : "not stopped");
        CalculationOptions options;
        options.SearchIterationBudget = budget;
        CalculationObserver quiet;
        const CalculatedJob done = CalculateJob(input, options, quiet, NumberFormat::UK());
        ASSERT_TRUE(done.Outcome.Completed);
        const bool stopped = done.Outcome.Result.StoppedEarly;
        EXPECT_EQ(stopped, budget.has_value());
        EXPECT_EQ(done.StatusText.find(StoppedEarlyText()) != std::string::npos, stopped);

        std::ostringstream text;
        cli::PrintResults(text, done.Outcome.Result, done.Stats, nullptr);
        // After the statistics, which end with the chargeable material.
        const auto line = text.str().find("\n" + StoppedEarlyText() + "\n");
        EXPECT_EQ(line != std::string::npos, stopped) << text.str();
        EXPECT_TRUE(!stopped || line > text.str().find("Chargeable material:"));

        const json result =
            cli::ResultJson({input, done.Outcome.Result, Algorithm::Complex, Algorithm::Complex,
                             done.Outcome, &done.Stats, "", nullptr});
        EXPECT_EQ(result.value("stopped_early", false), stopped);
        EXPECT_EQ(result.contains("stopped_early"), stopped);
        const auto errors = validator.Errors(result);
        EXPECT_TRUE(errors.empty()) << errors.front();
    }
}

TEST(CliJson, EveryKeyOfTheSchemaIsDocumented) {
    std::ifstream file(DocsDir + "/cli-json.md");
    const std::string page((std::istreambuf_iterator<char>(file)), {});
    std::set<std::string> keys;
    const std::function<void(const json&)> collect = [&](const json& node) {
        if (node.is_object()) {
            for (const auto& [key, value] : node.items()) {
                if (key == "properties") {
                    for (const auto& [name, unused] : value.items()) keys.insert(name);
                }
                collect(value);
            }
        } else if (node.is_array()) {
            for (const auto& item : node) collect(item);
        }
    };
    collect(ReadJson(DocsDir + "/cli-json.schema.json"));
    ASSERT_GT(keys.size(), 50u);
    for (const std::string& key : keys) {
        EXPECT_NE(page.find("`" + key + "`"), std::string::npos) << key;
    }
}

// The number shown in `text` with `decimals` decimals (the unit, pound sign and thousands
// separators aside) is `value` rounded.
void ExpectShown(double value, std::string text, int decimals, const std::string& where) {
    const std::string original = text;
    std::erase(text, ',');
    if (text.rfind("\u00A3", 0) == 0) text.erase(0, std::string("\u00A3").size());
    while (!text.empty() &&
           (std::isalpha(static_cast<unsigned char>(text.back())) || text.back() == '%')) {
        text.pop_back();
    }
    const auto point = text.find('.');
    ASSERT_NE(point, std::string::npos) << where << ": " << original;
    EXPECT_EQ(static_cast<int>(text.size() - point - 1), decimals) << where << ": " << original;
    // FormatFixed keeps at most 7 significant digits (a zero has its decimals).
    const double digits = value == 0.0 ? -decimals : std::floor(std::log10(std::abs(value))) - 6.0;
    const double places = std::max(static_cast<double>(-decimals), digits);
    EXPECT_NEAR(std::stod(text), value, 0.5 * std::pow(10.0, places) + 1e-9)
        << where << ": " << original;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, '\t');) fields.push_back(field);
    return fields;
}

TEST(CliJson, FiguresAgreeWithTheTextsShownBesideThem) {
    for (const auto& [name, out] : Outputs()) {
        if (!out.contains("patterns")) continue;  // an inventory's list, a job not read
        EXPECT_EQ(out["text"], out["cutting_list"]) << name;
        EXPECT_EQ(out["stats_text"], out["statistics"]) << name;
        if (!out["error"].is_null()) {
            EXPECT_TRUE(out["stats"].is_null()) << name;
            continue;
        }
        int remaining = 0;
        for (const auto& row : out["remaining"]) remaining += row[0].get<int>();
        EXPECT_EQ(out["RemainingPieces"], remaining) << name;
        // Every bar the patterns cut counts against a stock row, at its entered length.
        const json& input = out["input"];
        // Metres and kilograms to three places; an imperial job's feet (of inches) and pounds
        // to two.
        const bool imperial = out["units"] == "imperial";
        const double perStatUnit = imperial ? 12 : 1000;
        const int decimals = imperial ? 2 : 3;
        int bars = 0;
        double metres = 0;
        for (const auto& p : out["patterns"]) {
            bars += p["BarCount"].get<int>();
            metres += p["BarCount"].get<double>() *
                      (p["StockLength"].get<double>() + input["trim"].get<double>() +
                       input["hold"].get<double>()) /
                      perStatUnit;
        }
        int used = 0;
        for (const auto& n : out["StockBarsUsed"]) used += n.get<int>();
        EXPECT_EQ(used, bars) << name;
        if (out.contains("bound")) {
            // Optimal's bars and stock used are its patterns'; a plan at its bound is proven.
            const json& b = out["bound"];
            const std::string unit = imperial ? "_in" : "_mm";
            double stock = 0;
            for (const auto& p : out["patterns"])
                stock += p["BarCount"].get<double>() * p["StockLength"].get<double>();
            EXPECT_EQ(b["bars"], bars) << name;
            EXPECT_NEAR(b["used" + unit].get<double>(), stock, 1e-9) << name;
            if (!b["lower_bound" + unit].is_null() && !b["linear_bound" + unit].is_null()) {
                EXPECT_LE(b["linear_bound" + unit].get<double>(),
                          b["lower_bound" + unit].get<double>());
            }
            EXPECT_TRUE(b["proven_optimal"] == false || b["gap" + unit] == 0) << name;
        }
        EXPECT_NEAR(out["stats"]["metres"][0].get<double>(), metres, 1e-9) << name;

        for (int i = 0; i < 9; ++i) {
            const json& shown = out["statistics"][i];
            const std::string where = name + " row " + std::to_string(i);
            ExpectShown(out["stats"]["metres"][i], shown["metres"], decimals, where);
            ExpectShown(out["stats"]["percent"][i], shown["percent"], 2, where);
            ExpectShown(out["stats"]["cost"][i], shown["cost"], 2, where);
            ExpectShown(out["stats"]["weight"][i], shown["weight"], decimals, where);
        }
        if (!out.contains("costing")) continue;
        const json& costing = out["costing"];
        const json& lines = costing["clipboard"];
        ASSERT_EQ(lines.size(), costing["rows"].size() + 3) << name;
        const char* keys[] = {"quantity", "length", "net_weight", "material", "cutting",
                              "other1",   "other2", "other3",     "total"};
        for (size_t r = 0; r < costing["rows"].size(); ++r) {
            const auto fields = Fields(lines[r + 1]);
            ASSERT_EQ(fields.size(), 9u) << lines[r + 1];
            const json& row = costing["rows"][r];
            EXPECT_EQ(std::to_string(row["quantity"].get<int>()), fields[0]) << name;
            if (!imperial) {
                EXPECT_EQ(std::to_string(row["length"].get<int>()), fields[1]) << name;
            }
            ExpectShown(row["net_weight"], fields[2], 3, name);
            for (int k = 3; k < 9; ++k) ExpectShown(row[keys[k]], fields[k], 2, name);
        }
        const auto totals = Fields(lines.back());
        ASSERT_EQ(totals.size(), 9u);
        const json& t = costing["totals"];
        ExpectShown(t["weight"], totals[2], 3, name);
        const char* money[] = {"material", "cutting", "other1", "other2", "other3", "grand"};
        for (int k = 0; k < 6; ++k) ExpectShown(t[money[k]], totals[3 + k], 2, name);
        // The grand total adds up the columns.
        EXPECT_NEAR(t["grand"].get<double>(),
                    t["material"].get<double>() + t["cutting"].get<double>() +
                        t["other1"].get<double>() + t["other2"].get<double>() +
                        t["other3"].get<double>(),
                    1e-6);
    }
}

}  // namespace
}  // namespace tallora
