#include "job/Utf8.h"

#include <gtest/gtest.h>

namespace tallora {
namespace {

// Sections typed either way match: every capital of the alphabets folded has its small letter,
// and what is not a letter, or not well-formed, is left as it was.
TEST(LowerCase, CapitalsOfEachAlphabetAndNothingElse) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"IPE 200", "ipe 200"},
        {"\u00C4Q \u00D7", "\u00E4q \u00D7"},                      // Ä, and × that is no letter
        {"\u0100\u0102\u0178", "\u0101\u0103\u00FF"},              // Ā Ă Ÿ
        {"\u0130", "i"},                                           // İ
        {"\u0391\u0392\u03A9\u0386", "\u03B1\u03B2\u03C9\u03AC"},  // ΑΒΩΆ
        {"\u0414\u041E\u041C\u0401", "\u0434\u043E\u043C\u0451"},  // ДОМЁ
        {"\u1E9E", "\u00DF"},                                      // ẞ
        {"A\xFF"
         "B",
         "a\xFF"
         "b"},                           // a stray byte
        {"\U0001F600X", "\U0001F600x"},  // beyond the letters folded
    };
    for (const auto& [text, lower] : cases) EXPECT_EQ(LowerCase(text), lower) << text;
}

// Every byte that is not part of a well-formed character is one replacement character.
TEST(ValidUtf8, MalformedBytesBecomeReplacementCharacters) {
    const std::string r = "\uFFFD";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\u20AC 5 \U0001F600", "\u20AC 5 \U0001F600"},
        {"\xC0\xAF", r + r},                  // an overlong '/'
        {"\xED\xA0\x80", r + r + r},          // the first surrogate
        {"\xED\xBF\xBF", r + r + r},          // the last surrogate
        {"\xF4\x90\x80\x80", r + r + r + r},  // past U+10FFFF
        {"a\xE2\x82", "a" + r + r},           // cut short
    };
    for (const auto& [text, valid] : cases) EXPECT_EQ(ValidUtf8(text), valid) << text;
}

}  // namespace
}  // namespace tallora
