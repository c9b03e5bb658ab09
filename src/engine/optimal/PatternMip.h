#pragma once

#include <optional>
#include <vector>

#include "engine/optimal/Master.h"

namespace tallora::csp {

// Every pattern generated so far and `extra`, as a whole-number programme, searched for a plan
// cheaper than the best by branch and bound; only plans at the bound are asked for when
// `toBound`, which prunes far more. `alone`: `extra` are all the patterns there are, searched
// until the deadline. True when the search went to its end: no plan among these patterns beats
// the best then. It searches at most `nodes` (and the work limit), all there are without.
bool RestrictedMaster(const Instance& in, Incumbent& incumbent, const Master& master,
                      const std::vector<Pattern>& extra, bool toBound,
                      std::optional<long long> nodes, bool alone = false);

}  // namespace tallora::csp
