#include "job/Units.h"

#include <cstdint>

namespace tallora {

double LengthPerStatUnit(const JobUnits& units) { return units.Imperial() ? TicksPerFoot : 1000; }

double WeightPerTon(const JobUnits& units) { return units.Imperial() ? 2000 : 1000; }

std::string UnitName(LengthUnit unit) {
    return unit == LengthUnit::Imperial ? "imperial" : "metric";
}

std::optional<LengthUnit> UnitFromName(std::string_view name) {
    if (name == "metric") return LengthUnit::Metric;
    if (name == "imperial") return LengthUnit::Imperial;
    return std::nullopt;
}

std::string PrecisionName(ImperialPrecision precision) {
    switch (precision) {
        case ImperialPrecision::ThirtySecond:
            return "1/32";
        case ImperialPrecision::Eighth:
            return "1/8";
        case ImperialPrecision::Decimal:
            return "decimal";
        case ImperialPrecision::Sixteenth:
            break;
    }
    return "1/16";
}

std::optional<ImperialPrecision> PrecisionFromName(std::string_view name) {
    for (auto p : {ImperialPrecision::Sixteenth, ImperialPrecision::ThirtySecond,
                   ImperialPrecision::Eighth, ImperialPrecision::Decimal}) {
        if (name == PrecisionName(p)) return p;
    }
    return std::nullopt;
}

std::string UnitsText(const JobUnits& units) {
    if (!units.Imperial()) return UnitName(LengthUnit::Metric);
    return UnitName(LengthUnit::Imperial) + " " + PrecisionName(units.Precision);
}

std::optional<JobUnits> UnitsFromText(std::string_view text) {
    if (text == UnitName(LengthUnit::Metric)) return JobUnits::Metric();
    const auto space = text.find(' ');
    if (space == std::string_view::npos ||
        UnitFromName(text.substr(0, space)) != LengthUnit::Imperial)
        return std::nullopt;
    const auto precision = PrecisionFromName(text.substr(space + 1));
    if (!precision) return std::nullopt;
    return JobUnits::ImperialIn(*precision);
}

namespace {

// Far beyond any length a job takes, and far within what the sums below hold.
constexpr int MaxWholeDigits = 7;
constexpr int MaxDecimalDigits = 6;

class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek(std::size_t ahead = 0) const {
        return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
    }
    void SkipBlanks() {
        while (Peek() == ' ' || Peek() == '\t') ++pos_;
    }
    // Marks in either case: pasted rows come in upper case.
    bool Take(std::string_view word) {
        if (text_.size() - pos_ < word.size()) return false;
        for (std::size_t k = 0; k < word.size(); ++k) {
            char c = text_[pos_ + k];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            if (c != word[k]) return false;
        }
        {
            pos_ += word.size();
            return true;
        }
        return false;
    }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    // Digits as a number, with how many there were; none when there is no digit here.
    std::optional<std::pair<std::int64_t, int>> Digits(int most) {
        std::int64_t value = 0;
        int count = 0;
        while (IsDigit(Peek())) {
            if (++count > most) return std::nullopt;
            value = value * 10 + (Peek() - '0');
            ++pos_;
        }
        if (count == 0) return std::nullopt;
        return std::pair{value, count};
    }
    std::size_t Position() const { return pos_; }
    void Reset(std::size_t pos) { pos_ = pos; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// A decimal number as a numerator over a power of ten.
struct Decimal {
    std::int64_t Numerator = 0;
    std::int64_t Denominator = 1;
    bool Whole = true;
};

std::optional<Decimal> ReadDecimalNumber(Cursor& in) {
    Decimal d;
    const std::size_t start = in.Position();
    const auto whole = in.Digits(MaxWholeDigits);
    if (whole) d.Numerator = whole->first;
    if (in.Peek() == '.' && Cursor::IsDigit(in.Peek(1))) {
        in.Take(".");
        const auto decimals = in.Digits(MaxDecimalDigits);
        if (!decimals) return std::nullopt;
        for (int k = 0; k < decimals->second; ++k) {
            d.Numerator *= 10;
            d.Denominator *= 10;
        }
        d.Numerator += decimals->first;
        d.Whole = false;
    } else if (!whole) {
        in.Reset(start);
        return std::nullopt;
    }
    return d;
}

std::int64_t RoundedRatio(std::int64_t numerator, std::int64_t denominator) {
    return (2 * numerator + denominator) / (2 * denominator);
}

// A fraction of an inch in 1/32: "1/2", "3 / 4". The denominator a power of two up to 32.
std::optional<std::int64_t> ReadFraction(Cursor& in, bool& badDenominator) {
    const std::size_t start = in.Position();
    const auto numerator = in.Digits(3);
    in.SkipBlanks();
    if (!numerator || !in.Take("/")) {
        in.Reset(start);
        return std::nullopt;
    }
    in.SkipBlanks();
    const auto denominator = in.Digits(3);
    if (!denominator) return std::nullopt;
    const std::int64_t d = denominator->first;
    if (d != 2 && d != 4 && d != 8 && d != 16 && d != 32) {
        badDenominator = true;
        return std::nullopt;
    }
    if (numerator->first == 0 || numerator->first >= d) {
        badDenominator = true;
        return std::nullopt;
    }
    return numerator->first * (TicksPerInch / d);
}

bool TakeFeetMark(Cursor& in) { return in.Take("'") || in.Take("ft"); }
bool TakeInchMark(Cursor& in) { return in.Take("\"") || in.Take("in"); }

// The inches after the feet, or alone: 75, 75.5, 75-1/2, 75 1/2, 3/4, each with an optional
// inch mark.
std::optional<std::int64_t> ReadInches(Cursor& in, bool& badDenominator) {
    if (auto fraction = ReadFraction(in, badDenominator)) {
        in.SkipBlanks();
        TakeInchMark(in);
        return fraction;
    }
    if (badDenominator) return std::nullopt;
    const auto number = ReadDecimalNumber(in);
    if (!number) return std::nullopt;
    std::int64_t ticks = RoundedRatio(number->Numerator * TicksPerInch, number->Denominator);
    if (number->Whole) {
        // A fraction follows after a blank or a dash.
        const std::size_t afterWhole = in.Position();
        in.SkipBlanks();
        const bool dash = in.Take("-");
        in.SkipBlanks();
        if (const auto fraction = ReadFraction(in, badDenominator)) {
            ticks += *fraction;
        } else {
            if (badDenominator || dash) return std::nullopt;
            in.Reset(afterWhole);
        }
    }
    in.SkipBlanks();
    TakeInchMark(in);
    return ticks;
}

}  // namespace

std::string ImperialFormsText() {
    return "Type feet and inches as 20', 20ft, 6' 3-1/2\", 6'3.5\", 75-1/2, 75 1/2\", 75.5 or "
           "3/4\" (fractions in halves to 32nds of an inch).";
}

ImperialRead ReadImperialLength(std::string_view text) {
    ImperialRead read;
    auto refuse = [&read, text]() {
        read.Ticks.reset();
        read.Error = "'" + std::string(text) + "' is not a length in feet and inches. " +
                     ImperialFormsText();
        return read;
    };
    Cursor in(text);
    in.SkipBlanks();
    bool badDenominator = false;
    std::int64_t ticks = 0;
    bool any = false;

    // Feet first, when a feet mark follows the first number.
    const std::size_t start = in.Position();
    if (const auto feet = ReadDecimalNumber(in)) {
        in.SkipBlanks();
        if (TakeFeetMark(in)) {
            ticks = RoundedRatio(feet->Numerator * TicksPerFoot, feet->Denominator);
            any = true;
            in.SkipBlanks();
            // 6'-3": the dash between feet and inches some shops write.
            if (in.Take("-")) {
                in.SkipBlanks();
                if (in.AtEnd()) return refuse();
            }
        } else {
            in.Reset(start);
        }
    }
    if (!in.AtEnd()) {
        const auto inches = ReadInches(in, badDenominator);
        if (!inches) return refuse();
        ticks += *inches;
        any = true;
    }
    in.SkipBlanks();
    if (!any || !in.AtEnd()) return refuse();
    read.Ticks = ticks;
    return read;
}

long long RoundToPrecision(long long ticks, ImperialPrecision precision) {
    long long step = 1;
    if (precision == ImperialPrecision::Sixteenth) step = 2;
    if (precision == ImperialPrecision::Eighth) step = 4;
    if (ticks < 0) return -RoundToPrecision(-ticks, precision);
    return (ticks + step / 2) / step * step;
}

std::string WriteImperialLength(long long ticks, ImperialPrecision precision) {
    if (ticks < 0) return "-" + WriteImperialLength(-ticks, precision);
    const long long rounded = RoundToPrecision(ticks, precision);
    if (precision == ImperialPrecision::Decimal) {
        // Two places tell every 1/32 apart: 1/32 is 0.03125.
        const long long hundredths = (rounded * 100 * 2 + TicksPerInch) / (2 * TicksPerInch);
        std::string text = std::to_string(hundredths / 100);
        const long long cents = hundredths % 100;
        if (cents != 0) {
            text += "." + std::to_string(cents / 10);
            if (cents % 10 != 0) text += std::to_string(cents % 10);
        }
        return text + "\"";
    }
    const long long feet = rounded / TicksPerFoot;
    const long long inches = rounded % TicksPerFoot / TicksPerInch;
    long long numerator = rounded % TicksPerInch;
    long long denominator = TicksPerInch;
    while (numerator != 0 && numerator % 2 == 0) {
        numerator /= 2;
        denominator /= 2;
    }
    std::string inchText;
    if (numerator == 0)
        inchText = std::to_string(inches);
    else if (inches == 0)
        inchText = std::to_string(numerator) + "/" + std::to_string(denominator);
    else
        inchText = std::to_string(inches) + "-" + std::to_string(numerator) + "/" +
                   std::to_string(denominator);
    inchText += "\"";
    return feet > 0 ? std::to_string(feet) + "' " + inchText : inchText;
}

long long ConvertLength(long long length, const JobUnits& from, const JobUnits& to) {
    if (from.Imperial() == to.Imperial()) {
        return to.Imperial() ? RoundToPrecision(length, to.Precision) : length;
    }
    // An inch is 25.4mm exactly: 320 ticks are 254mm.
    if (to.Imperial()) return RoundToPrecision(RoundedRatio(length * 320, 254), to.Precision);
    return RoundedRatio(length * 254, 320);
}

std::string LengthWithUnit(long long length, const JobUnits& units) {
    if (units.Imperial()) return WriteImperialLength(length, units.Precision);
    return std::to_string(length) + "mm";
}

}  // namespace tallora
