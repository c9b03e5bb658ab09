#include "engine/FastAlgorithm.h"

#include "engine/Generators.h"

namespace tallora {

void FastAlg(CalculationRun& run) {
    CuttingJob& job = run.Job;
    run.ProcessMessages();
    MathNest(job);
    run.Settle();
    int before = 0;
    int after = 0;
    do {
        before = SumCutQuantity(job);
        RepeatNest(job);
        run.Settle();
        after = SumCutQuantity(job);
        run.ProcessMessages();
    } while (after != before);
}

}  // namespace tallora
