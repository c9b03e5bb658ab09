#pragma once

#include <array>
#include <string>

namespace tallora {

// Charge bases, stored as these codes. A code that is not offered for its charge makes that
// charge zero.
namespace ChargeBasis {
inline constexpr const char* Tonne = "Tonne";  // pounds per tonne
inline constexpr const char* Metre = "Metre";  // pounds per metre
inline constexpr const char* Lump = "Lump";    // one sum for the whole job
inline constexpr const char* Cut = "Cut";      // pounds per saw cut: cutting charge only
inline constexpr const char* Each = "Each";    // pounds per piece: other charges only
// Per hundredweight (100 lb): an imperial job's material price only. In an imperial job Tonne
// is the short ton (2000 lb) and Metre the foot.
inline constexpr const char* Cwt = "Cwt";
}  // namespace ChargeBasis

inline constexpr const char* DefaultOtherName1 = "Other Charges 1";
inline constexpr const char* DefaultOtherName2 = "Other Charges 2";
inline constexpr const char* DefaultOtherName3 = "Other Charges 3";

// The costing part of the job: the cutting charge and three further charges with their names.
// The material's basis, rate and weight are the section's CostType, Cost and Weight.
struct CostingSettings {
    std::string CCutType = ChargeBasis::Tonne;
    double CCutValue = 0.0;
    std::string CGalvType = ChargeBasis::Tonne;  // other charge 1: on the net cut pieces
    double CGalvValue = 0.0;
    std::string CPPType = ChargeBasis::Tonne;  // other charge 2: on the gross material used
    double CPPValue = 0.0;
    std::string COtherType = ChargeBasis::Tonne;  // other charge 3: on the gross material used
    double COtherValue = 0.0;
    std::string OtherName1 = DefaultOtherName1;
    std::string OtherName2 = DefaultOtherName2;
    std::string OtherName3 = DefaultOtherName3;

    bool operator==(const CostingSettings&) const = default;
};

// The cutting charge and the further charges, in the order job files and the autosave record
// keep them, under the names the autosave record gives them.
struct ChargeField {
    const char* BasisName;  // "CCutType"
    const char* ValueName;  // "CCutValue"
    std::string CostingSettings::*Basis;
    double CostingSettings::*Value;
};
inline constexpr std::array<ChargeField, 4> ChargeFields = {{
    {"CCutType", "CCutValue", &CostingSettings::CCutType, &CostingSettings::CCutValue},
    {"CGalvType", "CGalvValue", &CostingSettings::CGalvType, &CostingSettings::CGalvValue},
    {"CPPType", "CPPValue", &CostingSettings::CPPType, &CostingSettings::CPPValue},
    {"COtherType", "COtherValue", &CostingSettings::COtherType, &CostingSettings::COtherValue},
}};

// The further charges' names with their defaults and the names they are kept under.
struct ChargeNameField {
    const char* Name;  // "OtherName1"
    const char* Default;
    std::string CostingSettings::*Member;
};
inline constexpr std::array<ChargeNameField, 3> ChargeNameFields = {{
    {"OtherName1", DefaultOtherName1, &CostingSettings::OtherName1},
    {"OtherName2", DefaultOtherName2, &CostingSettings::OtherName2},
    {"OtherName3", DefaultOtherName3, &CostingSettings::OtherName3},
}};

}  // namespace tallora
