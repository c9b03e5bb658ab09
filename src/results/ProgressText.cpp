#include "results/ProgressText.h"

namespace tallora {

namespace {

std::string Metres(double millimetres) {
    const long long tenths = static_cast<long long>(millimetres / 100.0 + 0.5);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " m";
}

// The best plan so far and the bound; with offcut rows, of new stock.
std::string OptimalLine(const CalculationProgress& progress) {
    if (!progress.BestMaterial) return {};
    const long long material = *progress.BestMaterial;
    const std::string fresh = progress.OffcutRows ? " of new stock" : "";
    const long long length = progress.SingleStockLength;
    std::string line;
    if (length > 0) {
        line = "Best so far: " + std::to_string(material / length) + " bars" + fresh;
        if (progress.Bound)
            line +=
                ", lower bound " + std::to_string(static_cast<long long>(*progress.Bound) / length);
    } else {
        line = "Best so far: " + Metres(static_cast<double>(material)) + fresh;
        if (progress.Bound) line += ", lower bound " + Metres(*progress.Bound);
    }
    return line;
}

}  // namespace

std::string AllocatedLine(const CalculationProgress& progress) {
    return "Cut lengths allocated: " + std::to_string(progress.PiecesPlaced);
}

std::string RemainingLine(const CalculationProgress& progress) {
    return "Cut lengths remaining: " + std::to_string(progress.PiecesLeft);
}

std::string SearchLine(const CalculationProgress& progress) {
    switch (progress.Phase) {
        case CalculationPhase::Searching:
            // The line moves on every 25 steps.
            if (progress.Milestone == 0) return {};
            return "Testing permutation: " + std::to_string(progress.Milestone);
        case CalculationPhase::Optimal:
            return OptimalLine(progress);
        default:
            return {};
    }
}

std::string ActivityLine(const CalculationProgress& progress, double seconds,
                         std::optional<double> limitSeconds) {
    std::string activity;
    switch (progress.Phase) {
        case CalculationPhase::Searching:
            activity = "Searching, step " + std::to_string(progress.Iteration);
            break;
        case CalculationPhase::Optimal:
            activity = "Optimal search";
            break;
        case CalculationPhase::Finished:
            activity = "Finishing";
            break;
        default:
            activity = "Placing pieces";
            break;
    }
    const auto whole = [](double s) { return std::to_string(static_cast<long long>(s)) + " s"; };
    std::string line = activity + ": " + whole(seconds);
    if (limitSeconds) line += " of " + whole(*limitSeconds);
    return line;
}

}  // namespace tallora
