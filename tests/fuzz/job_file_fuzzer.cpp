// Feeds arbitrary bytes to the job file reader, then uses what it read as the program would.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "costing/CostingSheet.h"
#include "results/CuttingList.h"
#include "storage/JobFile.h"
#include "storage/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallora;
    const auto lines = SplitTextLines({reinterpret_cast<const char*>(data), size});
    CuttingJob job;
    const JobFileRead read = ReadJobLines(lines, job);
    if (read.Status != ReadStatus::Loaded) return 0;
    MemoDisplay(job);
    DisplayStats(read.Stats, NumberFormat::UK());
    CalcGrid(job, read.Stats, MaterialPrice::OfJob(job.section), job.costing, NumberFormat::UK());
    JobFileLines(job, read.Stats);
    return 0;
}
