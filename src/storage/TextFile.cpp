#include "storage/TextFile.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace tallora {

namespace {

// Converts with iconv; an input sequence it refuses is replaced and passed over.
std::string Convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement, size_t skip) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(input);
    std::string output;
    std::string buffer(4 * input.size() + 16, '\0');
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

std::vector<std::string> SplitTextLines(std::string_view bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        lines.push_back(Utf8FromWindows1252(bytes.substr(start, i - start)));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines.push_back(Utf8FromWindows1252(bytes.substr(start)));
    return lines;
}

std::optional<std::vector<std::string>> ReadTextFile(const std::string& path, std::string& error) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = std::strerror(EISDIR);
        return std::nullopt;
    }
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    if (!file) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    return SplitTextLines(content.str());
}

std::string WriteTextFile(const std::string& path, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += Windows1252FromUtf8(line);
        bytes += "\r\n";
    }
    namespace fs = std::filesystem;
    const fs::path target(path);
    std::random_device random;
    const fs::path temporary = target.parent_path() / ("." + target.filename().string() + ".tmp" +
                                                       std::to_string(random() % 1000000));

    std::FILE* file = std::fopen(temporary.string().c_str(), "wbx");
    if (file == nullptr) return std::strerror(errno);
    bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    int savedErrno = errno;
#if defined(__unix__) || defined(__APPLE__)
    if (written && fsync(fileno(file)) != 0) {
        written = false;
        savedErrno = errno;
    }
#endif
    if (std::fclose(file) != 0 && written) {
        written = false;
        savedErrno = errno;
    }
    std::error_code ec;
    if (!written) {
        fs::remove(temporary, ec);
        return std::strerror(savedErrno);
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        const std::string message = ec.message();
        fs::remove(temporary, ec);
        return message;
    }
    return {};
}

}  // namespace tallora
