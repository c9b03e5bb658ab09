#include "results/CuttingListCsv.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

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

}  // namespace
}  // namespace tallora
