#include "inventory/Booking.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "inventory/InventoryStock.h"
#include "job/Capacities.h"
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

}  // namespace
}  // namespace tallora
