#include "results/LengthFormat.h"

namespace tallora {

std::string FormatLength(long long length, const JobUnits& units) {
    return LengthWithUnit(length, units);
}

}  // namespace tallora
