#pragma once

#include <QString>
#include <string>

namespace tallora {

// A text of the core's (English) as the desktop shows it: its translation where the whole text
// has one, else with each phrase of the core's that has one translated in place, so that
// messages made up of phrases and figures read in the user's language too.
QString CoreText(const std::string& text);

struct NumberFormat;
// The symbol beside a price field: the locale's (or its setting's), the pound where it has none.
QString CurrencyLabel(const NumberFormat& format);

}  // namespace tallora
