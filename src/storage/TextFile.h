#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallora {

// Job files are Windows-1252 text; the program holds UTF-8. Bytes that Windows-1252 leaves
// undefined read as U+FFFD; characters it cannot hold are written as "?".
std::string Utf8FromWindows1252(std::string_view bytes);
std::string Windows1252FromUtf8(std::string_view text);

// Writes the lines, each ending in CR LF, with WriteFileSafely: a failed save leaves the old
// file as it was. Returns the reason of a failure, or an empty text on success.
std::string WriteTextFile(const std::string& path, const std::vector<std::string>& lines);

// Far more than any job: a file larger, or with a longer line, is not a job file.
inline constexpr std::size_t MaxJobFileBytes = 64u << 20;
inline constexpr std::size_t MaxJobFileLineBytes = 1u << 20;

// The lines of a text file (CR LF, LF or CR ends), converted to UTF-8. A file too large to be a
// job, or with a line too long for one, reads as no lines at all. On failure (a pipe or a device
// included, which are not read), nothing and the system's error text.
std::optional<std::vector<std::string>> ReadTextFile(const std::string& path, std::string& error);

// The lines of file bytes, converted to UTF-8.
std::vector<std::string> SplitTextLines(std::string_view bytes);

}  // namespace tallora
