#pragma once

#include <string>
#include <utility>
#include <vector>

#include "job/CostingSettings.h"
#include "job/Units.h"

namespace tallora {

// Shop allowances, in the job's lengths (millimetres, or 1/32 inches in an imperial job).
struct Allowances {
    int Kerf = 3;            // lost per saw cut; every piece carries one
    int Trim = 25;           // squared off each bar
    int Hold = 0;            // held in the vice, cannot be cut
    int Offcut = 3000;       // shortest remnant returned to stock
    bool NoOffcuts = false;  // "Scrap all waste"
    bool operator==(const Allowances&) const = default;
};

// The job's details and the material's weight and price.
struct SectionData {
    std::string Customer;
    std::string Reference;
    std::string Name;                // the section, as typed ("IPE 200")
    double Weight = 0.0;             // kg per metre (pounds per foot in an imperial job)
    double Cost = 0.0;               // per tonne or metre (short ton, hundredweight or foot)
    std::string CostType = "Tonne";  // "Tonne" or "Metre"; "Cwt" in an imperial job only
    bool operator==(const SectionData&) const = default;
};

// One row of an entry list, as typed: quantity text ("*" or "ANY" for unlimited stock) and
// length text in the job's lengths (whole millimetres or 1/32 inches). A cut row may carry a mark
// (a part number), typed, pasted or read with the rows from a file, which job files keep; a stock
// row taken from the offcut inventory carries the offcuts' marks (InventoryOffcutMark), which
// they do not.
struct ListRow {
    ListRow() = default;
    // Rows are made as {quantity, length} nearly everywhere: the mark is left out there.
    ListRow(std::string quantity, std::string length, std::string mark = {})
        : Quantity(std::move(quantity)), Length(std::move(length)), Mark(std::move(mark)) {}

    std::string Quantity;
    std::string Length;
    std::string Mark;
    bool operator==(const ListRow&) const = default;
};

// What the user entered: the two lists in list order, the allowances, the section data and the
// costing charges. A calculation reads it and never changes it.
struct JobInput {
    std::vector<ListRow> StockRows;
    std::vector<ListRow> CutRows;
    tallora::Allowances Allowances;
    SectionData Section;
    CostingSettings Costing;
    JobUnits Units;
    bool operator==(const JobInput&) const = default;
};

// Index (from 0) of the last row of an entry list whose length reads as `length`, or -1.
int LastRowOfLength(const std::vector<ListRow>& rows, int length);

// The mark of a stock row standing for the inventory offcut of that id: "Inventory offcut 12".
// A row for several offcuts of one length has their marks joined by ", ".
std::string InventoryOffcutMark(long long id);
// The inventory offcuts a stock row's mark names, in its order; none for an ordinary row.
std::vector<long long> InventoryOffcutIds(const std::string& mark);

}  // namespace tallora
