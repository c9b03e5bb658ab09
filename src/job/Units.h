#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tallora {

// Lengths of a metric job are whole millimetres; those of an imperial job whole 1/32 inches,
// so that the engine works in exact integers either way.
enum class LengthUnit { Metric, Imperial };

// How an imperial job shows its lengths: rounded to a fraction, or as decimal inches.
enum class ImperialPrecision { Sixteenth, ThirtySecond, Eighth, Decimal };

struct JobUnits {
    LengthUnit Unit = LengthUnit::Metric;
    ImperialPrecision Precision = ImperialPrecision::Sixteenth;

    bool Imperial() const { return Unit == LengthUnit::Imperial; }
    bool operator==(const JobUnits&) const = default;

    static JobUnits Metric() { return {}; }
    static JobUnits ImperialIn(ImperialPrecision precision) {
        return {LengthUnit::Imperial, precision};
    }
};

inline constexpr int TicksPerInch = 32;
inline constexpr int TicksPerFoot = 12 * TicksPerInch;

// Longest stock or cut length of an imperial job: 60 feet.
inline constexpr int MaxImperialLength = 60 * TicksPerFoot;

// Lengths per unit of the statistics (millimetres in a metre, 1/32 inches in a foot) and
// weights per ton of the price (kilograms in a tonne, pounds in a short ton).
double LengthPerStatUnit(const JobUnits& units);
double WeightPerTon(const JobUnits& units);

// The names a job file and the command line use: "metric", "imperial"; "1/16", "1/32", "1/8",
// "decimal".
std::string UnitName(LengthUnit unit);
std::optional<LengthUnit> UnitFromName(std::string_view name);
std::string PrecisionName(ImperialPrecision precision);
std::optional<ImperialPrecision> PrecisionFromName(std::string_view name);

// The units as one text, as job files and settings keep them: "metric", "imperial 1/16".
std::string UnitsText(const JobUnits& units);
std::optional<JobUnits> UnitsFromText(std::string_view text);

// An imperial length as typed: feet (20', 20ft), inches with an optional fraction (75-1/2,
// 75 1/2", 75.5, 3/4") or both (6' 3-1/2", 6'3.5"); blanks and the inch mark optional. The
// result is whole 1/32 inches, decimals rounded to the nearest. Nothing else is a length.
struct ImperialRead {
    std::optional<long long> Ticks;
    std::string Error;  // when not a length: says which forms are
};
ImperialRead ReadImperialLength(std::string_view text);

// The forms ReadImperialLength takes, for messages.
std::string ImperialFormsText();

// A length in 1/32 inches as the job shows it, rounded to the precision and reduced: 20' 0",
// 6' 3-1/2", 11-7/8", 7/8"; decimal precision gives inches to two places, 75.5".
std::string WriteImperialLength(long long ticks, ImperialPrecision precision);

// A length in the job's units rounded to the step of the precision (whole 1/32 for decimal).
long long RoundToPrecision(long long ticks, ImperialPrecision precision);

// The same length in the other unit: millimetres to 1/32 inches rounded to the precision, or
// 1/32 inches to the nearest millimetre.
long long ConvertLength(long long length, const JobUnits& from, const JobUnits& to);

// A length in the job's units with its unit, for messages of the core: "1500mm", "4' 11"".
std::string LengthWithUnit(long long length, const JobUnits& units);

}  // namespace tallora
