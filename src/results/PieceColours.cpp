#include "results/PieceColours.h"

#include <cmath>

namespace tallora {

int PieceColourIndex(const CuttingJob& job, int cutLength) {
    for (int j = job.InputCutCount() - 1; j >= 0; --j) {
        if (job.InputCutLength[j] == cutLength) return j % PieceColourCount;
    }
    return 0;
}

Colour PieceColour(const CuttingJob& job, int cutLength) {
    return PiecePalette[PieceColourIndex(job, cutLength)];
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
