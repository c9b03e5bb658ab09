#include "results/CuttingListCsv.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/EngineTestSupport.h"

namespace tallora {
namespace {

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

// The worked example: a line for each cut length of each pattern, its mark quoted as a
// spreadsheet reads it. Two bars of 6000 (5950 usable, trim 25, hold 25), each 3 x 1500 and
// 1 x 1000 with a kerf of 3: 5950 - 3 x 1503 - 1003 + 25 of hold = 463 returned per bar.
TEST(CuttingListCsv, TheWorkedExampleLineByLine) {
    TestJob job = testing::WorkedExampleJob(400);
    job.Input.CutRows = {{"6", "1500", "Rail"}, {"2", "1000", "Post, \"B\""}};
    testing::StatsOf(job);
    EXPECT_EQ(CuttingListCsv(job.Input, job.Result),
              "Pattern,Stock Length,Bars,Cut Length,Pieces per Bar,Pieces in All,Offcut per Bar,"
              "Mark\r\n"
              "1,6000,2,1500,3,6,463,Rail\r\n"
              "1,6000,2,1000,1,2,463,\"Post, \"\"B\"\"\"\r\n");
}

}  // namespace
}  // namespace tallora
