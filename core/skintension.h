#pragma once

// Cloth oversize of the cells and skin tension: how much longer than the
// straight rib-to-rib distance the cloth of a cell is cut at every airfoil
// point, the per-rib billow-compensation reduction and the brake-line
// relaxation along the span. Lengths are plan units (half span = 1000);
// points are airfoil indexes 0 to 999. Free functions on the design record,
// no state.

class ParaStruct;

// Straight 3-D distance across cell `rib` at point j. The centre cell of an
// odd count (rib at or below firstRib) takes the width of the next cell,
// the tip rib that of the last cell; 0 beyond the tip.
double f_Wide(const ParaStruct* design, int rib, int j);

// Cap height of a circular arc of chord s and length b (Huygens' rule from
// the chord of half the arc). Symmetric in its arguments.
double f_kapica(double s, double b);

// Theoretical half-oversize of cell `rib` at point j: the cloth as an arc of
// the circle whose diameter is the diagonal of cell width and airfoil thickness.
double Delta_Half(const ParaStruct* design, int rib, int j);
// Cap height belonging to Delta_Half.
double Theory_Kapica(const ParaStruct* design, int rib, int j);
// Cap height belonging to the stored clothHalfOversize of the rib.
double Real_Kapica(const ParaStruct* design, int rib, int j);
// Airfoil thickness at point j of the rib in plan units (rib 0 and point 0
// use rib 1 and point 1); 0 without airfoil or foil pairs.
double find_Thick(const ParaStruct* design, int rib, int j);

// Value at x of the quadratic Bezier curve through the control points
// (x0, y0), (x1, y1), (x2, y2), found by bisection on its parameter.
double find_lam(double y0, double y1, double y2, int x0, int x1, int x2, int x);
// Quintic smooth step from y0 at i0 to y1 at i1 (not clamped outside).
double f_asc_ten(double y0, double y1, int i0, int i1, int i);
// Smooth fall from y0 at i0 to y1 at i1, never below 0; y0 when it does
// not fall.
double f_desc_ten(double y0, double y1, int i0, int i1, int i);
// Coefficients out[1..3] of the rise (value d, flat at both ends) and of the
// fall (value -d); out must hold 4 values.
void Skin_Asc(double d, double* out);
void Skin_desc(double d, double* out);

// Zone of point j on the rib: 1 upper side before the nose, 2 lower side
// behind the second line row, 4 and 5 toward the upper and lower trailing
// edge, 10 and 11 the middles of the two sides, 0 no oversize.
int f_skin_decision(const ParaStruct* design, int rib, int j);
// Cloth half-oversize of cell `rib` at point j (never negative).
double f_skin_norma_tension(const ParaStruct* design, int rib, int j);
// f_skin_norma_tension at every point 0 .. 999 of the rib, into out.
void Skin_Norma_Tension_Row(const ParaStruct* design, int rib, double* out);
// Skin_Norma_Tension_Row of ribs 0 .. count - 1 into out[0 .. count - 1].
void Skin_Norma_Tension_Rows(const ParaStruct* design, int count, double (*out)[1000]);
// Reduction factor of the oversize toward the trailing edges.
double f_BCalongrib(const ParaStruct* design, int rib, int j);

// billowReduction of ribs 0 .. lastRib from how the flying weight loads
// each cell; the tip rib gets 0 and the last inner rib a quarter of rib 0's.
void Calculate_BillowComp_Reduction(ParaStruct* design);
// relaxFactors of the brake lines: brakeMiddleRelax at the centre, none at
// the brake centre rib, brakeEdgeRelax at the tip.
void Calculate_RelaxLengths(ParaStruct* design);
