#pragma once

#include <QLocale>

#include "results/NumberFormat.h"

namespace tallora {

// The number format of a locale: its separators, currency symbol, position and negative form.
// A locale without a currency symbol (C, POSIX) gives the UK format: the program's money is
// pounds.
NumberFormat NumberFormatOf(const QLocale& locale);

inline NumberFormat SystemNumberFormat() { return NumberFormatOf(QLocale::system()); }

}  // namespace tallora
