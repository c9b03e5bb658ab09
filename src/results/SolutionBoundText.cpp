#include "results/SolutionBoundText.h"

namespace tallora {

namespace {

std::string Bars(long long bars) { return std::to_string(bars) + (bars == 1 ? " bar" : " bars"); }

std::string Metres(long long millimetres, const NumberFormat& format) {
    return FormatFixed(static_cast<double>(millimetres) / 1000.0, 3, format) + " m";
}

// With offcut rows the plan and its bound are told in metres at both levels, new stock first.
// The bound is the least new stock any plan can use, with the least offcuts a plan using that
// much new stock can: "proven optimal" when the plan meets both, "proven optimal for new stock"
// when it meets the first only.
std::string Plan(const SolutionBound& bound, const NumberFormat& format) {
    if (bound.Offcuts) {
        return Metres(bound.NewUsed(), format) + " of new stock and " +
               Metres(bound.OffcutUsed, format) + " of inventory offcuts in " +
               Bars(bound.UsedBars);
    }
    return bound.SingleLength
               ? Bars(bound.UsedBars)
               : Metres(bound.Used, format) + " of usable stock in " + Bars(bound.UsedBars);
}

std::string Lower(const SolutionBound& bound, const NumberFormat& format) {
    if (bound.Offcuts) {
        return Metres(bound.LowerBound, format) + " of new stock and " +
               Metres(bound.OffcutLowerBound, format) + " of inventory offcuts";
    }
    return bound.SingleLength ? std::to_string(bound.LowerBoundBars)
                              : Metres(bound.LowerBound, format);
}

}  // namespace

std::string BoundText(const SolutionBound& bound, const NumberFormat& format) {
    std::string text = "Optimal: " + Plan(bound, format);
    if (bound.Known) {
        text += ", lower bound " + Lower(bound, format);
        if (bound.ProvenOptimal)
            text += ", proven optimal";
        else if (bound.Offcuts && bound.NewStockProven)
            text += ", proven optimal for new stock";
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

std::string StoppedEarlyText() {
    return "Complex: stopped at the time limit before the search was done; the pieces left were "
           "placed as the Fast algorithm places them";
}

}  // namespace tallora
