#include "entry/PastedRows.h"

#include <gtest/gtest.h>

#include "job/RowTexts.h"

namespace tallora {
namespace {

std::vector<ListRow> RowsOf(const PastedRows& pasted) {
    std::vector<ListRow> rows;
    for (const PastedRow& row : pasted.Rows) rows.push_back({row.Quantity, row.Length});
    return rows;
}

std::vector<int> LinesOf(const PastedRows& pasted) {
    std::vector<int> lines;
    for (const PastedRow& row : pasted.Rows) lines.push_back(row.Line);
    return lines;
}

TEST(ParsePastedRows, EverySeparatorAndLineEndReadsTheSameRows) {
    const std::vector<ListRow> expected{{"5", "6000"}, {"12", "1500"}};
    for (const char* text : {"5\t6000\n12\t1500", "5\t6000\r\n12\t1500\r\n", "5,6000\n12,1500\n",
                             "5;6000\r12;1500", "5 6000\n  12    1500  \n\n",
                             "\"5\",\"6000\"\n\"12\",\"1500\"", "5\t6000\t\t\n12\t1500"}) {
        const PastedRows pasted = ParsePastedRows(text);
        EXPECT_EQ(RowsOf(pasted), expected) << text;
        EXPECT_TRUE(pasted.NotRows.empty()) << text;
        EXPECT_FALSE(pasted.HeaderSkipped) << text;
    }
    // A tab decides over the blanks inside a field.
    EXPECT_EQ(RowsOf(ParsePastedRows("5 \t 6000")), (std::vector<ListRow>{{"5", "6000"}}));
}

TEST(ParsePastedRows, AFirstLineWithoutANumberIsAHeaderAndLinesKeepTheirNumbers) {
    const PastedRows pasted = ParsePastedRows("Quantity\tLength\r\n3\t2400\r\n\r\n*\t6000\r\n");
    EXPECT_TRUE(pasted.HeaderSkipped);
    EXPECT_EQ(RowsOf(pasted), (std::vector<ListRow>{{"3", "2400"}, {"*", "6000"}}));
    EXPECT_EQ(LinesOf(pasted), (std::vector<int>{2, 4}));

    // Only the first line can be a header; an unlimited mark is a number there.
    const PastedRows later = ParsePastedRows("2 100\nQty Length\nany 7000");
    EXPECT_FALSE(later.HeaderSkipped);
    EXPECT_EQ(RowsOf(later),
              (std::vector<ListRow>{{"2", "100"}, {"QTY", "LENGTH"}, {"ANY", "7000"}}));
    EXPECT_FALSE(ParsePastedRows("ANY\t6000").HeaderSkipped);
}

TEST(ParsePastedRows, LinesThatAreNotTwoFieldsAreReportedWithTheirNumber) {
    const PastedRows pasted = ParsePastedRows("4,1000\n7\n1,2,3\n2,900");
    EXPECT_EQ(RowsOf(pasted), (std::vector<ListRow>{{"4", "1000"}, {"2", "900"}}));
    ASSERT_EQ(pasted.NotRows.size(), 2u);
    EXPECT_EQ(pasted.NotRows[0].Line, 2);
    EXPECT_NE(pasted.NotRows[0].Reason.find("'7'"), std::string::npos);
    EXPECT_EQ(pasted.NotRows[1].Line, 3);
    EXPECT_NE(pasted.NotRows[1].Reason.find("'1,2,3'"), std::string::npos);
}

TEST(IsRowsText, ASingleValueIsNotRows) {
    EXPECT_FALSE(IsRowsText("12"));
    EXPECT_FALSE(IsRowsText("  12 \r\n"));
    EXPECT_FALSE(IsRowsText(""));
    EXPECT_TRUE(IsRowsText("12\t3000"));
    EXPECT_TRUE(IsRowsText("12\n3000"));
    EXPECT_TRUE(IsRowsText("Quantity,Length\n"));
}

TEST(RowsText, CopiedRowsPasteBackAsTheSameRows) {
    const std::vector<ListRow> rows{{"*", "6000"}, {"ANY", "4000"}, {"3", "05000"}};
    const std::string text = RowsText(rows);
    EXPECT_EQ(text.substr(0, 7), "*\t6000\n");
    EXPECT_EQ(RowsOf(ParsePastedRows(text)), rows);
}

TEST(PasteFailuresMessage, OneLineEachInLineOrderWithTheTypedEntryReason) {
    const std::string reason = ReasonOf(LengthTooLongMessage("18301"));
    EXPECT_EQ(reason, "18301mm is greater than the maximum allowed length of 18300mm.");
    const std::string message =
        PasteFailuresMessage({{5, reason}, {2, ReasonOf(ZeroQuantityMessage())}}, 6);
    EXPECT_EQ(message.find("2 of the 6 pasted lines were not added:"), 0u);
    const size_t line2 = message.find("\r\nLine 2: A quantity of 0");
    const size_t line5 = message.find("\r\nLine 5: " + reason);
    EXPECT_NE(line2, std::string::npos);
    EXPECT_NE(line5, std::string::npos);
    EXPECT_LT(line2, line5);
    EXPECT_EQ(message.find("Please check"), std::string::npos);

    std::vector<PasteFailure> many;
    for (int line = 1; line <= 25; ++line) many.push_back({line, "bad"});
    const std::string capped = PasteFailuresMessage(many, 25, 20);
    EXPECT_NE(capped.find("Line 20: bad"), std::string::npos);
    EXPECT_EQ(capped.find("Line 21:"), std::string::npos);
    EXPECT_NE(capped.find("and 5 more."), std::string::npos);
}

}  // namespace
}  // namespace tallora
