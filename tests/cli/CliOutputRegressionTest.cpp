// The command line's output for the example jobs and a set of random jobs, compared byte for byte
// with the output recorded in tests/cli/golden. Set TALLORA_RECORD_GOLDEN=1 to record it again,
// after a change that is meant to alter what the program prints.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <regex>
#include <sstream>

#include "cli/CliApp.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

struct GoldenCase {
    std::string name;
    std::vector<std::string> args;
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

std::vector<GoldenCase> Cases(const std::string& oldFile) {
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
    cases.push_back({"old-format-json", {oldFile, "--format", "json"}});
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
    return cases;
}

// The run's standard output, standard error, exit status and the job file it saved. The time a
// calculation took is the one figure that differs between runs.
std::string Transcript(const std::vector<std::string>& args, const std::string& saved) {
    std::vector<std::string> all = args;
    all.insert(all.end(), {"--save", saved});
    std::ostringstream out, err;
    const int status = RunCli(all, out, err);
    std::string text = "status " + std::to_string(status) + "\n--- out\n" + out.str() +
                       "--- err\n" + err.str() + "--- saved\n" + testing::ReadBytes(saved);
    static const std::regex time("Calculation Time : [^\"\\n]*");
    return std::regex_replace(text, time, "Calculation Time : (time)");
}

TEST(CliOutputRegression, OutputIsByteForByteAsRecorded) {
    testing::TempFolder temp;
    const std::string oldFile = temp.File("old-job.txt");
    testing::WriteBytes(oldFile, testing::CrLf({"Tallora Datafile",
                                                "// Stock length data",
                                                "ANY @ 6000",
                                                "3 @ 4000",
                                                "// Cut length data",
                                                "4 @ 1500",
                                                "7 @ 830",
                                                "// Output",
                                                "old text",
                                                "// Customer name",
                                                "Acme",
                                                "// List reference",
                                                "R-7",
                                                "// Section name",
                                                "RHS",
                                                "// Section weight kg/m",
                                                "11.2",
                                                "// Section cost",
                                                "650",
                                                "// Cost type",
                                                "Tonne"}));
    const bool record = std::getenv("TALLORA_RECORD_GOLDEN") != nullptr;
    const std::string folder = std::string(TALLORA_TESTS_DIR) + "/cli/golden/";
    for (const GoldenCase& c : Cases(oldFile)) {
        const std::string transcript = Transcript(c.args, temp.File(c.name + ".tlf"));
        const std::string golden = folder + c.name + ".txt";
        if (record) {
            testing::WriteBytes(golden, transcript);
            continue;
        }
        EXPECT_EQ(transcript, testing::ReadBytes(golden)) << c.name;
    }
}

}  // namespace
}  // namespace tallora
