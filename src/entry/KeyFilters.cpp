#include "entry/KeyFilters.h"

namespace tallora {

namespace {

char32_t Upper(char32_t key) { return key >= U'a' && key <= U'z' ? key - U'a' + U'A' : key; }
bool Digit(char32_t key) { return key >= U'0' && key <= U'9'; }

KeyAction Filter(char32_t key, bool star, KeyAction enter) {
    key = Upper(key);
    if (Digit(key) || key == KeyBackspace || (star && key == U'*')) return KeyAction::Accept;
    if (key == KeyEnter) return enter;
    return KeyAction::Discard;
}

}  // namespace

KeyAction StockQuantityKey(char32_t key) { return Filter(key, true, KeyAction::NextControl); }
KeyAction CutQuantityKey(char32_t key) { return Filter(key, false, KeyAction::NextControl); }
KeyAction LengthKey(char32_t key) { return Filter(key, false, KeyAction::Commit); }
KeyAction AllowanceKey(char32_t key) { return Filter(key, false, KeyAction::NextControl); }

namespace {
KeyAction ImperialFilter(char32_t key, KeyAction enter) {
    if (key == KeyEnter) return enter;
    if (Digit(key) || key == KeyBackspace) return KeyAction::Accept;
    for (char32_t c : U"'\"-/. FTINfti")
        if (c != 0 && key == c) return KeyAction::Accept;
    return KeyAction::Discard;
}
}  // namespace

KeyAction ImperialLengthKey(char32_t key) { return ImperialFilter(key, KeyAction::Commit); }
KeyAction ImperialAllowanceKey(char32_t key) { return ImperialFilter(key, KeyAction::NextControl); }

KeyAction DecimalKey(char32_t key) {
    key = Upper(key);
    if (Digit(key) || key == U'.' || key == KeyBackspace || key == KeyEnter || key == KeyDelete) {
        return KeyAction::Accept;
    }
    return KeyAction::Discard;
}

}  // namespace tallora
