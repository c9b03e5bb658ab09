#pragma once

#include <string>
#include <vector>

#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "job/Units.h"

namespace tallora {

// The cutting list for the saw operator: one block per pattern, the stock bars used and the
// pieces that could not be placed. Reads the offcut classification and the bars used that
// ApplyAllowances left in the result.
std::vector<std::string> MakeCuttingList(const JobInput& input, const CalculationResult& result);

// The phrases of the cutting list without indentation; the PDF report styles the same words.
// Lengths are written in the job's units (FormatLength).
// "Cutting Pattern Number 3:"
std::string PatternNumberPhrase(int patternNumber);
// "From 2 at 5975mm, cut the following:" (the bar with its trim, without the hold)
std::string PatternSourcePhrase(const CuttingPattern& pattern, const Allowances& allowances,
                                const JobUnits& units = {});
// "3 cuts at 1500mm long, producing 6 pieces" for cut length k of the pattern.
std::string CutPhrase(const CuttingPattern& pattern, int k, const Allowances& allowances,
                      const JobUnits& units = {});
// "* Return 2 at 463mm offcuts to stock *"
std::string OffcutReturnPhrase(const CuttingPattern& pattern, const JobUnits& units = {});
// "2 bars at 6000mm"
std::string StockBarsPhrase(int barsUsed, int barLength, const JobUnits& units = {});
// "* Cut from inventory offcuts *", under the "From" line of a pattern whose bars do.
std::string InventoryOffcutsPhrase();

// Whether pattern p's bars come from inventory offcuts: its stock row is the first input stock
// row of its length, as the statistics count it.
bool PatternFromInventoryOffcuts(const CalculationResult& result, int p);

}  // namespace tallora
