#include "storage/SafeFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#define TALLORA_POSIX 1
#else
#include <fstream>
#endif

namespace tallora {

namespace fs = std::filesystem;

namespace {

const char* const ReadOnlyReason = "the file is read-only, so it was left as it was";

#if defined(TALLORA_POSIX)

// Temporary files whose saving process has ended: a save was interrupted there.
void RemoveLeftovers(const fs::path& folder) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        const auto mark = name.rfind(TemporarySaveMark);
        if (name.empty() || name.front() != '.' || mark == std::string::npos) continue;
        const std::string rest = name.substr(mark + TemporarySaveMark.size());
        const auto dash = rest.find('-');
        if (dash == std::string::npos || dash == 0) continue;
        pid_t pid = 0;
        for (char c : rest.substr(0, dash)) {
            if (c < '0' || c > '9') {
                pid = 0;
                break;
            }
            pid = pid * 10 + (c - '0');
        }
        if (pid <= 0 || pid == getpid()) continue;
        if (kill(pid, 0) == -1 && errno == ESRCH) fs::remove(entry.path(), ec);
    }
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

#endif

}  // namespace

std::string LinkTarget(const std::string& path, std::string& error) {
    fs::path target(path);
    // As many links as the system follows itself.
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(target, ec))) return target.string();
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) {
            error = ec.message();
            return {};
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    error = std::strerror(ELOOP);
    return {};
}

namespace {

#if defined(TALLORA_POSIX)

// What stands in the way of replacing `target` (no link) by a new file, or empty; `existing`
// gets the file that is there, if any.
std::string ReplaceProblem(const fs::path& target, std::optional<struct stat>& existing) {
    struct stat found {};
    if (stat(target.c_str(), &found) == 0) existing = found;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::error_code ec;
    if (!existing && !fs::is_directory(folder, ec))
        return "the folder " + folder.string() + " does not exist";
    if (!existing) return {};
    if (S_ISDIR(existing->st_mode)) return "is a folder, not a file";
    if (!S_ISREG(existing->st_mode)) return "not a regular file, so it was left as it was";
    // Root may write anything: the permissions say what the owner meant.
    if ((existing->st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return ReadOnlyReason;
    if (access(target.c_str(), W_OK) != 0) return std::strerror(errno);
    if (existing->st_nlink > 1) {
        return "the file has other names (hard links) that a save would leave with the old "
               "contents, so it was left as it was";
    }
    return {};
}

#endif

}  // namespace

std::string WriteProblem(const std::string& path) {
    std::string error;
    const std::string resolved = LinkTarget(path, error);
    if (resolved.empty()) return error;
    const fs::path target(resolved);
#if defined(TALLORA_POSIX)
    std::optional<struct stat> existing;
    if (std::string problem = ReplaceProblem(target, existing); !problem.empty()) return problem;
    if (existing) return {};
    // A file made and removed again: the folder takes one (it may be read-only, or full).
    const int fd = open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return std::strerror(errno);
    close(fd);
    unlink(target.c_str());
    return {};
#else
    std::error_code ec;
    if (fs::is_directory(target, ec)) return "is a folder, not a file";
    return {};
#endif
}

std::string WriteFileSafely(const std::string& path, std::string_view bytes) {
    std::string linkError;
    const std::string resolved = LinkTarget(path, linkError);
    if (resolved.empty()) return linkError;
    const fs::path target(resolved);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
#if defined(TALLORA_POSIX)
    std::optional<struct stat> existing;
    if (std::string problem = ReplaceProblem(target, existing); !problem.empty()) return problem;
    RemoveLeftovers(folder);

    std::random_device random;
    const fs::path temporary =
        folder / ("." + target.filename().string() + std::string(TemporarySaveMark) +
                  std::to_string(getpid()) + "-" + std::to_string(random() % 1000000000));
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return std::strerror(errno);
    auto fail = [&](int error) {
        close(fd);
        unlink(temporary.c_str());
        return std::string(std::strerror(error));
    };
    if (existing) {
        // Before a byte is written: a private file stays private.
        if (fchmod(fd, existing->st_mode & 07777) != 0) return fail(errno);
        if (fchown(fd, existing->st_uid, existing->st_gid) != 0) {
            // Only root may give a file away; the group may still be one of ours.
            if (fchown(fd, static_cast<uid_t>(-1), existing->st_gid) != 0) {
                // Keep the permissions as they were without the group's.
                fchmod(fd, existing->st_mode & 0700);
            }
        }
    }
    if (!WriteAll(fd, bytes) || fsync(fd) != 0) return fail(errno);
    if (close(fd) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        return std::strerror(error);
    }
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        return std::strerror(error);
    }
    // The new name itself on the disk, where the system allows it.
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return {};
#else
    std::error_code ec;
    if (fs::exists(target, ec) &&
        (fs::status(target, ec).permissions() & fs::perms::owner_write) == fs::perms::none) {
        return ReadOnlyReason;
    }
    std::random_device random;
    const fs::path temporary =
        folder / ("." + target.filename().string() + std::string(TemporarySaveMark) + "0-" +
                  std::to_string(random() % 1000000000));
    {
        std::ofstream out(temporary, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            fs::remove(temporary, ec);
            return "the file could not be written";
        }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return ec.message();
    }
    return {};
#endif
}

}  // namespace tallora
