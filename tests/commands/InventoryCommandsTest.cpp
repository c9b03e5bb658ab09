// The offcut inventory's use cases, shared by the desktop and tallora-cli: what they change in
// the job and what they tell the user. Which offcuts a job takes and books is the inventory's
// rule (tests/inventory); here the messages and the job's stock list.
#include "commands/Inventory.h"

#include <gtest/gtest.h>

#include <functional>

#include "inventory/Booking.h"
#include "support/CalculateJob.h"
#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using testing::Calculated;
using testing::MakeJob;
using Rows = std::vector<ListRow>;

JobInput OfSection(const std::string& section, Rows stock = {}) {
    JobInput input;
    input.Section.Name = section;
    input.StockRows = std::move(stock);
    return input;
}

TEST(UseOffcutsFromInventory, AddsTheSectionsOffcutsAndSaysWhatItAddedOrWhyNot) {
    OffcutStore store = OffcutStore::Open(":memory:");
    JobInput none = OfSection(" ");
    EXPECT_EQ(UseOffcutsFromInventory(none, store).Message,
              "Type the job's Section first: the offcut inventory keeps its offcuts by section.");
    JobInput input = OfSection("IPE 200");
    EXPECT_EQ(UseOffcutsFromInventory(input, store).Message,
              "The offcut inventory has no offcuts of section \"IPE 200\": it is empty.");
    for (const char* other : {"A", "B", "C", "D", "E", "F"}) store.Add({other, 900, 1, {}, ""});
    const InventoryCommandResult missing = UseOffcutsFromInventory(input, store);
    EXPECT_FALSE(missing.Changed);
    EXPECT_EQ(missing.Message,
              "The offcut inventory has no offcuts of section \"IPE 200\"; it has offcuts of "
              "\"A\", \"B\", \"C\", \"D\", \"E\" and 1 more.");

    const long long a = store.Add({"IPE 200", 2500, 2, {}, ""});
    const long long b = store.Add({"ipe 200", 1800, 1, {}, ""});
    const long long c = store.Add({"IPE 200", 6000, 1, {}, ""});
    input.StockRows = {{"*", "6000"}};
    const InventoryCommandResult used = UseOffcutsFromInventory(input, store);
    EXPECT_TRUE(used.Changed);
    EXPECT_EQ(used.Message,
              "Added 2 rows of inventory offcuts of section \"IPE 200\" to the stock list: 3 "
              "pieces, 6.800 m.\r\n1 offcut was left out: the stock list has a row of that "
              "length already.");
    EXPECT_EQ(input.StockRows, (Rows{{"*", "6000"},
                                     {"2", "2500", InventoryOffcutMark(a)},
                                     {"1", "1800", InventoryOffcutMark(b)}}));
    EXPECT_NE(c, a);

    // Again: nothing new, and the one row and piece say so in the singular.
    const InventoryCommandResult again = UseOffcutsFromInventory(input, store);
    EXPECT_FALSE(again.Changed);
    EXPECT_EQ(again.Message.substr(0, again.Message.find("\r\n")),
              "No offcuts were added to the stock list.");
    EXPECT_NE(again.Message.find("\r\n2 offcuts are in the stock list already."), std::string::npos)
        << again.Message;
    JobInput one = OfSection("IPE 200", {{"*", "6000"}, {"1", "2500"}});
    const std::string single = UseOffcutsFromInventory(one, store).Message;
    EXPECT_EQ(single.rfind("Added 1 row of inventory offcuts of section \"IPE 200\" to the stock "
                           "list: 1 piece, 1.800 m.\r\n",
                           0),
              0u)
        << single;
}

TEST(BookOffcutsToInventory, SaysWhatWasReturnedAndWhatWasTakenAway) {
    OffcutStore store = OffcutStore::Open(":memory:");
    // 6 x 1500 on 6000 mm bars (trim 25, kerf 3): 2 bars leave 1466 mm each.
    TestJob first = MakeJob({{"*", "6000"}}, {{"6", "1500"}}, 3, 25, 0);
    first.Input.Allowances = {3, 25, 0, 1000, false};
    first.Input.Section.Name = "IPE 200";
    ASSERT_TRUE(Calculated(first).outcome.Completed);
    testing::StatsOf(first);
    const InventoryCommandResult booked =
        BookOffcutsToInventory(store, first.Input, first.Result, "first.tlf");
    EXPECT_TRUE(booked.Changed);
    EXPECT_EQ(booked.Message,
              "The job was booked to the offcut inventory.\r\n2 offcuts returned to stock "
              "(2.932 m) were added.\r\nIt cut no inventory offcuts.");

    // The next job cuts one of them and returns nothing.
    TestJob next = MakeJob({}, {{"1", "1000"}}, 3, 25, 0);
    next.Input.Allowances = {3, 25, 0, 1000, false};
    next.Input.Section.Name = "IPE 200";
    UseOffcutsFromInventory(next.Input, store);
    ASSERT_TRUE(Calculated(next).outcome.Completed);
    testing::StatsOf(next);
    EXPECT_EQ(BookOffcutsToInventory(store, next.Input, next.Result, "next.tlf").Message,
              "The job was booked to the offcut inventory.\r\nIt returns no offcuts to "
              "stock.\r\n1 inventory offcut (1.466 m) it cut was taken away.");
}

TEST(DropOffcutsGoneFromInventory, RowsKeepTheOffcutsStillThereAndGoWhenNoneAre) {
    OffcutStore store = OffcutStore::Open(":memory:");
    const long long a = store.Add({"IPE 200", 2500, 3, {}, ""});
    const long long b = store.Add({"IPE 200", 1800, 1, {}, ""});
    const Rows listed = {{"*", "6000"},
                         {"3", "2500", InventoryOffcutMark(a)},
                         {"1", "1800", InventoryOffcutMark(b)}};
    JobInput input = OfSection("IPE 200", listed);
    EXPECT_FALSE(DropOffcutsGoneFromInventory(input, store).Changed);
    JobInput plain = OfSection("IPE 200", {{"*", "6000"}});
    EXPECT_FALSE(DropOffcutsGoneFromInventory(plain, store).Changed);

    store.Remove(a, 2);
    store.Remove(b);
    const InventoryCommandResult dropped = DropOffcutsGoneFromInventory(input, store);
    EXPECT_TRUE(dropped.Changed);
    EXPECT_EQ(input.StockRows, (Rows{{"*", "6000"}, {"1", "2500", InventoryOffcutMark(a)}}));
    EXPECT_EQ(dropped.Message,
              "3 inventory offcuts of the stock list are no longer in the offcut inventory and "
              "were taken out of the stock list.");

    // An offcut whose length changed is no longer the row's.
    store.Update(a, {{}, 2400, {}, {}});
    EXPECT_EQ(DropOffcutsGoneFromInventory(input, store).Message,
              "1 inventory offcut of the stock list is no longer in the offcut inventory and was "
              "taken out of the stock list.");
    EXPECT_EQ(input.StockRows, (Rows{{"*", "6000"}}));
}

TEST(BookedOffcutIds, TheOffcutsOfABookedPlanByPatternAndNoneBeforeItIsBooked) {
    OffcutStore store = OffcutStore::Open(":memory:");
    TestJob job = MakeJob({{"*", "6000"}}, {{"2", "2000"}, {"3", "1400"}}, 3, 10, 0);
    job.Input.Allowances.NoOffcuts = false;
    job.Input.Allowances.Offcut = 500;
    job.Input.Section.Name = "RHS 50x50";
    job.Input.Section.Reference = "J-7";
    testing::CalculateAsTheProgramsDo(job);
    ASSERT_FALSE(ReturnedOffcuts(job.Input, job.Result).empty());
    EXPECT_TRUE(BookedOffcutIds(store, job.Input, job.Result).empty());

    // Another job's offcut of the same section is not this plan's.
    store.Add({"RHS 50x50", 900, 1, {"other.tlf", "J-1", 1}, ""});
    BookOffcutsToInventory(store, job.Input, job.Result, "job.tlf");
    const std::map<int, long long> ids = BookedOffcutIds(store, job.Input, job.Result);
    std::map<int, long long> expected;
    for (const Offcut& offcut : store.List("RHS 50x50")) {
        if (offcut.Source.JobFile == "job.tlf") expected[offcut.Source.Pattern - 1] = offcut.Id;
    }
    EXPECT_EQ(ids, expected);
    ASSERT_EQ(ids.size(), ReturnedOffcuts(job.Input, job.Result).size());
    for (const ReturnedOffcut& returned : ReturnedOffcuts(job.Input, job.Result))
        EXPECT_EQ(store.Find(ids.at(returned.Pattern - 1))->Length, returned.Length);
}

}  // namespace
}  // namespace tallora
