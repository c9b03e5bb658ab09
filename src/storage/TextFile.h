#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallora {

// Job files are Windows-1252 text; the program holds UTF-8. Bytes that Windows-1252 leaves
// undefined read as U+FFFD; characters it cannot hold are written as "?".
std::string Utf8FromWindows1252(std::string_view bytes);
std::string Windows1252FromUtf8(std::string_view text);

// Writes the lines, each ending in CR LF, to a temporary file beside the target and renames it
// over the target, so that a failed save leaves the old file as it was. Returns the system's
// error text, or an empty text on success.
std::string WriteTextFile(const std::string& path, const std::vector<std::string>& lines);

// The lines of a text file (CR LF, LF or CR ends), converted to UTF-8. On failure, nothing and
// the system's error text.
std::optional<std::vector<std::string>> ReadTextFile(const std::string& path, std::string& error);

// The lines of file bytes, converted to UTF-8.
std::vector<std::string> SplitTextLines(std::string_view bytes);

}  // namespace tallora
