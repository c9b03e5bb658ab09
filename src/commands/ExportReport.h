#pragma once

#include <filesystem>

#include "job/CuttingJob.h"
#include "report/PrintEngine.h"
#include "results/Statistics.h"

namespace tallora {

// The PDF report as the desktop prints it, saved to a file the user chose (Export PDF,
// tallora-cli --pdf) and never removed by the program. The engine's document is closed at the
// end, whatever happened. False when the file could not be written; a file that was there is
// then left as it was.
bool ExportReport(PrintEngine& engine, const CuttingJob& job, const StatisticsTexts& panel,
                  const std::filesystem::path& file);

}  // namespace tallora
