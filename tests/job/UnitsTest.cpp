#include "job/Units.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tallora {
namespace {

constexpr long long Inch = TicksPerInch;
constexpr long long Foot = TicksPerFoot;

// Reduced fractions, feet from a foot up, rounding to the precision (carrying into the inch and
// the foot).
TEST(WriteImperialLength, WritesFeetInchesAndReducedFractions) {
    using P = ImperialPrecision;
    const std::tuple<long long, P, const char*> cases[] = {
        {20 * Foot, P::Sixteenth, "20' 0\""},
        {6 * Foot + 3 * Inch + Inch / 2, P::Sixteenth, "6' 3-1/2\""},
        {11 * Inch + 7 * Inch / 8, P::Sixteenth, "11-7/8\""},
        {7 * Inch / 8, P::Sixteenth, "7/8\""},
        {0, P::Sixteenth, "0\""},
        {20 * Foot + Inch / 2, P::Sixteenth, "20' 1/2\""},
        {1, P::ThirtySecond, "1/32\""},
        {1, P::Sixteenth, "1/16\""},  // halves round up
        {12 * Inch - 1, P::Sixteenth, "1' 0\""},
        {12 * Inch - 1, P::ThirtySecond, "11-31/32\""},
        {3, P::Eighth, "1/8\""},
        {75 * Inch + Inch / 2, P::Decimal, "75.5\""},
        {Inch / 4, P::Decimal, "0.25\""},
        {20 * Foot, P::Decimal, "240\""},
        {1, P::Decimal, "0.03\""},
    };
    for (const auto& [ticks, precision, text] : cases)
        EXPECT_EQ(WriteImperialLength(ticks, precision), text) << ticks;
}

// What is written at a precision reads back as the length rounded to it, for every length of
// the first six feet and every precision.
TEST(WriteImperialLength, ReadsBackAtEveryPrecision) {
    for (auto precision : {ImperialPrecision::Sixteenth, ImperialPrecision::ThirtySecond,
                           ImperialPrecision::Eighth, ImperialPrecision::Decimal}) {
        for (long long ticks = 0; ticks <= 6 * Foot; ++ticks) {
            const std::string text = WriteImperialLength(ticks, precision);
            const ImperialRead read = ReadImperialLength(text);
            ASSERT_TRUE(read.Ticks.has_value()) << text;
            EXPECT_EQ(*read.Ticks, RoundToPrecision(ticks, precision)) << text;
        }
    }
}

// A conversion there and back moves a length by less than the step of either unit.
TEST(ConvertLength, RoundTripsWithinOneStep) {
    const JobUnits metric = JobUnits::Metric();
    const JobUnits fine = JobUnits::ImperialIn(ImperialPrecision::ThirtySecond);
    for (long long mm = 1; mm <= 18300; mm += 7) {
        const long long ticks = ConvertLength(mm, metric, fine);
        EXPECT_LE(std::abs(ticks * 25.4 / 32 - mm), 25.4 / 64 + 1e-9) << mm;
        EXPECT_EQ(ConvertLength(ticks, fine, metric), mm) << mm;
    }
    EXPECT_EQ(ConvertLength(254, metric, fine), 10 * Inch);
}

TEST(UnitsText, NamesEachUnitsAndRefusesOthers) {
    for (const JobUnits& units :
         {JobUnits::Metric(), JobUnits::ImperialIn(ImperialPrecision::Sixteenth),
          JobUnits::ImperialIn(ImperialPrecision::ThirtySecond),
          JobUnits::ImperialIn(ImperialPrecision::Eighth),
          JobUnits::ImperialIn(ImperialPrecision::Decimal)}) {
        EXPECT_EQ(UnitsFromText(UnitsText(units)), units) << UnitsText(units);
    }
    for (const char* text : {"", "imperial", "imperial 1/64", "metric 1/16", "Imperial 1/16"})
        EXPECT_FALSE(UnitsFromText(text).has_value()) << text;
}

}  // namespace
}  // namespace tallora
