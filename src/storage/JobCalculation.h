#pragma once

#include "engine/Calculation.h"
#include "results/NumberFormat.h"
#include "storage/RegistryStore.h"

namespace tallora {

// What Calculate needs besides the job: the settings store for the autosave, the window
// system's host, the Algorithm menu's state and the number format of the fields.
struct CalculationServices {
    RegistryStore& Store;
    CalculationHost& Host;
    Algorithm& Chosen;
    NumberFormat Format;
};

// The whole Calculate command: autosaves the inputs, takes the weight and cost as their fields
// show them after the rewrite to 3 and 2 decimals, and runs the calculation.
CalculationOutcome CalculateJob(CuttingJob& job, CalculationServices& services);

}  // namespace tallora
