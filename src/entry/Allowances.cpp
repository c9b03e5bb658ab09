#include "entry/Allowances.h"

#include <algorithm>

#include "engine/Capacities.h"

namespace tallora {

AllowanceRange RangeOf(AllowanceField field) {
    switch (field) {
        case AllowanceField::Kerf: return {1, 10};
        case AllowanceField::Trim: return {0, 250};
        case AllowanceField::Hold: return {0, 500};
        case AllowanceField::Offcut: return {0, MaxLength};
    }
    return {0, 0};
}

int LimitAllowance(AllowanceField field, int value) {
    const AllowanceRange range = RangeOf(field);
    return std::clamp(value, range.Min, range.Max);
}

void SetAllowance(Allowances& allowances, AllowanceField field, int value) {
    const int limited = LimitAllowance(field, value);
    switch (field) {
        case AllowanceField::Kerf: allowances.Kerf = limited; break;
        case AllowanceField::Trim: allowances.Trim = limited; break;
        case AllowanceField::Hold: allowances.Hold = limited; break;
        case AllowanceField::Offcut: allowances.Offcut = limited; break;
    }
}

void ApplyOffcutRule(Allowances& allowances) {
    if (allowances.Offcut == 0 && !allowances.NoOffcuts) allowances.NoOffcuts = true;
}

}  // namespace tallora
