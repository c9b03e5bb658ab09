#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <vector>

// poppler-utils, for reading back what was written.
namespace tallora::testing {

inline bool HavePoppler() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

// Standard output of a program that ran to success, else empty.
inline QString RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    const bool ran = process.waitForFinished(60000) &&
                     process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return ran ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
}

struct PdfPageSize {
    double Width = 0;  // points
    double Height = 0;
    bool Landscape() const { return Width > Height; }
};

// Every page's size, so as many as the file has pages.
inline std::vector<PdfPageSize> PdfPageSizes(const QString& pdf) {
    std::vector<PdfPageSize> sizes;
    const QString info =
        RunTool(QStringLiteral("pdfinfo"), {QStringLiteral("-l"), QStringLiteral("100000"), pdf});
    const QRegularExpression line(
        QStringLiteral("Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+) pts"));
    for (auto it = line.globalMatch(info); it.hasNext();) {
        const auto match = it.next();
        sizes.push_back({match.captured(1).toDouble(), match.captured(2).toDouble()});
    }
    return sizes;
}

// The text of one page, or of all pages when page is 0.
inline QString PdfText(const QString& pdf, int page = 0) {
    QStringList arguments;
    if (page > 0) arguments << "-f" << QString::number(page) << "-l" << QString::number(page);
    return RunTool(QStringLiteral("pdftotext"), arguments << "-layout" << pdf << "-");
}

}  // namespace tallora::testing
