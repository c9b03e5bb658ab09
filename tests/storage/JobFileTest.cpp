#include "storage/JobFile.h"

#include <gtest/gtest.h>

#include <climits>

#include <filesystem>

#include "commands/Calculate.h"
#include "commands/OpenJob.h"
#include "storage/TextFile.h"
#include "support/CalculateJob.h"
#include "support/EngineTestSupport.h"
#include "support/StorageTestSupport.h"

namespace tallora {
namespace {

using Lines = std::vector<std::string>;

// A calculated job with limited stock, pieces left over, offcuts, section data and charges.
TestJob CalculatedJob() {
    TestJob job = testing::MakeJob({{"2", "6000"}, {"1", "4000"}},
                                   {{"3", "2400"}, {"5", "1750"}, {"4", "3900"}}, 3, 25, 25);
    job.Input.Allowances.NoOffcuts = false;
    job.Input.Allowances.Offcut = 500;
    job.Input.Section = {"Müller & Söhne", "Ref £42", "", 16.4, 720.5, "Tonne"};
    job.Input.Costing.CCutType = "Cut";
    job.Input.Costing.CCutValue = 0.85;
    job.Input.Costing.OtherName2 = "Painting";
    testing::CalculateAsTheProgramsDo(job);
    return job;
}

// Reads lines into a fresh job with the allowances a reader starts from.
struct Reader {
    testing::ScriptedDialogs dialogs;
    TestJob job;
    explicit Reader(int hold = 25) { job.Input.Allowances.Hold = hold; }
    JobFileRead Read(const Lines& lines) {
        return OpenJob(lines, job.Input, job.Result, dialogs).Read;
    }
};

// With a vice hold in force, a shipped job without the Hold record would be read with that
// hold: its bars would count longer than they were entered.
TEST(JobFile, EveryShippedJobCarriesItsHold) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TALLORA_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".tlf") continue;
        ++files;
        std::string error;
        const auto lines = ReadTextFile(entry.path().string(), error);
        ASSERT_TRUE(lines) << error;
        TestJob job;
        job.Input.Allowances.Hold = 50;
        const JobFileRead read = ReadJobLines(*lines, job.Input, job.Result);
        ASSERT_EQ(read.Status, ReadStatus::Loaded) << entry.path();
        long long entered = 0;  // the stock used at the lengths the rows give
        for (int j = 0; j < job.Result.InputStockCount(); ++j) {
            entered += 1LL * job.Result.StockBarsUsed[j] *
                       (job.Result.InputStockLength[j] + job.Input.Allowances.Trim);
        }
        EXPECT_EQ(job.Input.Allowances.Hold, 0) << entry.path();
        EXPECT_DOUBLE_EQ(read.Stats.StatMetres[StockBarsUsedRow], entered / 1000.0) << entry.path();
        // Saved again, the file is what is shipped.
        EXPECT_EQ(JobFileLines(job.Input, job.Result, read.Stats), *lines) << entry.path();
    }
    EXPECT_GE(files, 3);
}

TEST(JobFile, ACorruptedFileKeepsWhatWasReadBeforeTheBadLine) {
    TestJob job = CalculatedJob();
    const auto lines = JobFileLines(job.Input, job.Result, testing::StatsOf(job));
    const auto patterns = std::find(lines.begin(), lines.end(), "Tonne") - lines.begin() + 1;

    Reader reader;
    const JobFileRead result = reader.Read({lines.begin(), lines.begin() + patterns + 4});
    EXPECT_EQ(result.Status, ReadStatus::Corrupted);
    EXPECT_EQ(reader.dialogs.messages.back(), CorruptedDataMessage);
    EXPECT_FALSE(result.ResultsValid);
    EXPECT_EQ(reader.job.Input.StockRows.size(), job.Input.StockRows.size());
    EXPECT_EQ(reader.job.Input.CutRows, job.Input.CutRows);
    EXPECT_EQ(reader.job.Result.CuttingListLines, job.Result.CuttingListLines);
    EXPECT_EQ(reader.job.Input.Section.Customer, job.Input.Section.Customer);

    // Every shorter file stops cleanly: nothing past the tables, never a crash.
    for (size_t n = 0; n < lines.size(); ++n) {
        const auto status = Reader().Read({lines.begin(), lines.begin() + n}).Status;
        if (n == 0) EXPECT_EQ(status, ReadStatus::NotADataFile);
        // Complete without the costing section and the Hold, or with the charges but not all of
        // the names and the Hold after them.
        else if (n == lines.size() - 12 || n >= lines.size() - 4)
            EXPECT_EQ(status, ReadStatus::Loaded) << n;
        else
            EXPECT_NE(status, ReadStatus::Loaded) << n;
    }
}

TEST(JobFile, PatternsThatCannotBeRealAreCorrupted) {
    // One pattern of one length on 6000 mm bars, the job asking for `asked` pieces of 1000 mm
    // (kerf 3): the figures of its record changed.
    auto lines = [](const std::string& stock, const std::string& bars, const std::string& length,
                    const std::string& pieces, int asked) {
        TestJob job;
        job.Result.InputStockLength = {6000};
        job.Result.InputCutLength = {1003};
        job.Result.InputCutQuantity = {asked};
        job.Result.TotalPieces = asked;
        // As large as an int holds: such a job's total is out of reach anyway.
        job.Result.TotalCutLength = static_cast<int>(std::min<long long>(1000LL * asked, INT_MAX));
        job.Result.Patterns = {testing::Pattern(6000, 1, {1003}, {1})};
        Lines all = JobFileLines(job.Input, job.Result, Statistics{});
        const auto at = std::find(all.begin(), all.end(), "Tonne") - all.begin() + 1;
        all[at + 1] = stock, all[at + 2] = bars, all[at + 4] = length, all[at + 5] = pieces;
        return all;
    };
    EXPECT_EQ(Reader().Read(lines("6000", "2", "1003", "5", 10)).Status, ReadStatus::Loaded);
    const std::vector<Lines> unreal = {
        lines("6000", "1", "1003", "2147483647", 2147483647),  // longer than any bar
        lines("6000", "3000000", "5", "1000", 2147483647),     // more pieces than 2^31 - 1
        lines("6000", "2", "1003", "5", 9),                    // more than the job asked for
        lines("6000", "2", "1003", "4", 10),                   // fewer, and none left
        lines("3000", "1", "1003", "3", 3),                    // longer than its bar
    };
    for (const Lines& file : unreal) {
        Reader reader;
        EXPECT_EQ(reader.Read(file).Status, ReadStatus::Corrupted);
        EXPECT_TRUE(reader.job.Result.Patterns.size() <= 1u);
    }
}

// A stored result is held to what a calculation gives, and every row and figure to the rule of
// the field it is typed in: a file that breaks one stops at that line and says why.
TEST(JobFile, AFileIsHeldToTheRulesOfANewJobAndSaysWhereItBreaksThem) {
    TestJob job = CalculatedJob();
    const Lines good = JobFileLines(job.Input, job.Result, testing::StatsOf(job));
    ASSERT_EQ(Reader().Read(good).Status, ReadStatus::Loaded);
    // Where the parts of the file begin: the rows, the patterns, the tables and the charges.
    const size_t stock = 2;
    const size_t cuts = stock + job.Input.StockRows.size() + 1;
    const size_t patterns =
        static_cast<size_t>(std::find(good.begin(), good.end(), "Tonne") - good.begin()) + 1;
    const size_t charges = good.size() - 12;
    const size_t totalPieces = charges - 3 - 1 - 2 * job.Result.InputCutCount() - 2;
    ASSERT_EQ(good[totalPieces], std::to_string(job.Result.TotalPieces));
    const CuttingPattern& first = job.Result.Patterns.front();

    struct Case {
        std::string Name;
        size_t Line;  // from 0
        std::string Text;
        std::string Reason;
        size_t Blamed = 0;  // the line named, from 0, when not Line: a pattern's first
    };
    const std::vector<Case> cases = {
        {"a bar of 0mm", stock, "* @ 0", "0mm is shorter than the minimum allowed length"},
        {"no pieces", cuts + 1, "0 @ 1500", "A quantity of 0 adds nothing to the list"},
        {"too long", cuts + 1, "2 @ 18301", "18301mm is greater than the maximum allowed length"},
        {"no row", cuts + 1, "2 1500", "'2 1500' is not a row"},
        {"more stock rows than a job has", stock - 1, "101",
         "'101' is not a number of stock rows from 0 to 100"},
        {"a count below 0", cuts - 1, "-1", "'-1' is not a number of cut rows from 0 to 1000"},
        {"more lines than a list has", cuts + job.Input.CutRows.size(), "100001",
         "'100001' is not a number of lines from 0 to 100000"},
        {"a negative weight", patterns - 3, "-5", "'-5' is not a weight from 0 to 9999.999"},
        {"a cost past its field", patterns - 2, "1e300", "'1e300' is not a price from 0 to"},
        {"a charge past its field", charges + 1, "1e300",
         "'1e300' is not a charge from 0 to 99999.99"},
        {"a pattern of no bars", patterns + 2, "0", "'0' is not a number of bars from 1 to"},
        {"a pattern of no lengths", patterns + 3, "0", "'0' is not a number of cut lengths"},
        {"a cut length of 0", patterns + 4, "0", "'0' is not a cut length from 1 to"},
        {"a pattern of no pieces", patterns + 5, "0", "'0' is not a number of pieces from 1"},
        {"a bar the job never had", patterns + 1, std::to_string(first.StockLength - 1),
         "pattern 1's bar of " + std::to_string(first.StockLength - 1) +
             "mm is none of the job's stock lengths"},
        {"a length the job never asked for", patterns + 4, std::to_string(first.CutLength[0] - 1),
         "pattern 1 cuts pieces of " + std::to_string(first.CutLength[0] - 4) +
             "mm, which the job does not ask for",
         patterns + 1},
        {"pieces not the sum of the rows", totalPieces, std::to_string(job.Result.TotalPieces + 1),
         "the job's pieces are "},
        {"a total length of no kerf", totalPieces + 1,
         std::to_string(job.Result.TotalCutLength + 1), "the total cut length does not fit"},
        {"cut short", good.size() - 20, "", "the file ends before the job does"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Lines file = good;
        if (c.Name == "cut short") {
            file.resize(c.Line);
        } else {
            file[c.Line] = c.Text;
        }
        Reader reader;
        const JobFileRead read = reader.Read(file);
        EXPECT_EQ(read.Status, ReadStatus::Corrupted);
        const size_t blamed = c.Name == "cut short" ? file.size() : c.Blamed ? c.Blamed : c.Line;
        EXPECT_EQ(read.Fault.Line, static_cast<int>(blamed + 1));
        EXPECT_NE(read.Fault.Reason.find(c.Reason), std::string::npos) << read.Fault.Reason;
        EXPECT_FALSE(read.ResultsValid);
        // A result that cannot be read whole, or does not add up, is not kept.
        if (c.Line >= patterns && c.Line < charges) {
            EXPECT_TRUE(reader.job.Result.Patterns.empty());
        }
    }
}

}  // namespace
}  // namespace tallora
