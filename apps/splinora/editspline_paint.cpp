// Drawing of the editing area: grid, openings, background airfoil, spline
// and the thickness texts.

#include "apps/splinora/editspline.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QTransform>

#include <cmath>

#include "apps/splinora/foilroutines.h"

namespace splinora {

void EditSpline::paintEvent(QPaintEvent*)
{
    // A new size, or fields laid out anew, move the chart.
    if (rect() != MyRect || Band_Bottom() != band)
        Update_geometry();
    QPainter painter(this);
    painter.setWindow(MyRect);

    spline_poly = p->spline.make_SplinePoly();
    AdjustSpline_TE();

    p->workAirfoil = normalize_FromScreen(spline_poly);
    infoLines = Thickness_Lines(p->baseAirfoil, QStringLiteral("Background foil: "),
                                QFileInfo(p->baseAirfoilName).baseName())
              + Thickness_Lines(p->workAirfoil, QStringLiteral("Spline ....... : "),
                                QFileInfo(p->spline.airfoilName).baseName());
    const QFontMetricsF metrics(font());
    const QList<QRectF> boxes = Info_Line_Boxes();
    for (int k = 0; k < boxes.size(); ++k)
        painter.drawText(boxes[k].topLeft() + QPointF(0, metrics.ascent()), infoLines[k]);

    if (mousepressed && pnt_selected >= 0 && pnt_selected < p->spline.num_pnt && L_T > 0) {
        const QPointF cp = p->spline.CP[pnt_selected];
        const double x = (cp.x() - xc) / L_T;
        const double y = (yc - cp.y()) / L_T;
        painter.drawText(QPointF(lastPos + QPoint(0, -20)),
                         QString("(%1;%2)").arg(x, 0, 'f', 3).arg(y, 0, 'f', 3));
    }
    ShowKnotString(&painter);

    // The chart keeps below the fields and the figures, however it is
    // zoomed and panned.
    painter.setClipRect(Chart_Area());
    transformPainter(painter);
    painter.save();
    Coor_System(&painter);
    Paint_BackgroundPoly(&painter);
    Paint_Spline(&painter);
    painter.restore();
}

void EditSpline::transformPainter(QPainter& painter)
{
    QTransform t;
    t.translate(p_D.x(), p_D.y());
    t.scale(f_scale, f_scale);
    painter.setTransform(t);
}

void EditSpline::Coor_System(QPainter* painter)
{
    painter->drawLine(QPointF(0, yc), QPointF(2 * xc + L_T, yc));
    painter->drawLine(QPointF(xc, 0), QPointF(xc, L_T));
    if (L_T <= 0)
        return;

    const QPen dotted(QBrush(Qt::darkRed), 0, Qt::DotLine);
    const QPen solid(QBrush(Qt::darkRed), 0, Qt::SolidLine);

    const QFontMetricsF metrics(painter->font());
    scaleLabels = Scale_Labels(QPointF(xc, yc), L_T, 15, Drawn_Foils(),
                               [&metrics](const QString& t) { return metrics.horizontalAdvance(t); },
                               metrics.height());
    painter->setPen(solid);
    for (const ScaleLabel& l : scaleLabels)
        painter->drawText(l.box.topLeft() + QPointF(0, metrics.ascent()), l.text);

    // Chord scale in percent of the chord, a grid line every 10 %.
    const double step = L_T / 100.0;
    for (int k = 0;; ++k) {
        const double x = xc + k * step;
        if (x > TE.x() + 1e-9)
            break;
        if (k % 10 == 0) {
            painter->setPen(dotted);
            painter->drawLine(QPointF(x, 0), QPointF(x, H));
        }
        painter->setPen(solid);
        painter->drawLine(QPointF(x, yc), QPointF(x, yc + 10));
        if (k % 5 == 0)
            painter->drawLine(QPointF(x, yc), QPointF(x, yc + 15));
    }

    // Thickness scale in tenths of the chord, within +-0.4.
    const int tstep = L_T / 10;
    if (tstep > 0) {
        for (int y = yc + 10 * tstep; y > -H; y -= tstep) {
            const long tenths = std::lround(double(yc - y) / tstep);
            if (std::labs(tenths) > 4)
                continue;
            painter->setPen(dotted);
            painter->drawLine(QPointF(xc, y), QPointF(TE.x(), y));
        }
    }

    // The two opening positions.
    painter->setPen(QPen(QBrush(Qt::darkBlue), 1, Qt::SolidLine));
    const double x1 = xc + L_T * p->spline.startVent / 100.0;
    const double x2 = xc + L_T * p->spline.endVent / 100.0;
    // An opening typed far outside the chord has no line on any screen.
    if (std::fabs(x1) < 1e6)
        painter->drawLine(QPointF(x1, yc), QPointF(x1, H));
    if (std::fabs(x2) < 1e6)
        painter->drawLine(QPointF(x2, yc), QPointF(x2, H));
}

QList<QPolygonF> EditSpline::Drawn_Foils() const
{
    QPolygonF background;
    for (const QPointF& pt : p->baseAirfoil)
        background.append(QPointF(xc + pt.x() * L_T, yc - pt.y() * L_T));
    return {background, spline_poly};
}

QList<ScaleLabel> Scale_Labels(QPointF origin, double chord, double tickLength, const QList<QPolygonF>& foils,
                               const std::function<double(const QString&)>& textWidth, double lineHeight)
{
    QList<ScaleLabel> labels;
    if (!(chord > 0))
        return labels;
    // The chord's figures stand in one row under its ticks, lowered below
    // the airfoils' lower sides: written on the chord line they sat on the
    // nose and the tail of the airfoil they measure.
    double rowTop = origin.y() + tickLength + 1;
    for (const QPolygonF& foil : foils)
        for (const QPointF& pt : foil)
            if (std::isfinite(pt.y()) && pt.x() >= origin.x() - 1 && pt.x() <= origin.x() + chord + 1)
                rowTop = std::max(rowTop, pt.y() + 2);
    for (int k = 0; k <= 10; ++k) {
        const QString text = QString::number(0.1 * k, 'f', 1);
        const double w = textWidth(text);
        const double x = origin.x() + chord * k / 10.0;
        // (right of its grid line, which would cross it in its middle)
        labels.append({QRectF(x + 2, rowTop, w, lineHeight), text});
    }
    // The thickness figures left of their axis, where nothing is drawn.
    for (int tenths = 4; tenths >= -4; --tenths) {
        if (tenths == 0)
            continue;
        const QString text = QString::number(0.1 * tenths, 'f', 1);
        const double w = textWidth(text);
        // (on the grid's lines, a whole number of pixels apart)
        const double y = origin.y() - std::floor(chord / 10) * tenths;
        labels.append({QRectF(origin.x() - 3 - w, y - lineHeight / 2, w, lineHeight), text});
    }
    return labels;
}

void EditSpline::Paint_BackgroundPoly(QPainter* painter)
{
    const QPolygonF& foil = p->baseAirfoil;
    if (foil.isEmpty())
        return;
    QPolygonF mapped;
    mapped.reserve(foil.size());
    for (const QPointF& pt : foil)
        mapped.append(QPointF(xc + pt.x() * L_T, yc - pt.y() * L_T));
    painter->setBrush(QBrush(Qt::red));
    for (const QPointF& pt : mapped)
        painter->drawEllipse(pt, 3, 3);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(QBrush(Qt::blue), 2));
    painter->drawPolygon(mapped);
}

void EditSpline::Paint_Spline(QPainter* painter)
{
    Normalize_Spline_Poly();
    SplineFoil s = p->spline;
    if (s.num_pnt <= 0)
        return;
    for (int k = 0; k < s.num_pnt; ++k)
        Paint_Spline_Aux(painter, s.num_pnt, k, s.CP, pnt_selected < s.num_pnt ? pnt_selected : -1);
    painter->setPen(QPen(QBrush(Qt::black), 0));
    for (int i = 0; i < spline_poly.size(); i += 4)
        painter->drawEllipse(spline_poly[i], 2, 2);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(QBrush(Qt::red), 1));
    painter->drawPolyline(spline_poly);
}

void Paint_Spline_Aux(QPainter* painter, int num_pnt, int k, QPointF* CP, int pnt_selected)
{
    if (pnt_selected >= 0) {
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(QBrush(Qt::red), 1));
        painter->drawEllipse(CP[pnt_selected], 9, 9);
    }
    painter->setBrush(QBrush(Qt::white));
    painter->drawEllipse(CP[k], 5, 5);
    painter->setPen(QPen(QBrush(Qt::black), 0));
    if (k < num_pnt - 1)
        painter->drawLine(CP[k], CP[k + 1]);
}

void EditSpline::Paint_thickness(QPolygonF* poly, QPointF pnt, QString S, QPainter* painter)
{
    if (poly->isEmpty())
        return;
    QString St[2];
    FindThickness(poly, St);
    painter->drawText(pnt, QString("%1 || %2").arg(S + St[0], St[1]));
}

void EditSpline::ShowKnotString(QPainter*) {}

} // namespace splinora
