#pragma once

#include <string>
#include <vector>

#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "results/Statistics.h"

namespace tallora {

inline const char* const JobFileMagic = "TA DataFile";
inline const char* const OldJobFileMagic = "Tallora Datafile";
inline const char* const NotADataFileMessage =
    "This is not a Tallora Datafile, or the file is corrupt";
inline const char* const CorruptedDataMessage =
    "Some of the data in this file is corrupted.\r\n"
    "Please check the data in the calculator is OK before proceeding.";
inline const char* const SettingsChangedMessage =
    "Your settings have been changed to match those of the loaded file";
// Reading stops at more cutting-list lines than this.
inline constexpr int MaxCuttingListLines = 100000;

// The lines of a job file: the entered lists, the cutting list, the section data, the results
// with the statistics shown, the kept inputs, Trim, Kerf and Offcut, the costing charges, and
// last the Hold the results were worked out with.
std::vector<std::string> JobFileLines(const JobInput& input, const CalculationResult& result,
                                      const Statistics& stats);

// A row line "quantity @ length", split at its first "@" less the character (the blank) on
// either side; nothing when the line has no "@".
std::optional<ListRow> SplitRowLine(const std::string& line);

// SaveFile: writes the job to the path; returns the system's error text, empty on success.
std::string SaveFile(const std::string& path, const JobInput& input,
                     const CalculationResult& result, const Statistics& stats);

enum class ReadStatus {
    Loaded,        // the whole job was read
    OldVersion,    // the file is of the earlier format: nothing was read
    NotADataFile,  // the first line is not recognised
    Corrupted,     // reading stopped at a bad line; what came before stays
    SystemError,   // the file could not be read at all
};

struct JobFileRead {
    ReadStatus Status = ReadStatus::Loaded;
    std::string Error;  // the system's error text
    Statistics Stats;   // recomputed from the results read
    bool ResultsValid = false;
    // Trim, Kerf, Offcut or Hold of the file differed from the settings in force.
    bool SettingsChanged = false;
};

// Reads the lines of a job file into an emptied input and result, limits the allowances read to
// their ranges, applies them to the result and recomputes the statistics. A file without
// the Hold record (one written before it was kept) leaves Hold as it is. The messages are the
// caller's to show.
JobFileRead ReadJobLines(const std::vector<std::string>& lines, JobInput& input,
                         CalculationResult& result);

}  // namespace tallora
