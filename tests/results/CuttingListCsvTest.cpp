#include "results/CuttingListCsv.h"

#include <gtest/gtest.h>

#include <map>

#include "entry/ListEntry.h"
#include "entry/PastedRows.h"
#include "results/Statistics.h"
#include "support/CsvReading.h"
#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

using testing::Fields;
using testing::ReadCsv;

const Fields Header = {"Pattern",        "Stock Length",  "Bars",           "Cut Length",
                       "Pieces per Bar", "Pieces in All", "Offcut per Bar", "Mark"};

TEST(CsvField, QuotedOnlyWhenItHoldsACommaAQuoteOrALineBreak) {
    EXPECT_EQ(CsvField("Door A"), "Door A");
    EXPECT_EQ(CsvField(""), "");
    EXPECT_EQ(CsvField("Door, left"), "\"Door, left\"");
    EXPECT_EQ(CsvField("3/4\" pipe"), "\"3/4\"\" pipe\"");
    EXPECT_EQ(CsvField("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(CsvLine({"1", "a,b", ""}), "1,\"a,b\",\r\n");
    EXPECT_EQ(CsvNumber(1234.5, 2), "1234.50");
    EXPECT_EQ(CsvNumber(0.0049, 2), "0.00");
    EXPECT_EQ(CsvNumber(-0.001, 2), "0.00");
    EXPECT_EQ(CsvNumber(-1.5, 2), "-1.50");
    EXPECT_EQ(CsvNumber(1500.0), "1500");
    EXPECT_EQ(CsvNumber(2.25), "2.25");
}

TEST(CsvText, WhatASpreadsheetWouldTakeForAFormulaIsMarkedAsTextAndReadBackAsItWas) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"=SUM(A1:A9)", "'=SUM(A1:A9)"},
        {"+1", "'+1"},
        {"-A7", "'-A7"},
        {"@cmd", "'@cmd"},
        {"\t=1", "'\t=1"},
        {"\r=1", "'\r=1"},
        // An apostrophe of the user's own stays: one more goes before it.
        {"'=1", "''=1"},
        {"''+x", "'''+x"},
        // Nothing a spreadsheet would run.
        {"Door A", "Door A"},
        {"A=1", "A=1"},
        {"'quoted", "'quoted"},
        {"'", "'"},
        {"", ""},
    };
    for (const auto& [text, field] : cases) {
        EXPECT_EQ(CsvText(text), field) << text;
        EXPECT_EQ(FromCsvText(CsvText(text)), text) << text;
    }
    // A field no export wrote is read as it stands.
    EXPECT_EQ(FromCsvText("'quoted"), "'quoted");
    EXPECT_EQ(FromCsvText("plain"), "plain");
}

TEST(CuttingListCsv, TheWorkedExampleLineByLine) {
    // Two bars of 6000 (5950 usable, trim 25, hold 25), each 3 x 1500 and 1 x 1000 with a kerf
    // of 3: 5950 - 3 x 1503 - 1003 + 25 of hold = 463 returned per bar.
    TestJob job = testing::WorkedExampleJob(400);
    job.Input.CutRows = {{"6", "1500", "Rail"}, {"2", "1000", "Post, \"B\""}};
    testing::StatsOf(job);
    EXPECT_EQ(CuttingListCsv(job.Input, job.Result),
              "Pattern,Stock Length,Bars,Cut Length,Pieces per Bar,Pieces in All,Offcut per Bar,"
              "Mark\r\n"
              "1,6000,2,1500,3,6,463,Rail\r\n"
              "1,6000,2,1000,1,2,463,\"Post, \"\"B\"\"\"\r\n");

    // Nothing is returned when all waste is scrapped, nor below the shortest offcut.
    TestJob scrapped = testing::WorkedExampleJob(400, true);
    testing::StatsOf(scrapped);
    EXPECT_EQ(ReadCsv(CuttingListCsv(scrapped.Input, scrapped.Result))[1][6], "0");
    TestJob short_ = testing::WorkedExampleJob(500);
    testing::StatsOf(short_);
    EXPECT_EQ(ReadCsv(CuttingListCsv(short_.Input, short_.Result))[2][6], "0");
}

// A calculated job with limited stock, offcuts returned and marks on two of its cut rows.
TestJob CalculatedJob() {
    TestJob job =
        testing::MakeJob({{"4", "6000"}, {"*", "4500"}},
                         {{"7", "2400"}, {"9", "1750"}, {"5", "990"}, {"3", "3100"}}, 4, 20, 15);
    job.Input.Allowances.NoOffcuts = false;
    job.Input.Allowances.Offcut = 600;
    job.Input.CutRows[0].Mark = "Rafter";
    job.Input.CutRows[2].Mark = "Brace, short";
    const testing::Calculated run(job);
    EXPECT_TRUE(run.outcome.Completed);
    testing::StatsOf(job);
    return job;
}

TEST(CuttingListCsv, ThePiecesReadBackAreTheDemandEntered) {
    const TestJob job = CalculatedJob();
    ASSERT_EQ(job.Result.RemainingPieces, 0);
    // Each line's pieces in all, length and mark, as rows of a file to import.
    std::string rows = "Quantity,Length,Mark\r\n";
    const std::vector<Fields> lines = ReadCsv(CuttingListCsv(job.Input, job.Result));
    for (size_t i = 1; i < lines.size(); ++i)
        rows += CsvLine({lines[i][5], lines[i][3], lines[i][7]});
    const PastedRows read = RowsFromText(rows);
    EXPECT_TRUE(read.NotRows.empty());
    std::vector<ListRow> imported;
    for (const PastedRow& row : read.Rows) {
        ASSERT_EQ(CommitCutRow(imported, row.Quantity, row.Length, row.Mark).Status,
                  CommitStatus::Committed);
    }
    // Rows of equal length merged: the same quantity and mark per length as entered.
    auto byLength = [](const std::vector<ListRow>& items) {
        std::map<std::string, std::pair<std::string, std::string>> rows;
        for (const ListRow& item : items) rows[item.Length] = {item.Quantity, item.Mark};
        return rows;
    };
    EXPECT_EQ(byLength(imported), byLength(job.Input.CutRows));
    EXPECT_EQ(imported.size(), job.Input.CutRows.size());
}

}  // namespace
}  // namespace tallora
