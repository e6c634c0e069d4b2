#pragma once

#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector2D>
#include <QWidget>

#include <functional>

#include "apps/splinora/parastruct.h"

class QPainter;

namespace splinora {

// The figures of the chart's two scales, in drawing coordinates: the chord
// in tenths from `origin` (where the chord line meets the thickness axis)
// over `chord` pixels, in a row below the chord's ticks (`tickLength` deep)
// and below every point of the airfoils drawn on it; the thickness in
// tenths of the chord, +-0.1 to +-0.4, left of the thickness axis, each
// centred on its grid line. The origin is written once, by the chord.
struct ScaleLabel {
    QRectF box;
    QString text;
};
QList<ScaleLabel> Scale_Labels(QPointF origin, double chord, double tickLength, const QList<QPolygonF>& foils,
                               const std::function<double(const QString&)>& textWidth, double lineHeight);

// The drawing and editing area of the spline. Control points live in
// drawing coordinates (pixels, y down, before zoom and pan); the screen
// shows them at p_D + f_scale * point.
class EditSpline : public QWidget
{
    Q_OBJECT
public:
    explicit EditSpline(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;

    // Takes the area's current rectangle as the drawing frame, empties the
    // spline and resets selection, zoom and pan.
    void Init_widget();
    // Takes the area's current rectangle as the drawing frame and carries
    // the control points over to it; the spline and the view stay.
    void Update_geometry();
    // Clears selection and the press state, zoom 1 and no pan.
    void Reset_view();

    int SelectPoint();
    void MovePoint(int dx, int dy);
    void Append_New_Point(QPoint P);
    void New_Point_Insert(QPoint P);
    void Remove_Point();
    void Toggle_Conic_Control();
    void ScaleFoil(double fac);
    void RotateSpline(double fi);
    void Generate_symetric_spline();
    void Save_airfoil_table(const QString& filename);

    void AdjustSpline_TE();
    void Normalize_Spline_Poly();
    QPolygonF normalize_FromScreen(const QPolygonF& poly) const;

    // Drawing point of a position in widget (screen) coordinates.
    QPointF fromScreen(QPointF pos) const;

    // The band along the top of the area that the fields over it and the
    // four lines of figures take: the chart is drawn below it only, and
    // its chord line runs through the middle of what is left.
    int Band_Bottom() const;
    QRect Chart_Area() const;
    // The lines of figures as the last paint wrote them: the background
    // airfoil's thickness, then its top and bottom, then the spline's (a
    // line is empty while its airfoil is); and where they stand, under the
    // fields, one a line, each within the area's width (a file name too
    // long for it is shortened in its middle).
    QStringList Info_Lines() const { return infoLines; }
    QList<QRectF> Info_Line_Boxes() const;
    // The scales' figures as the last paint wrote them, and the airfoils
    // they keep off (background and spline, in drawing coordinates).
    QList<ScaleLabel> Scale_Label_Boxes() const { return scaleLabels; }
    QList<QPolygonF> Drawn_Foils() const;

    QPointF myAnchor() const;
    QSize SizeHint() const;
    void Translate_Spline(QPointF delta);

    // Drawing (painting the area).
    void transformPainter(QPainter& painter);
    void Coor_System(QPainter* painter);
    void Paint_BackgroundPoly(QPainter* painter);
    void Paint_Spline(QPainter* painter);
    void Paint_thickness(QPolygonF* poly, QPointF pnt, QString S, QPainter* painter);
    void ShowKnotString(QPainter* painter);

    ParaStruct* p;
    QPolygonF spline_poly;
    QRect MyRect;
    int fontheight = 10;
    QPoint lastPos;
    QPointF lastPosF;
    QPointF Orig;
    QPointF curPnt;
    double f_scale = 1.0;
    QPointF LE;
    QPointF TE;
    int L_T = 0;
    int H = 0;
    int wr = 0;
    int xc = 0;
    int yc = 0;
    QPointF p_D;
    double f_div = 0.0;
    int pnt_selected = -1;
    bool mousepressed = false;
    double top_p = 0.0;
    double bot_p = 0.0;
    QString knot_string;

public slots:
    void repaint_opened_spline();
    void Action_From_Menu(QPoint P, int m);
    void ShowContextMenu(const QPoint& pos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void take_frame();
    QStringList Thickness_Lines(const QPolygonF& poly, const QString& label, const QString& name) const;
    bool contextMenuConnected = false;
    int band = 0;
    QStringList infoLines;
    QList<ScaleLabel> scaleLabels;
};

// One control point with its leg of the control polygon.
void Paint_Spline_Aux(QPainter* painter, int num_pnt, int k, QPointF* CP, int pnt_selected);

// Smallest distance from P to the points of poly (1e18 for none).
double Dist_Spline_Pnt(const QPolygonF& poly, QVector2D P);

} // namespace splinora
