#include "gui/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tallora {

QString InstallTranslations(const QString& chosen) {
    const bool german = chosen == QStringLiteral("de") ||
                        (chosen.isEmpty() && QLocale::system().language() == QLocale::German);
    if (!german) return {};
    auto* own = new QTranslator(QCoreApplication::instance());
    if (!own->load(QStringLiteral(":/i18n/tallora_de.qm"))) {
        delete own;
        return {};
    }
    QCoreApplication::installTranslator(own);
    // Qt's own dialogs and buttons; without the package they stay English.
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    return QStringLiteral("de");
}

}  // namespace tallora
