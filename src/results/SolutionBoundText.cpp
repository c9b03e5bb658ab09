#include "results/SolutionBoundText.h"

namespace tallora {

namespace {

std::string Bars(long long bars) { return std::to_string(bars) + (bars == 1 ? " bar" : " bars"); }

std::string Metres(long long millimetres, const NumberFormat& format) {
    return FormatFixed(static_cast<double>(millimetres) / 1000.0, 3, format) + " m";
}

}  // namespace

std::string BoundText(const SolutionBound& bound, const NumberFormat& format) {
    std::string text = "Optimal: ";
    text += bound.SingleLength
                ? Bars(bound.UsedBars)
                : Metres(bound.Used, format) + " of usable stock in " + Bars(bound.UsedBars);
    if (bound.Known) {
        text += ", lower bound ";
        text += bound.SingleLength ? std::to_string(bound.LowerBoundBars)
                                   : Metres(bound.LowerBound, format);
        if (bound.ProvenOptimal) text += ", proven optimal";
    } else if (bound.PiecesLeft) {
        text += ", no lower bound: the stock runs out";
    } else {
        text += ", no lower bound yet";
    }
    if (!bound.ProvenOptimal) {
        if (bound.Cancelled)
            text += " (stopped by the user)";
        else if (bound.TimedOut)
            text += " (stopped at the time limit)";
    }
    return text;
}

}  // namespace tallora
