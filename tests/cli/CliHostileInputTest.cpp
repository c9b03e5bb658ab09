// tallora-cli given what an attacker or an unlucky user would give it: bad inputs of every kind,
// each refused with one clear line that names it and nothing written.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "support/CliTestSupport.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

using nlohmann::json;
using testing::Args;
using testing::CliRun;
using testing::RunTool;
using testing::TempFolder;
using testing::With;
using testing::WriteBytes;

// A bad input: the files it needs (written into a folder of its own; "{name}" in an argument is
// that file's path), the arguments, and what standard error must say.
struct BadInputCase {
    std::string Name;
    std::map<std::string, std::string> Files;
    Args Arguments;
    std::string Error;  // "{name}" stands for that file's path
};

std::string WithPaths(std::string text, const TempFolder& folder,
                      const std::map<std::string, std::string>& files) {
    for (const auto& [name, bytes] : files) {
        const std::string mark = "{" + name + "}";
        for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark))
            text.replace(at, mark.size(), folder.File(name));
    }
    return text;
}

// Standard error is one line of printable text: no escape sequence, bell or NUL reaches the
// terminal, and the message is whole.
void ExpectOneCleanLine(const std::string& err) {
    ASSERT_FALSE(err.empty());
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    for (const char c : err.substr(0, err.size() - 1)) {
        const auto byte = static_cast<unsigned char>(c);
        EXPECT_TRUE(byte >= 0x20 && byte != 0x7F)
            << "control character " << int(byte) << ": " << err;
    }
}

const std::vector<BadInputCase>& BadInputs() {
    static const std::vector<BadInputCase> cases = {
        // Control characters quoted back from a file or an argument are shown, not obeyed; the
        // text after a NUL is still there.
        {"escape sequence in a CSV line",
         {{"esc.csv", "Quantity,Length\n3,\x1b[2J\abad\n"}},
         {"--stock", "*@6000", "--cuts-csv", "{esc.csv}"},
         "--cuts-csv {esc.csv}: line 2: '\uFFFD[2J\uFFFDBAD' is not a length"},
        {"NUL in a CSV line",
         {{"nul.csv", std::string("3,ab\0cd\n", 8)}},
         {"--stock", "*@6000", "--cuts-csv", "{nul.csv}"},
         "line 1: 'AB\uFFFDCD' is not a length"},
        {"escape sequence in an argument",
         {},
         {"--stock", "*@60\x1b[31m00", "--cut", "1@1000"},
         "--stock *@60\uFFFD[31m00: '60\uFFFD[31m00' is not a length"},
        {"bell in a job file's name",
         {},
         {"/no/such/folder/\a\x1b]0;title\a.tlf"},
         "/no/such/folder/\uFFFD\uFFFD]0;title\uFFFD.tlf: "},
    };
    return cases;
}

TEST(CliHostileInput, BadInputsAreRefusedWithOneClearLineAndNothingWritten) {
    for (const BadInputCase& c : BadInputs()) {
        SCOPED_TRACE(c.Name);
        TempFolder folder;
        for (const auto& [name, bytes] : c.Files) WriteBytes(folder.File(name), bytes);
        Args args;
        for (const std::string& argument : c.Arguments)
            args.push_back(WithPaths(argument, folder, c.Files));
        const CliRun run = RunTool(args);
        EXPECT_EQ(run.status, ExitBadInput) << run.err;
        EXPECT_NE(run.err.find(WithPaths(c.Error, folder, c.Files)), std::string::npos) << run.err;
        ExpectOneCleanLine(run.err);
        EXPECT_TRUE(run.out.empty()) << run.out;
        // Nothing but the files given is left in the folder.
        size_t files = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(folder.Path()))
            ++files;
        EXPECT_EQ(files, c.Files.size());
    }
}

}  // namespace
}  // namespace tallora
