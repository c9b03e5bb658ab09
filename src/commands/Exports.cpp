#include "commands/Exports.h"

#include <algorithm>
#include <cctype>

#include "costing/CostingCsv.h"
#include "report/PdfReport.h"
#include "report/SawSheetReport.h"
#include "results/CuttingListCsv.h"
#include "storage/SafeFile.h"

namespace tallora {

namespace {

// A document laid out and saved, the engine's document closed whatever happened.
template <typename LayOut>
bool SaveDocument(PrintEngine& engine, const std::filesystem::path& file, LayOut&& layOut) {
    if (engine.IsOpen()) engine.CloseDoc();
    engine.OpenDoc();
    bool saved = false;
    try {
        layOut();
        saved = engine.SaveDocument(file);
    } catch (...) {
        engine.CloseDoc();
        throw;
    }
    engine.CloseDoc();
    return saved;
}

}  // namespace

bool ExportReport(PrintEngine& engine, const JobInput& input, const CalculationResult& result,
                  const StatisticsTexts& panel, const std::filesystem::path& file) {
    return SaveDocument(engine, file, [&] { LayOutCuttingReport(engine, input, result, panel); });
}

namespace {

// A label a piece and one a kept offcut, counted without laying out the bars.
long long LabelCount(const JobInput& input, const CalculationResult& result) {
    long long labels = 0;
    for (const CuttingPattern& p : result.Patterns) {
        long long pieces = 0;
        for (int count : p.PieceCount) pieces += count;
        const bool kept = p.IsOffcut && !input.Allowances.NoOffcuts;
        labels += (pieces + (kept ? 1 : 0)) * std::max(p.BarCount, 0);
    }
    return labels;
}

}  // namespace

bool ExportSawSheet(PrintEngine& engine, const JobInput& input, const CalculationResult& result,
                    const std::filesystem::path& file, const ReportLanguage& language) {
    const SawSheet sheet = MakeSawSheet(input, result);
    return SaveDocument(engine, file,
                        [&] { LayOutSawSheet(engine, input, result, sheet, language); });
}

std::string ExportSawSheetCsv(const std::string& file, const JobInput& input,
                              const CalculationResult& result) {
    return WriteFileSafely(file, SawSheetCsv(input, result, MakeSawSheet(input, result)));
}

bool IsCsvFileName(const std::string& file) {
    if (file.size() < 4) return false;
    std::string end = file.substr(file.size() - 4);
    for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return end == ".csv";
}

std::string ExportPieceLabels(PrintEngine& engine, const JobInput& input,
                              const CalculationResult& result, const LabelOptions& options,
                              const std::filesystem::path& file,
                              const std::map<int, long long>& offcutIds,
                              const ReportLanguage& language) {
    if (std::string problem = LabelOptionsProblem(options); !problem.empty()) return problem;
    // A job of a million pieces is no sheet of labels: said before anything is laid out.
    if (const long long labels = LabelCount(input, result); labels > MaxLabels) {
        return "The job needs " + std::to_string(labels) +
               " labels: a PDF of labels holds at most " + std::to_string(MaxLabels) + ".";
    }
    const std::vector<PieceLabel> labels =
        MakePieceLabels(input, result, MakeSawSheet(input, result), offcutIds, language);
    if (SaveDocument(engine, file, [&] { LayOutPieceLabels(engine, labels, options); })) return {};
    return engine.SaveError().empty() ? "the file could not be written" : engine.SaveError();
}

std::string ExportCuttingList(const std::string& file, const JobInput& input,
                              const CalculationResult& result) {
    return WriteFileSafely(file, CuttingListCsv(input, result));
}

std::string ExportCostingSheet(const std::string& file, const JobInput& input,
                               const CalculationResult& result, const Statistics& stats,
                               const NumberFormat& format) {
    const CostingSheet sheet = MakeCostingSheet(
        input, result, stats, MaterialPrice::OfJob(input.Section), input.Costing, format);
    return WriteFileSafely(file, CostingCsv(sheet, input.Costing));
}

}  // namespace tallora
