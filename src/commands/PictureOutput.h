#pragma once

#include <filesystem>
#include <string>

#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "report/PrintEngine.h"

namespace tallora {

// PDF reports and diagram pictures as files: drawn by the window system's painting, which the
// core does not have. Asked for nothing until a file is wanted.
class PictureOutput {
public:
    virtual ~PictureOutput() = default;
    // The engine the PDF report is laid out on and saved by.
    virtual PrintEngine& ReportEngine() = 0;
    // The cutting diagram as the viewer shows it at width x height pixels, as a PNG file; the
    // reason when the file could not be written (the file that was there is then left alone),
    // empty on success.
    virtual std::string SaveDiagram(const JobInput& input, const CalculationResult& result,
                                    int width, int height, const std::filesystem::path& file) = 0;
};

}  // namespace tallora
