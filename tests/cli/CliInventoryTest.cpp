// The offcut inventory from the command line: its commands, and jobs that use and book offcuts.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/CliApp.h"
#include "commands/Inventory.h"
#include "inventory/OffcutStore.h"
#include "support/CliTestSupport.h"
#include "support/InventoryDamage.h"
#include "support/MemoryRegistry.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

using nlohmann::json;
using testing::Args;
using testing::CliRun;
using testing::ExpectExit;
using testing::ReadBytes;
using testing::RunTool;
using testing::TempFolder;
using testing::With;
using testing::WriteBytes;

// 6 x 1500 and 1 x 5000 on 6000 mm bars, offcuts kept from 1000 mm: the job leaves offcuts.
Args ReturningJob(const std::string& section, const std::string& reference) {
    return {"--stock",  "*@6000", "--cut",     "6@1500", "--cut",       "1@5000",
            "--offcut", "1000",   "--section", section,  "--reference", reference};
}

// Pieces by length of the offcuts a job's results return to stock, read from its patterns.
std::map<int, int> ReturnedByLength(const json& result) {
    std::map<int, int> pieces;
    for (const auto& p : result["patterns"]) {
        if (p["IsOffcut"].get<bool>())
            pieces[p["OffcutLength"].get<int>()] += p["BarCount"].get<int>();
    }
    return pieces;
}

// Pieces by length the inventory lists.
std::map<int, int> ListedByLength(const json& list) {
    std::map<int, int> pieces;
    for (const auto& o : list["offcuts"])
        pieces[o["length_mm"].get<int>()] += o["count"].get<int>();
    return pieces;
}

json ListJson(const std::string& inventory, const Args& more = {}) {
    const CliRun run =
        RunTool(With({"inventory", "list", "--format", "json", "--inventory", inventory}, more));
    EXPECT_EQ(run.status, ExitSuccess) << run.err;
    return run.Json();
}

TEST(CliInventory, AddListRemoveAndExportTheOffcuts) {
    TempFolder folder;
    const std::string inventory = folder.File("offcuts.sqlite");
    const Args at = {"--inventory", inventory};

    const CliRun first =
        RunTool(With({"inventory", "add", "IPE 200", "2500", "3", "--location", "Rack 4"}, at));
    ASSERT_EQ(first.status, ExitSuccess) << first.err;
    const CliRun second = RunTool(With({"inventory", "add", "HEA 100", "1200", "1"}, at));
    ASSERT_EQ(second.status, ExitSuccess) << second.err;
    const long long id = std::stoll(first.out);
    EXPECT_NE(id, std::stoll(second.out));

    // The offcut as it was given, with its totals.
    const json list = ListJson(inventory);
    EXPECT_EQ(list["schema_version"], JsonSchemaVersion);
    EXPECT_EQ(list["inventory"], inventory);
    ASSERT_EQ(list["offcuts"].size(), 2u);
    const auto ipe = std::find_if(list["offcuts"].begin(), list["offcuts"].end(),
                                  [&](const json& o) { return o["id"] == id; });
    ASSERT_NE(ipe, list["offcuts"].end());
    EXPECT_EQ((*ipe)["section"], "IPE 200");
    EXPECT_EQ((*ipe)["length_mm"], 2500);
    EXPECT_EQ((*ipe)["count"], 3);
    EXPECT_EQ((*ipe)["location"], "Rack 4");
    EXPECT_TRUE((*ipe)["source"].is_null());  // added by hand
    EXPECT_FALSE((*ipe)["booked_at"].get<std::string>().empty());
    ASSERT_EQ(list["totals"].size(), 2u);
    for (const auto& total : list["totals"]) {
        const bool isIpe = total["section"] == "IPE 200";
        EXPECT_EQ(total["rows"], 1);
        EXPECT_EQ(total["pieces"], isIpe ? 3 : 1);
        EXPECT_EQ(total["total_mm"], isIpe ? 7500 : 1200);
        EXPECT_DOUBLE_EQ(total["metres"].get<double>(), isIpe ? 7.5 : 1.2);
    }

    // The text table of one section (matched as OffcutStoreTest says): a header, a line an
    // offcut with its figures, then the totals in metres.
    const CliRun text = RunTool(With({"inventory", "list", "--section", "ipe 200"}, at));
    ASSERT_EQ(text.status, ExitSuccess) << text.err;
    std::vector<std::string> lines;
    std::stringstream stream(text.out);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 4u) << text.out;
    for (const char* heading : {"Id", "Section", "Length mm", "Count", "Source", "Booked at"})
        EXPECT_NE(lines[0].find(heading), std::string::npos) << heading;
    for (const char* field : {"IPE 200", "2500", "3", "Rack 4"})
        EXPECT_NE(lines[1].find(field), std::string::npos) << field;
    // Columns line up: the length ends where its heading does.
    EXPECT_EQ(lines[1].find("2500") + 4, lines[0].find("Length mm") + 9);
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "IPE 200: 1 row, 3 pieces, 7.500 m");

    // Two pieces taken, then the rest.
    const CliRun taken = RunTool(With({"inventory", "remove", std::to_string(id), "2"}, at));
    ASSERT_EQ(taken.status, ExitSuccess) << taken.err;
    EXPECT_NE(taken.out.find("1 left"), std::string::npos) << taken.out;
    EXPECT_EQ(ListJson(inventory, {"--section", "IPE 200"})["offcuts"][0]["count"], 1);
    ASSERT_EQ(RunTool(With({"inventory", "remove", std::to_string(id)}, at)).status, ExitSuccess);
    EXPECT_TRUE(ListJson(inventory, {"--section", "IPE 200"})["offcuts"].empty());
    const CliRun empty = RunTool(With({"inventory", "list", "--section", "IPE 200"}, at));
    EXPECT_EQ(empty.out, "The offcut inventory holds no offcuts of section \"IPE 200\".\n");

    // The export is the store's CSV, of one section when asked; a file that was there is
    // replaced whole.
    const std::string csv = folder.File("offcuts.csv");
    WriteBytes(csv, std::string(10000, 'x'));
    ASSERT_EQ(RunTool(With({"inventory", "export", csv, "--section", "hea 100"}, at)).status,
              ExitSuccess);
    const OffcutStore store = OffcutStore::Open(inventory);
    EXPECT_EQ(ReadBytes(csv), store.ExportCsv(std::string("HEA 100")));
    EXPECT_NE(ReadBytes(csv).find("1200"), std::string::npos);
}

TEST(CliInventory, BadArgumentsAreRefusedAndChangeNothing) {
    TempFolder folder;
    const std::string inventory = folder.File("offcuts.sqlite");
    const Args at = {"--inventory", inventory};
    ASSERT_EQ(RunTool(With({"inventory", "add", "IPE 200", "2500", "3"}, at)).status, ExitSuccess);
    const json before = ListJson(inventory);

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
    };
    for (const auto& [args, error] : cases) {
        SCOPED_TRACE(args.back());
        ExpectExit(RunTool(With(args, at)), ExitBadInput, error);
    }
    EXPECT_EQ(ListJson(inventory), before);

    // Options of the jobs that make no sense together, or an --inventory of no name.
    ExpectExit(
        RunTool(With(ReturningJob("IPE 200", "A"), With({"--use-offcuts", "--no-calc"}, at))),
        ExitBadInput, "--use-offcuts");
    ExpectExit(RunTool(With(ReturningJob("IPE 200", "A"), {"--book-offcuts", "--inventory", ""})),
               ExitBadInput, "--inventory");
    EXPECT_EQ(ListJson(inventory), before);
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
            With(ReturningJob("IPE 200", "A"), {"--book-offcuts"}),
            With(ReturningJob("IPE 200", "A"), {"--use-offcuts", "--format", "json"}),
            With(ReturningJob("IPE 200", "A"), {"--use-offcuts", "--book-offcuts", "--quiet"}),
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

TEST(CliInventory, BookedOffcutsAreUsedByTheNextJobOfTheSectionAndBookedOnce) {
    TempFolder folder;
    const std::string inventory = folder.File("offcuts.sqlite");
    const Args at = {"--inventory", inventory};

    // Job A returns offcuts and books them.
    const CliRun a = RunTool(
        With(ReturningJob("IPE 200", "A"), With({"--book-offcuts", "--format", "json"}, at)));
    ASSERT_EQ(a.status, ExitSuccess) << a.err;
    const json resultA = a.Json();
    const std::map<int, int> returnedA = ReturnedByLength(resultA);
    ASSERT_FALSE(returnedA.empty());
    EXPECT_TRUE(a.err.empty()) << a.err;  // JSON: the messages are in it
    const json& bookedA = resultA["inventory"];
    EXPECT_EQ(bookedA["file"], inventory);
    EXPECT_TRUE(bookedA["use_offcuts"].is_null());
    EXPECT_EQ(bookedA["book_offcuts"]["booked"], true);
    EXPECT_GE(bookedA["book_offcuts"]["message"].size(), 2u);
    const json afterA = ListJson(inventory);
    EXPECT_EQ(ListedByLength(afterA), returnedA);
    for (const auto& o : afterA["offcuts"]) {
        EXPECT_EQ(o["source"]["job_reference"], "A");
        EXPECT_GE(o["source"]["pattern"].get<int>(), 1);
    }

    // The same calculation again: refused, the inventory as it was.
    const CliRun again = RunTool(With(ReturningJob("IPE 200", "A"), With({"--book-offcuts"}, at)));
    ExpectExit(again, ExitRefused, "booked");
    EXPECT_FALSE(again.out.empty());  // the results are still printed
    EXPECT_EQ(ListJson(inventory), afterA);
    const CliRun againJson = RunTool(
        With(ReturningJob("IPE 200", "A"), With({"--book-offcuts", "--format", "jsonl"}, at)));
    EXPECT_EQ(againJson.status, ExitRefused);
    EXPECT_EQ(againJson.Lines().at(0)["exit_status"], ExitRefused);
    EXPECT_EQ(againJson.Lines().at(0)["inventory"]["book_offcuts"]["booked"], false);

    // Job B of the same section, spelled otherwise, cuts from the offcuts alone and books: which
    // offcuts it takes and leaves is the inventory's rule (BookingTest), here that it is used.
    const CliRun b =
        RunTool(With({"--cut", "2@1400", "--offcut", "1000", "--section", " ipe 200", "--reference",
                      "B", "--use-offcuts", "--book-offcuts", "--format", "json"},
                     at));
    ASSERT_EQ(b.status, ExitSuccess) << b.err;
    const json resultB = b.Json();
    EXPECT_EQ(resultB["inventory"]["use_offcuts"]["changed"], true);
    EXPECT_EQ(resultB["inventory"]["book_offcuts"]["booked"], true);
    EXPECT_EQ(resultB["input"]["stock"].size(), returnedA.size());
    EXPECT_NE(ListedByLength(ListJson(inventory)), returnedA);

    // Text mode: the messages on standard error, a line each; none with --quiet.
    const CliRun c = RunTool(With(ReturningJob("ipe 200", "C"), With({"--use-offcuts"}, at)));
    ASSERT_EQ(c.status, ExitSuccess) << c.err;
    EXPECT_EQ(c.err.find('\r'), std::string::npos);
    EXPECT_EQ(c.err.rfind("tallora-cli: ", 0), 0u) << c.err;
    const CliRun quiet = RunTool(With(ReturningJob("ipe 200", "D"),
                                      With({"--use-offcuts", "--book-offcuts", "--quiet"}, at)));
    ASSERT_EQ(quiet.status, ExitSuccess) << quiet.err;
    EXPECT_TRUE(quiet.err.empty()) << quiet.err;
    EXPECT_TRUE(quiet.out.empty());
}

// Several jobs in one run: one after the other, each on the inventory the one before left.
TEST(CliInventory, JobsOfOneRunSeeTheBookingsOfTheJobsBefore) {
    TempFolder folder;
    const std::string inventory = folder.File("offcuts.sqlite");
    const std::string first = folder.File("1-returns.tlf");
    const std::string second = folder.File("2-uses.tlf");
    ASSERT_EQ(RunTool(With(ReturningJob("IPE 200", "A"), {"--save", first, "--quiet"})).status,
              ExitSuccess);
    ASSERT_EQ(RunTool({"--stock", "1@6000", "--cut", "2@1400", "--section", "IPE 200", "--save",
                       second, "--quiet"})
                  .status,
              ExitSuccess);

    // The second job alone finds nothing to use.
    TempFolder other;
    const CliRun alone = RunTool(
        {second, "--use-offcuts", "--format", "json", "--inventory", other.File("offcuts.sqlite")});
    ASSERT_EQ(alone.status, ExitSuccess) << alone.err;
    EXPECT_EQ(alone.Json()["inventory"]["use_offcuts"]["changed"], false);

    // A third job wants the same offcuts: it gets none that the second booked, so its own
    // booking is never refused for an offcut gone.
    const std::string third = folder.File("3-uses.tlf");
    ASSERT_EQ(RunTool({"--stock", "1@6000", "--cut", "2@1300", "--section", "IPE 200", "--save",
                       third, "--quiet"})
                  .status,
              ExitSuccess);
    const CliRun run = RunTool(
        {first, second, third, "--use-offcuts", "--book-offcuts", "--inventory", inventory});
    ASSERT_EQ(run.status, ExitSuccess) << run.err;
    const auto lines = run.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0]["inventory"]["use_offcuts"]["changed"], false);
    EXPECT_EQ(lines[1]["inventory"]["use_offcuts"]["changed"], true);
    for (const auto& line : lines) EXPECT_EQ(line["inventory"]["book_offcuts"]["booked"], true);

    // The offcuts name the job file that returned them, in full.
    const json list = ListJson(inventory);
    ASSERT_FALSE(list["offcuts"].empty());
    for (const auto& o : list["offcuts"]) {
        const std::string source = o["source"]["job_file"];
        EXPECT_TRUE(std::filesystem::equivalent(source, first) ||
                    std::filesystem::equivalent(source, second))
            << source;
    }

    // A job booked twice in one run: the second is refused (a later run: the test above).
    TempFolder fresh;
    const std::string once = fresh.File("offcuts.sqlite");
    const CliRun repeated = RunTool({first, first, "--book-offcuts", "--inventory", once});
    EXPECT_EQ(repeated.status, ExitRefused);
    const auto both = repeated.Lines();
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[0]["exit_status"], ExitSuccess);
    EXPECT_EQ(both[1]["exit_status"], ExitRefused);
    EXPECT_NE(repeated.err.find("booked"), std::string::npos) << repeated.err;
    EXPECT_EQ(ListedByLength(ListJson(once)), ReturnedByLength(both[0]));
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

    const CliRun job = RunTool(
        With(ReturningJob("IPE 200", "A"), {"--use-offcuts", "--format", "json"}), &settings);
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
