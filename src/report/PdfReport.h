#pragma once

#include <filesystem>
#include <string>

#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "report/PrintEngine.h"
#include "results/Statistics.h"

namespace tallora {

inline constexpr const char* MakerName = "Vantorel Software";
// The most pages a report has; a job that would need more ends with a page that says so.
inline constexpr int MaxReportPages = 500;
inline constexpr const char* MakerWebAddress = "www.vantorel.example";

// Lays the whole report out on a freshly opened document: page settings, banner, cutting
// instructions, statistics table (the panel's texts as shown), cutting diagrams on landscape
// pages and the page numbers. Reads the offcut classification and the bars used that
// ApplyAllowances left in the result.
void LayOutCuttingReport(PrintEngine& engine, const JobInput& input,
                         const CalculationResult& result, const StatisticsTexts& panel);

struct ReportOutcome {
    enum class Result {
        Saved,       // File holds the report; the caller opens it
        SaveFailed,  // Message is the information box's text
        FileError,   // Message is the system's error text; no document was made
    };
    Result Status = Result::Saved;
    std::filesystem::path File;  // the numbered file name of this run
    std::string Message;
};

// One run of the report into the data folder, as "~Tallora<n>.pdf" with the first free n.
// Outside a job (jobFile empty) a "Tallora.pdf" left in the data folder is removed first,
// unless another program holds it. Nothing outside the data folder is touched. The engine's
// document is closed at the end, whatever happened.
ReportOutcome PrintCuttingReport(PrintEngine& engine, const JobInput& input,
                                 const CalculationResult& result, const StatisticsTexts& panel,
                                 const std::filesystem::path& dataDir,
                                 const std::filesystem::path& jobFile);

// dataDir / "~Tallora<n>.pdf" for the smallest n >= 1 that does not exist.
std::filesystem::path NumberedReportFile(const std::filesystem::path& dataDir);

std::string SaveFailureMessage(const std::filesystem::path& file);

}  // namespace tallora
