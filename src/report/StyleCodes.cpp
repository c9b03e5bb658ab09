#include "report/StyleCodes.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace tallora {

namespace {

std::vector<std::string_view> Tokens(std::string_view group) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < group.size()) {
        while (i < group.size() && group[i] == ' ') ++i;
        const std::size_t start = i;
        while (i < group.size() && group[i] != ' ') ++i;
        if (i > start) tokens.push_back(group.substr(start, i - start));
    }
    return tokens;
}

// Point sizes of one to three digits; anything else is not a size.
std::optional<int> PointSize(std::string_view digits) {
    if (digits.empty() || digits.size() > 3) return std::nullopt;
    const bool allDigits = std::all_of(digits.begin(), digits.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
    if (!allDigits) return std::nullopt;
    const int size = std::stoi(std::string(digits));
    return size > 0 ? std::optional<int>(size) : std::nullopt;
}

std::optional<Colour> NamedColour(std::string_view name) {
    if (name == "Black") return Black;
    if (name == "DkRed") return DarkRed;
    if (name == "DkGray") return DarkGray;
    return std::nullopt;
}

}  // namespace

StyledText ParseStyleCodes(std::string_view text) {
    StyledText result;
    const std::size_t close = text.find(']');
    if (text.empty() || text.front() != '[' || close == std::string_view::npos) {
        result.Text = std::string(text);
        return result;
    }
    result.Text = std::string(text.substr(close + 1));
    TextStyle& style = result.Style;
    const auto tokens = Tokens(text.substr(1, close - 1));
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const std::string_view code = tokens[i];
        const bool hasNext = i + 1 < tokens.size();
        if (code == "N") {
            style.Normal = true;
        } else if (code == "B") {
            style.Bold = true;
        } else if (code == "I") {
            style.Italic = true;
        } else if (code == "IO") {
            style.Italic = false;
        } else if (code == "U") {
            style.Underline = true;
        } else if (code == "L") {
            style.Alignment = TextAlignment::Left;
        } else if (code == "R") {
            style.Alignment = TextAlignment::Right;
        } else if (code == "CE") {
            style.Alignment = TextAlignment::Centre;
        } else if (code == "S") {
            // "S 32": the size is the next token, when there is one.
            if (hasNext) {
                if (const auto size = PointSize(tokens[i + 1])) {
                    style.Size = size;
                    ++i;
                }
            }
        } else if (code.front() == 'S') {
            if (const auto size = PointSize(code.substr(1))) style.Size = size;
        } else if (code == "C") {
            // A colour name the engine does not know leaves the colour alone and is read as a
            // code of its own.
            if (hasNext) {
                if (const auto colour = NamedColour(tokens[i + 1])) {
                    style.TextColour = colour;
                    ++i;
                }
            }
        }
    }
    return result;
}

}  // namespace tallora
