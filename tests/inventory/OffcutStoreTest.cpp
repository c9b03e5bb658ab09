#include "inventory/OffcutStore.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <regex>

#include "support/InventoryDamage.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

NewOffcut Piece(const std::string& section, int length, int count,
                const std::string& location = {}) {
    return {section, length, count, {"frame.cut", "J-17", 2}, location};
}

// The first column of the first row the query gives, as text.
std::string Query(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    std::string value;
    if (sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
        sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return value;
}

// The error Open throws for the file, which must not open.
InventoryError OpenError(const std::string& path) {
    try {
        OffcutStore::Open(path);
    } catch (const InventoryError& error) {
        return error;
    }
    ADD_FAILURE() << path << " opened";
    return InventoryError(InventoryErrorKind::Failed, "");
}

// Pieces or the whole offcut go; a removed offcut comes back as it was, once; a length or count
// the inventory cannot keep is refused.
TEST(OffcutStore, RemovesRestoresAndRefusesWhatItCannotKeep) {
    OffcutStore store = OffcutStore::Open(":memory:");
    const long long id = store.Add(Piece("IPE 200", 1500, 5, "Rack 1"));
    store.Add(Piece("IPE 200", 1600, 1));
    const Offcut before = *store.Find(id);
    store.Remove(id, 2);
    EXPECT_EQ(store.Find(id)->Count, 3);
    store.Remove(id, 3);
    EXPECT_FALSE(store.Find(id).has_value());
    store.Restore(before);
    EXPECT_EQ(store.Find(id), before);
    EXPECT_EQ(testing::ErrorOf([&] { store.Restore(before); }), InventoryErrorKind::Invalid);
    EXPECT_EQ(store.Count(), 2);
    store.Remove(id, 0);
    EXPECT_FALSE(store.Find(id).has_value());
    const long long more = store.Add(Piece("IPE 200", 1500, 2));
    store.Remove(more, 9);
    EXPECT_FALSE(store.Find(more).has_value());
    EXPECT_EQ(testing::ErrorOf([&] { store.Remove(more, 1); }), InventoryErrorKind::NotFound);

    for (const NewOffcut& bad : {Piece("IPE 200", 0, 1), Piece("IPE 200", 1000, 0),
                                 Piece("IPE 200", 1000, -2), Piece("IPE 200", 99999, 1)})
        EXPECT_EQ(testing::ErrorOf([&] { store.Add(bad); }), InventoryErrorKind::Invalid)
            << bad.Length << " x " << bad.Count;
    EXPECT_EQ(store.Count(), 1);
}

TEST(OffcutStore, PagesComeInTheOrderAskedAndTogetherMakeTheWholeList) {
    OffcutStore store = OffcutStore::Open(":memory:");
    for (int i = 0; i < 23; ++i) {
        store.Add({i % 3 == 0 ? "SHS 50" : "ipe 200",
                   1000 + 37 * ((i * 7) % 11),
                   1 + i % 4,
                   {"job" + std::to_string(i % 5) + ".cut", "", i % 2},
                   i % 4 == 0 ? "" : "Rack " + std::to_string(i % 3)});
    }
    EXPECT_EQ(store.Count(), 23);
    EXPECT_EQ(store.Count(std::string(" IPE 200 ")), 15);

    auto key = [](const Offcut& o, OffcutOrder order) -> std::string {
        auto padded = [](long long n) {
            std::string text = std::to_string(n);
            return std::string(10 - text.size(), '0') + text;
        };
        switch (order) {
            case OffcutOrder::Id:
                return "";
            case OffcutOrder::Section:
                return SectionKey(o.Section);
            case OffcutOrder::Length:
                return padded(o.Length);
            case OffcutOrder::Count:
                return padded(o.Count);
            case OffcutOrder::Source:
                return o.Source.JobFile + "|" + o.Source.JobReference + "|" +
                       padded(o.Source.Pattern);
            case OffcutOrder::BookedAt:
                return o.BookedAt;
            case OffcutOrder::Location:
                return o.Location;
        }
        return "";
    };
    for (const auto order : {OffcutOrder::Id, OffcutOrder::Section, OffcutOrder::Length,
                             OffcutOrder::Count, OffcutOrder::Source, OffcutOrder::Location}) {
        for (const bool descending : {false, true}) {
            for (const std::optional<std::string>& section :
                 {std::optional<std::string>{}, std::optional<std::string>{"Ipe 200"}}) {
                OffcutQuery query{section, order, descending, 0, 5};
                std::vector<Offcut> pages;
                for (;; query.Offset += 5) {
                    const auto page = store.List(query);
                    pages.insert(pages.end(), page.begin(), page.end());
                    if (page.size() < 5) break;
                }
                ASSERT_EQ(static_cast<long long>(pages.size()), store.Count(section));
                for (std::size_t k = 1; k < pages.size(); ++k) {
                    const auto a = std::make_pair(key(pages[k - 1], order), pages[k - 1].Id);
                    const auto b = std::make_pair(key(pages[k], order), pages[k].Id);
                    EXPECT_TRUE(descending ? a > b : a < b)
                        << static_cast<int>(order) << " at " << k;
                }
            }
        }
    }
}

// A new file has the schema's version and a write-ahead log, and keeps what is added across
// openings.
TEST(OffcutStore, CreatesTheFileWithTheSchemaVersion) {
    TempFolder folder;
    const std::string path = folder.File("offcuts.sqlite");
    long long first = 0, second = 0;
    {
        OffcutStore store = OffcutStore::Open(path);
        first = store.Add(Piece("IPE 200", 1466, 2, "Rack 3"));
        second = store.Add(Piece("RHS 50x50x4", 2100, 1));
        EXPECT_NE(first, second);
    }
    EXPECT_EQ(Query(path, "PRAGMA user_version"), std::to_string(InventorySchemaVersion));
    EXPECT_EQ(Query(path, "PRAGMA journal_mode"), "wal");
    OffcutStore store = OffcutStore::Open(path);
    const std::vector<Offcut> all = store.List();
    ASSERT_EQ(all.size(), 2u);
    // Sorted by section key: "ipe 200" before "rhs 50x50x4".
    EXPECT_EQ(all[0].Id, first);
    EXPECT_EQ(all[0].Section, "IPE 200");
    EXPECT_EQ(all[0].Length, 1466);
    EXPECT_EQ(all[0].Count, 2);
    EXPECT_EQ(all[0].Source, (OffcutSource{"frame.cut", "J-17", 2}));
    EXPECT_EQ(all[0].Location, "Rack 3");
    EXPECT_TRUE(std::regex_match(all[0].BookedAt, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)")))
        << all[0].BookedAt;
    EXPECT_EQ(all[1].Id, second);
    EXPECT_EQ(all[1].Location, "");
    EXPECT_EQ(store.Find(second), all[1]);
    EXPECT_FALSE(store.Find(second + 100).has_value());
    // An empty file, as a failed first start may leave, becomes an inventory too.
    const std::string empty = folder.File("empty.sqlite");
    WriteBytes(empty, "");
    EXPECT_TRUE(OffcutStore::Open(empty).List().empty());
}

TEST(OffcutStore, AFileOfTheFirstVersionIsBroughtUpToDateWithItsOffcuts) {
    TempFolder folder;
    const std::string path = folder.File("v1.sqlite");
    long long id = 0;
    {
        OffcutStore store = OffcutStore::Open(path);
        id = store.Add(Piece("IPE 200", 1500, 5, "Rack 1"));
        store.Add(Piece("ÄQ 100", 2000, 1));
    }
    // Before the third version only ASCII letters were folded.
    testing::ExecSql(path, "UPDATE offcuts SET section_key = 'Äq 100' WHERE section = 'ÄQ 100'");
    // The first version had only the section index.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    for (const char* index :
         {"offcuts_in_section_order", "offcuts_in_length_order", "offcuts_in_count_order",
          "offcuts_in_source_order", "offcuts_in_booking_order", "offcuts_in_location_order"}) {
        const std::string sql = std::string("DROP INDEX ") + index;
        ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    }
    // Nor what a booking adds and takes.
    for (const char* sql :
         {"DROP TABLE booking_changes", "ALTER TABLE bookings DROP COLUMN undoable"})
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(db);
    testing::ExecSql(path, "PRAGMA user_version = 1");

    OffcutStore store = OffcutStore::Open(path);
    EXPECT_EQ(store.Find(id)->Count, 5);
    EXPECT_EQ(store.List(std::string("äq 100")).size(), 1u);
    EXPECT_EQ(Query(path,
                    "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name LIKE "
                    "'offcuts_in_%'"),
              "6");
    EXPECT_EQ(Query(path, "PRAGMA user_version"), std::to_string(InventorySchemaVersion));
}

// A file the inventory cannot use is refused when it is opened, with a message naming it, and
// its bytes are left as they were. A damaged page or a table gone is found wherever it is.
TEST(OffcutStore, AFileItCannotUseIsRefusedAtOpeningAndLeftAsItIs) {
    constexpr int Offcuts = 2000;
    using Maker = std::function<void(const std::string&)>;
    const auto filled = [](const Maker& damage) {
        return [damage](const std::string& path) {
            testing::FillInventory(path, Offcuts);
            damage(path);
        };
    };
    const auto sql = [&](const std::string& text) {
        return filled([text](const std::string& p) { testing::ExecSql(p, text); });
    };
    struct Damage {
        std::string Name;
        Maker Make;
        InventoryErrorKind Kind;
        std::string Error;
    };
    std::string junk;
    for (int i = 0; i < 5000; ++i) junk += static_cast<char>((i * 37 + 11) % 256);
    const std::vector<Damage> damages = {
        {"junk", [&](const std::string& p) { WriteBytes(p, junk); }, InventoryErrorKind::Damaged,
         "is damaged: it is not a database file"},
        {"text", [](const std::string& p) { WriteBytes(p, "not a database\n"); },
         InventoryErrorKind::Damaged, "is damaged: it is not a database file"},
        {"a database's header then garbage",
         [](const std::string& p) {
             std::string garbage = "SQLite format 3";
             for (int i = 0; i < 4000; ++i) garbage += static_cast<char>(i * 37 % 251);
             WriteBytes(p, garbage);
         },
         InventoryErrorKind::Damaged, "is damaged: file is not a database"},
        {"a header SQLite cannot read past", filled([](const std::string& p) {
             std::string bytes = ReadBytes(p);
             for (std::size_t i = 16; i < 100; ++i) bytes[i] = '\xff';
             WriteBytes(p, bytes);
         }),
         InventoryErrorKind::Damaged, "is damaged"},
        {"somebody else's database",
         [](const std::string& p) { testing::ExecSql(p, "CREATE TABLE notes (text TEXT)"); },
         InventoryErrorKind::Damaged, "is damaged"},
        {"the offcuts table gone", sql("DROP TABLE offcuts"), InventoryErrorKind::Damaged,
         "is damaged: no such table: offcuts"},
        {"the bookings table gone", sql("PRAGMA foreign_keys = OFF; DROP TABLE bookings"),
         InventoryErrorKind::Damaged, "is damaged: no such table: bookings"},
        {"a column gone",
         sql("DROP INDEX offcuts_in_location_order; ALTER TABLE offcuts DROP COLUMN location"),
         InventoryErrorKind::Damaged, "is damaged: no such column: location"},
        {"a damaged page of the offcuts",
         filled([](const std::string& p) { testing::DamageTablePage(p, Offcuts); }),
         InventoryErrorKind::Damaged, "is damaged"},
        {"a damaged page of an index",
         filled([](const std::string& p) { testing::DamageIndexPage(p, Offcuts); }),
         InventoryErrorKind::Damaged, "is damaged"},
        {"cut short", filled([](const std::string& p) {
             const std::string bytes = ReadBytes(p);
             WriteBytes(p, bytes.substr(0, bytes.size() / 2));
         }),
         InventoryErrorKind::Damaged, "is damaged"},
        {"newer", sql("PRAGMA user_version = 99"), InventoryErrorKind::Newer,
         "was written by a newer version of Tallora"},
        // A fresh file set to a later version before any table was made.
        {"newer and bare",
         [](const std::string& p) { testing::ExecSql(p, "PRAGMA user_version = 99"); },
         InventoryErrorKind::Newer, "was written by a newer version of Tallora"},
        {"a pipe", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); },
         InventoryErrorKind::Failed, "cannot be used: it is not a regular file"},
        {"a pipe for its log",
         [](const std::string& p) {
             testing::FillInventory(p, 10);
             ASSERT_EQ(mkfifo((p + "-wal").c_str(), 0600), 0);
         },
         InventoryErrorKind::Failed, "-wal\" is not a regular file"},
        {"a folder", [](const std::string& p) { std::filesystem::create_directory(p); },
         InventoryErrorKind::Failed, "cannot be used: it is a folder. It has been left as it is."},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.Name);
        TempFolder folder;
        const std::string path = folder.File("offcuts.sqlite");
        damage.Make(path);
        const bool plain = std::filesystem::is_regular_file(path);
        const std::string bytes = plain ? ReadBytes(path) : "";
        const InventoryError error = OpenError(path);
        EXPECT_EQ(error.Kind(), damage.Kind) << error.what();
        const std::string message = error.what();
        EXPECT_EQ(message.rfind("The offcut inventory \"" + path + "\"", 0), 0u) << message;
        EXPECT_NE(message.find(damage.Error), std::string::npos) << message;
        if (plain) {
            EXPECT_TRUE(ReadBytes(path) == bytes) << "changed";
        }
        EXPECT_FALSE(std::filesystem::exists(path + "-journal"));
    }
}

// A program that keeps the inventory open (the desktop) finds damage another program's change
// left before it writes anything more.
TEST(OffcutStore, AFileDamagedWhileOpenIsRefusedBeforeTheNextChange) {
    TempFolder folder;
    const std::string path = folder.File("offcuts.sqlite");
    constexpr int Count = 2000;
    testing::FillInventory(path, Count);
    OffcutStore open = OffcutStore::Open(path);
    open.Add(Piece("IPE 200", 1500, 1));

    // Another program adds an offcut; then a page of the table goes bad on the disk.
    OffcutStore::Open(path).Add(Piece("HEA 100", 1200, 1));
    testing::DamageTablePage(path, Count);
    const std::string bytes = ReadBytes(path);
    const std::string log = ReadBytes(path + "-wal");

    const std::vector<std::pair<std::string, std::function<void()>>> changes = {
        {"add", [&] { open.Add(Piece("IPE 200", 1500, 1)); }},
        {"remove", [&] { open.Remove(1); }},
        {"update",
         [&] {
             OffcutChanges changes;
             changes.Count = 7;
             open.Update(1, changes);
         }},
        {"book",
         [&] {
             open.Book({0, "calculation", "", "", ""}, {Piece("IPE 200", 900, 1)}, {});
         }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        EXPECT_EQ(testing::ErrorOf(change), InventoryErrorKind::Damaged);
        EXPECT_TRUE(ReadBytes(path) == bytes);
        EXPECT_TRUE(ReadBytes(path + "-wal") == log);
    }
}

}  // namespace
}  // namespace tallora
