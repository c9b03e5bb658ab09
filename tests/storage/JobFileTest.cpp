#include "storage/JobFile.h"

#include <gtest/gtest.h>

#include <climits>

#include <filesystem>

#include "commands/Calculate.h"
#include "commands/OpenJob.h"
#include "job/Capacities.h"
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
