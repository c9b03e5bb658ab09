#pragma once

#include <optional>
#include <string>

#include "results/NumberFormat.h"

namespace tallora {

// The weight field read as a decimal number, an empty field as 0; nothing when the text is not
// a number, which the field then shows as wrong instead of counting it as 0.
std::optional<double> ReadWeightText(const std::string& text, const NumberFormat& format);

// A cost as typed, without a leading pound sign.
std::string WithoutPoundSign(std::string text);

// The cost field: empty text counts as 0, a leading pound sign is dropped; nothing when the text
// is not a number.
std::optional<double> ReadCostText(const std::string& text, const NumberFormat& format);

// The texts a calculation writes back into the weight and cost fields: 3 and 2 decimals.
std::string WeightFieldText(double weight, const NumberFormat& format);
std::string CostFieldText(double cost, const NumberFormat& format);

// What a calculation uses: the value as its field shows it after that rewrite.
double WeightAsShown(double weight, const NumberFormat& format);
double CostAsShown(double cost, const NumberFormat& format);

}  // namespace tallora
