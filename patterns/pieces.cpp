#include "patterns/pieces.h"

#include "core/parastruct.h"

#include <algorithm>

QString PntPart::name() const
{
    return QStringLiteral("%1 %2 %3").arg(QChar::fromLatin1(kind)).arg(cutFrom).arg(cutTo);
}

PntPart Insert_TP7(const ParaStruct* design, QPointF point, int rib, int index, double allowance, char kind)
{
    PntPart p;
    p.rib = rib;
    p.point = point;
    p.index = index;
    p.uv = QPoint(256 * rib, index);
    p.control = design && design->is_Control(index, rib);
    p.allowance = allowance;
    p.kind = kind;
    p.trailingEdge = false;
    p.cutFrom = -1;
    p.cutTo = -1;
    return p;
}

PntPart Insert_CrossCut(int cell, int index, QPointF point, int t, int steps, double allowance,
                        bool trailingEdge)
{
    PntPart p;
    p.rib = cell;
    p.point = point;
    p.index = index;
    p.uv = QPoint(256 * cell + t, index);
    p.control = is_cut_cntr(0, steps, t);
    p.allowance = allowance;
    p.kind = 'S';
    p.trailingEdge = trailingEdge;
    p.cutFrom = 0;
    p.cutTo = 255;
    return p;
}

bool is_cut_cntr(int a, int b, int c)
{
    const int step = (b - a) / 4;
    if (step == 0)
        return false;
    return c % step == 0 && a + step <= c && c <= b - step;
}

double set_oversew(const ParaStruct* design, int n, int i, int k, int a, int b)
{
    double mm = design->seamAllowance[0];
    if (k == a || k == b)
        mm = design->seamAllowance[1];
    else if (i == 0 || i == n - 1)
        mm = design->seamAllowance[2];
    return design->ToScreen(0.001 * mm);
}

QString Set_PartName(int piece, int billowIndex, bool billowOn, int o1, int o2)
{
    const QString up = QStringLiteral("Up"), nose = QStringLiteral("VN"), low = QStringLiteral("Lw");
    if (piece < 0)
        return up;
    // With the billow line the upper surface is two pieces, so the nose
    // piece comes one later.
    const int firstNose = billowIndex > 0 && billowOn ? 2 : 1;
    if (piece < firstNose)
        return up;
    if (piece == firstNose && o1 != o2)
        return nose;
    return low;
}

QPolygonF SetPolylineFromList(const WholePoly& piece)
{
    QPolygonF poly;
    poly.reserve(piece.outline.size());
    for (const PntPart& p : piece.outline)
        poly.append(p.point);
    return poly;
}

QList<PntPart> ReverseOrderList(QList<PntPart> list)
{
    std::reverse(list.begin(), list.end());
    return list;
}
