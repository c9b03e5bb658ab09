#pragma once

#include <string>
#include <vector>

#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "results/Statistics.h"
#include "storage/TextFile.h"

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
// The tag of the record of the cut rows' marks, after the Hold line.
inline const char* const MarksRecordTag = "Marks";
// Reading stops at more cutting-list lines than this.
inline constexpr int MaxCuttingListLines = 100000;

// The lines of a job file: the entered lists, the cutting list, the section data, the results
// with the statistics shown, the kept inputs, Trim, Kerf and Offcut, the costing charges, and
// the Hold the results were worked out with, and last the tagged records (the cut rows' marks)
// of a job that has them.
std::vector<std::string> JobFileLines(const JobInput& input, const CalculationResult& result,
                                      const Statistics& stats);
// The same lines as the file's bytes: Windows-1252, each line ending in CR LF.
std::string JobFileBytes(const JobInput& input, const CalculationResult& result,
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

// The line a read stopped at (from 1) and what is wrong with it.
struct ReadFault {
    int Line = 0;
    std::string Reason;
    bool operator==(const ReadFault&) const = default;
};

struct JobFileRead {
    ReadStatus Status = ReadStatus::Loaded;
    ReadFault Fault;    // Corrupted: where and why
    std::string Error;  // the system's error text
    Statistics Stats;   // recomputed from the results read
    bool ResultsValid = false;
    // Trim, Kerf, Offcut or Hold of the file differed from the settings in force.
    bool SettingsChanged = false;
};

// The lines a job file is read from: a list of them, or the file's bytes read a line at a time
// (TextLines), so that a large file is never held as lines. A copy starts where this one is.
class JobLines {
public:
    explicit JobLines(const std::vector<std::string>& lines) : lines_(&lines) {}
    explicit JobLines(std::string_view bytes) : text_(bytes) {}
    bool More() const;
    std::string Next();  // empty past the end

private:
    const std::vector<std::string>* lines_ = nullptr;
    std::size_t next_ = 0;
    TextLines text_{std::string_view()};
};

// Reads the lines of a job file into an emptied input and result, limits the allowances read to
// their ranges, applies them to the result and recomputes the statistics. Rows and figures are
// held to the rules of the fields they are typed in, and a stored result to what a calculation
// gives (its patterns cut the job's own lengths from its own stock lengths, and what is cut and
// left adds up to what was asked); the first that fails stops the read as Corrupted. A file
// without the Hold record (one written before it was kept) leaves Hold as it is. The messages
// are the caller's to show.
JobFileRead ReadJobLines(const std::vector<std::string>& lines, JobInput& input,
                         CalculationResult& result);
JobFileRead ReadJobLines(JobLines lines, JobInput& input, CalculationResult& result);

}  // namespace tallora
