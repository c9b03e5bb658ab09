#pragma once

#include <string>
#include <vector>

#include "inventory/OffcutStore.h"
#include "job/CalculationResult.h"
#include "job/JobInput.h"

namespace tallora {

// An offcut a calculated job returns to stock, as its cutting list prints it.
struct ReturnedOffcut {
    int Pattern = 0;  // from 1
    int Length = 0;   // mm
    int Count = 0;    // the pattern's bars
    bool operator==(const ReturnedOffcut&) const = default;
};

// The "Return N at Lmm offcut(s) to stock" lines of the cutting list: the patterns the
// statistics marked as leaving an offcut, none when all waste is scrapped.
std::vector<ReturnedOffcut> ReturnedOffcuts(const JobInput& input, const CalculationResult& result);

// Names one calculation: a digest of the job's section data, the inputs the calculation kept
// and its patterns. The same calculation has the same identity wherever it is saved, however
// the lists or allowances were edited after it, so it cannot be booked twice.
std::string CalculationIdentity(const JobInput& input, const CalculationResult& result);

// Books a calculated job into the inventory in one transaction: the offcuts it returns (of the
// job's section, from `jobFile`) are added and the inventory offcuts it used are taken away.
// Throws InventoryError when the job has no results, was booked before, or used more of an
// offcut than is left; the inventory is then as it was. Returns the booking's id.
long long BookJob(OffcutStore& store, const JobInput& input, const CalculationResult& result,
                  const std::string& jobFile, const std::vector<UsedOffcut>& used,
                  const std::string& location = {});

// BookJob with the inventory offcuts the job's marked stock rows gave (UsedInventoryOffcuts).
long long BookCalculatedJob(OffcutStore& store, const JobInput& input,
                            const CalculationResult& result, const std::string& jobFile,
                            const std::string& location = {});

}  // namespace tallora
