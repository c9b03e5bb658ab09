#pragma once

#include <string>
#include <string_view>

namespace tallora {

// Writes a whole file so that a failure never damages the file that was there: the bytes go to
// a temporary file beside it, every write and the flush to the disk are checked, and only then
// is it renamed over the target. The file replaced keeps its permissions (and its owner where
// the system lets us); a read-only file, one we may not write, one that is no plain file, or one
// with other names (hard links, which the rename would leave with the old bytes) is refused and
// left alone. A symbolic link is written through, to the file it names, whether that file
// exists yet or not. Temporary files that an interrupted save left in the folder are removed.
// Returns the reason of a failure, empty on success.
std::string WriteFileSafely(const std::string& path, std::string_view bytes);

// Why WriteFileSafely would refuse the path before a byte is written, or empty: its folder is
// missing, it is a folder, it is read-only, ... The check leaves nothing behind: a file it had to
// make to see that the folder takes one is removed again, the file a symbolic link names too.
std::string WriteProblem(const std::string& path);

// The file a path names through any symbolic links, whether it exists or not; the path itself
// when it is no link. Empty, with the reason, for a loop of links.
std::string LinkTarget(const std::string& path, std::string& error);

// The mark of the temporary files of WriteFileSafely: ".<name>.tallora-save-<pid>-<n>".
inline constexpr std::string_view TemporarySaveMark = ".tallora-save-";

}  // namespace tallora
