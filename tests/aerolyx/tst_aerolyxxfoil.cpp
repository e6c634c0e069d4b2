// The flow analyser on airfoil files as Debian's xfoil writes them (PSAV:
// blunt trailing edge unless closed, numbers in E-notation, no name line),
// against xfoil's own inviscid polars of the same sections. The files and
// polars are made by xfoil in the test run; without xfoil the test skips.

#include "apps/aerolyx/calc/airfoilprep.h"
#include "apps/aerolyx/calc/flow.h"
#include "tests/common/xfoilrun.h"

#include <QTemporaryDir>
#include <QTest>
#include <QFile>
#include <QIODevice>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace aerolyx;

namespace {

double Degrees(double radians) { return radians * 180.0 / M_PI; }

// Lift and moment about the quarter chord at the angle of incidence alpha
// (degrees), as the polar views ask for them.
double Lift(const myData* d, double alpha) { return f_Clift(d, alpha - Degrees(d->zeroLiftAngle)); }
double Moment(const myData* d, double alpha) { return f_Moment(d, alpha * M_PI / 180 - d->zeroLiftAngle, 0.25); }

// Vertical extent in percent of the x extent of the points of a file.
double Extent(const QPolygonF& p)
{
    double xlo = 1e9, xhi = -1e9, ylo = 1e9, yhi = -1e9;
    for (const QPointF& q : p) {
        xlo = std::min(xlo, q.x());
        xhi = std::max(xhi, q.x());
        ylo = std::min(ylo, q.y());
        yhi = std::max(yhi, q.y());
    }
    return (yhi - ylo) / (xhi - xlo) * 100;
}

QPolygonF Points(const QString& path)
{
    QPolygonF p;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return p;
    while (!f.atEnd()) {
        const QStringList v = QString::fromLatin1(f.readLine()).simplified().split(u' ');
        bool okX = false, okY = false;
        const double x = v.value(0).toDouble(&okX), y = v.value(1).toDouble(&okY);
        if (v.size() == 2 && okX && okY)
            p.append(QPointF(x, y));
    }
    return p;
}

} // namespace

class TestAerolyxXfoil : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QMap<QString, QList<xfoilrun::PolarPoint>> polars; // by section and trailing edge, "2412 blunt"
    QMap<QString, QString> files;                        // by section, trailing edge and points, "2412 blunt 160"

    static QString Key(const QString& naca, bool closed) { return naca + (closed ? " closed" : " blunt"); }

    // Loads the file and checks what every analysis of a section must meet
    // against xfoil's polar of it: lift within 3 % (0.02 near zero lift),
    // moment within 0.01, the zero-lift angle, the iteration count.
    void Check_Against_Polar(const QString& path, const QList<xfoilrun::PolarPoint>& polar, bool symmetric)
    {
        auto d = std::make_unique<myData>();
        QString why;
        QVERIFY2(Load_Airfoil(d.get(), path, &why), qPrintable(why));
        QVERIFY2(d->iterationCount < 100, qPrintable(QString("%1 iterations").arg(d->iterationCount)));
        QCOMPARE(polar.size(), 3);
        const double zeroLift = Degrees(d->zeroLiftAngle);
        if (symmetric) {
            QVERIFY2(std::fabs(zeroLift) < 0.01, qPrintable(QString("zero-lift angle %1").arg(zeroLift)));
        } else {
            const double reference = xfoilrun::zeroLiftAngle(polar);
            QVERIFY2(zeroLift * reference > 0 && std::fabs(zeroLift - reference) < 0.15,
                     qPrintable(QString("zero-lift angle %1, xfoil %2").arg(zeroLift).arg(reference)));
        }
        for (const xfoilrun::PolarPoint& p : polar) {
            const double cl = Lift(d.get(), p.alpha);
            const double tolerance = std::fabs(p.cl) < 0.2 ? 0.02 : 0.03 * std::fabs(p.cl);
            QVERIFY2(std::fabs(cl - p.cl) <= tolerance,
                     qPrintable(QString("CL %1, xfoil %2 at %3").arg(cl).arg(p.cl).arg(p.alpha)));
            const double cm = Moment(d.get(), p.alpha);
            QVERIFY2(std::fabs(cm - p.cm) <= 0.01,
                     qPrintable(QString("Cm %1, xfoil %2 at %3").arg(cm).arg(p.cm).arg(p.alpha)));
        }
        // The thickness shown is the vertical extent of the file's outline.
        const double thickness = FindThickness(d->workFoil).toDouble();
        const double extent = Extent(Points(path));
        QVERIFY2(std::fabs(thickness - extent) < 0.1, qPrintable(QString("thickness %1, file %2").arg(thickness).arg(extent)));
    }

private slots:
    void initTestCase()
    {
        if (xfoilrun::program().isEmpty())
            QSKIP("xfoil is not installed");
        QVERIFY(dir.isValid());
        const QList<int> counts{35, 61, 100, 101, 161, 250, 400, 160};
        struct Made {
            QString naca;
            bool closed;
            QList<int> points;
        };
        const QList<Made> sessions{{"0012", false, counts}, {"0012", true, counts}, {"2412", false, counts},
                                   {"2412", true, counts},  {"4415", false, {160}}, {"23012", false, {160}}};
        for (const Made& m : sessions) {
            xfoilrun::Session s;
            s.naca = m.naca;
            s.closedTe = m.closed;
            s.points = m.points;
            QString log;
            QVERIFY2(xfoilrun::run(dir.path(), s, &log), qPrintable(log.right(2000)));
            polars[Key(m.naca, m.closed)] = xfoilrun::readPolar(dir.filePath(xfoilrun::polarName(s)));
            for (int n : m.points) {
                const QString path = dir.filePath(xfoilrun::fileName(s, n));
                files[Key(m.naca, m.closed) + QString(" %1").arg(n)] = path;
                // With a name line, as airfoil collections write them.
                QFile plain(path);
                QVERIFY(plain.open(QIODevice::ReadOnly));
                QFile named(QString(path).replace(".dat", "_named.dat"));
                QVERIFY(named.open(QIODevice::WriteOnly));
                named.write("NACA " + m.naca.toLatin1() + "\n" + plain.readAll());
            }
        }
        // What the files look like: E-notation, a blunt trailing edge.
        const QPolygonF blunt = Points(files["2412 blunt 160"]);
        QCOMPARE(blunt.size(), 160);
        QVERIFY(blunt.first().y() > 0.001 && blunt.last().y() < -0.001);
    }

    void sectionsAsXfoilSavesThem_data()
    {
        QTest::addColumn<QString>("naca");
        for (const char* naca : {"0012", "2412", "4415", "23012"})
            QTest::newRow(naca) << QString(naca);
    }

    void sectionsAsXfoilSavesThem()
    {
        QFETCH(QString, naca);
        Check_Against_Polar(files[Key(naca, false) + " 160"], polars[Key(naca, false)], naca == "0012");
    }

    // The point count and the trailing edge of a file, and whether it has a
    // name line, change nothing of substance.
    void pointCountsAndTrailingEdges_data()
    {
        QTest::addColumn<QString>("naca");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("named");
        for (const char* naca : {"0012", "2412"})
            for (bool closed : {false, true})
                for (int n : {35, 61, 100, 101, 160, 161, 250, 400})
                    for (bool named : {false, true})
                        QTest::addRow("%s %s %d%s", naca, closed ? "closed" : "blunt", n, named ? " named" : "")
                            << QString(naca) << closed << n << named;
    }

    void pointCountsAndTrailingEdges()
    {
        QFETCH(QString, naca);
        QFETCH(bool, closed);
        QFETCH(int, points);
        QFETCH(bool, named);
        QString path = files[Key(naca, closed) + QString(" %1").arg(points)];
        if (named)
            path.replace(".dat", "_named.dat");
        Check_Against_Polar(path, polars[Key(naca, closed)], naca == "0012");
    }
};

QTEST_GUILESS_MAIN(TestAerolyxXfoil)
#include "tst_aerolyxxfoil.moc"
