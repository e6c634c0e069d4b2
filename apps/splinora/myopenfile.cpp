#include "apps/splinora/myopenfile.h"

#include "core/userinteraction.h"
#include <QDir>
#include <QFile>

#include <cmath>

#include "apps/splinora/shared_links.h"

namespace splinora {

namespace {

constexpr QDataStream::Version splineStreamVersion = QDataStream::Qt_4_6; // 12
constexpr double maxCoordinate = 1e6;

void write_spline(QDataStream& out, const SplineFoil& s)
{
    out << s.airfoilName;
    out << qint32(s.num_pnt) << qint32(s.num_knt) << qint32(s.degree) << qint32(s.order);
    for (int i = 0; i < MAXNUMKNOTS; ++i)
        out << s.b_knots[i];
    for (int i = 0; i < MAXNUMPOINTS; ++i)
        out << s.CP[i].x() << s.CP[i].y() << s.rd_CP[i].x() << s.rd_CP[i].y();
    out << s.startVent << s.endVent << s.L_T_S;
}

void read_spline(QDataStream& in, SplineFoil& s)
{
    qint32 n = 0;
    in >> s.airfoilName;
    in >> n;
    s.num_pnt = n;
    in >> n;
    s.num_knt = n;
    in >> n;
    s.degree = n;
    in >> n;
    s.order = n;
    for (int i = 0; i < MAXNUMKNOTS; ++i)
        in >> s.b_knots[i];
    for (int i = 0; i < MAXNUMPOINTS; ++i) {
        double x = 0, y = 0, rx = 0, ry = 0;
        in >> x >> y >> rx >> ry;
        s.CP[i] = QPointF(x, y);
        s.rd_CP[i] = QPointF(rx, ry);
    }
    in >> s.startVent >> s.endVent >> s.L_T_S;
}

// Whether a spline read from a file can be edited and evaluated safely.
bool spline_is_sound(const SplineFoil& s)
{
    if (s.num_pnt < 0 || s.num_pnt > MAXNUMPOINTS)
        return false;
    const bool quadratic = s.degree == DEGREE2 && s.order == DEGREE2 + 1;
    const bool unset = s.degree == 0 && s.order == 0;
    if (s.num_pnt == 0 && s.num_knt == 0) {
        if (!quadratic && !unset)
            return false;
    } else if (!quadratic || s.num_knt != s.num_pnt + s.order) {
        return false;
    }
    for (int i = 0; i < s.num_knt; ++i) {
        const double k = s.b_knots[i];
        if (!std::isfinite(k) || k < 0.0 || k > 1.0)
            return false;
        if (i > 0 && k < s.b_knots[i - 1])
            return false;
    }
    // Control points are drawing pixels: anything beyond a generous screen
    // range is not a spline this editor wrote.
    for (int i = 0; i < s.num_pnt; ++i)
        if (!(std::fabs(s.CP[i].x()) <= maxCoordinate) || !(std::fabs(s.CP[i].y()) <= maxCoordinate))
            return false;
    return std::isfinite(s.startVent) && std::isfinite(s.endVent);
}

QString table_line(double x, double y)
{
    return QString("%1   %2 \t\n").arg(x, 7, 'f', 5).arg(y, 7, 'f', 5);
}

} // namespace

QDataStream& operator<<(QDataStream& out, const ParaStruct& rec)
{
    write_spline(out, rec.spline);
    return out;
}

QDataStream& operator>>(QDataStream& in, ParaStruct& rec)
{
    read_spline(in, rec.spline);
    return in;
}

bool Read_Spline_Device(QIODevice* dev, SplineFoil* spline)
{
    QDataStream in(dev);
    in.setVersion(splineStreamVersion);
    in.setFloatingPointPrecision(QDataStream::DoublePrecision);
    SplineFoil read = *spline;
    read_spline(in, read);
    if (in.status() != QDataStream::Ok || !dev->atEnd())
        return false;
    if (!spline_is_sound(read))
        return false;
    *spline = read;
    return true;
}

QString Airfoil_Table_FileText(const QString& path, const QPolygonF& poly)
{
    QString text = path + " \t\n";
    text += table_line(1.0, 0.0);
    const int n = poly.size();
    if (PolygonSquare(poly) > 0) {
        for (int i = 1; i < n; i += 9)
            if (poly[i].x() < 0.99999)
                text += table_line(poly[i].x(), poly[i].y());
    } else {
        for (int i = n - 1; i > 0; i -= 9)
            if (poly[i].x() < 0.99999)
                text += table_line(poly[i].x(), poly[i].y());
    }
    text += table_line(1.0, 0.0);
    text += " ";
    return text;
}

QString Airfoil_Table_PanelText(const QPolygonF& poly)
{
    QString text = " airfoil table \t\n";
    text += " \t\n";
    text += table_line(1.0, 0.0);
    const int n = poly.size();
    if (PolygonSquare(poly) > 0) {
        for (int i = 1; i < n; ++i)
            if (poly[i].x() < 0.99999)
                text += table_line(poly[i].x(), poly[i].y());
    } else {
        for (int i = n - 1; i > 0; --i)
            if (poly[i].x() < 0.99999)
                text += table_line(poly[i].x(), poly[i].y());
    }
    text += table_line(1.0, 0.0);
    return text;
}

myOpenFile::myOpenFile(QObject* parent)
    : QObject(parent)
    , mydir(QDir::homePath() + "/Desktop" + airfoilDir)
    , p(GetDataStruct())
    , outdata(GetDataStruct())
{
}

QString myOpenFile::DialogReadFromFile()
{
    return User().openFileName("Open airfoil", mydir, tr("Files(*.txt *.dat)"));
}

QString myOpenFile::DialogReadSplineFromFile()
{
    return User().openFileName("Open airfoil spline (*.spl)", mydir, tr("Files (*.spl)"));
}

QString myOpenFile::DialogWriteToFile()
{
    return User().saveFileName("Save File (...as)", mydir, tr("Files (*.txt *.dat)"));
}

QString myOpenFile::DialogWriteSplineToFile()
{
    return User().saveFileName("Save Spline (.spl) (as...)", mydir, tr("Files (*.spl)"));
}

QString myOpenFile::OpenFileName(const QString& title, const QString& filter)
{
    return User().openFileName(title, mydir, "Files (" + filter + ")");
}

bool myOpenFile::WriteParaStream(const QString& filename)
{
    if (filename.isEmpty())
        return false;
    QFile file(filename);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QDataStream out(&file);
    out.setVersion(splineStreamVersion);
    out.setFloatingPointPrecision(QDataStream::DoublePrecision);
    out << *p;
    file.close();
    return true;
}

bool myOpenFile::ReadParaStream(const QString& filename)
{
    if (filename.isEmpty())
        return false;
    QFile file(filename);
    if (!file.exists()) {
        User().warning(QStringLiteral("Open spline"), filename + " warning *** :file is missing ");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const bool ok = Read_Spline_Device(&file, &outdata->spline);
    file.close();
    if (!ok) {
        User().warning(QStringLiteral("Open spline"), filename + " warning *** :file is damaged or not a spline file ");
    }
    return ok;
}

} // namespace splinora
