#pragma once

#include <array>
#include <string>

#include "job/JobInput.h"

namespace tallora {

enum class AllowanceField { Kerf, Trim, Hold, Offcut };

// Each allowance with the name the settings and the autosave record keep it under.
struct AllowanceFieldInfo {
    AllowanceField Field;
    const char* Name;  // "Kerf"; lower case, the command line's option
    int Allowances::*Member;
};
inline constexpr std::array<AllowanceFieldInfo, 4> AllowanceFields = {{
    {AllowanceField::Kerf, "Kerf", &Allowances::Kerf},
    {AllowanceField::Trim, "Trim", &Allowances::Trim},
    {AllowanceField::Hold, "Hold", &Allowances::Hold},
    {AllowanceField::Offcut, "Offcut", &Allowances::Offcut},
}};

struct AllowanceRange {
    int Min;
    int Max;
};

// Kerf 1..10, Trim 0..250, Hold 0..500, Offcut 0..18300 (mm); in an imperial job kerf 1/32"
// to 3/8", trim to 10", hold to 20", offcut to 60'.
AllowanceRange RangeOf(AllowanceField field, const JobUnits& units = {});

// The value limited to the field's range, as the allowance edits limit typed values.
int LimitAllowance(AllowanceField field, int value, const JobUnits& units = {});

// Sets a field of the allowances, limited to its range.
void SetAllowance(Allowances& allowances, AllowanceField field, int value,
                  const JobUnits& units = {});

// The allowances a new job of these units starts with when the settings have none of its own:
// today's millimetres, or kerf 1/8", trim 1", hold 0 and offcut 10'.
Allowances DefaultAllowances(const JobUnits& units);

// The allowances in the other units, each rounded to the precision and kept in its range.
Allowances ConvertAllowances(const Allowances& allowances, const JobUnits& from,
                             const JobUnits& to);

// An offcut length of 0 checks "Scrap all waste": every remnant is scrap then.
void ApplyOffcutRule(Allowances& allowances);

int AllowanceOf(const Allowances& allowances, AllowanceField field);

// The allowance edits' text: the value followed by "mm", or feet and inches.
std::string AllowanceDisplayText(int value, const JobUnits& units = {});
// On focus the "mm" goes, so that the number alone is edited.
std::string AllowanceFocusText(const std::string& text);
// On every change: the run of digits at the start of the text, limited to the field's range;
// a text without leading digits, or digits too many for a number, keeps the current value. In
// an imperial job the whole text as feet and inches, or the current value.
int AllowanceFromText(AllowanceField field, const std::string& text, int current,
                      const JobUnits& units = {});
// The spin buttons' halves: the value after one step, within the field's range; an imperial
// step is the precision's (an inch for hold and offcut).
int SpinUp(AllowanceField field, int value, const JobUnits& units = {});
int SpinDown(AllowanceField field, int value, const JobUnits& units = {});

}  // namespace tallora
