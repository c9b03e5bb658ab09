#pragma once

#include <QString>

namespace tallora {

// Puts the desktop into German where the setting says so ("de"), or where it is empty and the
// system's language is German: Tallora's own texts and those of Qt's dialogs. Any other choice
// leaves the English texts. Returns the language installed ("de"), or empty.
QString InstallTranslations(const QString& chosen);

}  // namespace tallora
