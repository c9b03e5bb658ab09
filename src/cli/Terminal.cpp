#include "cli/Terminal.h"

#include <algorithm>

#include "job/Utf8.h"

namespace tallora::cli {

std::string ForTerminal(const std::string& text) {
    std::string plain;
    plain.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        plain += text[i];
    }
    return plain;
}

std::string Printable(const std::string& line) {
    std::string shown;
    shown.reserve(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        const bool c1 = c == 0xC2 && i + 1 < line.size() &&
                        static_cast<unsigned char>(line[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(line[i + 1]) <= 0x9F;
        if ((c < 0x20 && c != '\t') || c == 0x7F || c1) {
            shown += "\xEF\xBF\xBD";
            if (c1) ++i;
        } else {
            shown += line[i];
        }
    }
    return shown;
}

std::string TextArgument(const std::string& text) { return ValidUtf8(text); }

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

size_t Width(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(),
                                             [](unsigned char c) { return (c & 0xC0) != 0x80; }));
}

std::string Pad(const std::string& text, size_t width, bool right) {
    const std::string fill(width > Width(text) ? width - Width(text) : 0, ' ');
    return right ? fill + text : text + fill;
}

namespace {

// Messages of the message boxes may run over several lines; standard error gets one line each.
std::string OneLine(const std::string& text) {
    std::string line;
    bool broken = false;
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            broken = true;
            continue;
        }
        if (broken) {
            while (!line.empty() && line.back() == ' ') line.pop_back();
            if (!line.empty() && c != ' ') line += ' ';
            broken = false;
        }
        line += c;
    }
    return line;
}

}  // namespace

void Complain(std::ostream& err, const std::string& message) {
    err << "tallora-cli: " << OneLine(message) << "\n";
}

std::vector<std::string> MessageLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (const char c : ForTerminal(text) + "\n") {
        if (c != '\n') {
            line += c;
            continue;
        }
        if (!line.empty()) lines.push_back(Printable(line));
        line.clear();
    }
    return lines;
}

void Tell(std::ostream& err, const std::string& message) {
    for (const std::string& line : MessageLines(message)) err << "tallora-cli: " << line << "\n";
}

}  // namespace tallora::cli
