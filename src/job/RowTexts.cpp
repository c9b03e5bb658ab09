#include "job/RowTexts.h"

#include <charconv>
#include <climits>

#include "job/Capacities.h"

namespace tallora {

namespace {
const char* const kCheckEntry = "\r\nPlease check your entry and try again";
}

std::optional<int> ReadInteger(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::string_view digits = text.front() == '-' ? text.substr(1) : text;
    if (digits.empty()) return std::nullopt;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<int> ReadWholeNumber(std::string_view text) {
    if (text.empty() || text.front() == '-') return std::nullopt;
    return ReadInteger(text);
}

bool IsUnlimitedQuantity(std::string_view quantityText) {
    return quantityText == "*" || quantityText == "ANY";
}

namespace {

bool AllDigits(const std::string& text) {
    bool digits = !text.empty();
    for (char c : text) digits = digits && c >= '0' && c <= '9';
    return digits;
}

}  // namespace

std::optional<std::string> RowProblem(const std::string& quantity, const std::string& length,
                                      bool stock, const JobUnits& units) {
    const auto l = ReadWholeNumber(length);
    if (AllDigits(length) && !l) return LengthTooLongMessage(length, units);  // too many digits
    if (!l) return NotALengthMessage(length, units);
    if (*l > MaxLengthOf(units)) return LengthTooLongMessage(length, units);
    // Nothing can be cut at 0mm, nor from a bar of it.
    if (*l == 0) return LengthTooShortMessage(length, units);
    if (stock && IsUnlimitedQuantity(quantity)) return std::nullopt;
    if (!AllDigits(quantity)) return NotAQuantityMessage(quantity);
    const auto q = ReadWholeNumber(quantity);
    if (!q) return QuantityTooLargeMessage(quantity);
    // A row of nothing would only be dropped later, with a message that points elsewhere.
    if (*q == 0) return ZeroQuantityMessage();
    return std::nullopt;
}

std::string FirstLine(const std::string& message) {
    return message.substr(0, message.find_first_of("\r\n"));
}

EnteredLength LengthFromTyped(const std::string& typed, const JobUnits& units) {
    if (!units.Imperial()) return {typed, {}};
    const ImperialRead read = ReadImperialLength(typed);
    if (!read.Ticks) return {{}, read.Error + kCheckEntry};
    if (*read.Ticks > MaxImperialLength) {
        return {{},
                typed + " is greater than the maximum allowed length of " +
                    WriteImperialLength(MaxImperialLength, units.Precision) + "." + kCheckEntry};
    }
    return {std::to_string(*read.Ticks), {}};
}

int MaxLengthOf(const JobUnits& units) { return units.Imperial() ? MaxImperialLength : MaxLength; }

namespace {
// An imperial length text is whole 1/32 inches inside; it is named as the job shows it.
std::string Shown(const std::string& lengthText, const JobUnits& units) {
    const auto ticks = ReadWholeNumber(lengthText);
    return ticks ? WriteImperialLength(*ticks, units.Precision) : lengthText;
}
}  // namespace

std::string LengthTooLongMessage(const std::string& lengthText, const JobUnits& units) {
    if (units.Imperial()) {
        return Shown(lengthText, units) + " is greater than the maximum allowed length of " +
               WriteImperialLength(MaxImperialLength, units.Precision) + "." + kCheckEntry;
    }
    return lengthText + "mm is greater than the maximum allowed length of " +
           std::to_string(MaxLength) + "mm." + kCheckEntry;
}

std::string LengthTooShortMessage(const std::string& lengthText, const JobUnits& units) {
    if (units.Imperial()) {
        return Shown(lengthText, units) + " is shorter than the minimum allowed length of " +
               WriteImperialLength(1, ImperialPrecision::ThirtySecond) + "." + kCheckEntry;
    }
    return lengthText + "mm is shorter than the minimum allowed length of 1mm." + kCheckEntry;
}

std::string NotALengthMessage(const std::string& lengthText, const JobUnits& units) {
    if (units.Imperial()) return ReadImperialLength(lengthText).Error + kCheckEntry;
    return "'" + lengthText + "' is not a length in whole millimetres." + kCheckEntry;
}

std::string NotAQuantityMessage(const std::string& quantityText) {
    return "'" + quantityText + "' is not a quantity in whole numbers." + kCheckEntry;
}

std::string QuantityTooLargeMessage(const std::string& quantityText) {
    return quantityText + " is greater than the maximum allowed quantity of " +
           std::to_string(INT_MAX) + "." + kCheckEntry;
}

std::string ZeroQuantityMessage() {
    return std::string("A quantity of 0 adds nothing to the list: it must be at least 1.") +
           kCheckEntry;
}

std::string StockListFullMessage() {
    return "The stock list already holds the maximum allowed number of " +
           std::to_string(MaxStockRows) + " stock lengths." + kCheckEntry;
}

std::string CutListFullMessage() {
    return "The cut list already holds the maximum allowed number of " +
           std::to_string(MaxCutRows) + " cut lengths." + kCheckEntry;
}

}  // namespace tallora
