#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "engine/CuttingJob.h"
#include "report/PrintEngine.h"

namespace tallora {

// Exit statuses of tallora-cli.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitRefused = 1;   // the calculation was refused
inline constexpr int ExitBadInput = 2;  // bad usage or bad input

// What tallora-cli needs of the window system for --pdf and --diagram. It is asked for nothing
// unless one of them is given.
class PictureOutput {
public:
    virtual ~PictureOutput() = default;
    // The engine the PDF report is laid out on and saved by.
    virtual PrintEngine& ReportEngine() = 0;
    // The cutting diagram as the viewer shows it at width x height pixels, as a PNG file;
    // false when the file cannot be written.
    virtual bool SaveDiagram(const CuttingJob& job, int width, int height,
                             const std::filesystem::path& file) = 0;
};

// Default --size of --diagram: the viewer window's size.
inline constexpr int DefaultDiagramWidth = 945;
inline constexpr int DefaultDiagramHeight = 665;
inline constexpr int MaxDiagramSide = 8000;

// Runs tallora-cli with its arguments (without the program name). Without `pictures`, --pdf and
// --diagram are refused as bad usage.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           PictureOutput* pictures = nullptr);

}  // namespace tallora
