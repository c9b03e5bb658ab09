#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallora::testing {

using Fields = std::vector<std::string>;

// The test's own reading of CSV: quoted fields with doubled quotes, CR LF line ends.
inline std::vector<Fields> ReadCsv(const std::string& csv) {
    std::vector<Fields> lines;
    Fields fields;
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < csv.size(); ++i) {
        const char c = csv[i];
        if (quoted) {
            if (c == '"' && i + 1 < csv.size() && csv[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' && i + 1 < csv.size() && csv[i + 1] == '\n') {
            fields.push_back(std::move(field));
            field.clear();
            lines.push_back(std::move(fields));
            fields.clear();
            ++i;
        } else {
            field += c;
        }
    }
    EXPECT_TRUE(field.empty() && fields.empty()) << "the last line has no line end";
    return lines;
}

}  // namespace tallora::testing
