#include "storage/OldVersion.h"

#include <gtest/gtest.h>

#include "engine/EngineTestSupport.h"
#include "storage/MemoryRegistry.h"
#include "storage/StorageTestSupport.h"
#include "storage/TextFile.h"

namespace tallora {
namespace {

using testing::ScriptedDialogs;
using testing::TempFolder;

std::vector<std::string> OldFile() {
    return {"Tallora Datafile",
            "// Stock length data",
            "ANY @ 6000",
            "3 @ 4000",
            "// Cut length data",
            "4 @ 1500",
            "2 @ 2200",
            "// Output",
            "old cutting list line 1",
            "old cutting list line 2",
            "// Customer name",
            "Acme",
            "// List reference",
            "R-7",
            "// Section name",
            "RHS 100x50",
            "// Section weight kg/m",
            "11.2",
            "// Section cost",
            "650",
            "// Cost type",
            "Tonne"};
}

struct Converter {
    MemoryRegistry store;
    testing::RecordingHost host;
    Algorithm algorithm = Algorithm::Complex;
    CalculationServices services{store, host, algorithm, NumberFormat::UK()};
    ScriptedDialogs dialogs;
};

TEST(ConvertOldVersion, RecalculatesAndRewritesInTheCurrentFormat) {
    TempFolder temp;
    const std::string path = temp.File("old.tlf");
    Converter c;
    CuttingJob job;
    job.allowances.Trim = 10;
    const Conversion conversion = ConvertOldVersion(OldFile(), path, job, c.dialogs, c.services);
    ASSERT_EQ(conversion.Status, OldReadStatus::Read);
    EXPECT_TRUE(conversion.Outcome.Completed);
    EXPECT_EQ(conversion.SaveError, "");
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
    const JobFileRead read = DoOpen(path, again, quiet);
    EXPECT_EQ(read.Status, ReadStatus::Loaded);
    EXPECT_EQ(again.Patterns, job.Patterns);
}

TEST(ConvertOldVersion, EmptyStockListConvertsAndIsWrittenEvenThoughRefused) {
    TempFolder temp;
    auto lines = OldFile();
    lines.erase(lines.begin() + 2, lines.begin() + 4);
    Converter c;
    CuttingJob job;
    const Conversion conversion = ConvertOldVersion(lines, temp.File("j.tlf"), job, c.dialogs, c.services);
    EXPECT_EQ(conversion.Status, OldReadStatus::Read);
    EXPECT_TRUE(job.StockItems.empty());
    EXPECT_FALSE(conversion.Outcome.Completed);
    EXPECT_TRUE(std::filesystem::exists(temp.File("j.tlf")));
}

TEST(ReadOldVersion, AMisspelledMarkerEmptiesEverythingAgain) {
    auto lines = OldFile();
    lines[12] = "// List referenze";
    ScriptedDialogs dialogs;
    CuttingJob job;
    EXPECT_EQ(ReadOldVersion(lines, job, dialogs), OldReadStatus::BadFile);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{NotADataFileMessage});
    EXPECT_TRUE(job.StockItems.empty());
    EXPECT_TRUE(job.CutItems.empty());
    EXPECT_TRUE(job.CuttingListLines.empty());
    EXPECT_EQ(job.section.Customer, "");
    EXPECT_EQ(job.section.CostType, "Tonne");
}

TEST(ReadOldVersion, EveryShortenedFileStopsCleanly) {
    const auto lines = OldFile();
    for (size_t n = 1; n < lines.size(); ++n) {
        ScriptedDialogs dialogs;
        CuttingJob job;
        const OldReadStatus status = ReadOldVersion({lines.begin(), lines.begin() + n}, job, dialogs);
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

TEST(ReadOldVersion, NumbersAndRowsThatCannotBeReadAreCorrupted) {
    auto weight = OldFile();
    weight[17] = "heavy";
    ScriptedDialogs dialogs;
    CuttingJob job;
    EXPECT_EQ(ReadOldVersion(weight, job, dialogs), OldReadStatus::Corrupted);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{CorruptedDataMessage});

    auto row = OldFile();
    row[3] = "3 4000";
    CuttingJob other;
    EXPECT_EQ(ReadOldVersion(row, other, dialogs), OldReadStatus::Corrupted);
}

}  // namespace
}  // namespace tallora
