#pragma once

#include <string>
#include <string_view>

namespace tallora {

// Writes a whole file so that a failure never damages the file that was there: the bytes go to
// a temporary file beside it, every write and the flush to the disk are checked, and only then
// is it renamed over the target. The file replaced keeps its permissions (and its owner where
// the system lets us); a read-only file, or one we may not write, is refused and left alone; a
// symbolic link is written through, to the file it names. Temporary files that an interrupted
// save left in the folder are removed. Returns the reason of a failure, empty on success.
std::string WriteFileSafely(const std::string& path, std::string_view bytes);

// The mark of the temporary files of WriteFileSafely: ".<name>.tallora-save-<pid>-<n>".
inline constexpr std::string_view TemporarySaveMark = ".tallora-save-";

}  // namespace tallora
