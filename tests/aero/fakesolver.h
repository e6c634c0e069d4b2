#pragma once

// Stand-ins for the outside solver: shell scripts named like it, placed in a
// directory of their own. Each honours (or breaks) the solver's contract:
// one argument, the case path without extension; input case + ".inp",
// results case + ".res".

#include <QFile>
#include <QString>

#include <cerrno>
#include <csignal>

namespace fakesolver {

inline QString resultsFixture()
{
    return qEnvironmentVariable("WL_SOURCE_DIR") + "/tests/aero/data/wings_small.res";
}

// Writes `body` as the program "apame_lnx32" in dir.
inline bool install(const QString& dir, const QString& body)
{
    QFile f(dir + "/apame_lnx32");
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    f.write(("#!/bin/sh\n" + body + "\n").toLocal8Bit());
    f.close();
    return f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                            QFile::ExeGroup);
}

// Notes its arguments and directory in `notes` (when given), then copies
// the results fixture. The solver works in a folder of the run's own, gone
// after the run: what a test reads afterwards goes to a path of its choice.
inline QString copiesResults(const QString& notes = QString())
{
    const QString note = notes.isEmpty()
                             ? QString()
                             : QStringLiteral("printf '%s\\n' \"$#\" \"$1\" \"$(pwd)\" > '%1'\n").arg(notes);
    return note + QStringLiteral("cp '%1' \"$1.res\"").arg(resultsFixture());
}

// Starts a child that sleeps, notes its process number in `notes`, and
// waits: a solver that does not end on its own while a test runs, so that
// its end can only come from the run that cancels or kills it.
inline QString sleeps(const QString& notes)
{
    return QStringLiteral("sleep 3600 &\necho $! > '%1'\nwait").arg(notes);
}

inline QString exits3()
{
    return QStringLiteral("echo 'reading the input' >&2\necho 'bad input: no NODES section' >&2\nexit 3");
}

// True while the process exists and is not a zombie.
inline bool alive(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray s = stat.readAll();
    const int close = s.lastIndexOf(')');
    return close > 0 && close + 2 < s.size() && s.at(close + 2) != 'Z';
}

} // namespace fakesolver
