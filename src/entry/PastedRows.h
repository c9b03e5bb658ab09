#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "job/CalculationResult.h"
#include "job/JobInput.h"

namespace tallora {

// A row of pasted text: its line (from 1, counting every line of the text) and its two fields,
// in upper case as typed keys are; the mark (third field) as written, when marks are read.
struct PastedRow {
    int Line = 0;
    std::string Quantity;
    std::string Length;
    std::string Mark;
};

// A pasted line that was not added, and why.
struct PasteFailure {
    int Line = 0;
    std::string Reason;
};

struct PastedRows {
    std::vector<PastedRow> Rows;
    // Lines that are not a quantity and a length; their reasons are complete.
    std::vector<PasteFailure> NotRows;
    bool HeaderSkipped = false;
};

// Splits text copied from a spreadsheet or a text file into rows: one row a line, quantity then
// length, separated by a tab, a comma, a semicolon or blanks. A first line that holds no number
// is a header and is skipped; empty lines are skipped. With marks, a third field (a mark or part
// number) is kept; between blanks, all that follows the length is the mark. A line that is no row
// is "not a quantity and a length", and with `sayMarks` "..., with or without a mark". In an
// imperial job a length between blanks may hold blanks itself ("12 6' 3-1/2\" B12"): the most
// fields after the quantity that read as one length are the length.
PastedRows ParsePastedRows(const std::string& text, bool withMarks = false, bool sayMarks = true,
                           const JobUnits& units = {});

// Rows of a CSV, tab-separated or plain text file's contents (UTF-8, a byte order mark allowed):
// the paste rules, with a mark as an optional third column.
PastedRows RowsFromText(std::string_view text, const JobUnits& units = {});

// Whether pasted text is meant as rows rather than as a value for an edit: more than one line, or
// one line of more than one field.
bool IsRowsText(const std::string& text);

// Rows as a spreadsheet takes them: quantity, a tab, length and a line end each; with marks, a
// marked row has a tab and its mark before the line end.
std::string RowsText(const std::vector<ListRow>& rows, bool withMarks = false);

// The first line of an entry message: the reason without the request to check the entry.
std::string ReasonOf(const std::string& message);

// The one message for a paste whose lines were not all added: how many, then a line each
// (line number and reason), at most `shown` of them. `how` names the lines: "pasted" or
// "imported".
std::string PasteFailuresMessage(std::vector<PasteFailure> failures, int pastedLines,
                                 size_t shown = 20, const std::string& how = "pasted");

}  // namespace tallora
