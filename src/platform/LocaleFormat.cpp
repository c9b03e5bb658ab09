#include "platform/LocaleFormat.h"

#include <QStringList>

namespace tallora {

namespace {

// The amount's place in a currency text: "$" for the symbol, "1" for the number.
QString Shape(const QLocale& locale, double value) {
    QString text = locale.toCurrencyString(value, QStringLiteral("$"), 0);
    text.replace(QChar(0x00A0), QLatin1Char(' '));
    text.replace(QChar(0x202F), QLatin1Char(' '));
    text.replace(locale.negativeSign(), QStringLiteral("-"));
    return text;
}

}  // namespace

NumberFormat NumberFormatOf(const QLocale& locale) {
    NumberFormat format;
    const QString symbol = locale.currencySymbol(QLocale::CurrencySymbol);
    if (symbol.isEmpty() || locale.language() == QLocale::C) return NumberFormat::UK();
    format.DecimalSeparator = locale.decimalPoint().toStdString();
    format.ThousandSeparator = locale.groupSeparator().toStdString();
    format.CurrencySymbol = symbol.toStdString();

    const QStringList positive = {QStringLiteral("$1"), QStringLiteral("1$"), QStringLiteral("$ 1"),
                                  QStringLiteral("1 $")};
    const QStringList negative = {
        QStringLiteral("($1)"), QStringLiteral("-$1"),  QStringLiteral("$-1"),
        QStringLiteral("$1-"),  QStringLiteral("(1$)"), QStringLiteral("-1$"),
        QStringLiteral("1-$"),  QStringLiteral("1$-"),  QStringLiteral("-1 $"),
        QStringLiteral("-$ 1"), QStringLiteral("1 $-"), QStringLiteral("$ 1-"),
        QStringLiteral("$ -1"), QStringLiteral("1- $"), QStringLiteral("($ 1)"),
        QStringLiteral("(1 $)")};
    const int position = positive.indexOf(Shape(locale, 1.0));
    const int form = negative.indexOf(Shape(locale, -1.0));
    if (position >= 0) format.CurrencyPosition = position;
    if (form >= 0) format.NegativeForm = form;
    return format;
}

}  // namespace tallora
