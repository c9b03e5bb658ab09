#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "report/PrintEngine.h"
#include "report/ReportLanguage.h"
#include "results/SawSheet.h"

namespace tallora {

// The most labels a PDF of labels holds.
inline constexpr int MaxLabels = 5000;

// A sheet (or roll) of labels. Centimetres.
struct LabelLayout {
    const char* Name;   // as the command line takes it: "a4-3x8"
    const char* Title;  // as the desktop offers it
    double PageWidth = 0, PageHeight = 0;
    int Columns = 1, Rows = 1;
    double LabelWidth = 0, LabelHeight = 0;
    double LeftMargin = 0, TopMargin = 0;  // to the first label
    double ColumnGap = 0, RowGap = 0;
    int PerPage() const { return Columns * Rows; }
};

// A4 3 x 8 (70 x 37 mm), US Letter 3 x 10 (2-5/8 x 1 in), a roll of 62 x 29 mm labels.
const std::vector<LabelLayout>& LabelLayouts();
const LabelLayout* FindLabelLayout(std::string_view name);

// What one label says: the piece (or returned offcut), where it comes from, and the barcode's
// text ("B12 1500mm": the mark, if any, and the length).
struct PieceLabel {
    bool Offcut = false;
    std::string Mark;
    long long Length = 0;
    std::string LengthText;          // in the job's units
    std::vector<std::string> Lines;  // job, section, pattern and bar
    std::string Barcode;
};

// A label for every piece in the order the saw sheet cuts them, and one for every offcut kept,
// after the bar it comes from, with its inventory id when the job was booked (`offcutIds`, by
// pattern from 0).
// The lines' and an offcut's words are in `language`; the barcode stays as it is, for scanners.
std::vector<PieceLabel> MakePieceLabels(const JobInput& input, const CalculationResult& result,
                                        const SawSheet& sheet,
                                        const std::map<int, long long>& offcutIds = {},
                                        const ReportLanguage& language = {});

struct LabelOptions {
    LabelLayout Layout = LabelLayouts().front();
    int StartPosition = 1;  // from 1: the first free label of a part-used sheet
    std::optional<double> LeftMargin, TopMargin;  // in place of the layout's, cm
};

// The start position or a margin that does not fit the layout; empty when all is well.
std::string LabelOptionsProblem(const LabelOptions& options);

// Lays the labels out on a freshly opened document, pages of the layout's size.
void LayOutPieceLabels(PrintEngine& engine, const std::vector<PieceLabel>& labels,
                       const LabelOptions& options);

}  // namespace tallora
