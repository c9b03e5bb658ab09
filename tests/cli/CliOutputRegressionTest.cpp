// The command line's output for the example jobs, a set of random jobs and the cases of the other
// CLI tests whose whole output is the check, compared byte for byte with the output recorded in
// tests/cli/golden. Set TALLORA_RECORD_GOLDEN=1 to record it again, after a change that is meant
// to alter what the program prints.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <regex>
#include <sstream>

#include "cli/CliApp.h"
#include "support/CliTestSupport.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

using testing::Args;
using testing::With;

struct GoldenCase {
    std::string name;
    // "{dir}" is the folder of the input files and of the files the cases save; "{out}" a folder
    // of the case's own, whose files are part of its transcript.
    std::vector<std::string> args;
    bool save = true;                                 // with --save {dir}/NAME.tlf
    std::optional<std::string> input = std::nullopt;  // standard input
};

std::string Example(const char* name) { return std::string(TALLORA_EXAMPLES_DIR) + "/" + name; }

// A job of a few stock rows and up to 25 cut rows with random allowances, prices and charges.
// The arguments come from the generator's raw output, the same on every platform.
std::vector<std::string> RandomJob(unsigned seed) {
    std::mt19937 random(seed);
    auto pick = [&random](int low, int high) {
        return low + static_cast<int>(random() % static_cast<unsigned>(high - low + 1));
    };
    std::vector<std::string> args;
    const int stockRows = pick(1, 4);
    for (int i = 0; i < stockRows; ++i) {
        const std::string quantity = pick(0, 2) == 0 ? std::to_string(pick(1, 15)) : "*";
        args.insert(args.end(), {"--stock", quantity + "@" + std::to_string(pick(30, 120) * 100)});
    }
    const int cutRows = pick(1, 25);
    for (int i = 0; i < cutRows; ++i) {
        args.insert(args.end(),
                    {"--cut", std::to_string(pick(1, 20)) + "@" +
                                  std::to_string(pick(1, 60) * (pick(0, 1) ? 100 : 7))});
    }
    args.insert(args.end(), {"--kerf", std::to_string(pick(1, 10)), "--trim",
                             std::to_string(pick(0, 50)), "--hold", std::to_string(pick(0, 60)),
                             "--offcut", std::to_string(pick(0, 30) * 100)});
    if (pick(0, 4) == 0) args.push_back("--scrap-all");
    if (pick(0, 2) == 0) args.insert(args.end(), {"--algorithm", "fast"});
    args.insert(args.end(),
                {"--weight", std::to_string(pick(1, 90000)) + "e-3", "--cost",
                 std::to_string(pick(0, 200000)) + "e-2", "--per", pick(0, 1) ? "tonne" : "metre"});
    const char* cutBases[] = {"tonne", "metre", "lump", "cut"};
    const char* otherBases[] = {"tonne", "metre", "lump", "each"};
    args.insert(args.end(), {"--cut-charge", std::string(cutBases[pick(0, 3)]) + ":" +
                                                 std::to_string(pick(0, 500)) + "e-1"});
    for (const char* charge : {"--charge1", "--charge2", "--charge3"}) {
        args.insert(args.end(), {charge, std::string(otherBases[pick(0, 3)]) + ":" +
                                             std::to_string(pick(0, 300)) + "e-1"});
    }
    args.insert(args.end(), {"--costing", "--format", seed % 2 == 0 ? "json" : "text"});
    return args;
}

// The files the cases read, by name in {dir}.
std::map<std::string, std::string> InputFiles() {
    std::string escaped = testing::ReadBytes(Example("beam-job.tlf"));
    escaped.replace(escaped.find(" Cutting Pattern"), 1, "\x1B[2J\x07");
    const std::string formulas =
        "Quantity,Length,Mark\n2,1000,\"=HYPERLINK(\"\"http://x\"\")\"\n"
        "2,1100,+1+1\n2,1200,-2+3\n2,1300,@SUM(A1)\n";
    return {
        {"old-job.txt",
         "Tallora Datafile\r\n// Stock length data\r\nANY @ 6000\r\n3 @ 4000\r\n"
         "// Cut length data\r\n4 @ 1500\r\n7 @ 830\r\n// Output\r\nold text\r\n"
         "// Customer name\r\nAcme\r\n// List reference\r\nR-7\r\n// Section name\r\nRHS\r\n"
         "// Section weight kg/m\r\n11.2\r\n// Section cost\r\n650\r\n// Cost type\r\nTonne\r\n"},
        {"stock.tsv", "Quantity\tLength\nANY\t6000\n2\t12000\n"},
        {"cuts.csv", "Qty;Length;Mark\n4;1450;B1\n\"3\";2100;\"C;2\"\n7;980\n2;1450;B9\n"},
        {"imperial.txt", "12 6' 3-1/2\" B12\n8 75 1/2\n"},
        {"long.csv", "Quantity,Length\n4,1450\n2,18301\n"},
        {"esc.csv", "Quantity,Length\n3,\x1b[2J\abad\n"},
        {"nul.csv", std::string("3,ab\0cd\n", 8)},
        {"formulas.csv", formulas},
        {"bad-row.tlf", "TA DataFile\r\n1\r\n5 6000\r\n"},
        {"hello.tlf", "hello\r\n"},
        {"escape.tlf", escaped},
        {"escape-row.tlf", "TA DataFile\r\n1\r\n* @ 6000\r\n1\r\n2 @ 1\x1b[2J00\r\n"},
        // A stored pattern of no pieces and 2^31 - 1 bars.
        {"no-pieces.tlf",
         "TA DataFile\r\n1\r\n* @ 6000\r\n1\r\n1 @ 1000\r\n0\r\nAcme\r\n\r\nIPE 200\r\n0\r\n0\r\n"
         "Tonne\r\n1\r\n5975\r\n2147483647\r\n0\r\n1\r\n5975\r\n"},
    };
}

std::vector<GoldenCase> Cases() {
    std::vector<GoldenCase> cases;
    for (const char* example : {"beam-job", "limited-stock", "costing-job"}) {
        const std::string file = Example((std::string(example) + ".tlf").c_str());
        const std::string base = example;
        cases.push_back({base + "-text", {file, "--costing"}});
        cases.push_back({base + "-json", {file, "--costing", "--format", "json"}});
        cases.push_back({base + "-nocalc-text", {file, "--no-calc", "--costing"}});
        cases.push_back(
            {base + "-nocalc-json", {file, "--no-calc", "--costing", "--format", "json"}});
        cases.push_back({base + "-fast-json", {file, "--algorithm", "fast", "--format", "json"}});
    }
    cases.push_back({"old-format-json", {"{dir}/old-job.txt", "--format", "json"}});
    cases.push_back({"refused-json", {"--stock", "*@6000", "--cut", "1@7000", "--format", "json"}});
    cases.push_back({"large-job-switched-json",
                     {"--stock", "*@12000", "--switch-to-fast", "--format", "json"}});
    for (int i = 0; i < 45; ++i) {
        cases.back().args.insert(
            cases.back().args.end(),
            {"--cut", std::to_string(i % 7 + 1) + "@" + std::to_string(500 + 37 * i)});
    }
    for (unsigned seed = 1; seed <= 24; ++seed) {
        cases.push_back({"random-" + std::to_string(seed), RandomJob(seed)});
    }
    const std::string beam = testing::ReadBytes(Example("beam-job.tlf"));
    const std::vector<GoldenCase> more = {
        // Rows committed as the entry panels commit them (merged), a kerf limited, prices
        // rounded as their fields show them, the pound sign dropped.
        {"rows-merged-json",
         {"--stock", "5@6000", "--stock", "3@6000", "--cut", "2@997", "--cut", "1@997", "--kerf",
          "12", "--trim", "0", "--format", "json"}},
        // The file's rows, then the options'; its trim unless given.
        {"file-rows-then-options-json",
         {"{dir}/rows-merged-json.tlf", "--stock", "3@6000", "--cut", "1@2000", "--kerf", "2",
          "--hold", "15", "--format", "json"}},
        {"prices-rounded-json",
         {"--stock", "*@6000", "--cut", "1@1000", "--weight", "10.0004", "--cost", "\u00A32.005",
          "--per", "metre", "--format", "json"}},
        {"charge-names-text",
         {"--stock", "*@6000", "--cut", "2@1500", "--trim", "0", "--weight", "10", "--cost", "500",
          "--cut-charge", "LUMP:30", "--charge1", "each:2", "--charge-names", "Galv,,Paint",
          "--costing"}},
        // Feet and inches, saved, shown again from the file and converted back to metric.
        {"imperial-text",
         {"--units", "imperial", "--stock", "ANY@20ft", "--cut", "12@6' 3-1/2\"", "--kerf", "1/8\"",
          "--trim", "1/2\"", "--weight", "10"}},
        {"imperial-nocalc-text", {"{dir}/imperial-text.tlf", "--no-calc"}},
        {"imperial-to-metric-json",
         {"{dir}/imperial-text.tlf", "--units", "metric", "--format", "json"}},
        {"imperial-to-metric-nocalc",
         {"{dir}/imperial-text.tlf", "--units", "metric", "--no-calc"}},
        {"imperial-rows-json",
         {"--units", "imperial", "--stock", "*@20ft", "--cuts-csv", "{dir}/imperial.txt",
          "--format", "json"}},
        {"nocalc-offcuts-json",
         {Example("limited-stock.tlf"), "--no-calc", "--offcut", "1", "--format", "json"}},
        {"old-format-nocalc", {"{dir}/old-job.txt", "--no-calc"}},
        {"corrupted-row", {"{dir}/bad-row.tlf"}},
        {"not-a-job", {"{dir}/hello.tlf"}},
        {"missing-file", {"{dir}/none.tlf"}},
        // Texts from outside: bytes that are no UTF-8, control characters in a stored cutting
        // list, in rows files and arguments, formulas on their way to a spreadsheet.
        {"no-utf8-json",
         {"--stock", "*@6000", "--cut", "2@1500", "--customer", "M\xFCller\x1b", "--charge-names",
          "Galv\xff", "--costing", "--section", "R\xC3HS", "--format", "json"}},
        {"escape-in-stored-list", {"{dir}/escape.tlf", "--no-calc"}},
        {"escape-in-rows-file", {"--stock", "*@6000", "--cuts-csv", "{dir}/esc.csv"}},
        {"nul-in-rows-file", {"--stock", "*@6000", "--cuts-csv", "{dir}/nul.csv"}},
        {"escape-in-argument", {"--stock", "*@60\x1b[31m00", "--cut", "1@1000"}},
        {"bell-in-file-name", {"/no/such/folder/\a\x1b]0;title\a.tlf"}},
        {"formulas",
         {"--stock", "*@6000", "--cuts-csv", "{dir}/formulas.csv", "--export-csv", "{out}/list.csv",
          "--costing-csv", "{out}/costs.csv", "--charge-names", "=1+1,-2,@x"}},
        // Rows files: a header skipped, ANY unlimited, a mark keeping a row of its own; the
        // cutting list and the costing exported.
        {"rows-files-json",
         {"--stock-csv", "{dir}/stock.tsv", "--cuts-csv", "{dir}/cuts.csv", "--format", "json",
          "--costing", "--weight", "10", "--cost", "500", "--export-csv", "{out}/list.csv",
          "--costing-csv", "{out}/costing.csv"}},
        {"rows-long", {"--stock", "*@6000", "--cuts-csv", "{dir}/long.csv"}},
        {"rows-on-input-json",
         {"--stock", "*@6000", "--cuts-csv", "-", "--format", "json"},
         true,
         "2 1500\n"},
        // Standard input: a job read as from its file, alone and among others.
        {"job-on-input-json", {"-", "--format", "json", "--costing"}, true, beam},
        {"not-a-job-on-input", {"-", "--format", "jsonl"}, true, "hello\n"},
        {"several-jobs",
         {Example("costing-job.tlf"), "-", "{dir}/hello.tlf", "--kerf", "5"},
         false,
         beam},
        {"worst-job-counts",
         {Example("beam-job.tlf"), "{dir}/refused-json.tlf", "--kerf", "5"},
         false},
        // The job file and the line named; a stored result read as corrupted is never booked.
        {"escape-in-job-row", {"{dir}/escape-row.tlf"}},
        {"no-pieces-never-booked",
         {"{dir}/no-pieces.tlf", "--no-calc", "--book-offcuts", "--inventory", "{out}/o.sqlite"}},
        // --quiet prints nothing but writes the files asked for; errors still say what went
        // wrong, several jobs still tell by the exit status.
        {"quiet-text", {"--stock", "*@6000", "--cut", "3@1500", "--costing", "--quiet"}},
        {"quiet-json", {"--stock", "*@6000", "--cut", "3@1500", "--format", "json", "--quiet"}},
        {"quiet-jsonl", {"--stock", "*@6000", "--cut", "3@1500", "--format", "jsonl", "--quiet"}},
        {"quiet-refused", {"--stock", "*@6000", "--cut", "1@7000", "--quiet"}},
        {"quiet-several-jobs", {"{dir}/quiet-text.tlf", "{dir}/none.tlf", "--quiet"}, false},
        {"help", {"--help"}, false},
        {"version", {"--version"}, false},
        {"inventory-add-help", {"inventory", "add", "--help"}, false},
    };
    cases.insert(cases.end(), more.begin(), more.end());
    // The offcut inventory's commands, one after the other on one file.
    const std::vector<std::pair<std::string, Args>> commands = {
        {"inventory-add", {"add", "IPE 200", "2500", "3", "--location", "Rack 4"}},
        {"inventory-add-another", {"add", "HEA 100", "1200", "1"}},
        {"inventory-list-json", {"list", "--format", "json"}},
        {"inventory-list-section", {"list", "--section", "ipe 200"}},
        {"inventory-remove-some", {"remove", "1", "2"}},
        {"inventory-remove-rest", {"remove", "1"}},
        {"inventory-list-none", {"list", "--section", "IPE 200"}},
        {"inventory-export-section", {"export", "{out}/offcuts.csv", "--section", "hea 100"}},
        {"inventory-add-formulas",
         {"add", "=HYPERLINK(\"http://x\")", "900", "1", "--location", "+1+1"}},
        {"inventory-export-formulas",
         {"export", "{out}/offcuts.csv", "--section", "=HYPERLINK(\"http://x\")"}},
    };
    for (const auto& [name, args] : commands) {
        cases.push_back({name, {"inventory"}, false});
        cases.back().args.insert(cases.back().args.end(), args.begin(), args.end());
        cases.back().args.insert(cases.back().args.end(), {"--inventory", "{dir}/offcuts.sqlite"});
    }
    // Jobs that book their offcuts and use those of the jobs before: which offcuts a job takes
    // and leaves is the inventory's rule (BookingTest); here what the command line says of it.
    const auto returning = [](const std::string& section, const std::string& reference) {
        return Args{"--stock",     "*@6000",   "--cut",       "6@1500",           "--cut",
                    "1@5000",      "--offcut", "1000",        "--section",        section,
                    "--reference", reference,  "--inventory", "{dir}/jobs.sqlite"};
    };
    const auto listed = [](const std::string& file) {
        return Args{"inventory", "list", "--format", "json", "--inventory", "{dir}/" + file};
    };
    const std::vector<GoldenCase> jobs = {
        {"book-json", With(returning("IPE 200", "A"), {"--book-offcuts", "--format", "json"})},
        {"booked-list", listed("jobs.sqlite"), false},
        {"book-again", With(returning("IPE 200", "A"), {"--book-offcuts"})},
        {"book-again-jsonl",
         With(returning("IPE 200", "A"), {"--book-offcuts", "--format", "jsonl"})},
        {"use-and-book-json",
         {"--cut", "2@1400", "--offcut", "1000", "--section", " ipe 200", "--reference", "B",
          "--use-offcuts", "--book-offcuts", "--format", "json", "--inventory",
          "{dir}/jobs.sqlite"}},
        {"use-text", With(returning("ipe 200", "C"), {"--use-offcuts"})},
        {"use-and-book-quiet",
         With(returning("ipe 200", "D"), {"--use-offcuts", "--book-offcuts", "--quiet"})},
        {"used-list", listed("jobs.sqlite"), false},
        // Several jobs in one run, each on the inventory the one before left.
        {"returns",
         {"--stock", "*@6000", "--cut", "6@1500", "--cut", "1@5000", "--offcut", "1000",
          "--section", "IPE 200", "--quiet"}},
        {"uses-1400", {"--stock", "1@6000", "--cut", "2@1400", "--section", "IPE 200", "--quiet"}},
        {"uses-1300", {"--stock", "1@6000", "--cut", "2@1300", "--section", "IPE 200", "--quiet"}},
        {"uses-1400-alone",
         {"{dir}/uses-1400.tlf", "--use-offcuts", "--format", "json", "--inventory",
          "{dir}/empty.sqlite"}},
        {"one-run",
         {"{dir}/returns.tlf", "{dir}/uses-1400.tlf", "{dir}/uses-1300.tlf", "--use-offcuts",
          "--book-offcuts", "--inventory", "{dir}/one-run.sqlite"},
         false},
        {"one-run-list", listed("one-run.sqlite"), false},
        {"booked-twice-in-one-run",
         {"{dir}/returns.tlf", "{dir}/returns.tlf", "--book-offcuts", "--inventory",
          "{dir}/twice.sqlite"},
         false},
    };
    cases.insert(cases.end(), jobs.begin(), jobs.end());
    return cases;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The run's standard output, standard error, exit status, the job file it saved and the files
// of its folder. The time a calculation took is the one figure that differs between runs; the
// folders are named as in the case.
std::string Transcript(const GoldenCase& c, const testing::TempFolder& temp) {
    const std::string dir = temp.Path().string(), out = temp.File(c.name);
    std::filesystem::create_directory(out);
    std::vector<std::string> args;
    for (std::string arg : c.args) {
        ReplaceAll(arg, "{out}", out);
        ReplaceAll(arg, "{dir}", dir);
        args.push_back(arg);
    }
    const std::string saved = temp.File(c.name + ".tlf");
    if (c.save) args.insert(args.end(), {"--save", saved});
    std::ostringstream output, err;
    std::istringstream in(c.input.value_or(""));
    const int status = RunCli(args, output, err, nullptr, false, c.input ? &in : nullptr);
    std::string text = "status " + std::to_string(status) + "\n--- out\n" + output.str() +
                       "--- err\n" + err.str() + "--- saved\n" + testing::ReadBytes(saved);
    std::vector<std::filesystem::path> files(std::filesystem::directory_iterator(out), {});
    std::sort(files.begin(), files.end());
    for (const auto& file : files)
        text += "--- " + file.filename().string() + "\n" + testing::ReadBytes(file.string());
    ReplaceAll(text, dir, "{dir}");
    ReplaceAll(text, TALLORA_EXAMPLES_DIR, "{examples}");
    static const std::regex time("Calculation Time : [^\"\\n]*");
    static const std::regex bookedAt("[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z");
    return std::regex_replace(std::regex_replace(text, time, "Calculation Time : (time)"), bookedAt,
                              "YYYY-MM-DDThh:mm:ssZ");
}

TEST(CliOutputRegression, OutputIsByteForByteAsRecorded) {
    testing::TempFolder temp;
    const auto inputs = InputFiles();
    for (const auto& [name, bytes] : inputs) testing::WriteBytes(temp.File(name), bytes);
    const bool record = std::getenv("TALLORA_RECORD_GOLDEN") != nullptr;
    const std::string folder = std::string(TALLORA_TESTS_DIR) + "/cli/golden/";
    for (const GoldenCase& c : Cases()) {
        const std::string transcript = Transcript(c, temp);
        const std::string golden = folder + c.name + ".txt";
        if (record) {
            testing::WriteBytes(golden, transcript);
            continue;
        }
        EXPECT_EQ(transcript, testing::ReadBytes(golden)) << c.name;
    }
    // No run changed a file it read.
    for (const auto& [name, bytes] : inputs)
        EXPECT_EQ(testing::ReadBytes(temp.File(name)), bytes) << name;
}

}  // namespace
}  // namespace tallora
