#include "storage/JobCalculation.h"

#include "entry/SectionFields.h"
#include "storage/AutoSave.h"

namespace tallora {

CalculationOutcome CalculateJob(CuttingJob& job, CalculationServices& services) {
    AutoSave(services.Store, job);
    SectionData& s = job.section;
    s.SectionWeight = WeightAsShown(s.SectionWeight, services.Format);
    s.SectionCost = CostAsShown(s.SectionCost, services.Format);
    return RunCalculation(job, services.Chosen, services.Host);
}

}  // namespace tallora
