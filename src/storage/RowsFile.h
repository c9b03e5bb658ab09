#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tallora {

// A list of rows is a few thousand lines at most: a larger file is surely not one.
inline constexpr std::size_t MaxRowsFileBytes = 10u << 20;

// The text of a file of rows (CSV, tab-separated or plain text), as UTF-8: a file that is not
// valid UTF-8 is read as Windows-1252, as a spreadsheet there saves it. On failure nothing,
// and `error` holds the whole message for the user: the file too large, or the system's reason
// it could not be read.
std::optional<std::string> ReadRowsFile(const std::string& path, std::string& error);

}  // namespace tallora
