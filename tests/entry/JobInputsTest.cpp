#include "entry/JobInputs.h"

#include <gtest/gtest.h>

#include "entry/ListEntry.h"

namespace tallora {
namespace {

TEST(JobInputs, ChangedPartsAndFieldsNameTheEditAndPutBackOnlyThoseParts) {
    CuttingJob job;
    const JobInputs before = InputsOf(job);
    job.allowances.Kerf = 5;
    EXPECT_EQ(ChangedParts(before, InputsOf(job)), InputPart::Allowances);
    EXPECT_EQ(ChangedField(before, InputsOf(job)), InputField::Kerf);
    job.section.CostType = "Metre";
    EXPECT_EQ(ChangedField(before, InputsOf(job)), InputField::None);
    const JobInputs after = InputsOf(job);
    EXPECT_EQ(ChangedParts(before, after), InputPart::Allowances | InputPart::Section);

    JobInputs metreOnly = before;
    metreOnly.section.CostType = "Metre";
    EXPECT_EQ(FieldEditName(ChangedField(before, metreOnly)), "Price Basis");

    CommitCutRow(job.CutItems, "2", "1500");
    job.Patterns.push_back({});
    PutInputs(job, before, InputPart::Cut | InputPart::Section);
    EXPECT_TRUE(job.CutItems.empty());
    EXPECT_EQ(job.section.CostType, "Tonne");
    EXPECT_EQ(job.allowances.Kerf, 5);  // a part not asked for stays
    EXPECT_EQ(job.PatternCount(), 1);   // results are no input
    EXPECT_EQ(ChangedParts(InputsOf(job), InputsOf(job)), 0u);
}

}  // namespace
}  // namespace tallora
