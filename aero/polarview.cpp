#include "aero/polarview.h"

#include "aero/polar.h"

#include "core/cellgrid.h"
#include "core/chartlabels.h"
#include "core/parastruct.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const char* const kRowPattern = " \t%1 \t1:%2 \t%3 \t%4 \t%5 ";
const char* const kHeadingPattern = " \t%1 \t %2 \t%3 \t%4 \t%5 ";

QString fixed(double v, int decimals)
{
    return QString::number(v, 'f', decimals);
}

QString column(double v)
{
    return QStringLiteral("%1").arg(v, 7, 'f', 2);
}

QString heading(const QStringList& texts)
{
    QString s = QLatin1String(kHeadingPattern);
    for (const QString& t : texts)
        s = s.arg(t);
    return s;
}

} // namespace

QList<PolarTableLine> Polar_Table_Lines(const ParaStruct& design, const Polar& polar, const QString& emptyReason)
{
    const ParaStruct* P = &design;
    const QList<CalageClass>& rows = polar.rows;
    QList<PolarTableLine> out;
    auto add = [&out](const QString& text, bool best = false) { out.append({text, best}); };
    const QString separatorA = QStringLiteral("\t ") + QString(83, QLatin1Char('-'));
    const QString separatorB = QStringLiteral("\t ") + QString(93, QLatin1Char('-'));
    const bool towed = P->towForce > 0;

    add(QStringLiteral("\n \t   P O L A R    T A B L E  \t model: %1 ")
            .arg(P->smoothModel ? QStringLiteral(" SMOOTH") : QStringLiteral(" INFLATED ")));
    add(QStringLiteral("\t File:\t %1   \t   with number of cells: %2").arg(P->projectName).arg(P->cells));
    add(separatorA);
    add(QStringLiteral("\t Wing span [m]: %1 \t Center chord [m]: %2  ")
            .arg(fixed(P->span, 3), fixed(P->R_X(P->chord[0]), 3)));
    add(QStringLiteral("\t Skin tension: %1  \t\t Max.rel.extension [%]: %2")
            .arg(fixed(0.5, 2), fixed(Max_Relative_Extension(P), 2)));
    add(QStringLiteral("\n\t Flat square [m2]: %1   \t Proj.square [m2]: %2")
            .arg(fixed(P->flatArea, 2), fixed(P->projectedArea, 2)));
    add(QStringLiteral("\t Total weight [kg]: %1  \t Load [kg/m2]: %2")
            .arg(fixed(P->totalWeight, 1), fixed(P->totalWeight / P->flatArea, 2)));
    add(QStringLiteral("\n\t Flat aspect ratio: %1   \t Proj. aspect ratio: %2")
            .arg(fixed(P->flatAspectRatio, 2), fixed(P->projectedAspectRatio, 2)));
    add(QStringLiteral("\t Ropes square: %1 [m2] \t Ropes moment factor: %2")
            .arg(fixed(polar.ropesArea, 3), fixed(P->ropesMomentFactor, 3)));
    add(QStringLiteral("\n\t Ropes Cd: %1  \t\t Oswald factor: %2").arg(fixed(P->ropesCd, 2), fixed(P->oswaldFactor, 2)));
    add(QStringLiteral("\t Pilot face: %1 [m2]  \t Pilot Cd: %2 ").arg(fixed(P->pilotArea, 2), fixed(P->pilotCd, 2)));
    add(QStringLiteral("\n\t PULL force [N]: %1").arg(fixed(kGravity * P->towForce, 2)));
    add(separatorA);
    add(QStringLiteral("\t Current twist[deg]: %1  \t Profile alignment [%]: %2")
            .arg(fixed(P->maxTwistAngle, 2), fixed(P->profileAlignment, 2)));
    add(separatorA);

    const QString blank(8, QLatin1Char(' '));
    add(heading({blank, blank, blank, blank, QStringLiteral("Pilot")}));
    add(heading({QStringLiteral("Speed  "), towed ? QStringLiteral("Vup    ") : QStringLiteral("finesse"),
                 QStringLiteral("gama   "), QStringLiteral(" AoA    "), QStringLiteral("displacement")}));
    add(heading({QStringLiteral("[km/h] "), towed ? QStringLiteral("[m/s]  ") : QStringLiteral("1:X    "),
                 QStringLiteral("[deg]  "), QStringLiteral("[deg]  "), QStringLiteral("from LE[%]")}));
    add(separatorB);

    const int best = get_opt_gama(rows);
    for (int k = 0; k < rows.size(); ++k) {
        const CalageClass& r = rows.at(k);
        add(QString::fromLatin1(kRowPattern)
                .arg(column(r.speed * 3.6), r.ratioText, column(r.gama), column(r.alfa),
                     column(100 * calculate_displacement_shift(design, r.calage))),
            !towed && k == best);
    }
    if (rows.isEmpty()) {
        QString why = emptyReason;
        if (why.isEmpty())
            why = towed ? QStringLiteral("No angle of attack gives a climb on the tow line with these values.")
                        : QStringLiteral("No angle of attack from 1 degree up gives a gliding descent with "
                                         "these values.");
        add(QStringLiteral("\t ") + why);
    }
    return out;
}

bool Polar_Chart(const ParaStruct& design, const Polar& P, int kind, PolarChart* c)
{
    using namespace polarchart;
    const QString alpha = QStringLiteral("angle of attack [deg]");
    // Areas over the flat area are coefficients again.
    const double perArea = design.flatArea != 0 ? 1 / design.flatArea : 1.0;
    *c = PolarChart();
    c->count = kPolarCases;
    c->x = P.aeroAngle;
    switch (kind) {
    case kDrag:
        c->y = P.profileDragArea;
        c->title = QStringLiteral("Cd");
        c->xCaption = alpha;
        c->yCaption = QStringLiteral("Cd");
        c->sy = perArea;
        return true;
    case kLift:
        c->y = P.liftArea;
        c->title = QStringLiteral("LIFT Cl");
        c->xCaption = alpha;
        c->yCaption = QStringLiteral("Cl");
        c->sy = perArea;
        return true;
    case kGlideOverAlpha:
        c->y = P.polarGama;
        c->title = QStringLiteral("Finesse(alfa)");
        c->xCaption = QStringLiteral("alfa[deg] ");
        c->yCaption = QStringLiteral("gama[deg]");
        return true;
    case kGlideOverCalage:
        c->mode = ChartMode::Finesse;
        c->x = P.polarSigma;
        c->y = P.polarGama;
        c->title = QStringLiteral("Finesse(calage)  ");
        c->xCaption = QStringLiteral("calage[%]");
        c->yCaption = QStringLiteral("gama[deg] ");
        c->sx = 100;
        return true;
    case kMoment:
        // The case table holds the solver's moment coefficient as it is.
        c->y = P.momentCoeff;
        c->title = QStringLiteral("MOMENT GRAPH Cm(alpha) ");
        c->xCaption = alpha;
        c->yCaption = QStringLiteral("Cm");
        return true;
    case kSpeedPolar:
        c->mode = ChartMode::Velocity;
        c->count = std::clamp(P.polarRowCount, 0, kSpeedSlots);
        c->x = P.polarVx;
        c->y = P.polarVy;
        c->title = QStringLiteral("Velocity polar");
        c->xCaption = QStringLiteral("Vx[m/sec]");
        c->yCaption = QStringLiteral("Vy[m/sec]");
        c->gx = 5;
        return true;
    default:
        return false;
    }
}

QPolygonF Chart_Points(ChartMode mode, int n, const double* x, const double* y)
{
    QPolygonF points;
    const bool all = mode == ChartMode::Finesse;
    const double sign = mode == ChartMode::Velocity ? 1.0 : -1.0;
    for (int i = all ? 0 : 1; i < (all ? n : n - 1); ++i)
        points.append(QPointF(x[i], sign * y[i]));
    return points;
}

int Chart_Y_Decimals(ChartMode mode, int gy)
{
    if (mode == ChartMode::Finesse)
        return gy / 10 > 1 ? gy / 10 : 2;
    return gy / 10 > 2 ? gy / 10 : 3;
}

void calcMinMax(const QPolygonF& points, double* xMin, double* xMax, double* yMin, double* yMax)
{
    *xMin = *yMin = 1e6;
    *xMax = *yMax = -1e6;
    for (const QPointF& p : points) {
        *xMin = std::min(*xMin, p.x());
        *xMax = std::max(*xMax, p.x());
        *yMin = std::min(*yMin, p.y());
        *yMax = std::max(*yMax, p.y());
    }
}

int opt_Vx_poly(const QPolygonF& points)
{
    std::vector<double> u, v;
    for (const QPointF& p : points) {
        u.push_back(p.x());
        v.push_back(p.y());
    }
    return Tangent_Point_Index(int(points.size()), u.data(), v.data(), 1e6);
}

QString Optimum_Text(QPointF p)
{
    const double v = std::hypot(p.x(), p.y());
    return QStringLiteral("(canopy optimum Vx:%1 m/s; Vy:%2 m/s)  result V= %3 km/h")
        .arg(fixed(p.x(), 2), fixed(p.y(), 2), fixed(v * 3.6, 2));
}

namespace {

// Small squares along a polyline, every 3 pixels, that a text must not touch.
void coverLine(const QPolygonF& line, QList<QRectF>* cover)
{
    for (int i = 1; i < line.size(); ++i) {
        const QLineF segment(line[i - 1], line[i]);
        const int steps = std::clamp(int(segment.length() / 3), 1, 2000);
        for (int k = 0; k <= steps; ++k)
            cover->append(QRectF(segment.pointAt(double(k) / steps) - QPointF(1.5, 1.5), QSizeF(3, 3)));
    }
}

QRectF placed(const QRectF& wanted, const QList<QPointF>& moves, const QRectF& bounds,
              const QList<QRectF>& obstacles)
{
    const QRectF at = Place_Labels({wanted}, moves, bounds, obstacles).first();
    return at.isNull() ? wanted : at;
}

} // namespace

ChartTextBoxes Place_Chart_Texts(const QRectF& bounds, const QPolygonF& curve, const QLineF& tangent,
                                 const QList<QRectF>& obstacles, const QRectF& title, const QRectF& note,
                                 const QRectF& xCaption, const QRectF& yCaption)
{
    QList<QRectF> cover = obstacles;
    coverLine(curve, &cover);
    if (!tangent.isNull())
        coverLine(QPolygonF({tangent.p1(), tangent.p2()}), &cover);

    ChartTextBoxes out;
    // The captions name the axes: a curve running through one (the moment
    // over the angle crossed the x caption) hides the name and the curve.
    if (!xCaption.isNull()) {
        QList<QPointF> foot;
        for (int k = 1; k <= 24; ++k)
            foot << QPointF(-0.1 * k, 0) << QPointF(0.1 * k, 0);
        for (int up = 1; up <= 6; ++up)
            for (int k = 0; k <= 12; ++k)
                foot << QPointF(-0.2 * k, -1.0 * up) << QPointF(0.2 * k, -1.0 * up);
        out.xCaption = placed(xCaption, foot, bounds, cover);
        cover.append(out.xCaption);
    }
    if (!yCaption.isNull()) {
        QList<QPointF> side;
        for (int k = 1; k <= 12; ++k)
            side << QPointF(0, -0.1 * k) << QPointF(0, 0.1 * k);
        for (int right = 1; right <= 4; ++right)
            for (int k = 0; k <= 12; ++k)
                side << QPointF(1.0 * right, -0.1 * k) << QPointF(1.0 * right, 0.1 * k);
        out.yCaption = placed(yCaption, side, bounds, cover);
        cover.append(out.yCaption);
    }

    QList<QPointF> along;
    for (double down : {0.0, 1.0}) {
        if (down > 0)
            along << QPointF(0, down);
        for (int k = 1; k <= 12; ++k)
            along << QPointF(0.25 * k, down) << QPointF(-0.25 * k, down);
    }
    out.title = placed(title, along, bounds, cover);
    if (note.isNull())
        return out;

    cover.append(out.title);
    QList<QPointF> near;
    for (int k = 1; k <= 16; ++k)
        for (double dy : {0.5 * k, -0.5 * k})
            for (double dx : {0.0, 0.25, -0.25, 0.5, -0.5})
                near << QPointF(dx, dy);
    out.note = placed(note, near, bounds, cover);
    return out;
}
