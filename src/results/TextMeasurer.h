#pragma once

#include <string>

namespace tallora {

// Size of a text in the drawing surface's font, in its units (pixels for the diagram bitmap).
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual double TextWidth(const std::string& text) const = 0;
    virtual double TextHeight(const std::string& text) const = 0;
};

}  // namespace tallora
