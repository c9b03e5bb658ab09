#include "inventory/Booking.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "inventory/InventoryStock.h"
#include "job/Capacities.h"
#include "results/CuttingList.h"
#include "results/Statistics.h"
#include "support/EngineTestSupport.h"
#include "support/InventoryDamage.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

using testing::Calculated;
using testing::MakeJob;
using testing::TempFolder;

// A calculated job with offcuts kept from 1000 mm (trim 25, kerf 3, hold 0).
TestJob CalculatedJob(const std::string& section, const testing::Rows& stock,
                      const testing::Rows& cuts) {
    TestJob job = MakeJob(stock, cuts, 3, 25, 0);
    job.Input.Allowances.Offcut = 1000;
    job.Input.Allowances.NoOffcuts = false;
    job.Input.Section.Name = section;
    job.Input.Section.Reference = "J-" + section;
    Calculated run(job);
    EXPECT_TRUE(run.outcome.Completed);
    testing::StatsOf(job);
    return job;
}

// The counts the cutting list's return lines give, read back from its text.
std::vector<std::pair<int, int>> ReturnLines(const TestJob& job) {
    std::vector<std::pair<int, int>> lines;
    for (const std::string& line : MakeCuttingList(job.Input, job.Result)) {
        int bars = 0, length = 0;
        if (std::sscanf(line.c_str(), " * Return %d at %dmm", &bars, &length) == 2)
            lines.emplace_back(bars, length);
    }
    return lines;
}

InventoryErrorKind BookingError(OffcutStore& store, const TestJob& job,
                                const std::vector<UsedOffcut>& used = {}) {
    return testing::ErrorOf([&] { BookJob(store, job.Input, job.Result, "job.cut", used); });
}

TEST(Booking, ReturnsTheOffcutsTheCuttingListPrints) {
    // 6 x 1500 on 6000 mm bars: three pieces a bar, 1466 mm left on each of two bars.
    TestJob job = CalculatedJob("IPE 200", {{"*", "6000"}}, {{"6", "1500"}, {"1", "5000"}});
    const std::vector<ReturnedOffcut> returned = ReturnedOffcuts(job.Input, job.Result);
    std::vector<std::pair<int, int>> fromOffcuts;
    for (const auto& r : returned) fromOffcuts.emplace_back(r.Count, r.Length);
    EXPECT_EQ(fromOffcuts, ReturnLines(job));
    EXPECT_FALSE(returned.empty());
    for (const auto& r : returned) {
        const CuttingPattern& p = job.Result.Patterns[r.Pattern - 1];
        EXPECT_TRUE(p.IsOffcut);
        EXPECT_EQ(r.Count, p.BarCount);
    }

    // Scrap all waste: nothing returns.
    job.Input.Allowances.NoOffcuts = true;
    testing::StatsOf(job);
    EXPECT_TRUE(ReturnedOffcuts(job.Input, job.Result).empty());
    EXPECT_TRUE(ReturnLines(job).empty());
}

// One job's offcuts booked, the next job of the section cut from them, and the bookings undone
// from the last.
TEST(Booking, AnUndoPutsBackWhatItTookAndTakesWhatItAddedUnlessALaterJobCutIt) {
    TempFolder folder;
    const std::string path = folder.File("offcuts.sqlite");
    OffcutStore store = OffcutStore::Open(path);
    store.Add({"IPE 240", 4000, 3, {}, ""});  // another section, left alone
    // 6 x 1500 on 6000 mm bars: two offcuts of 1466 mm back to stock.
    const TestJob first = CalculatedJob("IPE 200", {{"*", "6000"}}, {{"6", "1500"}});
    const std::vector<ReturnedOffcut> returned = ReturnedOffcuts(first.Input, first.Result);
    const long long firstId = BookJob(store, first.Input, first.Result, "first.cut", {}, "Rack 2");
    EXPECT_TRUE(store.IsBooked(CalculationIdentity(first.Input, first.Result)));
    const std::vector<Offcut> booked = store.List(std::string("IPE 200"));
    ASSERT_EQ(booked.size(), 1u);
    EXPECT_EQ(booked[0].Length, 6000 - 25 - 3 * 1503);
    EXPECT_EQ(booked[0].Count, 2);
    EXPECT_EQ(booked[0].Source, (OffcutSource{"first.cut", "J-IPE 200", returned.at(0).Pattern}));
    EXPECT_EQ(booked[0].Location, "Rack 2");
    ASSERT_EQ(store.Bookings().size(), 1u);
    EXPECT_EQ(store.Bookings()[0].Id, firstId);
    EXPECT_EQ(store.Bookings()[0].BookedAt, booked[0].BookedAt);
    const std::vector<Offcut> afterFirst = store.List();

    // The next job of the section, typed differently, on the offcuts alone cuts both of them.
    TestJob next = MakeJob({}, {{"2", "1000"}}, 3, 25, 0);
    next.Input.Section.Name = " ipe 200";
    const InventoryStock stock = AddInventoryStock(next.Input, store);
    EXPECT_EQ(stock.LeftOut, 0);
    EXPECT_EQ(stock.Rows,
              (std::vector<InventoryStockRow>{{0, {booked[0].Id}, 2, booked[0].Length}}));
    EXPECT_EQ(next.Input.StockRows, (std::vector<ListRow>{{"2", std::to_string(booked[0].Length),
                                                           InventoryOffcutMark(booked[0].Id)}}));
    ASSERT_TRUE(Calculated(next).outcome.Completed);
    testing::StatsOf(next);
    EXPECT_EQ(UsedInventoryOffcuts(next.Input, next.Result, store),
              (std::vector<UsedOffcut>{{booked[0].Id, 2, "ipe 200", booked[0].Length}}));
    const long long nextId = BookCalculatedJob(store, next.Input, next.Result, "next.cut");
    const std::vector<Offcut> afterNext = store.List();
    ASSERT_EQ(afterNext.size(), 1u);  // the 1466 mm offcut is gone
    EXPECT_EQ(afterNext[0].Count, 3);

    // The first booking's offcuts were cut since: it stays, and nothing changes.
    EXPECT_EQ(testing::ErrorOf([&] { store.UndoBooking(firstId); }), InventoryErrorKind::NotEnough);
    EXPECT_EQ(store.List(), afterNext);
    EXPECT_EQ(store.Bookings().size(), 2u);

    // The last one puts the offcut back as it was (id, date, source, location) and can be
    // booked again; then the first one can go too.
    BookingUndone undone = store.UndoBooking(nextId);
    EXPECT_EQ(undone.PiecesPutBack, 2);
    EXPECT_EQ(undone.PiecesRemoved, 0);
    EXPECT_EQ(store.List(), afterFirst);
    EXPECT_FALSE(store.IsBooked(CalculationIdentity(next.Input, next.Result)));
    undone = store.UndoBooking(firstId);
    EXPECT_EQ(undone.PiecesRemoved, 2);
    EXPECT_EQ(store.List(), (std::vector<Offcut>{afterFirst.back()}));
    EXPECT_TRUE(store.Bookings().empty());
    // The offcuts the next job was planned on are gone now.
    EXPECT_THROW(BookCalculatedJob(store, next.Input, next.Result, "next.cut"), InventoryError);

    // A booking of a version that kept no record of what it took is refused.
    BookJob(store, first.Input, first.Result, "first.cut", {});
    testing::ExecSql(path, "UPDATE bookings SET undoable = 0");
    OffcutStore reopened = OffcutStore::Open(path);
    ASSERT_FALSE(reopened.Bookings().at(0).Undoable);
    EXPECT_THROW(reopened.UndoBooking(reopened.Bookings().at(0).Id), InventoryError);
    EXPECT_THROW(reopened.UndoBooking(999), InventoryError);
    EXPECT_EQ(reopened.Bookings().size(), 1u);
}

// A calculation is booked once, saved under any name and edited since; a job without results,
// or using more than is left, is refused; nothing of a refused booking stays.
TEST(Booking, RefusesARepeatAJobWithoutResultsOrUsingMoreThanIsLeft) {
    OffcutStore store = OffcutStore::Open(":memory:");
    const TestJob job = CalculatedJob("IPE 200", {{"*", "6000"}}, {{"6", "1500"}});
    BookJob(store, job.Input, job.Result, "a.cut", {});
    const std::vector<Offcut> once = store.List();
    try {
        BookJob(store, job.Input, job.Result, "b.cut", {});
        ADD_FAILURE() << "booked twice";
    } catch (const InventoryError& error) {
        EXPECT_EQ(error.Kind(), InventoryErrorKind::AlreadyBooked);
        EXPECT_NE(std::string(error.what()).find("not booked twice"), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("a.cut"), std::string::npos);
    }
    EXPECT_EQ(store.List(), once);
    TestJob edited = job;
    edited.Input.CutRows.push_back({"2", "900"});
    edited.Input.StockRows[0].Quantity = "12";
    edited.Input.Allowances.Offcut = 500;
    edited.Result.InputStockMark.assign(edited.Result.InputStockLength.size(),
                                        InventoryOffcutMark(4));
    EXPECT_EQ(CalculationIdentity(edited.Input, edited.Result),
              CalculationIdentity(job.Input, job.Result));
    // Another cut list is another calculation.
    const TestJob other = CalculatedJob("IPE 200", {{"*", "6000"}}, {{"3", "1500"}});
    EXPECT_NE(CalculationIdentity(other.Input, other.Result),
              CalculationIdentity(job.Input, job.Result));

    OffcutStore empty = OffcutStore::Open(":memory:");
    const TestJob uncalculated = MakeJob({{"*", "6000"}}, {{"6", "1500"}});
    EXPECT_EQ(BookingError(empty, uncalculated), InventoryErrorKind::Invalid);
    const long long id = empty.Add({"IPE 200", 2000, 1, {}, ""});
    // Without a length, the offcut named and no other.
    EXPECT_EQ(BookingError(empty, job, {{id, 2}}), InventoryErrorKind::NotEnough);
    // The same offcut in two rows counts once, in all.
    EXPECT_EQ(BookingError(empty, job, {{id, 1}, {id, 1}}), InventoryErrorKind::NotEnough);
    EXPECT_EQ(BookingError(empty, job, {{id + 50, 1}}), InventoryErrorKind::NotEnough);
    // With one, no other offcut of the section and length is there to make up the rest.
    EXPECT_EQ(BookingError(empty, job, {{id, 2, "ipe 200", 2000}}), InventoryErrorKind::NotEnough);
    // Offcuts of no section could never be used.
    const TestJob blank = CalculatedJob(" ", {{"*", "6000"}}, {{"6", "1500"}});
    ASSERT_FALSE(ReturnedOffcuts(blank.Input, blank.Result).empty());
    EXPECT_EQ(BookingError(empty, blank), InventoryErrorKind::Invalid);
    EXPECT_TRUE(empty.Bookings().empty());
    ASSERT_EQ(empty.List().size(), 1u);
    EXPECT_EQ(empty.List()[0].Count, 1);
}

TEST(Booking, AFaultBeforeTheCommitLeavesTheInventoryAsItWas) {
    TempFolder folder;
    const std::string path = folder.File("offcuts.sqlite");
    OffcutStore store = OffcutStore::Open(path);
    const long long kept = store.Add({"IPE 200", 2500, 3, {}, ""});
    const TestJob job = CalculatedJob("IPE 200", {{"*", "6000"}}, {{"6", "1500"}});
    const std::vector<Offcut> before = store.List();

    for (const std::string failing : {"returned offcut", "used offcut", "commit"}) {
        SCOPED_TRACE(failing);
        std::vector<std::string> steps;
        store.SetFaultHook([&](const std::string& step) {
            steps.push_back(step);
            if (step == failing) throw std::runtime_error("power cut");
        });
        EXPECT_THROW(BookJob(store, job.Input, job.Result, "job.cut", {{kept, 2}}),
                     std::runtime_error);
        EXPECT_NE(std::find(steps.begin(), steps.end(), failing), steps.end());
        store.SetFaultHook({});
        EXPECT_EQ(store.List(), before);
        EXPECT_TRUE(store.Bookings().empty());
        EXPECT_FALSE(store.IsBooked(CalculationIdentity(job.Input, job.Result)));
        // Another connection sees the same.
        EXPECT_EQ(OffcutStore::Open(path).List(), before);
    }

    // Without the fault it goes through, once.
    BookJob(store, job.Input, job.Result, "job.cut", {{kept, 2}});
    EXPECT_EQ(store.Find(kept)->Count, 1);
    EXPECT_EQ(store.Bookings().size(), 1u);
}

TEST(Booking, TwoProcessesBookingAtOnceLoseAndDoubleNothing) {
    TempFolder folder;
    const std::string path = folder.File("offcuts.sqlite");
    constexpr int Processes = 2;
    constexpr int Bookings = 25;
    long long shared = 0;
    {
        OffcutStore store = OffcutStore::Open(path);
        // Every booking takes one piece of this offcut.
        shared = store.Add({"IPE 200", 3000, Processes * Bookings + 1, {}, ""});
    }

    std::vector<pid_t> children;
    for (int p = 0; p < Processes; ++p) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // The child opens its own connection and leaves without running gtest's exit.
            int status = 0;
            try {
                OffcutStore store = OffcutStore::Open(path);
                for (int i = 0; i < Bookings; ++i) {
                    const std::string name = "p" + std::to_string(p) + "-" + std::to_string(i);
                    BookingRecord booking;
                    booking.Calculation = name;
                    booking.JobFile = name + ".cut";
                    store.Book(booking, {{"IPE 200", 1000 + i, 1, {name + ".cut", name, 1}, ""}},
                               {{shared, 1}});
                }
            } catch (...) {
                status = 1;
            }
            _exit(status);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    OffcutStore store = OffcutStore::Open(path);
    std::multiset<std::string> calculations, files, expected;
    for (const auto& booking : store.Bookings()) calculations.insert(booking.Calculation);
    for (const auto& offcut : store.List())
        if (offcut.Id != shared) files.insert(offcut.Source.JobReference);
    for (int p = 0; p < Processes; ++p)
        for (int i = 0; i < Bookings; ++i)
            expected.insert("p" + std::to_string(p) + "-" + std::to_string(i));
    EXPECT_EQ(calculations, expected);
    EXPECT_EQ(files, expected);
    ASSERT_TRUE(store.Find(shared).has_value());
    EXPECT_EQ(store.Find(shared)->Count, 1);
}

Offcut Stored(long long id, int length, int count) {
    Offcut o;
    o.Id = id;
    o.Section = "SHS 50";
    o.Length = length;
    o.Count = count;
    return o;
}

TEST(InventoryStock, OffcutsOfOneLengthShareARowAndNoneIsListedTwice) {
    TestJob job;
    job.Input.StockRows = {{"*", "6000"}, {"2", "2500"}};
    const std::vector<Offcut> offcuts = {Stored(7, 3200, 1), Stored(3, 3200, 2), Stored(9, 2500, 4),
                                         Stored(5, 4100, 1)};
    const InventoryStock stock = AddOffcutsAsStock(job.Input, offcuts);
    // 2500 is typed stock: the calculation could not tell its bars from the offcuts'.
    EXPECT_EQ(stock.SameLength, 1);
    EXPECT_EQ(stock.Rows,
              (std::vector<InventoryStockRow>{{2, {5}, 1, 4100}, {3, {3, 7}, 3, 3200}}));
    EXPECT_EQ(job.Input.StockRows[3],
              ListRow("3", "3200", InventoryOffcutMark(3) + ", " + InventoryOffcutMark(7)));
    EXPECT_EQ(stock.Pieces(), 4);
    EXPECT_EQ(stock.TotalLength(), 4100 + 3 * 3200);
    EXPECT_EQ(InventoryOffcutIds(job.Input.StockRows[3].Mark), (std::vector<long long>{3, 7}));

    // Asked again, with one offcut booked since: only that one is new.
    const InventoryStock again =
        AddOffcutsAsStock(job.Input, {Stored(7, 3200, 1), Stored(3, 3200, 2), Stored(5, 4100, 1),
                                      Stored(11, 3900, 2), Stored(12, 3200, 1)});
    EXPECT_EQ(again.AlreadyListed, 4);
    EXPECT_EQ(again.Rows, (std::vector<InventoryStockRow>{{4, {11}, 2, 3900}}));
    EXPECT_EQ(job.Input.StockRows.size(), 5u);

    // Only the room left in the stock list is filled, the longest offcuts first.
    job.Input.StockRows.resize(MaxStockRows - 1, {"*", "6000"});
    const InventoryStock full =
        AddOffcutsAsStock(job.Input, {Stored(20, 1000, 1), Stored(21, 1300, 4)});
    EXPECT_EQ(full.LeftOut, 1);
    EXPECT_EQ(full.Rows, (std::vector<InventoryStockRow>{{MaxStockRows - 1, {21}, 4, 1300}}));
    EXPECT_EQ(job.Input.StockRows.size(), static_cast<std::size_t>(MaxStockRows));

    // Marks that name no offcut are ordinary rows.
    for (const std::string mark : {"", "Inventory offcut ", "Inventory offcut 0", "offcut 12",
                                   "Inventory offcut 1x", "Inventory offcut 99999999999999999999"})
        EXPECT_TRUE(InventoryOffcutIds(mark).empty()) << mark;
    EXPECT_EQ(InventoryOffcutIds("B12, Inventory offcut 4, Inventory offcut 40"),
              (std::vector<long long>{4, 40}));
}

TEST(Booking, BarsOfAnOffcutRowGoToItsOffcutsInTurnAndNeverToAGoneOne) {
    OffcutStore store = OffcutStore::Open(":memory:");
    const long long a = store.Add({"SHS 50", 2025, 1, {}, ""});
    const long long b = store.Add({"SHS 50", 2025, 2, {}, ""});
    TestJob job = MakeJob({}, {{"3", "1900"}}, 3, 25, 0);
    job.Input.Section.Name = "SHS 50";
    ASSERT_EQ(AddInventoryStock(job.Input, store).Rows.size(), 1u);
    Calculated run(job);
    ASSERT_TRUE(run.outcome.Completed);
    testing::StatsOf(job);
    EXPECT_EQ(UsedInventoryOffcuts(job.Input, job.Result, store),
              (std::vector<UsedOffcut>{{a, 1, "shs 50", 2025}, {b, 2, "shs 50", 2025}}));

    // Another program took one of them meanwhile: the booking is refused and changes nothing.
    store.Remove(b, 1);
    EXPECT_EQ(testing::ErrorOf([&] { BookCalculatedJob(store, job.Input, job.Result, "job.cut"); }),
              InventoryErrorKind::NotEnough);
    EXPECT_EQ(store.Find(a)->Count, 1);
    EXPECT_TRUE(store.Bookings().empty());
}

// Jobs planned on the same offcuts at once: each booking takes the offcuts the one before left,
// the next of the section and length in turn where its own are gone, and refuses only when too
// few of them are left.
TEST(Booking, AJobWhoseOffcutsAnotherTookIsBookedOnTheNextOfTheirLength) {
    OffcutStore store = OffcutStore::Open(":memory:");
    std::vector<long long> ids;
    for (int i = 0; i < 4; ++i) ids.push_back(store.Add({"SHS 50", 2025, 1, {}, ""}));
    const long long other = store.Add({"SHS 50", 1500, 3, {}, ""});  // another length
    // Four jobs of one bar each, all planned while every offcut was there.
    std::vector<TestJob> jobs;
    std::vector<std::vector<UsedOffcut>> planned;
    for (int k = 0; k < 5; ++k) {
        TestJob job = MakeJob({}, {{"1", std::to_string(1900 - k)}}, 3, 25, 0);
        job.Input.Section.Name = "shs 50";
        ASSERT_EQ(AddInventoryStock(job.Input, store).Rows.size(), 2u);
        Calculated run(job);
        ASSERT_TRUE(run.outcome.Completed);
        testing::StatsOf(job);
        planned.push_back(UsedInventoryOffcuts(job.Input, job.Result, store));
        ASSERT_EQ(planned.back().size(), 1u);
        EXPECT_EQ(planned.back()[0].OffcutId, ids[0]);  // the oldest, for every one of them
        jobs.push_back(std::move(job));
    }
    // Booked in turn as planned: each takes the next offcut of 2025 mm, never the 1500s.
    for (int k = 0; k < 4; ++k) {
        BookingRecord record;
        record.Calculation = CalculationIdentity(jobs[k].Input, jobs[k].Result);
        store.Book(record, std::vector<NewOffcut>{}, planned[k]);
        EXPECT_FALSE(store.Find(ids[k]).has_value()) << k;
        if (k + 1 < 4) {
            EXPECT_TRUE(store.Find(ids[k + 1]).has_value()) << k;
        }
    }
    EXPECT_EQ(store.Find(other)->Count, 3);
    // An offcut the booking itself returns never stands in for one it used.
    BookingRecord own;
    own.Calculation = "own";
    EXPECT_THROW(store.Book(own, std::vector<NewOffcut>{{"SHS 50", 2025, 1, {}, ""}}, planned[4]),
                 InventoryError);
    // The fifth finds none left: refused, and nothing of it stays.
    EXPECT_EQ(testing::ErrorOf(
                  [&] { BookCalculatedJob(store, jobs[4].Input, jobs[4].Result, "job.cut"); }),
              InventoryErrorKind::NotEnough);
    EXPECT_EQ(store.Bookings().size(), 4u);
    EXPECT_EQ(store.Find(other)->Count, 3);
}

}  // namespace
}  // namespace tallora
