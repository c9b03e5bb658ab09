#include "job/Utf8.h"

namespace tallora {

namespace {

bool Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the well-formed character at `at`, or 0 when the bytes there are not one.
std::size_t CharacterLength(std::string_view text, std::size_t at) {
    const auto c = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    unsigned min = 0;
    unsigned code = 0;
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2, code = c & 0x1F, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3, code = c & 0x0F, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4, code = c & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(text[at + k]);
        if (!Continuation(b)) return 0;
        code = (code << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond Unicode are not characters.
    if (code < min || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
    return length;
}

}  // namespace

std::string ValidUtf8(std::string_view text) {
    std::string valid;
    valid.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = CharacterLength(text, at);
        if (length == 0) {
            valid += "\xEF\xBF\xBD";
            ++at;
        } else {
            valid.append(text.substr(at, length));
            at += length;
        }
    }
    return valid;
}

std::size_t PreviousCharacter(std::string_view text, std::size_t end) {
    if (end == 0) return 0;
    std::size_t start = end - 1;
    // Back over continuation bytes, at most three, to the byte that leads them.
    while (start > 0 && end - start < 4 && Continuation(static_cast<unsigned char>(text[start]))) {
        --start;
    }
    return CharacterLength(text, start) == end - start ? start : end - 1;
}

std::size_t NextCharacter(std::string_view text, std::size_t start) {
    if (start >= text.size()) return text.size();
    const std::size_t length = CharacterLength(text, start);
    return start + (length == 0 ? 1 : length);
}

}  // namespace tallora
