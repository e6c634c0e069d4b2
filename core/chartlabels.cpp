#include "core/chartlabels.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

double Nice_Step(double minimum)
{
    if (!(minimum > 0) || !std::isfinite(minimum))
        return 0;
    const double power = std::pow(10.0, std::floor(std::log10(minimum)));
    // The mantissa is taken with a little slack, so that a minimum of
    // exactly 0.2 (stored a hair above it) stays 0.2 and does not become 0.5.
    const double m = minimum / power;
    for (double nice : {1.0, 2.0, 5.0})
        if (m <= nice * (1 + 1e-9))
            return nice * power;
    return 10 * power;
}

double Next_Nice_Step(double step)
{
    return Nice_Step(step * 1.5);
}

int Step_Decimals(double step)
{
    if (!(step > 0) || !std::isfinite(step))
        return 0;
    // Steps are 1, 2 or 5 times a power of ten: the power gives the digits.
    const int power = int(std::floor(std::log10(step) + 1e-9));
    return std::max(0, -power);
}

QString Tick_Text(double value, int decimals)
{
    QString text = QString::number(value, 'f', std::max(0, decimals));
    // A value that rounds to zero is written without its sign.
    bool allZero = true;
    for (QChar c : text)
        if (c.isDigit() && c != QLatin1Char('0'))
            allZero = false;
    if (allZero && text.startsWith(QLatin1Char('-')))
        text.remove(0, 1);
    return text;
}

namespace {

// Multiples of the step in [lo, hi]; false when there are more than
// maxTicks of them.
bool ticksAt(double lo, double hi, double step, int maxTicks, AxisTicks* out)
{
    AxisTicks& t = *out;
    t = AxisTicks();
    t.step = step;
    t.decimals = Step_Decimals(step);
    const double first = std::ceil(lo / step - 1e-9);
    const double last = std::floor(hi / step + 1e-9);
    if (last - first + 1 > maxTicks)
        return false;
    for (double k = first; k <= last; ++k) {
        const double v = k * step;
        t.values.append(v);
        t.texts.append(Tick_Text(v, t.decimals));
    }
    return true;
}

} // namespace

AxisTicks Axis_Ticks(double lo, double hi, double length, double gap,
                     const std::function<double(const QString&)>& extent, int maxTicks)
{
    if (lo > hi)
        std::swap(lo, hi);
    const double span = hi - lo;
    if (!(span > 0) || !std::isfinite(span) || !(length > 0) || maxTicks < 1)
        return {};
    const double pixelsPerUnit = length / span;
    // Begin with the step at which bare gaps would fit, then widen it until
    // the labels themselves fit too.
    double step = Nice_Step(std::max(gap, 1.0) / pixelsPerUnit);
    for (int tries = 0; tries < 64 && step > 0; ++tries, step = Next_Nice_Step(step)) {
        AxisTicks t;
        if (!ticksAt(lo, hi, step, maxTicks, &t))
            continue;
        double widest = gap;
        if (extent)
            for (const QString& text : t.texts)
                widest = std::max(widest, extent(text) + gap);
        if (step * pixelsPerUnit >= widest)
            return t;
    }
    return {};
}

QList<QRectF> Place_Labels(const QList<QRectF>& wanted, const QList<QPointF>& moves, const QRectF& bounds,
                           const QList<QRectF>& obstacles)
{
    QList<QList<QRectF>> candidates;
    candidates.reserve(wanted.size());
    for (const QRectF& r : wanted) {
        QList<QRectF> places{r};
        for (const QPointF& m : moves)
            places.append(r.translated(m.x() * r.width(), m.y() * r.height()));
        candidates.append(places);
    }
    return Place_Labels_Among(candidates, obstacles, [&bounds](int, const QRectF& r) {
        return bounds.isValid() && !bounds.contains(r);
    });
}

QList<QRectF> Place_Labels_Among(const QList<QList<QRectF>>& candidates, const QList<QRectF>& obstacles,
                                 const std::function<bool(int, const QRectF&)>& refused)
{
    QList<QRectF> placed;
    placed.reserve(candidates.size());
    auto fits = [&](int label, const QRectF& r) {
        for (const QRectF& other : placed)
            if (!other.isNull() && other.intersects(r))
                return false;
        for (const QRectF& other : obstacles)
            if (other.intersects(r))
                return false;
        return !(refused && refused(label, r));
    };
    for (int i = 0; i < candidates.size(); ++i) {
        QRectF at;
        for (const QRectF& r : candidates[i]) {
            if (fits(i, r)) {
                at = r;
                break;
            }
        }
        placed.append(at);
    }
    return placed;
}

QList<QPointF> Label_Moves(int steps)
{
    QList<QPointF> moves;
    for (int k = 1; k <= steps; ++k) {
        moves.append(QPointF(0, k));
        moves.append(QPointF(0, -k));
    }
    moves.append(QPointF(1, 0));
    moves.append(QPointF(-1, 0));
    return moves;
}

bool Labels_Overlap(const QList<QRectF>& rects)
{
    for (int i = 0; i < rects.size(); ++i)
        for (int j = i + 1; j < rects.size(); ++j)
            if (!rects[i].isNull() && !rects[j].isNull() && rects[i].intersects(rects[j]))
                return true;
    return false;
}

double Relative_Luminance(const QColor& c)
{
    auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const QColor rgb = c.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double Contrast_Ratio(const QColor& a, const QColor& b)
{
    const double la = Relative_Luminance(a), lb = Relative_Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor Readable_Text_Colour(const QColor& ground)
{
    const QColor black(Qt::black), white(Qt::white);
    return Contrast_Ratio(black, ground) >= Contrast_Ratio(white, ground) ? black : white;
}

QPalette Readable_Disabled_Palette(QPalette palette, double minimum)
{
    const QPalette::ColorRole pairs[][2] = {{QPalette::ButtonText, QPalette::Button},
                                            {QPalette::WindowText, QPalette::Window},
                                            {QPalette::Text, QPalette::Base}};
    for (const auto& pair : pairs) {
        const QColor ground = palette.color(QPalette::Disabled, pair[1]);
        QColor text = palette.color(QPalette::Disabled, pair[0]);
        if (Contrast_Ratio(text, ground) >= minimum)
            continue;
        const QColor target = Readable_Text_Colour(ground);
        const QColor start = text.toRgb();
        for (int step = 1; step <= 20 && Contrast_Ratio(text, ground) < minimum; ++step) {
            const double t = step / 20.0;
            text = QColor::fromRgbF(float(start.redF() + t * (target.redF() - start.redF())),
                                    float(start.greenF() + t * (target.greenF() - start.greenF())),
                                    float(start.blueF() + t * (target.blueF() - start.blueF())));
        }
        palette.setColor(QPalette::Disabled, pair[0], text);
    }
    return palette;
}
