#include "engine/FastAlgorithm.h"

#include "engine/Generators.h"

namespace tallora {

void RunFast(CalculationRun& run) {
    WorkingTables& tables = run.Tables;
    NestBestFilledBar(tables);
    run.Settle();
    int before = 0;
    int after = 0;
    do {
        before = SumCutQuantity(tables);
        RepeatPatterns(tables);
        run.Settle();
        after = SumCutQuantity(tables);
    } while (after != before);
}

}  // namespace tallora
