#pragma once

#include <string>
#include <vector>

#include "engine/CuttingJob.h"
#include "storage/Dialogs.h"
#include "storage/JobCalculation.h"
#include "storage/JobFile.h"

namespace tallora {

inline const char* const OldVersionMessage =
    "Data is from a previous version of Tallora.\r\n"
    "When you press 'OK' the program will re-calculate the cutting data and convert it to the "
    "latest version's format.";
inline const char* const ConvertedMessage = "File has now been converted to the new format.";

// Compares a line with the marker expected there; on a mismatch reports the file as foreign and
// clears the job's entry side.
bool BadFile(const std::string& line, const std::string& marker, CuttingJob& job, Dialogs& dialogs);

enum class OldReadStatus { Read, BadFile, Corrupted };

// Reads the lists, the old cutting list and the section data of an earlier-format file (its
// lines, the first one included) into an emptied job, without calculating.
OldReadStatus ReadOldVersion(const std::vector<std::string>& lines, CuttingJob& job,
                             Dialogs& dialogs);

struct Conversion {
    OldReadStatus Status = OldReadStatus::Read;
    CalculationOutcome Outcome;  // the recalculation
    std::string SaveError;       // the system's error text when the rewrite failed
};

// ConvertOldVersion: tells the user, reads the file, recalculates it with the current
// allowances and writes it again in the current format under `path`.
Conversion ConvertOldVersion(const std::vector<std::string>& lines, const std::string& path,
                             CuttingJob& job, Dialogs& dialogs, CalculationServices& services);

}  // namespace tallora
