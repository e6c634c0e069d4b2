#include "apps/aerolyx/ui/cpview.h"

#include "apps/aerolyx/calc/conformalmap.h"
#include "apps/aerolyx/calc/flow.h"
#include "core/chartlabels.h"
#include "core/transf.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>

#include <algorithm>
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
}

namespace {
const char* const kTitle = "Cp(alpha attack)";
const char* const kCpName = "[Cp]";
const char* const kLegend[3] = {"________ Up side cp ", "________ lower side cp ", "________ difference "};
constexpr double kLegendLine = 20; // pixels from one legend line to the next
} // namespace

QList<QRectF> cpCoef::Text_Boxes() const
{
    const int w = width() - 1, h = height() - 1;
    const double left = 0.1 * w;
    const QFontMetricsF metrics(Bold_Font(font()));
    const double th = metrics.height(), ascent = metrics.ascent();
    double legendWidth = 0;
    for (const char* line : kLegend)
        legendWidth = std::max(legendWidth, metrics.horizontalAdvance(QString::fromLatin1(line)));
    const QSizeF title(metrics.horizontalAdvance(QString::fromLatin1(kTitle)), th);
    const QSizeF cpName(metrics.horizontalAdvance(QString::fromLatin1(kCpName)), th);
    const QSizeF legend(legendWidth, 2 * kLegendLine + th);

    // Below the Cp = 2 line and above the chord labels the curves do not
    // run (the stagnation point has Cp = 1): the texts' second choice.
    const QList<QRectF> chord = Chord_Label_Boxes();
    const double lowest = chord.first().top() - 4;
    auto row = [&](const QSizeF& size, double top, double from, double to) {
        QList<QRectF> places;
        for (double x = from; x + size.width() <= to; x += 0.25 * size.width())
            places << QRectF(QPointF(x, top), size);
        return places;
    };
    QList<QList<QRectF>> candidates;
    candidates << (QList<QRectF>{QRectF(QPointF(10, 15 - ascent), title)} + row(title, 15 - ascent, 10, w)
                   + row(title, lowest - th, 10, w));
    candidates << (QList<QRectF>{QRectF(QPointF(left + 15, 30 - ascent), cpName)} + row(cpName, 30 - ascent, left, w)
                   + row(cpName, 15 - ascent, left, w) + row(cpName, lowest - 2 * th, 10, w));
    candidates << (QList<QRectF>{QRectF(QPointF(w / 2, 30 - ascent), legend)} + row(legend, 30 - ascent, left, w)
                   + row(legend, lowest - th - legend.height(), left, w));

    QList<QRectF> obstacles = chord;
    for (const QPolygonF* curve : {&upperCurve, &lowerCurve, &differenceCurve, &outline}) {
        for (int i = 1; i < curve->size(); ++i) {
            const QLineF segment(curve->at(i - 1), curve->at(i));
            const int steps = std::clamp(int(segment.length() / 3), 1, 1000);
            for (int k = 0; k <= steps; ++k)
                // (with a few pixels of air around the line)
                obstacles << QRectF(segment.pointAt(double(k) / steps) - QPointF(3, 3), QSizeF(6, 6));
        }
    }
    const QRectF view(0, 0, w, h);
    QList<QRectF> boxes =
        Place_Labels_Among(candidates, obstacles, [&view](int, const QRectF& box) { return !view.contains(box); });
    for (int i = 0; i < boxes.size(); ++i)
        if (boxes[i].isNull())
            boxes[i] = candidates[i].first();
    return boxes;
}

void cpCoef::Paint_Texts(QPainter* painter)
{
    const QFont bold = Bold_Font(painter->font());
    painter->setFont(bold);
    const double ascent = QFontMetricsF(bold).ascent();
    const QList<QRectF> boxes = Text_Boxes();
    painter->setPen(QPen(Qt::black, 0));
    painter->drawText(boxes[TitleText].topLeft() + QPointF(0, ascent), QString::fromLatin1(kTitle));
    // The axis' name above its last labels.
    painter->drawText(QPointF(rectW - 50, Chord_Label_Boxes().last().top() - 4), "[x/c]");
    painter->drawText(boxes[CpText].topLeft() + QPointF(0, ascent), QString::fromLatin1(kCpName));
    const Qt::GlobalColor colours[3] = {Qt::red, Qt::blue, Qt::black};
    for (int i = 0; i < 3; ++i) {
        painter->setPen(QPen(colours[i], 1));
        painter->drawText(boxes[LegendText].topLeft() + QPointF(0, ascent + i * kLegendLine),
                          QString::fromLatin1(kLegend[i]));
    }
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
    // Last: the texts keep off the curves just drawn.
    Paint_Texts(&painter);
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
