// Several jobs in one run. What several jobs cannot take is in CliApp's table; the lines of a few
// jobs, standard input, --quiet, --help and --version are recorded (CliOutputRegression).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
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

}  // namespace
}  // namespace tallora
