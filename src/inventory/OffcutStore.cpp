#include "inventory/OffcutStore.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>
#include <utility>

#include "inventory/Sqlite.h"
#include "job/Capacities.h"
#include "job/Utf8.h"
#include "results/CuttingListCsv.h"

namespace tallora {

using sql::Exec;
using sql::Fail;
using sql::Quoted;
using sql::Refuse;
using sql::Statement;
using sql::Transaction;

namespace {

// SectionKey as an SQL function, for the migration that makes the keys again.
void AddSectionKeyFunction(sqlite3* db, const std::string& path) {
    const auto key = [](sqlite3_context* context, int, sqlite3_value** args) {
        const auto* text = sqlite3_value_text(args[0]);
        const std::string made =
            SectionKey(std::string_view(text == nullptr ? "" : reinterpret_cast<const char*>(text),
                                        static_cast<std::size_t>(sqlite3_value_bytes(args[0]))));
        sqlite3_result_text(context, made.data(), static_cast<int>(made.size()), SQLITE_TRANSIENT);
    };
    const int rc =
        sqlite3_create_function_v2(db, "tallora_section_key", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   nullptr, key, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) Fail(db, rc, path);
}

// Each step takes the schema from the version before it to `To`. New versions append a step;
// a step is never changed once released.
struct MigrationStep {
    int To;
    const char* Sql;
};

constexpr MigrationStep Migrations[] = {
    {1, R"sql(
CREATE TABLE bookings (
    id INTEGER PRIMARY KEY,
    calculation TEXT NOT NULL UNIQUE,
    job_file TEXT NOT NULL DEFAULT '',
    job_reference TEXT NOT NULL DEFAULT '',
    booked_at TEXT NOT NULL
);
CREATE TABLE offcuts (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    section TEXT NOT NULL,
    section_key TEXT NOT NULL,
    length_mm INTEGER NOT NULL CHECK (length_mm > 0),
    count INTEGER NOT NULL CHECK (count > 0),
    source_file TEXT NOT NULL DEFAULT '',
    source_reference TEXT NOT NULL DEFAULT '',
    source_pattern INTEGER NOT NULL DEFAULT 0,
    booking_id INTEGER REFERENCES bookings(id),
    booked_at TEXT NOT NULL,
    location TEXT
);
CREATE INDEX offcuts_by_section ON offcuts(section_key, length_mm);
)sql"},
    // The window's orders, each a column with the id after it as every index has: a page of a
    // large inventory is then read in order rather than sorted whole.
    {2, R"sql(
CREATE INDEX offcuts_in_section_order ON offcuts(section_key);
CREATE INDEX offcuts_in_length_order ON offcuts(length_mm);
CREATE INDEX offcuts_in_count_order ON offcuts(count);
CREATE INDEX offcuts_in_source_order ON offcuts(source_file, source_reference, source_pattern);
CREATE INDEX offcuts_in_booking_order ON offcuts(booked_at);
CREATE INDEX offcuts_in_location_order ON offcuts(ifnull(location,''));
)sql"},
    // Sections match without case beyond ASCII too: the keys are made again.
    {3, R"sql(
UPDATE offcuts SET section_key = tallora_section_key(section);
)sql"},
    // What each booking added and took, so that it can be undone: an offcut it took is kept
    // whole, as it was before.
    {4, R"sql(
ALTER TABLE bookings ADD COLUMN undoable INTEGER NOT NULL DEFAULT 0;
CREATE TABLE booking_changes (
    booking_id INTEGER NOT NULL REFERENCES bookings(id),
    offcut_id INTEGER NOT NULL,
    added INTEGER NOT NULL DEFAULT 0,
    taken INTEGER NOT NULL DEFAULT 0,
    section TEXT NOT NULL DEFAULT '',
    length_mm INTEGER NOT NULL DEFAULT 0,
    source_file TEXT NOT NULL DEFAULT '',
    source_reference TEXT NOT NULL DEFAULT '',
    source_pattern INTEGER NOT NULL DEFAULT 0,
    offcut_booking_id INTEGER,
    booked_at TEXT NOT NULL DEFAULT '',
    location TEXT
);
CREATE INDEX booking_changes_by_booking ON booking_changes(booking_id);
)sql"},
};

static_assert(std::size(Migrations) == InventorySchemaVersion);

// How long a change waits for another program's to end.
constexpr int BusyWaitMs = 5000;

// Switches the file to write-ahead logging. SQLite does not wait for a lock here as it does
// elsewhere: while another program is creating the file, the switch is tried again until the
// busy wait is over.
void UseWriteAheadLog(sqlite3* db, const std::string& path) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(BusyWaitMs);
    for (;;) {
        const int rc = sqlite3_exec(db, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
        const int primary = rc & 0xff;
        if (rc == SQLITE_OK) return;
        if ((primary != SQLITE_BUSY && primary != SQLITE_LOCKED) ||
            std::chrono::steady_clock::now() >= until)
            Fail(db, rc, path);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

int UserVersion(sqlite3* db, const std::string& path) {
    Statement version(db, "PRAGMA user_version", path);
    return version.Next() ? static_cast<int>(version.Int(0)) : 0;
}

[[noreturn]] void Damaged(const std::string& path, const std::string& what) {
    Refuse(InventoryErrorKind::Damaged, "The offcut inventory " + Quoted(path) + " is damaged: " +
                                            what + ". It has been left as it is.");
}

bool InMemory(const std::string& path) { return path.empty() || path == ":memory:"; }

// A pipe or a device would keep SQLite waiting for ever, or never end: the file and those SQLite
// keeps beside it must be plain files when they are there.
void CheckPlainFiles(const std::string& path) {
    if (InMemory(path)) return;
    namespace fs = std::filesystem;
    for (const std::string& file : {path, path + "-wal", path + "-shm", path + "-journal"}) {
        std::error_code ec;
        const fs::file_status status = fs::status(file, ec);
        if (ec || !fs::exists(status) || fs::is_regular_file(status)) continue;
        Refuse(InventoryErrorKind::Failed,
               "The offcut inventory " + Quoted(path) +
                   " cannot be used: " + (file == path ? std::string("it") : Quoted(file)) +
                   (fs::is_directory(status) ? " is a folder"
                                             : " is not a regular file (a pipe or a device)") +
                   ". It has been left as it is.");
    }
}

// A file that SQLite did not write is refused before SQLite touches it.
void CheckHeader(const std::string& path) {
    if (InMemory(path)) return;
    std::ifstream file(path, std::ios::binary);
    if (!file) return;  // created below
    char header[16] = {};
    file.read(header, sizeof header);
    const auto got = file.gcount();
    if (got == 0) return;  // an empty file is an empty database
    if (got < 16 || std::string_view(header, 16) != std::string_view("SQLite format 3\0", 16)) {
        Refuse(InventoryErrorKind::Damaged, "The offcut inventory " + Quoted(path) +
                                                " is damaged: it is not a database file. It has "
                                                "been left as it is.");
    }
}

void CheckNotNewer(int version, const std::string& path) {
    if (version > InventorySchemaVersion) {
        Refuse(InventoryErrorKind::Newer,
               "The offcut inventory " + Quoted(path) +
                   " was written by a newer version of Tallora (inventory version " +
                   std::to_string(version) + "; this version reads up to " +
                   std::to_string(InventorySchemaVersion) +
                   "). It has been left as it is: open it with that version.");
    }
}

constexpr const char* OffcutColumns =
    "id, section, length_mm, count, source_file, source_reference, source_pattern, booked_at, "
    "location";

// What SQLite's quick check found first, without the name of the database it was in.
std::string CheckFinding(std::string finding) {
    const std::string_view header = "*** in database main ***";
    if (finding.starts_with(header)) finding.erase(0, header.size());
    for (char& c : finding) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    const auto start = finding.find_first_not_of(' ');
    return start == std::string::npos ? std::string("the database check failed")
                                      : finding.substr(start);
}

// Damaged pages, found by SQLite's quick check (it reads every page once), and tables or columns
// gone, as a file edited by hand or by another program has them. Nothing is written to a file
// that fails: a change would only spread the damage. `version`: the file's schema, whose tables
// it must have (none at 0).
void CheckIntact(sqlite3* db, const std::string& path, int version) {
    {
        Statement check(db, "PRAGMA quick_check(1)", path);
        if (check.Next() && check.Text(0) != "ok") Damaged(path, CheckFinding(check.Text(0)));
    }
    if (version == 0) return;
    std::vector<std::string> queries = {
        std::string("SELECT ") + OffcutColumns + ", section_key, booking_id FROM offcuts LIMIT 0",
        "SELECT id, calculation, job_file, job_reference, booked_at FROM bookings LIMIT 0"};
    if (version >= 4) {
        queries.emplace_back("SELECT undoable FROM bookings LIMIT 0");
        queries.emplace_back(
            "SELECT booking_id, offcut_id, added, taken, section, length_mm, source_file, "
            "source_reference, source_pattern, offcut_booking_id, booked_at, location "
            "FROM booking_changes LIMIT 0");
    }
    for (const std::string& sql : queries) {
        sqlite3_stmt* statement = nullptr;
        const int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
        const std::string what = rc == SQLITE_OK ? "" : sqlite3_errmsg(db);
        sqlite3_finalize(statement);
        if (rc != SQLITE_OK) Damaged(path, what);
    }
}

long long DataVersion(sqlite3* db, const std::string& path) {
    Statement version(db, "PRAGMA data_version", path);
    return version.Next() ? version.Int(0) : 0;
}

// A file of version 0 is ours only while it holds nothing.
void CheckEmpty(sqlite3* db, const std::string& path) {
    Statement tables(db, "SELECT count(*) FROM sqlite_master", path);
    if (tables.Next() && tables.Int(0) > 0) {
        Refuse(InventoryErrorKind::Damaged, "The offcut inventory " + Quoted(path) +
                                                " is damaged: it is a database of something "
                                                "else. It has been left as it is.");
    }
}

void Migrate(sqlite3* db, const std::string& path) {
    Transaction transaction(db, path);
    // Another process may have brought the file up to date since it was opened.
    const int version = UserVersion(db, path);
    CheckNotNewer(version, path);
    if (version == InventorySchemaVersion) return;
    if (version == 0) CheckEmpty(db, path);
    for (const auto& step : Migrations) {
        if (step.To > version) Exec(db, step.Sql, path);
    }
    Exec(db, ("PRAGMA user_version = " + std::to_string(InventorySchemaVersion)).c_str(), path);
    transaction.Commit();
}

void CheckLength(int length) {
    if (length <= 0 || length > MaxLength) {
        Refuse(InventoryErrorKind::Invalid, "An offcut must be 1 to " + std::to_string(MaxLength) +
                                                "mm long, not " + std::to_string(length) + "mm.");
    }
}

void CheckCount(int count) {
    if (count <= 0) {
        Refuse(InventoryErrorKind::Invalid,
               "An offcut needs at least one piece, not " + std::to_string(count) + ".");
    }
}

[[noreturn]] void NotFound(long long id) {
    Refuse(InventoryErrorKind::NotFound,
           "Offcut " + std::to_string(id) + " is not in the offcut inventory.");
}

Offcut ReadOffcut(const Statement& row) {
    Offcut offcut;
    offcut.Id = row.Int(0);
    offcut.Section = row.Text(1);
    offcut.Length = static_cast<int>(row.Int(2));
    offcut.Count = static_cast<int>(row.Int(3));
    offcut.Source = {row.Text(4), row.Text(5), static_cast<int>(row.Int(6))};
    offcut.BookedAt = row.Text(7);
    offcut.Location = row.Text(8);
    return offcut;
}

}  // namespace

std::string SectionKey(std::string_view section) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!section.empty() && blank(section.front())) section.remove_prefix(1);
    while (!section.empty() && blank(section.back())) section.remove_suffix(1);
    return LowerCase(section);
}

std::string InventoryTimeNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

OffcutStore OffcutStore::Open(const std::string& path) {
    CheckPlainFiles(path);
    CheckHeader(path);
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    OffcutStore store(raw, path);  // closes the connection whatever happens below
    if (rc != SQLITE_OK) Fail(raw, rc, path);
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, BusyWaitMs);
    AddSectionKeyFunction(raw, path);

    // Nothing is written before the file is known to be an inventory this version can read.
    // The version and the tables are read together: another program may be creating them.
    int version = 0;
    {
        Transaction reading(raw, path, Transaction::Reading);
        version = UserVersion(raw, path);
        CheckNotNewer(version, path);
        if (version == 0) CheckEmpty(raw, path);
        // Before the switch to write-ahead logging, which writes to the file.
        CheckIntact(raw, path, version);
        reading.Commit();
    }
    UseWriteAheadLog(raw, path);
    Exec(raw, "PRAGMA foreign_keys = ON", path);
    Exec(raw, "PRAGMA cache_size = -32768", path);
    if (version < InventorySchemaVersion) Migrate(raw, path);
    store.checkedVersion_ = DataVersion(raw, path);
    return store;
}

void OffcutStore::CheckBeforeChange() {
    // Only another program's commits change the version: the file was checked as we left it.
    const long long version = DataVersion(db_, path_);
    if (version == checkedVersion_) return;
    {
        Transaction reading(db_, path_, Transaction::Reading);
        CheckIntact(db_, path_, InventorySchemaVersion);
        reading.Commit();
    }
    checkedVersion_ = version;
}

OffcutStore::OffcutStore(OffcutStore&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)),
      path_(std::move(other.path_)),
      checkedVersion_(other.checkedVersion_),
      faultHook_(std::move(other.faultHook_)) {}

OffcutStore& OffcutStore::operator=(OffcutStore&& other) noexcept {
    if (this != &other) {
        if (db_ != nullptr) sqlite3_close_v2(db_);
        db_ = std::exchange(other.db_, nullptr);
        path_ = std::move(other.path_);
        checkedVersion_ = other.checkedVersion_;
        faultHook_ = std::move(other.faultHook_);
    }
    return *this;
}

OffcutStore::~OffcutStore() {
    if (db_ != nullptr) sqlite3_close_v2(db_);
}

void OffcutStore::Step(const std::string& name) const {
    if (faultHook_) faultHook_(name);
}

std::vector<Offcut> OffcutStore::List(const std::optional<std::string>& section) const {
    // One section is read backwards along its index, without sorting; within a length the
    // latest offcut comes first.
    const std::string sql = std::string("SELECT ") + OffcutColumns + " FROM offcuts" +
                            (section ? " WHERE section_key = ?1 ORDER BY length_mm DESC, id DESC"
                                     : " ORDER BY section_key, length_mm DESC, id DESC");
    Statement rows(db_, sql.c_str(), path_);
    if (section) rows.Bind(1, SectionKey(*section));
    std::vector<Offcut> offcuts;
    offcuts.reserve(static_cast<std::size_t>(Count(section)));
    while (rows.Next()) offcuts.push_back(ReadOffcut(rows));
    return offcuts;
}

std::vector<Offcut> OffcutStore::List(const OffcutQuery& query) const {
    const char* column = "section_key, length_mm DESC";
    switch (query.Order) {
        case OffcutOrder::Id:
            column = "id";
            break;
        case OffcutOrder::Section:
            column = "section_key";
            break;
        case OffcutOrder::Length:
            column = "length_mm";
            break;
        case OffcutOrder::Count:
            column = "count";
            break;
        case OffcutOrder::Source:
            column = "source_file, source_reference, source_pattern";
            break;
        case OffcutOrder::BookedAt:
            column = "booked_at";
            break;
        case OffcutOrder::Location:
            column = "ifnull(location,'')";
            break;
    }
    std::string order = column;
    if (query.Descending) {
        // Every column of the order is turned round, the tie-breaking id too.
        std::string turned;
        std::size_t start = 0;
        while (start <= order.size()) {
            std::size_t end = order.find(", ", start);
            if (end == std::string::npos) end = order.size();
            turned += (turned.empty() ? "" : ", ") + order.substr(start, end - start) + " DESC";
            start = end + 2;
        }
        order = turned;
    }
    if (query.Order != OffcutOrder::Id) order += query.Descending ? ", id DESC" : ", id";
    const std::string sql = std::string("SELECT ") + OffcutColumns + " FROM offcuts" +
                            (query.Section ? " WHERE section_key = ?1" : "") + " ORDER BY " +
                            order + " LIMIT ?2 OFFSET ?3";
    Statement rows(db_, sql.c_str(), path_);
    if (query.Section) rows.Bind(1, SectionKey(*query.Section));
    rows.Bind(2, query.Limit < 0 ? -1LL : query.Limit);
    rows.Bind(3, query.Offset < 0 ? 0LL : query.Offset);
    std::vector<Offcut> offcuts;
    while (rows.Next()) offcuts.push_back(ReadOffcut(rows));
    return offcuts;
}

long long OffcutStore::Count(const std::optional<std::string>& section) const {
    const std::string sql =
        std::string("SELECT count(*) FROM offcuts") + (section ? " WHERE section_key = ?1" : "");
    Statement rows(db_, sql.c_str(), path_);
    if (section) rows.Bind(1, SectionKey(*section));
    return rows.Next() ? rows.Int(0) : 0;
}

void OffcutStore::Restore(const Offcut& offcut) {
    CheckBeforeChange();
    Transaction transaction(db_, path_);
    if (Find(offcut.Id)) {
        Refuse(InventoryErrorKind::Invalid,
               "Offcut " + std::to_string(offcut.Id) + " is in the offcut inventory already.");
    }
    Insert({offcut.Section, offcut.Length, offcut.Count, offcut.Source, offcut.Location},
           offcut.BookedAt, 0, offcut.Id);
    Step("commit");
    transaction.Commit();
}

std::optional<Offcut> OffcutStore::Find(long long id) const {
    const std::string sql = std::string("SELECT ") + OffcutColumns + " FROM offcuts WHERE id = ?1";
    Statement row(db_, sql.c_str(), path_);
    row.Bind(1, id);
    if (!row.Next()) return std::nullopt;
    return ReadOffcut(row);
}

long long OffcutStore::Insert(const NewOffcut& offcut, const std::string& bookedAt,
                              long long bookingId, long long id) {
    CheckLength(offcut.Length);
    CheckCount(offcut.Count);
    // Without an id (NULL) the offcut gets the next one.
    Statement insert(db_,
                     "INSERT INTO offcuts (section, section_key, length_mm, count, source_file, "
                     "source_reference, source_pattern, booking_id, booked_at, location, id) "
                     "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)",
                     path_);
    insert.Bind(1, offcut.Section)
        .Bind(2, SectionKey(offcut.Section))
        .Bind(3, offcut.Length)
        .Bind(4, offcut.Count)
        .Bind(5, offcut.Source.JobFile)
        .Bind(6, offcut.Source.JobReference)
        .Bind(7, offcut.Source.Pattern)
        .Bind(9, bookedAt)
        .BindOptional(10, offcut.Location);
    if (bookingId > 0) insert.Bind(8, bookingId);
    if (id > 0) insert.Bind(11, id);
    insert.Run();
    return sqlite3_last_insert_rowid(db_);
}

long long OffcutStore::Add(const NewOffcut& offcut) {
    CheckBeforeChange();
    Transaction transaction(db_, path_);
    const long long id = Insert(offcut, InventoryTimeNow(), 0);
    Step("commit");
    transaction.Commit();
    return id;
}

void OffcutStore::Remove(long long id, int count) {
    CheckBeforeChange();
    Transaction transaction(db_, path_);
    Statement find(db_, "SELECT count FROM offcuts WHERE id = ?1", path_);
    find.Bind(1, id);
    if (!find.Next()) NotFound(id);
    const long long have = find.Int(0);
    if (count <= 0 || count >= have) {
        Statement(db_, "DELETE FROM offcuts WHERE id = ?1", path_).Bind(1, id).Run();
    } else {
        Statement(db_, "UPDATE offcuts SET count = count - ?2 WHERE id = ?1", path_)
            .Bind(1, id)
            .Bind(2, count)
            .Run();
    }
    Step("commit");
    transaction.Commit();
}

void OffcutStore::Update(long long id, const OffcutChanges& changes) {
    if (changes.Length) CheckLength(*changes.Length);
    if (changes.Count) CheckCount(*changes.Count);
    CheckBeforeChange();
    Transaction transaction(db_, path_);
    if (!Find(id)) NotFound(id);
    if (changes.Section) {
        Statement(db_, "UPDATE offcuts SET section = ?2, section_key = ?3 WHERE id = ?1", path_)
            .Bind(1, id)
            .Bind(2, *changes.Section)
            .Bind(3, SectionKey(*changes.Section))
            .Run();
    }
    if (changes.Length) {
        Statement(db_, "UPDATE offcuts SET length_mm = ?2 WHERE id = ?1", path_)
            .Bind(1, id)
            .Bind(2, *changes.Length)
            .Run();
    }
    if (changes.Count) {
        Statement(db_, "UPDATE offcuts SET count = ?2 WHERE id = ?1", path_)
            .Bind(1, id)
            .Bind(2, *changes.Count)
            .Run();
    }
    if (changes.Location) {
        Statement(db_, "UPDATE offcuts SET location = ?2 WHERE id = ?1", path_)
            .Bind(1, id)
            .BindOptional(2, *changes.Location)
            .Run();
    }
    Step("commit");
    transaction.Commit();
}

std::vector<SectionTotal> OffcutStore::TotalsBySection() const {
    // The spelling shown is the earliest offcut's: the one with the lowest id.
    Statement rows(db_,
                   "SELECT (SELECT section FROM offcuts AS first WHERE first.section_key = "
                   "o.section_key ORDER BY id LIMIT 1), count(*), sum(count), "
                   "sum(length_mm * count) FROM offcuts AS o GROUP BY section_key "
                   "ORDER BY section_key",
                   path_);
    std::vector<SectionTotal> totals;
    while (rows.Next()) {
        totals.push_back({rows.Text(0), static_cast<int>(rows.Int(1)), rows.Int(2), rows.Int(3)});
    }
    return totals;
}

std::string OffcutStore::ExportCsv(const std::optional<std::string>& section) const {
    std::string text = CsvLine({"Id", "Section", "Length (mm)", "Count", "Job file",
                                "Job reference", "Pattern", "Booked at (UTC)", "Location"});
    for (const Offcut& o : List(section)) {
        text += CsvLine({std::to_string(o.Id), CsvText(o.Section), std::to_string(o.Length),
                         std::to_string(o.Count), CsvText(o.Source.JobFile),
                         CsvText(o.Source.JobReference),
                         o.Source.Pattern > 0 ? std::to_string(o.Source.Pattern) : "", o.BookedAt,
                         CsvText(o.Location)});
    }
    return text;
}

}  // namespace tallora
