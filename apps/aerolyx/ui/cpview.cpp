#include "apps/aerolyx/ui/cpview.h"

#include "apps/aerolyx/calc/conformalmap.h"
#include "apps/aerolyx/calc/flow.h"
#include "core/transf.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace aerolyx {

namespace {
constexpr int kChordDivisions = 15;
constexpr int kCpDivisions = 5;
constexpr int kFirstUpper = 15;
constexpr int kLastUpper = 64;
constexpr int kFirstLower = 65;
constexpr int kLastLower = 112;

QFont Bold_Font(const QFont& base)
{
    QFont font = base;
    font.setPixelSize(12);
    font.setWeight(QFont::Bold);
    return font;
}
} // namespace

cpCoef::cpCoef(QWidget* parent)
    : ZoomView(parent)
{
    repaint();
}

QPointF cpCoef::Chart(double x, double cp) const
{
    return {leftMargin + x * chartWidth, middle + cp * halfHeight / cpSpan};
}

QString cpCoef::Chord_Label(int i)
{
    // The grid divides the chord into fifteen parts.
    return Fixed(double(i) / kChordDivisions, 2);
}

QList<QRectF> cpCoef::Chord_Label_Boxes() const
{
    // The rows below Cp = 2 stay free of the curves (the stagnation point
    // has Cp = 1), and the airfoil lies on the Cp = 0 line.
    const int w = width() - 1, h = height() - 1;
    const double left = 0.1 * w, dx = 0.85 * w / kChordDivisions;
    const QFontMetricsF metrics(font());
    QList<QRectF> boxes;
    for (int i = 0; i <= kChordDivisions; ++i) {
        const double tw = metrics.horizontalAdvance(Chord_Label(i));
        boxes << QRectF(left + i * dx - tw / 2, h - 4 - metrics.height(), tw, metrics.height());
    }
    return boxes;
}

void cpCoef::Raster_Net(QPainter* painter)
{
    rectW = width() - 1;
    rectH = height() - 1;
    chartWidth = 0.85 * rectW;
    halfHeight = 0.45 * rectH;
    leftMargin = 0.1 * rectW;
    middle = 0.5 * rectH;
    const double dx = chartWidth / kChordDivisions, dy = halfHeight / kCpDivisions;

    painter->setPen(QPen(QBrush(Qt::black), 0, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin));
    const QList<QRectF> chordLabels = Chord_Label_Boxes();
    for (int i = 0; i <= kChordDivisions; ++i) {
        const double x = leftMargin + i * dx;
        painter->drawLine(QPointF(x, 0), QPointF(x, rectH));
        painter->drawText(chordLabels[i], Qt::AlignCenter, Chord_Label(i));
    }
    for (int j = 0; j <= 3 * kCpDivisions; ++j) {
        const double up = middle - j * dy, down = middle + j * dy;
        painter->drawLine(QPointF(leftMargin, up), QPointF(rectW, up));
        painter->drawLine(QPointF(leftMargin, down), QPointF(rectW, down));
        if (j % 2 == 0) {
            painter->drawText(QPointF(leftMargin - 30, up), Fixed(-yLabelStep * j, 1));
            painter->drawText(QPointF(leftMargin - 30, down), Fixed(yLabelStep * j, 1));
        }
    }
    painter->setFont(Bold_Font(painter->font()));
    painter->drawText(10, 15, "Cp(alpha attack)");
    // The axis' name above its last labels.
    painter->drawText(QPointF(rectW - 50, chordLabels.last().top() - 4), "[x/c]");
    painter->drawText(int(leftMargin + 15), 30, "[Cp]");
    painter->setPen(QPen(Qt::red, 1));
    painter->drawText(rectW / 2, 30, "________ Up side cp ");
    painter->setPen(QPen(Qt::blue, 1));
    painter->drawText(rectW / 2, 50, "________ lower side cp ");
    painter->setPen(QPen(Qt::black, 1));
    painter->drawText(rectW / 2, 70, "________ difference ");
}

void cpCoef::paint_airfoil(QPainter* painter)
{
    outline.clear();
    const double a = M_PI * data->attackAngle / 180.0;
    for (int i = 0; i <= 128; ++i) {
        const QPointF m = f_conform(data, kMapCoefs, 1.0, i * M_PI / 64.0, data->mapShiftX, data->mapShiftY,
                                    data->mapScale, data->mapCoefA, data->mapCoefB);
        const QPointF t = RotFix(a, 1.0, 0.0, QPointF(m.x(), -m.y()));
        outline << QPointF(leftMargin + t.x() * chartWidth, middle + t.y() * chartWidth);
    }
    painter->setPen(QPen(Qt::cyan, 2));
    painter->drawPolyline(outline);
}

void cpCoef::CP_Polar(QPainter* painter)
{
    if (outline.isEmpty())
        return;
    upperCurve.clear();
    lowerCurve.clear();
    differenceCurve.clear();
    double x1[129] = {}, x2[129] = {}, cp1[129] = {}, cp2[129] = {};
    f_CP_Polar(data, flowAngle, x1, x2, cp1, cp2);

    for (int i = kFirstUpper; i <= kLastUpper; ++i)
        upperCurve << Chart(x1[i], cp1[i]);
    painter->setPen(QPen(Qt::red, 0));
    painter->drawPolyline(upperCurve);
    for (int i = kFirstLower; i <= kLastLower; ++i)
        lowerCurve << Chart(x2[i], cp2[i]);
    painter->setPen(QPen(Qt::blue, 0));
    painter->drawPolyline(lowerCurve);

    // The difference pairs each upper station with the outline point on the
    // lower side just before its x.
    data->cpPoints.clear();
    const int nose = f_nose_index(outline);
    if (nose >= 3) {
        for (int i = 1; i <= nose - 2; ++i) {
            const int k = Find_i2_index(outline, nose, i);
            if (k < 64 || k > 128)
                continue;
            const QPointF p = Chart(x1[i], cp1[i] - cp2[k]);
            if (p.x() <= leftMargin)
                continue;
            differenceCurve << p;
            if (x1[i] > 0)
                data->cpPoints << QPointF(x1[i], cp2[k] - cp1[i]);
        }
    }
    if (!differenceCurve.isEmpty()) {
        painter->setPen(QPen(Qt::black, 1));
        painter->drawPolyline(differenceCurve);
    }
}

void cpCoef::paintEvent(QPaintEvent*)
{
    flowAngle = Effective_Angle(data);
    QPainter painter(this);
    Apply_Zoom(&painter);
    if (data->zeroFoil.isEmpty())
        return;
    Raster_Net(&painter);
    paint_airfoil(&painter);
    CP_Polar(&painter);
}

int f_nose_index(const QPolygonF& p)
{
    const int n = p.size();
    if (n < 7)
        return 0;
    int index = 0;
    double least = 1e6;
    for (int i = 3; i <= n - 4; ++i) {
        if (std::fabs(p[i].x()) < least) {
            least = std::fabs(p[i].x());
            index = i;
        }
    }
    return index;
}

int Find_i2_index(const QPolygonF& p, int nose, int i)
{
    const int n = p.size();
    if (n == 0)
        return 0;
    if (i == nose)
        return i;
    const double xv = p[i].x();
    int k = nose + 2;
    if (k >= n || !(p[k].x() < xv))
        return nose;
    while (k + 1 < n && p[k + 1].x() < xv)
        ++k;
    return k;
}

int Find_i1_index(const QPolygonF& p, int nose, int i)
{
    const int n = p.size();
    if (n == 0)
        return 0;
    if (i == nose)
        return i;
    if (i < 0 || i >= n || nose <= 1 || nose >= n)
        return 0;
    const double xv = p[i].x();
    if (!(p[1].x() > xv))
        return 0;
    int j = 1;
    while (j + 1 < nose && p[j + 1].x() > xv)
        ++j;
    return j;
}

} // namespace aerolyx
