#include "airfoil.h"

#include <QFile>
#include <QRegularExpression>

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

QPolygonF Read_All_AirfoilTypes(const QString& path, AirfoilReader variant)
{
    LineReader in;
    if (!in.open(path))
        return {};

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
        return {};
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
