// tallora-cli given what an attacker or an unlucky user would give it: output paths it must not
// damage and outputs that fail. Bad bytes in files and arguments, and formulas on their way to a
// spreadsheet, are recorded cases (CliOutputRegression).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "inventory/OffcutStore.h"
#include "support/CliTestSupport.h"
#include "support/RecordingPrintEngine.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

using testing::Args;
using testing::CliRun;
using testing::ExpectOneLineError;
using testing::RunTool;
using testing::RunWithFullOutput;
using testing::TempFolder;
using testing::With;
using testing::WriteBytes;

namespace fs = std::filesystem;

// Every entry of a folder: its path, and a link's target or a file's bytes and names.
std::map<std::string, std::string> Snapshot(const TempFolder& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder.Path())) {
        const fs::path& path = entry.path();
        entries[path.string()] = fs::is_symlink(path) ? "-> " + fs::read_symlink(path).string()
                                 : fs::is_regular_file(path)
                                     ? std::to_string(fs::hard_link_count(path)) + " " +
                                           testing::ReadBytes(path.string())
                                     : "";
    }
    return entries;
}

// An output path as a user or another program may have left it: the run writes through links,
// refuses what it would damage (a file with other names, a file the run reads, a file another
// output writes) and leaves every file and link as it was when it refuses.
TEST(CliHostileInput, OutputPathsAreWrittenThroughOrRefusedWithoutDamage) {
    const Args job = {"--stock", "*@6000", "--cut", "2@1500", "--section", "IPE 200", "--quiet"};
    const auto saveJob = [&](const TempFolder& f) {
        ASSERT_EQ(RunTool(With(job, {"--save", f.File("job.tlf")})).status, ExitSuccess);
    };
    struct OutputCase {
        std::function<void(const TempFolder&)> Prepare;
        Args Arguments;                        // "{dir}" is the folder
        std::string Error;                     // empty: the run succeeds, and writes this file
        std::string Written = "", Holds = "";  // empty Error: the file written, a line it holds
    };
    const std::vector<OutputCase> cases = {
        // A link to a file not made yet, and a chain of them.
        {[](const TempFolder& f) { fs::create_symlink("made.tlf", f.File("link.tlf")); },
         {"--save", "{dir}/link.tlf"},
         "",
         "made.tlf",
         "TA DataFile\r\n"},
        {[](const TempFolder& f) {
             fs::create_directory(f.File("sub"));
             fs::create_symlink("sub/second.csv", f.File("first.csv"));
             fs::create_symlink("list.csv", f.File("sub/second.csv"));
         },
         {"--export-csv", "{dir}/first.csv", "--costing-csv", "{dir}/costs.csv"},
         "",
         "sub/list.csv",
         "Pattern,"},
        {[](const TempFolder& f) { fs::create_symlink("gone/x.csv", f.File("link.csv")); },
         {"--export-csv", "{dir}/link.csv"},
         "--export-csv {dir}/link.csv: the folder {dir}/gone does not exist"},
        {[](const TempFolder& f) {
             fs::create_symlink("b.tlf", f.File("a.tlf"));
             fs::create_symlink("a.tlf", f.File("b.tlf"));
         },
         {"--save", "{dir}/a.tlf"},
         "--save {dir}/a.tlf: Too many levels of symbolic links"},
        {[](const TempFolder& f) {
             WriteBytes(f.File("a.tlf"), "old");
             fs::create_hard_link(f.File("a.tlf"), f.File("b.tlf"));
         },
         {"--save", "{dir}/a.tlf"},
         "--save {dir}/a.tlf: the file has other names (hard links)"},
        {[](const TempFolder& f) { ASSERT_EQ(mkfifo(f.File("pipe.csv").c_str(), 0600), 0); },
         {"--export-csv", "{dir}/pipe.csv"},
         "--export-csv {dir}/pipe.csv: not a regular file"},
        {saveJob,
         {"{dir}/job.tlf", "--export-csv", "{dir}/job.tlf"},
         "--export-csv {dir}/job.tlf: is the job file ({dir}/job.tlf); give another file"},
        {[](const TempFolder& f) {
             WriteBytes(f.File("cuts.csv"), "4,1500\n");
             fs::create_symlink("cuts.csv", f.File("costs.csv"));
         },
         {"--cuts-csv", "{dir}/cuts.csv", "--costing-csv", "{dir}/costs.csv"},
         "--costing-csv {dir}/costs.csv: is a file of rows the job reads ({dir}/cuts.csv)"},
        {[](const TempFolder& f) {
             ASSERT_EQ(RunTool({"inventory", "add", "IPE 200", "2500", "1", "--inventory",
                                f.File("o.sqlite")})
                           .status,
                       ExitSuccess);
         },
         {"--use-offcuts", "--inventory", "{dir}/o.sqlite", "--save", "{dir}/o.sqlite"},
         "--save {dir}/o.sqlite: is the offcut inventory"},
        {{},
         {"--export-csv", "{dir}/out.csv", "--costing-csv", "{dir}/./out.csv"},
         "--costing-csv {dir}/./out.csv: is the file of --export-csv ({dir}/out.csv)"},
        // The job saved over its own file.
        {saveJob,
         {"{dir}/job.tlf", "--save", "{dir}/job.tlf", "--cut", "1@700"},
         "",
         "job.tlf",
         "1 @ 700"},
    };
    for (const OutputCase& c : cases) {
        TempFolder folder;
        const auto in = [&](std::string text) {
            for (auto at = text.find("{dir}"); at != std::string::npos; at = text.find("{dir}"))
                text.replace(at, 5, folder.Path().string());
            return text;
        };
        SCOPED_TRACE(in(c.Arguments.back()));
        if (c.Prepare) c.Prepare(folder);
        const auto before = Snapshot(folder);
        Args args = job;
        for (const std::string& argument : c.Arguments) args.push_back(in(argument));
        const CliRun run = RunTool(args);
        if (c.Error.empty()) {
            EXPECT_EQ(run.status, ExitSuccess) << run.err;
            EXPECT_NE(testing::ReadBytes(folder.File(c.Written)).find(c.Holds), std::string::npos);
            continue;
        }
        EXPECT_EQ(run.status, ExitBadInput);
        ExpectOneLineError(run, in(c.Error));
        EXPECT_EQ(Snapshot(folder), before);  // nothing made, changed or taken away
    }
}

// inventory export over the inventory it reads would leave a CSV file where every offcut and
// booking was.
TEST(CliHostileInput, TheInventoryIsNeverExportedOverItself) {
    TempFolder folder;
    const std::string inventory = folder.File("offcuts.sqlite");
    ASSERT_EQ(
        RunTool({"inventory", "add", "IPE 200", "2500", "3", "--inventory", inventory}).status,
        ExitSuccess);
    fs::create_symlink("offcuts.sqlite", folder.File("link.csv"));
    const std::string bytes = testing::ReadBytes(inventory);
    for (const std::string& out :
         {inventory, folder.File("link.csv"), folder.File("./offcuts.sqlite")}) {
        SCOPED_TRACE(out);
        const CliRun run = RunTool({"inventory", "export", out, "--inventory", inventory});
        EXPECT_EQ(run.status, ExitBadInput);
        EXPECT_NE(run.err.find("inventory export " + out + ": is the offcut inventory"),
                  std::string::npos)
            << run.err;
        EXPECT_TRUE(testing::ReadBytes(inventory) == bytes);
    }
    EXPECT_EQ(RunTool({"inventory", "list", "--inventory", inventory}).status, ExitSuccess);
}

// A diagram that cannot be written, after every check before the calculation passed.
class FailingPictures : public PictureOutput {
public:
    RecordingPrintEngine engine;
    PrintEngine& ReportEngine() override { return engine; }
    std::string SaveDiagram(const JobInput&, const CalculationResult&, int, int,
                            const std::filesystem::path&) override {
        return "No space left on device";
    }
};

// An output that fails never leaves the user to guess whether the inventory changed: every file
// is written before a booking, and what was committed all the same is said.
TEST(CliHostileInput, AFailedOutputSaysWhatWasCommittedOrCommitsNothing) {
    TempFolder folder;
    const std::string inventory = folder.File("offcuts.sqlite");
    const Args at = {"--inventory", inventory};
    const auto listed = [&] { return OffcutStore::Open(inventory).List().size(); };
    // A job returning offcuts, booked.
    const Args job = {"--stock",        "*@6000",      "--cut",  "6@1500",    "--cut",
                      "1@5000",         "--offcut",    "1000",   "--section", "IPE 200",
                      "--book-offcuts", "--inventory", inventory};

    // The offcut is added before its id can be printed: the message says so, with the id.
    const CliRun add = RunWithFullOutput(With({"inventory", "add", "IPE 200", "2500", "1"}, at));
    EXPECT_EQ(add.status, ExitBadInput);
    EXPECT_NE(add.err.find("No space left on device; offcut 1 was added to the offcut inventory "
                           "all the same"),
              std::string::npos)
        << add.err;
    EXPECT_EQ(listed(), 1u);
    const CliRun remove = RunWithFullOutput(With({"inventory", "remove", "1"}, at));
    EXPECT_EQ(remove.status, ExitBadInput);
    EXPECT_NE(remove.err.find("1 piece of offcut 1 was taken from the offcut inventory all the "
                              "same"),
              std::string::npos)
        << remove.err;
    EXPECT_EQ(listed(), 0u);

    // The text of the results goes out before the booking: nothing is booked, and the same run
    // again books.
    const CliRun text = RunWithFullOutput(job);
    EXPECT_EQ(text.status, ExitBadInput);
    EXPECT_NE(text.err.find("Nothing was booked to the offcut inventory"), std::string::npos)
        << text.err;
    EXPECT_EQ(listed(), 0u);

    // So does a file asked for that cannot be written.
    FailingPictures pictures;
    const CliRun diagram = RunTool(With(job, {"--diagram", folder.File("d.png")}), &pictures);
    EXPECT_EQ(diagram.status, ExitBadInput);
    EXPECT_NE(diagram.err.find("No space left on device. Nothing was booked"), std::string::npos)
        << diagram.err;
    EXPECT_EQ(listed(), 0u);

    // JSON tells how the booking went, so it follows it: a failure says the booking stands.
    const CliRun json = RunWithFullOutput(With(job, {"--format", "json"}));
    EXPECT_EQ(json.status, ExitBadInput);
    EXPECT_NE(json.err.find("the job was booked to the offcut inventory all the same"),
              std::string::npos)
        << json.err;
    EXPECT_GT(listed(), 0u);
    ExpectOneLineError(json, "");

    // Nothing is committed by --help or --version, but output lost is still a failure.
    for (const Args& args : {Args{"--help"}, Args{"--version"}, Args{"inventory", "--help"}}) {
        const CliRun run = RunWithFullOutput(args);
        EXPECT_EQ(run.status, ExitBadInput) << args.front();
        EXPECT_NE(run.err.find("the output could not be written"), std::string::npos);
    }
}

}  // namespace
}  // namespace tallora
