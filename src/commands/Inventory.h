#pragma once

#include <map>

#include <string>

#include "inventory/OffcutStore.h"
#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "storage/RegistryStore.h"
#include "storage/Settings.h"

namespace tallora {

// The offcut inventory's file in the data folder, shared by the desktop and tallora-cli.
inline constexpr const char* InventoryFileName = "Offcut Inventory.sqlite";

// Where the inventory is: InventoryFileName in DataDir, or in the default data folder.
std::string InventoryPath(RegistryStore& store, ShellServices& shell);

// Opens the inventory at `path`, making its folder first when it is missing. Throws
// InventoryError as OffcutStore::Open does, or when the folder cannot be made.
OffcutStore OpenInventory(const std::string& path, ShellServices& shell);
// The same with the inventory of the data folder (InventoryPath).
OffcutStore OpenInventory(RegistryStore& store, ShellServices& shell);

// "12.345 m": millimetres as metres, three decimals.
std::string InventoryMetres(long long millimetres);

// The inventory's offcuts are whole millimetres; an imperial job neither takes nor books them.
inline const char* const ImperialInventoryMessage =
    "The offcut inventory keeps its offcuts in millimetres: an imperial job can neither use "
    "nor book them.";

struct InventoryCommandResult {
    bool Changed = false;  // the job's stock list, or the inventory, changed
    std::string Message;   // what to tell the user
};

// Use Offcuts from Inventory: adds the inventory's offcuts of the job's section to its stock list
// as marked, limited rows, and says what was added and what was left out.
InventoryCommandResult UseOffcutsFromInventory(JobInput& input, const OffcutStore& store);

// Book Offcuts to Inventory: books the calculated job's returned offcuts and the inventory
// offcuts it cut, and says what changed. Throws InventoryError, the inventory unchanged, when it
// cannot (no results, booked before, an offcut gone).
InventoryCommandResult BookOffcutsToInventory(OffcutStore& store, const JobInput& input,
                                              const CalculationResult& result,
                                              const std::string& jobFile);

// Takes out of the job's stock list the inventory offcuts that are no longer in the inventory
// (cut by a booking of this job or of another): a row keeps the offcuts still there, as many
// pieces as they have, and goes when none are left. Changed is true when a row changed; the
// message says what was taken out.
InventoryCommandResult DropOffcutsGoneFromInventory(JobInput& input, const OffcutStore& store);

// The inventory ids of the offcuts a booked calculation returned, by pattern (from 0), as long as
// they are in the inventory; none when it was not booked.
std::map<int, long long> BookedOffcutIds(const OffcutStore& store, const JobInput& input,
                                         const CalculationResult& result);

// A plan can be booked only when it was calculated from the lists, the section and the saw
// allowances now entered: anything else in the plan may cut what is no longer there.
bool PlanStillMatches(const JobInput& calculatedFrom, const JobInput& now);

}  // namespace tallora
