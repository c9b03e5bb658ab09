#pragma once

#include "job/JobInput.h"
#include "storage/RegistryStore.h"

namespace tallora {

// Copies the job's inputs into the AutoSave key before a calculation, so that they survive an
// abnormal end. Does nothing when the main settings key does not exist.
void AutoSave(RegistryStore& store, const JobInput& input);

// The inputs of a calculation are kept: the program did not end normally after it.
bool HasAutoSavedInputs(const RegistryStore& store);
// Appends the kept inputs to the job: its rows, allowances, section data and charges.
void RecoverInputs(const RegistryStore& store, JobInput& input);

// The name of a charge as stored: empty when it is the default.
std::string StoredChargeName(const std::string& name, const char* defaultName);
// A stored name replaces the current one unless it is empty.
void ApplyStoredChargeName(std::string& name, const std::string& stored);

}  // namespace tallora
