#pragma once

// Airfoil files and inviscid polars made by Debian's xfoil, for tests and
// benchmarks that compare against what that tool writes. Header only.
//
// xfoil is driven through its standard input. It opens a graphics window
// even when nothing is plotted, so it needs an X display: the one the test
// run provides, else a virtual one started by xvfb-run (with the X fonts of
// xfonts-base installed).

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <cmath>

namespace xfoilrun {

// Debian's xfoil, which the set-up installs; another one on the PATH only
// where that is missing. Empty when there is none.
inline QString program()
{
    if (QFileInfo::exists(QStringLiteral("/usr/bin/xfoil")))
        return QStringLiteral("/usr/bin/xfoil");
    return QStandardPaths::findExecutable(QStringLiteral("xfoil"));
}

// What one session makes of a section: airfoil files at the given panel
// counts, then an inviscid polar at the last of them.
struct Session {
    QString naca = QStringLiteral("2412");   // 4- or 5-digit designation
    bool closedTe = false;                   // xfoil's sections have a blunt trailing edge
    QList<int> points = {160};               // panel counts of the saved files; the polar uses the last
    QList<double> alphas = {0.0, 4.0, 8.0};
};

// File name of the airfoil a session saves at count points.
inline QString fileName(const Session& s, int points)
{
    return QStringLiteral("%1_%2_%3.dat").arg(s.naca, s.closedTe ? QStringLiteral("closed") : QStringLiteral("blunt"))
        .arg(points);
}

inline QString polarName(const Session& s)
{
    return QStringLiteral("%1_%2.pol").arg(s.naca, s.closedTe ? QStringLiteral("closed") : QStringLiteral("blunt"));
}

// The commands of a session, as typed at xfoil's prompts.
inline QString script(const Session& s)
{
    QString c = QStringLiteral("NACA %1\n").arg(s.naca);
    if (s.closedTe) // close the gap, blending over 80 % of the chord
        c += QStringLiteral("GDES\nTGAP\n0\n0.8\nX\n\n");
    for (int n : s.points)
        c += QStringLiteral("PPAR\nN\n%1\n\n\nPSAV %2\n").arg(n).arg(fileName(s, n));
    c += QStringLiteral("OPER\nPACC\n%1\n\n").arg(polarName(s));
    for (double a : s.alphas)
        c += QStringLiteral("ALFA %1\n").arg(a);
    c += QStringLiteral("PACC\n\nQUIT\n");
    return c;
}

namespace detail {
inline bool runOnce(const QString& dir, const QString& prog, const QStringList& args, const QString& input,
                    QString* log)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(prog, args);
    if (!p.waitForStarted(-1))
        return false;
    p.write(input.toLatin1());
    p.closeWriteChannel();
    // The input ends where the script does: xfoil at a prompt the script did
    // not expect reads the end of its input and stops, so the session ends
    // in any case.
    p.waitForFinished(-1);
    if (log)
        *log += QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit;
}
} // namespace detail

// Runs one session in dir; true when every file it should save is there.
inline bool run(const QString& dir, const Session& s, QString* log = nullptr)
{
    const auto complete = [&] {
        for (int n : s.points)
            if (!QFileInfo::exists(QDir(dir).filePath(fileName(s, n))))
                return false;
        return QFileInfo::exists(QDir(dir).filePath(polarName(s)));
    };
    const auto clear = [&] {
        for (int n : s.points)
            QFile::remove(QDir(dir).filePath(fileName(s, n)));
        QFile::remove(QDir(dir).filePath(polarName(s)));
    };
    const QString xfoil = program();
    if (xfoil.isEmpty())
        return false;
    if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
        clear();
        if (detail::runOnce(dir, xfoil, {}, script(s), log) && complete())
            return true;
    }
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfb.isEmpty())
        return false;
    clear();
    return detail::runOnce(dir, xvfb, {QStringLiteral("-a"), xfoil}, script(s), log) && complete();
}

// One line of a polar file.
struct PolarPoint {
    double alpha = 0, cl = 0, cm = 0;
};

// The points of a polar file that xfoil's PACC wrote, in file order.
inline QList<PolarPoint> readPolar(const QString& path)
{
    QList<PolarPoint> points;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return points;
    QTextStream in(&f);
    bool table = false;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.trimmed().startsWith(QStringLiteral("------"))) {
            table = true;
            continue;
        }
        const QStringList v = line.simplified().split(u' ', Qt::SkipEmptyParts);
        if (!table || v.size() < 5)
            continue;
        points.append({v[0].toDouble(), v[1].toDouble(), v[4].toDouble()});
    }
    return points;
}

// The zero-lift angle of a polar, by the straight line through its first
// two points (degrees).
inline double zeroLiftAngle(const QList<PolarPoint>& polar)
{
    if (polar.size() < 2)
        return std::nan("");
    const double slope = (polar[1].cl - polar[0].cl) / (polar[1].alpha - polar[0].alpha);
    return polar[0].alpha - polar[0].cl / slope;
}

} // namespace xfoilrun
