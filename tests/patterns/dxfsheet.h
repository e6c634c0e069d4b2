#pragma once

// A pattern sheet as a DXF reader gives it back: the LINE and TEXT entities
// ezdxf read from a written file, grouped by layer, with the chains of
// consecutive lines (a polyline the writer drew) and their lengths. Every
// figure of the pattern tests comes from here, not from the writer's own
// tables.

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QLineF>
#include <QList>
#include <QMap>
#include <QPolygonF>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cmath>

#include <QFile>
#include <QSize>
#include <QTemporaryDir>

#include "core/parastruct.h"
#include "geom/sheet.h"
#include "patterns/patternsheet.h"
#include "tests/common/dxfcheck.h"
#include "tests/patterns/patternfixture.h"

namespace dxfsheet {

struct Line {
    QString layer;
    int colour = 0;
    QPointF a, b;
    double z1 = 0, z2 = 0;
    double length() const { return QLineF(a, b).length(); }
};

struct Text {
    QString layer;
    QString text;
    QPointF at;
    double height = 0;
    double rotation = 0;
};

struct Sheet {
    bool ok = false;
    QString error;
    int auditErrors = -1;
    QList<Line> lines;
    QList<Text> texts;
    QStringList other; // entities of any other type

    QSet<QString> layers() const
    {
        QSet<QString> s;
        for (const Line& l : lines)
            s.insert(l.layer);
        for (const Text& t : texts)
            s.insert(t.layer);
        return s;
    }
    QList<Line> on(const QString& layer, int colour = -1) const
    {
        QList<Line> out;
        for (const Line& l : lines)
            if (l.layer == layer && (colour < 0 || l.colour == colour))
                out.append(l);
        return out;
    }
    // Entity count per layer (LINE and TEXT together).
    QMap<QString, int> countPerLayer() const
    {
        QMap<QString, int> m;
        for (const Line& l : lines)
            ++m[l.layer];
        for (const Text& t : texts)
            ++m[t.layer];
        return m;
    }
};

inline Sheet read(const QString& path)
{
    Sheet s;
    const QJsonObject o = ReadDxfWithEzdxf(path);
    s.ok = o.value(QStringLiteral("ok")).toBool();
    s.error = o.value(QStringLiteral("error")).toString();
    s.auditErrors = o.value(QStringLiteral("audit_errors")).toInt(-1);
    for (const QJsonValue& v : o.value(QStringLiteral("lines")).toArray()) {
        const QJsonArray a = v.toArray();
        Line l;
        l.layer = a.at(0).toString();
        l.colour = a.at(1).toInt();
        l.a = QPointF(a.at(2).toDouble(), a.at(3).toDouble());
        l.z1 = a.at(4).toDouble();
        l.b = QPointF(a.at(5).toDouble(), a.at(6).toDouble());
        l.z2 = a.at(7).toDouble();
        s.lines.append(l);
    }
    for (const QJsonValue& v : o.value(QStringLiteral("texts")).toArray()) {
        const QJsonArray a = v.toArray();
        Text t;
        t.layer = a.at(0).toString();
        t.text = a.at(1).toString();
        t.at = QPointF(a.at(2).toDouble(), a.at(3).toDouble());
        t.height = a.at(4).toDouble();
        t.rotation = a.at(5).toDouble();
        s.texts.append(t);
    }
    for (const QJsonValue& v : o.value(QStringLiteral("other")).toArray())
        s.other.append(v.toString());
    return s;
}

// Consecutive lines joined end to start (within tol) into polylines, in file
// order: each chain is the polyline of one drawing call, or of several
// calls that happen to continue each other.
inline QList<QPolygonF> chains(const QList<Line>& lines, double tol = 1e-3)
{
    QList<QPolygonF> out;
    QPolygonF cur;
    for (const Line& l : lines) {
        if (!cur.isEmpty() && QLineF(cur.last(), l.a).length() <= tol) {
            cur.append(l.b);
            continue;
        }
        if (!cur.isEmpty())
            out.append(cur);
        cur = QPolygonF{l.a, l.b};
    }
    if (!cur.isEmpty())
        out.append(cur);
    return out;
}

inline double length(const QPolygonF& p)
{
    double sum = 0;
    for (int i = 1; i < p.size(); ++i)
        sum += QLineF(p.at(i - 1), p.at(i)).length();
    return sum;
}

inline bool closed(const QPolygonF& p, double tol = 1e-3)
{
    return p.size() > 2 && QLineF(p.first(), p.last()).length() <= tol;
}

// Draws one sheet of the design (with the given view size and dialog
// choices), writes it into a scratch directory as a file and reads the file
// back. What the writer has to say goes to *notes, the file's bytes to
// *bytes, each when given.
inline Sheet writeAndRead(const ParaStruct* d, PatternSheetFn draw, QSize view = QSize(1000, 700),
                          QStringList* notes = nullptr, QByteArray* bytes = nullptr,
                          const PatternOptions& options = {})
{
    QTemporaryDir dir;
    PatternSheet sheet = patternfixture::sheetOf(d);
    sheet.viewSize = view;
    sheet.notes = notes;
    sheet.options = options;
    const QString file = QStringLiteral("sheet.dxf");
    if (Write_Sheet(draw(sheet), dir.path(), file) != 0)
        return Sheet();
    if (bytes) {
        QFile f(dir.filePath(file));
        if (f.open(QIODevice::ReadOnly))
            *bytes = f.readAll();
    }
    return read(dir.filePath(file));
}

// Wide spacing on, the cut mode as it starts.
inline PatternOptions wideSpacing()
{
    PatternOptions o;
    o.wideSpacing = true;
    return o;
}

} // namespace dxfsheet
