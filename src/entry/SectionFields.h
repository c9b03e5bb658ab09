#pragma once

#include <optional>
#include <string>

#include "results/NumberFormat.h"

namespace tallora {

// The largest weight and price: what the fields show with 3 and 2 decimals in 7 digits. Larger
// figures are typing errors, and would print as nonsense.
inline constexpr double MaxSectionWeight = 9999.999;  // kg per metre
inline constexpr double MaxSectionCost = 99999.99;    // per tonne or per metre

// Why a weight or cost text cannot be used ("is not a number", "is more than 9999.999", "is
// less than 0"); empty when it can. An empty field is 0.
std::string WeightTextProblem(const std::string& text, const NumberFormat& format);
std::string CostTextProblem(const std::string& text, const NumberFormat& format);

// The weight field read as a decimal number, an empty field as 0; nothing when the text cannot
// be used, which the field then shows as wrong instead of counting it as 0.
std::optional<double> ReadWeightText(const std::string& text, const NumberFormat& format);

// A cost as typed, without a leading pound sign.
std::string WithoutPoundSign(std::string text);

// The cost field: empty text counts as 0, a leading pound sign is dropped; nothing when the text
// cannot be used.
std::optional<double> ReadCostText(const std::string& text, const NumberFormat& format);

// The texts a calculation writes back into the weight and cost fields: 3 and 2 decimals.
std::string WeightFieldText(double weight, const NumberFormat& format);
std::string CostFieldText(double cost, const NumberFormat& format);

// What a calculation uses: the value as its field shows it after that rewrite.
double WeightAsShown(double weight, const NumberFormat& format);
double CostAsShown(double cost, const NumberFormat& format);

}  // namespace tallora
