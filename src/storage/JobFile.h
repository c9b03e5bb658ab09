#pragma once

#include <string>
#include <vector>

#include "engine/CuttingJob.h"
#include "results/Statistics.h"
#include "storage/Dialogs.h"

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
// with the statistics shown, the kept inputs, Trim, Kerf and Offcut, and the costing charges.
std::vector<std::string> JobFileLines(const CuttingJob& job, const Statistics& stats);

// A row line "quantity @ length", split at its first "@" less the blank on either side; nothing
// when the line has no "@".
std::optional<ListRow> SplitRowLine(const std::string& line);

// SaveFile: writes the job to the path; returns the system's error text, empty on success.
std::string SaveFile(const std::string& path, const CuttingJob& job, const Statistics& stats);

enum class ReadStatus {
    Loaded,        // the whole job was read
    OldVersion,    // the file is of the earlier format: nothing was read
    NotADataFile,  // the first line is not recognised (message shown)
    Corrupted,     // reading stopped at a bad line; what came before stays (message shown)
    SystemError,   // the file could not be read at all
};

struct JobFileRead {
    ReadStatus Status = ReadStatus::Loaded;
    std::string Error;  // the system's error text
    Statistics Stats;   // recomputed from the results read
    bool ResultsValid = false;
};

// DoOpen, for a job the caller has emptied: reads the file into it, shows the settings-changed,
// not-a-datafile and corrupted-data messages, limits the allowances read to their ranges and
// recomputes the statistics. Hold keeps its value.
JobFileRead DoOpen(const std::string& path, CuttingJob& job, Dialogs& dialogs);
// The same from lines already read.
JobFileRead ReadJobLines(const std::vector<std::string>& lines, CuttingJob& job, Dialogs& dialogs);

}  // namespace tallora
