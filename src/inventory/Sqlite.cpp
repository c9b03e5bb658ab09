#include "inventory/Sqlite.h"

namespace tallora::sql {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

[[noreturn]] void Fail(sqlite3* db, int rc, const std::string& path) {
    const std::string what = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    const int primary = rc & 0xff;
    if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT) {
        throw InventoryError(InventoryErrorKind::Damaged, "The offcut inventory " + Quoted(path) +
                                                              " is damaged: " + what +
                                                              ". It has been left as it is.");
    }
    throw InventoryError(InventoryErrorKind::Failed,
                         "The offcut inventory " + Quoted(path) + " could not be used: " + what);
}

void Exec(sqlite3* db, const char* sql, const std::string& path) {
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) Fail(db, rc, path);
}

[[noreturn]] void Refuse(InventoryErrorKind kind, const std::string& message) {
    throw InventoryError(kind, message);
}

}  // namespace tallora::sql
