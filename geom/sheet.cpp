#include "geom/sheet.h"

#include "core/checkedint.h"
#include "core/filesave.h"
#include "core/geomconst.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

int PieceSheet::layerIndex(const QString& name)
{
    const auto it = layerIndexes.constFind(name);
    if (it != layerIndexes.constEnd())
        return it.value();
    const int i = int(layerNames.size());
    layerNames.append(name);
    layerIndexes.insert(name, i);
    return i;
}

int PieceSheet::textHeight(const QFont& font) const
{
    if (font.pointSize() > 0)
        return font.pointSize();
    // A pixel-sized label font has no point size. Its pixels are plan units
    // in the preview, so the label is as large on the cut cloth as it is
    // drawn on the piece there. A height must be positive to be a valid
    // TEXT entity.
    const double mm = font.pixelSize() > 0 ? font.pixelSize() * dxfScale : 1.0;
    return std::max(1, wl::Checked_Round(mm));
}

void PieceSheet::polyline(const QPolygonF& points, const QString& layer, int colour)
{
    loop(points, layer, colour, false);
}

void PieceSheet::loop(const QPolygonF& points, const QString& layer, int colour, bool closedInFile)
{
    order.push_back({Kind::Polyline, int(polylines.size())});
    polylines.push_back({layerIndex(layer), colour, points, closedInFile, true, true});
}

void PieceSheet::sewingLine(const QPolygonF& points, const QString& layer, int colour)
{
    order.push_back({Kind::Polyline, int(polylines.size())});
    polylines.push_back({layerIndex(layer), colour, points, false, false, true});
}

void PieceSheet::fileOnlyLine(QPointF a, QPointF b, const QString& layer, int colour)
{
    fileOnlyPolyline(QPolygonF{a, b}, layer, colour);
}

void PieceSheet::fileOnlyPolyline(const QPolygonF& points, const QString& layer, int colour)
{
    order.push_back({Kind::Polyline, int(polylines.size())});
    polylines.push_back({layerIndex(layer), colour, points, false, true, false});
}

void PieceSheet::mark(QPointF centre, double radius, double previewRadius, int sides, const QString& layer)
{
    order.push_back({Kind::Mark, int(marks.size())});
    marks.push_back({layerIndex(layer), centre, radius, previewRadius, sides});
}

void PieceSheet::text(QPointF previewAt, QPointF at, const QString& layer, int angle, const QString& text,
                 const QFont& font, int height)
{
    order.push_back({Kind::Text, int(texts.size())});
    texts.push_back({layerIndex(layer), at, previewAt, angle, height, text, font});
}

void PieceSheet::line3D(QVector3D a, QVector3D b, int layer, int colour)
{
    order.push_back({Kind::Line3D, int(lines3D.size())});
    lines3D.push_back({layer, colour, a, b});
}

void PieceSheet::reserve3D(qsizetype lines)
{
    lines3D.reserve(lines3D.size() + size_t(lines));
    order.reserve(order.size() + size_t(lines));
}

void PieceSheet::append(const PieceSheet& other)
{
    // Each item of the other sheet in its order, its layer renamed into
    // this sheet's table.
    auto take = [this, &other](auto& items, Kind kind, auto item) {
        item.layer = layerIndex(other.layerNames.at(item.layer));
        order.push_back({kind, int(items.size())});
        items.push_back(std::move(item));
    };
    for (const Item& item : other.order) {
        switch (item.kind) {
        case Kind::Polyline:
            take(polylines, item.kind, other.polylines[item.index]);
            break;
        case Kind::Mark:
            take(marks, item.kind, other.marks[item.index]);
            break;
        case Kind::Text:
            take(texts, item.kind, other.texts[item.index]);
            break;
        case Kind::Line3D:
            take(lines3D, item.kind, other.lines3D[item.index]);
            break;
        }
    }
}

QPolygonF cntrCirc(QPointF c, double r, int n)
{
    QPolygonF mark;
    if (n < 1)
        return mark;
    // n corners and the first once more: closed by its last side, without
    // a side of no length (a corner at 2 pi would be the first one again).
    mark.reserve(n + 1);
    for (int k = 0; k < n; ++k) {
        const double phi = (2 * k) * wl::Pi / n;
        mark.append(c + r * QPointF(std::cos(phi), std::sin(phi)));
    }
    mark.append(mark.first());
    return mark;
}

namespace {

// A real as the file has it: four decimals, a half in the fifth rounded away
// from zero, zero without a sign (but a small negative value keeps its "-").
struct Real {
    char s[336];
    int n = 0;

    Real() = default;
    explicit Real(double v) { set(v); }
    Real(const Real&) = delete;
    Real& operator=(const Real&) = delete;

    void set(double v)
    {
        if (!std::isfinite(v)) {
            const QByteArray q = QString::number(v, 'f', 4).toLatin1();
            n = int(std::min<qsizetype>(q.size(), sizeof s));
            std::memcpy(s, q.constData(), size_t(n));
            return;
        }
        if (v == 0) {
            std::memcpy(s, "0.0000", 6);
            n = 6;
            return;
        }
        // Ten thousandths as an integer, where the product cannot be on the
        // wrong side of a half: most coordinates.
        const double y = std::fabs(v) * 1e4;
        if (y < 1e15) {
            const double below = std::floor(y);
            if (std::fabs(y - below - 0.5) > 1e-15 * y + 1e-9) {
                fromTenThousandths(v < 0, static_cast<unsigned long long>(below) + (y - below > 0.5 ? 1 : 0));
                return;
            }
        }
        n = int(std::to_chars(s, s + sizeof s, v, std::chars_format::fixed, 4).ptr - s);
        if (std::fabs(y - std::floor(y) - 0.5) < 1e-3)
            roundHalfAway(v);
    }

    // The digits are written in place, the four decimals always, the whole
    // part at least "0".
    void fromTenThousandths(bool negative, unsigned long long k)
    {
        unsigned long long whole = k / 10000;
        const unsigned decimals = unsigned(k % 10000);
        int m = 1;
        for (unsigned long long w = whole; w >= 10; w /= 10)
            ++m;
        n = 0;
        if (negative)
            s[n++] = '-';
        for (int i = m - 1; i >= 0; --i) {
            s[n + i] = char('0' + whole % 10);
            whole /= 10;
        }
        n += m;
        s[n] = '.';
        s[n + 1] = char('0' + decimals / 1000);
        s[n + 2] = char('0' + decimals / 100 % 10);
        s[n + 3] = char('0' + decimals / 10 % 10);
        s[n + 4] = char('0' + decimals % 10);
        n += 5;
    }

    // The shortest form rounds an exact half to even; the file rounds it up.
    void roundHalfAway(double v)
    {
        char exact[400];
        const int m = int(std::to_chars(exact, exact + sizeof exact, v, std::chars_format::fixed, 40).ptr - exact);
        const int dot = int(std::find(exact, exact + m, '.') - exact);
        if (dot + 5 >= m || exact[dot + 5] != '5')
            return;
        for (int k = dot + 6; k < m; ++k)
            if (exact[k] != '0')
                return;
        // Truncate after four decimals and add one in the last place.
        int len = dot + 5;
        int k = len - 1;
        while (k >= 0) {
            if (exact[k] == '.') {
                --k;
                continue;
            }
            if (exact[k] == '-')
                break;
            if (exact[k] == '9') {
                exact[k] = '0';
                --k;
                continue;
            }
            ++exact[k];
            break;
        }
        const bool carry = k < 0 || exact[k] == '-';
        n = 0;
        const bool negative = exact[0] == '-';
        if (negative)
            s[n++] = '-';
        if (carry)
            s[n++] = '1';
        const int from = negative ? 1 : 0;
        std::memcpy(s + n, exact + from, size_t(len - from));
        n += len - from;
    }

    bool isZero() const
    {
        return (n == 6 && std::memcmp(s, "0.0000", 6) == 0) || (n == 7 && std::memcmp(s, "-0.0000", 7) == 0);
    }
    bool sameAs(const Real& o) const
    {
        return (n == o.n && std::memcmp(s, o.s, size_t(n)) == 0) || (isZero() && o.isZero());
    }
};

// The file's bytes as they are made, handed on a piece at a time: a sheet's
// drawing is megabytes of text that need not be held whole.
class DxfOut
{
public:
    explicit DxfOut(const FilePiece& put) : put(put) { bytes.resize(kPiece); }

    void raw(const char* text, qsizetype size)
    {
        if (at + size > kPiece) {
            flush();
            if (size > kPiece) {
                hand(text, size);
                return;
            }
        }
        std::memcpy(bytes.data() + at, text, size_t(size));
        at += size;
    }
    template <qsizetype N>
    void lit(const char (&text)[N])
    {
        raw(text, N - 1);
    }
    void line(const char* text, qsizetype size)
    {
        raw(text, size);
        lit("\r\n");
    }
    void line(const QByteArray& text) { line(text.constData(), text.size()); }
    void line(const Real& r) { line(r.s, r.n); }
    void integer(long long v)
    {
        char s[24];
        line(s, std::to_chars(s, s + sizeof s, v).ptr - s);
    }
    // Room for `size` bytes more, written at the pointer returned and taken
    // with done(end); null when they would not fit into one piece.
    char* room(qsizetype size)
    {
        if (at + size > kPiece) {
            flush();
            if (size > kPiece)
                return nullptr;
        }
        return bytes.data() + at;
    }
    void done(const char* end) { at = end - bytes.constData(); }

    // What is left handed on; the first error number of put, or 0.
    int finish()
    {
        flush();
        return error;
    }

private:
    // Large enough that the writes are few, small enough to stay in the
    // processor's cache.
    static constexpr qsizetype kPiece = qsizetype(1) << 18;

    void flush()
    {
        hand(bytes.constData(), at);
        at = 0;
    }
    // After a failed write the rest is dropped.
    void hand(const char* data, qsizetype size)
    {
        if (!error && size > 0)
            error = put(data, size);
    }

    const FilePiece& put;
    QByteArray bytes;
    qsizetype at = 0;
    int error = 0;
};

struct Writer {
    // A real of at most this many characters is copied as one block.
    static constexpr int kShort = 24;
    static constexpr qsizetype kSlack = kShort;

    const PieceSheet& sheet;
    DxfOut& out;
    std::vector<QByteArray> layers;

    void line(int layer, int colour, const Real& x1, const Real& y1, const Real& z1, const Real& x2, const Real& y2,
              const Real& z2)
    {
        // A LINE whose ends are one point in the file cuts nothing.
        if (x1.sameAs(x2) && y1.sameAs(y2) && z1.sameAs(z2))
            return;
        // Most lines in one go: their reals are short, each copied as a
        // block of fixed size (the buffer has room beyond it).
        const QByteArray& name = layers[size_t(layer)];
        const Real* reals[6] = {&x1, &y1, &z1, &x2, &y2, &z2};
        bool short6 = true;
        qsizetype size = 12 + name.size() + 2 + 4 + 24 + 2 + kSlack;
        for (const Real* r : reals) {
            short6 = short6 && r->n <= kShort;
            size += 4 + r->n + 2;
        }
        if (char* p = short6 ? out.room(size) : nullptr) {
            auto lit = [&p](const char* text, size_t n) {
                std::memcpy(p, text, n);
                p += n;
            };
            lit("0\r\nLINE\r\n8\r\n", 12);
            std::memcpy(p, name.constData(), size_t(name.size()));
            p += name.size();
            lit("\r\n62\r\n", 6);
            p = std::to_chars(p, p + 24, colour).ptr;
            static const char codes[6][5] = {"10\r\n", "20\r\n", "30\r\n", "11\r\n", "21\r\n", "31\r\n"};
            for (int k = 0; k < 6; ++k) {
                lit("\r\n", 2);
                lit(codes[k], 4);
                std::memcpy(p, reals[k]->s, kShort);
                p += reals[k]->n;
            }
            lit("\r\n", 2);
            out.done(p);
            return;
        }
        out.lit("0\r\nLINE\r\n8\r\n");
        out.line(layers[size_t(layer)]);
        out.lit("62\r\n");
        out.integer(colour);
        out.lit("10\r\n");
        out.line(x1);
        out.lit("20\r\n");
        out.line(y1);
        out.lit("30\r\n");
        out.line(z1);
        out.lit("11\r\n");
        out.line(x2);
        out.lit("21\r\n");
        out.line(y2);
        out.lit("31\r\n");
        out.line(z2);
    }

    // Each LINE starts where the one before ended in the file; a point that
    // is the same point in the file as the one before it adds no LINE.
    void polyline(int layer, int colour, const QPolygonF& points)
    {
        const double s = sheet.scale();
        static const Real zero(0.0);
        // The point before and this one, in turn (a formatted real is too
        // large to copy for every point).
        Real x[2], y[2];
        for (int i = 0; i < points.size(); ++i) {
            const int at = i & 1;
            x[at].set(s * points.at(i).x());
            y[at].set(s * points.at(i).y());
            if (i > 0)
                line(layer, colour, x[1 - at], y[1 - at], zero, x[at], y[at], zero);
        }
    }

    void segment(int layer, int colour, QPointF a, QPointF b)
    {
        const double s = sheet.scale();
        static const Real zero(0.0);
        line(layer, colour, Real(s * a.x()), Real(s * a.y()), zero, Real(s * b.x()), Real(s * b.y()), zero);
    }

    void text(const PieceSheet::Text& t)
    {
        const double s = sheet.scale();
        out.lit("0\r\nTEXT\r\n100\r\nAcDbEntity\r\n8\r\n");
        out.line(layers[size_t(t.layer)]);
        out.lit("100\r\nAcDbText\r\n10\r\n");
        out.line(Real(s * t.at.x() + t.text.size()));
        out.lit("20\r\n");
        out.line(Real(s * t.at.y() - 1.3 * t.height));
        out.lit("30\r\n0.0000\r\n40\r\n");
        out.integer(t.height);
        out.lit("1\r\n");
        out.line(t.text.toUtf8());
        out.lit("50\r\n");
        out.integer(t.angle);
        out.lit("100\r\nAcDbText\r\n");
    }

    void line3D(const PieceSheet::Line3D& l)
    {
        // 3-D points are single precision: each product is rounded to float
        // before it is formatted.
        const double s = sheet.scale();
        auto f = [s](float v) { return double(static_cast<float>(s * double(v))); };
        const Real x1(f(l.a.x())), y1(f(l.a.y())), z1(f(l.a.z())), x2(f(l.b.x())), y2(f(l.b.y())), z2(f(l.b.z()));
        line(l.layer, l.colour, x1, y1, z1, x2, y2, z2);
    }
};

// Bytes of the drawing, about: every LINE with its six reals, every label.
qsizetype estimatedSize(const PieceSheet& sheet)
{
    qsizetype lines = 0, texts = 0;
    for (const PieceSheet::Item& item : sheet.items()) {
        switch (item.kind) {
        case PieceSheet::Kind::Polyline: lines += sheet.polylineAt(item.index).points.size(); break;
        case PieceSheet::Kind::Mark: lines += sheet.markAt(item.index).sides; break;
        case PieceSheet::Kind::Text: ++texts; break;
        case PieceSheet::Kind::Line3D: ++lines; break;
        }
    }
    return 64 + lines * 150 + texts * 200;
}

} // namespace

QByteArray Sheet_Dxf_Bytes(const PieceSheet& sheet)
{
    QByteArray bytes;
    bytes.reserve(estimatedSize(sheet));
    Sheet_Dxf_Write(sheet, [&bytes](const char* data, qsizetype size) {
        bytes.append(data, size);
        return 0;
    });
    return bytes;
}

int Sheet_Dxf_Write(const PieceSheet& sheet, const FilePiece& put)
{
    DxfOut out(put);
    Writer w{sheet, out, {}};
    w.layers.reserve(size_t(sheet.layers().size()));
    for (const QString& name : sheet.layers())
        w.layers.push_back(name.toUtf8());
    out.lit("0\r\nSECTION\r\n2\r\nENTITIES\r\n");
    for (const PieceSheet::Item& item : sheet.items()) {
        switch (item.kind) {
        case PieceSheet::Kind::Polyline: {
            const PieceSheet::Polyline& p = sheet.polylineAt(item.index);
            if (!p.inFile)
                break;
            w.polyline(p.layer, p.colour, p.points);
            if (p.closedInFile && !p.points.isEmpty())
                w.segment(p.layer, p.colour, p.points.last(), p.points.first());
            break;
        }
        case PieceSheet::Kind::Mark: {
            const PieceSheet::Mark& m = sheet.markAt(item.index);
            w.polyline(m.layer, 4, cntrCirc(m.centre, m.radius, m.sides));
            break;
        }
        case PieceSheet::Kind::Text: w.text(sheet.textAt(item.index)); break;
        case PieceSheet::Kind::Line3D: w.line3D(sheet.line3DAt(item.index)); break;
        }
    }
    out.lit("0\r\nENDSEC\r\n0\r\nEOF\r\n");
    return out.finish();
}

QString Sheet_File_Problem(const PieceSheet& sheet)
{
    const double s = sheet.scale();
    if (!std::isfinite(s))
        return QStringLiteral("the drawing's scale is %1, not a finite number").arg(s);
    // The values as the file computes them: a finite point times the scale
    // can still overflow.
    auto bad = [s](QPointF p) { return !std::isfinite(s * p.x()) || !std::isfinite(s * p.y()); };
    auto badPolygon = [&bad](const QPolygonF& points) {
        for (const QPointF& p : points)
            if (bad(p))
                return true;
        return false;
    };
    auto badFloat = [s](float v) { return !std::isfinite(static_cast<float>(s * double(v))); };
    auto piece = [&sheet](int layer) {
        return QStringLiteral("the piece %1 holds a point that is not a finite number")
            .arg(sheet.layers().value(layer));
    };
    for (const PieceSheet::Item& item : sheet.items()) {
        switch (item.kind) {
        case PieceSheet::Kind::Polyline: {
            const PieceSheet::Polyline& p = sheet.polylineAt(item.index);
            if (p.inFile && badPolygon(p.points))
                return piece(p.layer);
            break;
        }
        case PieceSheet::Kind::Mark: {
            const PieceSheet::Mark& m = sheet.markAt(item.index);
            if (bad(m.centre) || !std::isfinite(m.radius) || badPolygon(cntrCirc(m.centre, m.radius, m.sides)))
                return piece(m.layer);
            break;
        }
        case PieceSheet::Kind::Text: {
            const PieceSheet::Text& t = sheet.textAt(item.index);
            if (!std::isfinite(s * t.at.x() + t.text.size()) || !std::isfinite(s * t.at.y() - 1.3 * t.height)) {
                const QString layer = sheet.layers().value(t.layer);
                if (t.text == layer)
                    return QStringLiteral("the label of the piece %1 stands at a point that is not a finite number")
                        .arg(layer);
                return QStringLiteral("the label \"%1\" of the piece %2 stands at a point that is not a finite "
                                      "number")
                    .arg(t.text, layer);
            }
            break;
        }
        case PieceSheet::Kind::Line3D: {
            const PieceSheet::Line3D& l = sheet.line3DAt(item.index);
            for (const QVector3D& v : {l.a, l.b})
                if (badFloat(v.x()) || badFloat(v.y()) || badFloat(v.z()))
                    return piece(l.layer);
            break;
        }
        }
    }
    return QString();
}

QPainterPath Sheet_Preview(const PieceSheet& sheet)
{
    QPainterPath path;
    auto open = [&path](const QPolygonF& points) {
        if (points.size() < 2)
            return;
        QPainterPath piece;
        piece.moveTo(points.first());
        for (int i = 1; i < points.size(); ++i)
            piece.lineTo(points.at(i));
        path.addPath(piece);
    };
    for (const PieceSheet::Item& item : sheet.items()) {
        switch (item.kind) {
        case PieceSheet::Kind::Polyline: {
            const PieceSheet::Polyline& p = sheet.polylineAt(item.index);
            if (p.inPreview)
                open(p.points);
            break;
        }
        case PieceSheet::Kind::Mark: {
            const PieceSheet::Mark& m = sheet.markAt(item.index);
            open(cntrCirc(m.centre, m.previewRadius, m.sides));
            break;
        }
        case PieceSheet::Kind::Text: {
            const PieceSheet::Text& t = sheet.textAt(item.index);
            QPainterPath glyphs;
            glyphs.addText(t.previewAt, t.font, t.text);
            glyphs.closeSubpath();
            path.addPath(glyphs);
            break;
        }
        case PieceSheet::Kind::Line3D: break;
        }
    }
    return path;
}

int Write_Sheet(const PieceSheet& sheet, const QString& directory, const QString& fileName)
{
    if (!Sheet_File_Problem(sheet).isEmpty())
        return EDOM;
    // The old file is replaced only when the whole new one was written.
    return Save_File(directory + QLatin1Char('/') + fileName,
                     [&sheet](const FilePiece& put) { return Sheet_Dxf_Write(sheet, put); })
        .code;
}
