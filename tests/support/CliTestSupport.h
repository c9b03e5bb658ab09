#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <streambuf>
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

// Standard error is one line of printable text naming what it is about: no escape sequence,
// bell, carriage return or NUL reaches the terminal, and the message is whole.
inline void ExpectOneLineError(const CliRun& run, const std::string& about) {
    const std::string& err = run.err;
    ASSERT_FALSE(err.empty());
    EXPECT_EQ(err.rfind("tallora-cli: ", 0), 0u) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    for (const char c : err.substr(0, err.size() - 1)) {
        const auto byte = static_cast<unsigned char>(c);
        EXPECT_TRUE(byte >= 0x20 && byte != 0x7F)
            << "control character " << int(byte) << ": " << err;
    }
    EXPECT_NE(err.find(about), std::string::npos) << err;
}

// Standard output that takes nothing, as on a full disk.
class FullStream : public std::streambuf {
protected:
    int_type overflow(int_type) override {
        errno = ENOSPC;
        return traits_type::eof();
    }
};

inline CliRun RunWithFullOutput(const Args& args) {
    FullStream full;
    std::ostream out(&full);
    std::ostringstream err;
    CliRun run;
    run.status = RunCli(args, out, err);
    run.err = err.str();
    return run;
}

}  // namespace tallora::testing
