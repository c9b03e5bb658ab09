// Feeds arbitrary bytes to the reader of earlier-format job files.
#include <cstddef>
#include <cstdint>

#include "storage/OldVersion.h"
#include "storage/TextFile.h"
#include "support/TestJob.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallora;
    auto lines = SplitTextLines({reinterpret_cast<const char*>(data), size});
    lines.insert(lines.begin(), OldJobFileMagic);
    TestJob job;
    ReadOldVersion(lines, job.Input, job.Result);
    return 0;
}
