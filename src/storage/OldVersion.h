#pragma once

#include <string>
#include <vector>

#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "storage/JobFile.h"

namespace tallora {

inline const char* const OldVersionMessage =
    "Data is from a previous version of Tallora.\r\n"
    "When you press 'OK' the program will re-calculate the cutting data and convert it to the "
    "latest version's format.";
inline const char* const ConvertedMessage = "File has now been converted to the new format.";

// Compares a line with the marker expected there; on a mismatch the file is foreign: the job's
// entry side is cleared and the answer is true.
bool BadFile(const std::string& line, const std::string& marker, JobInput& input,
             CalculationResult& result);

enum class OldReadStatus {
    Read,
    BadFile,    // a marker did not match: NotADataFileMessage
    Corrupted,  // a row or number could not be read: CorruptedDataMessage
};

// Reads the lists, the old cutting list and the section data of an earlier-format file (its
// lines, the first one included) into an emptied input and result, without calculating.
OldReadStatus ReadOldVersion(const std::vector<std::string>& lines, JobInput& input,
                             CalculationResult& result);

}  // namespace tallora
