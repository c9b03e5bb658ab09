#pragma once

#include <string>

#include "costing/CostingSettings.h"
#include "results/NumberFormat.h"
#include "storage/RegistryStore.h"

namespace tallora {

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

// The names are user settings: string values "OtherName1" to "OtherName3" of the main key.
// Loading replaces each name whose value exists; a missing key changes nothing.
void LoadChargeNames(const RegistryStore& store, CostingSettings& settings);
// Writes all three names, defaults included, creating the key; a key that cannot be created or
// written is passed over.
void WriteChargeNames(RegistryStore& store, const CostingSettings& settings);

// A value field of the costing window: the locale's separator or the point its key filter lets
// through; text that is not a number counts as 0.
double ReadChargeValue(const std::string& text, const NumberFormat& format);

}  // namespace tallora
