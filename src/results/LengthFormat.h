#pragma once

#include <string>

#include "job/Units.h"

namespace tallora {

// Every length a result shows, in the job's units: a metric job's whole millimetres with "mm"
// ("5975mm", as the cutting list has always written them), an imperial job's 1/32 inches as
// feet, inches and fractions rounded to its precision ("19' 7-1/4""). The cutting list, the
// report, the diagrams, the exports and the windows all write lengths through it.
std::string FormatLength(long long length, const JobUnits& units);

}  // namespace tallora
