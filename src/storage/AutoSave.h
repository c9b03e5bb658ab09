#pragma once

#include "engine/CuttingJob.h"
#include "storage/Dialogs.h"
#include "storage/RegistryStore.h"

namespace tallora {

// Copies the job's inputs into the AutoSave key before a calculation, so that they survive an
// abnormal end. Does nothing when the main settings key does not exist.
void AutoSave(RegistryStore& store, const CuttingJob& job);

// After an abnormal end: offers to bring back the inputs of the last calculation and appends
// them to the job. True when they were recovered (Calculate is then available).
bool AutoRecover(RegistryStore& store, CuttingJob& job, Dialogs& dialogs);

// The question asked at start.
inline const char* const RecoverQuestion =
    "Tallora failed to exit normally when last run.  Would you like to autorecover the last data "
    "entered?";

// The name of a charge as stored: empty when it is the default.
std::string StoredChargeName(const std::string& name, const char* defaultName);
// A stored name replaces the current one unless it is empty.
void ApplyStoredChargeName(std::string& name, const std::string& stored);

}  // namespace tallora
