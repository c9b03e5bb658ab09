#pragma once

#include <array>
#include <string>
#include <vector>

#include "job/CalculationResult.h"
#include "job/CostingSettings.h"
#include "job/JobInput.h"
#include "results/NumberFormat.h"
#include "results/Statistics.h"

namespace tallora {

// The material's price as the costing window holds it while open.
struct MaterialPrice {
    std::string Basis = ChargeBasis::Tonne;  // "Tonne" or "Metre"
    double Rate = 0.0;                       // pounds per tonne or per metre
    double Weight = 0.0;                     // kg per metre

    static MaterialPrice OfJob(const SectionData& section) {
        return {section.CostType, section.Cost, section.Weight};
    }
};

// One row per cut row: figures per piece.
struct CostingRow {
    double Quantity = 0.0;
    double Length = 0.0;     // mm
    double NetWeight = 0.0;  // kg per piece
    double MaterialCost = 0.0;
    double CuttingCharge = 0.0;
    double Other1 = 0.0;
    double Other2 = 0.0;
    double Other3 = 0.0;
    double TotalCost = 0.0;
};

struct CostingTable {
    std::vector<CostingRow> Rows;  // entry order, one per cut row
    double TotalWeight = 0.0;
    double TotalMaterial = 0.0;
    double TotalCutting = 0.0;
    double TotalOther1 = 0.0;
    double TotalOther2 = 0.0;
    double TotalOther3 = 0.0;
    double GrandTotal = 0.0;
};

inline constexpr int CostingColumns = 9;
using CostingGridRow = std::array<std::string, CostingColumns>;

struct CostingSheet {
    CostingTable Table;
    // The grid: cut rows ordered by their Quantity text, then an empty row and the totals row.
    std::vector<CostingGridRow> GridRows;
    // The text "Copy to Clipboard" copies, a line each: header, rows in entry order, an empty
    // line and the totals line, each tab-separated.
    std::vector<std::string> ClipboardLines;
};

// Works out the costing sheet of the calculated job.
CostingSheet MakeCostingSheet(const JobInput& input, const CalculationResult& result,
                              const Statistics& stats, const MaterialPrice& material,
                              const CostingSettings& settings, const NumberFormat& format);

}  // namespace tallora
