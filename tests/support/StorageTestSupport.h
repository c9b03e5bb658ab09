#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "commands/Dialogs.h"
#include "storage/Settings.h"

namespace tallora::testing {

// Answers message boxes from a script (Ok, or the next scripted answer, else No) and file
// dialogs with the next scripted path, else Cancel; records the texts and the dialogs' options.
class ScriptedDialogs : public Dialogs {
public:
    std::vector<std::string> messages;
    std::vector<MessageAnswer> answers;
    std::vector<std::optional<std::string>> openFiles, saveFiles;
    std::vector<FileDialogOptions> fileDialogs;

    MessageAnswer ShowMessage(MessageKind, MessageButtons buttons,
                              const std::string& text) override {
        messages.push_back(text);
        if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
        return Next(answers).value_or(MessageAnswer::No);
    }
    std::optional<std::string> AskOpenFileName(const FileDialogOptions& options) override {
        fileDialogs.push_back(options);
        return Next(openFiles).value_or(std::nullopt);
    }
    std::optional<std::string> AskSaveFileName(const FileDialogOptions& options) override {
        fileDialogs.push_back(options);
        return Next(saveFiles).value_or(std::nullopt);
    }
    // Answers to text questions in turn (Cancel when none is left); each question asked is kept.
    std::vector<std::optional<std::string>> texts;
    struct TextQuestion {
        std::string Title, Prompt, Initial;
    };
    std::vector<TextQuestion> textQuestions;
    std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override {
        textQuestions.push_back({title, prompt, initial});
        return Next(texts).value_or(std::nullopt);
    }
    // Answers to choice questions in turn (Cancel when none is left); each prompt asked is kept.
    std::vector<std::optional<int>> choices;
    std::vector<std::string> choicePrompts;
    std::vector<std::vector<std::string>> choicesOffered;
    std::optional<int> AskChoice(const std::string&, const std::string& prompt,
                                 const std::vector<std::string>& offered) override {
        choicePrompts.push_back(prompt);
        choicesOffered.push_back(offered);
        return Next(choices).value_or(std::nullopt);
    }

    // Answers to the label options, in turn (Cancel when none is left).
    std::vector<std::optional<LabelOptions>> labelOptions;
    std::optional<LabelOptions> AskLabelOptions(const LabelOptions&) override {
        return Next(labelOptions).value_or(std::nullopt);
    }

private:
    template <typename T>
    static std::optional<T> Next(std::vector<T>& queue) {
        if (queue.empty()) return std::nullopt;
        T next = queue.front();
        queue.erase(queue.begin());
        return next;
    }
};

// A folder of its own under the system's temporary folder, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("tallora-test-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

class FakeShell : public ShellServices {
public:
    std::string appData;
    std::string program = "/opt/tallora";
    int notifications = 0;

    std::string LocalAppDataFolder() override { return appData; }
    std::string ProgramFolder() override { return program; }
    void NotifyAssociationsChanged() override { ++notifications; }
    bool CreateFolders(const std::string& path) override {
        std::error_code ec;
        std::filesystem::create_directories(path, ec);
        return !ec;
    }
    char PathSeparator() const override { return '/'; }
};

}  // namespace tallora::testing
