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

struct MarkedRow {
    std::string Quantity, Length, Mark;
    bool operator==(const MarkedRow&) const = default;
};

std::vector<MarkedRow> MarkedRowsOf(const PastedRows& pasted) {
    std::vector<MarkedRow> rows;
    for (const PastedRow& row : pasted.Rows) rows.push_back({row.Quantity, row.Length, row.Mark});
    return rows;
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
