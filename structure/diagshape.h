#pragma once

// Completes one generated diagonal rib: the attachment tabs of its bottom
// end, the top points of its top end, the seam-allowance pieces of its
// edges, the rounded cut-outs between the tabs, the cross-port model's holes
// mapped into every tab, and the flat cutting outline and 3-D outline.
//
// Whichever row started the diagonal, the end block `first` receives the
// bottom end's geometry and `second` the top end's. Tab widths are metres
// (converted through the span); polyline positions t run over n - 2 segments
// of an n-point polyline (t = 1 is point n - 2).

#include "core/structuredata.h"
#include "structure/trapmap.h"

#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QVector3D>

class ParaStruct;

void Create_Diagonal_2D3D(const ParaStruct& design, DiagonalData* diagonal);

// The cross-port model's holes as places in the model trapeze
// (diagModelPolys in diagModelOutline). Finding a place is a search, and the
// same model goes into four tabs of every diagonal, flat and in 3-D: whoever
// completes several diagonals of one design finds the places once and hands
// them to each.
using HoleModel = QList<QList<TrapWeights>>;
HoleModel Hole_Model(const ParaStruct* design);
void Create_Diagonal_2D3D(const ParaStruct& design, DiagonalData* diagonal, const HoleModel& holes);

// Mode 0 (bottom end): attachment points and tab ends (set_param_tpnt);
// mode 1 (top end): points matched by index (set_index_tpnt); other modes
// nothing.
void Get_Diag_Controls(const ParaStruct* design, const QList<OrigPnt2D>& edge, int rib, double w, const int* idx,
                       QPointF* out8, QPointF* out4, int mode);
void Get_3D_Diag_Controls(const ParaStruct* design, int mode, const QList<OrigPnt3D>& edge, int rib, double w,
                          const int* idx, QVector3D* out8, QVector3D* out4);

// Bottom end: out4[b] := the edge point at row b's attachment, out8[2b+1] and
// out8[2b] := the edge points half a tab before and after it; w in
// hundredths of a metre. The 3-D twin takes the attachment between points
// (fine_point).
void set_param_tpnt(const ParaStruct* design, const QList<OrigPnt2D>& edge, int rib, QPointF* out8, QPointF* out4,
                    double w);
void set_param_3d_tpnt(const ParaStruct* design, const QList<OrigPnt3D>& edge, int rib, QVector3D* out8,
                       QVector3D* out4, double w);
void set_param_Point(const ParaStruct* design, const QPolygonF& poly, int i1, int i2, QPointF* out, double w,
                     QPointF P);
void set_param_3d_Point(const ParaStruct* design, const QList<QVector3D>& poly, int i1, int i2, QVector3D* out,
                        double w, QVector3D P);

// The positions t[0] < t[1] on the polyline around its point P at which the
// distance to P is half the width w (metres), by bisection. False (t left at
// 0 or at the first bound) when P is the first vertex or no tab fits.
bool find_seg2D_param(const ParaStruct* design, const QPolygonF& poly, double w, QPointF P, double* t);
bool find_seg3D_param(const ParaStruct* design, const QList<QVector3D>& poly, double w, QVector3D P, double* t);
bool is_Inside_2D_Wid(const ParaStruct* design, const QPolygonF& poly, QPointF P, double w, double t);
bool is_Inside_3D_Wid(const ParaStruct* design, const QList<QVector3D>& poly, QVector3D P, double w, double t);

QPointF param_Poly2D(const QPolygonF& poly, double t);
QVector3D param_Poly3D(const QList<QVector3D>& poly, double t);
double param_Poly2D_t_from_k(const QPolygonF& poly, int k);
int near_pnt_index(const QPolygonF& poly, QPointF P);
int near_poly_pnt3d_index(const QList<QVector3D>& poly, QVector3D P);
double param_Poly2D_from_Point(const QPolygonF& poly, QPointF P);
double param_Poly3D_from_Point(const QList<QVector3D>& poly, QVector3D P);

QPolygonF polyFromList(const QList<OrigPnt2D>& list);
QList<QVector3D> polyFrom3DList(const QList<OrigPnt3D>& list);
// The points whose airfoil index lies between a and b (both included), in
// list order.
QPolygonF Segment_FromList_UP(const QList<OrigPnt2D>& list, int a, int b);
QList<QVector3D> Segment_From3DList_UP(const QList<OrigPnt3D>& list, int a, int b);
// The tab piece of the bottom edge around P: at most 21 samples within the
// tab width.
QPolygonF Segment_FromList_DW(const ParaStruct* design, const DiagonalData* diagonal, const QList<OrigPnt2D>& edge,
                              QPointF P);
QList<QVector3D> Segment_From3DList_DW(const ParaStruct* design, const DiagonalData* diagonal,
                                       const QList<OrigPnt3D>& edge, QVector3D P);

// The five edge pieces (top, then the four tabs): flat with the seam
// allowance -sigma, in 3-D without allowance.
QList<QPolygonF> Create_Dia_Seg_List(const ParaStruct* design, const DiagonalData* diagonal, double sigma,
                                     const int* top, const QList<OrigPnt2D>& bottomEdge,
                                     const QList<OrigPnt2D>& topEdge);
QList<QList<QVector3D>> Create_Dia_3D_Seg_List(const ParaStruct* design, const DiagonalData* diagonal,
                                               const int* top, const QList<OrigPnt3D>& bottomLine,
                                               const QList<OrigPnt3D>& topLine);

// Every segment moved by d along its left normal: 2 (n - 1) points; a copy
// of poly for fewer than 2 points.
QPolygonF Diagon_ubermuss(double d, const QPolygonF& poly);

// The open polyline q0, rounded corners at q1 and q2, q3.
QPolygonF create_Poly_Trap(const QPointF* q);
QList<QVector3D> create_Poly_Trap3D(const QVector3D* q);

// The model holes mapped from the model trapeze into the quadrilateral q.
// The 3-D holes are closed loops (first point repeated at the end).
QList<QPolygonF> create_wHList_PolyList(const ParaStruct* design, const QPointF* q);
QList<QList<QVector3D>> create_wHList_Poly3DList(const ParaStruct* design, const QVector3D* q);
QList<QPolygonF> create_wHList_PolyList(const HoleModel& holes, const QPointF* q);
QList<QList<QVector3D>> create_wHList_Poly3DList(const HoleModel& holes, const QVector3D* q);

// The top indexes of a rib: the plane view's upper points of each bottom row,
// moved by as many points as that row's attachment on the rib lies from its
// centre index.
void Diagonal_Top_Indexes(const ParaStruct* design, int rib, int* top);
