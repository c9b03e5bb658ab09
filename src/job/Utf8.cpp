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

// The lower-case letter of a capital one; any other code point as it is. Pairs of capital and
// small letters in turn are told apart by the code point's parity.
char32_t LowerOf(char32_t c) {
    const auto inPairs = [c](char32_t first, char32_t last) {
        return c >= first && c <= last && (c - first) % 2 == 0;
    };
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    if (c == 0x130) return 'i';
    if (c == 0x178) return 0xFF;
    if (inPairs(0x100, 0x12F) || inPairs(0x132, 0x137) || inPairs(0x139, 0x148) ||
        inPairs(0x14A, 0x177) || inPairs(0x179, 0x17E) || inPairs(0x460, 0x481) ||
        inPairs(0x48A, 0x4BF) || inPairs(0x4C1, 0x4CE) || inPairs(0x4D0, 0x4FF) ||
        inPairs(0x1E00, 0x1E95) || inPairs(0x1EA0, 0x1EFF))
        return c + 1;
    // Greek: the capitals with a tonos, then the alphabet (U+03A2 is no letter).
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 0x25;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 0x3F;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;
    // Cyrillic.
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c == 0x4C0) return 0x4CF;
    if (c == 0x1E9E) return 0xDF;  // capital sharp s
    return c;
}

void AppendUtf8(std::string& text, char32_t c) {
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string LowerCase(std::string_view text) {
    std::string lower;
    lower.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = CharacterLength(text, at);
        // Malformed bytes and characters beyond the letters folded stay as they are.
        if (length == 0 || length == 4) {
            lower.append(text.substr(at, length == 0 ? 1 : length));
            at += length == 0 ? 1 : length;
            continue;
        }
        char32_t c = static_cast<unsigned char>(text[at]);
        if (length > 1) c &= length == 2 ? 0x1F : 0x0F;
        for (std::size_t k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
        AppendUtf8(lower, LowerOf(c));
        at += length;
    }
    return lower;
}

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
