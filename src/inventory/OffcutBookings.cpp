// Bookings: a calculated job's offcuts into the inventory and the offcuts it used out of it.

#include <algorithm>
#include <map>
#include <utility>

#include "inventory/OffcutStore.h"
#include "inventory/Sqlite.h"

namespace tallora {

using sql::Refuse;
using sql::Statement;
using sql::Transaction;

long long OffcutStore::Book(const BookingRecord& booking, const std::vector<NewOffcut>& returned,
                            const std::vector<UsedOffcut>& used) {
    return Book(
        booking, returned.size(), [&](std::size_t k) { return returned[k]; }, used);
}

long long OffcutStore::Book(const BookingRecord& booking, const OffcutBatch& returned,
                            const std::vector<UsedOffcut>& used) {
    NewOffcut offcut{
        returned.Section, 0, 0, {returned.JobFile, returned.JobReference, 0}, returned.Location};
    return Book(
        booking, returned.Pieces.size(),
        [&](std::size_t k) {
            const OffcutBatch::Piece& piece = returned.Pieces[k];
            offcut.Length = piece.Length;
            offcut.Count = piece.Count;
            offcut.Source.Pattern = piece.Pattern;
            return offcut;
        },
        used);
}

long long OffcutStore::Book(const BookingRecord& booking, std::size_t returnedCount,
                            const std::function<NewOffcut(std::size_t)>& returned,
                            const std::vector<UsedOffcut>& used) {
    const std::string bookedAt = booking.BookedAt.empty() ? InventoryTimeNow() : booking.BookedAt;
    CheckBeforeChange();
    Transaction transaction(db_, path_);
    const long long bookingId = InsertBooking(booking, bookedAt);
    // Taken before the job's own offcuts are added, so that none of those stands in for one it
    // used.
    TakeUsed(bookingId, used);
    for (std::size_t k = 0; k < returnedCount; ++k) {
        Step("returned offcut");
        const NewOffcut offcut = returned(k);
        const long long id = Insert(offcut, bookedAt, bookingId);
        Statement(db_,
                  "INSERT INTO booking_changes (booking_id, offcut_id, added) VALUES (?1, ?2, ?3)",
                  path_)
            .Bind(1, bookingId)
            .Bind(2, id)
            .Bind(3, offcut.Count)
            .Run();
    }
    Step("commit");
    transaction.Commit();
    return bookingId;
}

long long OffcutStore::InsertBooking(const BookingRecord& booking, const std::string& bookedAt) {
    {
        Statement earlier(db_, "SELECT booked_at, job_file FROM bookings WHERE calculation = ?1",
                          path_);
        earlier.Bind(1, booking.Calculation);
        if (earlier.Next()) {
            const std::string file = earlier.Text(1);
            const std::string when = earlier.Text(0);
            throw InventoryError(InventoryErrorKind::AlreadyBooked,
                                 "This calculation was booked into the offcut inventory on " +
                                     when + (file.empty() ? "" : " (" + file + ")") +
                                     ": it is not booked twice.",
                                 when);
        }
    }
    Statement(db_,
              "INSERT INTO bookings (calculation, job_file, job_reference, booked_at, undoable) "
              "VALUES (?1, ?2, ?3, ?4, 1)",
              path_)
        .Bind(1, booking.Calculation)
        .Bind(2, booking.JobFile)
        .Bind(3, booking.JobReference)
        .Bind(4, bookedAt)
        .Run();
    return sqlite3_last_insert_rowid(db_);
}

long long OffcutStore::TakePieces(long long bookingId, long long id, long long have,
                                  long long bars) {
    const long long pieces = std::min(have, bars);
    if (pieces > 0 && bookingId > 0) {
        // The offcut as it was, to put back whole should the booking be undone.
        Statement(db_,
                  "INSERT INTO booking_changes (booking_id, offcut_id, taken, section, length_mm, "
                  "source_file, source_reference, source_pattern, offcut_booking_id, booked_at, "
                  "location) SELECT ?1, id, ?2, section, length_mm, source_file, "
                  "source_reference, source_pattern, booking_id, booked_at, location "
                  "FROM offcuts WHERE id = ?3",
                  path_)
            .Bind(1, bookingId)
            .Bind(2, pieces)
            .Bind(3, id)
            .Run();
    }
    if (pieces == have && have > 0) {
        Statement(db_, "DELETE FROM offcuts WHERE id = ?1", path_).Bind(1, id).Run();
    } else if (pieces > 0) {
        Statement(db_, "UPDATE offcuts SET count = count - ?2 WHERE id = ?1", path_)
            .Bind(1, id)
            .Bind(2, pieces)
            .Run();
    }
    return pieces;
}

void OffcutStore::TakeUsed(long long bookingId, const std::vector<UsedOffcut>& used) {
    // The same offcut may come in more than one row: it is taken from once, in id order.
    struct Taking {
        long long Bars = 0;
        std::string SectionKey;
        int Length = 0;  // 0: that offcut and no other
    };
    std::map<long long, Taking> taken;
    for (const auto& use : used) {
        if (use.Bars <= 0) continue;
        Taking& taking = taken[use.OffcutId];
        taking.Bars += use.Bars;
        if (use.Length > 0) taking = {taking.Bars, use.SectionKey, use.Length};
    }
    // Pieces another program took from an offcut the job was planned on are taken from the
    // next offcuts of its section and length: they are the same bars.
    std::map<std::pair<std::string, int>, long long> missing;
    for (const auto& [id, taking] : taken) {
        Step("used offcut");
        Statement find(db_, "SELECT count, section_key, length_mm FROM offcuts WHERE id = ?1",
                       path_);
        find.Bind(1, id);
        const bool there = find.Next();
        const bool same = there && (taking.Length == 0 || (find.Text(1) == taking.SectionKey &&
                                                           find.Int(2) == taking.Length));
        const long long have = same ? find.Int(0) : 0;
        const long long pieces = TakePieces(bookingId, id, have, taking.Bars);
        if (pieces == taking.Bars) continue;
        if (taking.Length > 0) {
            missing[{taking.SectionKey, taking.Length}] += taking.Bars - pieces;
        } else if (!there) {
            Refuse(InventoryErrorKind::NotEnough,
                   "Offcut " + std::to_string(id) +
                       " the job used is no longer in the offcut inventory: nothing was booked.");
        } else {
            Refuse(InventoryErrorKind::NotEnough,
                   "Offcut " + std::to_string(id) + " has " + std::to_string(have) +
                       " left in the offcut inventory but the job used " +
                       std::to_string(taking.Bars) + ": nothing was booked.");
        }
    }
    for (const auto& [of, bars] : missing) TakeFromOthers(bookingId, of.first, of.second, bars);
}

void OffcutStore::TakeFromOthers(long long bookingId, const std::string& sectionKey, int length,
                                 long long bars) {
    std::vector<std::pair<long long, long long>> others;  // id, pieces
    {
        Statement rows(db_,
                       "SELECT id, count FROM offcuts WHERE section_key = ?1 AND length_mm = ?2 "
                       "ORDER BY id",
                       path_);
        rows.Bind(1, sectionKey).Bind(2, length);
        while (rows.Next()) others.emplace_back(rows.Int(0), rows.Int(1));
    }
    for (const auto& [id, have] : others) {
        if (bars == 0) break;
        bars -= TakePieces(bookingId, id, have, bars);
    }
    if (bars > 0) {
        Refuse(InventoryErrorKind::NotEnough,
               "The job cut inventory offcuts of " + std::to_string(length) +
                   "mm that another job has used meanwhile, and the offcut inventory has " +
                   std::to_string(bars) + " too few others of that section and length: " +
                   "nothing was booked. Use the offcuts again and calculate the job before "
                   "booking it.");
    }
}

bool OffcutStore::IsBooked(const std::string& calculation) const {
    Statement row(db_, "SELECT 1 FROM bookings WHERE calculation = ?1", path_);
    row.Bind(1, calculation);
    return row.Next();
}

std::vector<BookingRecord> OffcutStore::Bookings() const {
    Statement rows(db_,
                   "SELECT id, calculation, job_file, job_reference, booked_at, undoable "
                   "FROM bookings ORDER BY id",
                   path_);
    std::vector<BookingRecord> bookings;
    while (rows.Next()) {
        bookings.push_back({rows.Int(0), rows.Text(1), rows.Text(2), rows.Text(3), rows.Text(4),
                            rows.Int(5) != 0});
    }
    return bookings;
}

BookingUndone OffcutStore::UndoBooking(long long bookingId) {
    CheckBeforeChange();
    Transaction transaction(db_, path_);
    {
        Statement booking(db_, "SELECT undoable FROM bookings WHERE id = ?1", path_);
        booking.Bind(1, bookingId);
        if (!booking.Next()) {
            Refuse(InventoryErrorKind::NotFound,
                   "The offcut inventory has no booking " + std::to_string(bookingId) + ".");
        }
        if (booking.Int(0) == 0) {
            Refuse(InventoryErrorKind::Invalid,
                   "Booking " + std::to_string(bookingId) +
                       " was made by an earlier version of Tallora, which kept no record of "
                       "the offcuts it took: it cannot be undone.");
        }
    }
    BookingUndone undone;
    {
        // The offcuts it added go, whole: a piece a later job cut or an edit took is not there
        // to take back.
        Statement added(db_,
                        "SELECT c.offcut_id, c.added, o.count FROM booking_changes c "
                        "LEFT JOIN offcuts o ON o.id = c.offcut_id "
                        "WHERE c.booking_id = ?1 AND c.added > 0",
                        path_);
        added.Bind(1, bookingId);
        std::vector<std::pair<long long, long long>> removals;
        while (added.Next()) {
            if (added.Int(2) < added.Int(1)) {
                Refuse(InventoryErrorKind::NotEnough,
                       "Offcut " + std::to_string(added.Int(0)) +
                           " that the booking added has been used or changed since: the booking "
                           "cannot be undone, and nothing was changed.");
            }
            removals.emplace_back(added.Int(0), added.Int(1));
        }
        for (const auto& [id, pieces] : removals) {
            Step("added offcut");
            undone.PiecesRemoved += TakePieces(0, id, pieces, pieces);
        }
    }
    PutBackTaken(bookingId, undone);
    Statement(db_, "UPDATE offcuts SET booking_id = NULL WHERE booking_id = ?1", path_)
        .Bind(1, bookingId)
        .Run();
    Statement(db_, "DELETE FROM booking_changes WHERE booking_id = ?1", path_)
        .Bind(1, bookingId)
        .Run();
    Statement(db_, "DELETE FROM bookings WHERE id = ?1", path_).Bind(1, bookingId).Run();
    Step("commit");
    transaction.Commit();
    return undone;
}

void OffcutStore::PutBackTaken(long long bookingId, BookingUndone& undone) {
    Statement taken(db_,
                    "SELECT offcut_id, taken, section, length_mm, source_file, source_reference, "
                    "source_pattern, offcut_booking_id, booked_at, location FROM booking_changes "
                    "WHERE booking_id = ?1 AND taken > 0",
                    path_);
    taken.Bind(1, bookingId);
    while (taken.Next()) {
        Step("taken offcut");
        const long long id = taken.Int(0);
        const long long pieces = taken.Int(1);
        if (Find(id)) {
            Statement(db_, "UPDATE offcuts SET count = count + ?2 WHERE id = ?1", path_)
                .Bind(1, id)
                .Bind(2, pieces)
                .Run();
        } else {
            const NewOffcut offcut{taken.Text(2),
                                   static_cast<int>(taken.Int(3)),
                                   static_cast<int>(pieces),
                                   {taken.Text(4), taken.Text(5), static_cast<int>(taken.Int(6))},
                                   taken.Text(9)};
            // Its own booking, if any, is named again: NULL reads as 0, no booking.
            Insert(offcut, taken.Text(8), taken.Int(7), id);
        }
        undone.PiecesPutBack += pieces;
    }
}

}  // namespace tallora
