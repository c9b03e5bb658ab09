#include "entry/Allowances.h"

#include <algorithm>

#include "job/Capacities.h"
#include "job/RowTexts.h"

namespace tallora {

AllowanceRange RangeOf(AllowanceField field, const JobUnits& units) {
    if (units.Imperial()) {
        switch (field) {
            case AllowanceField::Kerf:
                return {1, 12};
            case AllowanceField::Trim:
                return {0, 10 * TicksPerInch};
            case AllowanceField::Hold:
                return {0, 20 * TicksPerInch};
            case AllowanceField::Offcut:
                return {0, MaxImperialLength};
        }
    }
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

int LimitAllowance(AllowanceField field, int value, const JobUnits& units) {
    const AllowanceRange range = RangeOf(field, units);
    return std::clamp(value, range.Min, range.Max);
}

void SetAllowance(Allowances& allowances, AllowanceField field, int value, const JobUnits& units) {
    allowances.*AllowanceFields[static_cast<std::size_t>(field)].Member =
        LimitAllowance(field, value, units);
}

Allowances DefaultAllowances(const JobUnits& units) {
    Allowances a;
    if (units.Imperial()) {
        a.Kerf = TicksPerInch / 8;
        a.Trim = TicksPerInch;
        a.Hold = 0;
        a.Offcut = 10 * TicksPerFoot;
    }
    return a;
}

Allowances ConvertAllowances(const Allowances& allowances, const JobUnits& from,
                             const JobUnits& to) {
    Allowances converted = allowances;
    for (const AllowanceFieldInfo& f : AllowanceFields) {
        const long long value = ConvertLength(allowances.*f.Member, from, to);
        SetAllowance(converted, f.Field, static_cast<int>(value), to);
    }
    return converted;
}

void ApplyOffcutRule(Allowances& allowances) {
    if (allowances.Offcut == 0 && !allowances.NoOffcuts) allowances.NoOffcuts = true;
}

int AllowanceOf(const Allowances& allowances, AllowanceField field) {
    return allowances.*AllowanceFields[static_cast<std::size_t>(field)].Member;
}

std::string AllowanceDisplayText(int value, const JobUnits& units) {
    return LengthWithUnit(value, units);
}

std::string AllowanceFocusText(const std::string& text) {
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "mm") == 0) {
        return text.substr(0, text.size() - 2);
    }
    return text;
}

int AllowanceFromText(AllowanceField field, const std::string& text, int current,
                      const JobUnits& units) {
    if (units.Imperial()) {
        const ImperialRead read = ReadImperialLength(text);
        if (!read.Ticks || *read.Ticks > MaxImperialLength) return current;
        return LimitAllowance(field, static_cast<int>(*read.Ticks), units);
    }
    size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
    const auto value = ReadWholeNumber(text.substr(0, digits));
    return value ? LimitAllowance(field, *value) : current;
}

namespace {
int ImperialStep(AllowanceField field, const JobUnits& units) {
    if (field == AllowanceField::Hold || field == AllowanceField::Offcut) return TicksPerInch;
    if (units.Precision == ImperialPrecision::Sixteenth) return 2;
    if (units.Precision == ImperialPrecision::Eighth) return 4;
    return 1;
}
}  // namespace

int SpinUp(AllowanceField field, int value, const JobUnits& units) {
    if (units.Imperial()) {
        const int step = ImperialStep(field, units);
        return LimitAllowance(field, (value + step) / step * step, units);
    }
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

int SpinDown(AllowanceField field, int value, const JobUnits& units) {
    if (units.Imperial()) {
        const int step = ImperialStep(field, units);
        return LimitAllowance(field, (value - 1) / step * step, units);
    }
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
