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
// The same file's bytes as they are: no bytes where ReadTextFile gives no lines.
std::optional<std::string> ReadTextBytes(const std::string& path, std::string& error);

// The lines of file bytes, converted to UTF-8.
std::vector<std::string> SplitTextLines(std::string_view bytes);

// The lines of file bytes one at a time, as SplitTextLines gives them: a large file's lines are
// never all held at once. The bytes are the caller's and must outlive it.
class TextLines {
public:
    explicit TextLines(std::string_view bytes) : bytes_(bytes) {}
    bool More() const { return at_ < bytes_.size(); }
    // The next line converted to UTF-8; empty past the end.
    std::string Next();

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

}  // namespace tallora
