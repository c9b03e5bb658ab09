#include "commands/ExportReport.h"

#include "report/PdfReport.h"

namespace tallora {

bool ExportReport(PrintEngine& engine, const CuttingJob& job, const StatisticsTexts& panel,
                  const std::filesystem::path& file) {
    if (engine.IsOpen()) engine.CloseDoc();
    engine.OpenDoc();
    bool saved = false;
    try {
        LayOutCuttingReport(engine, job, panel);
        saved = engine.SaveDocument(file);
    } catch (...) {
        engine.CloseDoc();
        throw;
    }
    engine.CloseDoc();
    return saved;
}

}  // namespace tallora
