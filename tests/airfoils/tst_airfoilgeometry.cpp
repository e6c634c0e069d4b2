#include <QTest>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringLiteral>
#include <QTemporaryDir>

#include "core/airfoil.h"
#include "tests/common/foilgen.h"
#include "tests/common/scripteduser.h"

#include <cmath>

namespace {

double chordOf(const QPolygonF& p)
{
    double lo = p.first().x(), hi = lo;
    for (const QPointF& q : p) {
        lo = std::min(lo, q.x());
        hi = std::max(hi, q.x());
    }
    return hi - lo;
}

double dist(QPointF a, QPointF b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// Collects what the library tells the user while it lives.
using Messages = ScriptedUser;

} // namespace

class TestAirfoilGeometry : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    // The whole import of generated files: first and last point exactly
    // (1, 0), counter-clockwise, unit chord, nose near the middle, and
    // exactly 1000 standard points once assigned.
    void importChain_data()
    {
        QTest::addColumn<QString>("text");
        foilgen::Format f;
        QTest::newRow("4-digit, 61 points") << foilgen::plainTable(foilgen::naca4({0.02, 0.4, 0.12, true}, 31), f);
        QTest::newRow("symmetric, 61 points") << foilgen::plainTable(foilgen::naca4({0.0, 0.0, 0.12, true}, 31), f);
        QTest::newRow("duplicate nose and trailing edge")
            << foilgen::plainTable(foilgen::withDuplicateTe(foilgen::withDuplicateNose(foilgen::naca4({}, 31))), f);
        QPolygonF clockwise = foilgen::naca4({0.04, 0.4, 0.15, false}, 50, false);
        std::reverse(clockwise.begin(), clockwise.end());
        QTest::newRow("clockwise, open trailing edge") << foilgen::plainTable(clockwise, f);
        // A blunt trailing edge written as a row of points along it: those
        // points fall behind x = 0.99999 and the import comes out short.
        QPolygonF blunt;
        const QPolygonF thin = foilgen::naca4({0.02, 0.4, 0.10, true}, 61);
        for (int i = 0; i <= 5; ++i)
            blunt.append(QPointF(1.0, 0.004 * i));
        for (int i = 1; i < thin.size() - 1; ++i)
            blunt.append(thin[i] + QPointF(0.0, 0.02 * thin[i].x() * (i < thin.size() / 2 ? 1 : -1)));
        for (int i = 5; i >= 0; --i)
            blunt.append(QPointF(1.0, -0.004 * i));
        QTest::newRow("blunt trailing edge") << foilgen::plainTable(blunt, f);
        QTest::newRow("joukowski") << foilgen::plainTable(foilgen::joukowski(0.1, 0.08, 121), f);
        foilgen::Format e;
        e.style = 'E';
        e.precision = 4;
        QTest::newRow("exponent notation") << foilgen::plainTable(foilgen::naca4({}, 31), e);
        QList<double> x, up, low;
        for (double s : foilgen::stations(40)) {
            x.append(s);
            up.append(foilgen::halfThickness(s, 0.14));
            low.append(-0.6 * foilgen::halfThickness(s, 0.14));
        }
        QTest::newRow("three columns") << foilgen::threeColumnTable(x, low, up, f);
        QPolygonF half;
        for (const QPointF& q : foilgen::symmetricHalf(0.12, 41, false))
            half.append(q * 100.0);
        QTest::newRow("symmetric half in percent") << foilgen::symmetricTable(half, f);
    }
    void importChain()
    {
        QFETCH(QString, text);
        const QString path = foilgen::writeFile(dir.path(), "import.dat", text);

        // The normalising step itself gives unit chord with the trailing-edge
        // midpoint on (1, 0).
        QPolygonF raw = Read_All_AirfoilTypes(path);
        QVERIFY(raw.size() >= 3);
        QPolygonF spaced = NaturPntCurve(raw.first(), raw.last(), raw);
        QPolygonF resampled = Interpolated_poly(kStandardFoilPoints, &spaced);
        QCOMPARE(resampled.size(), kStandardFoilPoints);
        const QPolygonF normal = Normalize_airfoil_2X(&resampled);
        QVERIFY(std::abs(chordOf(normal) - 1.0) < 1e-6);
        QVERIFY(dist((normal.first() + normal.last()) / 2.0, QPointF(1, 0)) < 1e-9);

        const QPolygonF foil = Import_Airfoil_File(path);
        QCOMPARE(foil, ReWrite_Airfoil(normal));
        QCOMPARE(foil.first(), QPointF(1.0, 0.0));
        QCOMPARE(foil.last(), QPointF(1.0, 0.0));
        QVERIFY(PolygonSquare(foil) > 0);
        QVERIFY(foil.size() > 960 && foil.size() <= 1001);
        QVERIFY(std::abs(chordOf(foil) - 1.0) < 0.005);

        Messages messages;
        QPolygonF work = foil;
        const QPolygonF standard = setStandFoil(&work);
        QCOMPARE(standard.size(), kStandardFoilPoints);
        QCOMPARE(standard.first(), QPointF(1.0, 0.0));
        QCOMPARE(messages.texts.size(), foil.size() < kStandardFoilPoints ? 1 : 0);
        QPolygonF s = standard;
        const int nose = get_nose_index(&s);
        QVERIFY(nose >= 500 && nose < 560);
        // The trailing edge is the midpoint of the first and the last sample,
        // which ends just short of the contour's end: the nose comes to lie
        // a little behind x = 0.
        QVERIFY(standard[nose].x() > 0.0 && standard[nose].x() < 3e-3);
    }

    // Files of one or two usable points import nothing (the spline needs
    // three); so do files of no known layout.
    void importRefusesTooFewPoints_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("one point") << "GEN\n0.5 0.1\n";
        QTest::newRow("two points") << "GEN\n1.0 0.0\n0.0 0.0\n";
        QTest::newRow("three equal points") << "GEN\n0.5 0.1\n0.5 0.1\n0.5 0.1\n";
        QTest::newRow("no layout") << "GEN\n1 0\n2 0\n3 0\n";
        QTest::newRow("empty") << "";
    }
    void importRefusesTooFewPoints()
    {
        QFETCH(QString, text);
        QCOMPARE(Import_Airfoil_File(foilgen::writeFile(dir.path(), "few.dat", text)).size(), 0);
        QPolygonF two({QPointF(1, 0), QPointF(0, 0)});
        QCOMPARE(Interpolated_poly(1000, &two).size(), 0);
    }

    // A long plain table imports without stalling.
    void importLargeFile()
    {
        const QPolygonF c = foilgen::naca4({0.02, 0.4, 0.12, true}, 50001);
        const QPolygonF foil =
            Import_Airfoil_File(foilgen::writeFile(dir.path(), "large.dat", foilgen::plainTable(c)));
        QVERIFY(foil.size() > 990);
        QVERIFY(PolygonSquare(foil) > 0);
    }

    void interpolation()
    {
        // A straight line is reproduced exactly; samples at j / n.
        QPolygonF line;
        for (int i = 0; i < 11; ++i)
            line.append(QPointF(i, 2.0 * i));
        const QPolygonF r = Interpolated_poly(20, &line);
        QCOMPARE(r.size(), 20);
        for (int j = 0; j < 20; ++j) {
            QVERIFY(std::abs(r[j].x() - j * 10.0 / 20.0) < 1e-9);
            QVERIFY(std::abs(r[j].y() - j * 20.0 / 20.0) < 1e-9);
        }
        // 1000 samples keep the first point and end before the last one.
        QPolygonF foil = foilgen::naca4({}, 31);
        const QPolygonF f = Interpolated_poly(1000, &foil);
        QCOMPARE(f.first(), foil.first());
        QVERIFY(f.last() != foil.last());
        QVERIFY(dist(f.last(), foil.last()) < 0.01);
        QCOMPARE(Interpolated_poly(0, &foil).size(), 0);
        QPolygonF empty;
        QCOMPARE(Interpolated_poly(1000, &empty).size(), 0);
    }

    void normalising()
    {
        QPolygonF c;
        for (const QPointF& q : foilgen::naca4({}, 31))
            c.append(q * 250.0 + QPointF(-40.0, 12.0));
        const QPolygonF n = Normalize_airfoil_2X(&c);
        QVERIFY(std::abs(chordOf(n) - 1.0) < 1e-12);
        QVERIFY(dist(n.first(), QPointF(1, 0)) < 1e-12);
        QPolygonF empty, flat({QPointF(1, 0), QPointF(1, 1), QPointF(1, 2)});
        QCOMPARE(Normalize_airfoil_2X(&empty).size(), 0);
        QCOMPARE(Normalize_airfoil_2X(&flat).size(), 0);
    }

    void rewriting()
    {
        const QPolygonF ccw({QPointF(1.0, 0.0), QPointF(0.5, 0.1), QPointF(0.0, 0.0), QPointF(0.5, -0.1),
                             QPointF(0.999995, -0.001)});
        QCOMPARE(ReWrite_Airfoil(ccw), QPolygonF({QPointF(1, 0), QPointF(0.5, 0.1), QPointF(0.0, 0.0),
                                                  QPointF(0.5, -0.1), QPointF(1, 0)}));
        const QPolygonF cw(ccw.rbegin(), ccw.rend());
        QCOMPARE(ReWrite_Airfoil(cw), QPolygonF({QPointF(1, 0), QPointF(0.5, 0.1), QPointF(0.0, 0.0),
                                                 QPointF(0.5, -0.1), QPointF(1, 0)}));
        QCOMPARE(ReWrite_Airfoil(QPolygonF()), QPolygonF({QPointF(1, 0), QPointF(1, 0)}));
    }

    void arcSpacing()
    {
        // Fewer than three points: just first and last.
        const QPointF a(1, 0), b(1, 0.5);
        QCOMPARE(NaturPntCurve(a, b, QPolygonF({QPointF(0, 0)})), QPolygonF({a, b}));
        QCOMPARE(NaturPntCurve(a, b, QPolygonF({QPointF(0, 0), QPointF(1, 1)})), QPolygonF({a, b}));
        QCOMPARE(NaturPntCurve(a, b, QPolygonF()).size(), 0);

        // Segment count: 256, or n / 2 from 512 points on; even steps, the
        // final gap two steps long. Repeated points change nothing.
        for (const int n : {400, 600}) {
            QPolygonF line;
            for (int i = 0; i < n; ++i) {
                line.append(QPointF(i, 0));
                if (i % 7 == 3)
                    line.append(QPointF(i, 0));
            }
            const int m = std::max(256, int(line.size()) / 2);
            const QPolygonF r = NaturPntCurve(line.first(), line.last(), line);
            QCOMPARE(int(r.size()), m);
            const double h = (n - 1.0) / m;
            for (int j = 1; j < r.size() - 1; ++j)
                QVERIFY(std::abs(r[j].x() - j * h) < 1e-9);
            QVERIFY(std::abs(r.last().x() - r[r.size() - 2].x() - 2 * h) < 1e-9);
        }
    }

    void intervalSearch_data()
    {
        QTest::addColumn<double>("t");
        QTest::addColumn<int>("index");
        QTest::newRow("below s1") << 0.5 << 0;
        QTest::newRow("at s1") << 1.0 << 1;
        QTest::newRow("inside") << 2.5 << 2;
        QTest::newRow("repeated entry") << 3.0 << 4;
        QTest::newRow("at the last entry") << 5.0 << 5;
        QTest::newRow("beyond") << 9.0 << 5;
    }
    void intervalSearch()
    {
        QFETCH(double, t);
        QFETCH(int, index);
        const double s[6] = {0, 1, 2, 3, 3, 5};
        QCOMPARE(f_ind(t, s, 6), index);
        const double two[2] = {0, 1};
        QCOMPARE(f_ind(0.0, two, 2), 0);
        QCOMPARE(f_ind(0.5, two, 2), 1);
    }

    void standardSize()
    {
        Messages messages;
        QPolygonF c = foilgen::naca4({}, 31);
        QPolygonF big = Interpolated_poly(1200, &c);
        QCOMPARE(setStandFoil(&big), big.mid(0, 1000));
        QCOMPARE(messages.texts.size(), 0);

        QPolygonF shortFoil = Interpolated_poly(999, &c);
        const QPolygonF fixed = setStandFoil(&shortFoil);
        QCOMPARE(messages.texts.size(), 1);
        QVERIFY(messages.texts[0].contains(" Not standard airfoil 1000 points -size:999"));
        QCOMPARE(fixed.size(), kStandardFoilPoints);
        QCOMPARE(fixed.first(), shortFoil.first());

        QPolygonF two({QPointF(1, 0), QPointF(0, 0)});
        QCOMPARE(setStandFoil(&two), two);
    }

    void thickness()
    {
        // Symmetric, 12 % thick at 30 % chord: stations every 1 % of chord.
        const QPolygonF half = foilgen::symmetricHalf(0.12, 101, false);
        QPolygonF c;
        for (int i = half.size() - 1; i >= 0; --i)
            c.append(half[i]);
        for (int i = 1; i < half.size(); ++i)
            c.append(QPointF(half[i].x(), -half[i].y()));
        QCOMPARE(FindThickness(c), QStringLiteral(" Thickness = 12.00  at  30.00 %"));
        QCOMPARE(FindThickness(QPolygonF()), QStringLiteral(" Thickness = 0.00  at  0.00 %"));
    }

    void arcLength()
    {
        const QPolygonF p({QPointF(0, 0), QPointF(3, 4), QPointF(3, 5), QPointF(3, 7)});
        QCOMPARE(FindArcLen(0, 3, p), 8.0);
        QCOMPARE(FindArcLen(1, 2, p), 1.0);
        QCOMPARE(FindArcLen(2, 2, p), 0.0);
        QCOMPARE(FindArcLen(3, 1, p), 0.0);
        QCOMPARE(FindArcLen(-5, 50, p), 8.0);
        QCOMPARE(FindArcLen(0, 5, QPolygonF()), 0.0);
    }

    void morphing()
    {
        QPolygonF a({QPointF(0, 0), QPointF(1, 1)});
        QPolygonF b({QPointF(2, 0), QPointF(3, -1)});
        QPolygonF c({QPointF(2, 0)});
        QPolygonF e;
        QCOMPARE(f_Morph_bychord(0.25, &a, &b), QPolygonF({QPointF(0.5, 0), QPointF(1.5, 0.5)}));
        QCOMPARE(f_Morph_bychord(0.5, &a, &c).size(), 0);
        QCOMPARE(f_Morph_bychord(0.5, &e, &e).size(), 0);
        QCOMPARE(f_Morph_bydistance(10, 20, 10, &a, &b), a);
        QCOMPARE(f_Morph_bydistance(10, 20, 20, &a, &b), b);
        QCOMPARE(f_Morph_bydistance(10, 20, 15, &a, &b), f_Morph_bychord(0.5, &a, &b));
        QCOMPARE(f_Morph_bydistance(10, 20, 9.99, &a, &b).size(), 0);
        QCOMPARE(f_Morph_bydistance(10, 20, 20.01, &a, &b).size(), 0);
        QCOMPARE(f_Morph_bydistance(10, 10, 10, &a, &b), a);
    }

    void noseIndex()
    {
        QPolygonF e;
        QCOMPARE(get_nose_index(&e), 0);
        QPolygonF two({QPointF(0, 0), QPointF(-1, 0)});
        QCOMPARE(get_nose_index(&two), 0); // the window 1 .. 0 is empty
        // Only the window n/2 .. 3n/4 - 1 counts; ties go to the first.
        QPolygonF p;
        for (int i = 0; i < 8; ++i)
            p.append(QPointF(10 - i, 0));
        p[0] = QPointF(-5, 0);
        p[4] = QPointF(1, 0);
        p[5] = QPointF(1, 0);
        QCOMPARE(get_nose_index(&p), 4);
    }

    void screenAndTip()
    {
        const QPolygonF p({QPointF(0.1, 0.2), QPointF(1, -0.05)});
        const QPolygonF s = prepareAirfoil(p, 0.9 * 333, 33, 200);
        QCOMPARE(s[0], QPointF(float(float(0.1 * 0.9 * 333) + 33.0f), float(200.0f - float(0.2 * 0.9 * 333))));
        QCOMPARE(prepareAirfoil(QPolygonF(), 2, 3, 4).size(), 0);
        QCOMPARE(Edge_Tip_Airfoil(p, 0.5), QPolygonF({QPointF(0.1, 0.1), QPointF(1, -0.025)}));
        QCOMPARE(Edge_Tip_Airfoil(QPolygonF(), 0.5).size(), 0);
    }
};

QTEST_APPLESS_MAIN(TestAirfoilGeometry)
#include "tst_airfoilgeometry.moc"
