#include "graphics/pattspline.h"
#include "core/parastruct.h"

#include <QDebug>
#include <QFile>
#include <QStringList>

#include "core/notify.h"
#include "graphics/streamfile.h"

namespace {

void writeRecord(QDataStream& out, const Spline& s)
{
    out << qint32(s.reserved) << qint32(s.side) << qint32(s.pointCount) << qint32(s.bsplineCount)
        << qint32(s.knotCount) << qint32(s.degree) << qint32(s.order);
    for (double k : s.knots)
        out << k;
    for (int i = 0; i < kSplinePoints; ++i)
        out << s.points[i] << s.bsplinePoints[i];
}

void readRecord(QDataStream& in, Spline& s)
{
    qint32 v[7];
    for (qint32& x : v)
        in >> x;
    s.reserved = v[0];
    s.side = v[1];
    s.pointCount = v[2];
    s.bsplineCount = v[3];
    s.knotCount = v[4];
    s.degree = v[5];
    s.order = v[6];
    for (double& k : s.knots)
        in >> k;
    for (int i = 0; i < kSplinePoints; ++i)
        in >> s.points[i] >> s.bsplinePoints[i];
}

} // namespace

QDataStream& operator<<(QDataStream& out, const QList<Spline>& list)
{
    out << qint32(list.size());
    for (const Spline& s : list)
        writeRecord(out, s);
    return out;
}

void Read_Spline_List(QDataStream& in, QList<Spline>* list, SplineFileReport* report)
{
    SplineFileReport r;
    qint32 count = 0;
    in >> count;   // as written, but the records that follow are what counts
    r.announced = count;
    while (!in.atEnd() && in.status() == QDataStream::Ok) {
        Spline s;
        readRecord(in, s);
        if (in.status() != QDataStream::Ok) {
            r.cutShort = true;
            break;
        }
        list->append(s);
        ++r.read;
    }
    if (report)
        *report = r;
}

QDataStream& operator>>(QDataStream& in, QList<Spline>* list)
{
    Read_Spline_List(in, list, nullptr);
    return in;
}

QByteArray Spline_File_Bytes(const QList<Spline>& list)
{
    return Stream_File_Bytes([&list](QDataStream& out) { out << list; });
}

bool WriteSplineStream(const QList<Spline>& list)
{
    return Write_Stream_File(GetGlobClass()->dsgPath, [&list](QDataStream& out) { out << list; });
}

QList<Spline> ReadSplineStream(SplineFileReport* report)
{
    QList<Spline> list;
    if (report)
        *report = SplineFileReport();
    Read_Stream_File(GetGlobClass()->dsgPath,
                     [&list, report](QDataStream& in) { Read_Spline_List(in, &list, report); });
    return list;
}

QString Spline_Problem(const Spline& s)
{
    // A line of 4 or more control points carries 2 B-spline points more, and
    // the record holds 30 of those.
    if (s.pointCount < 1 || s.pointCount > kMaxSplineControlPoints)
        return QStringLiteral("it has %1 control points where 1 to %2 fit")
            .arg(s.pointCount).arg(kMaxSplineControlPoints);
    if (s.bsplineCount < 1 || s.bsplineCount > kSplinePoints)
        return QStringLiteral("it has %1 B-spline points where 1 to %2 fit").arg(s.bsplineCount).arg(kSplinePoints);
    if (s.knotCount < 0 || s.knotCount > kSplineKnots)
        return QStringLiteral("it has %1 knots where 0 to %2 fit").arg(s.knotCount).arg(kSplineKnots);
    if (s.side != 0 && s.side != 1)
        return QStringLiteral("its surface side is %1, neither top (0) nor bottom (1)").arg(s.side);
    return QString();
}

bool Test_SplineList(const QList<Spline>* list)
{
    for (const Spline& s : *list)
        if (!Spline_Problem(s).isEmpty())
            return false;
    return true;
}

namespace {
QString lines(int n)
{
    return n == 1 ? QStringLiteral("1 design line") : QStringLiteral("%1 design lines").arg(n);
}
} // namespace

QList<Spline> Open_Design_Lines()
{
    SplineFileReport report;
    QList<Spline> list = ReadSplineStream(&report);

    // Lines the file announces but does not hold whole; a count that is not
    // above the whole records says nothing, but a record cut short is one.
    int missing = report.announced > report.read ? report.announced - report.read : 0;
    QString why;
    if (missing > 0)
        why = QStringLiteral("the file announces %1 but ends after %2")
                  .arg(lines(report.announced)).arg(report.read);
    else if (report.cutShort) {
        missing = 1;
        why = QStringLiteral("the file ends inside design line %1").arg(report.read + 1);
    }

    // An inconsistent line is dropped alone: the others are sound.
    int dropped = missing;
    QStringList inconsistent;
    QList<Spline> sound;
    sound.reserve(list.size());
    for (int k = 0; k < list.size(); ++k) {
        const QString problem = Spline_Problem(list[k]);
        if (problem.isEmpty()) {
            sound.append(list[k]);
            continue;
        }
        qDebug() << " error - nonconsistent Design Data";
        ++dropped;
        inconsistent << QStringLiteral("design line %1 is inconsistent: %2").arg(k + 1).arg(problem);
    }
    list = sound;
    if (!inconsistent.isEmpty()) {
        const QString bad = inconsistent.join(QStringLiteral("; "));
        why = why.isEmpty() ? bad : bad + QStringLiteral("; and ") + why;
    }
    if (dropped == 0)
        return list;

    const QString path = GetGlobClass()->dsgPath;
    const QString keep = path + QStringLiteral(".bak");
    QFile::remove(keep);
    const bool kept = QFile::copy(path, keep);
    Notify_User(QStringLiteral("%1 of this project %2 dropped: %3.\n%4\n\nThe file stays as it is until the "
                               "project is saved%5")
                    .arg(lines(dropped), dropped == 1 ? QStringLiteral("was") : QStringLiteral("were"), why, path,
                         kept ? QStringLiteral("; a copy of it is kept as\n") + keep : QStringLiteral(".")));
    return list;
}
