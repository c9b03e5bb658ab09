#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tallora {

// The text with every byte that does not belong to a well-formed UTF-8 character replaced by
// U+FFFD, so that it can go anywhere text must be valid (JSON above all).
std::string ValidUtf8(std::string_view text);

// Where the character that ends just before `end` begins (0 at the start).
std::size_t PreviousCharacter(std::string_view text, std::size_t end);
// Where the character that begins at `start` ends (the size at the end).
std::size_t NextCharacter(std::string_view text, std::size_t start);

// The text with the capital letters of the Latin, Greek and Cyrillic alphabets in lower case
// ("ÄQ" gives "äq"), so that names typed either way match. Everything else stays as it is.
std::string LowerCase(std::string_view text);

}  // namespace tallora
