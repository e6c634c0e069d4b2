#include "core/airfoil.h"

#include "core/mygsllib.h"
#include "core/notify.h"

#include <QFile>
#include <QObject>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

#include <cmath>
#include <limits>

namespace {

// ---------------------------------------------------------------- reading

// Punctuation removed from every line before it is split into numbers.
bool isStrayCharacter(QChar c)
{
    static const QString stray = QStringLiteral("?!'`_@#$%^&*(){}[]|;:/><~=+\u00AB\u00BB");
    return stray.contains(c);
}

bool isNumericChar(QChar c)
{
    return c.isDigit() || c == u'.' || c == u'-';
}

// A number with an exponent, as the line cleaning leaves it (the "+" of
// "1.0E+00" is gone by then).
bool isExponentNumber(const QString& token)
{
    static const QRegularExpression number(
        QStringLiteral("^-?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)[eE]-?[0-9]+$"));
    return number.match(token).hasMatch();
}

bool isPlainNumber(const QString& token)
{
    static const QRegularExpression number(QStringLiteral("^-?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    return number.match(token).hasMatch();
}

// Splits a cleaned line that holds letters: it is still a data line when it
// is two or three numbers, at least one of them written with an exponent.
bool splitExponentLine(const QString& line, QString* fields)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList tokens = line.split(blanks, Qt::SkipEmptyParts);
    if (tokens.size() < 2 || tokens.size() > 3)
        return false;
    bool anyExponent = false;
    for (const QString& t : tokens) {
        const bool exp = isExponentNumber(t);
        if (!exp && !isPlainNumber(t))
            return false;
        anyExponent = anyExponent || exp;
    }
    if (!anyExponent)
        return false;
    for (int i = 0; i < 3; ++i)
        fields[i] = i < tokens.size() ? tokens[i] : QString();
    return true;
}

// Cleans one line of the file and, when it is a data line, splits it into
// the three number fields. Returns false for headers, comments and empty lines.
bool splitDataLine(const QString& raw, QString* fields, QString* cleaned = nullptr)
{
    const QString line = clean(raw);
    if (cleaned)
        *cleaned = line;
    if (line.isEmpty())
        return false;
    if (!isLatString(line)) {
        FindNumericSubStrings(line, fields);
        return true;
    }
    return splitExponentLine(line, fields);
}

// Parses a repaired number string; anything that is not a finite number
// counts as 0.
double parseDouble(const QString& s)
{
    bool ok = false;
    const double v = s.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

float parseFloat(const QString& s)
{
    bool ok = false;
    const float v = s.toFloat(&ok);
    return ok && std::isfinite(v) ? v : 0.0f;
}

// Reads a text file line by line (UTF-8, end-of-line characters and a
// leading byte-order mark removed). Lines of any length are read in one
// piece without copying the buffer over and over.
class LineReader
{
public:
    bool open(const QString& path)
    {
        if (path.isEmpty())
            return false;
        file.setFileName(path);
        return file.open(QIODevice::ReadOnly | QIODevice::Text);
    }
    bool atEnd() const { return file.atEnd(); }
    QString readLine()
    {
        QByteArray bytes = file.readLine();
        while (bytes.endsWith('\n') || bytes.endsWith('\r'))
            bytes.chop(1);
        QString line = QString::fromUtf8(bytes);
        if (first && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        first = false;
        return line;
    }

private:
    QFile file;
    bool first = true;
};

// Calls take(fields) for every data line of the file, in file order, until
// take returns false or the file ends. False when the file cannot be read.
template <typename Take>
bool forEachDataLine(const QString& path, Take take)
{
    LineReader in;
    if (!in.open(path))
        return false;
    QString fields[3];
    while (!in.atEnd()) {
        const QString raw = in.readLine();
        if (splitDataLine(raw, fields) && !take(fields))
            break;
    }
    return true;
}

// The x, y1 and y2 columns of a file, up to the reader capacity, parsed in
// single precision.
struct Columns {
    QList<float> x, y, y2;
};

Columns readColumns(const QString& path)
{
    Columns c;
    forEachDataLine(path, [&c](const QString* fields) {
        c.x.append(parseFloat(Repair_NumString(fields[0])));
        c.y.append(parseFloat(Repair_NumString(fields[1])));
        c.y2.append(parseFloat(Repair_NumString(fields[2])));
        return c.x.size() < kReaderLineCapacity;
    });
    return c;
}

// A data line that holds two whole numbers of at least 2 and nothing else:
// the point counts of the two sides in a file that lists them separately.
bool isCountsLine(const QString* fields, double* upper, double* lower)
{
    if (fields[0].isEmpty() || fields[1].isEmpty() || !fields[2].isEmpty())
        return false;
    bool okUpper = false, okLower = false;
    const double u = Repair_NumString(fields[0]).toDouble(&okUpper);
    const double l = Repair_NumString(fields[1]).toDouble(&okLower);
    const auto whole = [](double v) { return std::isfinite(v) && v >= 2.0 && v <= 1e6 && v == std::floor(v); };
    if (!okUpper || !okLower || !whole(u) || !whole(l))
        return false;
    *upper = u;
    *lower = l;
    return true;
}

// True for a file that lists the upper and the lower side separately, each
// from the leading edge to the trailing edge, after a line with their point
// counts ("61. 61."). The layout scan would take it for a symmetric half
// contour or for a plain table whose first point is the counts line; either
// gives an airfoil that is not the file's. It is recognised by the counts
// matching the points that follow, or by the points starting again at the
// leading edge after the first count.
bool isSeparateSidesFile(const QString& path)
{
    double upper = 0, lower = 0;
    bool first = true, counted = false;
    QList<double> x;
    forEachDataLine(path, [&](const QString* fields) {
        if (first) {
            first = false;
            counted = isCountsLine(fields, &upper, &lower);
            return counted;
        }
        x.append(parseDouble(Repair_NumString(fields[0])));
        return true;
    });
    if (!counted || x.size() < 4)
        return false;
    if (upper + lower == double(x.size()))
        return true;
    const int restart = int(upper);
    if (restart >= x.size())
        return false;
    const double lo = *std::min_element(x.begin(), x.end());
    const double hi = *std::max_element(x.begin(), x.end());
    const double near = 0.01 * (hi - lo);
    return hi > lo && x.first() - lo <= near && x[restart] - lo <= near && hi - x[restart - 1] <= near;
}

} // namespace

QString clean(const QString& line)
{
    QString out;
    out.reserve(line.size());
    for (QChar c : line) {
        if (c == u'\t')
            c = u' ';
        else if (c == u',')
            c = u'.';
        else if (isStrayCharacter(c))
            continue;
        out.append(c);
    }
    return out.trimmed();
}

bool isLatString(const QString& s)
{
    for (QChar c : s)
        if (c.isLetter())
            return true;
    return false;
}

void FindNumericSubStrings(const QString& line, QString* fields)
{
    for (int i = 0; i < 3; ++i)
        fields[i].clear();
    int slot = 0;
    bool separator = false;
    for (QChar c : line) {
        if (isNumericChar(c)) {
            if (slot < 3)
                fields[slot].append(c);
            separator = false;
        } else if (!separator) {
            ++slot;
            if (slot >= 3) // the fourth number on: nowhere to put it
                return;
            fields[slot].clear();
            separator = true;
        }
    }
}

QString Repair_NumString(const QString& s)
{
    QString r = s;
    if (r.startsWith(u'.'))
        r.replace(QStringLiteral("."), QStringLiteral("0."));
    else
        r.replace(QStringLiteral("-."), QStringLiteral("-0."));
    return r;
}

QPolygonF Read_Symetric(const QString& path)
{
    const Columns c = readColumns(path);
    const int n = c.x.size();
    QPolygonF out;
    if (n < 2)
        return out;
    out.reserve(2 * n - 3);
    for (int k = n - 1; k >= 1; --k)
        out.append(QPointF(c.x[k], c.y[k]));
    for (int k = 2; k < n; ++k)
        out.append(QPointF(c.x[k], -c.y[k]));
    return out;
}

QPolygonF Read_Eppler(const QString& path)
{
    const Columns c = readColumns(path);
    const int n = c.x.size();
    QPolygonF out;
    out.reserve(2 * n);
    for (int k = n - 1; k >= 0; --k)
        out.append(QPointF(c.x[k], c.y2[k]));
    for (int k = 0; k < n; ++k)
        out.append(QPointF(c.x[k], c.y[k]));
    return out;
}

QPolygonF Read_Normal(const QString& path, AirfoilReader variant)
{
    QPolygonF out;
    const bool doublePrecision = variant == AirfoilReader::Main;
    forEachDataLine(path, [&](const QString* fields) {
        const QString xs = Repair_NumString(fields[0]);
        const QString ys = Repair_NumString(fields[1]);
        if (doublePrecision)
            out.append(QPointF(parseDouble(xs), parseDouble(ys)));
        else
            out.append(QPointF(parseFloat(xs), parseFloat(ys)));
        return true;
    });
    return out;
}

QPolygonF Read_All_AirfoilTypes(const QString& path, AirfoilReader variant, QString* why)
{
    const auto refuse = [why](const QString& text) {
        if (why)
            *why = text;
        return QPolygonF();
    };
    LineReader in;
    if (!in.open(path))
        return refuse(QObject::tr("The file cannot be opened."));
    if (isSeparateSidesFile(path))
        return refuse(QObject::tr("The file lists the upper and the lower side separately, each from the "
                                  "leading edge, after a line with their point counts. That layout is not "
                                  "read: the points must run from the trailing edge over one side round the "
                                  "nose and back over the other."));

    // The first three data lines decide. A first number of 0 or below among
    // the first four lines marks a leading-edge line; from then on every
    // compared value is shifted by -1, which tells a symmetric half contour
    // in percent of chord from a table in unit chord.
    const double unset = std::numeric_limits<double>::quiet_NaN();
    double offset = 0.0;
    double values[3] = {unset, unset, unset};
    int dataLines = 0;
    int lineIndex = 0;
    int pointCount = 0;
    QString fields[3];
    QString line;
    while (!in.atEnd()) {
        const QString raw = in.readLine();
        if (!splitDataLine(raw, fields, &line)) {
            pointCount = 0;
        } else {
            pointCount = 0;
            for (qsizetype i = 0; i + 1 < line.size(); ++i)
                if (line[i] == u'.' || line[i] == u',')
                    ++pointCount;
            const double first = parseDouble(fields[0]);
            const bool leadingEdge = variant == AirfoilReader::Aerolyx ? first < 0.0 : first <= 0.0;
            if (lineIndex <= 3 && leadingEdge)
                offset = -1.0;
            values[dataLines] = double(parseFloat(Repair_NumString(fields[0]))) + offset;
            ++dataLines;
        }
        ++lineIndex;
        if (dataLines == 3)
            break;
    }

    // A file of fewer than three data lines leaves the later values unset
    // (NaN), so every comparison below fails and it reads as a plain table.
    const double a = values[0], b = values[1], c = values[2];
    switch (pointCount) {
    case 1:
        return Read_Symetric(path);
    case 2:
        if (a >= 1.0 && b <= 0.0 && c > 0.0)
            return Read_Symetric(path);
        return Read_Normal(path, variant);
    case 3:
        return Read_Eppler(path);
    default:
        return refuse(QObject::tr("The file holds no airfoil coordinates in a known layout."));
    }
}

// --------------------------------------------------------------- geometry

double PolygonSquare(const QPolygonF& p)
{
    float sum = 0.0f;
    for (qsizetype i = 0; i + 1 < p.size(); ++i) {
        const float x0 = float(p[i].x()), y0 = float(p[i].y());
        const float x1 = float(p[i + 1].x()), y1 = float(p[i + 1].y());
        const float a = x0 * y1;
        const float b = y0 * x1;
        const float term = a - b;
        sum += term;
    }
    return sum;
}

QPolygonF Interpolated_poly(int n, QPolygonF* p)
{
    if (!p || n <= 0)
        return {};
    const int m = int(p->size());
    // The natural cubic spline needs three points at least.
    if (m < 3)
        return {};
    const int size = std::max(m, n);
    std::vector<double> t(m), x(size, 0.0), y(size, 0.0);
    for (int i = 0; i < m; ++i) {
        const QPointF& q = p->at(i);
        if (!std::isfinite(q.x()) || !std::isfinite(q.y()))
            return {};
        t[i] = double(i) / double(m - 1);
        x[i] = q.x();
        y[i] = q.y();
    }
    if (!interpol_Cubic(m, n, t.data(), x.data()) || !interpol_Cubic(m, n, t.data(), y.data()))
        return {};
    QPolygonF out;
    out.reserve(n);
    for (int j = 0; j < n; ++j)
        out.append(QPointF(x[j], y[j]));
    return out;
}

QPolygonF Normalize_airfoil_2X(QPolygonF* p)
{
    if (!p || p->isEmpty())
        return {};
    double xmin = 10000.0, xmax = -10000.0;
    for (const QPointF& q : *p) {
        xmin = std::min(xmin, q.x());
        xmax = std::max(xmax, q.x());
    }
    const double chord = xmax - xmin;
    if (!(chord > 0.0) || !std::isfinite(chord))
        return {};
    const QPointF first = p->first() / chord;
    const QPointF last = p->last() / chord;
    const QPointF te = (first + last) / 2.0;
    const QPointF shift(1.0 - te.x(), -te.y());
    QPolygonF out;
    out.reserve(p->size());
    for (const QPointF& q : *p)
        out.append(q / chord + shift);
    return out;
}

QPolygonF ReWrite_Airfoil(const QPolygonF& p)
{
    const int n = int(p.size());
    const double area = PolygonSquare(p);
    QPolygonF out;
    out.reserve(n + 1);
    out.append(QPointF(1.0, 0.0));
    if (area > 0) {
        for (int i = 1; i < n; ++i)
            if (p[i].x() < 0.99999)
                out.append(p[i]);
    } else {
        for (int i = n - 1; i >= 1; --i)
            if (p[i].x() < 0.99999)
                out.append(p[i]);
    }
    out.append(QPointF(1.0, 0.0));
    return out;
}

int f_ind(double t, const double* s, int n)
{
    if (!s || n < 2)
        return 0;
    if (n - 1 >= 2) {
        for (int i = 1; i <= n - 2; ++i)
            if (s[i] <= t && t < s[i + 1])
                return i;
    }
    return t > s[n - 2] ? n - 1 : 0;
}

namespace {

// f_ind on a non-decreasing table, by bisection: the only interval that can
// hold t is the one that starts at the last entry not above t.
int f_ind_sorted(double t, const double* s, int n)
{
    if (n < 2)
        return 0;
    if (n - 1 >= 2) {
        const double* last = std::upper_bound(s, s + n, t);
        const int i = int(last - s) - 1;
        if (i >= 1 && i <= n - 2)
            return i;
    }
    return t > s[n - 2] ? n - 1 : 0;
}

} // namespace

QPolygonF NaturPntCurve(QPointF first, QPointF last, const QPolygonF& p)
{
    const int n = int(p.size());
    if (n == 0)
        return p;
    std::vector<double> s(n, 0.0);
    for (int i = 1; i < n; ++i) {
        const QPointF d = p[i] - p[i - 1];
        s[i] = s[i - 1] + std::sqrt(d.x() * d.x() + d.y() * d.y());
    }
    const double length = s[n - 1];
    const int m = n / 2 < 256 ? 256 : n / 2;
    const double h = length / m;
    QPolygonF out;
    out.reserve(m);
    out.append(first);
    for (int j = 1; j <= m - 2; ++j) {
        const double t = j * h;
        const int k = f_ind_sorted(t, s.data(), n);
        if (k >= 0 && k < n - 1) {
            const double ds = s[k + 1] - s[k];
            if (ds != 0.0)
                out.append(p[k] + (t - s[k]) / ds * (p[k + 1] - p[k]));
        }
    }
    out.append(last);
    return out;
}

QPolygonF setStandFoil(QPolygonF* p)
{
    if (!p)
        return {};
    if (p->size() >= kStandardFoilPoints)
        return p->mid(0, kStandardFoilPoints);
    Notify_User(QStringLiteral("Warning !!!    ") + QLatin1Char('\n')
                + QStringLiteral(" Not standard airfoil 1000 points -size:%1").arg(p->size()));
    // Every rib table addresses 1000 points: a short airfoil is resampled
    // rather than stored short.
    const QPolygonF resampled = Interpolated_poly(kStandardFoilPoints, p);
    return resampled.isEmpty() ? *p : resampled;
}

QPolygonF prepareAirfoil(const QPolygonF& p, double scale, int dx, int dy)
{
    QPolygonF out;
    out.reserve(p.size());
    for (const QPointF& q : p) {
        const float sx = float(q.x() * scale);
        const float sy = float(q.y() * scale);
        const float x = sx + float(dx);
        const float y = float(dy) - sy;
        out.append(QPointF(x, y));
    }
    return out;
}

QPolygonF Edge_Tip_Airfoil(const QPolygonF& p, double factor)
{
    QPolygonF out;
    out.reserve(p.size());
    for (const QPointF& q : p)
        out.append(QPointF(q.x(), factor * q.y()));
    return out;
}

QString FindThickness(const QPolygonF& p)
{
    double thickness = 0.0, position = 0.0;
    if (!p.isEmpty()) {
        double ymin = 10000.0, ymax = -10000.0, xAtMin = 0.0, xAtMax = 0.0;
        for (const QPointF& q : p) {
            if (q.y() < ymin) {
                ymin = q.y();
                xAtMin = q.x();
            }
            if (q.y() > ymax) {
                ymax = q.y();
                xAtMax = q.x();
            }
        }
        thickness = (ymax - ymin) * 100.0;
        position = (xAtMax + xAtMin) / 2.0 * 100.0;
    }
    return QStringLiteral(" Thickness = %1  at  %2 %")
        .arg(thickness, 0, 'f', 2)
        .arg(position, 0, 'f', 2);
}

double FindArcLen(int i1, int i2, const QPolygonF& p)
{
    i1 = std::max(i1, 0);
    i2 = std::min(i2, int(p.size()) - 1);
    double length = 0.0;
    for (int k = i1; k < i2; ++k) {
        const QPointF d = p[k + 1] - p[k];
        length += std::sqrt(d.x() * d.x() + d.y() * d.y());
    }
    return length;
}

QPolygonF f_Morph_bychord(double w, QPolygonF* a, QPolygonF* b)
{
    if (!a || !b || a->size() != b->size() || a->isEmpty())
        return {};
    QPolygonF out;
    out.reserve(a->size());
    for (qsizetype i = 0; i < a->size(); ++i) {
        const QPointF& p = a->at(i);
        const QPointF& q = b->at(i);
        out.append(QPointF((1.0 - w) * p.x() + w * q.x(), (1.0 - w) * p.y() + w * q.y()));
    }
    return out;
}

QPolygonF f_Morph_bydistance(double s0, double s1, double s, QPolygonF* a, QPolygonF* b)
{
    if (!a || !b || a->size() != b->size() || s < s0 || s > s1)
        return {};
    // Two ribs at one position: the blend stays at a.
    const double w = s1 > s0 ? (s - s0) / (s1 - s0) : 0.0;
    return f_Morph_bychord(w, a, b);
}

int get_nose_index(QPolygonF* p)
{
    if (!p)
        return 0;
    const int n = int(p->size());
    const int from = n / 2, to = 3 * n / 4; // to is excluded
    if (from >= to)
        return 0;
    int nose = from;
    for (int i = from + 1; i < to; ++i)
        if (p->at(i).x() < p->at(nose).x())
            nose = i;
    return nose;
}

QPolygonF Import_Airfoil_File(const QString& path, AirfoilReader variant, QString* why)
{
    QString reason;
    QPolygonF foil = Read_All_AirfoilTypes(path, variant, &reason);
    if (foil.size() < 3) {
        if (why)
            *why = !reason.isEmpty() ? reason : QObject::tr("The file holds fewer than three airfoil points.");
        return {};
    }
    foil = NaturPntCurve(foil.first(), foil.last(), foil);
    foil = Interpolated_poly(kStandardFoilPoints, &foil);
    foil = Normalize_airfoil_2X(&foil);
    if (foil.isEmpty()) {
        if (why)
            *why = QObject::tr("The airfoil has no length along x.");
        return {};
    }
    return ReWrite_Airfoil(foil);
}
