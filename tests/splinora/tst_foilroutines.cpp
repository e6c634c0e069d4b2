#include <QTest>
#include <QFile>
#include <QIODevice>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QTextStream>

#include <QTemporaryDir>

#include <cmath>

#include "apps/splinora/foilroutines.h"

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

    void segmentIndex_data()
    {
        QTest::addColumn<double>("t");
        QTest::addColumn<int>("expected");
        QTest::newRow("below") << -1.0 << 0;
        QTest::newRow("first segment excluded") << 0.5 << 0;
        QTest::newRow("on a knot, first match") << 2.0 << 1;
        QTest::newRow("inside") << 2.5 << 2;
        QTest::newRow("last end") << 4.0 << 3;
        QTest::newRow("beyond") << 9.0 << 4;
    }
    void segmentIndex()
    {
        QFETCH(double, t);
        QFETCH(int, expected);
        const double s[5] = {0.0, 1.0, 2.0, 3.0, 4.0};
        QCOMPARE(f_ind(t, s, 5), expected);
    }

    void arcLengthResampling()
    {
        // A unit square walked once: 8 equal steps land on corners and midpoints.
        const QPolygonF square({QPointF(0, 0), QPointF(1, 0), QPointF(1, 1), QPointF(0, 1), QPointF(0, 0)});
        const QPolygonF r = Natur_Airfoil(8, square);
        QCOMPARE(r.size(), 9);
        const QPolygonF want({QPointF(0, 0), QPointF(0.5, 0), QPointF(1, 0), QPointF(1, 0.5), QPointF(1, 1),
                              QPointF(0.5, 1), QPointF(0, 1), QPointF(0, 0.5), QPointF(0, 0)});
        QVERIFY(samePoly(r, want, 1e-12));
        QVERIFY(Natur_Airfoil(8, QPolygonF()).isEmpty());
        QCOMPARE(Zero_Airfoil(square).at(2), QPointF(1, 0));
    }

    void nearPointOnTheSideView()
    {
        const QPolygonF foil = symmetricFoil(); // upper side first, x falling
        // Upper side runs backwards in x: any side but 'D' finds it.
        PntStruct up = NearPoint(foil, QPointF(40 + 560 * 0.3, 0), 'U');
        QVERIFY(up.pnt_index >= 0 && up.pnt_index < foil.size() / 2);
        QCOMPARE(up.pnt.x(), 40 + 560 * 0.3);
        QCOMPARE(up.pnt.y(), -560 * foil[up.pnt_index].y());
        PntStruct dw = NearPoint(foil, QPointF(40 + 560 * 0.3, 0), 'D');
        QVERIFY(dw.pnt_index >= foil.size() / 2);
        PntStruct none = NearPoint(foil, QPointF(2000, 0), 'D');
        QCOMPARE(none.pnt_index, -1);
        QCOMPARE(none.pnt, QPointF(0, 0));
        QCOMPARE(NearPoint(QPolygonF(), QPointF(100, 0), 'D').pnt_index, -1);
    }

    void pointsFromText()
    {
        const QPolygonF poly = plainTextRead(" 2,0 0.0 \n1.0 0.2 \n0.0 0.0 \n\n1.0 -0.2 \n2.0 0.0 \n");
        const QPolygonF want({QPointF(1, 0), QPointF(0.5, 0.1), QPointF(0, 0), QPointF(0.5, -0.1), QPointF(1, 0)});
        QVERIFY(samePoly(poly, want, 1e-7));
    }

    void noseTopAndPairs()
    {
        // 1000 points: upper side 0..499 from the trailing edge, nose at 500.
        QPolygonF foil;
        for (int i = 0; i < 1000; ++i) {
            const double t = 2 * M_PI * i / 1000.0;
            foil << QPointF(0.5 + 0.5 * std::cos(t), 0.1 * std::sin(t));
        }
        ParaStruct* p = GetDataStruct();
        FindNoseTopIndex(p, foil);
        QCOMPARE(p->NoseIndex, 500);
        QCOMPARE(p->TopIndexUp, 250);
        QCOMPARE(p->TopIndexDw, 750);
        QCOMPARE(p->FoilPairList.size(), 1 + 499 + 1 + 499);
        QCOMPARE(p->FoilPairList.at(0).i2, 1000);
        const Foil_Pair top = p->FoilPairList.at(250);
        QCOMPARE(top.i1, 250);
        QVERIFY(std::abs(top.i2 - 750) <= 1);
        QVERIFY(std::fabs(top.H - 0.2) < 1e-3);
        QCOMPARE(p->FoilPairList.at(500).i1, 500);
        QCOMPARE(p->FoilPairList.at(500).i2, 500);
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
