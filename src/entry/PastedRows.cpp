#include "entry/PastedRows.h"

#include <algorithm>

#include "job/RowTexts.h"
#include "job/Units.h"
#include "results/CuttingListCsv.h"

namespace tallora {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string Trimmed(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    std::string field = text.substr(begin, end - begin);
    // A spreadsheet's CSV quotes its fields.
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"') {
        field = Trimmed(field.substr(1, field.size() - 2));
    }
    return field;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

struct LineFields {
    std::vector<std::string> Fields;  // the non-empty ones
    bool ByBlanks = false;            // no tab, comma or semicolon: runs of blanks separate
};

// Where a line's quotes are, a character at a time: as in a CSV file, a field quoted from its
// first character holds separators, and a doubled quote in it is a quote. A quote after the
// start of a field is only a character: the inch mark of 6' 3-1/2".
class QuoteState {
public:
    // Whether c is inside quotes or is one of them.
    bool Quoted(char c) {
        const bool start = atStart_;
        if (!IsBlank(c)) atStart_ = false;
        if (c != '"') {
            closed_ = false;
            return quoted_;
        }
        if (quoted_) {
            quoted_ = false;
            closed_ = true;
        } else if (start || closed_) {
            quoted_ = true;
            closed_ = false;
        } else {
            return false;
        }
        return true;
    }
    void FieldStarts() {
        atStart_ = true;
        closed_ = false;
    }

private:
    bool quoted_ = false;
    bool closed_ = false;  // a quote just ended a quoted part: a second one is a doubled quote
    bool atStart_ = true;
};

// The fields of a line. The first separator present outside quotes decides: a spreadsheet's
// tab, then a comma, then a semicolon, else runs of blanks. A separator inside quotes is part of
// the field, as a CSV file writes a mark like "Door, left"; a doubled quote in one is a quote.
LineFields Fields(const std::string& line) {
    auto present = [&line](char candidate) {
        QuoteState quotes;
        for (char c : line) {
            if (quotes.Quoted(c)) continue;
            if (c == candidate) return true;
            // Any separator may be the one that starts the next field.
            if (c == '\t' || c == ',' || c == ';' || IsBlank(c)) quotes.FieldStarts();
        }
        return false;
    };
    char separator = 0;
    for (char candidate : {'\t', ',', ';'}) {
        if (present(candidate)) {
            separator = candidate;
            break;
        }
    }
    LineFields split;
    split.ByBlanks = separator == 0;
    std::string field;
    auto finish = [&] {
        const size_t begin = field.find_first_not_of(" \t\v\f");
        const size_t last = field.find_last_not_of(" \t\v\f");
        const bool wasQuoted =
            begin != std::string::npos && last > begin && field[begin] == '"' && field[last] == '"';
        std::string trimmed = Trimmed(field);
        if (wasQuoted) {
            for (size_t at = trimmed.find("\"\""); at != std::string::npos;
                 at = trimmed.find("\"\"", at + 1))
                trimmed.erase(at, 1);
        }
        if (!trimmed.empty()) split.Fields.push_back(std::move(trimmed));
        field.clear();
    };
    QuoteState quotes;
    for (char c : line) {
        const bool separates = separator != 0 ? c == separator : IsBlank(c);
        if (!quotes.Quoted(c) && separates) {
            finish();
            quotes.FieldStarts();
        } else {
            field += c;
        }
    }
    finish();
    return split;
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

bool IsEmptyLine(const std::string& line) { return std::all_of(line.begin(), line.end(), IsBlank); }

bool HoldsANumber(const std::vector<std::string>& fields) {
    return std::any_of(fields.begin(), fields.end(), [](const std::string& field) {
        return ReadWholeNumber(field).has_value() || IsUnlimitedQuantity(Upper(field));
    });
}

// Between blanks, joins the fields after the quantity that make up one imperial length: as many
// as read as one ("6'" "3-1/2\"" is 6' 3-1/2", "75" "1/2" is 75-1/2").
void JoinImperialLength(std::vector<std::string>& fields) {
    // No length is written in more than four parts ("6 ' 3-1/2 \""), however long the line.
    constexpr size_t MostParts = 4;
    for (size_t last = std::min(fields.size() - 1, MostParts); last > 1; --last) {
        std::string joined = fields[1];
        for (size_t k = 2; k <= last; ++k) joined += " " + fields[k];
        if (!ReadImperialLength(joined).Ticks) continue;
        fields[1] = std::move(joined);
        fields.erase(fields.begin() + 2, fields.begin() + static_cast<std::ptrdiff_t>(last) + 1);
        return;
    }
}

}  // namespace

PastedRows ParsePastedRows(const std::string& text, bool withMarks, bool sayMarks,
                           const JobUnits& units) {
    PastedRows pasted;
    const std::vector<std::string> lines = Lines(text);
    bool first = true;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (IsEmptyLine(lines[i])) continue;
        const int line = static_cast<int>(i) + 1;
        LineFields split = Fields(lines[i]);
        std::vector<std::string>& fields = split.Fields;
        // Column captions, as a spreadsheet's first row often has.
        if (first && !HoldsANumber(fields)) {
            first = false;
            pasted.HeaderSkipped = true;
            continue;
        }
        first = false;
        if (split.ByBlanks && units.Imperial() && fields.size() > 2) JoinImperialLength(fields);
        std::string mark;
        if (withMarks && fields.size() > 2) {
            // Between blanks, everything after the length is the mark: "4 1200 Door A".
            if (split.ByBlanks) {
                for (size_t k = 3; k < fields.size(); ++k) fields[2] += " " + fields[k];
                fields.resize(3);
            }
            if (fields.size() == 3) {
                // As the cutting list's CSV wrote it.
                mark = FromCsvText(fields[2]);
                fields.pop_back();
            }
        }
        if (fields.size() != 2) {
            pasted.NotRows.push_back(
                {line, "'" + Trimmed(lines[i]) +
                           (withMarks && sayMarks ? "' is not a quantity and a length, "
                                                    "with or without a mark."
                                                  : "' is not a quantity and a length.")});
            continue;
        }
        pasted.Rows.push_back({line, Upper(fields[0]), Upper(fields[1]), std::move(mark)});
    }
    return pasted;
}

bool IsRowsText(const std::string& text) {
    int lines = 0;
    for (const std::string& line : Lines(text)) {
        if (IsEmptyLine(line)) continue;
        if (++lines > 1 || Fields(line).Fields.size() > 1) return true;
    }
    return false;
}

PastedRows RowsFromText(std::string_view text, const JobUnits& units) {
    // A spreadsheet's UTF-8 file may begin with a byte order mark.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    return ParsePastedRows(std::string(text), true, true, units);
}

std::string RowsText(const std::vector<ListRow>& rows, bool withMarks) {
    std::string text;
    for (const ListRow& row : rows) {
        text += row.Quantity + "\t" + row.Length;
        if (withMarks && !row.Mark.empty()) text += "\t" + CsvText(row.Mark);
        text += "\n";
    }
    return text;
}

std::string ReasonOf(const std::string& message) { return FirstLine(message); }

std::string PasteFailuresMessage(std::vector<PasteFailure> failures, int pastedLines, size_t shown,
                                 const std::string& how) {
    std::stable_sort(failures.begin(), failures.end(),
                     [](const PasteFailure& a, const PasteFailure& b) { return a.Line < b.Line; });
    std::string message = std::to_string(failures.size()) + " of the " +
                          std::to_string(pastedLines) + " " + how + " lines " +
                          (failures.size() == 1 ? "was" : "were") + " not added:";
    for (size_t i = 0; i < failures.size() && i < shown; ++i) {
        message += "\r\nLine " + std::to_string(failures[i].Line) + ": " + failures[i].Reason;
    }
    if (failures.size() > shown) {
        message += "\r\n... and " + std::to_string(failures.size() - shown) + " more.";
    }
    return message;
}

}  // namespace tallora
