#pragma once

// File choosers of the analyser for text, project and output files; each
// returns the chosen path, or an empty string when the user cancels.

#include <QObject>
#include <QString>

namespace aerolyx {

class myOpenFile : public QObject {
    Q_OBJECT
public:
    explicit myOpenFile(QObject* parent = nullptr) : QObject(parent) {}

    // A text file ("*.txt") in dir.
    QString DialogReadFromTextFile(const QString& dir);
    // A project file ("*.prg") in dir.
    QString DialogReadFromFile(const QString& dir);
    // A project file name to write.
    QString DialogWriteToFile();
};

} // namespace aerolyx
