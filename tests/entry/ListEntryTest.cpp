#include "entry/ListEntry.h"

#include <gtest/gtest.h>

#include <tuple>

#include "entry/Allowances.h"
#include "entry/KeyFilters.h"
#include "job/Capacities.h"
#include "job/RowTexts.h"

namespace tallora {
namespace {

using Rows = std::vector<ListRow>;

TEST(CommitStockRow, EqualLengthsMergeAndMoveToTheEndUnlimitedRowsReplaceAndAbsorb) {
    Rows rows;
    EXPECT_EQ(CommitStockRow(rows, "5", "6000").Status, CommitStatus::Committed);
    EXPECT_EQ(CommitStockRow(rows, "2", "4000").Status, CommitStatus::Committed);
    EXPECT_EQ(CommitStockRow(rows, "3", "6000").Status, CommitStatus::Committed);
    EXPECT_EQ(rows, (Rows{{"2", "4000"}, {"8", "6000"}}));
    // Read as numbers: 06000 merges into 6000 and keeps the typed text.
    EXPECT_EQ(CommitStockRow(rows, "1", "06000").Status, CommitStatus::Committed);
    EXPECT_EQ(rows, (Rows{{"2", "4000"}, {"9", "06000"}}));

    // An unlimited row replaces the row of its length and absorbs later ones; empty edits do
    // nothing.
    CommitStockRow(rows, "1", "4000");
    CommitStockRow(rows, "*", "6000");
    EXPECT_EQ(rows, (Rows{{"3", "4000"}, {"*", "6000"}}));
    const CommitResult absorbed = CommitStockRow(rows, "5", "6000");
    EXPECT_EQ(absorbed.Status, CommitStatus::Committed);  // the edits are emptied
    EXPECT_EQ(rows, (Rows{{"3", "4000"}, {"*", "6000"}}));
    CommitStockRow(rows, "ANY", "4000");
    EXPECT_EQ(rows, (Rows{{"*", "6000"}, {"ANY", "4000"}}));
    EXPECT_EQ(CommitStockRow(rows, "", "6000").Status, CommitStatus::Ignored);
    EXPECT_EQ(CommitStockRow(rows, "5", "").Status, CommitStatus::Ignored);
    EXPECT_EQ(rows, (Rows{{"*", "6000"}, {"ANY", "4000"}}));
}

TEST(CommitCutRow, RowsOfOneLengthMergeOnlyWithTheSameMark) {
    std::vector<ListRow> rows;
    ASSERT_EQ(CommitCutRow(rows, "2", "1200", "Door A").Status, CommitStatus::Committed);
    ASSERT_EQ(CommitCutRow(rows, "1", "900").Status, CommitStatus::Committed);
    // Another mark: a row of its own, to be labelled with its mark.
    EXPECT_EQ(CommitCutRow(rows, "3", "1200", "Door B").MergedRow, -1);
    // The same mark, or none beside an unmarked row, merges as ever.
    EXPECT_EQ(CommitCutRow(rows, "1", "1200", "Door A").MergedRow, 0);
    EXPECT_EQ(CommitCutRow(rows, "4", "0900").MergedRow, 0);
    EXPECT_EQ(rows, (std::vector<ListRow>{
                        {"3", "1200", "Door B"}, {"3", "1200", "Door A"}, {"5", "0900", ""}}));
    // An unmarked row of a marked length stays apart too.
    EXPECT_EQ(CommitCutRow(rows, "1", "1200").MergedRow, -1);
    EXPECT_EQ(rows.size(), 4u);

    EXPECT_EQ(MergedMarks("A, B", "B, C"), "A, B, C");
    EXPECT_EQ(MergedMarks("", ""), "");
    EXPECT_EQ(MergedMarks("", "X"), "X");
}

TEST(CommitStockRow, InventoryOffcutsKeepARowOfTheirOwn) {
    const std::string offcut = InventoryOffcutMark(4);
    Rows rows{{"2", "3200", offcut}, {"*", "6000"}};
    // Bars to buy of an offcut length, and offcuts of a length to buy, are refused.
    const CommitResult typed = CommitStockRow(rows, "5", "3200");
    EXPECT_EQ(typed.Status, CommitStatus::Refused);
    EXPECT_EQ(typed.Message, OffcutRowLengthMessage("3200"));
    EXPECT_EQ(CommitStockRow(rows, "1", "6000", InventoryOffcutMark(9)).Status,
              CommitStatus::Refused);
    EXPECT_EQ(rows, (Rows{{"2", "3200", offcut}, {"*", "6000"}}));
    // Offcuts join offcuts of their length, as any two rows of one length do.
    EXPECT_EQ(CommitStockRow(rows, "1", "3200", InventoryOffcutMark(7)).MergedRow, 0);
    EXPECT_EQ(rows.back(), ListRow("3", "3200", offcut + ", " + InventoryOffcutMark(7)));
}

TEST(CommitRow, LengthLimitAndBadTextsAreRefusedWithAMessage) {
    Rows rows;
    EXPECT_EQ(CommitStockRow(rows, "1", "18300").Status, CommitStatus::Committed);
    const CommitResult tooLong = CommitCutRow(rows, "1", "18301");
    EXPECT_EQ(tooLong.Status, CommitStatus::Refused);
    EXPECT_EQ(tooLong.Message,
              "18301mm is greater than the maximum allowed length of 18300mm.\r\n"
              "Please check your entry and try again");
    EXPECT_EQ(CommitCutRow(rows, "1", "99999999999").Message, LengthTooLongMessage("99999999999"));
    EXPECT_EQ(CommitCutRow(rows, "1", "12a").Message, NotALengthMessage("12a"));
    EXPECT_EQ(CommitCutRow(rows, "*", "1000").Message, NotAQuantityMessage("*"));
    EXPECT_EQ(CommitCutRow(rows, "-2", "1000").Message, NotAQuantityMessage("-2"));
    EXPECT_EQ(CommitCutRow(rows, "3000000000", "1000").Message,
              QuantityTooLargeMessage("3000000000"));
    // Nothing to cut, or no bars: refused at entry, where the user can see why.
    EXPECT_EQ(CommitCutRow(rows, "0", "1000").Message, ZeroQuantityMessage());
    EXPECT_EQ(CommitStockRow(rows, "00", "6000").Message, ZeroQuantityMessage());
    EXPECT_EQ(CommitStockRow(rows, "0", "18300").Status, CommitStatus::Refused);
    EXPECT_EQ(rows.size(), 1u);

    Rows cuts{{"2000000000", "1000"}};
    EXPECT_EQ(CommitCutRow(cuts, "2000000000", "1000").Status, CommitStatus::Refused);
    EXPECT_EQ(cuts, (Rows{{"2000000000", "1000"}}));
}

TEST(CommitRow, AFullListRefusesNewLengthsButStillMerges) {
    Rows stock;
    for (int i = 0; i < MaxStockRows; ++i) CommitStockRow(stock, "1", std::to_string(1000 + i));
    const CommitResult refused = CommitStockRow(stock, "1", "9999");
    EXPECT_EQ(refused.Status, CommitStatus::Refused);
    EXPECT_EQ(refused.Message, StockListFullMessage());
    EXPECT_EQ(CommitStockRow(stock, "4", "1000").Status, CommitStatus::Committed);
    EXPECT_EQ(stock.back(), (ListRow{"5", "1000"}));
    EXPECT_EQ(stock.size(), static_cast<size_t>(MaxStockRows));

    Rows cuts;
    for (int i = 0; i < MaxCutRows; ++i) CommitCutRow(cuts, "1", std::to_string(i + 1));
    EXPECT_EQ(CommitCutRow(cuts, "1", "5000").Message, CutListFullMessage());
    EXPECT_EQ(cuts.size(), static_cast<size_t>(MaxCutRows));
}

TEST(SortRows, ByEitherColumnAscendingWithUnlimitedRowsLast) {
    Rows rows = {{"5", "6000"}, {"*", "4000"}, {"12", "7500"}, {"2", "06000"}, {"5", "3000"}};
    SortRows(rows, 1);
    EXPECT_EQ(rows,
              (Rows{{"5", "3000"}, {"*", "4000"}, {"5", "6000"}, {"2", "06000"}, {"12", "7500"}}));
    SortRows(rows, 0);
    EXPECT_EQ(rows,
              (Rows{{"2", "06000"}, {"5", "3000"}, {"5", "6000"}, {"12", "7500"}, {"*", "4000"}}));
    EXPECT_LT(ListViewCompare({"2", "9"}, {"10", "1"}, 0), 0);  // numbers, not texts
    EXPECT_EQ(ListViewCompare({"*", "9"}, {"10", "1"}, 0), 0);
    EXPECT_GT(ListViewCompare({"*", "9"}, {"10", "1"}, 1), 0);
}

TEST(KeyFilters, WhatEachEditLetsThrough) {
    EXPECT_EQ(StockQuantityKey(U'7'), KeyAction::Accept);
    EXPECT_EQ(StockQuantityKey(U'*'), KeyAction::Accept);
    EXPECT_EQ(StockQuantityKey(KeyBackspace), KeyAction::Accept);
    EXPECT_EQ(StockQuantityKey(KeyEnter), KeyAction::NextControl);
    EXPECT_EQ(StockQuantityKey(U'a'), KeyAction::Discard);
    EXPECT_EQ(CutQuantityKey(U'*'), KeyAction::Discard);
    EXPECT_EQ(LengthKey(KeyEnter), KeyAction::Commit);
    EXPECT_EQ(LengthKey(U'.'), KeyAction::Discard);
    EXPECT_EQ(AllowanceKey(KeyEnter), KeyAction::NextControl);
    EXPECT_EQ(AllowanceKey(U'-'), KeyAction::Discard);
    EXPECT_EQ(DecimalKey(U'.'), KeyAction::Accept);
    EXPECT_EQ(DecimalKey(KeyDelete), KeyAction::Accept);
    EXPECT_EQ(DecimalKey(KeyEnter), KeyAction::Accept);
    EXPECT_EQ(DecimalKey(U','), KeyAction::Discard);
    EXPECT_EQ(DecimalKey(U'e'), KeyAction::Discard);
    EXPECT_EQ(DecimalKey(U'\u00A3'), KeyAction::Discard);
}

TEST(AllowanceEdits, LimitedToTheirRangesOnFocusChangeExitAndSpinButtons) {
    Allowances a;
    auto set = [&a](AllowanceField field, int value) {
        SetAllowance(a, field, value);
        return AllowanceOf(a, field);
    };
    EXPECT_EQ(set(AllowanceField::Kerf, 0), 1);
    EXPECT_EQ(set(AllowanceField::Kerf, 12), 10);
    EXPECT_EQ(set(AllowanceField::Trim, 300), 250);
    EXPECT_EQ(set(AllowanceField::Hold, 501), 500);
    EXPECT_EQ(set(AllowanceField::Offcut, 20000), 18300);
    // An imperial job's, in 1/32": kerf 1/32" to 3/8", trim to 10", hold to 20", offcut to 60'.
    const JobUnits imperial = JobUnits::ImperialIn(ImperialPrecision::Sixteenth);
    for (const auto& [field, low, high] :
         {std::tuple{AllowanceField::Kerf, 1, 12}, std::tuple{AllowanceField::Trim, 0, 320},
          std::tuple{AllowanceField::Hold, 0, 640}, std::tuple{AllowanceField::Offcut, 0, 23040}}) {
        EXPECT_EQ(LimitAllowance(field, -1, imperial), low);
        EXPECT_EQ(LimitAllowance(field, 100000, imperial), high);
    }
    EXPECT_FALSE(a.NoOffcuts);
    set(AllowanceField::Offcut, 0);
    ApplyOffcutRule(a);
    EXPECT_TRUE(a.NoOffcuts);

    EXPECT_EQ(AllowanceFocusText("3mm"), "3");
    EXPECT_EQ(AllowanceFocusText("mm"), "");
    EXPECT_EQ(AllowanceFocusText("m"), "m");
    EXPECT_EQ(AllowanceDisplayText(10), "10mm");
    // Typing 12 into Kerf gives 10; "mm" alone keeps the value; leading digits count.
    EXPECT_EQ(AllowanceFromText(AllowanceField::Kerf, "12", 3), 10);
    EXPECT_EQ(AllowanceFromText(AllowanceField::Kerf, "0", 3), 1);
    EXPECT_EQ(AllowanceFromText(AllowanceField::Trim, "mm", 25), 25);
    EXPECT_EQ(AllowanceFromText(AllowanceField::Trim, "", 25), 25);
    EXPECT_EQ(AllowanceFromText(AllowanceField::Trim, "40mm", 25), 40);
    EXPECT_EQ(AllowanceFromText(AllowanceField::Trim, "300", 25), 250);
    EXPECT_EQ(AllowanceFromText(AllowanceField::Offcut, "99999999999", 500), 500);

    EXPECT_EQ(SpinUp(AllowanceField::Kerf, 10), 10);
    EXPECT_EQ(SpinDown(AllowanceField::Kerf, 1), 1);
    EXPECT_EQ(SpinUp(AllowanceField::Trim, 249), 250);
    EXPECT_EQ(SpinDown(AllowanceField::Trim, 0), 0);
    EXPECT_EQ(SpinDown(AllowanceField::Hold, 10), 0);
    EXPECT_EQ(SpinUp(AllowanceField::Hold, 500), 500);
    EXPECT_EQ(SpinUp(AllowanceField::Hold, 490), 500);
    EXPECT_EQ(SpinUp(AllowanceField::Offcut, 18290), 18300);
    EXPECT_EQ(SpinUp(AllowanceField::Offcut, 18275), 18300);
    EXPECT_EQ(SpinDown(AllowanceField::Offcut, 25), 0);
    EXPECT_EQ(SpinDown(AllowanceField::Offcut, 20), 0);
    EXPECT_EQ(SpinDown(AllowanceField::Offcut, 3000), 2975);
}

TEST(SummariseInput, SummarisesTheListsAndEnablesCalculate) {
    JobInput job;
    auto summary = [&job] {
        const InputSummary s = SummariseInput(job);
        return std::string(s.CalculateEnabled ? "enabled" : "disabled") + " | " + s.StockText +
               " | " + s.CutText;
    };
    EXPECT_EQ(summary(), "disabled |  | ");
    job.StockRows = {{"*", "6000"}};
    job.CutRows = {{"2", "1000"}};
    EXPECT_EQ(summary(), "enabled | 1 Stock length available | 1 Cut length required");
    job.StockRows.push_back({"3", "4000"});
    job.CutRows.push_back({"1", "700"});
    job.CutRows.push_back({"1", "800"});
    EXPECT_EQ(summary(),
              "enabled | 2 Different stock lengths available | 3 Different cut lengths required");
    job.CutRows.clear();
    EXPECT_EQ(summary(), "disabled | 2 Different stock lengths available | ");
}

}  // namespace
}  // namespace tallora
