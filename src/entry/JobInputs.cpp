#include "entry/JobInputs.h"

#include <tuple>

namespace tallora {

namespace {

auto Tie(const Allowances& a) { return std::tie(a.Kerf, a.Trim, a.Hold, a.Offcut, a.NoOffcuts); }

auto Tie(const SectionData& s) {
    return std::tie(s.Customer, s.Reference, s.Section, s.SectionWeight, s.SectionCost, s.CostType);
}

}  // namespace

JobInputs InputsOf(const CuttingJob& job) {
    return {job.StockItems, job.CutItems, job.allowances, job.section};
}

unsigned ChangedParts(const JobInputs& a, const JobInputs& b) {
    unsigned parts = 0;
    if (a.StockItems != b.StockItems) parts |= InputPart::Stock;
    if (a.CutItems != b.CutItems) parts |= InputPart::Cut;
    if (Tie(a.allowances) != Tie(b.allowances)) parts |= InputPart::Allowances;
    if (Tie(a.section) != Tie(b.section)) parts |= InputPart::Section;
    return parts;
}

void PutInputs(CuttingJob& job, const JobInputs& inputs, unsigned parts) {
    if (parts & InputPart::Stock) job.StockItems = inputs.StockItems;
    if (parts & InputPart::Cut) job.CutItems = inputs.CutItems;
    if (parts & InputPart::Allowances) job.allowances = inputs.allowances;
    if (parts & InputPart::Section) job.section = inputs.section;
}

InputField ChangedField(const JobInputs& a, const JobInputs& b) {
    const unsigned parts = ChangedParts(a, b);
    const Allowances &x = a.allowances, &y = b.allowances;
    const SectionData &s = a.section, &t = b.section;
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
        if (s.Section != t.Section) changed.push_back(InputField::Section);
        if (s.SectionWeight != t.SectionWeight) changed.push_back(InputField::Weight);
        if (s.SectionCost != t.SectionCost) changed.push_back(InputField::Cost);
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
