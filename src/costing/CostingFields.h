#pragma once

#include <string>

#include "job/CostingSettings.h"
#include "results/NumberFormat.h"

namespace tallora {

// The largest value of a charge: what its field shows with 2 decimals in 7 digits.
inline constexpr double MaxChargeValue = 99999.99;

// The three further charges are numbered 1 to 3.
inline constexpr int OtherChargeCount = 3;

const char* DefaultChargeName(int charge);
std::string& ChargeName(CostingSettings& settings, int charge);
const std::string& ChargeName(const CostingSettings& settings, int charge);

// Group captions mark how a charge is computed: "**" on the net cut pieces (charge 1), "*" on
// the gross material used (charges 2 and 3).
std::string ChargeGroupCaption(int charge, const std::string& name);
std::string ChargeColumnCaption(const std::string& name);  // name + " (ea)"

// The name a rename gives: the answer without leading and trailing blanks and control
// characters, or the charge's default when nothing is left.
std::string RenamedCharge(int charge, const std::string& answer);

// A value field of the costing window: the locale's separator or the point its key filter lets
// through; text that is not a number counts as 0.
double ReadChargeValue(const std::string& text, const NumberFormat& format);

}  // namespace tallora
