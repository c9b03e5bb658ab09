#pragma once

namespace tallora {

// What an edit does with a typed key. Every key is first turned to upper case.
enum class KeyAction {
    Accept,       // the key goes into the edit
    Discard,      // the key is dropped
    NextControl,  // swallowed; the focus moves to the next control in tab order
    Commit,       // swallowed; the panel's row is committed
};

inline constexpr char32_t KeyBackspace = 8;
inline constexpr char32_t KeyEnter = 13;
inline constexpr char32_t KeyDelete = 127;

KeyAction StockQuantityKey(char32_t key);  // digits, "*"
KeyAction CutQuantityKey(char32_t key);    // digits
KeyAction LengthKey(char32_t key);         // digits; Enter commits the row
KeyAction AllowanceKey(char32_t key);      // digits
// An imperial job's lengths: digits and the characters of feet, inches and fractions (' " - /
// . blank, and the letters of ft and in); Enter commits the row or moves on.
KeyAction ImperialLengthKey(char32_t key);
KeyAction ImperialAllowanceKey(char32_t key);
// Weight and cost, and the costing window's values: digits, "." and the delete character;
// Enter passes through.
KeyAction DecimalKey(char32_t key);

}  // namespace tallora
