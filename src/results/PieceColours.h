#pragma once

#include <array>
#include <cstdint>
#include <map>

#include "job/CalculationResult.h"

namespace tallora {

// A 24-bit colour.
struct Colour {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;

    static constexpr Colour FromRgb(std::uint32_t rgb) {
        return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                static_cast<std::uint8_t>(rgb)};
    }
    constexpr std::uint32_t Rgb() const {
        return (std::uint32_t{Red} << 16) | (std::uint32_t{Green} << 8) | std::uint32_t{Blue};
    }
    bool operator==(const Colour&) const = default;
};

inline constexpr Colour White = Colour::FromRgb(0xFFFFFF);
inline constexpr Colour Black = Colour::FromRgb(0x000000);
inline constexpr Colour Silver = Colour::FromRgb(0xC0C0C0);
inline constexpr Colour DarkRed = Colour::FromRgb(0x800000);
inline constexpr Colour DarkGray = Colour::FromRgb(0x808080);

// Pieces take the first 25 colours; the 26th stays in the table but is never picked.
inline constexpr int PieceColourCount = 25;
inline constexpr std::array<Colour, 26> PiecePalette = {
    Colour::FromRgb(0xC000C0), Colour::FromRgb(0x0000C0), Colour::FromRgb(0x00C000),
    Colour::FromRgb(0x00F2F2), Colour::FromRgb(0xFF0000), Colour::FromRgb(0xE6E6E6),
    Colour::FromRgb(0x800080), Colour::FromRgb(0x000080), Colour::FromRgb(0x008000),
    Colour::FromRgb(0x00E0E0), Colour::FromRgb(0x800000), Colour::FromRgb(0x808080),
    Colour::FromRgb(0xFF00FF), Colour::FromRgb(0x0000FF), Colour::FromRgb(0x00FF00),
    Colour::FromRgb(0x00FFFF), Colour::FromRgb(0xFFA000), Colour::FromRgb(0x00C0FF),
    Colour::FromRgb(0xFFFF00), Colour::FromRgb(0x0040FF), Colour::FromRgb(0x80FF00),
    Colour::FromRgb(0x0080FF), Colour::FromRgb(0xFFC000), Colour::FromRgb(0x005080),
    Colour::FromRgb(0x008080), Colour::FromRgb(0x808000),
};

// Palette index of a piece by its cut length (with kerf): the last input cut row of that length
// decides, so equal ordered lengths share a colour and the 26th length reuses the first. 0 when
// no row matches.
int PieceColourIndex(const CalculationResult& result, int cutLength);

// Whether two colours of the palette are too alike to tell two pieces apart.
bool LookAlike(Colour a, Colour b);

// The colours of a result's pieces, by cut length (with kerf). Each length takes its row's
// colour (PieceColourIndex) unless a length it stands beside in some bar looks alike: then the
// next colour of the palette that looks like none of its neighbours'.
class PieceColours {
public:
    explicit PieceColours(const CalculationResult& result);
    Colour Of(int cutLength) const;
    int IndexOf(int cutLength) const;

private:
    std::map<int, int> index_;  // cut length -> palette index
};

// Relative luminance of a colour (sRGB channels to linear light).
double Luminance(Colour colour);

// White text on dark fills, black on light ones.
Colour LabelColourOn(Colour fill);

}  // namespace tallora
