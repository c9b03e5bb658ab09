#pragma once

#include <string>
#include <vector>

#include "job/CalculationResult.h"
#include "job/JobInput.h"
#include "results/LengthFormat.h"

namespace tallora {

// Pieces of one length cut one after another from a bar, without moving the length stop.
struct SawRun {
    int Length = 0;  // without kerf
    int Count = 0;
};

// One bar as the operator cuts it.
struct SawBar {
    int Pattern = 0;           // index into the result's patterns
    int BarOfPattern = 0;      // from 1
    int EnteredLength = 0;     // the bar as bought: usable length, trim and hold
    std::vector<SawRun> Runs;  // in cutting order
    int Remnant = 0;           // what is left after the last cut, the hold included
    bool KeepOffcut = false;   // the remnant goes back to stock
    bool FromInventory = false;
};

// The bars of a result in the order to cut them: the bars of a pattern together, each the
// reverse of the one before so that the stop stays where the last bar left it, and the patterns
// chained so that the next starts at the length the last one ended on where one can.
struct SawSheet {
    std::vector<SawBar> Bars;
    long long SawCuts = 0;     // a cut per piece and, with a trim, one per bar
    long long SawnLength = 0;  // the pieces' lengths together, without kerf, mm
};

SawSheet MakeSawSheet(const JobInput& input, const CalculationResult& result);

// The saw sheet's two totals, counted from the patterns without laying out their bars.
struct SawTotals {
    long long SawCuts = 0;
    long long SawnLength = 0;
};
SawTotals CountSawCuts(const JobInput& input, const CalculationResult& result);

// The times the length stop moves when the bars are cut in this order.
long long StopMoves(const std::vector<SawBar>& bars);
// The bars in the cutting list's order: pattern by pattern, each bar longest piece first.
std::vector<SawBar> CuttingListOrder(const JobInput& input, const CalculationResult& result);

// Gives out the cut rows' marks to pieces as they come off the saw: pieces of a length take the
// marks of the rows of that length in list order, as many of each as the row asks for.
class PieceMarks {
public:
    explicit PieceMarks(const JobInput& input);
    // The mark of the next piece of that length (without kerf); empty when none is left.
    std::string Next(int length);
    // Gives out `count` pieces of that length at once.
    void Take(int length, long long count);
    // The pieces of each cut row given out so far, by row.
    const std::vector<long long>& GivenByRow() const { return given_; }

private:
    struct Row {
        int Index = 0;
        long long Left = 0;
    };
    std::vector<std::pair<int, std::vector<Row>>> rowsByLength_;
    std::vector<const std::string*> marks_;
    std::vector<long long> given_;
};

// The saw sheet as CSV: a line per cut, with the bar's order, its pattern and stock length, the
// piece's mark and length, the remaining length after it, then a line for the remnant.
std::string SawSheetCsv(const JobInput& input, const CalculationResult& result,
                        const SawSheet& sheet);

}  // namespace tallora
