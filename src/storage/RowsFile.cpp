#include "storage/RowsFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "job/Utf8.h"
#include "storage/TextFile.h"

namespace tallora {

namespace {

std::string CannotRead(const std::string& path, const std::string& reason) {
    return "The file " + path + " could not be read:\r\n" + reason;
}

std::string TooLarge(const std::string& path) {
    return "The file " + path + " is larger than " + std::to_string(MaxRowsFileBytes >> 20) +
           " MB: it is not a list of rows.";
}

}  // namespace

std::optional<std::string> ReadRowsFile(const std::string& path, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec) {
        error = CannotRead(path, ec.message());
        return std::nullopt;
    }
    if (status.type() == fs::file_type::not_found) {
        error = CannotRead(path, std::strerror(ENOENT));
        return std::nullopt;
    }
    if (fs::is_directory(status)) {
        error = CannotRead(path, std::strerror(EISDIR));
        return std::nullopt;
    }
    // A pipe would keep the reader waiting, a device would never end.
    if (!fs::is_regular_file(status)) {
        error = CannotRead(path, "it is not a regular file (a pipe or a device)");
        return std::nullopt;
    }
    std::ifstream file(fs::path(path), std::ios::binary);
    if (!file) {
        error = CannotRead(path, std::strerror(errno));
        return std::nullopt;
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > MaxRowsFileBytes) {
        error = TooLarge(path);
        return std::nullopt;
    }
    // One byte more than allowed tells a file that grew meanwhile.
    std::string bytes(std::min<std::uintmax_t>(ec ? MaxRowsFileBytes : size, MaxRowsFileBytes) + 1,
                      '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file.bad()) {
        error = CannotRead(path, std::strerror(errno));
        return std::nullopt;
    }
    bytes.resize(static_cast<size_t>(file.gcount()));
    if (bytes.size() > MaxRowsFileBytes) {
        error = TooLarge(path);
        return std::nullopt;
    }
    if (ValidUtf8(bytes) == bytes) return bytes;
    return Utf8FromWindows1252(bytes);
}

}  // namespace tallora
