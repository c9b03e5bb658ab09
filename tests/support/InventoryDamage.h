#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "inventory/OffcutStore.h"
#include "support/StorageTestSupport.h"

// Offcut inventories damaged as a disk, a crash or a hand would damage them.
namespace tallora::testing {

// The kind of the inventory error the call throws; a failure when it throws none.
template <typename Call>
InventoryErrorKind ErrorOf(Call&& call) {
    try {
        call();
    } catch (const InventoryError& error) {
        return error.Kind();
    }
    ADD_FAILURE() << "no inventory error";
    return InventoryErrorKind::Failed;
}

inline void ExecSql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    EXPECT_EQ(rc, SQLITE_OK) << (error != nullptr ? error : "") << " in " << sql;
    sqlite3_free(error);
    // The last connection closed writes the log back into the file.
    sqlite3_close(db);
}

// Offcut i's number in its texts: six digits, so that no number is part of another.
inline std::string Numbered(int i) {
    std::string n = std::to_string(i);
    return std::string(6 - std::min<size_t>(6, n.size()), '0') + n;
}

// An inventory of `count` offcuts of 1000 mm and more, offcut i of section "MARK-<i>" at location
// "LOC-<i>": enough rows for many pages of the table and of each index.
inline void FillInventory(const std::string& path, int count) {
    OffcutStore::Open(path);
    std::string sql = "BEGIN;";
    for (int i = 0; i < count; ++i) {
        const std::string n = Numbered(i);
        sql +=
            "INSERT INTO offcuts (section, section_key, length_mm, count, booked_at, location) "
            "VALUES ('MARK-" +
            n + "', 'mark-" + n + "', " + std::to_string(1000 + i % 5000) +
            ", 1, '2024-01-01T00:00:00Z', 'LOC-" + n + "');";
    }
    ExecSql(path, sql + "COMMIT;");
}

inline size_t PageSize(const std::string& bytes) {
    const size_t size =
        (static_cast<unsigned char>(bytes[16]) << 8) | static_cast<unsigned char>(bytes[17]);
    return size == 1 ? 65536 : size;
}

// The page (from 0) of the file holding the marker, the first one other than `besides`.
inline size_t PageHolding(const std::string& bytes, const std::string& marker,
                          size_t besides = SIZE_MAX) {
    const size_t pageSize = PageSize(bytes);
    for (size_t at = bytes.find(marker); at != std::string::npos; at = bytes.find(marker, at + 1)) {
        if (at / pageSize != besides) return at / pageSize;
    }
    ADD_FAILURE() << marker << " is on no page";
    return 0;
}

// Makes a page's b-tree header nonsense: the page is unreadable, the pages around it are not.
inline void DamagePage(const std::string& path, size_t page) {
    std::string bytes = ReadBytes(path);
    const size_t start = page * PageSize(bytes) + (page == 0 ? 100 : 0);
    for (size_t k = 0; k < 8; ++k) bytes[start + k] = static_cast<char>(k == 0 ? 0x42 : 0xFF);
    WriteBytes(path, bytes);
}

// A page of the offcuts table in the middle of it, and a page of an index.
// The section as typed is in the table's row alone (its index holds the key in lower case).
inline void DamageTablePage(const std::string& path, int count) {
    DamagePage(path, PageHolding(ReadBytes(path), "MARK-" + Numbered(count / 2)));
}

// The location is in the table's row and in its index: the page that is not the row's is the
// index's.
inline void DamageIndexPage(const std::string& path, int count) {
    const std::string bytes = ReadBytes(path);
    const std::string n = Numbered(count / 2);
    DamagePage(path, PageHolding(bytes, "LOC-" + n, PageHolding(bytes, "MARK-" + n)));
}

}  // namespace tallora::testing
