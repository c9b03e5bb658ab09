#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "job/Units.h"

namespace tallora {

// A whole number as the program writes and reads it: an optional minus sign and decimal
// digits, fitting a signed 32-bit integer. Nothing else is accepted.
std::optional<int> ReadInteger(std::string_view text);

// Digits only (leading zeros allowed), fitting a signed 32-bit integer.
std::optional<int> ReadWholeNumber(std::string_view text);

// "*" or "ANY": an unlimited supply of stock bars.
bool IsUnlimitedQuantity(std::string_view quantityText);

// Why a row's texts cannot be a row, whichever way they came in (typed, pasted, given on the
// command line, read from a file of rows or a job file), or nothing: the length a whole number
// from 1 to the longest length of the job's units, the quantity a whole number from 1 (for stock
// also "*" or "ANY"). The message is the entry lists' own.
std::optional<std::string> RowProblem(const std::string& quantity, const std::string& length,
                                      bool stock, const JobUnits& units = {});

// A length as typed, in the lists, a paste, a file of rows or the command line, made the text a
// row keeps: a metric length as it is (RowProblem judges it), an imperial one as whole 1/32
// inches. On failure the length is empty and the message says why.
struct EnteredLength {
    std::string Length;
    std::string Error;
};
EnteredLength LengthFromTyped(const std::string& typed, const JobUnits& units);

// The longest stock or cut length of a job of these units.
int MaxLengthOf(const JobUnits& units);

// The first line of a message: the reason without the request to check the entry.
std::string FirstLine(const std::string& message);

// Messages of the entry lists, shared with the calculation's own check of its rows.
// A metric job's length texts are whole millimetres; an imperial job's messages name the
// length as the job shows it.
std::string LengthTooLongMessage(const std::string& lengthText, const JobUnits& units = {});
std::string LengthTooShortMessage(const std::string& lengthText, const JobUnits& units = {});
std::string NotALengthMessage(const std::string& lengthText, const JobUnits& units = {});
std::string NotAQuantityMessage(const std::string& quantityText);
std::string QuantityTooLargeMessage(const std::string& quantityText);
std::string ZeroQuantityMessage();
std::string StockListFullMessage();
std::string CutListFullMessage();

}  // namespace tallora
