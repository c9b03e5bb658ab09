// tallora-cli given what an attacker or an unlucky user would give it: bad inputs of every kind,
// each refused with one clear line that names it and nothing written.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "inventory/OffcutStore.h"
#include "support/CliTestSupport.h"
#include "support/CsvReading.h"
#include "support/RecordingPrintEngine.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

using nlohmann::json;
using testing::Args;
using testing::CliRun;
using testing::ExpectOneLineError;
using testing::RunTool;
using testing::RunWithFullOutput;
using testing::TempFolder;
using testing::With;
using testing::WriteBytes;

// A job file of the current format: its rows, its patterns (the lines after their count) and
// the input tables after the statistics; no charges.
std::string JobFile(const std::vector<std::string>& stock, const std::vector<std::string>& cuts,
                    const std::vector<std::string>& patterns = {"0"},
                    const std::vector<std::string>& tables = {"0", "0", "0", "0", "0", "0"}) {
    std::vector<std::string> lines = {"TA DataFile", std::to_string(stock.size())};
    lines.insert(lines.end(), stock.begin(), stock.end());
    lines.push_back(std::to_string(cuts.size()));
    lines.insert(lines.end(), cuts.begin(), cuts.end());
    // No cutting list; customer, reference, section, weight, cost and its basis.
    for (const char* line : {"0", "Acme", "", "IPE 200", "0", "0", "Tonne"}) lines.push_back(line);
    lines.insert(lines.end(), patterns.begin(), patterns.end());
    for (int i = 0; i < 8 * 4 + 1; ++i) lines.push_back("0");  // statistics and offcut total
    lines.insert(lines.end(), tables.begin(), tables.end());
    for (const char* line : {"25", "3", "3000"}) lines.push_back(line);  // trim, kerf, offcut
    for (const char* line : {"Tonne", "0", "Tonne", "0", "Tonne", "0", "Tonne", "0", "", "", ""})
        lines.push_back(line);  // the charges
    lines.push_back("0");       // hold
    return testing::CrLf(lines);
}

// A bad input: the files it needs (written into a folder of its own; "{name}" in an argument is
// that file's path), the arguments, and what standard error must say.
struct BadInputCase {
    std::string Name;
    std::map<std::string, std::string> Files;
    Args Arguments;
    std::string Error;  // "{name}" stands for that file's path
};

// "{name}" as the path of that name in the folder.
std::string WithPaths(std::string text, const TempFolder& folder) {
    for (auto at = text.find('{'); at != std::string::npos; at = text.find('{', at + 1)) {
        const auto end = text.find('}', at);
        if (end == std::string::npos) break;
        const std::string path = folder.File(text.substr(at + 1, end - at - 1));
        text.replace(at, end + 1 - at, path);
        at += path.size() - 1;
    }
    return text;
}

const std::vector<BadInputCase>& BadInputs() {
    static const std::vector<BadInputCase> cases = {
        // Control characters quoted back from a file or an argument are shown, not obeyed; the
        // text after a NUL is still there.
        {"escape sequence in a CSV line",
         {{"esc.csv", "Quantity,Length\n3,\x1b[2J\abad\n"}},
         {"--stock", "*@6000", "--cuts-csv", "{esc.csv}"},
         "--cuts-csv {esc.csv}: line 2: '\uFFFD[2J\uFFFDBAD' is not a length"},
        {"NUL in a CSV line",
         {{"nul.csv", std::string("3,ab\0cd\n", 8)}},
         {"--stock", "*@6000", "--cuts-csv", "{nul.csv}"},
         "line 1: 'AB\uFFFDCD' is not a length"},
        {"escape sequence in an argument",
         {},
         {"--stock", "*@60\x1b[31m00", "--cut", "1@1000"},
         "--stock *@60\uFFFD[31m00: '60\uFFFD[31m00' is not a length"},
        // Job files are held to the rules of a new job (JobFileTest); here, that the file and
        // the line are named on one line, and that a stored result read as corrupted is never
        // booked.
        {"a stored pattern of no pieces and 2^31 - 1 bars",
         {{"job.tlf",
           JobFile({"* @ 6000"}, {"1 @ 1000"}, {"1", "5975", "2147483647", "0", "1", "5975"},
                   {"1", "5975", "0", "0", "1", "1000", "1", "1", "1003"})}},
         {"{job.tlf}", "--no-calc", "--book-offcuts", "--inventory", "{inv.sqlite}"},
         "{job.tlf}: Some of the data in this file is corrupted. Line 16: '0' is not a number of "
         "cut lengths from 1 to 1000"},
        {"an escape sequence in a job file's row",
         {{"job.tlf", JobFile({"* @ 6000"}, {"2 @ 1\x1b[2J00"})}},
         {"{job.tlf}"},
         "Line 5: '1\uFFFD[2J00' is not a length in whole millimetres."},
        {"bell in a job file's name",
         {},
         {"/no/such/folder/\a\x1b]0;title\a.tlf"},
         "/no/such/folder/\uFFFD\uFFFD]0;title\uFFFD.tlf: "},
    };
    return cases;
}

TEST(CliHostileInput, BadInputsAreRefusedWithOneClearLineAndNothingWritten) {
    for (const BadInputCase& c : BadInputs()) {
        SCOPED_TRACE(c.Name);
        TempFolder folder;
        for (const auto& [name, bytes] : c.Files) WriteBytes(folder.File(name), bytes);
        Args args;
        for (const std::string& argument : c.Arguments) args.push_back(WithPaths(argument, folder));
        const CliRun run = RunTool(args);
        EXPECT_EQ(run.status, ExitBadInput) << run.err;
        EXPECT_NE(run.err.find(WithPaths(c.Error, folder)), std::string::npos) << run.err;
        ExpectOneLineError(run, "");
        EXPECT_TRUE(run.out.empty()) << run.out;
        // Nothing but the files given is left in the folder.
        size_t files = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(folder.Path()))
            ++files;
        EXPECT_EQ(files, c.Files.size());
    }
}

// An output path as a user or another program may have left it: the run writes through links,
// refuses what it would damage (a file with other names, a file the run reads, a file another
// output writes) and leaves every file as it was when it refuses.
struct OutputCase {
    std::string Name;
    std::function<void(const TempFolder&)> Prepare;
    Args Arguments;     // "{dir}" is the folder
    std::string Error;  // empty: the run succeeds
    std::function<void(const TempFolder&)> After;
};

namespace fs = std::filesystem;

std::string InDir(std::string text, const TempFolder& folder) {
    for (auto at = text.find("{dir}"); at != std::string::npos; at = text.find("{dir}"))
        text.replace(at, 5, folder.Path().string());
    return text;
}

const Args Job = {"--stock", "*@6000", "--cut", "2@1500", "--section", "IPE 200", "--quiet"};

TEST(CliHostileInput, OutputPathsAreWrittenThroughOrRefusedWithoutDamage) {
    using testing::ReadBytes;
    const std::vector<OutputCase> cases = {
        {"a link to a file not made yet",
         [](const TempFolder& f) { fs::create_symlink("made.tlf", f.File("link.tlf")); },
         {"--save", "{dir}/link.tlf"},
         "",
         [](const TempFolder& f) {
             EXPECT_TRUE(fs::is_symlink(f.File("link.tlf")));
             EXPECT_EQ(ReadBytes(f.File("made.tlf")).rfind("TA DataFile\r\n", 0), 0u);
         }},
        {"a chain of links to a CSV file not made yet",
         [](const TempFolder& f) {
             fs::create_directory(f.File("sub"));
             fs::create_symlink("sub/second.csv", f.File("first.csv"));
             fs::create_symlink("list.csv", f.File("sub/second.csv"));
         },
         {"--export-csv", "{dir}/first.csv", "--costing-csv", "{dir}/costs.csv"},
         "",
         [](const TempFolder& f) {
             EXPECT_TRUE(fs::is_symlink(f.File("first.csv")));
             EXPECT_TRUE(fs::is_symlink(f.File("sub/second.csv")));
             EXPECT_EQ(ReadBytes(f.File("sub/list.csv")).rfind("Pattern,", 0), 0u);
         }},
        {"a link into a folder that is not there",
         [](const TempFolder& f) { fs::create_symlink("gone/x.csv", f.File("link.csv")); },
         {"--export-csv", "{dir}/link.csv"},
         "--export-csv {dir}/link.csv: the folder {dir}/gone does not exist",
         [](const TempFolder& f) { EXPECT_TRUE(fs::is_symlink(f.File("link.csv"))); }},
        {"a loop of links",
         [](const TempFolder& f) {
             fs::create_symlink("b.tlf", f.File("a.tlf"));
             fs::create_symlink("a.tlf", f.File("b.tlf"));
         },
         {"--save", "{dir}/a.tlf"},
         "--save {dir}/a.tlf: Too many levels of symbolic links",
         [](const TempFolder& f) { EXPECT_TRUE(fs::is_symlink(f.File("a.tlf"))); }},
        {"a file with a second name",
         [](const TempFolder& f) {
             WriteBytes(f.File("a.tlf"), "old");
             fs::create_hard_link(f.File("a.tlf"), f.File("b.tlf"));
         },
         {"--save", "{dir}/a.tlf"},
         "--save {dir}/a.tlf: the file has other names (hard links)",
         [](const TempFolder& f) {
             EXPECT_EQ(ReadBytes(f.File("a.tlf")), "old");
             EXPECT_EQ(fs::hard_link_count(f.File("b.tlf")), 2u);
         }},
        {"a pipe",
         [](const TempFolder& f) { ASSERT_EQ(mkfifo(f.File("pipe.csv").c_str(), 0600), 0); },
         {"--export-csv", "{dir}/pipe.csv"},
         "--export-csv {dir}/pipe.csv: not a regular file",
         [](const TempFolder& f) { EXPECT_TRUE(fs::is_fifo(f.File("pipe.csv"))); }},
        {"the cutting list over the job file",
         [](const TempFolder& f) {
             ASSERT_EQ(RunTool(With(Job, {"--save", f.File("job.tlf")})).status, ExitSuccess);
         },
         {"{dir}/job.tlf", "--export-csv", "{dir}/job.tlf"},
         "--export-csv {dir}/job.tlf: is the job file ({dir}/job.tlf); give another file",
         [](const TempFolder& f) {
             EXPECT_EQ(ReadBytes(f.File("job.tlf")).rfind("TA DataFile\r\n", 0), 0u);
         }},
        {"the costing over a file of rows, through a link",
         [](const TempFolder& f) {
             WriteBytes(f.File("cuts.csv"), "4,1500\n");
             fs::create_symlink("cuts.csv", f.File("costs.csv"));
         },
         {"--cuts-csv", "{dir}/cuts.csv", "--costing-csv", "{dir}/costs.csv"},
         "--costing-csv {dir}/costs.csv: is a file of rows the job reads ({dir}/cuts.csv)",
         [](const TempFolder& f) { EXPECT_EQ(ReadBytes(f.File("cuts.csv")), "4,1500\n"); }},
        {"the job over the offcut inventory",
         [](const TempFolder& f) {
             ASSERT_EQ(RunTool({"inventory", "add", "IPE 200", "2500", "1", "--inventory",
                                f.File("o.sqlite")})
                           .status,
                       ExitSuccess);
         },
         {"--use-offcuts", "--inventory", "{dir}/o.sqlite", "--save", "{dir}/o.sqlite"},
         "--save {dir}/o.sqlite: is the offcut inventory",
         [](const TempFolder& f) {
             EXPECT_EQ(ReadBytes(f.File("o.sqlite")).rfind("SQLite format 3", 0), 0u);
         }},
        {"two outputs in one file",
         {},
         {"--export-csv", "{dir}/out.csv", "--costing-csv", "{dir}/./out.csv"},
         "--costing-csv {dir}/./out.csv: is the file of --export-csv ({dir}/out.csv)",
         [](const TempFolder& f) { EXPECT_FALSE(fs::exists(f.File("out.csv"))); }},
        {"the job saved over its own file",
         [](const TempFolder& f) {
             ASSERT_EQ(RunTool(With(Job, {"--save", f.File("job.tlf")})).status, ExitSuccess);
         },
         {"{dir}/job.tlf", "--save", "{dir}/job.tlf", "--cut", "1@700"},
         "",
         [](const TempFolder& f) {
             EXPECT_NE(ReadBytes(f.File("job.tlf")).find("1 @ 700"), std::string::npos);
         }},
    };
    for (const OutputCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TempFolder folder;
        if (c.Prepare) c.Prepare(folder);
        std::vector<std::string> before;
        for (const auto& entry : fs::recursive_directory_iterator(folder.Path()))
            before.push_back(entry.path().string());
        Args args = Job;
        for (const std::string& argument : c.Arguments) args.push_back(InDir(argument, folder));
        const CliRun run = RunTool(args);
        if (c.Error.empty()) {
            EXPECT_EQ(run.status, ExitSuccess) << run.err;
        } else {
            EXPECT_EQ(run.status, ExitBadInput);
            EXPECT_NE(run.err.find(InDir(c.Error, folder)), std::string::npos) << run.err;
            ExpectOneLineError(run, "");
            // Nothing made, nothing taken away.
            std::vector<std::string> after;
            for (const auto& entry : fs::recursive_directory_iterator(folder.Path()))
                after.push_back(entry.path().string());
            EXPECT_EQ(after, before);
        }
        c.After(folder);
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

// Marks, charge names, sections, references and locations that a spreadsheet would run as
// formulas reach every CSV file marked as text, and come back from it as they were.
TEST(CliHostileInput, FormulasInTextsReachNoSpreadsheetAsFormulas) {
    using testing::ReadBytes;
    using testing::ReadCsv;
    const std::vector<std::string> formulas = {"=HYPERLINK(\"http://x\")", "+1+1", "-2+3",
                                               "@SUM(A1)"};
    TempFolder folder;
    std::string rows = "Quantity,Length,Mark\n";
    for (size_t i = 0; i < formulas.size(); ++i) {
        std::string quoted;
        for (const char c : formulas[i])
            quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
        rows += "2," + std::to_string(1000 + 100 * i) + ",\"" + quoted + "\"\n";
    }
    WriteBytes(folder.File("cuts.csv"), rows);
    const std::string list = folder.File("list.csv"), costs = folder.File("costs.csv");
    ASSERT_EQ(RunTool({"--stock", "*@6000", "--cuts-csv", folder.File("cuts.csv"), "--export-csv",
                       list, "--costing-csv", costs, "--charge-names", "=1+1,-2,@x", "--quiet"})
                  .status,
              ExitSuccess);
    std::vector<std::string> marks;
    for (const auto& line : ReadCsv(ReadBytes(list))) {
        if (line.at(0) == "Pattern") continue;
        EXPECT_EQ(line.at(7).front(), '\'') << line.at(7);
        marks.push_back(line.at(7));
    }
    EXPECT_EQ(marks.size(), formulas.size());
    const auto header = ReadCsv(ReadBytes(costs)).at(0);
    EXPECT_EQ(std::vector<std::string>(header.begin() + 5, header.begin() + 8),
              (std::vector<std::string>{"'=1+1", "'-2", "'@x"}));

    // The list read back as cut rows gives the marks as they were: exported again, the same.
    std::string back = "Quantity,Length,Mark\n";
    for (const auto& line : ReadCsv(ReadBytes(list))) {
        if (line.at(0) != "Pattern")
            back += line.at(5) + "," + line.at(3) + "," + line.at(7) + "\n";
    }
    WriteBytes(folder.File("back.csv"), back);
    const std::string again = folder.File("again.csv");
    ASSERT_EQ(RunTool({"--stock", "*@6000", "--cuts-csv", folder.File("back.csv"), "--export-csv",
                       again, "--quiet"})
                  .status,
              ExitSuccess);
    EXPECT_EQ(ReadBytes(again), ReadBytes(list));

    // The inventory's export.
    const std::string inventory = folder.File("offcuts.sqlite");
    ASSERT_EQ(RunTool({"inventory", "add", formulas[0], "2500", "1", "--location", formulas[1],
                       "--inventory", inventory})
                  .status,
              ExitSuccess);
    ASSERT_EQ(RunTool({"inventory", "export", folder.File("offcuts.csv"), "--inventory", inventory})
                  .status,
              ExitSuccess);
    const auto exported = ReadCsv(ReadBytes(folder.File("offcuts.csv"))).at(1);
    EXPECT_EQ(exported.at(1), "'" + formulas[0]);
    EXPECT_EQ(exported.at(8), "'" + formulas[1]);
}

}  // namespace
}  // namespace tallora
