#pragma once

// Every print the program starts goes into a PDF file at path.

#include "tests/common/scripteduser.h"

#include <QPrinter>
#include <QProcess>
#include <QString>

// Poppler's reader of PDF text, which the tests check prints with.
inline const char* const kPdfToText = "/usr/bin/pdftotext";

// The text of a PDF file as poppler reads it; empty when it cannot.
inline QString pdfText(const QString& path)
{
    QProcess p;
    p.start(kPdfToText, {"-raw", path, "-"});
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline void printToPdf(ScriptedUser& user, const QString& path)
{
    user.onPrint = [path](QPrinter* printer) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(path);
        return true;
    };
}
