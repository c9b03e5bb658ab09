#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

class QMimeData;

namespace tallora {

// The costing sheet as the clipboard gets it: the tab-separated lines as plain text, and the
// same lines as rich text for word processors and spreadsheets.
QString SheetPlainText(const std::vector<std::string>& lines);
QString SheetHtml(const std::vector<std::string>& lines);    // a table, a row per line
QByteArray SheetRtf(const std::vector<std::string>& lines);  // the lines with tab stops
QMimeData* SheetMimeData(const std::vector<std::string>& lines);

}  // namespace tallora
