#pragma once

// Every print the program starts goes into a PDF file at path.

#include "tests/common/scripteduser.h"

#include <QPrinter>

inline void printToPdf(ScriptedUser& user, const QString& path)
{
    user.onPrint = [path](QPrinter* printer) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(path);
        return true;
    };
}
