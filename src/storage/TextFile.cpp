#include "storage/TextFile.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "storage/SafeFile.h"

namespace tallora {

namespace {

// Converts with iconv; an input sequence it refuses is replaced and passed over.
std::string Convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement, size_t skip) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(input);
    std::string output;
    // A piece at a time: iconv says when the buffer is full, and the loop goes on.
    std::string buffer(std::min<size_t>(4 * input.size() + 16, 1u << 16), '\0');
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    while (inLeft > 0) {
        char* out = buffer.data();
        size_t outLeft = buffer.size();
        const size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer.data(), out);
        if (result == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ or an incomplete sequence at the end.
            output += replacement;
            const size_t n = std::min(skip, inLeft);
            in += n;
            inLeft -= n;
        }
    }
    iconv_close(cd);
    return output;
}

}  // namespace

std::string Utf8FromWindows1252(std::string_view bytes) {
    return Convert("UTF-8", "WINDOWS-1252", bytes, "\xEF\xBF\xBD", 1);
}

std::string Windows1252FromUtf8(std::string_view text) {
    return Convert("WINDOWS-1252//TRANSLIT", "UTF-8", text, "?", 1);
}

std::string TextLines::Next() {
    if (at_ >= bytes_.size()) return {};
    const size_t end = std::min(bytes_.find_first_of("\r\n", at_), bytes_.size());
    const std::string_view line = bytes_.substr(at_, end - at_);
    at_ = end;
    if (at_ < bytes_.size()) {
        at_ += bytes_.compare(at_, 2, "\r\n") == 0 ? 2 : 1;
    }
    // Most lines are plain ASCII, the same in both encodings.
    const bool ascii = std::all_of(line.begin(), line.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? std::string(line) : Utf8FromWindows1252(line);
}

std::vector<std::string> SplitTextLines(std::string_view bytes) {
    std::vector<std::string> lines;
    for (TextLines text(bytes); text.More();) lines.push_back(text.Next());
    return lines;
}

std::optional<std::vector<std::string>> ReadTextFile(const std::string& path, std::string& error) {
    auto bytes = ReadTextBytes(path, error);
    if (!bytes) return std::nullopt;
    return SplitTextLines(*bytes);
}

std::optional<std::string> ReadTextBytes(const std::string& path, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec) {
        error = ec.message();
        return std::nullopt;
    }
    if (fs::is_directory(status)) {
        error = std::strerror(EISDIR);
        return std::nullopt;
    }
    // A pipe would keep the reader waiting, a device would never end.
    if (!fs::is_regular_file(status)) {
        error = "not a regular file (a pipe or a device)";
        return std::nullopt;
    }
    std::ifstream file(fs::path(path), std::ios::binary);
    if (!file) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > MaxJobFileBytes) return std::string();
    // One byte more than the size tells whether the file grew meanwhile.
    std::string bytes(std::min<std::uintmax_t>(ec ? MaxJobFileBytes : size, MaxJobFileBytes) + 1,
                      '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file.bad()) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    bytes.resize(static_cast<size_t>(file.gcount()));
    if (bytes.size() > MaxJobFileBytes) return std::string();
    size_t line = 0;
    for (const char c : bytes) {
        line = c == '\r' || c == '\n' ? 0 : line + 1;
        if (line > MaxJobFileLineBytes) return std::string();
    }
    return bytes;
}

std::string WriteTextFile(const std::string& path, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += Windows1252FromUtf8(line);
        bytes += "\r\n";
    }
    return WriteFileSafely(path, bytes);
}

}  // namespace tallora
