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

}  // namespace
}  // namespace tallora
