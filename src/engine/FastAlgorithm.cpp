#include "engine/FastAlgorithm.h"

#include "engine/Generators.h"

namespace tallora {

void FastAlg(CalculationRun& run) {
    WorkingTables& tables = run.Tables;
    MathNest(tables);
    run.Settle();
    int before = 0;
    int after = 0;
    do {
        before = SumCutQuantity(tables);
        RepeatNest(tables);
        run.Settle();
        after = SumCutQuantity(tables);
    } while (after != before);
}

}  // namespace tallora
