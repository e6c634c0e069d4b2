#include "aero/pressureview.h"

#include "core/chartlabels.h"

#include "aero/apameres.h"

#include <algorithm>
#include <cmath>

namespace pressureview {

double Wheel_Scale(double scale, int delta)
{
    const double s = std::pow(2.0, delta / 960.0) * scale;
    if (s > 2.0 / 3.0)
        return 2.0 / 3.0;
    return std::max(s, 0.5);
}

double Model_Factor(int sizeExponent)
{
    return 0.0005 * std::pow(2.0, sizeExponent + 1);
}

Viewport Pressure_Viewport(int w, int h)
{
    const int side = 3 * std::min(w, h);
    Viewport v;
    v.rect = QRect((w - side) / 2, 2 * (h - side) / 3, side, side);
    v.yTranslation = h > 0 ? side * 0.15 / h : 0.0;
    return v;
}

void Start_Turns(ViewCamera* camera)
{
    Camera_Preset(camera, 0);
    camera->setXRotation(camera->xRot + kStartTilt);
}

} // namespace pressureview

using namespace pressureview;

void LegendColors(double* table, int n, double lo, double hi)
{
    for (int k = 0; k < n; ++k)
        table[k] = n > 1 ? lo + k * (hi - lo) / (n - 1) : lo;
}

int indexColorOfValue(int n, double v, const double* table)
{
    if (n < 1)
        return kTopIndex;
    double best = 1000000.0;
    int found = -1;
    for (int k = 0; k < n; ++k) {
        const double d = std::fabs(table[k] - v);
        if (d < best) {
            best = d;
            found = k;
        }
    }
    return found < 0 ? kTopIndex : kTopIndex - found;
}

int Index_iRed(int, int i)
{
    const double t = double(i) / kTopIndex;
    return int(255 * (1 - t) * (1 - t));
}

int Index_iGreen(int, int i)
{
    const double t = double(i) / kTopIndex;
    return std::min(int(600 * 2 * t * (1 - t)), 255);
}

int Index_iBlue(int, int i)
{
    const double t = double(i) / kTopIndex;
    return int(255 * t * t);
}

QColor Index_Color(int i)
{
    return QColor(Index_iRed(kScaleSteps, i), Index_iGreen(kScaleSteps, i), Index_iBlue(kScaleSteps, i));
}

int calcX(QPointF a, QPointF b, QPointF c, double t)
{
    return int((1 - t) * (1 - t) * a.x() + 2 * t * (1 - t) * b.x() + t * t * c.x());
}

LegendScene Legend_Scene(const double* values, int n, QSize size, double textHeight,
                         const std::function<double(const QString&)>& textWidth, double margin)
{
    LegendScene scene;
    if (n < 2 || !values || size.isEmpty())
        return scene;
    const int band = size.height() / n;
    if (band < 1)
        return scene;
    for (int k = 0; k < n; ++k)
        scene.bands.append({QRect(0, k * band, size.width(), band), Index_Color(Legend_Band_Index(k))});
    // Band k (from the top) carries value values[n - 1 - k]; a value lies
    // on the scale between the centres of the first and the last band.
    const double lo = values[0], hi = values[n - 1];
    if (!(hi > lo))
        return scene;
    const double top = 0.5 * band, bottom = (n - 0.5) * band;
    const double gap = 0.3 * textHeight;
    const AxisTicks ticks = Axis_Ticks(lo, hi, bottom - top, gap, [textHeight](const QString&) { return textHeight; });
    for (int i = 0; i < ticks.values.size(); ++i) {
        const double y = top + (hi - ticks.values[i]) / (hi - lo) * (bottom - top);
        const QString& text = ticks.texts[i];
        const double w = textWidth ? textWidth(text) : textHeight * text.size() * 0.6;
        QRectF box(margin, y - 0.5 * textHeight, w, textHeight);
        // Whole inside the legend: the end labels are moved in.
        if (box.top() < 0)
            box.moveTop(0);
        if (box.bottom() > n * band)
            box.moveBottom(n * band);
        // Black or white, whichever reads better on every band the label
        // covers; a label across bands that neither reads on gets a plate.
        double best = 0;
        QColor colour(Qt::black);
        for (const QColor& candidate : {QColor(Qt::black), QColor(Qt::white)}) {
            double worst = 21;
            for (const LegendBand& b : std::as_const(scene.bands))
                if (QRectF(b.rect).intersects(box))
                    worst = std::min(worst, Contrast_Ratio(candidate, b.colour));
            if (worst > best) {
                best = worst;
                colour = candidate;
            }
        }
        QColor plate;
        if (best < 4.5)
            plate = colour == QColor(Qt::black) ? QColor(Qt::white) : QColor(Qt::black);
        scene.labels.append({box, text, colour, plate});
    }
    return scene;
}

bool thisPanel(int n, int id, int strip)
{
    if (n < 1 || id % (n + 1) == 0)
        return false;
    return id / (n + 1) == strip;
}

void ListMaxVal(int k, const QList<ArrDouble>& list, double* out)
{
    out[0] = 1e12;
    out[1] = -1e12;
    if (k < 0 || k >= kResultCases)
        return;
    for (int e = 1; e + 1 < list.size(); ++e) {
        out[0] = std::min(out[0], list.at(e).values[k]);
        out[1] = std::max(out[1], list.at(e).values[k]);
    }
}

double Y_Val(double v, const double* range)
{
    const double width = range[1] - range[0];
    if (std::trunc(width) == 0)
        return 0.0;
    return (v - range[0]) / width;
}

QList<ColoredSegment> Arrow_Segments(QVector3D a, QVector3D b)
{
    return {{a, b, QColor(255, 255, 0)}, {b, a / 4 + 3 * b / 4, QColor(255, 0, 0)}};
}

int Legend_Band_Index(int band)
{
    // Band k carries the label of scale entry 29 - k, whose colour index is
    // 30 - (29 - k).
    return band + 1;
}

namespace {

constexpr int kMarkerStrip = 2;

bool nodeKnown(const ApameRes& res, int node)
{
    return node >= 1 && node <= res.nodes.size();
}

} // namespace

QList<PressurePanel> Pressure_Panel_List(const ApameRes& res, int caseIndex, int J, double modelFactor,
                                         const double* table)
{
    QList<PressurePanel> list;
    if (res.panels.size() < 5)
        return list;
    const int c = std::clamp(caseIndex, 0, kResultCases - 1);
    const float f = float(modelFactor);
    for (const PanelInfo& p : res.panels) {
        if (p.type != 1 && p.type != 2)
            continue;
        PressurePanel out;
        out.id = p.id;
        out.cornerCount = p.type == 1 ? 4 : 3;
        // A panel whose numbers the results do not hold (after a partial
        // read) is not drawn rather than read out of bounds.
        if (p.id < 1 || p.id > res.normals.size())
            continue;
        bool known = true;
        for (int q = 0; q < out.cornerCount; ++q)
            known = known && nodeKnown(res, p.nodes[q]);
        if (!known)
            continue;
        for (int q = 0; q < out.cornerCount; ++q) {
            const QVector3D& n = res.nodes.at(p.nodes[q] - 1);
            out.corners[q] = QVector3D(n.x() * f, n.y() * f, -n.z() * f);
        }
        // The normal follows the corners back into the design frame.
        const QVector3D& n = res.normals.at(p.id - 1);
        out.normal = QVector3D(n.x(), n.y(), -n.z());

        if (thisPanel(J, p.id, kMarkerStrip)) {
            out.color = QColor(0, 255, 0);
        } else if (p.id <= res.cp.size()) {
            // Each panel shows its own pressure.
            out.colorIndex = indexColorOfValue(kScaleSteps, res.cp.at(p.id - 1).values[c], table);
            out.color = Index_Color(out.colorIndex);
        } else {
            out.color = QColor(128, 128, 128);
        }
        out.edge = out.color.darker(140);
        list.append(out);
    }
    return list;
}
