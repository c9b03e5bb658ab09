// The JSON output against docs/cli-json.schema.json, checked by a small validator of the
// schema keywords the file uses; the numbers against the texts shown beside them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <numeric>
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
        if (type == "object") return value.is_object();
        if (type == "array") return value.is_array();
        if (type == "string") return value.is_string();
        if (type == "integer") return value.is_number_integer();
        if (type == "number") return value.is_number();
        if (type == "boolean") return value.is_boolean();
        if (type == "null") return value.is_null();
        throw std::runtime_error("unknown type " + type);
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

std::vector<std::string> Examples() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(TALLORA_EXAMPLES_DIR)) {
        if (entry.path().extension() == ".tlf") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Every example job, plain, with --costing, with Optimal, from its stored results, and a
// refused job: the JSON output of each, and its name.
std::vector<std::pair<std::string, json>> ExampleOutputs() {
    std::vector<std::pair<std::string, json>> outputs;
    const std::vector<Args> variants = {{},
                                        {"--costing"},
                                        {"--algorithm", "optimal", "--costing"},
                                        {"--algorithm", "fast"},
                                        {"--no-calc", "--costing"}};
    for (const std::string& file : Examples()) {
        for (const Args& variant : variants) {
            Args args = {file, "--format", "json"};
            args.insert(args.end(), variant.begin(), variant.end());
            const testing::CliRun run = RunTool(args);
            EXPECT_EQ(run.status, ExitSuccess) << file << run.err;
            std::string name = file;
            for (const auto& arg : variant) name += " " + arg;
            outputs.emplace_back(name, json::parse(run.out));
        }
    }
    const testing::CliRun refused =
        RunTool({"--stock", "*@6000", "--cut", "1@7000", "--format", "json"});
    EXPECT_EQ(refused.status, ExitRefused);
    outputs.emplace_back("refused", json::parse(refused.out));
    const testing::CliRun imperial =
        RunTool({"--units", "imperial", "--stock", "ANY@20ft", "--cut",     "12@6' 3-1/2\"",
                 "--kerf",  "1/8\"",    "--trim",  "1/2\"",    "--costing", "--weight",
                 "31",      "--cost",   "45",      "--per",    "cwt",       "--algorithm",
                 "optimal", "--format", "json"});
    EXPECT_EQ(imperial.status, ExitSuccess) << imperial.err;
    outputs.emplace_back("imperial", json::parse(imperial.out));
    return outputs;
}

TEST(CliJson, EveryExampleOutputMatchesTheDocumentedSchema) {
    const SchemaValidator validator(ReadJson(DocsDir + "/cli-json.schema.json"));
    const auto outputs = ExampleOutputs();
    ASSERT_GE(outputs.size(), 16u);  // three examples, five ways each, and the refused job
    for (const auto& [name, output] : outputs) {
        const auto errors = validator.Errors(output);
        EXPECT_TRUE(errors.empty()) << name << ": " << errors.front();
    }
    // Every job says its units; an imperial one's lengths are inches.
    for (const auto& [name, output] : outputs)
        EXPECT_EQ(output["units"], name == "imperial" ? "imperial" : "metric") << name;
    const json& imperial = outputs.back().second;
    EXPECT_EQ(imperial["input"]["cuts"][0]["length"], 75.5);
    EXPECT_EQ(imperial["input"]["kerf"], 0.125);
    EXPECT_EQ(imperial["patterns"][0]["CutLength"][0], 75.625);  // with its kerf
    EXPECT_EQ(imperial["statistics"][0]["metres"], "80.00ft");
    // The bound too: 12 pieces of 75-1/2" and their kerfs on bars of 20' less the trim.
    const json& bound = imperial["bound"];
    EXPECT_FALSE(bound.contains("used_mm"));
    EXPECT_EQ(bound["used_in"].get<double>(), bound["bars"].get<int>() * (240.0 - 0.5));
    EXPECT_GE(bound["lower_bound_in"].get<double>(), 12 * 75.625);
    // Optimal and the costing sheet were there to be checked.
    EXPECT_TRUE(outputs[2].second.contains("bound"));
    EXPECT_TRUE(outputs[2].second.contains("costing"));

    // The validator refuses what the schema forbids: the whole object matches neither choice,
    // and against the result schema alone each fault is named.
    json broken = outputs[1].second;
    broken.erase("stats");
    broken["stats_text"].erase(0);
    broken["patterns"][0]["BarCount"] = "3";
    broken["costing"]["totals"]["grand"] = nullptr;
    broken["surprise"] = 1;
    broken["schema_version"] = 2;
    const auto errors = validator.Errors(broken);
    const auto has = [&](const std::string& text) {
        return std::any_of(errors.begin(), errors.end(), [&](const std::string& error) {
            return error.find(text) != std::string::npos;
        });
    };
    EXPECT_TRUE(has("$: matches 0 of the oneOf choices")) << errors.size();
    json schema = ReadJson(DocsDir + "/cli-json.schema.json");
    json direct = schema["$defs"]["result"];
    direct["$defs"] = schema["$defs"];
    const auto detail = SchemaValidator(direct).Errors(broken);
    const std::string all = std::accumulate(
        detail.begin(), detail.end(), std::string(),
        [](std::string a, const std::string& b) { return std::move(a) + b + "\n"; });
    for (const char* expected :
         {"$: no key stats", "$.stats_text: matches 0 of the oneOf choices",
          "$.patterns[0].BarCount: string", "$.costing.totals.grand: null",
          "key surprise is not in the schema", "$.schema_version: 2 is not 1"}) {
        EXPECT_NE(all.find(expected), std::string::npos) << expected << "\n" << all;
    }
}

// The offcut inventory's outputs: the list, and the results of jobs that use and book offcuts,
// refused bookings included.
TEST(CliJson, InventoryOutputsMatchTheDocumentedSchema) {
    const SchemaValidator validator(ReadJson(DocsDir + "/cli-json.schema.json"));
    testing::TempFolder folder;
    const Args at = {"--inventory", folder.File("offcuts.sqlite")};
    const auto with = [&](Args args) {
        args.insert(args.end(), at.begin(), at.end());
        return args;
    };
    const Args job = {"--stock",  "*@6000", "--cut",     "6@1500",  "--cut",   "1@5000",
                      "--offcut", "1000",   "--section", "IPE 200", "--format"};
    std::vector<std::pair<std::string, json>> outputs;
    const auto keep = [&](const std::string& name, const Args& args, int status) {
        const testing::CliRun run = RunTool(with(args));
        EXPECT_EQ(run.status, status) << name << run.err;
        // Indented JSON is one object; JSON Lines, an object a line.
        if (run.out.rfind("{\n", 0) == 0) {
            outputs.emplace_back(name, json::parse(run.out));
            return;
        }
        std::stringstream lines(run.out);
        for (std::string line; std::getline(lines, line);)
            outputs.emplace_back(name, json::parse(line));
    };
    ASSERT_EQ(RunTool(with({"inventory", "add", "IPE 200", "2500", "2"})).status, ExitSuccess);
    const auto jobWith = [&](const Args& more) {
        Args args = job;
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    keep("booked", jobWith({"json", "--book-offcuts"}), ExitSuccess);
    keep("booked again", jobWith({"jsonl", "--book-offcuts"}), ExitRefused);
    keep("used", jobWith({"json", "--use-offcuts"}), ExitSuccess);
    // Two pieces that the offcuts of 2500 mm can give.
    keep("used by Optimal",
         jobWith({"json", "--use-offcuts", "--algorithm", "optimal", "--cut", "2@2400"}),
         ExitSuccess);
    keep("refused calculation",
         {"--stock", "*@6000", "--cut", "1@7000", "--format", "jsonl", "--use-offcuts",
          "--book-offcuts"},
         ExitRefused);
    ASSERT_EQ(
        RunTool(with({"inventory", "add", "HEA 100", "900", "1", "--location", "Rack"})).status,
        ExitSuccess);
    keep("list", {"inventory", "list", "--format", "json"}, ExitSuccess);
    keep("section", {"inventory", "list", "--format", "json", "--section", "none"}, ExitSuccess);
    ASSERT_EQ(outputs.size(), 7u);
    for (const auto& [name, output] : outputs) {
        const auto errors = validator.Errors(output);
        EXPECT_TRUE(errors.empty()) << name << ": " << errors.front();
    }
    // What the choices tell apart was there: a booking, a refusal, sources and none.
    EXPECT_EQ(outputs[0].second["inventory"]["book_offcuts"]["booked"], true);
    EXPECT_EQ(outputs[1].second["inventory"]["book_offcuts"]["booked"], false);
    EXPECT_EQ(outputs[2].second["inventory"]["use_offcuts"]["changed"], true);
    EXPECT_FALSE(outputs[5].second["offcuts"].empty());
    EXPECT_TRUE(outputs[6].second["offcuts"].empty());
    // Optimal's bound splits the stock into new bars and offcuts, and measures from new stock.
    const json& bound = outputs[3].second["bound"];
    ASSERT_TRUE(bound["offcuts"].is_object()) << bound.dump();
    EXPECT_EQ(bound["offcuts"]["new_stock_mm"].get<long long>() +
                  bound["offcuts"]["offcuts_mm"].get<long long>(),
              bound["used_mm"].get<long long>());
    EXPECT_GT(bound["offcuts"]["offcuts_mm"].get<long long>(), 0);
    EXPECT_EQ(bound["gap_mm"].get<long long>(), bound["offcuts"]["new_stock_mm"].get<long long>() -
                                                    bound["lower_bound_mm"].get<long long>());
    EXPECT_TRUE(outputs[2].second.contains("bound") == false ||
                outputs[2].second["bound"].is_null());
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
        const auto line = text.str().find("\n" + StoppedEarlyText() + "\n");
        EXPECT_EQ(line != std::string::npos, stopped) << text.str();
        if (stopped) {
            EXPECT_GT(line, text.str().find("Chargeable material:"));
        }

        const json result =
            cli::ResultJson({input, done.Outcome.Result, Algorithm::Complex, Algorithm::Complex,
                             done.Outcome, &done.Stats, "", nullptr});
        EXPECT_EQ(result.contains("stopped_early"), stopped);
        if (stopped) {
            EXPECT_EQ(result["stopped_early"], true);
        }
        const auto errors = validator.Errors(result);
        EXPECT_TRUE(errors.empty()) << errors.front();
    }
}

// The patterns written one at a time give the bytes the whole object gives when dumped.
TEST(CliJson, PatternsWrittenOneAtATimeGiveTheSameOutputAsTheWholeObject) {
    JobInput input;
    input.StockRows = {{"*", "6000"}, {"2", "9000"}};
    input.CutRows = {{"4", "2497"}, {"4", "3497"}, {"6", "1197"}, {"9", "411"}};
    input.Section.Customer = "M\xFCller\x1b";  // no UTF-8, and a control character
    CalculationObserver quiet;
    const CalculatedJob done = CalculateJob(input, {}, quiet, NumberFormat::UK());
    ASSERT_GT(done.Outcome.Result.PatternCount(), 1);
    JobInput refusedInput = input;
    refusedInput.CutRows.push_back({"1", "9999"});
    const CalculatedJob refused = CalculateJob(refusedInput, {}, quiet, NumberFormat::UK());
    ASSERT_FALSE(refused.Outcome.Completed);
    for (const CalculatedJob* job : {&done, &refused}) {
        const cli::JobJson of{input,
                              job->Outcome.Result,
                              Algorithm::Complex,
                              Algorithm::Complex,
                              job->Outcome,
                              &job->Stats,
                              "",
                              nullptr};
        json whole = cli::ResultJson(of);
        json without = cli::ResultJsonWithoutPatterns(of);
        whole["inventory"] = without["inventory"] = {{"file", "o.sqlite"}, {"book", nullptr}};
        for (const int indent : {2, -1}) {
            std::ostringstream streamed;
            cli::WriteJson(streamed, without, indent, &job->Outcome.Result.Patterns);
            EXPECT_EQ(streamed.str(),
                      whole.dump(indent, ' ', false, json::error_handler_t::replace))
                << indent;
        }
    }
    // Other values, and an object without patterns given, as dump writes them.
    for (const json& value : {json::object(), json::array(), json({{"a", json::object()}}),
                              json({{"patterns", json::array({1, 2})}, {"b", "x"}})}) {
        std::ostringstream streamed;
        cli::WriteJson(streamed, value, 2);
        EXPECT_EQ(streamed.str(), value.dump(2));
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
    EXPECT_NEAR(std::stod(text), value, 0.5 * std::pow(10.0, -decimals) + 1e-9)
        << where << ": " << original;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, '\t');) fields.push_back(field);
    return fields;
}

TEST(CliJson, FiguresAgreeWithTheTextsShownBesideThem) {
    for (const auto& [name, out] : ExampleOutputs()) {
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
