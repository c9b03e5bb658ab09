#pragma once

#include <string>
#include <vector>

#include "job/JobInput.h"

namespace tallora {

enum class CommitStatus {
    Ignored,    // an edit was empty: nothing happens
    Committed,  // the edits are emptied (the list may be unchanged: an unlimited row covers it)
    Refused,    // the message is shown; the edits keep their text
};

struct CommitResult {
    CommitStatus Status = CommitStatus::Ignored;
    std::string Message;
    // A committed row of a length already listed merged into that row, which moved from this
    // index to the end; -1 when the row was added or nothing changed.
    int MergedRow = -1;
};

// The status bar's summary of the entered lists and whether Calculate is available.
struct InputSummary {
    bool CalculateEnabled = false;
    std::string StockText;  // "3 Different stock lengths available"
    std::string CutText;    // "1 Cut length required"
};
InputSummary SummariseInput(const JobInput& input);

// Commits typed quantity and length texts as a stock row (commitRow): an equal length merges into
// the existing row, which moves to the end; an unlimited row absorbs further rows of its length.
// Marks (those of inventory offcuts) merge as a cut row's do.
// An imperial job's length is typed in feet and inches (LengthFromTyped).
CommitResult CommitStockRow(std::vector<ListRow>& rows, const std::string& quantity,
                            const std::string& length, const std::string& mark = {},
                            const JobUnits& units = {});

// Refuses a stock row of the length of a row of inventory offcuts, or the other way round.
std::string OffcutRowLengthMessage(const std::string& length, const JobUnits& units = {});

// Commits typed texts as a cut row: a row of an equal length and the same mark merges and moves
// to the end; a row with another mark stays a row of its own (the engine still sees one length).
CommitResult CommitCutRow(std::vector<ListRow>& rows, const std::string& quantity,
                          const std::string& length, const std::string& mark = {},
                          const JobUnits& units = {});

// The mark of two merged rows: the marks joined with ", ", each part once, in the order met;
// an empty mark adds nothing.
std::string MergedMarks(const std::string& existing, const std::string& added);

// The order of two rows by the texts of a column (0 quantity, 1 length) read as whole numbers:
// negative when a goes first, positive when b does; rows whose text is no number ("*") are equal.
int ListViewCompare(const ListRow& a, const ListRow& b, int column);

// Sorts a list once, ascending, with ListViewCompare; rows that compare equal keep their order.
void SortRows(std::vector<ListRow>& rows, int column);
// The order SortRows gives: the index each sorted row had before.
std::vector<int> SortOrder(const std::vector<ListRow>& rows, int column);

}  // namespace tallora
