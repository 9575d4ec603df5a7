#pragma once
// A PDF read back as poppler reads it: its text (pdftotext) and its number of pages (pdfinfo).

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

inline QString PopplerOutput(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of pages first to last (all for 0), laid out as on the page: a table row is a line.
// Without layout, in the order it was drawn: a table cell's lines follow each other.
inline QString PdfText(const QString& path, int first = 0, int last = 0, bool layout = true) {
    QStringList arguments{layout ? "-layout" : "-raw"};
    if (first > 0) arguments << "-f" << QString::number(first);
    if (last > 0) arguments << "-l" << QString::number(last);
    return PopplerOutput("pdftotext", arguments << path << "-");
}

inline int PdfPages(const QString& path) {
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)$"),
                                   QRegularExpression::MultilineOption);
    return pages.match(PopplerOutput("pdfinfo", {path})).captured(1).toInt();
}
