#pragma once

#include "job/JobInput.h"

namespace tallora {

// A job put into other units: every length of its rows and allowances converted and rounded to
// the new precision (rows that come to one length merge, as typed rows do), the section's
// weight and prices and the charges by tonne or metre converted to pounds, short tons and feet
// or back. Whether a length moved in the rounding: the user is told.
struct UnitChange {
    bool LengthMoved = false;
};
UnitChange ChangeUnits(JobInput& input, const JobUnits& to);

}  // namespace tallora
