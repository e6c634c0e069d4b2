// The files of "Export all" as a cutting plotter takes them: every cut line
// of every piece is one closed outline, and every label stands inside its
// piece, clear of the piece's holes and of its other labels. The files are
// read back twice: by ezdxf, which also gives each label's box (its own
// measure of a text: as wide as its height per letter, from a third of the
// height below the base line to the height above it), and by a plain reader
// of the group codes here, which has to find the same entities.

#include <QTest>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QLineF>
#include <QList>
#include <QMap>
#include <QPolygonF>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/parastruct.h"
#include "patterns/minisheet.h"
#include "patterns/patternsheet.h"
#include "tests/common/dxfcheck.h"
#include "tests/patterns/dxfsheet.h"
#include "tests/patterns/outlinecheck.h"
#include "tests/patterns/patternfixture.h"

namespace {

struct Line {
    QString layer;
    int colour = 0;
    QPointF a, b;
};

struct Label {
    QString layer;
    QString text;
    QPointF at;
    double height = 0;
    double rotation = 0;
    QPolygonF box; // ezdxf's box of the text, closed
};

struct Drawing {
    bool ok = false;
    QString error;
    QList<Line> lines;
    QList<Label> labels;
};

// ezdxf: every LINE, and every TEXT with the corners of its box.
Drawing readWithEzdxf(const QString& path)
{
    static const char* script = R"PY(
import json, sys
out = {"ok": False, "error": ""}
try:
    import ezdxf
    from ezdxf import disassemble
    doc = ezdxf.readfile(sys.argv[1])
    lines, texts = [], []
    for e in doc.modelspace():
        t = e.dxftype()
        if t == "LINE":
            s, d = e.dxf.start, e.dxf.end
            lines.append([e.dxf.layer, e.dxf.color, s.x, s.y, d.x, d.y])
        elif t == "TEXT":
            p = e.dxf.insert
            box = [[v.x, v.y] for v in disassemble.make_primitive(e).vertices()]
            texts.append([e.dxf.layer, e.dxf.text, p.x, p.y, e.dxf.height, e.dxf.rotation, box])
    out.update(lines=lines, texts=texts, ok=True)
except Exception as exc:
    out["error"] = repr(exc)
print(json.dumps(out))
)PY";
    const QJsonObject o = RunDxfScript(script, path);
    Drawing d;
    d.ok = o.value(QStringLiteral("ok")).toBool();
    d.error = o.value(QStringLiteral("error")).toString();
    for (const QJsonValue& v : o.value(QStringLiteral("lines")).toArray()) {
        const QJsonArray a = v.toArray();
        d.lines.append({a.at(0).toString(), a.at(1).toInt(), QPointF(a.at(2).toDouble(), a.at(3).toDouble()),
                        QPointF(a.at(4).toDouble(), a.at(5).toDouble())});
    }
    for (const QJsonValue& v : o.value(QStringLiteral("texts")).toArray()) {
        const QJsonArray a = v.toArray();
        Label t;
        t.layer = a.at(0).toString();
        t.text = a.at(1).toString();
        t.at = QPointF(a.at(2).toDouble(), a.at(3).toDouble());
        t.height = a.at(4).toDouble();
        t.rotation = a.at(5).toDouble();
        for (const QJsonValue& p : a.at(6).toArray())
            t.box.append(QPointF(p.toArray().at(0).toDouble(), p.toArray().at(1).toDouble()));
        d.labels.append(t);
    }
    return d;
}

// The group codes of the ENTITIES section read pair by pair: LINE and TEXT
// with the values the checks use (no box: this reader does not measure).
Drawing readGroupCodes(const QString& path)
{
    Drawing d;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        d.error = f.errorString();
        return d;
    }
    QList<QByteArray> v = f.readAll().split('\n');
    for (QByteArray& s : v)
        s = s.trimmed();
    for (int i = 0; i + 1 < v.size(); i += 2) {
        if (v.at(i) != "0" || (v.at(i + 1) != "LINE" && v.at(i + 1) != "TEXT"))
            continue;
        const bool line = v.at(i + 1) == "LINE";
        QHash<int, QByteArray> g;
        int j = i + 2;
        for (; j + 1 < v.size() && v.at(j) != "0"; j += 2)
            g.insert(v.at(j).toInt(), v.at(j + 1));
        if (line)
            d.lines.append({QString::fromUtf8(g.value(8)), g.value(62).toInt(),
                            QPointF(g.value(10).toDouble(), g.value(20).toDouble()),
                            QPointF(g.value(11).toDouble(), g.value(21).toDouble())});
        else
            d.labels.append({QString::fromUtf8(g.value(8)), QString::fromUtf8(g.value(1)),
                             QPointF(g.value(10).toDouble(), g.value(20).toDouble()), g.value(40).toDouble(),
                             g.value(50).toDouble(), QPolygonF()});
        i = j - 2;
    }
    d.ok = true;
    return d;
}

// Consecutive lines of one layer and colour joined end to start.
QList<QPolygonF> chainsOf(const Drawing& d, const QString& layer, int colour)
{
    QList<dxfsheet::Line> lines;
    for (const Line& l : d.lines)
        if (l.layer == layer && l.colour == colour) {
            dxfsheet::Line x;
            x.layer = l.layer;
            x.colour = l.colour;
            x.a = l.a;
            x.b = l.b;
            lines.append(x);
        }
    return dxfsheet::chains(lines, 1e-3);
}

double area(const QPolygonF& p)
{
    double s = 0;
    for (int i = 0; i + 1 < p.size(); ++i)
        s += p.at(i).x() * p.at(i + 1).y() - p.at(i + 1).x() * p.at(i).y();
    return std::abs(s) / 2;
}

bool closedWithin(const QPolygonF& p, double tol)
{
    return p.size() > 2 && QLineF(p.first(), p.last()).length() <= tol;
}

bool edgesCross(const QPolygonF& a, const QPolygonF& b)
{
    for (int i = 0; i + 1 < a.size(); ++i)
        for (int j = 0; j + 1 < b.size(); ++j)
            if (outlinecheck::properCrossing(a.at(i), a.at(i + 1), b.at(j), b.at(j + 1)))
                return true;
    return false;
}

bool inside(QPointF p, const QPolygonF& closed)
{
    return closed.containsPoint(p, Qt::OddEvenFill);
}

// The box lies in the outline: its corners inside, no edge of the outline
// through it.
bool boxInside(const QPolygonF& box, const QPolygonF& outline)
{
    for (const QPointF& c : box)
        if (!inside(c, outline))
            return false;
    return !edgesCross(box, outline);
}

bool overlap(const QPolygonF& a, const QPolygonF& b)
{
    for (const QPointF& c : a)
        if (inside(c, b))
            return true;
    for (const QPointF& c : b)
        if (inside(c, a))
            return true;
    return edgesCross(a, b);
}

// One piece of a file: its cut outline (the largest closed chain of its cut
// colour) and its holes (the other closed chains, and the holes' own colour).
struct Piece {
    QPolygonF outline;
    QList<QPolygonF> holes;
    QList<QPolygonF> open; // chains of the cut colour that do not close
};

Piece pieceOf(const Drawing& d, const QString& layer, int cutColour, int holeColour)
{
    Piece p;
    QList<QPolygonF> loops;
    for (const QPolygonF& c : chainsOf(d, layer, cutColour)) {
        if (closedWithin(c, 0.01))
            loops.append(c);
        else
            p.open.append(c);
    }
    std::sort(loops.begin(), loops.end(), [](const QPolygonF& a, const QPolygonF& b) { return area(a) > area(b); });
    if (!loops.isEmpty())
        p.outline = loops.takeFirst();
    p.holes = loops;
    if (holeColour >= 0)
        p.holes += chainsOf(d, layer, holeColour);
    return p;
}

struct Kind {
    const char* file;
    const char* layerPrefix; // the layers of its pieces
    int cutColour;
    int holeColour; // -1: holes are drawn in the cut colour
};

const Kind kKinds[] = {
    {"diagon.dxf", "Dia.", 2, 3},      {"rearmini.dxf", "Rear.", 1, -1}, {"frontmini.dxf", "frontf.", 1, -1},
    {"straps.dxf", "Strap.", 1, -1},   {"ribs.dxf", "RIB.", 1, -1},      {"longpatt.dxf", "", 1, -1},
};

// The layers of a file's pieces: those whose name starts with the prefix and
// carry a line of the cut colour (not the seam, rod, mylar or mid-line
// layers).
QStringList pieceLayers(const Drawing& d, const Kind& k)
{
    QStringList out;
    for (const Line& l : d.lines) {
        if (l.colour != k.cutColour || !l.layer.startsWith(QLatin1String(k.layerPrefix)) || out.contains(l.layer))
            continue;
        const QString rest = l.layer.mid(int(qstrlen(k.layerPrefix)));
        if (rest.contains(QLatin1String(".rod")) || rest.contains(QLatin1String(".milar"))
            || rest.contains(QLatin1String(".midline")) || rest.contains(QLatin1String(".saw")))
            continue;
        out.append(l.layer);
    }
    return out;
}

} // namespace

class TestPieceCuts : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ParaStruct> design;

    Drawing drawing(const QString& file)
    {
        const Drawing d = readWithEzdxf(dir.filePath(file));
        if (!d.ok)
            qWarning() << file << d.error;
        return d;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        design = patternfixture::defaultDesign();
        GetGlobClass()->dxfDir = dir.path();
        const ExportReport r = Export_All_Patterns(patternfixture::sheetOf(design.get()));
        GetGlobClass()->dxfDir.clear();
        QVERIFY2(r.allWritten(), qPrintable(r.text()));
    }

    void files_data()
    {
        QTest::addColumn<int>("kind");
        for (int i = 0; i < int(std::size(kKinds)); ++i)
            QTest::newRow(kKinds[i].file) << i;
    }

    // Both readers find the same lines and labels, in the same order.
    void readersAgree_data() { files_data(); }
    void readersAgree()
    {
        QFETCH(int, kind);
        const QString file = QLatin1String(kKinds[kind].file);
        const Drawing a = drawing(file);
        const Drawing b = readGroupCodes(dir.filePath(file));
        QVERIFY2(a.ok && b.ok, qPrintable(a.error + b.error));
        QCOMPARE(b.lines.size(), a.lines.size());
        QCOMPARE(b.labels.size(), a.labels.size());
        for (int i = 0; i < a.lines.size(); ++i) {
            QCOMPARE(b.lines.at(i).layer, a.lines.at(i).layer);
            QCOMPARE(b.lines.at(i).colour, a.lines.at(i).colour);
            QVERIFY(QLineF(a.lines.at(i).a, b.lines.at(i).a).length() < 1e-6);
            QVERIFY(QLineF(a.lines.at(i).b, b.lines.at(i).b).length() < 1e-6);
        }
        for (int i = 0; i < a.labels.size(); ++i) {
            QCOMPARE(b.labels.at(i).text, a.labels.at(i).text);
            QVERIFY(QLineF(a.labels.at(i).at, b.labels.at(i).at).length() < 1e-6);
            QCOMPARE(b.labels.at(i).height, a.labels.at(i).height);
        }
    }

    // Every line of a piece's cut colour belongs to a closed outline (its
    // cut line, or a hole), closing within 0.01 mm; each piece has one.
    void cutLinesClose_data() { files_data(); }
    void cutLinesClose()
    {
        QFETCH(int, kind);
        const Kind& k = kKinds[kind];
        const Drawing d = drawing(QLatin1String(k.file));
        QVERIFY(d.ok);
        const QStringList layers = pieceLayers(d, k);
        QVERIFY(!layers.isEmpty());
        QStringList open;
        for (const QString& layer : layers) {
            const Piece p = pieceOf(d, layer, k.cutColour, k.holeColour);
            if (!p.open.isEmpty() || p.outline.isEmpty()) {
                const QPolygonF c = p.open.isEmpty() ? QPolygonF() : p.open.first();
                open << QStringLiteral("%1 (ends %2 mm apart)")
                            .arg(layer)
                            .arg(c.isEmpty() ? 0.0 : QLineF(c.first(), c.last()).length(), 0, 'f', 1);
            }
            for (const QPolygonF& hole : p.holes)
                QVERIFY2(closedWithin(hole, 0.01), qPrintable(layer));
        }
        QVERIFY2(open.isEmpty(), qPrintable(QStringLiteral("%1 of %2 pieces open: ").arg(open.size()).arg(layers.size())
                                            + open.mid(0, 5).join(QStringLiteral(", "))));
    }

    // The mini-ribs' cut lines give the allowance where the seam ends too:
    // along the edge where a front mini-rib ends, around the trailing-edge
    // tip of a rear one. Each end of the seam line (drawn with wide
    // spacing) stands inside the closed cut line, the allowance (within the
    // sag of the chords the allowance is built on) from it.
    void miniRibSeamEndsHaveTheirAllowance_data()
    {
        QTest::addColumn<bool>("front");
        QTest::newRow("front") << true;
        QTest::newRow("rear") << false;
    }
    void miniRibSeamEndsHaveTheirAllowance()
    {
        QFETCH(bool, front);
        const dxfsheet::Sheet s = dxfsheet::writeAndRead(design.get(), front ? &FrontMiniRib_Sheet : &RearMiniRib_Sheet,
                                                         QSize(1000, 700), nullptr, nullptr, dxfsheet::wideSpacing());
        QVERIFY2(s.ok, qPrintable(s.error));
        const double allowance = design->seamAllowance[0];
        QSet<QString> layers = s.layers();
        QVERIFY(!layers.isEmpty());
        QStringList faults;
        for (const QString& layer : std::as_const(layers)) {
            const QList<QPolygonF> seams = dxfsheet::chains(s.on(layer, 3));
            QCOMPARE(seams.size(), 1);
            QPolygonF cut;
            for (const QPolygonF& c : dxfsheet::chains(s.on(layer, 1)))
                if (area(c) > area(cut))
                    cut = c;
            const QPolygonF seam = seams.first();
            for (const QPointF& end : {seam.first(), seam.last()}) {
                const double gap = closedWithin(cut, 0.01) && cut.containsPoint(end, Qt::OddEvenFill)
                                       ? outlinecheck::distanceToOutline(end, cut)
                                       : 0.0;
                if (gap < 0.9 * allowance)
                    faults << QStringLiteral("%1: %2 mm").arg(layer).arg(gap, 0, 'f', 2);
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 seam ends short of the allowance: ").arg(faults.size())
                                              + faults.mid(0, 6).join(QStringLiteral(", "))));
    }

    // Every label's box inside its piece's cut outline, clear of its holes
    // and of the piece's other labels.
    void labelsInsideTheirPieces_data() { files_data(); }
    void labelsInsideTheirPieces()
    {
        QFETCH(int, kind);
        const Kind& k = kKinds[kind];
        const Drawing d = drawing(QLatin1String(k.file));
        QVERIFY(d.ok);
        QMap<QString, QList<Label>> byLayer;
        for (const Label& t : d.labels)
            byLayer[t.layer].append(t);
        QVERIFY(!byLayer.isEmpty());
        QStringList faults;
        for (auto it = byLayer.cbegin(); it != byLayer.cend(); ++it) {
            const Piece p = pieceOf(d, it.key(), k.cutColour, k.holeColour);
            const QList<Label>& labels = it.value();
            for (int i = 0; i < labels.size(); ++i) {
                const Label& t = labels.at(i);
                QVERIFY(t.box.size() >= 4);
                QString why;
                if (p.outline.isEmpty())
                    why = QStringLiteral("no closed cut line");
                else if (!boxInside(t.box, p.outline))
                    why = QStringLiteral("off its piece");
                for (const QPolygonF& h : p.holes)
                    if (why.isEmpty() && overlap(t.box, h))
                        why = QStringLiteral("over a hole");
                for (int j = 0; j < i && why.isEmpty(); ++j)
                    if (overlap(t.box, labels.at(j).box))
                        why = QStringLiteral("over \"%1\"").arg(labels.at(j).text);
                if (!why.isEmpty())
                    faults << QStringLiteral("%1 \"%2\" %3").arg(it.key(), t.text, why);
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 labels misplaced: ").arg(faults.size())
                                              + faults.mid(0, 6).join(QStringLiteral("; "))));
    }
};

QTEST_MAIN(TestPieceCuts)
#include "tst_piececuts.moc"
