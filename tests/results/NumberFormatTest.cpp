#include "results/NumberFormat.h"

#include <gtest/gtest.h>

namespace tallora {
namespace {

const NumberFormat uk = NumberFormat::UK();

NumberFormat Comma() {
    NumberFormat comma = uk;
    comma.DecimalSeparator = ",";
    return comma;
}

// Seven significant digits, exactly the decimals asked, halves away from zero, no minus on what
// rounds to zero, scientific notation above seven integer digits, the locale's separator.
TEST(FormatFixed, RoundingDecimalsAndNotation) {
    EXPECT_EQ(FormatFixed(12345.6789, 3, uk), "12345.680");
    EXPECT_EQ(FormatFixed(1234567.891, 3, uk), "1234568.000");
    EXPECT_EQ(FormatFixed(99999.99999, 3, uk), "100000.000");
    EXPECT_EQ(FormatFixed(0.876, 3, uk), "0.876");
    EXPECT_EQ(FormatFixed(91.666666, 2, uk), "91.67");
    EXPECT_EQ(FormatFixed(100, 2, uk), "100.00");
    EXPECT_EQ(FormatFixed(0.0000001, 3, uk), "0.000");
    EXPECT_EQ(FormatFixed(0.0, 3, uk), "0.000");
    EXPECT_EQ(FormatFixed(-0.0, 2, uk), "0.00");
    EXPECT_EQ(FormatFixed(-1.5, 2, uk), "-1.50");
    EXPECT_EQ(FormatFixed(-0.0004, 3, uk), "0.000");
    EXPECT_EQ(FormatFixed(0.0005, 3, uk), "0.001");
    EXPECT_EQ(FormatFixed(0.0004999, 3, uk), "0.000");
    EXPECT_EQ(FormatFixed(0.125, 2, uk), "0.13");
    EXPECT_EQ(FormatFixed(1.005, 2, uk), "1.01");
    EXPECT_EQ(FormatFixed(-2.675, 2, uk), "-2.68");
    EXPECT_EQ(FormatFixed(9.9995, 3, uk), "10.000");
    EXPECT_EQ(FormatFixed(9999999.0, 3, uk), "9999999.000");
    EXPECT_EQ(FormatFixed(123456789.0, 3, uk), "1.234568E8");
    EXPECT_EQ(FormatFixed(-12345678.0, 2, uk), "-1.234568E7");
    EXPECT_EQ(FormatFixed(20000000.0, 3, uk), "2E7");
    EXPECT_EQ(FormatFixed(12345.6789, 3, Comma()), "12345,680");
}

TEST(FormatCurrency, SymbolThousandsAndNegativeForms) {
    EXPECT_EQ(FormatCurrency(1234.5, uk), "\u00A31,234.50");
    EXPECT_EQ(FormatCurrency(-1234.5, uk), "-\u00A31,234.50");
    EXPECT_EQ(FormatCurrency(0.0, uk), "\u00A30.00");
    EXPECT_EQ(FormatCurrency(-0.001, uk), "\u00A30.00");
    EXPECT_EQ(FormatCurrency(60, uk), "\u00A360.00");
    EXPECT_EQ(FormatCurrency(999.995, uk), "\u00A31,000.00");
    EXPECT_EQ(FormatCurrency(1234567.891, uk), "\u00A31,234,568.00");
    EXPECT_EQ(FormatCurrency(123456789.12, uk), "\u00A3123,456,800.00");

    NumberFormat euro;
    euro.DecimalSeparator = ",";
    euro.ThousandSeparator = ".";
    euro.CurrencySymbol = "\u20AC";
    euro.CurrencyPosition = 3;
    euro.NegativeForm = 8;
    EXPECT_EQ(FormatCurrency(1234.5, euro), "1.234,50 \u20AC");
    EXPECT_EQ(FormatCurrency(-1234.5, euro), "-1.234,50 \u20AC");
    NumberFormat brackets = uk;
    brackets.NegativeForm = 0;
    EXPECT_EQ(FormatCurrency(-1.5, brackets), "(\u00A31.50)");
}

TEST(ReadDecimal, NumbersAsTypedAndNothingElse) {
    EXPECT_EQ(ReadDecimal("12.5"), 12.5);
    EXPECT_EQ(ReadDecimal(" 3 "), 3.0);
    EXPECT_EQ(ReadDecimal("-0.5"), -0.5);
    EXPECT_EQ(ReadDecimal("+2"), 2.0);
    EXPECT_EQ(ReadDecimal(".5"), 0.5);
    EXPECT_EQ(ReadDecimal("5."), 5.0);
    EXPECT_EQ(ReadDecimal("1e3"), 1000.0);
    EXPECT_EQ(ReadDecimal("1.5E-2"), 0.015);
    EXPECT_EQ(ReadDecimal("12,5", ","), 12.5);
    for (const char* bad :
         {"", " ", "abc", "inf", "nan", "1.2.3", "1e", "--1", "0x10", "12,5", "1e999", ".", "-"}) {
        EXPECT_FALSE(ReadDecimal(bad).has_value()) << bad;
    }
}

}  // namespace
}  // namespace tallora
