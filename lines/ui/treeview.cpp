#include "lines/ui/treeview.h"

#include "core/parastruct.h"
#include "core/transf.h"
#include "core/userinteraction.h"
#include "widgets/uihelpers.h"

#include <QFontMetrics>
#include <QMetaObject>
#include <QPainter>
#include <QSet>
#include <QWidget>

#include <algorithm>
#include <cmath>

int Round_Half_Up(double v)
{
    return int(std::floor(v + 0.5));
}

QPoint TreeView::toScene(QPointF w) const
{
    const double px = std::trunc(pan.x()), py = std::trunc(pan.y());
    return QPoint(Round_Half_Up((w.x() - px) / zoom), Round_Half_Up((w.y() - py) / zoom));
}

QPointF TreeView::toWidget(QPointF s) const
{
    return QPointF(s.x() * zoom + std::trunc(pan.x()), s.y() * zoom + std::trunc(pan.y()));
}

void TreeView::wheel(int delta)
{
    zoom = std::clamp(zoom * std::pow(1.25, delta / 960.0), kMinZoom, kMaxZoom);
}

void TreeView::apply(QPainter* painter) const
{
    painter->translate(pan);
    painter->scale(zoom, zoom);
}

int Node_At(const QPolygon& points, QPoint p, double radius, int count)
{
    const int n = count < 0 ? int(points.size()) : std::min<int>(count, points.size());
    for (int i = 0; i < n; ++i)
        if (intDist2(points.at(i), p) < radius)
            return i;
    return -1;
}

QPoint Nearest_Node_Point(const QPolygon& points, QPoint p)
{
    QPoint best(0, 0);
    int bestDist = -1;
    for (const QPoint& q : points) {
        const int d = (q - p).manhattanLength();
        if (bestDist < 0 || d <= bestDist) {
            bestDist = d;
            best = q;
        }
    }
    return best;
}

QList<MidPnt> Midpoint_Handles(const QPolygon& pairs, const QPolygon& points, int bareChildren)
{
    QList<MidPnt> handles;
    for (int i = 0; i < pairs.size(); ++i) {
        const int a = pairs.at(i).x(), b = pairs.at(i).y();
        if (a < 0 || b < 0 || a >= points.size() || b >= points.size() || b < bareChildren)
            continue;
        const QPoint A = points.at(a), B = points.at(b);
        handles.append({QPoint(Round_Half_Up((A.x() + B.x()) / 2.0), Round_Half_Up((A.y() + B.y()) / 2.0)), i});
    }
    return handles;
}

int Handle_At(const QList<MidPnt>& handles, QPoint p, double radius)
{
    for (const MidPnt& h : handles)
        if ((h.point - p).manhattanLength() < radius)
            return h.line;
    return -1;
}

namespace {

// The angle between two directions in degrees; 0 when one has no length.
double angleBetween(QVector3D u, QVector3D v)
{
    const double lu = u.length(), lv = v.length();
    if (lu == 0 || lv == 0)
        return 0.0;
    const double c = std::clamp(double(QVector3D::dotProduct(u, v)) / (lu * lv), -1.0, 1.0);
    return std::acos(c) * 180 / 3.141592653;
}

} // namespace

QList<AngleEntry> set_angles_List(const QPolygon& pairs, const QList<LineProp>& lines, int parent)
{
    QList<AngleEntry> list;
    const int count = std::min<int>(pairs.size(), lines.size());
    for (int i = 0; i < count; ++i)
        if (pairs.at(i).x() == parent) {
            const LineProp& l = lines.at(i);
            list.append({l.q1, l.q2, l.p1, l.p2});
        }
    return list;
}

QList<AngleLabel> calc_paint_angle(const QList<AngleEntry>& list)
{
    QList<AngleLabel> labels;
    if (list.size() < 2)
        return labels;
    const QVector3D o = list.first().q1;
    // The column pass (lines to one rib), then the row pass (lines to one row).
    for (const bool column : {true, false}) {
        double best = 0.0;
        QPoint at;
        for (int i = 0; i < list.size(); ++i) {
            const AngleEntry& li = list.at(i);
            for (int j = i + 1; j < list.size(); ++j) {
                const AngleEntry& lj = list.at(j);
                if (column ? li.p2.x() != lj.p2.x() : li.p2.y() != lj.p2.y())
                    continue;
                const double a = angleBetween(li.q2 - o, lj.q2 - o);
                if (a > best) {
                    best = a;
                    at = column ? QPoint(Round_Half_Up((li.p1.x() + li.p2.x()) / 2.0),
                                         Round_Half_Up((li.p1.y() + li.p2.y()) / 2.0))
                                : li.p1;
                }
            }
        }
        if (best > 0)
            labels.append({at, (column ? QStringLiteral("  %1") : QStringLiteral("   %1")).arg(best, 0, 'f', 1),
                           column});
    }
    return labels;
}

QList<AngleLabel> Angle_Labels(const QPolygon& pairs, const QList<LineProp>& lines, int frameNodes)
{
    QList<AngleLabel> labels;
    const int count = std::min<int>(pairs.size(), lines.size());
    QSet<int> done;
    for (int k = 0; k < count; ++k) {
        const int parent = pairs.at(k).x();
        if (pairs.at(k).y() >= frameNodes || done.contains(parent))
            continue;
        done.insert(parent);
        labels += calc_paint_angle(set_angles_List(pairs, lines, parent));
    }
    return labels;
}

bool Ask_Line_Length(const ParaStruct* design, double unit3D, LineProp* line)
{
    if (!design || !line || unit3D == 0)
        return false;
    const std::optional<double> answer = User().number(QStringLiteral("change lenght"), QStringLiteral("length [m]:"),
                                                       design->R_X(unit3D * line->length), 0, 100, 2);
    if (!answer)
        return false;
    line->length = design->ToScreen(std::max(*answer, 0.001)) / unit3D;
    return true;
}

LineProp New_Tree_Line(QVector3D childEnd, double length, double diameter)
{
    LineProp line;
    line.q1 = QVector3D(0, 0, 0);
    line.q2 = childEnd;
    line.length = length;
    line.load = 0;
    line.diameter = diameter;
    return line;
}

std::optional<double> Ask_Diameter(const QString& title, double initialMm)
{
    const std::optional<double> answer = User().number(title, QStringLiteral("diameter [mm]:"), initialMm, 0, 30, 2);
    if (!answer)
        return std::nullopt;
    if (!(*answer > 0)) {
        Show_Warning(title, QStringLiteral(" a line needs a diameter above 0 mm: nothing was changed "));
        return std::nullopt;
    }
    return *answer / 1000;
}

void Connect_To_Ancestor(QWidget* editor, const char* signal, const char* slot)
{
    if (!editor || !signal || !slot)
        return;
    // SLOT() puts a code digit before the signature.
    const QByteArray signature = QMetaObject::normalizedSignature(slot + 1);
    for (QWidget* w = editor->parentWidget(); w; w = w->parentWidget()) {
        if (w->metaObject()->indexOfSlot(signature.constData()) >= 0) {
            QObject::connect(editor, signal, w, slot, Qt::UniqueConnection);
            return;
        }
    }
}

QRect Circle_Rect(QPoint c, int lo, int hi)
{
    return QRect(QPoint(c.x() - lo, c.y() - lo), QPoint(c.x() + hi, c.y() + hi));
}

int EditorLettering::headerPoints(double span) const
{
    return std::max(6, letterWidth > 0 ? int(span / letterWidth) : 6);
}

EditorLettering Editor_Lettering()
{
    EditorLettering l;
    l.header.setBold(true);
    l.header.setStyle(QFont::StyleNormal);
    l.header.setPointSize(10);
    const QRect x = QFontMetrics(l.header).boundingRect(QStringLiteral("X"));
    l.letterWidth = x.right() - x.left();
    l.letterHeight = x.bottom() - x.top();
    return l;
}

void Prepare_Tree_Editor(QWidget* editor)
{
    editor->setAttribute(Qt::WA_MouseTracking);
    editor->setContextMenuPolicy(Qt::CustomContextMenu);
    editor->setCursor(Qt::ArrowCursor);
}

QPen Hairline_Pen(const QColor& color, Qt::PenStyle style)
{
    QPen pen(color, 0, style);
    pen.setCosmetic(true);
    return pen;
}
