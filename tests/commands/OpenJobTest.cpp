// Opening a job file as the desktop does, and the autosave recovery: what the user is told.
#include "commands/OpenJob.h"

#include <gtest/gtest.h>

#include "storage/JobFile.h"
#include "support/StorageTestSupport.h"
#include "support/TestJob.h"

namespace tallora {
namespace {

using Lines = std::vector<std::string>;
using testing::ScriptedDialogs;

Lines OldFile(const std::string& weight = "0") {
    return SplitTextLines(
        "Tallora Datafile\n// Stock length data\nANY @ 6000\n// Cut length data\n3 @ 1500\n"
        "// Output\n// Customer name\nAcme\n// List reference\n\n// Section name\n\n"
        "// Section weight kg/m\n" +
        weight + "\n// Section cost\n0\n// Cost type\nTonne");
}

// A job of the current format with a kerf of 4 (the settings' is 3 until it is read).
Lines CurrentFile(int kerf) {
    TestJob job;
    job.Input.StockRows = {{"*", "6000"}};
    job.Input.Allowances.Kerf = kerf;
    return JobFileLines(job.Input, job.Result, Statistics{});
}

TEST(OpenJob, TellsOfTheFormatTheSettingsAndWhyAFileWasNotReadInThatOrder) {
    struct Case {
        std::string Name;
        Lines File;
        std::vector<std::string> Messages;
        std::string Fault;
    };
    Lines corrupted = CurrentFile(3);
    corrupted[2] = "* @ 0";
    const std::vector<Case> cases = {
        {"current, same settings", CurrentFile(3), {}, ""},
        {"current, other settings", CurrentFile(4), {SettingsChangedMessage}, ""},
        {"not a job", {"hello"}, {NotADataFileMessage}, NotADataFileMessage},
        {"corrupted",
         corrupted,
         {CorruptedDataMessage},
         "Some of the data in this file is corrupted. Line 3: 0mm is shorter than the minimum "
         "allowed length of 1mm."},
        {"earlier format", OldFile(), {OldVersionMessage}, ""},
        {"earlier format, corrupted",
         OldFile("heavy"),
         {OldVersionMessage, CorruptedDataMessage},
         "Some of the data in this file is corrupted. Line 14: 'heavy' is not a weight"},
        {"earlier format, not a job",
         [] {
             Lines bad = OldFile();
             bad[8] = "// List referenze";
             return bad;
         }(),
         {OldVersionMessage, NotADataFileMessage},
         NotADataFileMessage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ScriptedDialogs dialogs;
        TestJob job;
        job.Input.Allowances.Kerf = 3;
        const OpenedJob opened = OpenJob(c.File, job.Input, job.Result, dialogs);
        EXPECT_EQ(dialogs.messages, c.Messages);
        EXPECT_EQ(opened.Fault().rfind(c.Fault, 0), 0u) << opened.Fault();
        EXPECT_EQ(opened.Problem().empty(), c.Fault.empty());
        EXPECT_EQ(opened.EarlierFormatRead(), c.Name == "earlier format");
    }
}

}  // namespace
}  // namespace tallora
