#include "storage/JobFile.h"

#include <gtest/gtest.h>

#include "commands/Calculate.h"
#include "commands/OpenJob.h"
#include "storage/TextFile.h"
#include "support/EngineTestSupport.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

using testing::CrLf;
using testing::ReadBytes;
using testing::ScriptedDialogs;
using testing::TempFolder;
using testing::WriteBytes;

// A calculated job with limited stock, pieces left over, offcuts, section data and charges.
CuttingJob CalculatedJob() {
    CuttingJob job = testing::MakeJob({{"2", "6000"}, {"1", "4000"}},
                                      {{"3", "2400"}, {"5", "1750"}, {"4", "3900"}}, 3, 25, 25);
    job.allowances.NoOffcuts = false;
    job.allowances.Offcut = 500;
    job.section = {"Müller & Söhne", "Ref £42", "", 16.4, 720.5, "Tonne"};
    job.costing.CCutType = "Cut";
    job.costing.CCutValue = 0.85;
    job.costing.OtherName2 = "Painting";
    Algorithm algorithm = Algorithm::Complex;
    SilentCalculateHost host;
    Calculate(job, algorithm, host, NumberFormat::UK(), nullptr);
    return job;
}

// A fresh job with the allowances a reader starts from.
CuttingJob EmptyJob(int hold = 25) {
    CuttingJob job;
    job.allowances.Hold = hold;
    return job;
}

TEST(JobFile, EmptyJobLayout) {
    CuttingJob job;
    const auto lines = JobFileLines(job, Statistics{});
    ASSERT_GE(lines.size(), 11u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 11),
              (std::vector<std::string>{"TA DataFile", "0", "0", "0", "", "", "", "0", "0", "Tonne",
                                        "0"}));
    // 32 statistics, the offcut total, four empty tables and their totals, the allowances and
    // the costing section.
    EXPECT_EQ(lines.size(), 11u + 32 + 1 + 1 + 1 + 1 + 2 + 1 + 3 + 11);
    EXPECT_EQ(lines[lines.size() - 14], "25");  // Trim
    EXPECT_EQ(lines[lines.size() - 13], "3");   // Kerf
    EXPECT_EQ(lines[lines.size() - 11], "Tonne");
    EXPECT_EQ(lines.back(), "");

    ScriptedDialogs dialogs;
    CuttingJob read = EmptyJob(0);
    const JobFileRead result = DoOpen(lines, read, dialogs);
    EXPECT_EQ(result.Status, ReadStatus::Loaded);
    EXPECT_FALSE(result.ResultsValid);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(JobFileLines(read, result.Stats), lines);
}

TEST(JobFile, CalculatedJobRoundTripsByteForByte) {
    TempFolder temp;
    const CuttingJob job = CalculatedJob();
    ASSERT_GT(job.PatternCount(), 0);
    ASSERT_GT(job.CutCount(), 0);  // the stock runs out
    CuttingJob copy = job;
    const Statistics stats = CompileStats(copy);
    const std::string path = temp.File("beam.tlf");
    ASSERT_EQ(SaveFile(path, job, stats), "");
    const std::string bytes = ReadBytes(path);
    EXPECT_NE(bytes.find("M\xFCller & S\xF6hne\r\nRef \xA3"
                         "42\r\n"),
              std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");

    ScriptedDialogs dialogs;
    CuttingJob read = EmptyJob();
    std::string error;
    const JobFileRead result = DoOpen(*ReadTextFile(path, error), read, dialogs);
    ASSERT_EQ(result.Status, ReadStatus::Loaded);
    EXPECT_TRUE(result.ResultsValid);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{SettingsChangedMessage});
    EXPECT_EQ(read.Patterns, job.Patterns);
    EXPECT_EQ(read.Cuts, job.Cuts);
    EXPECT_EQ(read.Stock, job.Stock);
    EXPECT_EQ(read.CuttingListLines, job.CuttingListLines);
    EXPECT_EQ(read.section.Customer, "Müller & Söhne");
    EXPECT_EQ(read.costing, job.costing);
    EXPECT_EQ(result.Stats.StatMetres, stats.StatMetres);

    const std::string again = temp.File("again.tlf");
    ASSERT_EQ(SaveFile(again, read, result.Stats), "");
    EXPECT_EQ(ReadBytes(again), bytes);
}

TEST(JobFile, ThePatternRecordAndItsLength) {
    CuttingJob job;
    job.Patterns.push_back(testing::Pattern(5950, 2, {2003, 1503, 1003}, {1, 2, 1}));
    job.Patterns[0].IsOffcut = true;
    job.Patterns[0].OffcutLength = 463;
    const auto lines = JobFileLines(job, Statistics{});
    const auto at = std::find(lines.begin(), lines.end(), "5950");
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(std::vector<std::string>(at - 1, at + 11),
              (std::vector<std::string>{"1", "5950", "2", "3", "2003", "1", "1503", "2", "1003",
                                        "1", "1", "463"}));
}

// A file's lines up to its settings, so that tests can vary the end.
std::vector<std::string> LinesWithAllowances(int trim, int kerf, int offcut) {
    CuttingJob job;
    job.StockItems = {{"ANY", "6000"}};  // read back as "*"
    job.allowances.Trim = trim;
    job.allowances.Kerf = kerf;
    job.allowances.Offcut = offcut;
    auto lines = JobFileLines(job, Statistics{});
    lines.resize(lines.size() - 11);  // without the costing section
    return lines;
}

TEST(JobFile, ShortFileWithoutCostingAndTheSettingsMessage) {
    struct Case {
        int trim, kerf, offcut;
        size_t messages;
    };
    for (const Case c : {Case{25, 3, 3000, 0}, Case{25, 4, 3000, 1}, Case{30, 5, 400, 1}}) {
        ScriptedDialogs dialogs;
        CuttingJob job = EmptyJob();
        job.costing.CCutValue = 7;
        job.costing.OtherName1 = "Galv";
        const auto result = DoOpen(LinesWithAllowances(c.trim, c.kerf, c.offcut), job, dialogs);
        EXPECT_EQ(result.Status, ReadStatus::Loaded);
        EXPECT_EQ(dialogs.messages.size(), c.messages);
        EXPECT_EQ(job.allowances.Kerf, c.kerf);
        EXPECT_EQ(job.allowances.Hold, 25);  // not in the file
        EXPECT_EQ(job.costing.CCutValue, 7);
        EXPECT_EQ(job.costing.OtherName1, "Galv");
        EXPECT_EQ(job.StockItems[0].Quantity, "*");
    }
    // Values outside the fields' ranges are limited as the fields limit them.
    ScriptedDialogs dialogs;
    CuttingJob job = EmptyJob();
    DoOpen(LinesWithAllowances(999, 0, 30000), job, dialogs);
    EXPECT_EQ(job.allowances.Trim, 250);
    EXPECT_EQ(job.allowances.Kerf, 1);
    EXPECT_EQ(job.allowances.Offcut, 18300);
}

TEST(JobFile, NumbersWrittenWithACommaLoad) {
    auto lines = JobFileLines(CuttingJob{}, Statistics{});
    lines[7] = "16,4";
    ScriptedDialogs dialogs;
    CuttingJob job = EmptyJob();
    EXPECT_EQ(DoOpen(lines, job, dialogs).Status, ReadStatus::Loaded);
    EXPECT_EQ(job.section.SectionWeight, 16.4);
}

TEST(JobFile, ACorruptedFileKeepsWhatWasReadBeforeTheBadLine) {
    CuttingJob job = CalculatedJob();
    const auto lines = JobFileLines(job, CompileStats(job));
    const auto patterns = std::find(lines.begin(), lines.end(), "Tonne") - lines.begin() + 1;
    std::vector<std::string> cut(lines.begin(), lines.begin() + patterns + 4);

    ScriptedDialogs dialogs;
    CuttingJob read = EmptyJob();
    const JobFileRead result = DoOpen(cut, read, dialogs);
    EXPECT_EQ(result.Status, ReadStatus::Corrupted);
    EXPECT_EQ(dialogs.messages.back(), CorruptedDataMessage);
    EXPECT_FALSE(result.ResultsValid);
    EXPECT_EQ(read.StockItems.size(), job.StockItems.size());
    EXPECT_EQ(read.CutItems, job.CutItems);
    EXPECT_EQ(read.CuttingListLines, job.CuttingListLines);
    EXPECT_EQ(read.section.Customer, job.section.Customer);

    // Every shorter file stops cleanly: nothing past the tables, never a crash.
    for (size_t n = 0; n < lines.size(); ++n) {
        ScriptedDialogs quiet;
        CuttingJob partial = EmptyJob();
        const auto status = DoOpen({lines.begin(), lines.begin() + n}, partial, quiet).Status;
        if (n == 0) EXPECT_EQ(status, ReadStatus::NotADataFile);
        // Complete without the costing section, or with it but for the names.
        else if (n == lines.size() - 11 || n >= lines.size() - 3)
            EXPECT_EQ(status, ReadStatus::Loaded) << n;
        else
            EXPECT_NE(status, ReadStatus::Loaded) << n;
    }
}

TEST(JobFile, CountsBeyondTheTablesAndRowsWithoutTheSeparatorAreCorrupted) {
    const auto base = JobFileLines(CuttingJob{}, Statistics{});
    auto expectCorrupted = [](std::vector<std::string> lines) {
        ScriptedDialogs dialogs;
        CuttingJob job;
        EXPECT_EQ(DoOpen(lines, job, dialogs).Status, ReadStatus::Corrupted);
        EXPECT_LE(job.StockItems.size(), static_cast<size_t>(MaxStockRows));
    };
    auto withStock = base;
    withStock[1] = "101";
    withStock.insert(withStock.begin() + 2, 101, "1 @ 6000");
    expectCorrupted(withStock);
    auto negative = base;
    negative[2] = "-1";
    expectCorrupted(negative);
    auto noAt = base;
    noAt[1] = "1";
    noAt.insert(noAt.begin() + 2, "1 6000");
    expectCorrupted(noAt);
    auto longText = base;
    longText[3] = "100001";
    expectCorrupted(longText);
    auto patterns = base;
    patterns[10] = "1001";
    expectCorrupted(patterns);
}

TEST(JobFile, FirstLineDecidesTheFormat) {
    ScriptedDialogs dialogs;
    CuttingJob job;
    EXPECT_EQ(DoOpen({"Tallora Datafile", "// Stock length data"}, job, dialogs).Status,
              ReadStatus::OldVersion);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(DoOpen({"Hello"}, job, dialogs).Status, ReadStatus::NotADataFile);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{NotADataFileMessage});
}

TEST(TextFile, CodePageLineEndsAndSafeSaving) {
    EXPECT_EQ(Windows1252FromUtf8("£ € é 中"), "\xA3 \x80 \xE9 ?");
    EXPECT_EQ(Utf8FromWindows1252("\xA3\x80\x81"), "£€\uFFFD");
    EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd\r\n\r\n"),
              (std::vector<std::string>{"a", "b", "c", "d", ""}));
    EXPECT_EQ(SplitTextLines("last"), std::vector<std::string>{"last"});

    TempFolder temp;
    const std::string path = temp.File("job.tlf");
    WriteBytes(path, "old");
    EXPECT_EQ(WriteTextFile(path, {"new", ""}), "");
    EXPECT_EQ(ReadBytes(path), "new\r\n\r\n");
    // A folder in the way: the save fails with the system's text and leaves nothing behind.
    std::filesystem::create_directory(temp.File("folder.tlf"));
    WriteBytes(temp.File("folder.tlf") + "/inside", "x");
    EXPECT_NE(WriteTextFile(temp.File("folder.tlf"), {"x"}), "");
    EXPECT_NE(WriteTextFile(temp.File("missing/job.tlf"), {"x"}), "");
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(temp.Path()))
        ++files;
    EXPECT_EQ(files, 2u);

    std::string error;
    EXPECT_FALSE(ReadTextFile(temp.File("nothing.tlf"), error).has_value());
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace tallora
