#include "results/PieceColours.h"

#include <cmath>

namespace tallora {

int PieceColourIndex(const CalculationResult& result, int cutLength) {
    for (int j = result.InputCutCount() - 1; j >= 0; --j) {
        if (result.InputCutLength[j] == cutLength) return j % PieceColourCount;
    }
    return 0;
}

Colour PieceColour(const CalculationResult& result, int cutLength) {
    return PiecePalette[PieceColourIndex(result, cutLength)];
}

namespace {
double LinearLight(std::uint8_t channel) {
    const double v = channel / 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}
}  // namespace

double Luminance(Colour colour) {
    return 0.2126 * LinearLight(colour.Red) + 0.7152 * LinearLight(colour.Green) +
           0.0722 * LinearLight(colour.Blue);
}

Colour LabelColourOn(Colour fill) { return Luminance(fill) < 0.17913 ? White : Black; }

}  // namespace tallora
