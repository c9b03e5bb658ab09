#pragma once

#include <string>
#include <vector>

#include "job/JobInput.h"

namespace tallora {

// An undo step of the main window holds the job's input before and after the edit; it takes
// back the lists, the allowances and the section data. The costing window's charges are not
// undone: their names are kept with the program's settings as well.

// Parts of the inputs, as bits.
namespace InputPart {
inline constexpr unsigned Stock = 1;
inline constexpr unsigned Cut = 2;
inline constexpr unsigned Allowances = 4;
inline constexpr unsigned Section = 8;
// The units, with the charges they converted.
inline constexpr unsigned Units = 16;
}  // namespace InputPart

// The one field an edit changed; None for rows, or when several changed.
enum class InputField {
    None,
    Kerf,
    Trim,
    Hold,
    Offcut,
    ScrapAll,
    Customer,
    Reference,
    Section,
    Weight,
    Cost,
    CostType,
};

// The parts that differ between two states.
unsigned ChangedParts(const JobInput& a, const JobInput& b);
// Puts the given parts of `from` into `input`; the rest of it stays.
void PutInputs(JobInput& input, const JobInput& from, unsigned parts);
InputField ChangedField(const JobInput& a, const JobInput& b);
// How the Edit menu names a change of the field ("Kerf", "Price Basis").
std::string FieldEditName(InputField field);

}  // namespace tallora
