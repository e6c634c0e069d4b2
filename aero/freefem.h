#pragma once

// A FreeFem++ script of one rib section for a 2-D finite-element study: the
// rib outline as a closed piecewise-linear border (every eighth point, chord
// 1, y upward), the attachment points of line rows "A" to "D" of rib 1 as
// small elliptic borders, the cross-port holes as further borders, the mesh
// statement and two plots. The cross-port editor holds the outline (its
// airfoil scaled by the drawing factor, y negated) and the hole outlines in
// the same units.

#include <QList>
#include <QPolygonF>
#include <QString>

class ParaStruct;

// Writes the script to path. False, with nothing written, when the outline
// has no point of positive x (nothing to scale to chord 1) or too few
// points, or the file cannot be written.
bool WriteFreeFemInput(const ParaStruct* design, const QPolygonF& workFoil, const QList<QPolygonF>& holes,
                       const QString& path);

// The whole script as WriteFreeFemInput writes it; empty for an outline it
// refuses.
QString FreeFem_Script(const ParaStruct* design, const QPolygonF& workFoil, const QList<QPolygonF>& holes);

// The holes block: one border per hole of more than three points (its
// points divided by scale, in reverse order, y negated), the mesh statement
// with every hole border and the two plot statements.
QString importHoles(const QList<QPolygonF>& holes, double scale, double unused = 0);

// A potential-flow solve around the outline, to follow the script's outline
// part (it uses the border "airfoil" and the count nn).
QString importZukovski();

QString InsertString_Integer(const QString& s, int v); // s + "  v "
QString InsertString_Double(const QString& s, double v); // s + "  v " with six decimals
