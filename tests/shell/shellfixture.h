#ifndef SHELLFIXTURE_H
#define SHELLFIXTURE_H

#include <QString>

#include <memory>

class ParaStruct;

// A default design record with its cell bookkeeping done.
std::unique_ptr<ParaStruct> defaultDesign();

// Copies the shipped default design "template.ini" and its design lines
// "template.dsg" of the build's application directory into the application
// directory of the running test.
bool writeTemplate();
QString templatePath();
QString templateLinesPath();
QString shippedTemplatePath();

// Points HOME at a new empty folder (kept for the test's life), so the work
// directory lies on a desktop of its own.
QString useFreshHome();

// The bytes of a file; empty when it cannot be read.
QByteArray fileBytes(const QString& path);

#endif
