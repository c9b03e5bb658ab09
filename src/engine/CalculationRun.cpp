#include "engine/CalculationRun.h"

namespace tallora {

void CalculationRun::CheckProgress() {
    if (Observer.StopRequested()) throw CalculationCancelled{};
    ShowProgress();
}

void CalculationRun::ShowProgress() {
    Tables.RemainingPieces = SumCutQuantity(Tables);
    const int allocated = Tables.TotalPieces - Tables.RemainingPieces;
    if (allocated != LastProgress) {
        LastProgress = allocated;
        CalculationProgress progress;
        progress.Phase = CalculationPhase::Placing;
        Report(progress);
    }
}

void CalculationRun::Report(CalculationProgress progress) {
    progress.TotalPieces = Tables.TotalPieces;
    progress.PiecesLeft = SumCutQuantity(Tables);
    progress.PiecesPlaced = Tables.TotalPieces - progress.PiecesLeft;
    progress.PatternsMade = Tables.PatternCount();
    progress.Iteration = PermutationNumber;
    Observer.OnProgress(progress);
}

void CalculationRun::Settle() {
    CheckProgress();
    Tables.AllAllocated = true;
    CompactLiveRows(Tables);
}

}  // namespace tallora
