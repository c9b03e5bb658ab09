#include "cli/CliApp.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

namespace tallora {
namespace {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

CliRun RunTool(std::vector<std::string> args) {
    std::ostringstream out, err;
    CliRun run;
    run.status = RunCli(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

TEST(CliApp, JsonResultOfAJob) {
    const CliRun run = RunTool({"--stock", "*@6050", "--cut", "5@1000", "--kerf", "3", "--trim", "25",
                            "--hold", "25", "--format", "json"});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    ASSERT_EQ(json["patterns"].size(), 1u);
    const auto& p = json["patterns"][0];
    EXPECT_EQ(p["StockLength"], 6000);
    EXPECT_EQ(p["BarCount"], 1);
    EXPECT_EQ(p["CutLength"], nlohmann::json({1003}));
    EXPECT_EQ(p["PieceCount"], nlohmann::json({5}));
    EXPECT_EQ(p["IsOffcut"], false);
    EXPECT_EQ(p["OffcutLength"], 0);
    EXPECT_EQ(json["remaining"], nlohmann::json::array());
    EXPECT_EQ(json["stock_left"], nlohmann::json({{-1, 6000}}));
    EXPECT_EQ(json["scale_factor"], 1);
    EXPECT_EQ(json["permutations"], 1);
    EXPECT_EQ(json["algorithm"], "complex");
    EXPECT_TRUE(json["error"].is_null());
    EXPECT_EQ(json["time_text"].get<std::string>().rfind("Calculation Time : ", 0), 0u);
}

TEST(CliApp, RowsAreCommittedAsTypedAndAllowancesLimited) {
    const CliRun run = RunTool({"--stock", "5@6000", "--stock", "3@6000", "--cut", "2@997", "--cut",
                            "1@997", "--kerf", "12", "--trim", "0", "--format", "json"});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    // One stock row of 8 bars; a kerf of 12 is limited to 10.
    ASSERT_EQ(json["patterns"].size(), 1u);
    EXPECT_EQ(json["patterns"][0]["CutLength"], nlohmann::json({1007}));
    EXPECT_EQ(json["patterns"][0]["PieceCount"], nlohmann::json({3}));
    EXPECT_EQ(json["stock_left"], nlohmann::json({{8, 6000}}));
}

TEST(CliApp, RefusedCalculationExitsOneWithTheMessage) {
    const CliRun run =
        RunTool({"--stock", "*@6000", "--cut", "1@7000", "--trim", "0", "--format", "json"});
    EXPECT_EQ(run.status, ExitRefused);
    const std::string message =
        "You have not entered a stock length long enough to cut a length of 7000mm.\r\n"
        "Please check your stock length entries.";
    EXPECT_EQ(nlohmann::json::parse(run.out)["error"], message);
    EXPECT_NE(run.err.find("long enough to cut a length of 7000mm.\nPlease check"),
              std::string::npos);

    const CliRun text = RunTool({"--stock", "*@6000", "--cut", "1@7000"});
    EXPECT_EQ(text.status, ExitRefused);
    EXPECT_TRUE(text.out.empty());
}

TEST(CliApp, BadArgumentsExitTwoNamingTheArgument) {
    struct Case {
        std::vector<std::string> args;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{"--stock", "5@19000", "--cut", "1@100"}, "--stock 5@19000: 19000mm is greater than"},
        {{"--stock", "5-6000", "--cut", "1@100"}, "--stock 5-6000: expected QUANTITY@LENGTH"},
        {{"--stock", "*@6000", "--cut", "*@100"}, "--cut *@100: '*' is not a quantity"},
        {{"--stock", "*@6000", "--cut", "1@100", "--kerf", "abc"}, "--kerf abc"},
        {{"--stock", "*@6000", "--cut", "1@100", "--algorithm", "slow"}, "--algorithm"},
        {{"--stock", "*@6000", "--cut", "1@100", "--bogus"}, "--bogus"},
        {{"--stock", "*@6000"}, "nothing to calculate"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunTool(c.args);
        EXPECT_EQ(run.status, ExitBadInput) << c.expected;
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
    }
}

TEST(CliApp, AnswersTheFastQuestionAsTold) {
    std::vector<std::string> args = {"--stock", "any@1000", "--trim", "0", "--format", "json"};
    for (int i = 1; i <= 41; ++i) {
        args.push_back("--cut");
        args.push_back("1@" + std::to_string(10 * i - 3));
    }
    const CliRun complex = RunTool(args);
    ASSERT_EQ(complex.status, ExitSuccess) << complex.err;
    EXPECT_EQ(nlohmann::json::parse(complex.out)["algorithm"], "complex");

    args.push_back("--switch-to-fast");
    const CliRun fast = RunTool(args);
    ASSERT_EQ(fast.status, ExitSuccess) << fast.err;
    EXPECT_EQ(nlohmann::json::parse(fast.out)["algorithm"], "fast");
    EXPECT_EQ(nlohmann::json::parse(fast.out)["remaining"], nlohmann::json::array());
}

TEST(CliApp, TextSummaryListsPatternsInEnteredSizes) {
    const CliRun run = RunTool({"--stock", "2@6025", "--cut", "7@2000", "--algorithm", "fast"});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    EXPECT_NE(run.out.find("2 bars of 6025mm"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("    2 x 2000mm"), std::string::npos);
    EXPECT_NE(run.out.find("Not incorporated:\n    3 x 2000mm"), std::string::npos);
}

}  // namespace
}  // namespace tallora
