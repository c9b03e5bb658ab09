#include "results/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <string>

namespace tallora {

namespace {

// A value as decimal digits: value = 0.d1d2d3... x 10^Exponent, digits without trailing zeros.
// Empty digits mean zero.
struct Decimal {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;
};

// The value to 15 significant digits, as the decimal form every rounding below starts from, so
// that 1.005 rounds to 1.01 and 0.125 to 0.13 as a reader expects.
Decimal ToDecimal(double value) {
    Decimal d;
    if (value == 0.0 || !std::isfinite(value)) return d;
    d.Negative = value < 0;
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                std::chars_format::scientific, 14);
    const std::string text(buffer, result.ptr);  // d.ddddddddddddddE±xx
    const auto e = text.find('e');
    d.Digits = text.substr(0, 1) + text.substr(2, e - 2);
    d.Exponent = std::stoi(text.substr(e + 1)) + 1;
    while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
    return d;
}

// Keeps `count` significant digits, rounding half away from zero; count may be 0 or negative
// (the value then rounds to zero or to one unit of the first dropped place).
void RoundTo(Decimal& d, int count) {
    if (static_cast<int>(d.Digits.size()) <= count) return;
    if (count < 0) {
        d.Digits.clear();
        return;
    }
    const bool up = d.Digits[count] >= '5';
    d.Digits.resize(count);
    if (up) {
        int i = count - 1;
        while (i >= 0 && d.Digits[i] == '9') {
            d.Digits[i] = '0';
            --i;
        }
        if (i < 0) {
            d.Digits.insert(d.Digits.begin(), '1');
            d.Exponent += 1;
            d.Digits.pop_back();
            if (count == 0) d.Digits = "1";
        } else {
            ++d.Digits[i];
        }
    }
    while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
}

// Integer and fraction digits of a rounded decimal, the fraction padded to `decimals`.
void Split(const Decimal& d, int decimals, std::string& integer, std::string& fraction) {
    integer.clear();
    fraction.clear();
    const int n = static_cast<int>(d.Digits.size());
    for (int i = 0; i < d.Exponent; ++i) integer += i < n ? d.Digits[i] : '0';
    if (integer.empty()) integer = "0";
    for (int p = 0; p < decimals; ++p) {
        const int i = d.Exponent + p;
        fraction += (i >= 0 && i < n) ? d.Digits[i] : '0';
    }
}

// Mantissa d.ddd and exponent: "1.234568E8", "1E-6".
std::string Scientific(const Decimal& d, const NumberFormat& format) {
    std::string text = d.Negative ? "-" : "";
    text += d.Digits[0];
    if (d.Digits.size() > 1) text += format.DecimalSeparator + d.Digits.substr(1);
    return text + "E" + std::to_string(d.Exponent - 1);
}

std::string Grouped(const std::string& integer, const std::string& separator) {
    std::string text;
    const int n = static_cast<int>(integer.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) text += separator;
        text += integer[i];
    }
    return text;
}

constexpr int kFixedPrecision = 7;
constexpr int kGeneralPrecision = 15;

}  // namespace

std::string FormatFixed(double value, int decimals, const NumberFormat& format) {
    Decimal d = ToDecimal(value);
    if (d.Exponent > kFixedPrecision) {
        RoundTo(d, kFixedPrecision);
        return Scientific(d, format);
    }
    RoundTo(d, std::min(kFixedPrecision, d.Exponent + decimals));
    std::string integer, fraction;
    Split(d, decimals, integer, fraction);
    std::string text = d.Negative && !d.Digits.empty() ? "-" : "";
    text += integer;
    if (decimals > 0) text += format.DecimalSeparator + fraction;
    return text;
}

std::string FormatCurrency(double value, const NumberFormat& format) {
    Decimal d = ToDecimal(value);
    RoundTo(d, std::min(kFixedPrecision, d.Exponent + 2));
    std::string integer, fraction;
    Split(d, 2, integer, fraction);
    const std::string amount =
        Grouped(integer, format.ThousandSeparator) + format.DecimalSeparator + fraction;
    const std::string& s = format.CurrencySymbol;
    if (!(d.Negative && !d.Digits.empty())) {
        switch (format.CurrencyPosition) {
            case 1:
                return amount + s;
            case 2:
                return s + " " + amount;
            case 3:
                return amount + " " + s;
            default:
                return s + amount;
        }
    }
    switch (format.NegativeForm) {
        case 0:
            return "(" + s + amount + ")";
        case 2:
            return s + "-" + amount;
        case 3:
            return s + amount + "-";
        case 4:
            return "(" + amount + s + ")";
        case 5:
            return "-" + amount + s;
        case 6:
            return amount + "-" + s;
        case 7:
            return amount + s + "-";
        case 8:
            return "-" + amount + " " + s;
        case 9:
            return "-" + s + " " + amount;
        case 10:
            return amount + " " + s + "-";
        case 11:
            return s + " " + amount + "-";
        case 12:
            return s + " -" + amount;
        case 13:
            return amount + "- " + s;
        case 14:
            return "(" + s + " " + amount + ")";
        case 15:
            return "(" + amount + " " + s + ")";
        default:
            return "-" + s + amount;
    }
}

std::string FormatGeneral(double value, const NumberFormat& format) {
    Decimal d = ToDecimal(value);
    if (d.Digits.empty()) return "0";
    RoundTo(d, kGeneralPrecision);
    if (d.Exponent > kGeneralPrecision || std::fabs(value) < 0.00001) return Scientific(d, format);
    const int fractionDigits = std::max(0, static_cast<int>(d.Digits.size()) - d.Exponent);
    std::string integer, fraction;
    Split(d, fractionDigits, integer, fraction);
    std::string text = d.Negative ? "-" : "";
    text += integer;
    if (!fraction.empty()) text += format.DecimalSeparator + fraction;
    return text;
}

std::string FormatFileNumber(double value) { return FormatGeneral(value, NumberFormat::UK()); }

std::optional<double> ReadDecimal(std::string_view text, std::string_view decimalSeparator) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::string plain;  // the same number with "." and without a leading "+"
    size_t i = 0;
    auto digitsHere = [&] {
        size_t count = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            plain += text[i++];
            ++count;
        }
        return count;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') plain += '-';
        ++i;
    }
    size_t mantissa = digitsHere();
    if (!decimalSeparator.empty() && text.substr(i, decimalSeparator.size()) == decimalSeparator) {
        plain += '.';
        i += decimalSeparator.size();
        mantissa += digitsHere();
    }
    if (mantissa == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
        if (digitsHere() == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    double value = 0.0;
    auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ReadFieldNumber(std::string_view text, const NumberFormat& format) {
    auto value = ReadDecimal(text, format.DecimalSeparator);
    return value ? value : ReadDecimal(text, ".");
}

std::optional<double> ReadFileNumber(std::string_view text) {
    auto value = ReadDecimal(text, ".");
    return value ? value : ReadDecimal(text, ",");
}

}  // namespace tallora
