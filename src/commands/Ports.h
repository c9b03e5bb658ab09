#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/CalculationHost.h"
#include "job/CuttingJob.h"
#include "report/PrintEngine.h"
#include "results/Statistics.h"

// What the use cases ask of the platform. The desktop implements these with its windows, the
// command line with plain output, the tests with scripted fakes.
namespace tallora {

enum class MessageKind { Information, Warning, Error, Confirmation, Plain };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct FileDialogOptions {
    std::string Title;
    std::string Filter;            // "Name (*.ext)|*.ext|Any file (*.*)|*.*"
    std::string DefaultExtension;  // appended to a name typed without one
    std::string InitialFolder;
    bool ConfirmOverwrite = false;
};

// Every modal box and file dialog of the program. The desktop shows real ones; tests and the
// command line answer from a script.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MessageAnswer ShowMessage(MessageKind kind, MessageButtons buttons,
                                      const std::string& text) = 0;
    // The chosen path, or nothing when the user cancels.
    virtual std::optional<std::string> AskOpenFileName(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> AskSaveFileName(const FileDialogOptions& options) = 0;
    // The text entered, or nothing on Cancel.
    virtual std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                               const std::string& initial) = 0;
    // A question answered by one of a few buttons: the index of the choice, or nothing on Cancel.
    virtual std::optional<int> AskChoice(const std::string& title, const std::string& prompt,
                                         const std::vector<std::string>& choices) = 0;

    void Inform(const std::string& text) {
        ShowMessage(MessageKind::Information, MessageButtons::Ok, text);
    }
};

// Answers every box with its first button (No where it asks) and every dialog with Cancel: for the
// command line and other runs without a user.
class SilentDialogs : public Dialogs {
public:
    MessageAnswer ShowMessage(MessageKind, MessageButtons buttons, const std::string&) override {
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    std::optional<std::string> AskOpenFileName(const FileDialogOptions&) override { return {}; }
    std::optional<std::string> AskSaveFileName(const FileDialogOptions&) override { return {}; }
    std::optional<std::string> AskText(const std::string&, const std::string&,
                                       const std::string&) override {
        return {};
    }
    std::optional<int> AskChoice(const std::string&, const std::string&,
                                 const std::vector<std::string>&) override {
        return {};
    }
};

// What Calculate tells the window system besides the engine's own progress and boxes.
class CalculateHost : public CalculationHost {
public:
    // The weight and cost were rewritten in the job to the form their fields show.
    virtual void ShowSectionPrices() = 0;
    // The result store holds a finished calculation: enable the output commands.
    virtual void EnableOutputCommands() = 0;
    // The figures of the statistics panel, then the lines of the cutting list.
    virtual void ShowStatistics(const Statistics& stats) = 0;
    virtual void ShowCuttingList(const std::vector<std::string>& lines) = 0;
};

// A host that shows nothing and answers No.
class SilentCalculateHost : public SilentHost<CalculateHost> {
public:
    void ShowSectionPrices() override {}
    void EnableOutputCommands() override {}
    void ShowStatistics(const Statistics&) override {}
    void ShowCuttingList(const std::vector<std::string>&) override {}
};

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
    virtual std::string SaveDiagram(const CuttingJob& job, int width, int height,
                                    const std::filesystem::path& file) = 0;
};

}  // namespace tallora
