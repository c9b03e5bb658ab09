#include "entry/Allowances.h"

#include <algorithm>

#include "job/Capacities.h"
#include "job/RowTexts.h"

namespace tallora {

AllowanceRange RangeOf(AllowanceField field) {
    switch (field) {
        case AllowanceField::Kerf:
            return {1, 10};
        case AllowanceField::Trim:
            return {0, 250};
        case AllowanceField::Hold:
            return {0, 500};
        case AllowanceField::Offcut:
            return {0, MaxLength};
    }
    return {0, 0};
}

int LimitAllowance(AllowanceField field, int value) {
    const AllowanceRange range = RangeOf(field);
    return std::clamp(value, range.Min, range.Max);
}

void SetAllowance(Allowances& allowances, AllowanceField field, int value) {
    allowances.*AllowanceFields[static_cast<std::size_t>(field)].Member =
        LimitAllowance(field, value);
}

void ApplyOffcutRule(Allowances& allowances) {
    if (allowances.Offcut == 0 && !allowances.NoOffcuts) allowances.NoOffcuts = true;
}

int AllowanceOf(const Allowances& allowances, AllowanceField field) {
    return allowances.*AllowanceFields[static_cast<std::size_t>(field)].Member;
}

std::string AllowanceDisplayText(int value) { return std::to_string(value) + "mm"; }

std::string AllowanceFocusText(const std::string& text) {
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "mm") == 0) {
        return text.substr(0, text.size() - 2);
    }
    return text;
}

int AllowanceFromText(AllowanceField field, const std::string& text, int current) {
    size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
    const auto value = ReadWholeNumber(text.substr(0, digits));
    return value ? LimitAllowance(field, *value) : current;
}

int SpinUp(AllowanceField field, int value) {
    switch (field) {
        case AllowanceField::Kerf:
            return value < 10 ? value + 1 : value;
        case AllowanceField::Trim:
            return value < 250 ? value + 1 : value;
        case AllowanceField::Hold:
            return LimitAllowance(field, value < 500 ? value + 25 : value);
        case AllowanceField::Offcut:
            return value > MaxLength - 25 ? MaxLength : value + 25;
    }
    return value;
}

int SpinDown(AllowanceField field, int value) {
    switch (field) {
        case AllowanceField::Kerf:
            return value > 1 ? value - 1 : value;
        case AllowanceField::Trim:
            return value > 0 ? value - 1 : value;
        case AllowanceField::Hold:
            return value > 0 ? std::max(0, value - 25) : value;
        case AllowanceField::Offcut:
            return value < 25 ? 0 : value - 25;
    }
    return value;
}

}  // namespace tallora
