#include "apps/splinora/editspline.h"
#include "widgets/widgetinteraction.h"

#include <QAction>
#include <QCursor>
#include <QFile>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "apps/splinora/foilroutines.h"
#include "apps/splinora/myopenfile.h"
#include "apps/splinora/shared_links.h"

namespace splinora {

namespace {

// Starting spline of button "S" in airfoil units (x along the chord, y down).
constexpr double symX[10] = {1.0, 0.7, 0.3, 0.05, 0.0, 0.0, 0.05, 0.3, 0.7, 1.0};
constexpr double symY[10] = {0.0, 0.025, 0.07, 0.08, 0.01, -0.01, -0.08, -0.07, -0.025, 0.0};

constexpr double selectRadius = 8.0;

} // namespace

EditSpline::EditSpline(QWidget* parent)
    : QWidget(parent)
    , p(GetDataStruct())
{
    setContextMenuPolicy(Qt::CustomContextMenu);
    Init_widget();
}

QSize EditSpline::minimumSizeHint() const
{
    return QSize(W_res, H_res);
}

void EditSpline::take_frame()
{
    MyRect = rect();
    wr = MyRect.right() - MyRect.left();
    H = MyRect.bottom() - MyRect.top();
    xc = int(wr * 0.1);
    L_T = wr - 2 * xc;
    // Below the fields and the figures, in the middle of the rest.
    band = Band_Bottom();
    yc = band + std::max(0, H - band) / 2;
    Orig = QPointF(xc, yc);
    TE = QPointF(L_T + xc, yc);
}

namespace {
constexpr int kInfoLines = 4;
constexpr int kMargin = 10;
} // namespace

int EditSpline::Band_Bottom() const
{
    const QFontMetrics metrics(font());
    const int fields = childrenRect().isValid() ? childrenRect().bottom() + 1 : 0;
    return fields + 6 + kInfoLines * metrics.lineSpacing() + 4;
}

QRect EditSpline::Chart_Area() const
{
    const int top = Band_Bottom();
    return QRect(0, top, width(), std::max(0, height() - top));
}

QList<QRectF> EditSpline::Info_Line_Boxes() const
{
    const QFontMetricsF metrics(font());
    const double top = (childrenRect().isValid() ? childrenRect().bottom() + 1 : 0) + 6;
    QList<QRectF> boxes;
    for (int k = 0; k < infoLines.size(); ++k)
        boxes << QRectF(kMargin, top + k * metrics.lineSpacing(), metrics.horizontalAdvance(infoLines[k]),
                        metrics.height());
    return boxes;
}

QStringList EditSpline::Thickness_Lines(const QPolygonF& poly, const QString& label, const QString& name) const
{
    if (poly.isEmpty())
        return {QString(), QString()};
    QString St[2];
    FindThickness(&poly, St);
    const QFontMetrics metrics(font());
    const int room = width() - 2 * kMargin - metrics.horizontalAdvance(label + ": " + St[0]);
    return {label + metrics.elidedText(name, Qt::ElideMiddle, std::max(room, 0)) + ": " + St[0],
            QStringLiteral("      || ") + St[1]};
}

void EditSpline::Init_widget()
{
    fontheight = 10;
    mousepressed = false;
    knot_string = " //////";
    take_frame();
    pnt_selected = -1;
    p->spline.startVent = 0.0;
    p->spline.endVent = 0.0;
    top_p = 0.0;
    bot_p = 0.0;
    p->spline.num_pnt = 0;
    p->spline.num_knt = 0;
    spline_poly.clear();
    f_scale = 1.0;
    p_D = QPointF(0.0, 0.0);
}

void EditSpline::Update_geometry()
{
    const int oldXc = xc;
    const int oldYc = yc;
    const int oldLT = L_T;
    take_frame();
    if (oldLT <= 0 || L_T <= 0 || (oldXc == xc && oldYc == yc && oldLT == L_T))
        return;
    // Same airfoil coordinates in the new frame.
    const double f = double(L_T) / double(oldLT);
    SplineFoil& s = p->spline;
    for (int i = 0; i < s.num_pnt; ++i)
        s.CP[i] = QPointF(xc + (s.CP[i].x() - oldXc) * f, yc + (s.CP[i].y() - oldYc) * f);
    spline_poly = s.make_SplinePoly();
}

void EditSpline::Reset_view()
{
    mousepressed = false;
    pnt_selected = -1;
    f_scale = 1.0;
    p_D = QPointF(0.0, 0.0);
}

QPointF EditSpline::fromScreen(QPointF pos) const
{
    return (pos - p_D) / f_scale;
}

void EditSpline::showEvent(QShowEvent* event)
{
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous()) {
        QWidget::showEvent(event);
        return;
    }
    if (!contextMenuConnected) {
        connect(this, &QWidget::customContextMenuRequested, this, &EditSpline::ShowContextMenu);
        contextMenuConnected = true;
    }
    f_scale = 1.0;
    p_D = QPointF(0.0, 0.0);
    repaint();
}

void EditSpline::repaint_opened_spline()
{
    spline_poly = p->spline.make_SplinePoly();
    repaint();
}

// --- Mouse, wheel and keys -------------------------------------------------

void EditSpline::mousePressEvent(QMouseEvent* event)
{
    if (mousepressed)
        return;
    lastPos = event->position().toPoint();
    lastPosF = event->position();
    mousepressed = true;
    if (event->buttons() & Qt::LeftButton)
        pnt_selected = SelectPoint();
    repaint();
}

void EditSpline::mouseMoveEvent(QMouseEvent* event)
{
    if (!mousepressed)
        return;
    const QPoint pos = event->position().toPoint();
    const QPoint d = pos - lastPos;
    lastPos = pos;
    if ((event->buttons() & Qt::LeftButton) && pnt_selected >= 0
        && pnt_selected < p->spline.num_pnt) {
        p->spline.CP[pnt_selected] = fromScreen(QPointF(pos));
        repaint();
    }
    if (event->buttons() & Qt::MiddleButton) {
        p_D += QPointF(d);
        repaint();
    }
}

void EditSpline::mouseReleaseEvent(QMouseEvent*)
{
    mousepressed = false;
    repaint();
}

void EditSpline::mouseDoubleClickEvent(QMouseEvent*)
{
    p_D = QPointF(0.0, 0.0);
    f_scale = 1.0;
    Normalize_Spline_Poly();
    repaint();
}

void EditSpline::wheelEvent(QWheelEvent* event)
{
    f_scale *= std::pow(2.0, event->angleDelta().y() / 1080.0);
    f_scale = std::clamp(f_scale, 0.5, 4.0);
    repaint();
}

void EditSpline::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        // Escape only drops the selection; the area stays.
        mousepressed = false;
        pnt_selected = -1;
        repaint();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        mousepressed = false;
        repaint();
        break;
    case Qt::Key_Delete:
        Remove_Point();
        mousepressed = false;
        pnt_selected = -1;
        repaint();
        break;
    case Qt::Key_Left:
        MovePoint(-1, 0);
        break;
    case Qt::Key_Up:
        MovePoint(0, -1);
        break;
    case Qt::Key_Right:
        MovePoint(1, 0);
        break;
    case Qt::Key_Down:
        MovePoint(0, 1);
        break;
    default:
        break;
    }
}

// --- Context menu -----------------------------------------------------------

void EditSpline::ShowContextMenu(const QPoint& pos)
{
    const SplineFoil& s = p->spline;
    const bool room = s.num_pnt < MAXNUMPOINTS;
    QMenu menu;
    QList<QAction*> entries;
    entries << menu.addAction("________________");
    entries << menu.addAction("Normalize spline");
    entries[1]->setEnabled(s.num_pnt >= 1);
    entries << menu.addAction("Append point to spline");
    entries[2]->setEnabled(room);
    entries << menu.addAction("Insert point after selected point");
    entries[3]->setEnabled(pnt_selected >= 0 && room);
    entries << menu.addAction("Remove selected point");
    entries[4]->setEnabled(pnt_selected >= 0);
    entries << menu.addAction("________________");
    entries << menu.addAction("set hull        ");
    QAction* chosen = Popup_Menu(&menu, mapToGlobal(pos));
    // The menu takes the release of the press that opened it.
    mousepressed = false;
    const int index = entries.indexOf(chosen);
    if (index < 0)
        return;
    Action_From_Menu(pos, index);
    repaint();
}

void EditSpline::Action_From_Menu(QPoint P, int m)
{
    switch (m) {
    case 1:
        Normalize_Spline_Poly();
        break;
    case 2:
        Append_New_Point(P);
        break;
    case 3:
        New_Point_Insert(P);
        break;
    case 4:
        Remove_Point();
        break;
    case 6:
        Toggle_Conic_Control();
        break;
    default:
        break;
    }
}

// --- Editing ----------------------------------------------------------------

int EditSpline::SelectPoint()
{
    const SplineFoil& s = p->spline;
    for (int i = 1; i <= s.num_pnt - 2; ++i) {
        const QPointF screen = f_scale * s.CP[i] + p_D;
        if (Dist2(screen, QPointF(lastPos)) < selectRadius)
            return i;
    }
    return -1;
}

void EditSpline::MovePoint(int dx, int dy)
{
    if (pnt_selected < 0 || pnt_selected >= p->spline.num_pnt)
        return;
    p->spline.CP[pnt_selected] += QPointF(dx, dy);
    repaint();
}

void EditSpline::Append_New_Point(QPoint P)
{
    SplineFoil& s = p->spline;
    if (pnt_selected >= 1 || s.num_pnt >= MAXNUMPOINTS)
        return;
    curPnt = fromScreen(QPointF(P));
    s.CP[s.num_pnt] = curPnt;
    s.num_pnt += 1;
    s.init_knots();
}

void EditSpline::New_Point_Insert(QPoint P)
{
    SplineFoil& s = p->spline;
    const int k = pnt_selected;
    if (k < 0 || k >= s.num_pnt || s.num_pnt >= MAXNUMPOINTS)
        return;
    if (k == s.num_pnt - 1) {
        Append_New_Point(P);
        return;
    }
    curPnt = fromScreen(QPointF(lastPos));
    const QPointF added = 0.5 * (curPnt + s.CP[k + 1]);
    for (int i = s.num_pnt; i > k + 1; --i)
        s.CP[i] = s.CP[i - 1];
    s.CP[k + 1] = added;
    s.num_pnt += 1;
    s.init_knots();
}

void EditSpline::Remove_Point()
{
    SplineFoil& s = p->spline;
    const int k = pnt_selected;
    if (k < 0 || k >= s.num_pnt)
        return;
    for (int i = k; i < s.num_pnt - 1; ++i)
        s.CP[i] = s.CP[i + 1];
    s.num_pnt -= 1;
    mousepressed = false;
    spline_poly.clear();
    pnt_selected = -1;
    s.init_knots();
}

void EditSpline::Toggle_Conic_Control()
{
    SplineFoil& s = p->spline;
    if (pnt_selected < 0 || !is_between(s.degree, s.num_knt - s.degree, pnt_selected))
        return;
    if (pnt_selected + 2 >= MAXNUMKNOTS)
        return;
    s.b_knots[pnt_selected + 2] = s.b_knots[pnt_selected + 1] + 0.0001;
}

void EditSpline::ScaleFoil(double fac)
{
    SplineFoil& s = p->spline;
    for (int i = 0; i < s.num_pnt; ++i)
        s.CP[i].setY(yc - (1.0 + 0.02 * fac) * (yc - s.CP[i].y()));
    repaint();
}

void EditSpline::RotateSpline(double fi)
{
    SplineFoil& s = p->spline;
    for (int i = 0; i < s.num_pnt; ++i)
        s.CP[i] = RotFixP(fi, TE, s.CP[i]);
}

void EditSpline::Generate_symetric_spline()
{
    SplineFoil& s = p->spline;
    s.num_pnt = 0;
    spline_poly.clear();
    for (int i = 0; i < 10; ++i)
        s.CP[i] = QPointF(xc + symX[i] * L_T, yc + symY[i] * L_T);
    s.num_pnt = 10;
    s.init_knots();
    pnt_selected = -1;
}

void EditSpline::Save_airfoil_table(const QString& filename)
{
    if (filename.isEmpty())
        return;
    QFile file(filename);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return;
    file.write(Airfoil_Table_FileText(filename, normalize_FromScreen(spline_poly)).toUtf8());
    file.close();
}

// --- Normalisation ----------------------------------------------------------

QPolygonF EditSpline::normalize_FromScreen(const QPolygonF& poly) const
{
    QPolygonF result;
    if (L_T <= 0)
        return result;
    result.reserve(poly.size());
    for (const QPointF& pt : poly)
        result.append(QPointF((pt.x() - xc) / L_T, -(pt.y() - yc) / L_T));
    return result;
}

void EditSpline::Normalize_Spline_Poly()
{
    SplineFoil& s = p->spline;
    if (s.num_pnt <= 0)
        return;
    double xmin = 10000.0;
    double xmax = -10000.0;
    for (const QPointF& pt : spline_poly) {
        if (pt.x() < xmin)
            xmin = pt.x();
        if (pt.x() >= xmax)
            xmax = pt.x();
    }
    const double dx = xmax - xmin;
    // A curve without horizontal extent cannot be scaled to the chord.
    if (spline_poly.isEmpty() || !(dx > 1e-9))
        return;
    for (int i = 0; i < s.num_pnt; ++i)
        s.CP[i] = L_T * s.CP[i] / dx;
    spline_poly = s.make_SplinePoly();
}

void EditSpline::AdjustSpline_TE()
{
    SplineFoil& s = p->spline;
    if (s.num_pnt <= 0)
        return;
    const QPointF d = TE - s.CP[0];
    if (std::fabs(d.x()) + std::fabs(d.y()) > 0.00001) {
        for (int i = 0; i < s.num_pnt; ++i)
            s.CP[i] += d;
        Normalize_Spline_Poly();
    }
}

// --- Helpers nothing in the program calls ------------------------------------

QPointF EditSpline::myAnchor() const
{
    return QPointF(mapFromGlobal(QCursor::pos()));
}

QSize EditSpline::SizeHint() const
{
    return QSize(width(), height());
}

void EditSpline::Translate_Spline(QPointF delta)
{
    SplineFoil& s = p->spline;
    if (s.num_pnt <= 0)
        return;
    for (int i = 0; i < s.num_pnt; ++i)
        s.CP[i] += delta;
    s.CP[0] = TE;
    s.CP[s.num_pnt - 1] = TE;
}

double Dist_Spline_Pnt(const QPolygonF& poly, QVector2D P)
{
    double d = 1e18;
    for (const QPointF& pt : poly)
        d = std::min(d, Dist2(pt, P.toPointF()));
    return d;
}

} // namespace splinora
