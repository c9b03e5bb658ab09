#include "entry/SectionFields.h"

namespace tallora {

std::string WithoutPoundSign(std::string text) {
    static const std::string pound = "\u00A3";
    if (text.rfind(pound, 0) == 0) text.erase(0, pound.size());
    return text;
}

std::optional<double> ReadWeightText(const std::string& text, const NumberFormat& format) {
    return ReadFieldNumber(text.empty() ? "0" : text, format);
}

std::optional<double> ReadCostText(const std::string& text, const NumberFormat& format) {
    return ReadFieldNumber(WithoutPoundSign(text.empty() ? "0" : text), format);
}

std::string WeightFieldText(double weight, const NumberFormat& format) {
    return FormatFixed(weight, 3, format);
}

std::string CostFieldText(double cost, const NumberFormat& format) {
    return FormatFixed(cost, 2, format);
}

double WeightAsShown(double weight, const NumberFormat& format) {
    return ReadWeightText(WeightFieldText(weight, format), format).value_or(0.0);
}

double CostAsShown(double cost, const NumberFormat& format) {
    return ReadCostText(CostFieldText(cost, format), format).value_or(0.0);
}

}  // namespace tallora
