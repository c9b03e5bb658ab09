#include "entry/SectionFields.h"

namespace tallora {

std::string WithoutPoundSign(std::string text) {
    static const std::string pound = "\u00A3";
    if (text.rfind(pound, 0) == 0) text.erase(0, pound.size());
    return text;
}

namespace {

std::string Problem(const std::optional<double>& value, double max, const NumberFormat& format,
                    int decimals) {
    if (!value) return "is not a number";
    if (*value < 0) return "is less than 0";
    if (*value > max) return "is more than " + FormatFixed(max, decimals, format);
    return {};
}

std::optional<double> Usable(const std::optional<double>& value, double max) {
    if (!value || *value < 0 || *value > max) return std::nullopt;
    return value;
}

std::optional<double> WeightNumber(const std::string& text, const NumberFormat& format) {
    return ReadFieldNumber(text.empty() ? "0" : text, format);
}

std::optional<double> CostNumber(const std::string& text, const NumberFormat& format) {
    return ReadFieldNumber(WithoutPoundSign(text.empty() ? "0" : text), format);
}

}  // namespace

std::string WeightTextProblem(const std::string& text, const NumberFormat& format) {
    return Problem(WeightNumber(text, format), MaxSectionWeight, format, 3);
}

std::string CostTextProblem(const std::string& text, const NumberFormat& format) {
    return Problem(CostNumber(text, format), MaxSectionCost, format, 2);
}

std::optional<double> ReadWeightText(const std::string& text, const NumberFormat& format) {
    return Usable(WeightNumber(text, format), MaxSectionWeight);
}

std::optional<double> ReadCostText(const std::string& text, const NumberFormat& format) {
    return Usable(CostNumber(text, format), MaxSectionCost);
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
