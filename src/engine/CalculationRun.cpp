#include "engine/CalculationRun.h"

#include <string>

#include "engine/WorkingTables.h"

namespace tallora {

void CalculationRun::CheckProgress() {
    if (Host.CancelRequested()) throw CalculationCancelled{};
    ShowProgress();
}

void CalculationRun::ShowProgress() {
    Job.RemainingPieces = SumCutQuantity(Job);
    const int allocated = Job.TotalPieces - Job.RemainingPieces;
    if (allocated != LastProgress) {
        LastProgress = allocated;
        Host.UpdateProgress(allocated, "Cut lengths allocated: " + std::to_string(allocated),
                            "Cut lengths remaining: " + std::to_string(Job.RemainingPieces));
    }
}

void CalculationRun::Settle() {
    CheckProgress();
    Job.AllAllocated = true;
    Recompile(Job);
}

}  // namespace tallora
