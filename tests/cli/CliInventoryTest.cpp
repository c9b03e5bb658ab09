// The offcut inventory from the command line: what its commands and jobs refuse, and where the
// file is. What they print is recorded (CliOutputRegression: inventory-*, book-*, use-*).
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/CliApp.h"
#include "commands/Inventory.h"
#include "inventory/OffcutStore.h"
#include "support/CliTestSupport.h"
#include "support/InventoryDamage.h"
#include "support/MemoryRegistry.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

using testing::Args;
using testing::CliRun;
using testing::ExpectExit;
using testing::ReadBytes;
using testing::RunTool;
using testing::TempFolder;
using testing::With;

// 6 x 1500 and 1 x 5000 on 6000 mm bars, offcuts kept from 1000 mm: the job leaves offcuts.
const Args ReturningJob = {"--stock", "*@6000",   "--cut", "6@1500",    "--cut",
                           "1@5000",  "--offcut", "1000",  "--section", "IPE 200"};

TEST(CliInventory, BadArgumentsAreRefusedAndChangeNothing) {
    TempFolder folder;
    const std::string inventory = folder.File("offcuts.sqlite");
    const Args at = {"--inventory", inventory};
    ASSERT_EQ(RunTool(With({"inventory", "add", "IPE 200", "2500", "3"}, at)).status, ExitSuccess);
    const std::string bytes = ReadBytes(inventory);

    const std::vector<std::pair<Args, std::string>> cases = {
        {{"inventory", "add", "IPE 200", "abc", "3"}, "inventory add: length abc"},
        {{"inventory", "add", "IPE 200", "0", "3"}, "inventory add: length 0"},
        {{"inventory", "add", "IPE 200", "99999", "3"}, "from 1 to 18300"},
        {{"inventory", "add", "IPE 200", "2500", "-1"}, "inventory add: count -1"},
        {{"inventory", "add", "IPE 200", "2500", "2x"}, "inventory add: count 2x"},
        {{"inventory", "add", "  ", "2500", "1"}, "the section cannot be blank"},
        {{"inventory", "add", "IPE 200", "2500"}, "COUNT"},
        {{"inventory", "remove", "999"}, "offcut 999 is not in the offcut inventory"},
        {{"inventory", "remove", "one"}, "inventory remove: id one"},
        {{"inventory", "remove", "1", "0"}, "inventory remove: count 0"},
        {{"inventory", "list", "--format", "xml"}, "--format"},
        {{"inventory", "export", folder.File("missing/offcuts.csv")}, "does not exist"},
        {{"inventory"}, "inventory: expected a command: list, add, remove or export"},
        {{"inventory", "list", "--kerf", "3"}, "--kerf"},
        {{"--kerf", "3", "inventory", "list"}, "--kerf: belongs to calculating a job"},
        // Offcuts meant to be all the stock, of a section the inventory does not have.
        {{"--section", "IPE 220", "--cut", "1@1000", "--use-offcuts"},
         "nothing to calculate: give at least one stock row and one cut row; --use-offcuts added "
         "none: The offcut inventory has no offcuts of section \"IPE 220\"; it has offcuts of "
         "\"IPE 200\"."},
        {With(ReturningJob, {"--use-offcuts", "--no-calc"}), "--use-offcuts"},
    };
    for (const auto& [args, error] : cases) {
        SCOPED_TRACE(args.back());
        ExpectExit(RunTool(With(args, at)), ExitBadInput, error);
    }
    ExpectExit(RunTool(With(ReturningJob, {"--book-offcuts", "--inventory", ""})), ExitBadInput,
               "--inventory");
    EXPECT_EQ(ReadBytes(inventory), bytes);
}

// A file the inventory cannot use (which files those are: OffcutStoreTest): every command and
// job that would use it says so on one line, exits 2, calculates nothing and leaves the file's
// bytes as they were.
TEST(CliInventory, DamagedInventoriesAreRefusedAndLeftUntouched) {
    const std::vector<std::pair<std::string, std::string>> damages = {
        {"DROP TABLE offcuts", "is damaged: no such table: offcuts"},
        {"PRAGMA user_version = 99", "written by a newer version"},
    };
    for (const auto& [damage, error] : damages) {
        SCOPED_TRACE(damage);
        TempFolder folder;
        const std::string file = folder.File("offcuts.sqlite");
        testing::FillInventory(file, 10);
        testing::ExecSql(file, damage);
        const std::string bytes = ReadBytes(file);
        const Args at = {"--inventory", file};
        const std::vector<Args> runs = {
            {"inventory", "list"},
            {"inventory", "list", "--format", "json", "--section", "MARK-000001"},
            {"inventory", "add", "IPE 200", "2500", "1"},
            {"inventory", "remove", "1"},
            {"inventory", "export", folder.File("out.csv")},
            With(ReturningJob, {"--book-offcuts"}),
            With(ReturningJob, {"--use-offcuts", "--format", "json"}),
            With(ReturningJob, {"--use-offcuts", "--book-offcuts", "--quiet"}),
        };
        for (const Args& args : runs) {
            SCOPED_TRACE(args[1]);
            const CliRun run = RunTool(With(args, at));
            ExpectExit(run, ExitBadInput, error);
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
            EXPECT_TRUE(run.out.empty()) << run.out;  // nothing calculated
            EXPECT_EQ(ReadBytes(file), bytes);
        }
        EXPECT_FALSE(std::filesystem::exists(folder.File("out.csv")));
    }
}

// Without --inventory the file is in the data folder the settings name.
TEST(CliInventory, TheInventoryIsInTheDataFolderOfTheSettings) {
    TempFolder folder;
    MemoryRegistry settings;
    ASSERT_TRUE(settings.CreateKey(RegistryRoot::CurrentUser, MainKey));
    const std::string dataDir = folder.File("Cutting Lists");
    ASSERT_TRUE(settings.WriteString(RegistryRoot::CurrentUser, MainKey, "DataDir", dataDir));

    const CliRun add = RunTool({"inventory", "add", "IPE 200", "2500", "2"}, &settings);
    ASSERT_EQ(add.status, ExitSuccess) << add.err;
    const std::string expected = dataDir + "/" + InventoryFileName;
    ASSERT_TRUE(std::filesystem::exists(expected));
    EXPECT_EQ(OffcutStore::Open(expected).List().size(), 1u);

    const CliRun job =
        RunTool(With(ReturningJob, {"--use-offcuts", "--format", "json"}), &settings);
    ASSERT_EQ(job.status, ExitSuccess) << job.err;
    EXPECT_EQ(job.Json()["inventory"]["file"], expected);
    EXPECT_EQ(job.Json()["inventory"]["use_offcuts"]["changed"], true);

    // --inventory wins over the settings.
    const std::string elsewhere = folder.File("elsewhere.sqlite");
    ASSERT_EQ(RunTool({"inventory", "list", "--inventory", elsewhere}, &settings).status,
              ExitSuccess);
    EXPECT_TRUE(std::filesystem::exists(elsewhere));
    EXPECT_EQ(OffcutStore::Open(expected).List().size(), 1u);
}

}  // namespace
}  // namespace tallora
