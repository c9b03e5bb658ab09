#include "commands/Exports.h"

#include "costing/CostingCsv.h"
#include "report/PdfReport.h"
#include "results/CuttingListCsv.h"
#include "storage/SafeFile.h"

namespace tallora {

bool ExportReport(PrintEngine& engine, const JobInput& input, const CalculationResult& result,
                  const StatisticsTexts& panel, const std::filesystem::path& file) {
    if (engine.IsOpen()) engine.CloseDoc();
    engine.OpenDoc();
    bool saved = false;
    try {
        LayOutCuttingReport(engine, input, result, panel);
        saved = engine.SaveDocument(file);
    } catch (...) {
        engine.CloseDoc();
        throw;
    }
    engine.CloseDoc();
    return saved;
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
