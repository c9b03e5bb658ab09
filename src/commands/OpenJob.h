#pragma once

#include <string>
#include <vector>

#include "commands/Ports.h"
#include "job/CuttingJob.h"
#include "results/Statistics.h"
#include "storage/JobFile.h"
#include "storage/OldVersion.h"
#include "storage/RegistryStore.h"

namespace tallora {

// DoOpen, for a job the caller has emptied: reads the lines of a job file into it and shows the
// settings-changed, not-a-datafile and corrupted-data messages. An earlier-format file is read
// by ConvertOldVersion instead (status OldVersion, nothing read).
JobFileRead DoOpen(const std::vector<std::string>& lines, CuttingJob& job, Dialogs& dialogs);

// ConvertOldVersion, first half: tells the user, then reads the earlier-format file into the
// emptied job, with the not-a-datafile or corrupted-data message where it stops. When it was
// read, the caller calculates it (Calculate) and hands it to SaveConvertedVersion.
OldReadStatus ConvertOldVersion(const std::vector<std::string>& lines, CuttingJob& job,
                                Dialogs& dialogs);

// The second half: writes the recalculated job, whatever the calculation's outcome, in the
// current format under the file's own name and tells the user. Returns the system's error
// text, empty on success.
std::string SaveConvertedVersion(const std::string& path, const CuttingJob& job,
                                 const Statistics& stats, Dialogs& dialogs);

// The question asked at start when the last run did not end normally.
inline const char* const RecoverQuestion =
    "Tallora failed to exit normally when last run.  Would you like to autorecover the last data "
    "entered?";

// After an abnormal end: offers to bring back the inputs of the last calculation and appends
// them to the job. True when they were recovered (Calculate is then available).
bool AutoRecover(const RegistryStore& store, CuttingJob& job, Dialogs& dialogs);

}  // namespace tallora
