#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "results/PieceColours.h"

namespace tallora {

enum class TextAlignment { Left, Right, Centre };

// The style a text's leading bracketed group asks for, such as "[N S 12 B C DkRed]". Unset
// fields keep what the engine would use anyway.
struct TextStyle {
    bool Normal = false;                     // N: back to the normal style first
    std::optional<int> Size;                 // S n, points
    bool Bold = false;                       // B
    std::optional<bool> Italic;              // I on, IO off; the last one wins
    bool Underline = false;                  // U
    std::optional<TextAlignment> Alignment;  // L, R, CE
    std::optional<Colour> TextColour;        // C Black, C DkRed, C DkGray
    bool operator==(const TextStyle&) const = default;
};

struct StyledText {
    TextStyle Style;
    std::string Text;  // what follows the group, blanks included
};

// Splits off the optional leading group of blank-separated codes. A text without a closing
// bracket has no group; codes the engine does not know are skipped.
StyledText ParseStyleCodes(std::string_view text);

}  // namespace tallora
