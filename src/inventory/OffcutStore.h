#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct sqlite3;

namespace tallora {

// Schema versions this program reads and writes; a file of a later version is left alone.
inline constexpr int InventorySchemaVersion = 4;

enum class InventoryErrorKind {
    Damaged,        // not a database, or a database that is not an offcut inventory
    Newer,          // written by a later version of the program
    AlreadyBooked,  // the calculation was booked before
    NotEnough,      // an offcut is gone, or has fewer pieces than a booking takes
    NotFound,       // no offcut of that id
    Invalid,        // a length or count that cannot be stored
    Failed,         // anything else the database reports (locked too long, disk full, ...)
};

// Every error of the inventory carries the message shown to the user.
class InventoryError : public std::runtime_error {
public:
    InventoryError(InventoryErrorKind kind, const std::string& message, std::string when = {})
        : std::runtime_error(message), kind_(kind), when_(std::move(when)) {}
    InventoryErrorKind Kind() const { return kind_; }
    // The UTC time ("2024-05-01T09:30:00Z") the message names, if any: a window shows it in the
    // user's own form.
    const std::string& When() const { return when_; }

private:
    InventoryErrorKind kind_;
    std::string when_;
};

// Where an offcut came from: the job file, its reference and the pattern (from 1) that left it.
struct OffcutSource {
    std::string JobFile;
    std::string JobReference;
    int Pattern = 0;
    bool operator==(const OffcutSource&) const = default;
};

struct Offcut {
    long long Id = 0;
    std::string Section;  // as it was typed
    int Length = 0;       // mm
    int Count = 0;
    OffcutSource Source;
    std::string BookedAt;  // UTC, "2024-05-01T09:30:00Z"
    std::string Location;  // empty: none
    bool operator==(const Offcut&) const = default;
};

// An offcut to add: what the caller knows before it has an id.
struct NewOffcut {
    std::string Section;
    int Length = 0;
    int Count = 0;
    OffcutSource Source;
    std::string Location;
};

// The fields Update changes; those left empty stay as they are. An empty location clears it.
struct OffcutChanges {
    std::optional<std::string> Section;
    std::optional<int> Length;
    std::optional<int> Count;
    std::optional<std::string> Location;
};

struct SectionTotal {
    std::string Section;  // as the earliest offcut of the section spells it
    int Rows = 0;
    long long Pieces = 0;
    long long TotalLength = 0;  // mm, length x count summed
    bool operator==(const SectionTotal&) const = default;
};

// The orders a page of the list can come in, by one column; ties go by id.
enum class OffcutOrder { Id, Section, Length, Count, Source, BookedAt, Location };

// A page of the list: of one section or all, in an order, from an offset.
struct OffcutQuery {
    std::optional<std::string> Section;
    OffcutOrder Order = OffcutOrder::Section;
    bool Descending = false;
    long long Offset = 0;
    long long Limit = -1;  // -1: to the end
};

// A booked calculation: its identity, refused a second time.
struct BookingRecord {
    long long Id = 0;
    std::string Calculation;
    std::string JobFile;
    std::string JobReference;
    std::string BookedAt;
    // Booked by a version that records what a booking adds and takes: it can be undone.
    bool Undoable = false;
};

// What undoing a booking changed.
struct BookingUndone {
    long long PiecesPutBack = 0;  // inventory offcuts the job had cut
    long long PiecesRemoved = 0;  // offcuts the job had returned
};

// Pieces of an inventory offcut a job used as stock. With a length, pieces the offcut no longer
// has when the job is booked (another program took them) are taken from the next offcuts of the
// same section key and length; without one, from that offcut alone.
struct UsedOffcut {
    UsedOffcut() = default;
    UsedOffcut(long long offcutId, int bars, std::string sectionKey = {}, int length = 0)
        : OffcutId(offcutId), Bars(bars), SectionKey(std::move(sectionKey)), Length(length) {}

    long long OffcutId = 0;
    int Bars = 0;
    std::string SectionKey;
    int Length = 0;  // mm
    bool operator==(const UsedOffcut&) const = default;
};

// Offcuts a booking returns: of one section, job file, reference and location, each from its
// pattern with its length and count, kept small for a job of many patterns.
struct OffcutBatch {
    std::string Section;
    std::string JobFile;
    std::string JobReference;
    std::string Location;
    struct Piece {
        int Pattern = 0;
        int Length = 0;
        int Count = 0;
    };
    std::vector<Piece> Pieces;
};

// The key sections match on: surrounding blanks dropped, letters in lower case (LowerCase).
std::string SectionKey(std::string_view section);

// The offcut inventory: one SQLite database file, shared by every process of the program that
// opens it. Each change is one transaction taken with the write lock from its start, so that two
// programs booking at the same time wait for each other instead of losing a change.
class OffcutStore {
public:
    // Opens the file, creating it when missing and bringing an older schema up to date. A file
    // that is not an inventory, one that is damaged (a page SQLite's check finds bad, a table or
    // column gone), one of a later version, or a pipe or device, throws and is left untouched.
    static OffcutStore Open(const std::string& path);

    OffcutStore(OffcutStore&& other) noexcept;
    OffcutStore& operator=(OffcutStore&& other) noexcept;
    OffcutStore(const OffcutStore&) = delete;
    OffcutStore& operator=(const OffcutStore&) = delete;
    ~OffcutStore();

    const std::string& Path() const { return path_; }

    // Offcuts by section key, then longest first, the latest of a length first; only one
    // section's when a section is given.
    std::vector<Offcut> List(const std::optional<std::string>& section = std::nullopt) const;
    // A page of the list, as a window shows it.
    std::vector<Offcut> List(const OffcutQuery& query) const;
    // How many offcut records there are (of one section when given).
    long long Count(const std::optional<std::string>& section = std::nullopt) const;
    std::optional<Offcut> Find(long long id) const;
    long long Add(const NewOffcut& offcut);
    // Puts a removed offcut back as it was, id and date included (undoing its removal). Refused
    // when an offcut of its id is there.
    void Restore(const Offcut& offcut);
    // Takes `count` pieces away; 0, or at least as many as there are, deletes the offcut.
    void Remove(long long id, int count = 0);
    void Update(long long id, const OffcutChanges& changes);
    std::vector<SectionTotal> TotalsBySection() const;
    // The list (of one section when given) as CSV: UTF-8, a header line, CR LF line ends.
    std::string ExportCsv(const std::optional<std::string>& section = std::nullopt) const;

    // Records the calculation, adds the offcuts it returns and takes away those it used, all or
    // nothing. Returns the booking's id. A calculation booked before is refused.
    long long Book(const BookingRecord& booking, const std::vector<NewOffcut>& returned,
                   const std::vector<UsedOffcut>& used);
    long long Book(const BookingRecord& booking, const OffcutBatch& returned,
                   const std::vector<UsedOffcut>& used);
    bool IsBooked(const std::string& calculation) const;
    // Puts back the offcuts a booking took and removes those it added, and forgets the booking
    // (the calculation can be booked again), all or nothing. Refused when a later booking or an
    // edit used an offcut it added, and for bookings of versions that did not record them.
    BookingUndone UndoBooking(long long bookingId);
    std::vector<BookingRecord> Bookings() const;

    // Called between the statements of a change with the step's name; an exception thrown from
    // it abandons the change. Lets a test stop a change halfway.
    void SetFaultHook(std::function<void(const std::string& step)> hook) {
        faultHook_ = std::move(hook);
    }

private:
    OffcutStore(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
    void Step(const std::string& name) const;
    long long Book(const BookingRecord& booking, std::size_t returnedCount,
                   const std::function<NewOffcut(std::size_t)>& returned,
                   const std::vector<UsedOffcut>& used);
    // Records the booking; refused when the calculation was booked before.
    long long InsertBooking(const BookingRecord& booking, const std::string& bookedAt);
    void TakeUsed(long long bookingId, const std::vector<UsedOffcut>& used);
    // Takes up to `bars` pieces from an offcut of `have`, recording them as the booking's;
    // returns how many it took.
    long long TakePieces(long long bookingId, long long id, long long have, long long bars);
    // Takes `bars` pieces from the offcuts of a section key and length, oldest first, or refuses.
    void TakeFromOthers(long long bookingId, const std::string& sectionKey, int length,
                        long long bars);
    void PutBackTaken(long long bookingId, BookingUndone& undone);
    // Checks the file again when another program changed it since it was last checked: a
    // damaged file is refused before anything is written to it.
    void CheckBeforeChange();
    // Inserts an offcut under `id`, or the next id when it is 0; no booking when `bookingId` is.
    long long Insert(const NewOffcut& offcut, const std::string& bookedAt, long long bookingId,
                     long long id = 0);

    sqlite3* db_ = nullptr;
    std::string path_;
    long long checkedVersion_ = -1;  // PRAGMA data_version when the file was last checked
    std::function<void(const std::string&)> faultHook_;
};

// The current time in UTC as the inventory writes it.
std::string InventoryTimeNow();

}  // namespace tallora
