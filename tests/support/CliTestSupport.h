#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "storage/RegistryStore.h"

namespace tallora::testing {

using Args = std::vector<std::string>;

// What one run of tallora-cli gave.
struct CliRun {
    int status = -1;
    std::string out, err;
    nlohmann::json Json() const { return nlohmann::json::parse(out); }
    // JSON Lines: an object a line.
    std::vector<nlohmann::json> Lines() const {
        std::vector<nlohmann::json> lines;
        std::stringstream stream(out);
        for (std::string line; std::getline(stream, line);)
            lines.push_back(nlohmann::json::parse(line));
        return lines;
    }
};

// Runs tallora-cli in this process: with the pictures adapter, standard input (none: it cannot
// be read) and settings given.
inline CliRun RunToolWith(const Args& args, PictureOutput* pictures,
                          const std::optional<std::string>& input, RegistryStore* settings) {
    std::ostringstream out, err;
    std::istringstream in(input.value_or(""));
    CliRun run;
    run.status = RunCli(args, out, err, pictures, false, input ? &in : nullptr, settings);
    run.out = out.str();
    run.err = err.str();
    return run;
}
inline CliRun RunTool(const Args& args) {
    return RunToolWith(args, nullptr, std::nullopt, nullptr);
}
inline CliRun RunTool(const Args& args, PictureOutput* pictures) {
    return RunToolWith(args, pictures, std::nullopt, nullptr);
}
inline CliRun RunTool(const Args& args, const std::string& input) {
    return RunToolWith(args, nullptr, input, nullptr);
}
inline CliRun RunTool(const Args& args, RegistryStore* settings) {
    return RunToolWith(args, nullptr, "", settings);
}

inline Args With(Args args, const Args& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// The exit status, and the error output naming what went wrong.
inline void ExpectExit(const CliRun& run, int status, const std::string& error) {
    EXPECT_EQ(run.status, status) << run.err;
    EXPECT_NE(run.err.find(error), std::string::npos) << run.err;
}

}  // namespace tallora::testing
