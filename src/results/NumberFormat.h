#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tallora {

// How numbers and money are written: the locale's separators, currency symbol, its position and
// the form of a negative amount. The desktop fills it from the system's locale; the core and the
// command line use the UK format.
struct NumberFormat {
    std::string DecimalSeparator = ".";
    std::string ThousandSeparator = ",";
    std::string CurrencySymbol = "\u00A3";  // £
    // Position of the symbol: 0 "£1", 1 "1£", 2 "£ 1", 3 "1 £".
    int CurrencyPosition = 0;
    // Form of a negative amount, as the sixteen Windows forms: 0 "(£1)", 1 "-£1", 2 "£-1",
    // 3 "£1-", 4 "(1£)", 5 "-1£", 6 "1-£", 7 "1£-", 8 "-1 £", 9 "-£ 1", 10 "1 £-", 11 "£ 1-",
    // 12 "£ -1", 13 "1- £", 14 "(£ 1)", 15 "(1 £)".
    int NegativeForm = 1;

    static NumberFormat UK() { return {}; }
};

// Fixed format: rounded to at most 7 significant digits and at most `decimals` decimals, written
// with exactly `decimals` decimals, no thousands separator; scientific notation when the integer
// part has more than 7 digits. 12345.6789 with 3 decimals is "12345.680".
std::string FormatFixed(double value, int decimals, const NumberFormat& format);

// Money: the same rounding with 2 decimals, thousands separators, the currency symbol at its
// position and the locale's negative form.
std::string FormatCurrency(double value, const NumberFormat& format);

// The shortest general form: up to 15 significant digits, no trailing zeros, no decimal
// separator for whole numbers ("5", "2500", "12.5"); exponent notation ("1E-6", "1.5E20") below
// 0.00001 or with more than 15 integer digits.
std::string FormatGeneral(double value, const NumberFormat& format);

// The general form with "." whatever the locale: numbers in job files.
std::string FormatFileNumber(double value);

// A decimal number as typed: optional blanks, sign, digits with one decimal separator, and an
// optional exponent. Nothing else (no "inf", "nan" or hexadecimal) is a number.
std::optional<double> ReadDecimal(std::string_view text, std::string_view decimalSeparator = ".");

// A number typed into a field: with the locale's separator, or with the point the key filters
// let through.
std::optional<double> ReadFieldNumber(std::string_view text, const NumberFormat& format);

// A number of a job file: written with "."; a file from a comma locale reads too.
std::optional<double> ReadFileNumber(std::string_view text);

}  // namespace tallora
