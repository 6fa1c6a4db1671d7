// Reading a PDF back as a user's viewer would: its text, page by page, through pdftotext.
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include "print/report.h"

namespace vex::gui::test {

// The lines of every page, blanks collapsed and empty lines dropped. Empty when the file could
// not be read.
inline QList<QStringList> PdfPages(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(20000) || pdftotext.exitCode() != 0) return {};
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QList<QStringList> pages;
    QStringList pageTexts = text.split(QChar('\f'));
    if (!pageTexts.isEmpty() && pageTexts.last().trimmed().isEmpty()) pageTexts.removeLast();
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    for (const QString& page : pageTexts) {
        QStringList lines;
        for (const QString& line : page.split(QChar('\n'))) {
            const QString simple = line.simplified();
            if (!simple.isEmpty()) lines << simple;
        }
        pages << lines;
    }
    return pages;
}

// The same for a laid-out page: what the PDF must show.
inline QStringList LaidOutLines(const print::Page& page) {
    QStringList lines;
    for (const print::Line& line : page.lines) {
        const QString simple = QString::fromStdString(line.plainText()).simplified();
        if (!simple.isEmpty()) lines << simple;
    }
    return lines;
}

}  // namespace vex::gui::test
