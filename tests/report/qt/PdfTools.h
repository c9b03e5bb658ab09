#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace tallora::testing {

// poppler-utils, for reading back what was written.
inline bool HavePoppler() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

// Standard output of a program that ran to success.
inline std::optional<QString> RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        return std::nullopt;
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline int PdfPageCount(const QString& pdf) {
    const auto info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    if (!info) return -1;
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(*info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

struct PdfPageSize {
    double Width = 0;  // points
    double Height = 0;
    bool Landscape() const { return Width > Height; }
};

inline std::vector<PdfPageSize> PdfPageSizes(const QString& pdf, int pages) {
    std::vector<PdfPageSize> sizes;
    const auto info =
        RunTool(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                            QStringLiteral("-l"), QString::number(pages), pdf});
    if (!info) return sizes;
    const QRegularExpression line(
        QStringLiteral("Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+) pts"));
    for (auto it = line.globalMatch(*info); it.hasNext();) {
        const auto match = it.next();
        sizes.push_back({match.captured(1).toDouble(), match.captured(2).toDouble()});
    }
    return sizes;
}

// The text of one page, or of all pages when page is 0.
inline QString PdfText(const QString& pdf, int page = 0) {
    QStringList arguments;
    if (page > 0) {
        const QString number = QString::number(page);
        arguments << QStringLiteral("-f") << number << QStringLiteral("-l") << number;
    }
    arguments << QStringLiteral("-layout") << pdf << QStringLiteral("-");
    return RunTool(QStringLiteral("pdftotext"), arguments).value_or(QString());
}

}  // namespace tallora::testing
