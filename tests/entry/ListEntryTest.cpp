#include "entry/ListEntry.h"

#include <gtest/gtest.h>

#include <tuple>

#include "entry/Allowances.h"
#include "entry/KeyFilters.h"

namespace tallora {
namespace {

using Rows = std::vector<ListRow>;

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

}  // namespace
}  // namespace tallora
