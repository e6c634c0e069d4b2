#pragma once

// The cross-port model of the diagonal ribs: twelve control points on a
// normalised trapeze (921.6 x 691.2 model units, y downwards), the hole
// triangle they define and its holes. Every tab of every diagonal receives
// these holes (diagshape.h maps them from the trapeze into the tab).
//
// Roles of the points: p0, p1 bottom corners of the trapeze (lower surface),
// p5, p2 its top corners (upper surface), p4, p3 on the top edge above p0
// and p1, p6 and p7 the height points on p4-p0 and p3-p1, p10 and p11 the
// outer ends of the top edge; p8, p9 follow p0, p1 and nothing uses them.
// The hole triangle is p2, p5 and the apex where the line p5-p6 meets the
// line p2-p7.

#include <QPointF>

class ParaStruct;

constexpr double kModelWidth = 921.6;
constexpr double kModelHeight = 691.2;

// The default model ("default shape "): the points of the default trapeze,
// "line D" and the second model flag set.
void Diagonal_Model_Default(ParaStruct* design);

// Raises or lowers both height points together; they never move sideways.
void Move_Model_Height(ParaStruct* design, double dy);

// The apex of the hole triangle. The model is valid only when the two apex
// lines meet outside at least one of their segments; crossing inside both,
// or running parallel, is not a triangle the holes can be cut from.
bool Diagonal_Model_Apex(const ParaStruct* design, QPointF* apex);

// Stores the model as the editor shows it: the triangle p2, p5, apex with
// the division count, corner rounding and web width (mm) given, and the
// trapeze p0, p1, p2, p5. A valid model renews the apex and gets its holes;
// an invalid one keeps the apex passed in and has no holes. Returns whether
// the model is valid.
bool Store_Diagonal_Model(ParaStruct* design, int corner, int offsetMm, int count, QPointF* apex);
