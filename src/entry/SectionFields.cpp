#include "entry/SectionFields.h"

namespace tallora {

namespace {
const std::string kPound = "\u00A3";
}

namespace {
// The locale's separator, or the point the key filters let through.
std::optional<double> ReadField(const std::string& text, const NumberFormat& format) {
    auto value = ReadDecimal(text, format.DecimalSeparator);
    return value ? value : ReadDecimal(text, ".");
}
}  // namespace

double ReadWeightText(const std::string& text, const NumberFormat& format) {
    return ReadField(text, format).value_or(0.0);
}

double ReadCostText(const std::string& text, const NumberFormat& format) {
    std::string cost = text.empty() ? "0" : text;
    if (cost.rfind(kPound, 0) == 0) cost.erase(0, kPound.size());
    return ReadField(cost, format).value_or(0.0);
}

std::string WeightFieldText(double weight, const NumberFormat& format) {
    return FormatFixed(weight, 3, format);
}

std::string CostFieldText(double cost, const NumberFormat& format) {
    return FormatFixed(cost, 2, format);
}

double WeightAsShown(double weight, const NumberFormat& format) {
    return ReadWeightText(WeightFieldText(weight, format), format);
}

double CostAsShown(double cost, const NumberFormat& format) {
    return ReadCostText(CostFieldText(cost, format), format);
}

}  // namespace tallora
