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
    EXPECT_EQ(RowsOf(ParsePastedRows("Quantity\tLength\nQty\tLength\n3\t2400")),
              (std::vector<ListRow>{{"QTY", "LENGTH"}, {"3", "2400"}}));
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

struct MarkedRow {
    std::string Quantity, Length, Mark;
    bool operator==(const MarkedRow&) const = default;
};

std::vector<MarkedRow> MarkedRowsOf(const PastedRows& pasted) {
    std::vector<MarkedRow> rows;
    for (const PastedRow& row : pasted.Rows) rows.push_back({row.Quantity, row.Length, row.Mark});
    return rows;
}

TEST(RowsFromText, ACsvFileWithAHeaderMarksQuotesAndBadLines) {
    const PastedRows read = RowsFromText(
        "\xEF\xBB\xBFQuantity,Length,Mark\r\n"
        "4,1200,Door A\r\n"
        "*,6000\r\n"
        "2,\"900\",\"Frame, left\"\r\n"
        "3,750,\"Post \"\"B\"\"\"\r\n"
        "7\r\n"
        "1,2,3,4\r\n"
        "any,4000,\r\n");
    EXPECT_TRUE(read.HeaderSkipped);
    EXPECT_EQ(MarkedRowsOf(read), (std::vector<MarkedRow>{{"4", "1200", "Door A"},
                                                          {"*", "6000", ""},
                                                          {"2", "900", "Frame, left"},
                                                          {"3", "750", "Post \"B\""},
                                                          {"ANY", "4000", ""}}));
    EXPECT_EQ(LinesOf(read), (std::vector<int>{2, 3, 4, 5, 8}));
    ASSERT_EQ(read.NotRows.size(), 2u);
    EXPECT_EQ(read.NotRows[0].Line, 6);
    EXPECT_EQ(read.NotRows[0].Reason,
              "'7' is not a quantity and a length, with or without a mark.");
    EXPECT_EQ(read.NotRows[1].Line, 7);
    EXPECT_NE(read.NotRows[1].Reason.find("'1,2,3,4'"), std::string::npos);
}

TEST(RowsFromText, TabsSemicolonsAndBlanksSeparateAsInAPaste) {
    const std::vector<MarkedRow> expected{{"5", "6000", "Rafter 1"}, {"12", "1500", ""}};
    for (const char* text :
         {"Qty\tLength\tPart\n5\t6000\tRafter 1\n12\t1500\n", "5;6000;Rafter 1\n12;1500",
          "5 6000 Rafter 1\n12 1500\n", "5 6000 \"Rafter 1\"\n12 1500\n"}) {
        EXPECT_EQ(MarkedRowsOf(RowsFromText(text)), expected) << text;
        EXPECT_TRUE(RowsFromText(text).NotRows.empty()) << text;
    }
    // A semicolon file's mark may hold a comma; the comma inside quotes decides nothing.
    EXPECT_EQ(MarkedRowsOf(RowsFromText("3;1200;\"Door, left\"")),
              (std::vector<MarkedRow>{{"3", "1200", "Door, left"}}));
}

// Between blanks an imperial length may hold blanks: the most fields that read as one length are
// the length, the rest the mark. A metric job's rows are read as ever.
TEST(RowsFromText, AnImperialLengthBetweenBlanksKeepsItsBlanks) {
    const JobUnits imperial = JobUnits::ImperialIn(ImperialPrecision::Sixteenth);
    const struct {
        const char* Text;
        MarkedRow Row;
    } cases[] = {
        {"12 6' 3-1/2\"", {"12", "6' 3-1/2\"", ""}},
        {"12 6' 3-1/2\" B12", {"12", "6' 3-1/2\"", "B12"}},
        {"12  75 1/2  Door A", {"12", "75 1/2", "Door A"}},
        {"4 6 ' 3-1/2 7", {"4", "6 ' 3-1/2", "7"}},
        {"4 20ft B7", {"4", "20FT", "B7"}},
        {"4 20ft 3", {"4", "20FT 3", ""}},
        {"4 75 3", {"4", "75", "3"}},
        {"4\t6' 3\"\t3/4", {"4", "6' 3\"", "3/4"}},
    };
    for (const auto& c : cases) {
        const PastedRows read = RowsFromText(c.Text, imperial);
        EXPECT_EQ(MarkedRowsOf(read), std::vector<MarkedRow>{c.Row}) << c.Text;
        EXPECT_TRUE(ReadImperialLength(read.Rows.at(0).Length).Ticks) << c.Text;
    }
    EXPECT_EQ(MarkedRowsOf(RowsFromText("4 1200 3/4\"")),
              (std::vector<MarkedRow>{{"4", "1200", "3/4\""}}));
    // Without marks, a length in parts is one row; what follows it is still refused.
    EXPECT_EQ(RowsOf(ParsePastedRows("12 6' 3-1/2\"", false, true, imperial)),
              (std::vector<ListRow>{{"12", "6' 3-1/2\""}}));
    EXPECT_EQ(ParsePastedRows("12 6' 3-1/2\" B12", false, true, imperial).NotRows.size(), 1u);
}

TEST(ParsePastedRows, APasteStillRefusesAThirdField) {
    const PastedRows pasted = ParsePastedRows("4,1000,Door A\n2,900");
    EXPECT_EQ(MarkedRowsOf(pasted), (std::vector<MarkedRow>{{"2", "900", ""}}));
    ASSERT_EQ(pasted.NotRows.size(), 1u);
    EXPECT_EQ(pasted.NotRows[0].Reason, "'4,1000,Door A' is not a quantity and a length.");
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
