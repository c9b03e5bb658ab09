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
    testing::RecordingHost host;
    Algorithm algorithm = Algorithm::Complex;
    ScriptedDialogs dialogs;
    OldReadStatus status = OldReadStatus::Read;
    CalculateResult outcome;
    std::string saveError;

    void Convert(const std::vector<std::string>& lines, const std::string& path, CuttingJob& job) {
        status = ConvertOldVersion(lines, job, dialogs);
        if (status != OldReadStatus::Read) return;
        outcome = Calculate(job, algorithm, host, NumberFormat::UK(), &store);
        saveError = SaveConvertedVersion(path, job, outcome.Stats, dialogs);
    }
};

// The reading with the message the user is shown where it stops.
OldReadStatus ReadOld(const std::vector<std::string>& lines, CuttingJob& job,
                      ScriptedDialogs& dialogs) {
    const OldReadStatus status = ConvertOldVersion(lines, job, dialogs);
    dialogs.messages.erase(dialogs.messages.begin());  // the notice that comes first
    return status;
}

TEST(ConvertOldVersion, RecalculatesAndRewritesInTheCurrentFormat) {
    TempFolder temp;
    const std::string path = temp.File("old.tlf");
    ASSERT_EQ(OldFile().size(), 22u);
    Converter c;
    CuttingJob job;
    job.allowances.Trim = 10;
    c.Convert(OldFile(), path, job);
    ASSERT_EQ(c.status, OldReadStatus::Read);
    EXPECT_TRUE(c.outcome.Completed);
    EXPECT_EQ(c.saveError, "");
    EXPECT_EQ(c.dialogs.messages, (std::vector<std::string>{OldVersionMessage, ConvertedMessage}));
    EXPECT_EQ(job.StockItems, (std::vector<ListRow>{{"ANY", "6000"}, {"3", "4000"}}));
    EXPECT_EQ(job.section.Reference, "R-7");
    EXPECT_EQ(job.section.SectionWeight, 11.2);
    EXPECT_EQ(job.section.CostType, "Tonne");
    EXPECT_GT(job.PatternCount(), 0);
    EXPECT_EQ(job.CuttingListLines.front(), " Cutting Pattern Number 1:");

    std::string error;
    const auto written = ReadTextFile(path, error);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(written->front(), "TA DataFile");
    CuttingJob again;
    again.allowances.Trim = 10;
    ScriptedDialogs quiet;
    EXPECT_EQ(DoOpen(*written, again, quiet).Status, ReadStatus::Loaded);
    EXPECT_EQ(again.Patterns, job.Patterns);

    // An empty stock list converts, and the file is written though the calculation is refused.
    auto noStock = OldFile();
    noStock.erase(noStock.begin() + 2, noStock.begin() + 4);
    Converter refused;
    CuttingJob empty;
    refused.Convert(noStock, temp.File("j.tlf"), empty);
    EXPECT_EQ(refused.status, OldReadStatus::Read);
    EXPECT_TRUE(empty.StockItems.empty());
    EXPECT_FALSE(refused.outcome.Completed);
    EXPECT_TRUE(std::filesystem::exists(temp.File("j.tlf")));
}

TEST(ReadOldVersion, AMisspelledMarkerEmptiesEverythingAgainAndBadNumbersAreCorrupted) {
    auto lines = OldFile();
    lines[12] = "// List referenze";
    ScriptedDialogs dialogs;
    CuttingJob job;
    EXPECT_EQ(ReadOld(lines, job, dialogs), OldReadStatus::BadFile);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{NotADataFileMessage});
    EXPECT_TRUE(job.StockItems.empty());
    EXPECT_TRUE(job.CutItems.empty());
    EXPECT_TRUE(job.CuttingListLines.empty());
    EXPECT_EQ(job.section.Customer, "");
    EXPECT_EQ(job.section.CostType, "Tonne");

    auto weight = OldFile();
    weight[17] = "heavy";
    ScriptedDialogs heavy;
    CuttingJob other;
    EXPECT_EQ(ReadOld(weight, other, heavy), OldReadStatus::Corrupted);
    EXPECT_EQ(heavy.messages, std::vector<std::string>{CorruptedDataMessage});

    auto row = OldFile();
    row[3] = "3 4000";
    CuttingJob third;
    EXPECT_EQ(ReadOld(row, third, heavy), OldReadStatus::Corrupted);
}

TEST(ReadOldVersion, EveryShortenedFileStopsCleanly) {
    const auto lines = OldFile();
    for (size_t n = 1; n < lines.size(); ++n) {
        ScriptedDialogs dialogs;
        CuttingJob job;
        const OldReadStatus status = ReadOld({lines.begin(), lines.begin() + n}, job, dialogs);
        // Only the last line (the cost type) may be missing: it reads as per metre.
        if (n == lines.size() - 1) {
            EXPECT_EQ(status, OldReadStatus::Read);
            EXPECT_EQ(job.section.CostType, "Metre");
            EXPECT_TRUE(dialogs.messages.empty());
            continue;
        }
        if (n == 17 || n == 19) {
            EXPECT_EQ(status, OldReadStatus::Corrupted) << n;  // the weight or cost is missing
        } else {
            EXPECT_EQ(status, OldReadStatus::BadFile) << n;
            EXPECT_TRUE(job.StockItems.empty());
        }
        EXPECT_EQ(dialogs.messages.size(), 1u);
    }
}

}  // namespace
}  // namespace tallora
