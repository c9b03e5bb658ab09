#include "storage/OldVersion.h"

#include <gtest/gtest.h>

#include "commands/Calculate.h"
#include "commands/OpenJob.h"
#include "storage/TextFile.h"
#include "support/EngineTestSupport.h"
#include "support/MemoryRegistry.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

using testing::ScriptedDialogs;
using testing::TempFolder;

// An earlier-format file: lines 12, 17 and 19 (from 0) are the reference's marker, the weight
// and the cost; the cost type is the last.
std::vector<std::string> OldFile() {
    return SplitTextLines(
        "Tallora Datafile\n// Stock length data\nANY @ 6000\n3 @ 4000\n// Cut length data\n"
        "4 @ 1500\n2 @ 2200\n// Output\nold cutting list line 1\nold cutting list line 2\n"
        "// Customer name\nAcme\n// List reference\nR-7\n// Section name\nRHS 100x50\n"
        "// Section weight kg/m\n11.2\n// Section cost\n650\n// Cost type\nTonne");
}

// The conversion as the desktop runs it: read, recalculate, write again.
struct Converter {
    MemoryRegistry store;
    Algorithm algorithm = Algorithm::Complex;
    ScriptedDialogs dialogs;
    OldReadStatus status = OldReadStatus::Read;
    CalculatedJob calculated;
    std::string saveError;

    void Convert(const std::vector<std::string>& lines, const std::string& path, TestJob& job) {
        status = *OpenJob(lines, job.Input, job.Result, dialogs).Earlier;
        if (status != OldReadStatus::Read) return;
        job.Input = PrepareCalculation(job.Input, algorithm, &store, NumberFormat::UK(),
                                       [](const std::string&) { return false; });
        testing::RecordingObserver observer;
        calculated = CalculateJob(job.Input, {algorithm, {}, {}}, observer, NumberFormat::UK());
        if (calculated.Outcome.Completed || calculated.Outcome.ResultsCleared)
            job.Result = calculated.Outcome.Result;
        saveError = SaveConvertedVersion(path, job.Input, job.Result, calculated.Stats, dialogs);
    }
};

TEST(ConvertOldVersion, RecalculatesAndRewritesInTheCurrentFormat) {
    TempFolder temp;
    const std::string path = temp.File("old.tlf");
    ASSERT_EQ(OldFile().size(), 22u);
    Converter c;
    TestJob job;
    job.Input.Allowances.Trim = 10;
    c.Convert(OldFile(), path, job);
    ASSERT_EQ(c.status, OldReadStatus::Read);
    EXPECT_TRUE(c.calculated.Outcome.Completed);
    EXPECT_EQ(c.saveError, "");
    EXPECT_EQ(c.dialogs.messages, (std::vector<std::string>{OldVersionMessage, ConvertedMessage}));
    EXPECT_EQ(job.Input.StockRows, (std::vector<ListRow>{{"ANY", "6000"}, {"3", "4000"}}));
    EXPECT_EQ(job.Input.Section.Reference, "R-7");
    EXPECT_EQ(job.Input.Section.Weight, 11.2);
    EXPECT_EQ(job.Input.Section.Cost, 650);
    EXPECT_EQ(job.Input.Section.CostType, "Tonne");
    EXPECT_GT(job.Result.PatternCount(), 0);
    EXPECT_EQ(job.Result.CuttingListLines.front(), " Cutting Pattern Number 1:");

    std::string error;
    const auto written = ReadTextFile(path, error);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(written->front(), "TA DataFile");
    TestJob again;
    again.Input.Allowances.Trim = 10;
    ScriptedDialogs quiet;
    EXPECT_EQ(OpenJob(*written, again.Input, again.Result, quiet).Read.Status, ReadStatus::Loaded);
    EXPECT_EQ(again.Result.Patterns, job.Result.Patterns);

    // An empty stock list converts, and the file is written though the calculation is refused.
    auto noStock = OldFile();
    noStock.erase(noStock.begin() + 2, noStock.begin() + 4);
    Converter refused;
    TestJob empty;
    refused.Convert(noStock, temp.File("j.tlf"), empty);
    EXPECT_EQ(refused.status, OldReadStatus::Read);
    EXPECT_TRUE(empty.Input.StockRows.empty());
    EXPECT_FALSE(refused.calculated.Outcome.Completed);
    EXPECT_TRUE(std::filesystem::exists(temp.File("j.tlf")));
}

// The rules of the fields (tested with the entry lists) hold for an earlier-format file's rows
// and figures as for typed ones; the read stops at the line that breaks one and says why.
TEST(ReadOldVersion, RowsAndFiguresAreHeldToTheRulesOfTheirFields) {
    struct Case {
        size_t Line;  // from 0
        std::string Text;
        std::string Reason;
    };
    const std::vector<Case> cases = {
        {5, "6 @ 0", "0mm is shorter than the minimum allowed length of 1mm."},
        {2, "* @ 0", "0mm is shorter than the minimum allowed length of 1mm."},
        {3, "3 4000", "'3 4000' is not a row"},
        {17, "-5", "'-5' is not a weight from 0 to 9999.999"},
        {19, "1e300", "'1e300' is not a price from 0 to 99999.99"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        auto lines = OldFile();
        lines[c.Line] = c.Text;
        TestJob job;
        ReadFault fault;
        EXPECT_EQ(ReadOldVersion(lines, job.Input, job.Result, &fault), OldReadStatus::Corrupted);
        EXPECT_EQ(fault.Line, static_cast<int>(c.Line + 1));
        EXPECT_EQ(fault.Reason.rfind(c.Reason, 0), 0u) << fault.Reason;
    }
}

}  // namespace
}  // namespace tallora
