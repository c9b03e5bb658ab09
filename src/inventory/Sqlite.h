#pragma once

// The offcut store's access to SQLite: statements and transactions that throw InventoryError.

#include <sqlite3.h>

#include <string>

#include "inventory/OffcutStore.h"

namespace tallora::sql {

std::string Quoted(const std::string& path);
// Throws the InventoryError of an SQLite result code: Damaged for a file that is not a
// database or is corrupt, Failed otherwise.
[[noreturn]] void Fail(sqlite3* db, int rc, const std::string& path);
void Exec(sqlite3* db, const char* sql, const std::string& path);
[[noreturn]] void Refuse(InventoryErrorKind kind, const std::string& message);

class Statement {
public:
    Statement(sqlite3* db, const char* sql, const std::string& path) : db_(db), path_(path) {
        const int rc = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
        if (rc != SQLITE_OK) Fail(db, rc, path);
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int index, long long value) {
        Check(sqlite3_bind_int64(stmt_, index, value));
        return *this;
    }
    Statement& Bind(int index, const std::string& text) {
        Check(sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                                SQLITE_TRANSIENT));
        return *this;
    }
    // An empty text is stored as NULL.
    Statement& BindOptional(int index, const std::string& text) {
        if (text.empty()) {
            Check(sqlite3_bind_null(stmt_, index));
            return *this;
        }
        return Bind(index, text);
    }
    // True while there is a row to read.
    bool Next() {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        Fail(db_, rc, path_);
    }
    void Run() {
        while (Next()) {}
    }
    long long Int(int column) const { return sqlite3_column_int64(stmt_, column); }
    std::string Text(int column) const {
        const auto* text = sqlite3_column_text(stmt_, column);
        if (text == nullptr) return {};
        return {reinterpret_cast<const char*>(text),
                static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))};
    }

private:
    void Check(int rc) const {
        if (rc != SQLITE_OK) Fail(db_, rc, path_);
    }
    sqlite3* db_;
    const std::string& path_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Takes the write lock at BEGIN, so a change never fails halfway for want of it; whatever is
// not committed is rolled back.
class Transaction {
public:
    // A change takes the write lock at once; a reading only sees one state of the file.
    enum Kind { Change, Reading };
    Transaction(sqlite3* db, const std::string& path, Kind kind = Change) : db_(db), path_(path) {
        Exec(db, kind == Change ? "BEGIN IMMEDIATE" : "BEGIN", path);
    }
    ~Transaction() {
        if (!done_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit() {
        Exec(db_, "COMMIT", path_);
        done_ = true;
    }

private:
    sqlite3* db_;
    const std::string& path_;
    bool done_ = false;
};

}  // namespace tallora::sql
