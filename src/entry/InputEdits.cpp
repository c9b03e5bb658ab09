#include "entry/InputEdits.h"

#include <vector>

namespace tallora {

unsigned ChangedParts(const JobInput& a, const JobInput& b) {
    unsigned parts = 0;
    if (a.StockRows != b.StockRows) parts |= InputPart::Stock;
    if (a.CutRows != b.CutRows) parts |= InputPart::Cut;
    if (a.Allowances != b.Allowances) parts |= InputPart::Allowances;
    if (a.Section != b.Section) parts |= InputPart::Section;
    if (a.Units != b.Units) parts |= InputPart::Units;
    return parts;
}

void PutInputs(JobInput& input, const JobInput& from, unsigned parts) {
    if (parts & InputPart::Stock) input.StockRows = from.StockRows;
    if (parts & InputPart::Cut) input.CutRows = from.CutRows;
    if (parts & InputPart::Allowances) input.Allowances = from.Allowances;
    if (parts & InputPart::Section) input.Section = from.Section;
    if (parts & InputPart::Units) {
        input.Units = from.Units;
        input.Costing = from.Costing;
    }
}

InputField ChangedField(const JobInput& a, const JobInput& b) {
    const unsigned parts = ChangedParts(a, b);
    const Allowances &x = a.Allowances, &y = b.Allowances;
    const SectionData &s = a.Section, &t = b.Section;
    std::vector<InputField> changed;
    if (parts == InputPart::Allowances) {
        if (x.Kerf != y.Kerf) changed.push_back(InputField::Kerf);
        if (x.Trim != y.Trim) changed.push_back(InputField::Trim);
        if (x.Hold != y.Hold) changed.push_back(InputField::Hold);
        if (x.Offcut != y.Offcut) changed.push_back(InputField::Offcut);
        if (x.NoOffcuts != y.NoOffcuts) changed.push_back(InputField::ScrapAll);
    } else if (parts == InputPart::Section) {
        if (s.Customer != t.Customer) changed.push_back(InputField::Customer);
        if (s.Reference != t.Reference) changed.push_back(InputField::Reference);
        if (s.Name != t.Name) changed.push_back(InputField::Section);
        if (s.Weight != t.Weight) changed.push_back(InputField::Weight);
        if (s.Cost != t.Cost) changed.push_back(InputField::Cost);
        if (s.CostType != t.CostType) changed.push_back(InputField::CostType);
    }
    return changed.size() == 1 ? changed.front() : InputField::None;
}

std::string FieldEditName(InputField field) {
    switch (field) {
        case InputField::Kerf:
            return "Kerf";
        case InputField::Trim:
            return "Trim";
        case InputField::Hold:
            return "Hold";
        case InputField::Offcut:
            return "Scrap Waste Under";
        case InputField::ScrapAll:
            return "Scrap All Waste";
        case InputField::Customer:
            return "Customer";
        case InputField::Reference:
            return "Reference";
        case InputField::Section:
            return "Section";
        case InputField::Weight:
            return "Weight";
        case InputField::Cost:
            return "Cost";
        case InputField::CostType:
            return "Price Basis";
        case InputField::None:
            break;
    }
    return "Edit";
}

}  // namespace tallora
