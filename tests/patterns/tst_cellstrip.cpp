// Cell strips: development of a cell's panel into the flat and its start
// pieces.

#include <QTest>
#include <QLineF>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <QStringLiteral>
#include <QVector3D>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "patterns/cellstrip.h"
#include "core/transf.h"
#include "tests/patterns/patternfixture.h"

using patternfixture::boxCanopy;

namespace {

double polyLength(const QList<PntPart>& pts, int a, int b)
{
    double sum = 0;
    for (int j = a + 1; j <= b; ++j)
        sum += QLineF(pts.at(j - 1).point, pts.at(j).point).length();
    return sum;
}

double polyLength(const QList<PntPart>& pts)
{
    return polyLength(pts, 0, pts.size() - 1);
}

double width3D(const ParaStruct* d, int cell, int j)
{
    QVector3D a = d->ribCurves3D[cell][j];
    if (cell == 0 && d->centreCell)
        a = QVector3D(a.x(), -d->ribCurves3D[1][j].y(), d->ribCurves3D[1][j].z());
    const QVector3D v = d->ribCurves3D[cell + 1][j] - a;
    return std::sqrt(double(v.x()) * v.x() + double(v.y()) * v.y() + double(v.z()) * v.z());
}

// The row as the plain bisection finds it: sixty steps, each laying the row
// out.
QPair<QPointF, QPointF> plainRow(QPointF pL, QPointF pR, double eL, double eR, double a, double b, double width)
{
    const QPointF v = pR - pL;
    const double base = std::atan2(v.y(), v.x());
    auto towards = [](double angle, double length) {
        return QPointF(length * std::cos(angle), length * std::sin(angle));
    };
    auto row = [&](double t) { return qMakePair(pL + towards(base + a + t, eL), pR + towards(base + b - t, eR)); };
    auto wide = [&](double t) {
        const auto r = row(t);
        return QLineF(r.first, r.second).length();
    };
    const double hi = std::min(M_PI - a, b);
    const double lo = std::max(-a, b - M_PI);
    if (!(lo < hi))
        return row(0);
    double from = lo, to = hi;
    if (wide(to) <= width)
        return row(to);
    if (wide(from) >= width)
        return row(from);
    for (int k = 0; k < 60; ++k) {
        const double t = 0.5 * (from + to);
        (wide(t) < width ? from : to) = t;
    }
    return row(0.5 * (from + to));
}

bool sameBits(QPointF p, QPointF q)
{
    const double a[2] = {p.x(), p.y()}, b[2] = {q.x(), q.y()};
    return std::memcmp(a, b, sizeof a) == 0;
}

QStringList names(const QList<WholePoly>& pieces)
{
    QStringList n;
    for (const WholePoly& p : pieces)
        n << p.name;
    return n;
}

// The piece's top and bottom cuts and edges as built by Create_LRTB_Group.
LRTBclass groupOf(ParaStruct* d, int cell, int k, const UnFolder& strip)
{
    return Create_LRTB_Group(d, cell, k, &strip, Start_Split_Indexes(d, cell, false),
                             Start_Split_Indexes(d, cell, true), d->lineIndex[0][cell], d->lineIndex[1][cell]);
}

} // namespace

class TestCellStrip : public QObject
{
    Q_OBJECT
private slots:
    // Two equal plane ribs w apart develop into a rectangle: the left edge
    // on x = 0, the right edge on x = w, and y the arc length of the rib.
    void boxDevelopsToRectangle()
    {
        auto d = boxCanopy(3, 20.0);
        UnFolder strip;
        Unfold_ZERO_Longpattern(*d, 1, &strip);
        QCOMPARE(strip.cell, 1);
        QCOMPARE(strip.left.size(), 1000);
        QCOMPARE(strip.right.size(), 1000);
        QVERIFY(strip.mirrored.isEmpty());
        const QPolygonF profile = patternfixture::boxProfile();
        double arc = 0;
        for (int j = 0; j < 1000; ++j) {
            if (j > 0)
                arc += QLineF(profile.at(j - 1), profile.at(j)).length();
            const PntPart& l = strip.left.at(j);
            const PntPart& r = strip.right.at(j);
            QVERIFY2(std::abs(l.point.x()) < 1e-3 && std::abs(l.point.y() - arc) < 2e-3, qPrintable(QString::number(j)));
            QVERIFY2(std::abs(r.point.x() - 20) < 1e-3 && std::abs(r.point.y() - arc) < 2e-3, qPrintable(QString::number(j)));
            QCOMPARE(l.kind, 'L');
            QCOMPARE(r.kind, 'R');
            QCOMPARE(l.rib, 1);
            QCOMPARE(r.rib, 2);
            QCOMPARE(l.uv, QPoint(256, j));
            QCOMPARE(r.uv, QPoint(512, j));
        }
        // mid-line and label line of the cell
        QCOMPARE(strip.midLine.size(), 1000);
        QVERIFY(std::abs(strip.midLine.at(700).x() - 10) < 1e-3);
        QVERIFY(std::abs(strip.labelLine.at(700).x() - 2) < 1e-3);
        QVERIFY(std::abs(strip.labelLine.at(700).y() - strip.left.at(700).point.y()) < 1e-3);
    }

    // The centre cell spans the symmetry plane: its left rib is rib 1's
    // mirror image, whatever rib 0 holds.
    void centreCellIsMirrored()
    {
        auto d = boxCanopy(3, 20.0, -10.0); // rib 1 at y = 10
        d->centreCell = true;
        d->centreRib = false;
        d->firstRib = 1;
        for (int j = 0; j < 1000; ++j) {
            d->ribCurves3D[0][j] = QVector3D(3, 2, 1) * float(j % 7); // not used
            d->clothHalfOversize[0][j] = 0.25; // the centre cell's own
            d->clothHalfOversize[1][j] = 0.5;
        }
        UnFolder strip;
        Unfold_ZERO_Longpattern(*d, 0, &strip);
        QVERIFY(std::abs(strip.right.at(0).point.x() - 20.5) < 1e-4);
        QCOMPARE(strip.mirrored.size(), 1000);
        for (int j = 0; j < 1000; j += 37) {
            QCOMPARE(strip.mirrored.at(j).point, strip.left.at(j).point);
            QCOMPARE(strip.mirrored.at(j).allowance, strip.left.at(j).allowance);
            QVERIFY(std::abs(strip.left.at(j).allowance - 10.0 / 6) < 1e-12);
            QCOMPARE(strip.left.at(j).rib, 0);
            QVERIFY(std::abs(strip.left.at(j).point.x()) < 1e-3);
            QVERIFY(std::abs(strip.right.at(j).point.x() - 20.5) < 1e-3);
        }
        UnFolder other;
        Unfold_ZERO_Longpattern(*d, 1, &other);
        QVERIFY(other.mirrored.isEmpty());
    }

    // The panel is cut wider than the cell by the cloth half-oversize on
    // either side: between two equal plane ribs a rectangle w + 2 o wide,
    // its edges (the sewing lines, the seam allowance outside them) as long
    // as the ribs; where the oversize changes along the chord, every row is
    // as wide as the cloth across the cell there and every edge step as long
    // as the rib's.
    void oversizeWidensThePanel()
    {
        auto d = boxCanopy(3, 20.0);
        for (int j = 0; j < 1000; ++j)
            d->clothHalfOversize[1][j] = 1.5;
        UnFolder strip;
        Unfold_ZERO_Longpattern(*d, 1, &strip);
        const QPolygonF profile = patternfixture::boxProfile();
        const double seam = 10.0 / 6;
        double arc = 0;
        for (int j = 0; j < 1000; ++j) {
            if (j > 0)
                arc += QLineF(profile.at(j - 1), profile.at(j)).length();
            const PntPart& l = strip.left.at(j);
            const PntPart& r = strip.right.at(j);
            QVERIFY2(std::abs(l.point.x()) < 1e-3 && std::abs(l.point.y() - arc) < 2e-3, qPrintable(QString::number(j)));
            QVERIFY2(std::abs(r.point.x() - 23) < 1e-3 && std::abs(r.point.y() - arc) < 2e-3, qPrintable(QString::number(j)));
            QVERIFY(std::abs(l.allowance - seam) < 1e-12 && std::abs(r.allowance - seam) < 1e-12);
        }
        QVERIFY(std::abs(strip.midLine.at(700).x() - 11.5) < 1e-3);

        // an oversize swelling from nothing to 2 units and back over the chord
        for (int j = 0; j < 1000; ++j)
            d->clothHalfOversize[1][j] = 1 - std::cos(2 * M_PI * j / 999);
        Unfold_ZERO_Longpattern(*d, 1, &strip);
        for (int j = 1; j < 1000; ++j) {
            const double step = QLineF(profile.at(j - 1), profile.at(j)).length();
            QVERIFY(std::abs(QLineF(strip.left.at(j - 1).point, strip.left.at(j).point).length() - step) < 1e-5);
            QVERIFY(std::abs(QLineF(strip.right.at(j - 1).point, strip.right.at(j).point).length() - step) < 1e-5);
            // smoothed over a few points only
            const double o = d->clothHalfOversize[1][j];
            const double width = QLineF(strip.left.at(j).point, strip.right.at(j).point).length();
            QVERIFY2(std::abs(width - (20 + 2 * o)) < 1e-3, qPrintable(QString("%1: %2").arg(j).arg(width)));
            // symmetric about the middle of the cell
            QVERIFY(std::abs(strip.left.at(j).point.x() + strip.right.at(j).point.x() - 20) < 1e-6);
        }
    }

    void degenerateRows()
    {
        auto d = boxCanopy(2, 20.0);
        // two coincident points of the left rib: the left point stays put
        d->ribCurves3D[0][11] = d->ribCurves3D[0][10];
        UnFolder strip;
        Unfold_ZERO_Longpattern(*d, 0, &strip);
        QCOMPARE(strip.left.at(11).point, strip.left.at(10).point);
        // a left point on the previous right point: every edge step keeps
        // the rib's length, and the strip goes on
        d->ribCurves3D[0][21] = d->ribCurves3D[1][20];
        UnFolder second;
        Unfold_ZERO_Longpattern(*d, 0, &second);
        for (int j = 20; j <= 22; ++j) {
            const double stepL = Dist3(d->ribCurves3D[0][j - 1], d->ribCurves3D[0][j]);
            const double stepR = Dist3(d->ribCurves3D[1][j - 1], d->ribCurves3D[1][j]);
            QVERIFY(std::abs(QLineF(second.left.at(j - 1).point, second.left.at(j).point).length() - stepL) < 1e-5);
            QVERIFY(std::abs(QLineF(second.right.at(j - 1).point, second.right.at(j).point).length() - stepR) < 1e-5);
        }
        for (const PntPart& p : second.left + second.right)
            QVERIFY(std::isfinite(p.point.x()) && std::isfinite(p.point.y()));
    }

    // The row search takes most of its bisection's answers from bounds and
    // estimates; the row it finds must be, to the last bit, the row the
    // plain bisection finds laying out every row it tries. Rows of each
    // kind: steps nearly square to the row, as across most of a panel; a
    // row turned on the sheet, as a tapered cell's strip curls; short steps
    // near the trailing edge; steps as long as the row; a width the steps
    // cannot reach or can only just; far from the sheet's origin; and rows
    // without a finite value or a positive width.
    void rowSearchIsThePlainBisection_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("square steps") << 0;
        QTest::newRow("turned row") << 1;
        QTest::newRow("short steps") << 2;
        QTest::newRow("steps as long as the row") << 3;
        QTest::newRow("width out of reach") << 4;
        QTest::newRow("width just within reach") << 5;
        QTest::newRow("far from the origin") << 6;
        QTest::newRow("any angles") << 7;
        QTest::newRow("no finite value, no width") << 8;
    }
    void rowSearchIsThePlainBisection()
    {
        QFETCH(int, kind);
        std::mt19937_64 random(1000 + kind);
        std::uniform_real_distribution<double> uniform(0, 1);
        auto between = [&](double lo, double hi) { return lo + (hi - lo) * uniform(random); };
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double specials[] = {nan, std::numeric_limits<double>::infinity(), 0.0, -1.0, 1e-300, 1e300};
        int differ = 0;
        QString first;
        for (int n = 0; n < 4000; ++n) {
            const double w = kind == 3 ? between(0.5, 2) : between(5, 40);
            const double step = kind == 2 ? between(0.001, 0.05) : kind == 3 ? between(0.5, 2) : between(0.2, 1.5);
            const double turn = kind == 1 ? between(-1.2, 1.2) : between(-0.05, 0.05);
            const QPointF origin(between(-20, 20), kind == 6 ? between(4000, 9000) : between(-50, 900));
            QPointF pL = origin, pR = origin + w * QPointF(std::cos(turn), std::sin(turn));
            double eL = step, eR = step * between(0.8, 1.25);
            double a = M_PI / 2 + between(-0.06, 0.06), b = M_PI / 2 + between(-0.06, 0.06);
            if (kind == 7) {
                a = between(0, M_PI);
                b = between(0, M_PI);
            }
            double width = w + between(-0.8, 0.8) * (eL + eR) * 0.05;
            if (kind == 4)
                width = uniform(random) < 0.5 ? w + 3 * (eL + eR) : between(0, 0.5) * w;
            if (kind == 5)
                width = QLineF(pL + eL * QPointF(-1, 0), pR + eR * QPointF(1, 0)).length() * (1 - 1e-15 * n);
            if (kind == 8) {
                double* values[] = {&eL, &eR, &a, &b, &width};
                *values[n % 5] = specials[n % 6];
                if (n % 7 == 0)
                    pR.setX(specials[n % 6]);
            }
            const auto fast = Widened_Row(pL, pR, eL, eR, a, b, width);
            const auto plain = plainRow(pL, pR, eL, eR, a, b, width);
            if (!sameBits(fast.first, plain.first) || !sameBits(fast.second, plain.second)) {
                if (++differ == 1)
                    first = QStringLiteral("(%1, %2) (%3, %4) %5 %6 %7 %8 %9")
                                .arg(pL.x(), 0, 'g', 17).arg(pL.y(), 0, 'g', 17).arg(pR.x(), 0, 'g', 17)
                                .arg(pR.y(), 0, 'g', 17).arg(eL, 0, 'g', 17).arg(eR, 0, 'g', 17)
                                .arg(a, 0, 'g', 17).arg(b, 0, 'g', 17).arg(width, 0, 'g', 17);
            }
        }
        QVERIFY2(differ == 0, qPrintable(QStringLiteral("%1 rows differ, first %2").arg(differ).arg(first)));
    }

    void startPieces_data()
    {
        QTest::addColumn<int>("o1");
        QTest::addColumn<int>("o2");
        QTest::addColumn<int>("billow");
        QTest::addColumn<bool>("billowOn");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<int>>("splits");
        QTest::newRow("billow line off") << 400 << 450 << 300 << false << QStringList{"Up", "VN", "Lw"}
                                         << QList<int>{0, 400, 450, 999};
        QTest::newRow("billow line on") << 400 << 450 << 300 << true << QStringList{"Up", "Up", "VN", "Lw"}
                                        << QList<int>{0, 300, 400, 450, 999};
        QTest::newRow("switch on, no billow line") << 400 << 450 << 0 << true << QStringList{"Up", "VN", "Lw"}
                                                   << QList<int>{0, 400, 450, 999};
        QTest::newRow("O1 = O2") << 400 << 400 << 300 << false << QStringList{"Up", "Lw"} << QList<int>{0, 400, 999};
        QTest::newRow("O1 behind O2") << 450 << 400 << 300 << false << QStringList{"Up", "VN"}
                                      << QList<int>{0, 450, 999};
    }
    void startPieces()
    {
        QFETCH(int, o1);
        QFETCH(int, o2);
        QFETCH(int, billow);
        QFETCH(bool, billowOn);
        QFETCH(QStringList, names);
        QFETCH(QList<int>, splits);
        auto d = boxCanopy(3, 20.0);
        for (int r = 0; r <= 3; ++r) {
            d->lineIndex[0][r] = o1;
            d->lineIndex[1][r] = o2;
        }
        d->billowLineIndex = billow;
        d->billowLineOnTop = billowOn;
        d->billowLineOffset = 2.0;
        UnFolder strip;
        Unfold_ZERO_Longpattern(*d, 1, &strip);
        QList<WholePoly> pieces{WholePoly()};
        Generate_4Start_Polygons(d.get(), 1, &strip, &pieces);
        QCOMPARE(::names(pieces), names);
        QCOMPARE(Start_Split_Indexes(d.get(), 1, false), splits);
        for (int k = 0; k < pieces.size(); ++k) {
            const WholePoly& p = pieces.at(k);
            QCOMPARE(p.cell, 1);
            QCOMPARE(int(p.piece), k);
            QCOMPARE(p.orderKey, 0);
            const LRTBclass g = groupOf(d.get(), 1, k, strip);
            const int s = splits.at(k), e = splits.at(k + 1);
            QCOMPARE(g.left.first().index, s);
            QCOMPARE(g.left.last().index, e);
            QCOMPARE(g.right.size(), e - s + 1);
            // a straight cut has 257 points, a billow cut 256
            const bool billowBottom = billow > 0 && s == billow;
            const bool billowTop = billow > 0 && e == billow;
            QCOMPARE(g.bottom.size(), billowBottom ? 256 : 257);
            QCOMPARE(g.top.size(), billowTop ? 256 : 257);
            // outline: left edge up, top cut, right edge down, bottom cut back
            QCOMPARE(p.outline.size(), g.left.size() + g.top.size() + g.right.size() + g.bottom.size());
            QCOMPARE(p.outline.first().point, g.left.first().point);
            QCOMPARE(p.outline.last().point, p.outline.first().point);
            QCOMPARE(p.outline.at(g.left.size()).name(), QStringLiteral("S 0 255"));
            QCOMPARE(p.outline.at(g.left.size() + g.top.size()).kind, 'R');
            QCOMPARE(p.outline.at(g.left.size() + g.top.size()).index, e);
            // clockwise with x to the right and y up: negative signed area
            double area = 0;
            const QPolygonF poly = SetPolylineFromList(p);
            for (int i = 0; i + 1 < poly.size(); ++i)
                area += poly.at(i).x() * poly.at(i + 1).y() - poly.at(i + 1).x() * poly.at(i).y();
            QVERIFY(area < 0);
        }
    }

    void cutAllowancesAndTrailingEdge()
    {
        auto d = boxCanopy(3, 20.0);
        UnFolder strip;
        Unfold_ZERO_Longpattern(*d, 1, &strip);
        const double mm = 1.0 / 6.0; // plan units per millimetre at a 12 m span
        const LRTBclass first = groupOf(d.get(), 1, 0, strip);
        const LRTBclass nose = groupOf(d.get(), 1, 1, strip);
        const LRTBclass last = groupOf(d.get(), 1, 2, strip);
        QVERIFY(first.bottom.first().trailingEdge && first.bottom.last().trailingEdge);
        QVERIFY(!first.top.first().trailingEdge);
        QVERIFY(last.top.first().trailingEdge);
        QVERIFY(!last.bottom.first().trailingEdge);
        QVERIFY(std::abs(first.bottom.at(5).allowance - 20 * mm) < 1e-12);
        QVERIFY(std::abs(first.top.at(5).allowance - 15 * mm) < 1e-12); // O1
        QVERIFY(std::abs(nose.bottom.at(5).allowance - 15 * mm) < 1e-12);
        QVERIFY(std::abs(nose.top.at(5).allowance - 15 * mm) < 1e-12); // O2
        QVERIFY(std::abs(last.top.at(5).allowance - 20 * mm) < 1e-12);
        // straight cut: 257 evenly spaced points from the left to the right
        // edge point; V is where the cut meets the left edge
        const QList<PntPart>& c = first.top;
        QCOMPARE(c.first().point, strip.left.at(400).point);
        QCOMPARE(c.last().point, strip.right.at(400).point);
        QVERIFY(std::abs(c.at(128).point.x() - 10) < 1e-3);
        QCOMPARE(c.at(128).uv, QPoint(256 + 128, 400));
        QCOMPARE(c.last().uv, QPoint(512, 400));
        QVERIFY(c.at(64).control && c.at(128).control && c.at(192).control && !c.at(65).control);
    }

    void billowCuts()
    {
        auto d = boxCanopy(4, 20.0);
        d->billowLineOnTop = true;
        d->billowLineOffset = 4.0;
        d->chord[3] = 50; // bulge scaled by chord[cell] / chord[1]
        for (int cell : {2, 3}) {
            UnFolder strip;
            Unfold_ZERO_Longpattern(*d, cell, &strip);
            const double bulge = cell == 3 ? 2.0 : 4.0;
            const LRTBclass rear = groupOf(d.get(), cell, 0, strip);
            const LRTBclass front = groupOf(d.get(), cell, 1, strip);
            const double y = strip.left.at(300).point.y();
            for (const QList<PntPart>* cut : {&rear.top, &front.bottom}) {
                QCOMPARE(cut->size(), 256);
                QCOMPARE(cut->first().point, strip.left.at(300).point);
                QVERIFY(QLineF(cut->last().point, strip.right.at(300).point).length() < 1e-6);
                QCOMPARE(cut->at(255).uv, QPoint(256 * cell + 255, 300));
                QVERIFY(cut->at(128).control && !cut->at(0).control);
                QVERIFY(!cut->first().trailingEdge);
                QVERIFY(std::abs(cut->at(5).allowance - 10.0 / 6) < 1e-12); // side allowance
            }
            double up = -1e9, down = 1e9;
            for (const PntPart& p : rear.top)
                up = std::max(up, p.point.y() - y);
            for (const PntPart& p : front.bottom)
                down = std::min(down, p.point.y() - y);
            QVERIFY2(std::abs(up - bulge) < 0.01, qPrintable(QString::number(up)));
            QVERIFY2(std::abs(down + bulge) < 0.01, qPrintable(QString::number(down)));
            // equal steps by arc length
            const double step = polyLength(rear.top) / 255;
            for (int t = 1; t < 256; ++t)
                QVERIFY(std::abs(QLineF(rear.top.at(t - 1).point, rear.top.at(t).point).length() - step) < 1e-3);
        }

        // Without offset the billow cut is the straight segment, still 256 points.
        d->billowLineOffset = 0.0;
        UnFolder strip;
        Unfold_ZERO_Longpattern(*d, 1, &strip);
        const LRTBclass rear = groupOf(d.get(), 1, 0, strip);
        QCOMPARE(rear.top.size(), 256);
        for (int t = 0; t < 256; ++t)
            QVERIFY(std::abs(rear.top.at(t).point.x() - 20.0 * t / 255) < 1e-3);
    }

    // The cut at the billow index is a billow cut even with the switch off,
    // when an opening row lies there.
    void billowCutFollowsTheIndex()
    {
        auto d = boxCanopy(3, 20.0);
        d->billowLineIndex = 400; // on O1
        d->billowLineOnTop = false;
        UnFolder strip;
        Unfold_ZERO_Longpattern(*d, 1, &strip);
        const LRTBclass g = groupOf(d.get(), 1, 0, strip);
        QCOMPARE(g.top.size(), 256);
        QCOMPARE(g.bottom.size(), 257);
    }

    void shortPieceGetsLongerEdges()
    {
        auto d = boxCanopy(3, 20.0);
        for (int r = 0; r <= 3; ++r) {
            d->lineIndex[0][r] = 500;
            d->lineIndex[1][r] = 501;
        }
        UnFolder strip;
        Unfold_ZERO_Longpattern(*d, 1, &strip);
        const LRTBclass g = groupOf(d.get(), 1, 1, strip);
        QCOMPARE(g.left.first().index, 500);
        QCOMPARE(g.left.last().index, 509);
        QCOMPARE(g.right.size(), 10);
        QCOMPARE(g.top.first().index, 501); // the cut stays at its split
        // near the end of the airfoil the extension stops at 999
        for (int r = 0; r <= 3; ++r) {
            d->lineIndex[0][r] = 996;
            d->lineIndex[1][r] = 997;
        }
        const LRTBclass end = groupOf(d.get(), 1, 1, strip);
        QCOMPARE(end.left.last().index, 999);
    }

    // Split indexes outside the airfoil reach no further than its ends.
    void corruptIndexesStayOnTheEdge()
    {
        auto d = boxCanopy(3, 20.0);
        d->lineIndex[0][1] = 5000;
        d->lineIndex[1][1] = -7;
        UnFolder strip;
        Unfold_ZERO_Longpattern(*d, 1, &strip);
        QList<WholePoly> pieces;
        Generate_4Start_Polygons(d.get(), 1, &strip, &pieces);
        QVERIFY(!pieces.isEmpty());
        for (const WholePoly& p : pieces)
            for (const PntPart& q : p.outline)
                QVERIFY(q.index >= -7 && q.index <= 5000);
    }

    // Developing keeps lengths: on the default design (and its odd variant
    // with a centre cell) each strip's rib edges are as long as the rib seams
    // in 3-D, and its cuts as long as the cloth is wide across the cell
    // there: the cell's width and twice its cloth half-oversize. The
    // oversize is smoothed over a few points, and near the trailing edge,
    // where it grows faster than the cloth can flare out, the panel is
    // narrower, never narrower than the cell.
    void developingKeepsLengths_data()
    {
        QTest::addColumn<int>("cells");
        QTest::newRow("34 cells") << 34;
        QTest::newRow("35 cells") << 35;
    }
    void developingKeepsLengths()
    {
        QFETCH(int, cells);
        auto d = patternfixture::defaultDesign(cells);
        const double mm = d->dxfScale; // millimetres per plan unit
        QVERIFY(mm > 1);
        double worstEdge = 0, worstCut = 0;
        for (int cell = 0; cell < d->lastRib; ++cell) {
            UnFolder strip;
            Unfold_ZERO_Longpattern(*d, cell, &strip);
            const bool centre = cell == 0 && d->centreCell;
            QCOMPARE(centre, cells % 2 == 1 && cell == 0);
            // the edges between every pair of split stations and as a whole
            QList<int> stations = Start_Split_Indexes(d.get(), cell, false);
            QList<int> stationsR = Start_Split_Indexes(d.get(), cell, true);
            stations.prepend(0);
            stationsR.prepend(0);
            for (int k = 1; k < stations.size(); ++k) {
                const double l3 = patternfixture::ribLength(d.get(), centre ? 1 : cell, stations[k - 1], stations[k]);
                const double r3 = patternfixture::ribLength(d.get(), cell + 1, stationsR[k - 1], stationsR[k]);
                worstEdge = std::max(worstEdge, mm * std::abs(polyLength(strip.left, stations[k - 1], stations[k]) - l3));
                worstEdge = std::max(worstEdge, mm * std::abs(polyLength(strip.right, stationsR[k - 1], stationsR[k]) - r3));
            }
            worstEdge = std::max(worstEdge, mm * std::abs(polyLength(strip.left) - patternfixture::ribLength(d.get(), centre ? 1 : cell, 0, 999)));
            worstEdge = std::max(worstEdge, mm * std::abs(polyLength(strip.right) - patternfixture::ribLength(d.get(), cell + 1, 0, 999)));
            // the width of the cloth across the cell at point j, with the
            // oversize of the points around it: the bounds of the band
            auto band = [&](int j, double* lo, double* hi) {
                double a = 1e9, b = 0;
                for (int k = std::max(j - 12, 0); k <= std::min(j + 12, 999); ++k) {
                    a = std::min(a, d->clothHalfOversize[cell][k]);
                    b = std::max(b, d->clothHalfOversize[cell][k]);
                }
                *lo = width3D(d.get(), cell, j) + 2 * a;
                *hi = width3D(d.get(), cell, j) + 2 * b;
            };
            auto outside = [](double v, double lo, double hi) { return std::max({lo - v, v - hi, 0.0}); };
            // the straight cuts of the start pieces
            QList<WholePoly> pieces;
            Generate_4Start_Polygons(d.get(), cell, &strip, &pieces);
            for (int k = 0; k < pieces.size(); ++k) {
                const LRTBclass g = groupOf(d.get(), cell, k, strip);
                for (const QList<PntPart>* cut : {&g.bottom, &g.top}) {
                    QCOMPARE(cut->size(), 257);
                    double lo = 0, hi = 0;
                    band(cut->first().index, &lo, &hi);
                    worstCut = std::max(worstCut, mm * outside(polyLength(*cut), lo, hi));
                }
            }
            // and the width at every station of the strip; near the trailing
            // edges never narrower than the cell
            for (int j = 0; j < 1000; ++j) {
                double lo = 0, hi = 0;
                band(j, &lo, &hi);
                const double width = QLineF(strip.left.at(j).point, strip.right.at(j).point).length();
                const double w3 = width3D(d.get(), cell, j);
                QVERIFY2(width > w3 - 1e-4 && width < hi + 1e-4,
                         qPrintable(QString("cell %1 point %2: %3 %4 %5").arg(cell).arg(j).arg(width).arg(w3).arg(hi)));
                if (j >= 100 && j <= 900)
                    worstCut = std::max(worstCut, mm * outside(width, lo, hi));
            }
        }
        qInfo("worst edge %.4f mm, worst cut %.4f mm", worstEdge, worstCut);
        QVERIFY2(worstEdge < 0.5, qPrintable(QString::number(worstEdge)));
        QVERIFY2(worstCut < 0.5, qPrintable(QString::number(worstCut)));
    }
};

QTEST_MAIN(TestCellStrip)
#include "tst_cellstrip.moc"
