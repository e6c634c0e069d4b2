#include <QtTest>

#include <QTemporaryDir>

#include <cmath>

#include "foilroutines.h"

using namespace splinora;

namespace {

// Symmetric test airfoil of 12 % thickness with its maximum at 30 % chord,
// listed from the trailing edge over the upper side and back.
QPolygonF symmetricFoil(int half = 40)
{
    auto y = [](double x) {
        const double u = x < 0.3 ? (0.3 - x) / 0.3 : (x - 0.3) / 0.7;
        return 0.06 * (1.0 - u * u);
    };
    QPolygonF poly;
    for (int i = 0; i <= half; ++i) {
        const double x = 1.0 - double(i) / half;
        poly << QPointF(x, y(x));
    }
    for (int i = half - 1; i >= 0; --i) {
        const double x = 1.0 - double(i) / half;
        poly << QPointF(x, -y(x));
    }
    return poly;
}

bool samePoly(const QPolygonF& a, const QPolygonF& b, double tol = 1e-12)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (std::fabs(a[i].x() - b[i].x()) > tol || std::fabs(a[i].y() - b[i].y()) > tol)
            return false;
    return true;
}

} // namespace

class TestFoilRoutines : public QObject
{
    Q_OBJECT
private slots:
    void normaliseUnitChordUnchanged()
    {
        const QPolygonF foil = symmetricFoil();
        QVERIFY(samePoly(Normalize_airfoil2(foil, 1), foil));
    }

    void normaliseScaledAndShifted()
    {
        const QPolygonF foil = symmetricFoil();
        QPolygonF big;
        for (const QPointF& q : foil)
            big << QPointF(3.0 + 2.0 * q.x(), 2.0 * q.y());
        const QPolygonF n = Normalize_airfoil2(big, 1);
        QVERIFY(samePoly(n, foil, 1e-12));
        QCOMPARE(n.first(), QPointF(1, 0));
    }

    void normaliseMirrors()
    {
        const QPolygonF foil = symmetricFoil();
        const QPolygonF m = Normalize_airfoil2(foil, -1);
        QCOMPARE(m.size(), foil.size());
        for (int i = 0; i < foil.size(); ++i)
            QVERIFY(std::fabs(m[i].y() + foil[i].y()) < 1e-12);
    }

    void normaliseDropsPointsOutsideTheChord()
    {
        // Listed from the leading edge: only the points at its x survive the
        // first pass, and a second pass has no extent left: no airfoil.
        QPolygonF fromLE;
        const QPolygonF foil = symmetricFoil();
        const int nose = foil.size() / 2;
        for (int i = nose; i < foil.size(); ++i)
            fromLE << foil[i];
        for (int i = 0; i < nose; ++i)
            fromLE << foil[i];
        const QPolygonF first = Normalize_airfoil2(fromLE, 1);
        QVERIFY(!first.isEmpty());
        for (const QPointF& q : first)
            QCOMPARE(q.x(), 1.0);
        QVERIFY(Normalize_airfoil2(first, 1).isEmpty());
        QVERIFY(Normalize_airfoil2(QPolygonF(), 1).isEmpty());
    }

    void thicknessTexts()
    {
        const QPolygonF foil = symmetricFoil();
        QString St[2];
        FindThickness(&foil, St);
        QCOMPARE(St[0], QString(" Thickness: 12.00  at  30.00 %"));
        QCOMPARE(St[1], QString(" Top: at 30.00   Bottom: at: 30.00 "));
    }

    void readBackgroundAirfoil()
    {
        // A plain two-column file with a header, chord 200 shifted by 50.
        QTemporaryDir dir;
        const QString path = dir.filePath("sym12.dat");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Text));
        QTextStream out(&f);
        out << "SYM12 test section\n";
        const QPolygonF foil = symmetricFoil();
        for (const QPointF& q : foil)
            out << QString::number(50 + 200 * q.x(), 'f', 6) << "  " << QString::number(200 * q.y(), 'f', 6) << "\n";
        f.close();
        const QPolygonF read = airfoil_Read(path);
        QVERIFY(samePoly(read, foil, 1e-6));
        QVERIFY(airfoil_Read(dir.filePath("none.dat")).isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestFoilRoutines)
#include "tst_foilroutines.moc"
