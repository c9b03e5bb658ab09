#pragma once

#include "engine/CuttingJob.h"

namespace tallora {

enum class AllowanceField { Kerf, Trim, Hold, Offcut };

struct AllowanceRange {
    int Min;
    int Max;
};

// Kerf 1..10, Trim 0..250, Hold 0..500, Offcut 0..18300.
AllowanceRange RangeOf(AllowanceField field);

// The value limited to the field's range, as the allowance edits limit typed values.
int LimitAllowance(AllowanceField field, int value);

// Sets a field of the allowances, limited to its range.
void SetAllowance(Allowances& allowances, AllowanceField field, int value);

// An offcut length of 0 checks "Scrap all waste": every remnant is scrap then.
void ApplyOffcutRule(Allowances& allowances);

}  // namespace tallora
