#include "entry/UnitChange.h"

#include <algorithm>
#include <climits>

#include "entry/Allowances.h"
#include "entry/SectionFields.h"
#include "job/RowTexts.h"

namespace tallora {

namespace {

constexpr double KilogramsPerPound = 0.45359237;
constexpr double MetresPerFoot = 0.3048;

// Whether a length is the same in its new units: an inch is 25.4mm, 320 ticks are 254mm.
bool Exact(long long before, long long after, const JobUnits& from, const JobUnits& to) {
    if (from.Imperial() == to.Imperial()) return before == after;
    const long long mm = from.Imperial() ? after : before;
    const long long ticks = from.Imperial() ? before : after;
    return mm * 320 == ticks * 254;
}

// Converts the rows' lengths; rows that meet at one length merge into the first.
bool ConvertRows(std::vector<ListRow>& rows, const JobUnits& from, const JobUnits& to) {
    bool moved = false;
    std::vector<ListRow> converted;
    for (const ListRow& row : rows) {
        const auto length = ReadWholeNumber(row.Length);
        if (!length) {
            converted.push_back(row);
            continue;
        }
        const long long value = ConvertLength(*length, from, to);
        moved = moved || !Exact(*length, value, from, to);
        const std::string text = std::to_string(std::max(1LL, value));
        const int existing = LastRowOfLength(converted, std::stoi(text));
        if (existing < 0) {
            converted.push_back({row.Quantity, text, row.Mark});
            continue;
        }
        moved = true;
        ListRow& into = converted[static_cast<size_t>(existing)];
        const auto a = ReadWholeNumber(into.Quantity);
        const auto b = ReadWholeNumber(row.Quantity);
        if (IsUnlimitedQuantity(into.Quantity) || IsUnlimitedQuantity(row.Quantity))
            into.Quantity = "*";
        else if (a && b)
            into.Quantity = std::to_string(std::min<long long>(INT_MAX, 0LL + *a + *b));
    }
    rows = std::move(converted);
    return moved;
}

}  // namespace

UnitChange ChangeUnits(JobInput& input, const JobUnits& to) {
    UnitChange change;
    const JobUnits from = input.Units;
    if (from == to) return change;
    change.LengthMoved = ConvertRows(input.StockRows, from, to);
    change.LengthMoved = ConvertRows(input.CutRows, from, to) || change.LengthMoved;
    const Allowances allowances = ConvertAllowances(input.Allowances, from, to);
    for (const AllowanceFieldInfo& f : AllowanceFields) {
        const int before = input.Allowances.*f.Member;
        if (!Exact(before, allowances.*f.Member, from, to)) change.LengthMoved = true;
    }
    input.Allowances = allowances;

    if (from.Imperial() != to.Imperial()) {
        // Per metre to per foot, per tonne to per short ton, and back.
        const bool toImperial = to.Imperial();
        const double lengthFactor = toImperial ? MetresPerFoot : 1 / MetresPerFoot;
        const double tonFactor =
            toImperial ? 2000 * KilogramsPerPound / 1000 : 1000 / (2000 * KilogramsPerPound);
        const double weightFactor =
            toImperial ? MetresPerFoot / KilogramsPerPound : KilogramsPerPound / MetresPerFoot;
        auto rate = [&](const std::string& basis, double value) {
            if (basis == ChargeBasis::Tonne) return value * tonFactor;
            if (basis == ChargeBasis::Metre) return value * lengthFactor;
            return value;
        };
        SectionData& s = input.Section;
        if (s.CostType == ChargeBasis::Cwt && !toImperial) {
            // A hundredweight is a twentieth of a short ton.
            s.Cost = s.Cost * 20 * tonFactor;
            s.CostType = ChargeBasis::Tonne;
        } else {
            s.Cost = rate(s.CostType, s.Cost);
        }
        // As the fields would show them, within their limits.
        const NumberFormat uk = NumberFormat::UK();
        s.Cost = CostAsShown(std::min(s.Cost, MaxSectionCost), uk);
        s.Weight = WeightAsShown(std::min(s.Weight * weightFactor, MaxSectionWeight), uk);
        CostingSettings& c = input.Costing;
        for (const ChargeField& f : ChargeFields) c.*f.Value = rate(c.*f.Basis, c.*f.Value);
    }
    input.Units = to;
    return change;
}

}  // namespace tallora
