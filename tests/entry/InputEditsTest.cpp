#include "entry/InputEdits.h"

#include <gtest/gtest.h>

#include "entry/ListEntry.h"

namespace tallora {
namespace {

TEST(InputEdits, ChangedPartsAndFieldsNameTheEditAndPutBackOnlyThoseParts) {
    JobInput input;
    const JobInput before = input;
    input.Allowances.Kerf = 5;
    EXPECT_EQ(ChangedParts(before, input), InputPart::Allowances);
    EXPECT_EQ(ChangedField(before, input), InputField::Kerf);
    input.Section.CostType = "Metre";
    EXPECT_EQ(ChangedField(before, input), InputField::None);
    EXPECT_EQ(ChangedParts(before, input), InputPart::Allowances | InputPart::Section);

    JobInput metreOnly = before;
    metreOnly.Section.CostType = "Metre";
    EXPECT_EQ(FieldEditName(ChangedField(before, metreOnly)), "Price Basis");

    // The charges of the costing window are no step of the history.
    JobInput charged = before;
    charged.Costing.CCutValue = 4;
    EXPECT_EQ(ChangedParts(before, charged), 0u);

    CommitCutRow(input.CutRows, "2", "1500");
    PutInputs(input, before, InputPart::Cut | InputPart::Section);
    EXPECT_TRUE(input.CutRows.empty());
    EXPECT_EQ(input.Section.CostType, "Tonne");
    EXPECT_EQ(input.Allowances.Kerf, 5);  // a part not asked for stays
    EXPECT_EQ(ChangedParts(input, input), 0u);
}

}  // namespace
}  // namespace tallora
