#include "job/JobInput.h"

#include <string_view>

#include "job/RowTexts.h"

namespace tallora {

namespace {
constexpr std::string_view OffcutMarkWord = "Inventory offcut ";
}  // namespace

std::string InventoryOffcutMark(long long id) {
    return std::string(OffcutMarkWord) + std::to_string(id);
}

std::vector<long long> InventoryOffcutIds(const std::string& mark) {
    std::vector<long long> ids;
    std::size_t start = 0;
    while (start < mark.size()) {
        std::size_t end = mark.find(", ", start);
        if (end == std::string::npos) end = mark.size();
        const std::string_view part(mark.data() + start, end - start);
        if (part.starts_with(OffcutMarkWord)) {
            const std::string_view digits = part.substr(OffcutMarkWord.size());
            long long id = 0;
            // At most 18 digits: no id overflows.
            bool ok = !digits.empty() && digits.size() <= 18;
            for (std::size_t k = 0; ok && k < digits.size(); ++k) {
                ok = digits[k] >= '0' && digits[k] <= '9';
                id = id * 10 + (digits[k] - '0');
            }
            if (ok && id > 0) ids.push_back(id);
        }
        start = end + 2;
    }
    return ids;
}

int LastRowOfLength(const std::vector<ListRow>& rows, int length) {
    for (int i = static_cast<int>(rows.size()) - 1; i >= 0; --i) {
        const auto value = ReadInteger(rows[static_cast<std::size_t>(i)].Length);
        if (value && *value == length) return i;
    }
    return -1;
}

}  // namespace tallora
