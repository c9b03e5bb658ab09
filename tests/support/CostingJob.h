#pragma once

#include <utility>
#include <vector>

#include "costing/CostingSheet.h"
#include "support/TestJob.h"

namespace tallora::testing {

// A calculated job's figures as the costing reads them: cut rows as (quantity, length), kerf 3,
// the chargeable and net metres of its statistics.
struct CostingJob {
    TestJob job;
    Statistics stats;
    MaterialPrice material{"Tonne", 0.0, 0.0};
    CostingSettings settings;

    CostingJob(const std::vector<std::pair<int, int>>& rows, double chargeable, double net,
               int bars = 0) {
        job.Input.Allowances.Kerf = 3;
        for (const auto& [q, l] : rows) {
            job.Result.InputCutQuantity.push_back(q);
            job.Result.InputCutLength.push_back(l + 3);
        }
        stats.StatMetres[ChargeableMaterialRow] = chargeable;
        stats.StatMetres[CutPiecesRow] = net;
        stats.BarsUsedTotal = bars;
    }
    CostingSheet Sheet() const {
        return MakeCostingSheet(job.Input, job.Result, stats, material, settings,
                                NumberFormat::UK());
    }
};

}  // namespace tallora::testing
