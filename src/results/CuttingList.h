#pragma once

#include <string>
#include <vector>

#include "engine/CuttingJob.h"

namespace tallora {

// The cutting list for the saw operator: one block per pattern, the stock bars used and the
// pieces that could not be placed. Reads the offcut classification and the bars used that
// CompileStats left in the job.
std::vector<std::string> MemoDisplay(const CuttingJob& job);

}  // namespace tallora
