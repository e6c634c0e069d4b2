// The files "Export all" writes for the default design, read back by ezdxf
// and measured the way a sewer works: every panel edge sewn to a rib and
// every diagonal rib sewn to its ribs has the rib's length between the
// notches they share, and nothing in the files is a line of no length.
//
// The sewer sews a panel a seam allowance inside its cutting line, so the
// panel's sewing line is the cutting line moved in by the allowance; the
// rib's is its sewing contour ("RIB.r.saw", drawn with wide spacing), on
// which the rib's notches (12-gons) stand. A panel's notches (16-gons and
// triangles) stand on its cutting line, a diagonal's (12-gons) on its
// sewing line. Which rib point a notch or a point of a sewing line belongs
// to is looked up on the developed cell or diagonal, the nearest of its
// points; the lengths all come from the files.

#include <QTest>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QLineF>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>

#include "core/parastruct.h"
#include "patterns/cellstrip.h"
#include "patterns/patternsheet.h"
#include "geom/sheet.h"
#include "patterns/ribsheet.h"
#include "structure/diagonals.h"
#include "structure/diagshape.h"
#include "tests/common/dxfcheck.h"
#include "tests/patterns/patternfixture.h"
#include "tests/patterns/sewingcheck.h"

namespace {

using sewingcheck::Layer;

// Every LINE of a file whose two ends are one point, counted by ezdxf.
QJsonObject CountLinesOfNoLength(const QString& path)
{
    static const char* script = R"PY(
import json, sys
out = {"ok": False, "error": ""}
try:
    import ezdxf
    doc = ezdxf.readfile(sys.argv[1])
    lines = zero = 0
    for e in doc.modelspace().query("LINE"):
        lines += 1
        if e.dxf.start.isclose(e.dxf.end, abs_tol=0.0):
            zero += 1
    out.update(lines=lines, zero=zero, ok=True)
except Exception as exc:
    out["error"] = repr(exc)
print(json.dumps(out))
)PY";
    return RunDxfScript(script, path);
}

double length(const QPolygonF& p)
{
    double L = 0;
    for (int i = 1; i < p.size(); ++i)
        L += QLineF(p.at(i - 1), p.at(i)).length();
    return L;
}

// A closed cutting line (last point on the first) cut into its runs between
// corners. Directions are taken over chords of at least 2 mm on either side
// of a vertex, so that a step of next to no length does not count as a turn.
struct Runs {
    QList<QList<int>> runs;  // vertex indexes, in order
    QList<QPointF> outward;  // per vertex the unit normal pointing out of the piece
    QList<bool> corner;      // per vertex: at (or within 2 mm of) a corner
};

Runs runsOf(const QPolygonF& closed)
{
    Runs r;
    const int n = closed.size() - 1;
    if (n < 3)
        return r;
    const double s = sewingcheck::orientation(closed);
    auto at = [&](int i) { return closed.at(((i % n) + n) % n); };
    auto reach = [&](int k, int dir) {
        int i = k;
        for (int t = 1; t < n; ++t) {
            i = k + dir * t;
            if (QLineF(at(i), at(k)).length() >= 2.0)
                break;
        }
        return at(i);
    };
    QList<bool>& corner = r.corner;
    corner.resize(n);
    r.outward.resize(n);
    for (int k = 0; k < n; ++k) {
        const QPointF u = at(k) - reach(k, -1), v = reach(k, 1) - at(k);
        const double turn = std::atan2(u.x() * v.y() - u.y() * v.x(), u.x() * v.x() + u.y() * v.y());
        corner[k] = std::abs(turn) > 25 * M_PI / 180;
        const QPointF t = reach(k, 1) - reach(k, -1);
        const double len = std::hypot(t.x(), t.y());
        r.outward[k] = len > 0 ? QPointF(t.y(), -t.x()) * (s / len) : QPointF();
    }
    int first = 0;
    while (first < n && !corner.at(first))
        ++first;
    if (first == n)
        first = 0; // no corner at all: one run round the outline
    QList<int> run;
    for (int t = 1; t <= n; ++t) {
        const int k = (first + t) % n;
        if (corner.at(k)) {
            if (!run.isEmpty())
                r.runs << run;
            run.clear();
        } else {
            run << k;
        }
    }
    if (!run.isEmpty())
        r.runs << run;
    return r;
}

// The sewing line along one rib: its points and the notches on it by their
// position along the rib (a rib point index and the fraction of the way to
// the next point).
struct Seam {
    QMap<double, QPointF> points;
    QMap<double, QPointF> notches;
    QList<QPair<double, double>> pieces; // the range of each piece's stretch
};

// The seam's length from rib point a to rib point b: its notches and points
// between them in index order.
double seamLength(const Seam& seam, double a, double b)
{
    QMap<double, QPointF> all = seam.points;
    for (auto it = seam.notches.begin(); it != seam.notches.end(); ++it)
        all.insert(it.key(), it.value());
    QPolygonF p;
    for (auto it = all.lowerBound(a - 1e-9); it != all.end() && it.key() <= b + 1e-9; ++it)
        p << it.value();
    return length(p);
}

struct Worst {
    double stretch = 0, edge = 0;
    QString stretchAt, edgeAt;
    void stretchSeen(double d, const QString& where)
    {
        if (std::abs(d) > std::abs(stretch)) {
            stretch = d;
            stretchAt = where;
        }
    }
    void edgeSeen(double d, const QString& where)
    {
        if (std::abs(d) > std::abs(edge)) {
            edge = d;
            edgeAt = where;
        }
    }
};

} // namespace

class TestSewnPairs : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<ParaStruct> d;
    QMap<QString, Layer> panels, ribs, diagonals;
    double mm = 0;       // millimetres per plan unit
    double side = 0;     // side seam allowance, mm
    double diagSeam = 0; // seam allowance of the diagonal ribs, mm

    // The sewing contour of rib r and the rib point of each of its
    // vertices: one per point, the contour closed.
    QPolygonF contour(int r) const { return sewingcheck::chain(ribs.value(QStringLiteral("RIB.%1.saw").arg(r)), 3); }

    // The length of rib r's sewing contour between two positions.
    double ribLength(int r, double a, double b) const
    {
        const QPolygonF c = contour(r);
        auto at = [&](double x) {
            const int j = std::clamp(int(std::floor(x)), 0, int(c.size()) - 2);
            return c.at(j) + (x - j) * (c.at(j + 1) - c.at(j));
        };
        QPolygonF p;
        p << at(a);
        for (int j = int(std::floor(a)) + 1; j < b; ++j)
            p << c.at(j);
        p << at(b);
        return length(p);
    }

    // Every stretch of a seam between two neighbouring notches, and each
    // piece of it as a whole, against the rib; what is not as on the rib
    // (a notch missing or too many) goes to *problems when given.
    void compare(int rib, const Seam& seam, const QString& what, Worst* worst, QStringList* problems)
    {
        QStringList ignored;
        if (!problems)
            problems = &ignored;
        const QList<double> notches = seam.notches.keys();
        for (double j : notches)
            if (!d->is_Control(int(j), rib))
                problems->append(QString("%1: a notch at rib point %2, which has none").arg(what).arg(j));
        for (int k = 0; k + 1 < notches.size(); ++k) {
            const double a = notches.at(k), b = notches.at(k + 1);
            // the notches of the seam are those of the rib between its ends
            for (int j = int(std::floor(a + 0.5)) + 1; j < b - 0.5; ++j)
                if (d->is_Control(j, rib))
                    problems->append(QString("%1: no notch at rib point %2").arg(what).arg(j));
            // a stretch the seam leaves (a diagonal's cut-out) is not sewn
            bool sewn = true;
            double last = a;
            for (auto it = seam.points.lowerBound(a); it != seam.points.end() && it.key() <= b; ++it) {
                sewn = sewn && it.key() - last <= 4;
                last = it.key();
            }
            if (!sewn || b - last > 4)
                continue;
            const double diff = seamLength(seam, a, b) - ribLength(rib, a, b);
            worst->stretchSeen(diff, QString("%1, points %2 .. %3").arg(what).arg(a, 0, 'f', 1).arg(b, 0, 'f', 1));
        }
        for (const auto& piece : seam.pieces) {
            const double diff = seamLength(seam, piece.first, piece.second) - ribLength(rib, piece.first, piece.second);
            worst->edgeSeen(diff, QString("%1, points %2 .. %3").arg(what).arg(piece.first, 0, 'f', 1).arg(piece.second, 0, 'f', 1));
        }
    }

    // The points of a sewing line (a cutting line moved in by its allowance)
    // that lie along one of the given edges, and the notches on it. A run of
    // the cutting line between two corners lies along the edge it keeps
    // nearest to (a cut across the piece lies far from both); each of its
    // points within `within` of that edge goes to it, at the place of its
    // nearest point there.
    static void collect(const QPolygonF& cut, double allowance, const QList<QPolygonF>& edges, double within,
                        const std::function<bool(int, int)>& notchAt, const QList<QPointF>& marks, bool marksOnCut,
                        QList<Seam>* seams, QStringList* problems)
    {
        // the nearest place on the edges: the edge and the position along it
        auto nearest = [&](QPointF q, int onlyEdge, int* edge, double* at) {
            double best = std::numeric_limits<double>::max();
            for (int e = 0; e < edges.size(); ++e) {
                if (onlyEdge >= 0 && e != onlyEdge)
                    continue;
                const QPolygonF& p = edges.at(e);
                for (int j = 0; j + 1 < p.size(); ++j) {
                    const QPointF u = p.at(j + 1) - p.at(j);
                    const double len2 = QPointF::dotProduct(u, u);
                    const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(q - p.at(j), u) / len2, 0.0, 1.0) : 0.0;
                    const double dist = QLineF(p.at(j) + t * u, q).length();
                    if (dist < best) {
                        best = dist;
                        *edge = e;
                        *at = j + t;
                    }
                }
            }
            return best;
        };
        const Runs runs = runsOf(cut);
        for (const QList<int>& run : runs.runs) {
            if (run.size() < 3)
                continue;
            QList<QPointF> moved;
            QList<double> away;
            QList<int> votes(edges.size(), 0);
            for (int k : run) {
                moved << cut.at(k) - allowance * runs.outward.at(k);
                int e = 0;
                double j = 0;
                away << nearest(moved.last(), -1, &e, &j);
                ++votes[e];
            }
            std::sort(away.begin(), away.end());
            if (away.at(away.size() / 2) > 60.0)
                continue;
            const int e = int(std::max_element(votes.begin(), votes.end()) - votes.begin());
            Seam& seam = (*seams)[e];
            double lo = std::numeric_limits<double>::max(), hi = -1;
            for (const QPointF& q : std::as_const(moved)) {
                int edge = 0;
                double j = 0;
                if (nearest(q, e, &edge, &j) > within)
                    continue;
                if (!seam.points.contains(j))
                    seam.points.insert(j, q);
                lo = std::min(lo, j);
                hi = std::max(hi, j);
            }
            if (hi > lo)
                seam.pieces << qMakePair(lo, hi);
        }
        for (const QPointF& m : marks) {
            // A notch on the cutting line is taken in across it by the
            // allowance, as the sewer does; one beside a corner, off the
            // cutting line, across the sewing line beside it.
            double onCut = 0;
            const int k = sewingcheck::nearestVertex(cut, m, &onCut);
            const bool across = marksOnCut && onCut < 0.05 && k < cut.size() - 1 && !runs.corner.at(k);
            const QPointF foot = across ? m - allowance * runs.outward.at(k) : m;
            int e = 0;
            double x = 0;
            nearest(foot, -1, &e, &x);
            // the rib's notch it is sewn to: the nearest one (a notch on a
            // tight bend stands a little aside)
            double j = -1;
            for (int i = int(std::floor(x - 2)); i <= int(std::ceil(x + 2)); ++i)
                if (i >= 0 && i < edges.at(e).size() && notchAt(e, i) && (j < 0 || std::abs(i - x) < std::abs(j - x)))
                    j = i;
            if (j < 0) {
                problems->append(QStringLiteral("a notch where the rib has none (%1)").arg(x, 0, 'f', 1));
                continue;
            }
            Seam& seam = (*seams)[e];
            QPointF at = foot;
            if (marksOnCut && !across) {
                double a = -1, b = -1;
                for (double i : seam.points.keys()) {
                    if (std::abs(i - j) <= 6 && std::abs(i - j) > 0.5) {
                        if (a < 0)
                            a = i;
                        b = i;
                    }
                }
                if (a < 0 || a == b) {
                    problems->append(QStringLiteral("a notch at point %1 without a sewing line beside it").arg(j));
                    continue;
                }
                const QPointF t = seam.points.value(b) - seam.points.value(a);
                const QPointF normal = QPointF(-t.y(), t.x()) / std::hypot(t.x(), t.y());
                const double off = QPointF::dotProduct(m - seam.points.value(a), normal);
                if (std::abs(std::abs(off) - allowance) > 1.0)
                    problems->append(QStringLiteral("the notch at point %1 stands %2 mm off the sewing line").arg(j).arg(off));
                at = m - off * normal;
            }
            seam.notches.insert(j, at);
        }
    }

    // Per rib the worst sewn stretch and edge of all that is sewn to it.
    void report(const QString& what, const QMap<int, Worst>& worst, double stretchLimit, double edgeLimit)
    {
        QStringList failures;
        for (auto it = worst.begin(); it != worst.end(); ++it) {
            qInfo("%s rib %2d: worst stretch %+6.2f mm (%s), worst edge %+6.2f mm (%s)", qPrintable(what), it.key(),
                  it->stretch, qPrintable(it->stretchAt), it->edge, qPrintable(it->edgeAt));
            if (std::abs(it->stretch) > stretchLimit || std::abs(it->edge) > edgeLimit)
                failures << QString("rib %1: %2 mm (%3), %4 mm (%5)")
                                .arg(it.key()).arg(it->stretch, 0, 'f', 2).arg(it->stretchAt)
                                .arg(it->edge, 0, 'f', 2).arg(it->edgeAt);
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        d = patternfixture::defaultDesign();
        QVERIFY(!d->centreCell);
        mm = d->dxfScale;
        side = d->seamAllowance[0];
        diagSeam = d->seamAllowance[3];
        QVERIFY(side > 0 && diagSeam > 0);
        const PatternSheet sheet = patternfixture::sheetOf(d.get());
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("export")));
        GetGlobClass()->dxfDir = dir.filePath(QStringLiteral("export"));
        const ExportReport r = Export_All_Patterns(sheet);
        QVERIFY2(r.allWritten(), qPrintable(r.text()));
        // the ribs once more with their sewing contours
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("wide")));
        PatternSheet wide = sheet;
        wide.options.wideSpacing = true;
        QCOMPARE(Write_Sheet(Rib_Sheet(wide), dir.filePath(QStringLiteral("wide")), QStringLiteral("ribs.dxf")), 0);
        GetGlobClass()->dxfDir.clear();

        auto read = [&](const QString& path, QMap<QString, Layer>* into) {
            const QJsonObject dxf = ReadDxfWithEzdxf(path);
            QVERIFY2(dxf.value(QStringLiteral("ok")).toBool(), qPrintable(dxf.value(QStringLiteral("error")).toString()));
            QCOMPARE(dxf.value(QStringLiteral("audit_errors")).toInt(), 0);
            *into = sewingcheck::layersOf(dxf);
        };
        read(dir.filePath(QStringLiteral("export/longpatt.dxf")), &panels);
        read(dir.filePath(QStringLiteral("export/diagon.dxf")), &diagonals);
        read(dir.filePath(QStringLiteral("wide/ribs.dxf")), &ribs);
        QVERIFY(!panels.isEmpty() && !diagonals.isEmpty() && !ribs.isEmpty());
    }

    void cleanupTestCase() { GetGlobClass()->dxfDir.clear(); }

    // Cutter drivers reject a LINE of no length; no file has one.
    void noLineOfNoLength_data()
    {
        QTest::addColumn<QString>("file");
        for (const PatternWriter& w : Pattern_Writers())
            QTest::newRow(qPrintable(w.fileName)) << w.fileName;
    }
    void noLineOfNoLength()
    {
        QFETCH(QString, file);
        const QJsonObject count = CountLinesOfNoLength(dir.filePath(QStringLiteral("export/") + file));
        QVERIFY2(count.value(QStringLiteral("ok")).toBool(), qPrintable(count.value(QStringLiteral("error")).toString()));
        QCOMPARE(count.value(QStringLiteral("zero")).toInt(), 0);
    }

    // The ribs' sewing contours: one vertex per rib point from the upper
    // trailing edge round the nose, a notch on every control point.
    void ribContours()
    {
        for (int r = 0; r <= d->lastRib; ++r) {
            // (the last point may lie on the first, closing it)
            const QPolygonF c = contour(r);
            QVERIFY2(c.size() == kAirfoilPoints || c.size() == kAirfoilPoints + 1, qPrintable(QString::number(c.size())));
            QList<int> notched;
            for (const sewingcheck::Mark& m : sewingcheck::marksOf(ribs.value(QStringLiteral("RIB.%1").arg(r)))) {
                if (m.sides != 12)
                    continue;
                double off = 0;
                notched << sewingcheck::nearestVertex(c, m.centre, &off);
                QVERIFY2(off < 0.01, qPrintable(QString("rib %1: %2 mm").arg(r).arg(off)));
            }
            std::sort(notched.begin(), notched.end());
            QList<int> controls;
            for (int j = 0; j < kAirfoilPoints; ++j)
                if (d->is_Control(j, r))
                    controls << j;
            QCOMPARE(notched, controls);
        }
    }

    // Every panel edge has the length of its rib between every two
    // neighbouring notches (within 2 mm) and along every piece (within 3 mm),
    // the tip cells included.
    void panelsFitTheirRibs()
    {
        const double column = 1.3 * (d->ribSpanPos[2] - d->ribSpanPos[1]);
        QMap<int, Worst> worst;
        QStringList problems;
        int notches = 0;
        for (int cell = 0; cell < d->lastRib; ++cell) {
            UnFolder strip;
            Unfold_ZERO_Longpattern(*d, cell, &strip);
            // the developed edges as the sheet places them
            QList<QPolygonF> edges(2);
            for (int e = 0; e < 2; ++e)
                for (const PntPart& p : (e == 0 ? strip.left : strip.right))
                    edges[e] << QPointF(mm * (p.point.x() + column * cell), mm * (500 - p.point.y()));
            QList<Seam> seams(2);
            int pieces = 0;
            for (auto it = panels.begin(); it != panels.end(); ++it) {
                const QString& name = it.key();
                if (name.endsWith(QLatin1String(".midline")) || name.section(QLatin1Char('.'), 1, 1).toInt() != cell)
                    continue;
                const QPolygonF cut = sewingcheck::chain(it.value(), 1);
                QVERIFY2(cut.size() > 20 && QLineF(cut.first(), cut.last()).length() < 1e-3, qPrintable(name));
                QList<QPointF> marks;
                for (const sewingcheck::Mark& m : sewingcheck::marksOf(it.value()))
                    if (m.sides == 16 || m.sides == 3)
                        marks << m.centre;
                QList<Seam> mine(2);
                QStringList found;
                // (within the widest oversize a panel can have: a sewing line
                // that is not the developed edge is measured as it is)
                collect(cut, side, edges, 60.0, [&](int e, int j) { return d->is_Control(j, cell + e); }, marks, true,
                        &mine, &found);
                for (const QString& f : std::as_const(found))
                    problems << name + QStringLiteral(": ") + f;
                for (int e = 0; e < 2; ++e) {
                    for (auto p = mine[e].points.begin(); p != mine[e].points.end(); ++p)
                        if (!seams[e].points.contains(p.key()))
                            seams[e].points.insert(p.key(), p.value());
                    for (auto p = mine[e].notches.begin(); p != mine[e].notches.end(); ++p)
                        seams[e].notches.insert(p.key(), p.value());
                    seams[e].pieces += mine[e].pieces;
                }
                ++pieces;
            }
            QVERIFY2(pieces >= 3, qPrintable(QString::number(cell)));
            for (int e = 0; e < 2; ++e) {
                const int rib = cell + e;
                // the seam from end to end as one
                Seam whole = seams[e];
                whole.pieces = {qMakePair(whole.points.firstKey(), whole.points.lastKey())};
                // from next to the trailing edge to next to the other: only
                // the corners, where the cutting lines meet, are not on it
                const double first = whole.points.firstKey(), last = whole.points.lastKey();
                QVERIFY2(ribLength(rib, 0, first) < 2.5 * side && ribLength(rib, last, kAirfoilPoints - 1) < 2.5 * side,
                         qPrintable(QString("cell %1 edge %2: %3 .. %4").arg(cell).arg(e).arg(first).arg(last)));
                const QString what = QString("cell %1 %2 edge").arg(cell).arg(e == 0 ? "left" : "right");
                compare(rib, whole, what, &worst[rib], &problems);
                compare(rib, seams[e], what, &worst[rib], nullptr);
                notches += seams[e].notches.size();
            }
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        QVERIFY(notches > 20 * d->lastRib);
        report(QStringLiteral("panels"), worst, 2.0, 3.0);
    }

    // The diagonal ribs fit their ribs the same way: the top edge on the
    // upper rib, the tabs around the line attachments on the lower one.
    void diagonalsFitTheirRibs()
    {
        Generate_All_Diagonals(d.get());
        const QList<DiagonalData> all = d->diagonals;
        QVERIFY(all.size() > 5);
        const int w = patternfixture::sheetOf(d.get()).viewSize.width();
        int xpos = 0;
        QMap<int, Worst> worst;
        QStringList problems;
        for (DiagonalData D : all) {
            xpos = int(xpos + w / 5.0);
            Create_Diagonal_2D3D(*d, &D);
            const QString label = QStringLiteral("Dia.%1.%2").arg(D.first.rib).arg(D.second.rib);
            QVERIFY2(diagonals.contains(label), qPrintable(label));
            const QPolygonF cut = sewingcheck::chain(diagonals.value(label), 2);
            QVERIFY2(cut.size() > 20 && QLineF(cut.first(), cut.last()).length() < 1e-3, qPrintable(label));
            QList<QPolygonF> edges(2);
            QList<int> indexes[2];
            for (int e = 0; e < 2; ++e) {
                for (const OrigPnt2D& p : (e == 0 ? D.flatEdgeA : D.flatEdgeB)) {
                    edges[e] << mm * (p.point + QPointF(xpos, 0));
                    indexes[e] << p.index;
                }
            }
            QList<QPointF> marks;
            for (const sewingcheck::Mark& m : sewingcheck::marksOf(diagonals.value(label)))
                if (m.sides == 12)
                    marks << m.centre;
            QList<Seam> seams(2);
            QStringList found;
            auto notchAt = [&](int e, int j) {
                return d->is_Control(indexes[e].at(j), e == 0 ? D.first.rib : D.second.rib);
            };
            collect(cut, diagSeam, edges, 0.5, notchAt, marks, false, &seams, &found);
            for (const QString& f : std::as_const(found))
                problems << label + QStringLiteral(": ") + f;
            // from positions along the edges to rib points
            for (int e = 0; e < 2; ++e) {
                auto ribAt = [&](double x) {
                    const int j = std::clamp(int(std::floor(x)), 0, int(indexes[e].size()) - 2);
                    return indexes[e].at(j) + (x - j) * (indexes[e].at(j + 1) - indexes[e].at(j));
                };
                Seam seam;
                for (auto p = seams[e].points.begin(); p != seams[e].points.end(); ++p)
                    seam.points.insert(ribAt(p.key()), p.value());
                for (auto p = seams[e].notches.begin(); p != seams[e].notches.end(); ++p)
                    seam.notches.insert(ribAt(p.key()), p.value());
                // each sewn stretch of the edge: a run of points without a gap
                double start = -1, last = -1;
                for (double j : seam.points.keys()) {
                    if (start >= 0 && j - last > 4) {
                        seam.pieces << qMakePair(start, last);
                        start = -1;
                    }
                    if (start < 0)
                        start = j;
                    last = j;
                }
                if (start >= 0 && last > start)
                    seam.pieces << qMakePair(start, last);
                const int rib = e == 0 ? D.first.rib : D.second.rib;
                compare(rib, seam, label + (e == 0 ? " first edge" : " second edge"), &worst[rib], &problems);
            }
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        report(QStringLiteral("diagonals"), worst, 2.0, 3.0);
    }
};

QTEST_MAIN(TestSewnPairs)
#include "tst_sewnpairs.moc"
