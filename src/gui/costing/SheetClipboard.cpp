#include "gui/costing/SheetClipboard.h"

#include <QMimeData>
#include <QStringList>
#include <algorithm>

namespace tallora {

namespace {

QStringList Cells(const std::string& line) {
    return QString::fromStdString(line).split(QLatin1Char('\t'));
}

// RTF is 7-bit: other characters go as signed UTF-16 units with "?" for old readers.
void AppendRtf(QByteArray& rtf, const QString& text) {
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit == u'\\' || unit == u'{' || unit == u'}') {
            rtf += '\\';
            rtf += static_cast<char>(unit);
        } else if (unit == u'\t') {
            rtf += "\\tab ";
        } else if (unit >= 0x20 && unit < 0x80) {
            rtf += static_cast<char>(unit);
        } else if (unit >= 0x80) {
            rtf += "\\u" + QByteArray::number(static_cast<short>(unit)) + '?';
        }
    }
}

}  // namespace

QString SheetPlainText(const std::vector<std::string>& lines) {
    QStringList text;
    for (const auto& line : lines) text << QString::fromStdString(line);
    return text.join(QLatin1Char('\n'));
}

QString SheetHtml(const std::vector<std::string>& lines) {
    qsizetype columns = 1;
    for (const auto& line : lines) columns = std::max(columns, Cells(line).size());
    QString html = QStringLiteral(
        "<html><head><meta charset=\"utf-8\"></head><body>"
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">\n");
    for (const auto& line : lines) {
        html += QStringLiteral("<tr>");
        if (line.empty()) {
            // The blank line before the totals keeps the table's width.
            html += QStringLiteral("<td colspan=\"%1\">&nbsp;</td>").arg(columns);
        } else {
            for (const QString& cell : Cells(line)) {
                html += QStringLiteral("<td>") + cell.toHtmlEscaped() + QStringLiteral("</td>");
            }
        }
        html += QStringLiteral("</tr>\n");
    }
    html += QStringLiteral("</table></body></html>");
    return html;
}

QByteArray SheetRtf(const std::vector<std::string>& lines) {
    QByteArray rtf = "{\\rtf1\\ansi\\deff0\\uc1{\\fonttbl{\\f0\\fswiss Tahoma;}}\\f0\\fs16\n";
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) rtf += "\\par\n";
        AppendRtf(rtf, QString::fromStdString(lines[i]));
    }
    rtf += "}";
    return rtf;
}

QMimeData* SheetMimeData(const std::vector<std::string>& lines) {
    auto* data = new QMimeData;
    data->setText(SheetPlainText(lines));
    data->setHtml(SheetHtml(lines));
    const QByteArray rtf = SheetRtf(lines);
    data->setData(QStringLiteral("text/rtf"), rtf);
    // Windows programs look for the clipboard's own "Rich Text Format".
    data->setData(QStringLiteral("application/x-qt-windows-mime;value=\"Rich Text Format\""), rtf);
    return data;
}

}  // namespace tallora
