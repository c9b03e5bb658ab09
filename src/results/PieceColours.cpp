#include "results/PieceColours.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tallora {

int PieceColourIndex(const CalculationResult& result, int cutLength) {
    for (int j = result.InputCutCount() - 1; j >= 0; --j) {
        if (result.InputCutLength[j] == cutLength) return j % PieceColourCount;
    }
    return 0;
}

bool LookAlike(Colour a, Colour b) {
    const auto d = [](int x, int y) { return (x - y) * (x - y); };
    return d(a.Red, b.Red) + d(a.Green, b.Green) + d(a.Blue, b.Blue) < 48 * 48;
}

PieceColours::PieceColours(const CalculationResult& result) {
    // Lengths that stand side by side in a bar: pieces are drawn in the pattern's order.
    std::map<int, std::vector<int>> neighbours;
    for (const CuttingPattern& p : result.Patterns) {
        for (int k = 1; k < p.LengthCount(); ++k) {
            neighbours[p.CutLength[k]].push_back(p.CutLength[k - 1]);
            neighbours[p.CutLength[k - 1]].push_back(p.CutLength[k]);
        }
    }
    // In the order of the rows, so that a job's first lengths keep their usual colours.
    for (int j = 0; j < result.InputCutCount(); ++j) {
        const int length = result.InputCutLength[static_cast<std::size_t>(j)];
        if (index_.contains(length)) continue;
        const int preferred = PieceColourIndex(result, length);
        int chosen = preferred;
        for (int step = 0; step < PieceColourCount; ++step) {
            const int candidate = (preferred + step) % PieceColourCount;
            const auto clashes = [&](int other) {
                const auto it = index_.find(other);
                return it != index_.end() && other != length &&
                       LookAlike(PiecePalette[candidate], PiecePalette[it->second]);
            };
            if (std::none_of(neighbours[length].begin(), neighbours[length].end(), clashes)) {
                chosen = candidate;
                break;
            }
        }
        index_[length] = chosen;
    }
}

int PieceColours::IndexOf(int cutLength) const {
    const auto it = index_.find(cutLength);
    return it == index_.end() ? 0 : it->second;
}

Colour PieceColours::Of(int cutLength) const { return PiecePalette[IndexOf(cutLength)]; }

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
