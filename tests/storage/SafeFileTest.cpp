// Files are written whole or not at all, keep what the user set on them, and reading stops at
// what cannot be a job.
#include "storage/SafeFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "storage/TextFile.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

mode_t Mode(const std::string& path) {
    struct stat s {};
    stat(path.c_str(), &s);
    return s.st_mode & 07777;
}

// Writes fail past `bytes` for this process, as on a disk that is full.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, SIG_IGN);  // the write fails instead of ending the process
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

TEST(SafeFile, AFailedWriteKeepsTheOldFileAndLeavesNothingBehind) {
    TempFolder temp;
    const std::string path = temp.File("job.tlf");
    WriteBytes(path, "old");
    {
        FileSizeLimit full(1000);
        EXPECT_EQ(WriteFileSafely(path, std::string(5000, 'x')), std::strerror(EFBIG));
    }
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(Names(temp.Path()), std::vector<std::string>{"job.tlf"});
    EXPECT_EQ(WriteFileSafely(path, "new"), "");
    EXPECT_EQ(ReadBytes(path), "new");
}

TEST(SafeFile, AFullDiskIsReportedWhereTheSystemLetsUsMountOne) {
    TempFolder temp;
    const std::string disk = temp.File("disk");
    fs::create_directory(disk);
    if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "no tmpfs can be mounted here; the size limit above stands in for it";
    }
    // Unmounted however the test ends, even with a file left open on it, so that its folder
    // can go.
    const std::unique_ptr<const std::string, void (*)(const std::string*)> mounted(
        &disk, [](const std::string* at) { umount2(at->c_str(), MNT_DETACH); });
    const std::string path = disk + "/diagram.png";
    WriteBytes(path, "old picture");
    EXPECT_EQ(WriteFileSafely(path, std::string(200000, 'p')), std::strerror(ENOSPC));
    EXPECT_EQ(ReadBytes(path), "old picture");
    EXPECT_EQ(Names(disk), std::vector<std::string>{"diagram.png"});
}

TEST(SafeFile, TheFileReplacedKeepsItsPermissionsAndReadOnlyFilesAreLeftAlone) {
    TempFolder temp;
    const std::string path = temp.File("private.tlf");
    WriteBytes(path, "old");
    chmod(path.c_str(), 0600);
    EXPECT_EQ(WriteFileSafely(path, "new"), "");
    EXPECT_EQ(Mode(path), 0600u);

    chmod(path.c_str(), 0444);
    EXPECT_EQ(WriteFileSafely(path, "newer"), "the file is read-only, so it was left as it was");
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(Mode(path), 0444u);

    // A link is written through: it stays a link, and the file it names gets the bytes.
    const std::string real = temp.File("real.tlf");
    WriteBytes(real, "old");
    const std::string link = temp.File("link.tlf");
    fs::create_symlink(real, link);
    EXPECT_EQ(WriteFileSafely(link, "through"), "");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), "through");

    // So is a link to a file not made yet, relative to the link's own folder.
    fs::create_directory(temp.File("sub"));
    const std::string dangling = temp.File("sub/dangling.tlf");
    fs::create_symlink("../made.tlf", dangling);
    EXPECT_EQ(WriteProblem(dangling), "");
    EXPECT_FALSE(fs::exists(temp.File("made.tlf")));  // the check leaves nothing behind
    EXPECT_EQ(WriteFileSafely(dangling, "made"), "");
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_EQ(ReadBytes(temp.File("made.tlf")), "made");

    // A file with a second name is left alone: the rename would part the two names.
    const std::string second = temp.File("second.tlf");
    fs::create_hard_link(real, second);
    EXPECT_NE(WriteProblem(real).find("hard links"), std::string::npos);
    EXPECT_NE(WriteFileSafely(real, "parted"), "");
    EXPECT_EQ(ReadBytes(second), "through");
    EXPECT_EQ(fs::hard_link_count(real), 2u);
}

TEST(SafeFile, WhatAnInterruptedSaveLeftIsRemovedByTheNextOne) {
    TempFolder temp;
    const std::string path = temp.File("job.tlf");
    // A process that has ended (pid numbers are below 2^22), and one that runs (this one's
    // parent, which owns its own file).
    const std::string dead = ".job.tlf.tallora-save-4194303-1";
    const std::string living = ".job.tlf.tallora-save-" + std::to_string(getppid()) + "-1";
    WriteBytes(temp.File(dead), "half");
    WriteBytes(temp.File(living), "busy");
    WriteBytes(temp.File(".notes.txt"), "mine");
    EXPECT_EQ(WriteFileSafely(path, "saved"), "");
    EXPECT_EQ(Names(temp.Path()), (std::vector<std::string>{living, ".notes.txt", "job.tlf"}));
}

TEST(TextFile, WhatCannotBeAJobIsNotReadWhole) {
    TempFolder temp;
    std::string error;
    // A pipe would keep the reader waiting for ever; a device would never end.
    const std::string pipe = temp.File("pipe.tlf");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(ReadTextFile(pipe, error).has_value());
    EXPECT_EQ(error, "not a regular file (a pipe or a device)");
    EXPECT_FALSE(ReadTextFile("/dev/zero", error).has_value());

    // Too large, or a line too long: no lines, so no job.
    const std::string large = temp.File("large.tlf");
    std::ofstream(large).close();
    fs::resize_file(large, MaxJobFileBytes + 1);
    EXPECT_EQ(ReadTextFile(large, error), std::vector<std::string>{});
    WriteBytes(large, "TA DataFile\r\n" + std::string(MaxJobFileLineBytes + 1, '1') + "\r\n");
    EXPECT_EQ(ReadTextFile(large, error), std::vector<std::string>{});
    WriteBytes(large, "TA DataFile\r\n" + std::string(MaxJobFileLineBytes, '1') + "\r\n");
    EXPECT_EQ(ReadTextFile(large, error)->size(), 2u);
}

}  // namespace
}  // namespace tallora
