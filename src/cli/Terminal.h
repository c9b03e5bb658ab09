#pragma once

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

// What tallora-cli's parts share: its bad-input error and the ways text reaches a terminal.
namespace tallora::cli {

// Bad usage or bad input: the message is printed and the program exits with ExitBadInput.
class BadInput : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Message boxes use CR LF; a terminal wants plain line ends.
std::string ForTerminal(const std::string& text);

// Lines for a terminal: control characters (but tab) that a job file may hold would move the
// cursor or change colours; they are shown as U+FFFD.
std::string Printable(const std::string& line);

// Text from the command line as valid UTF-8 (a byte that is not becomes U+FFFD).
std::string TextArgument(const std::string& text);

std::string Lowered(std::string text);

// Display width of UTF-8 text: one column a character.
size_t Width(const std::string& text);
std::string Pad(const std::string& text, size_t width, bool right);

// "tallora-cli: message" on one line: a message box's text may run over several.
void Complain(std::ostream& err, const std::string& message);

// Lines of a message box's text, for standard error or a JSON array.
std::vector<std::string> MessageLines(const std::string& text);

// What the user is told of the inventory in text mode: a line each, on standard error.
void Tell(std::ostream& err, const std::string& message);

}  // namespace tallora::cli
