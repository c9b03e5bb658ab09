#pragma once

#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "report/PrintEngine.h"
#include "report/ReportLanguage.h"
#include "results/SawSheet.h"

namespace tallora {

// The most pages a saw sheet has; the CSV holds every bar.
inline constexpr int MaxSawSheetPages = 500;

// Lays the saw sheet out on a freshly opened document, A4 portrait: the job, the saw cuts and
// the length sawn, then each bar in cutting order with a box to tick, its cuts with the length
// left after each, and the offcut to keep or the scrap.
// Its words in `language`.
void LayOutSawSheet(PrintEngine& engine, const JobInput& input, const CalculationResult& result,
                    const SawSheet& sheet, const ReportLanguage& language = {});

}  // namespace tallora
