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

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;
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

TEST(JobFile, EmptyJobLayoutReadBack) {
    const Lines lines = JobFileLines(JobInput{}, CalculationResult{}, Statistics{});
    ASSERT_GE(lines.size(), 11u);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 11),
              (Lines{"TA DataFile", "0", "0", "0", "", "", "", "0", "0", "Tonne", "0"}));
    // 32 statistics, the offcut total, four empty tables and their totals, the allowances, the
    // costing section and last the Hold.
    EXPECT_EQ(lines.size(), 11u + 32 + 1 + 1 + 1 + 1 + 2 + 1 + 3 + 11 + 1);
    EXPECT_EQ(lines[lines.size() - 15], "25");  // Trim
    EXPECT_EQ(lines[lines.size() - 14], "3");   // Kerf
    EXPECT_EQ(lines[lines.size() - 12], "Tonne");
    EXPECT_EQ(lines[lines.size() - 2], "");  // the default name of the third charge
    EXPECT_EQ(lines.back(), "0");

    Reader reader(0);
    const JobFileRead result = reader.Read(lines);
    EXPECT_EQ(result.Status, ReadStatus::Loaded);
    EXPECT_FALSE(result.ResultsValid);
    EXPECT_TRUE(reader.dialogs.messages.empty());
    EXPECT_EQ(JobFileLines(reader.job.Input, reader.job.Result, result.Stats), lines);

    // Numbers written with a comma load.
    Lines comma = lines;
    comma[7] = "16,4";
    Reader commaReader;
    EXPECT_EQ(commaReader.Read(comma).Status, ReadStatus::Loaded);
    EXPECT_EQ(commaReader.job.Input.Section.Weight, 16.4);

    // The first line decides the format.
    EXPECT_EQ(Reader().Read({"Tallora Datafile", "// Stock length data"}).Status,
              ReadStatus::OldVersion);
    Reader hello;
    EXPECT_EQ(hello.Read({"Hello"}).Status, ReadStatus::NotADataFile);
    EXPECT_EQ(hello.dialogs.messages, Lines{NotADataFileMessage});
}

// A calculated job saved, read and saved again is the same bytes: every field read is written.
// Its marks travel in a record of their own after everything else.
TEST(JobFile, CutMarksTravelInARecordOfTheirOwnAndAJobWithoutThemSavesAsBefore) {
    TempFolder temp;
    const TestJob job = CalculatedJob();
    ASSERT_GT(job.Result.PatternCount(), 0);
    ASSERT_FALSE(job.Result.Cuts.empty());  // the stock runs out
    TestJob marked = job;
    marked.Input.CutRows[0].Mark = "Door A";
    marked.Input.CutRows[2].Mark = "Post, left é";
    TestJob offcutOnly = job;
    // Stock rows of inventory offcuts are ordinary stock rows in the file.
    offcutOnly.Input.StockRows[0].Mark = InventoryOffcutMark(12);
    offcutOnly.Result.InputStockMark.assign(job.Input.StockRows.size(), InventoryOffcutMark(12));
    TestJob copy = job;
    const Statistics stats = testing::StatsOf(copy);
    const std::string plain = temp.File("plain.tlf");
    const std::string stockMarks = temp.File("stock.tlf");
    const std::string withMarks = temp.File("marks.tlf");
    ASSERT_EQ(SaveFile(plain, job.Input, job.Result, stats), "");
    ASSERT_EQ(SaveFile(stockMarks, offcutOnly.Input, offcutOnly.Result, stats), "");
    ASSERT_EQ(SaveFile(withMarks, marked.Input, marked.Result, stats), "");
    EXPECT_EQ(ReadBytes(stockMarks), ReadBytes(plain));
    // The plain file, then the record: nothing before it moves.
    const std::string bytes = ReadBytes(withMarks);
    ASSERT_TRUE(bytes.starts_with(ReadBytes(plain)));
    EXPECT_EQ(bytes.substr(ReadBytes(plain).size()),
              "Marks\r\n3\r\nDoor A\r\n\r\nPost, left \xE9\r\n");
    EXPECT_NE(bytes.find("M\xFCller & S\xF6hne\r\nRef \xA3"
                         "42\r\n"),
              std::string::npos);

    Reader reader;
    std::string error;
    const JobFileRead read = reader.Read(*ReadTextFile(withMarks, error));
    ASSERT_EQ(read.Status, ReadStatus::Loaded);
    EXPECT_TRUE(read.ResultsValid);
    EXPECT_EQ(reader.dialogs.messages, Lines{SettingsChangedMessage});
    EXPECT_EQ(reader.job.Input.Section.Customer, "Müller & Söhne");
    EXPECT_EQ(reader.job.Input.CutRows, marked.Input.CutRows);
    EXPECT_EQ(reader.job.Input.StockRows, job.Input.StockRows);
    const std::string again = temp.File("again.tlf");
    ASSERT_EQ(SaveFile(again, reader.job.Input, reader.job.Result, stats), "");
    EXPECT_EQ(ReadBytes(again), bytes);
}

// After the Hold line only known records may follow, whole; a blank line an editor leaves at
// the end reads as nothing. A length beyond a metric job's limit is refused at its row, even
// though the reader learns the units at the end.
TEST(JobFile, RecordsAfterTheHoldAreKnownOrTheFileIsCorrupted) {
    TestJob job = CalculatedJob();
    job.Input.CutRows[1].Mark = "B12";
    Lines good = JobFileLines(job.Input, job.Result, testing::StatsOf(job));
    const auto tag = std::find(good.begin(), good.end(), "Marks") - good.begin();
    good.resize(static_cast<size_t>(tag));
    struct Case {
        Lines Tail;
        std::string Reason;  // "" for a file that loads
        int Offset;          // of the line blamed from the tag's
    };
    const Case cases[] = {
        {{"Colours"}, "'Colours' is not a record of a job file", 0},
        {{"Marks", "4"}, "the marks are for 4 cut rows, not the 3 of the job", 1},
        {{"Marks", "three"}, "'three' is not a number of cut rows", 1},
        {{"Units", "imperial 1/64"}, "'imperial 1/64' is not \"imperial\" and a precision", 1},
        {{"Units", "metric"}, "'metric' is not \"imperial\" and a precision", 1},
        {{"Units"}, "the file ends before the job does", 1},
        {{""}, "", 0},
        {{"Marks", "3", "", "B12", "", ""}, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Tail.front());
        Lines lines = good;
        lines.insert(lines.end(), c.Tail.begin(), c.Tail.end());
        Reader reader;
        const JobFileRead read = reader.Read(lines);
        if (c.Reason.empty()) {
            EXPECT_EQ(read.Status, ReadStatus::Loaded);
            continue;
        }
        ASSERT_EQ(read.Status, ReadStatus::Corrupted);
        EXPECT_EQ(read.Fault.Line, tag + 1 + c.Offset);
        EXPECT_NE(read.Fault.Reason.find(c.Reason), std::string::npos) << read.Fault.Reason;
    }
    // 20000 is an imperial length (52' 1"), not a metric one.
    good[2] = "* @ 20000";
    const JobFileRead read = Reader().Read(good);
    ASSERT_EQ(read.Status, ReadStatus::Corrupted);
    EXPECT_EQ(read.Fault.Line, 3);
}

// A file's settings become the program's, limited as their fields limit them, with a message
// when they change it; a file without the costing section or the Hold keeps the program's.
TEST(JobFile, ShortFileWithoutCostingAndTheSettingsMessage) {
    // A file's lines up to its settings, without the costing section and the Hold.
    auto linesWith = [](int trim, int kerf, int offcut) {
        TestJob job;
        job.Input.StockRows = {{"ANY", "6000"}};  // read back as "*"
        job.Input.Allowances.Trim = trim;
        job.Input.Allowances.Kerf = kerf;
        job.Input.Allowances.Offcut = offcut;
        auto lines = JobFileLines(job.Input, job.Result, Statistics{});
        lines.resize(lines.size() - 12);
        return lines;
    };
    EXPECT_EQ(linesWith(25, 3, 3000)[2], "* @ 6000");  // written as *, however typed
    struct Case {
        int trim, kerf, offcut;
        size_t messages;
    };
    for (const Case c : {Case{25, 3, 3000, 0}, Case{25, 4, 3000, 1}, Case{30, 5, 400, 1}}) {
        Reader reader;
        reader.job.Input.Costing.CCutValue = 7;
        reader.job.Input.Costing.OtherName1 = "Galv";
        EXPECT_EQ(reader.Read(linesWith(c.trim, c.kerf, c.offcut)).Status, ReadStatus::Loaded);
        EXPECT_EQ(reader.dialogs.messages.size(), c.messages);
        EXPECT_EQ(reader.job.Input.Allowances.Kerf, c.kerf);
        EXPECT_EQ(reader.job.Input.Allowances.Hold, 25);  // not in the file
        EXPECT_EQ(reader.job.Input.Costing.CCutValue, 7);
        EXPECT_EQ(reader.job.Input.Costing.OtherName1, "Galv");
        EXPECT_EQ(reader.job.Input.StockRows[0].Quantity, "*");
    }
    // Values outside the fields' ranges are limited as the fields limit them.
    Reader reader;
    reader.Read(linesWith(999, 0, 30000));
    EXPECT_EQ(reader.job.Input.Allowances.Trim, 250);
    EXPECT_EQ(reader.job.Input.Allowances.Kerf, 1);
    EXPECT_EQ(reader.job.Input.Allowances.Offcut, 18300);

    // A file with the Hold: its results were worked out with it, so the setting follows, with
    // the message, and is limited as its field limits it.
    TestJob job;
    job.Input.Allowances.Hold = 50;
    Lines lines = JobFileLines(job.Input, job.Result, Statistics{});
    Reader held(0);
    EXPECT_EQ(held.Read(lines).Status, ReadStatus::Loaded);
    EXPECT_EQ(held.job.Input.Allowances.Hold, 50);
    EXPECT_EQ(held.dialogs.messages, Lines{SettingsChangedMessage});
    Reader same(50);
    same.Read(lines);
    EXPECT_TRUE(same.dialogs.messages.empty());
    lines.back() = "9999";
    Reader limited;
    limited.Read(lines);
    EXPECT_EQ(limited.job.Input.Allowances.Hold, 500);
    lines.back() = "fifty";
    EXPECT_EQ(Reader().Read(lines).Status, ReadStatus::Corrupted);
}

// An imperial job's file names its units in a record after the Hold line, reopens as the same
// job, and saves to the same bytes; a metric job's file has no such record.
TEST(JobFile, AnImperialJobReopensAsTheSameJob) {
    TestJob job = testing::MakeJob({{"*", "7680"}}, {{"12", "2416"}, {"3", "1279"}}, 4, 16, 0);
    job.Input.Units = JobUnits::ImperialIn(ImperialPrecision::ThirtySecond);
    job.Input.Allowances.NoOffcuts = false;  // the reader's own setting
    job.Input.Allowances.Offcut = 3840;
    job.Input.Section = {"", "", "W8x31", 31, 52.5, "Cwt"};
    testing::CalculateAsTheProgramsDo(job);
    ASSERT_GT(job.Result.PatternCount(), 0);
    const Lines lines = JobFileLines(job.Input, job.Result, testing::StatsOf(job));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ((Lines{lines.end() - 2, lines.end()}), (Lines{"Units", "imperial 1/32"}));

    Reader reader;
    const JobFileRead read = reader.Read(lines);
    ASSERT_EQ(read.Status, ReadStatus::Loaded) << read.Fault.Reason;
    EXPECT_EQ(reader.job.Input, job.Input);
    EXPECT_EQ(JobFileLines(reader.job.Input, reader.job.Result, read.Stats), lines);

    TestJob metric = CalculatedJob();
    const Lines metricLines = JobFileLines(metric.Input, metric.Result, testing::StatsOf(metric));
    EXPECT_EQ(std::count(metricLines.begin(), metricLines.end(), "Units"), 0);
    // Read over the imperial job, the metric file is metric.
    Reader over;
    over.job.Input = job.Input;
    ASSERT_EQ(over.Read(metricLines).Status, ReadStatus::Loaded);
    EXPECT_EQ(over.job.Input.Units, JobUnits::Metric());
    EXPECT_EQ(over.job.Input.Allowances, metric.Input.Allowances);
}

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

TEST(JobFile, ARowIsSplitByCharactersNotBytes) {
    // A Windows-1252 byte beside the "@" is one character once read: it goes, and only it.
    TempFolder temp;
    const std::string path = temp.File("accents.tlf");
    WriteBytes(path,
               "TA DataFile\r\n1\r\n4\xE9@\xE9"
               "12000\r\n");
    std::string error;
    const auto lines = ReadTextFile(path, error);
    ASSERT_TRUE(lines);
    EXPECT_EQ(SplitRowLine((*lines)[2]), (ListRow{"4", "12000"}));
    EXPECT_EQ(SplitRowLine("é€@中x"), (ListRow{"é", "x"}));
    EXPECT_EQ(SplitRowLine("@"), (ListRow{"", ""}));
}

TEST(TextFile, CodePageLineEndsAndSafeSaving) {
    EXPECT_EQ(Windows1252FromUtf8("£ € é 中"), "\xA3 \x80 \xE9 ?");
    EXPECT_EQ(Utf8FromWindows1252("\xA3\x80\x81"), "£€\uFFFD");
    EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd\r\n\r\n"), (Lines{"a", "b", "c", "d", ""}));
    EXPECT_EQ(SplitTextLines("last"), Lines{"last"});

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
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), 2);

    std::string error;
    EXPECT_FALSE(ReadTextFile(temp.File("nothing.tlf"), error).has_value());
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace tallora
