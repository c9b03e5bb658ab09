// Several jobs in one run, a job on standard input, and the conventions every run keeps:
// --version, --help and --quiet. That every error is one line is checked where each is made.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "cli/CliApp.h"
#include "support/CliTestSupport.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

using nlohmann::json;
using testing::Args;
using testing::CliRun;
using testing::ExpectOneLineError;
using testing::RunTool;

// The results of one run without what differs between runs or says where they came from.
json Results(json result) {
    result.erase("time_text");
    result.erase("file");
    result.erase("exit_status");
    return result;
}

std::string Example(const char* name) { return std::string(TALLORA_EXAMPLES_DIR) + "/" + name; }

// Twenty jobs of generated rows, saved by the program itself, the thirteenth not a job file;
// written last to first, so that the order of the folder's listing is no help.
TEST(CliBatch, AFolderOfJobsGivesOneLineEachInOrderAndABrokenFileFailsAlone) {
    testing::TempFolder temp;
    std::vector<std::string> files;
    for (int i = 1; i <= 20; ++i) {
        const std::string number = (i < 10 ? "0" : "") + std::to_string(i);
        files.push_back(temp.File("job-" + number + ".tlf"));
    }
    for (int i = 20; i >= 1; --i) {
        const std::string& file = files[i - 1];
        if (i == 13) {
            testing::WriteBytes(file, "shopping list\r\nmilk\r\n");
            continue;
        }
        Args args = {"--stock", "*@" + std::to_string(5000 + 250 * i), "--save", file, "--quiet"};
        for (int k = 0; k < 3 + i % 5; ++k) {
            args.insert(args.end(), {"--cut", std::to_string(1 + (i + k) % 6) + "@" +
                                                  std::to_string(400 + 137 * ((i * 7 + k) % 23))});
        }
        if (i % 4 == 0) args.insert(args.end(), {"--algorithm", "fast"});
        ASSERT_EQ(RunTool(args).status, ExitSuccess) << i;
    }
    testing::WriteBytes(temp.File("notes.txt"), "not a job: never read");

    const CliRun run = RunTool({temp.Path().string(), "--costing"});
    EXPECT_EQ(run.status, ExitBadInput);
    ExpectOneLineError(run, files[12] + ": This is not a Tallora Datafile");
    const auto lines = run.Lines();
    ASSERT_EQ(lines.size(), 20u) << run.out;
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i]["file"], files[i]);
        if (i == 12) {
            EXPECT_EQ(lines[i]["exit_status"], ExitBadInput);
            EXPECT_EQ(lines[i]["error"], files[12] +
                                             ": This is not a Tallora Datafile, or the "
                                             "file is corrupt");
            EXPECT_FALSE(lines[i].contains("patterns"));
            continue;
        }
        EXPECT_EQ(lines[i]["exit_status"], ExitSuccess);
        EXPECT_TRUE(lines[i]["error"].is_null());
        EXPECT_TRUE(lines[i].contains("costing")) << "options apply to every job";
        // Calculated beside the others, each job gives what it gives alone.
        const CliRun alone = RunTool({files[i], "--costing", "--format", "json"});
        EXPECT_EQ(Results(lines[i]), Results(json::parse(alone.out))) << files[i];
    }
}

TEST(CliBatch, ExitStatusIsTheWorstJobsAndOptionsApplyToEach) {
    testing::TempFolder temp;
    const std::string refused = temp.File("refused.tlf");
    EXPECT_EQ(RunTool({"--stock", "*@6000", "--cut", "1@7000", "--save", refused}).status,
              ExitRefused);
    const std::string beam = Example("beam-job.tlf");

    const CliRun run = RunTool({beam, refused, "--kerf", "5"});
    EXPECT_EQ(run.status, ExitRefused);
    ExpectOneLineError(run, refused + ": You have not entered a stock length long enough");
    const auto lines = run.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]["exit_status"], ExitSuccess);
    EXPECT_EQ(lines[1]["exit_status"], ExitRefused);
    // The JSON keeps the message box's text as it is.
    EXPECT_NE(lines[1]["error"].get<std::string>().find("7000mm.\r\nPlease"), std::string::npos);
    for (const json& line : lines) EXPECT_EQ(line["input"]["kerf"], 5);

    const CliRun good = RunTool({beam, Example("costing-job.tlf")});
    EXPECT_EQ(good.status, ExitSuccess) << good.err;
    EXPECT_TRUE(good.err.empty());
    EXPECT_EQ(good.Lines().size(), 2u);
}

TEST(CliBatch, WhatSeveralJobsCannotTakeIsRefusedBeforeAnyIsCalculated) {
    testing::TempFolder temp;
    const std::string beam = Example("beam-job.tlf");
    const std::vector<std::pair<Args, std::string>> cases = {
        {{beam, beam, "--save", temp.File("x.tlf")}, "--save: writes one file"},
        {{beam, beam, "--pdf", temp.File("x.pdf")}, "--pdf: writes one file"},
        {{beam, beam, "--diagram", temp.File("x.png")}, "--diagram: writes one file"},
        {{TALLORA_EXAMPLES_DIR, "--save", temp.File("x.tlf")}, "--save: writes one file"},
        {{beam, beam, "--format", "text"}, "--format text: several jobs"},
        {{beam, beam, "--format", "json"}, "--format json: several jobs"},
        {{beam, beam, "--stock", "5@19000"}, "--stock 5@19000: 19000mm is greater than"},
        {{temp.Path().string()}, temp.Path().string() + ": the folder holds no *.tlf job files"},
        {{"-", beam, "-"}, "-: standard input holds one job"},
    };
    for (const auto& [args, message] : cases) {
        const CliRun run = RunTool(args);
        EXPECT_EQ(run.status, ExitBadInput) << message;
        EXPECT_TRUE(run.out.empty()) << message;
        ExpectOneLineError(run, message);
    }
    EXPECT_TRUE(std::filesystem::is_empty(temp.Path()));
}

TEST(CliBatch, AJobOnStandardInputIsReadAsFromItsFile) {
    const std::string beam = Example("beam-job.tlf");
    const std::string bytes = testing::ReadBytes(beam);
    const CliRun fromFile = RunTool({beam, "--format", "json", "--costing"});
    const CliRun fromInput = RunTool({"-", "--format", "json", "--costing"}, bytes);
    ASSERT_EQ(fromInput.status, ExitSuccess) << fromInput.err;
    EXPECT_EQ(Results(json::parse(fromInput.out)), Results(json::parse(fromFile.out)));
    EXPECT_EQ(RunTool({"-", "--no-calc"}, bytes).out, RunTool({beam, "--no-calc"}).out);

    // Among other jobs; and named as standard input when it is no job.
    const CliRun batch = RunTool({Example("costing-job.tlf"), "-"}, bytes);
    ASSERT_EQ(batch.status, ExitSuccess) << batch.err;
    EXPECT_EQ(batch.Lines()[1]["file"], "-");
    const CliRun bad = RunTool({"-", "--format", "jsonl"}, "hello\n");
    EXPECT_EQ(bad.status, ExitBadInput);
    ExpectOneLineError(bad, "standard input: This is not a Tallora Datafile");
    EXPECT_EQ(bad.Lines().at(0)["file"], "-");
    EXPECT_EQ(bad.Lines().at(0)["exit_status"], ExitBadInput);
}

TEST(CliConventions, VersionAndHelp) {
    const CliRun version = RunTool({"--version"});
    EXPECT_EQ(version.status, ExitSuccess);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("tallora-cli [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << version.out;
    const json result =
        json::parse(RunTool({"--stock", "*@6000", "--cut", "1@100", "--format", "json"}).out);
    EXPECT_EQ(version.out, "tallora-cli " + result["version"].get<std::string>() + "\n");

    const CliRun help = RunTool({"--help"});
    EXPECT_EQ(help.status, ExitSuccess);
    for (const char* text :
         {"Exit status: 0 success; 1 a calculation was refused", "; 2 bad usage or bad input",
          "docs/cli-json.md", "--quiet", "jsonl"}) {
        EXPECT_NE(help.out.find(text), std::string::npos) << text;
    }
    // A command's --help is that command's.
    const CliRun add = RunTool({"inventory", "add", "--help"});
    EXPECT_EQ(add.status, ExitSuccess);
    EXPECT_NE(add.out.find("Usage: add [OPTIONS] SECTION LENGTH COUNT"), std::string::npos)
        << add.out;
}

TEST(CliConventions, QuietPrintsNothingButWritesTheFilesAskedFor) {
    testing::TempFolder temp;
    const std::string saved = temp.File("saved.tlf");
    const Args job = {"--stock", "*@6000", "--cut", "3@1500", "--costing", "--quiet"};
    for (const char* format : {"text", "json", "jsonl"}) {
        Args args = job;
        args.insert(args.end(), {"--format", format, "--save", saved});
        const CliRun run = RunTool(args);
        EXPECT_EQ(run.status, ExitSuccess) << format;
        EXPECT_TRUE(run.out.empty()) << format;
        EXPECT_TRUE(run.err.empty()) << format;
        EXPECT_NE(testing::ReadBytes(saved).find("Cutting Pattern Number 1:"), std::string::npos);
        std::filesystem::remove(saved);
    }
    // Errors still say what went wrong; several jobs still tell by the exit status.
    const CliRun refused = RunTool({"--stock", "*@6000", "--cut", "1@7000", "--quiet"});
    EXPECT_EQ(refused.status, ExitRefused);
    EXPECT_TRUE(refused.out.empty());
    ExpectOneLineError(refused, "7000mm.");
    const CliRun batch = RunTool({Example("beam-job.tlf"), temp.File("none.tlf"), "--quiet"});
    EXPECT_EQ(batch.status, ExitBadInput);
    EXPECT_TRUE(batch.out.empty());
    ExpectOneLineError(batch, temp.File("none.tlf"));
}

}  // namespace
}  // namespace tallora
