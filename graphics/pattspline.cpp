#include "graphics/pattspline.h"
#include "core/parastruct.h"

#include <QFile>
#include <QSaveFile>

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

QDataStream& operator>>(QDataStream& in, QList<Spline>* list)
{
    qint32 count = 0;
    in >> count;   // as written, but the records that follow are what counts
    while (!in.atEnd() && in.status() == QDataStream::Ok) {
        Spline s;
        readRecord(in, s);
        if (in.status() != QDataStream::Ok)
            break;
        list->append(s);
    }
    return in;
}

bool WriteSplineStream(const QList<Spline>& list)
{
    const QString path = GetGlobClass()->dsgPath;
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out << list;
    if (out.status() != QDataStream::Ok) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QList<Spline> ReadSplineStream()
{
    QList<Spline> list;
    const QString path = GetGlobClass()->dsgPath;
    if (path.isEmpty())
        return list;
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return list;
    QDataStream in(&file);
    in >> &list;
    return list;
}

bool Test_SplineList(const QList<Spline>* list)
{
    for (const Spline& s : *list) {
        if (s.pointCount < 1 || s.pointCount > 29)
            return false;
        if (s.bsplineCount < 1 || s.bsplineCount > 29)
            return false;
        if (s.knotCount < 0 || s.knotCount > kSplineKnots)
            return false;
        if (s.side != 0 && s.side != 1)
            return false;
    }
    return true;
}
