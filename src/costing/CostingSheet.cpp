#include "costing/CostingSheet.h"

#include <algorithm>
#include <numeric>

#include "results/LengthFormat.h"

namespace tallora {

namespace {

bool Is(const std::string& code, const char* basis) { return code == basis; }

std::string Join(const std::vector<std::string>& cells) {
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line += '\t';
        line += cells[i];
    }
    return line;
}

// The table's texts: the grid's rows ordered as the grid keeps them, and the lines for the
// clipboard.
void FormatSheet(CostingSheet& sheet, const CostingSettings& settings, const NumberFormat& format,
                 const JobUnits& units) {
    const CostingTable& t = sheet.Table;
    auto weight = [&](double v) { return FormatFixed(v, 3, format); };
    auto money = [&](double v) { return FormatCurrency(v, format); };
    std::vector<CostingGridRow> rows;
    for (const CostingRow& row : t.Rows) {
        // An imperial length in feet and inches; a metric one the bare millimetres it always was.
        const std::string length = units.Imperial()
                                       ? FormatLength(static_cast<long long>(row.Length), units)
                                       : FormatGeneral(row.Length, format);
        rows.push_back({FormatGeneral(row.Quantity, format), length, weight(row.NetWeight),
                        money(row.MaterialCost), money(row.CuttingCharge), money(row.Other1),
                        money(row.Other2), money(row.Other3), money(row.TotalCost)});
    }
    sheet.ClipboardLines.push_back(" Qty\tLength\tNet Wt\tMat Cost\tCut Charge\t" +
                                   settings.OtherName1 + "\t" + settings.OtherName2 + "\t" +
                                   settings.OtherName3 + "\t" + "Total");
    for (const auto& row : rows) {
        sheet.ClipboardLines.push_back(Join(std::vector<std::string>(row.begin(), row.end())));
    }
    sheet.ClipboardLines.emplace_back();
    const CostingGridRow totals = {"",
                                   "TOTALS",
                                   weight(t.TotalWeight),
                                   money(t.TotalMaterial),
                                   money(t.TotalCutting),
                                   money(t.TotalOther1),
                                   money(t.TotalOther2),
                                   money(t.TotalOther3),
                                   money(t.GrandTotal)};
    sheet.ClipboardLines.push_back(
        " \t" + Join(std::vector<std::string>(totals.begin() + 1, totals.end())));

    // The grid keeps its rows ordered by the Quantity text, compared as plain strings.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const CostingGridRow& a, const CostingGridRow& b) { return a[0] < b[0]; });
    sheet.GridRows = std::move(rows);
    sheet.GridRows.emplace_back();
    sheet.GridRows.push_back(totals);
}

}  // namespace

CostingSheet MakeCostingSheet(const JobInput& input, const CalculationResult& result,
                              const Statistics& stats, const MaterialPrice& material,
                              const CostingSettings& settings, const NumberFormat& format) {
    const double W = material.Weight;
    const double CM = stats.StatMetres[ChargeableMaterialRow];
    const double NM = stats.StatMetres[CutPiecesRow];
    // Tonnes and metres; short tons and feet in an imperial job.
    const double perTon = WeightPerTon(input.Units);
    const double per = LengthPerStatUnit(input.Units);
    const double CT = CM * W / perTon;
    const long long ordered =
        std::accumulate(result.InputCutQuantity.begin(), result.InputCutQuantity.end(), 0LL);
    const double sawCuts = static_cast<double>(stats.BarsUsedTotal + ordered);

    // Job totals, by basis.
    auto gross = [&](const std::string& basis, double v) {
        if (Is(basis, ChargeBasis::Tonne)) return CT * v;
        if (Is(basis, ChargeBasis::Metre)) return CM * v;
        if (Is(basis, ChargeBasis::Cwt) && input.Units.Imperial()) return CM * W / 100 * v;
        return 0.0;
    };
    const double materialTotal = gross(material.Basis, material.Rate);
    double cuttingTotal = gross(settings.CCutType, settings.CCutValue);
    if (Is(settings.CCutType, ChargeBasis::Lump)) cuttingTotal = settings.CCutValue;
    if (Is(settings.CCutType, ChargeBasis::Cut)) cuttingTotal = sawCuts * settings.CCutValue;

    double other1Total = 0.0;
    if (Is(settings.CGalvType, ChargeBasis::Tonne))
        other1Total = (NM * W / perTon) * settings.CGalvValue;
    if (Is(settings.CGalvType, ChargeBasis::Metre)) other1Total = NM * settings.CGalvValue;
    if (Is(settings.CGalvType, ChargeBasis::Lump)) other1Total = settings.CGalvValue;
    auto grossOther = [&](const std::string& basis, double v) {
        return Is(basis, ChargeBasis::Lump) ? v : gross(basis, v);
    };
    const double other2Total = grossOther(settings.CPPType, settings.CPPValue);
    const double other3Total = grossOther(settings.COtherType, settings.COtherValue);

    // Spread over the net metres; with no net metres there is nothing to spread over.
    auto rate = [NM](double total) { return NM != 0.0 ? total / NM : 0.0; };
    const double materialRate = rate(materialTotal);
    const double cuttingRate = rate(cuttingTotal);
    const double other1Rate = rate(other1Total);
    const double other2Rate = rate(other2Total);
    const double other3Rate = rate(other3Total);
    auto other = [per](const std::string& basis, double v, double perMetre, double L) {
        return Is(basis, ChargeBasis::Each) ? v : perMetre * L / per;
    };

    CostingSheet sheet;
    CostingTable& t = sheet.Table;
    for (int r = 0; r < result.InputCutCount(); ++r) {
        CostingRow row;
        const double q = result.InputCutQuantity[r];
        const double L = result.InputCutLength[r] - input.Allowances.Kerf;
        row.Quantity = q;
        row.Length = L;
        row.NetWeight = L * W / per;
        row.MaterialCost = materialRate * L / per;
        row.CuttingCharge = cuttingRate * L / per;
        row.Other1 = other(settings.CGalvType, settings.CGalvValue, other1Rate, L);
        row.Other2 = other(settings.CPPType, settings.CPPValue, other2Rate, L);
        row.Other3 = other(settings.COtherType, settings.COtherValue, other3Rate, L);
        row.TotalCost = row.MaterialCost + row.CuttingCharge + row.Other1 + row.Other2 + row.Other3;
        t.TotalWeight += q * row.NetWeight;
        t.TotalMaterial += q * row.MaterialCost;
        t.TotalCutting += q * row.CuttingCharge;
        t.TotalOther1 += q * row.Other1;
        t.TotalOther2 += q * row.Other2;
        t.TotalOther3 += q * row.Other3;
        t.Rows.push_back(row);
    }
    t.GrandTotal = t.TotalMaterial + t.TotalCutting + t.TotalOther1 + t.TotalOther2 + t.TotalOther3;

    FormatSheet(sheet, settings, format, input.Units);
    return sheet;
}

}  // namespace tallora
