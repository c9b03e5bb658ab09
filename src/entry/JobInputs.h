#pragma once

#include <string>
#include <vector>

#include "job/CuttingJob.h"

namespace tallora {

// What the user enters into a job in the main window: the two lists, the allowances and the
// section data. An undo step holds this before and after the edit. The costing window's charges
// are not here: their names are kept with the program's settings as well.
struct JobInputs {
    std::vector<StockItem> StockItems;
    std::vector<CutItem> CutItems;
    Allowances allowances;
    SectionData section;
};

// Parts of the inputs, as bits.
namespace InputPart {
inline constexpr unsigned Stock = 1;
inline constexpr unsigned Cut = 2;
inline constexpr unsigned Allowances = 4;
inline constexpr unsigned Section = 8;
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

JobInputs InputsOf(const CuttingJob& job);
// The parts that differ between two states.
unsigned ChangedParts(const JobInputs& a, const JobInputs& b);
// Puts the given parts of the inputs into the job; the rest of the job stays.
void PutInputs(CuttingJob& job, const JobInputs& inputs, unsigned parts);
InputField ChangedField(const JobInputs& a, const JobInputs& b);
// How the Edit menu names a change of the field ("Kerf", "Price Basis").
std::string FieldEditName(InputField field);

}  // namespace tallora
