#pragma once

#include <functional>
#include <string>

namespace tallora {

// A shop-floor paper's fixed words in the user's language: the English text in, the text to
// print out. Empty: English. Figures, marks and names pass through it unchanged.
using ReportLanguage = std::function<std::string(const std::string& english)>;

inline std::string InLanguage(const ReportLanguage& language, const std::string& english) {
    return language ? language(english) : english;
}

}  // namespace tallora
