#pragma once

#include <memory>

#include "commands/PictureOutput.h"

namespace tallora {

// tallora-cli's PDF reports and diagram pictures, drawn with Qt. The application object Qt's
// painting needs is made at the first request, on the offscreen platform when there is no
// display to use; an application that exists already is used as it is.
class QtPictureOutput : public PictureOutput {
public:
    QtPictureOutput();
    ~QtPictureOutput() override;
    QtPictureOutput(const QtPictureOutput&) = delete;
    QtPictureOutput& operator=(const QtPictureOutput&) = delete;

    PrintEngine& ReportEngine() override;
    std::string SaveDiagram(const JobInput& input, const CalculationResult& result, int width,
                            int height, const std::filesystem::path& file) override;

private:
    void EnsureApplication();

    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace tallora
