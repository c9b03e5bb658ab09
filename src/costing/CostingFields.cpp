#include "costing/CostingFields.h"

#include <stdexcept>

namespace tallora {

namespace {

void CheckCharge(int charge) {
    if (charge < 1 || charge > OtherChargeCount) throw std::out_of_range("no such charge");
}

template <class Settings>
auto& NameOf(Settings& settings, int charge) {
    CheckCharge(charge);
    return charge == 1   ? settings.OtherName1
           : charge == 2 ? settings.OtherName2
                         : settings.OtherName3;
}

// Blanks and control characters; bytes of multi-byte UTF-8 characters are never either.
bool Trimmed(unsigned char c) { return c <= 0x20 || c == 0x7F; }

}  // namespace

const char* DefaultChargeName(int charge) {
    static const char* const names[] = {DefaultOtherName1, DefaultOtherName2, DefaultOtherName3};
    CheckCharge(charge);
    return names[charge - 1];
}

std::string& ChargeName(CostingSettings& settings, int charge) { return NameOf(settings, charge); }

const std::string& ChargeName(const CostingSettings& settings, int charge) {
    return NameOf(settings, charge);
}

std::string ChargeGroupCaption(int charge, const std::string& name) {
    CheckCharge(charge);
    return " " + name + (charge == 1 ? " ** " : " * ");
}

std::string ChargeColumnCaption(const std::string& name) { return name + " (ea)"; }

std::string RenamedCharge(int charge, const std::string& answer) {
    size_t first = 0;
    size_t last = answer.size();
    while (first < last && Trimmed(static_cast<unsigned char>(answer[first]))) ++first;
    while (last > first && Trimmed(static_cast<unsigned char>(answer[last - 1]))) --last;
    if (first == last) return DefaultChargeName(charge);
    return answer.substr(first, last - first);
}

double ReadChargeValue(const std::string& text, const NumberFormat& format) {
    return ReadFieldNumber(text, format).value_or(0.0);
}

}  // namespace tallora
