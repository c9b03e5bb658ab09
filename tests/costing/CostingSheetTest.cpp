#include "costing/CostingSheet.h"
#include "support/CostingJob.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tallora {
namespace {

using Costing = testing::CostingJob;

TEST(MakeCostingSheet, MaterialPerTonneSpreadOverTheNetMetres) {
    Costing c({{2, 2500}, {1, 5000}}, 12, 10);
    c.material = {"Tonne", 500, 10};
    const CostingSheet sheet = c.Sheet();
    // 0.12 t x 500 = 60.00 over 10 net metres: 6.00 a metre.
    EXPECT_DOUBLE_EQ(sheet.Table.Rows[0].MaterialCost, 15.0);
    EXPECT_EQ(sheet.GridRows[1][3], "\u00A315.00");
    EXPECT_EQ(sheet.GridRows[1][2], "25.000");
    EXPECT_DOUBLE_EQ(sheet.Table.TotalMaterial, 60.0);
    EXPECT_DOUBLE_EQ(sheet.Table.TotalWeight, 100.0);

    c.material = {"Metre", 4, 10};  // 12 m x 4 = 48.00
    EXPECT_DOUBLE_EQ(c.Sheet().Table.TotalMaterial, 48.0);

    // Without net metres nothing is spread, and no "nan" is shown.
    Costing none({{1, 1000}}, 6, 0);
    none.material = {"Tonne", 500, 10};
    none.settings.CCutType = "Lump";
    none.settings.CCutValue = 50;
    const CostingSheet empty = none.Sheet();
    EXPECT_EQ(empty.Table.Rows[0].MaterialCost, 0.0);
    EXPECT_EQ(empty.Table.GrandTotal, 0.0);
    for (const auto& cell : empty.GridRows[0]) EXPECT_EQ(cell.find("nan"), std::string::npos);
}

TEST(MakeCostingSheet, CuttingChargeBases) {
    Costing c({{5, 1000}, {5, 3000}}, 24, 20, 3);
    c.settings.CCutType = "Lump";
    c.settings.CCutValue = 100;
    CostingSheet sheet = c.Sheet();
    EXPECT_DOUBLE_EQ(sheet.Table.Rows[0].CuttingCharge, 5.0);  // 100 over 20 net metres
    EXPECT_DOUBLE_EQ(sheet.Table.Rows[1].CuttingCharge, 15.0);
    EXPECT_DOUBLE_EQ(sheet.Table.TotalCutting, 100.0);

    // 3 bars and 10 pieces: 13 saw cuts at 0.50.
    c.settings.CCutType = "Cut";
    c.settings.CCutValue = 0.5;
    EXPECT_DOUBLE_EQ(c.Sheet().Table.TotalCutting, 6.5);

    c.settings.CCutType = "Each";  // not a basis of the cutting charge
    sheet = c.Sheet();
    EXPECT_EQ(sheet.Table.TotalCutting, 0.0);
    EXPECT_EQ(sheet.Table.Rows[0].CuttingCharge, 0.0);
}

TEST(MakeCostingSheet, OtherChargesOnNetAndGrossMaterialAndPerPiece) {
    Costing c({{4, 2000}, {6, 500}}, 12, 11);
    c.material.Weight = 10;
    c.settings.CGalvType = "Tonne";
    c.settings.CGalvValue = 200;
    c.settings.CPPType = "Tonne";
    c.settings.CPPValue = 200;
    c.settings.COtherType = "Each";
    c.settings.COtherValue = 2;
    CostingSheet sheet = c.Sheet();
    EXPECT_NEAR(sheet.Table.TotalOther1, 0.11 * 200, 1e-9);  // net tonnes
    EXPECT_NEAR(sheet.Table.TotalOther2, 0.12 * 200, 1e-9);  // chargeable tonnes
    for (const auto& row : sheet.Table.Rows) EXPECT_EQ(row.Other3, 2.0);
    EXPECT_DOUBLE_EQ(sheet.Table.TotalOther3, 20.0);

    // Without weight only the tonne charges vanish.
    c.material.Weight = 0;
    c.settings.CPPType = "Metre";
    c.settings.CPPValue = 1;
    c.settings.CCutType = "Lump";
    c.settings.CCutValue = 30;
    sheet = c.Sheet();
    EXPECT_EQ(sheet.Table.TotalOther1, 0.0);
    EXPECT_EQ(sheet.Table.TotalWeight, 0.0);
    EXPECT_DOUBLE_EQ(sheet.Table.TotalOther2, 12.0);
    EXPECT_DOUBLE_EQ(sheet.Table.TotalCutting, 30.0);
    EXPECT_DOUBLE_EQ(sheet.Table.TotalOther3, 20.0);

    c.settings.CGalvType = "";
    c.settings.CGalvValue = 99;
    c.settings.CPPType = "Cut";
    EXPECT_EQ(c.Sheet().Table.TotalOther1, 0.0);
    EXPECT_EQ(c.Sheet().Table.TotalOther2, 0.0);
}

TEST(MakeCostingSheet, GridOrderTotalsRowClipboardTextAndLongLists) {
    Costing c({{9, 1000}, {10, 2000}, {2, 1500}}, 40, 32);
    c.material = {"Metre", 1, 2};
    c.settings.OtherName1 = "Galvanising";
    c.settings.OtherName3 = "Delivery";
    c.settings.COtherType = "Lump";
    c.settings.COtherValue = 64;
    const CostingSheet sheet = c.Sheet();
    // Quantities compared as text: 10 before 2 before 9.
    ASSERT_EQ(sheet.GridRows.size(), 5u);
    EXPECT_EQ(sheet.GridRows[0][0], "10");
    EXPECT_EQ(sheet.GridRows[1][0], "2");
    EXPECT_EQ(sheet.GridRows[2][0], "9");
    EXPECT_EQ(sheet.GridRows[3], CostingGridRow{});
    EXPECT_EQ(sheet.GridRows[4][0], "");
    EXPECT_EQ(sheet.GridRows[4][1], "TOTALS");

    // 40 m at 1 a metre spread over 32 net metres; the lump of 64 is 2 a net metre.
    ASSERT_EQ(sheet.ClipboardLines.size(), 6u);
    EXPECT_EQ(sheet.ClipboardLines[0],
              " Qty\tLength\tNet Wt\tMat Cost\tCut Charge\tGalvanising\tOther Charges 2\tDelivery\t"
              "Total");
    EXPECT_EQ(sheet.ClipboardLines[1],
              "9\t1000\t2.000\t\u00A31.25\t\u00A30.00\t\u00A30.00\t"
              "\u00A30.00\t\u00A32.00\t\u00A33.25");
    EXPECT_EQ(sheet.ClipboardLines[4], "");
    EXPECT_EQ(sheet.ClipboardLines[5],
              " \tTOTALS\t64.000\t\u00A340.00\t\u00A30.00\t\u00A30.00\t"
              "\u00A30.00\t\u00A364.00\t\u00A3104.00");

    std::vector<std::pair<int, int>> rows;
    for (int i = 1; i <= 250; ++i) rows.push_back({1, i * 10});
    Costing many(rows, 400, 300);
    EXPECT_EQ(many.Sheet().GridRows.size(), 252u);
    EXPECT_EQ(many.Sheet().ClipboardLines.size(), 253u);
}

}  // namespace
}  // namespace tallora
