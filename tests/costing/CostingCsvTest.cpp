#include "costing/CostingCsv.h"
#include "support/CostingJob.h"

#include <gtest/gtest.h>

namespace tallora {
namespace {

TEST(CostingCsv, PlainNumbersPerPieceAndTheTotalsLine) {
    // Two cut rows, 2 x 2500 and 1 x 5000: 10 net metres of 12 charged.
    testing::CostingJob c({{2, 2500}, {1, 5000}}, 12, 10);
    c.settings.CCutType = "Lump";
    c.settings.CCutValue = 1000;  // 100.00 a net metre: thousands, no separator written
    c.settings.CGalvType = "Metre";
    c.settings.CGalvValue = 0.5;  // 5.00 over 10 net metres
    c.settings.OtherName2 = "Painting, red";
    c.material = {"Tonne", 500, 10};  // 0.12 t x 500 = 60.00: 6.00 a metre

    // Per piece of 2500: 25 kg, 15.00 material, 250.00 cutting, 1.25 other; of 5000 twice that.
    EXPECT_EQ(CostingCsv(c.Sheet(), c.settings),
              "Qty,Length,Net Wt,Mat Cost,Cut Charge,Other Charges 1,\"Painting, red\","
              "Other Charges 3,Total\r\n"
              "2,2500,25.000,15.00,250.00,1.25,0.00,0.00,266.25\r\n"
              "1,5000,50.000,30.00,500.00,2.50,0.00,0.00,532.50\r\n"
              ",TOTALS,100.000,60.00,1000.00,5.00,0.00,0.00,1065.00\r\n");
}

}  // namespace
}  // namespace tallora
