// Feeds arbitrary bytes to the job file reader, then uses what it read as the program would.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "costing/CostingSheet.h"
#include "results/CuttingList.h"
#include "storage/JobFile.h"
#include "storage/TextFile.h"
#include "support/TestJob.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallora;
    const auto lines = SplitTextLines({reinterpret_cast<const char*>(data), size});
    TestJob job;
    const JobFileRead read = ReadJobLines(lines, job.Input, job.Result);
    if (read.Status != ReadStatus::Loaded) return 0;
    MakeCuttingList(job.Input, job.Result);
    FormatStatistics(read.Stats, NumberFormat::UK());
    MakeCostingSheet(job.Input, job.Result, read.Stats, MaterialPrice::OfJob(job.Input.Section),
                     job.Input.Costing, NumberFormat::UK());
    JobFileLines(job.Input, job.Result, read.Stats);
    return 0;
}
