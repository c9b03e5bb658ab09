#pragma once

#include "engine/CalculationRun.h"

namespace tallora {

// One run of the Fast algorithm: the best-filled new bar, then repeats of every pattern.
void RunFast(CalculationRun& run);

}  // namespace tallora
