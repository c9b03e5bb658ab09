#pragma once

#include <optional>
#include <string>
#include <vector>

#include "commands/Dialogs.h"
#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "results/Statistics.h"
#include "storage/JobFile.h"
#include "storage/OldVersion.h"
#include "storage/RegistryStore.h"

namespace tallora {

// A job file read whatever its format.
struct OpenedJob {
    JobFileRead Read;  // of the current format; Status OldVersion for an earlier-format file
    // An earlier-format file: how far its rows and section data were read. When Read, the job
    // is to be calculated and saved again in the current format (SaveConvertedVersion).
    std::optional<OldReadStatus> Earlier;

    bool EarlierFormatRead() const { return Earlier == OldReadStatus::Read; }
    // Why the job was not read whole, as the user is told: NotADataFileMessage or
    // CorruptedDataMessage; empty when it was.
    std::string Problem() const;
};

// Reads the lines of a job file into the emptied input and result: a job file as it is, an
// earlier-format file's rows and section data without results.
OpenedJob ReadJobFile(const std::vector<std::string>& lines, JobInput& input,
                      CalculationResult& result);

// The same, telling the user as the desktop does: that the settings changed to the file's,
// that an earlier-format file will be converted, and why a file could not be read.
OpenedJob OpenJob(const std::vector<std::string>& lines, JobInput& input, CalculationResult& result,
                  Dialogs& dialogs);

// After an earlier-format file was calculated: writes the job, whatever the calculation's
// outcome, in the current format under the file's own name and tells the user. Returns the
// system's error text, empty on success.
std::string SaveConvertedVersion(const std::string& path, const JobInput& input,
                                 const CalculationResult& result, const Statistics& stats,
                                 Dialogs& dialogs);

// The question asked at start when the last run did not end normally.
inline const char* const RecoverQuestion =
    "Tallora failed to exit normally when last run.  Would you like to autorecover the last data "
    "entered?";

// After an abnormal end: offers to bring back the inputs of the last calculation and appends
// them to the job. True when they were recovered (Calculate is then available).
bool AutoRecover(const RegistryStore& store, JobInput& input, Dialogs& dialogs);

}  // namespace tallora
