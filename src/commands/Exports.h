#pragma once

#include <filesystem>
#include <string>

#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "report/PieceLabels.h"
#include "report/PrintEngine.h"
#include "results/NumberFormat.h"
#include "results/Statistics.h"

namespace tallora {

// The PDF report as the desktop prints it, saved to a file the user chose (Export PDF,
// tallora-cli --pdf) and never removed by the program. The engine's document is closed at the
// end, whatever happened. False when the file could not be written; a file that was there is
// then left as it was.
bool ExportReport(PrintEngine& engine, const JobInput& input, const CalculationResult& result,
                  const StatisticsTexts& panel, const std::filesystem::path& file);

// The saw sheet as a PDF (Export Saw Sheet, tallora-cli --saw-sheet FILE.pdf); as ExportReport.
bool ExportSawSheet(PrintEngine& engine, const JobInput& input, const CalculationResult& result,
                    const std::filesystem::path& file, const ReportLanguage& language = {});
// The saw sheet as CSV (tallora-cli --saw-sheet FILE.csv); the system's error text, empty on
// success.
std::string ExportSawSheetCsv(const std::string& file, const JobInput& input,
                              const CalculationResult& result);
// Whether a saw sheet file is to be CSV: its name ends in ".csv", in any case.
bool IsCsvFileName(const std::string& file);

// The piece labels as a PDF (Print Labels, tallora-cli --labels), laid out as ExportReport lays
// out the report. Why no file was written (options that do not fit the layout, more labels than
// MaxLabels, the system's reason), empty on success; a file that was there is then as it was.
std::string ExportPieceLabels(PrintEngine& engine, const JobInput& input,
                              const CalculationResult& result, const LabelOptions& options,
                              const std::filesystem::path& file,
                              const std::map<int, long long>& offcutIds = {},
                              const ReportLanguage& language = {});

// The cutting list as a CSV file (Export Cutting List, tallora-cli --export-csv). The system's
// error text, empty on success; a file that was there is left as it was on failure.
std::string ExportCuttingList(const std::string& file, const JobInput& input,
                              const CalculationResult& result);

// The costing table as a CSV file (the costing window's export, tallora-cli --costing-csv),
// priced with the section data and charges of the input.
std::string ExportCostingSheet(const std::string& file, const JobInput& input,
                               const CalculationResult& result, const Statistics& stats,
                               const NumberFormat& format);

}  // namespace tallora
