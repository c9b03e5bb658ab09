#include "costing/CostingCsv.h"

#include "results/CuttingListCsv.h"

namespace tallora {

std::string CostingCsv(const CostingSheet& sheet, const CostingSettings& settings) {
    const CostingTable& t = sheet.Table;
    auto weight = [](double v) { return CsvNumber(v, 3); };
    auto money = [](double v) { return CsvNumber(v, 2); };
    std::string csv =
        CsvLine({"Qty", "Length", "Net Wt", "Mat Cost", "Cut Charge", CsvText(settings.OtherName1),
                 CsvText(settings.OtherName2), CsvText(settings.OtherName3), "Total"});
    for (const CostingRow& row : t.Rows) {
        csv += CsvLine({CsvNumber(row.Quantity), CsvNumber(row.Length), weight(row.NetWeight),
                        money(row.MaterialCost), money(row.CuttingCharge), money(row.Other1),
                        money(row.Other2), money(row.Other3), money(row.TotalCost)});
    }
    csv += CsvLine({"", "TOTALS", weight(t.TotalWeight), money(t.TotalMaterial),
                    money(t.TotalCutting), money(t.TotalOther1), money(t.TotalOther2),
                    money(t.TotalOther3), money(t.GrandTotal)});
    return csv;
}

}  // namespace tallora
