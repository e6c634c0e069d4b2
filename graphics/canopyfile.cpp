#include "graphics/canopyfile.h"

#include "core/parastruct.h"
#include "graphics/streamfile.h"

#include <QIODevice>

#include <cmath>

namespace {

// The layout of the file, written once for both directions. IO is the
// writer or the reader with
//   head(list)       the piece count,
//   more(list, k)    whether piece k follows,
//   piece(list, k)   piece k (the reader appends a fresh one),
//   points(poly)     a point count and the points,
//   colour(c)        spec, alpha, red, green, blue and pad.
template <class IO, class L>
void canopyFile(IO& io, L& list)
{
    io.head(list);
    for (int k = 0; io.more(list, k); ++k) {
        auto& piece = io.piece(list, k);
        io.points(piece.poly);
        io.colour(piece.colour);
    }
}

constexpr int kColourBytes = 1 + 5 * 2;
constexpr int kPointBytes = 16;

class Writer
{
public:
    explicit Writer(QDataStream& out) : out(out) {}

    void head(const QList<Canopy>& list) { out << qint32(list.size()); }
    bool more(const QList<Canopy>& list, int k) const { return k < list.size(); }
    const Canopy& piece(const QList<Canopy>& list, int k) const { return list.at(k); }
    void points(const QPolygonF& poly)
    {
        out << quint32(poly.size());
        for (const QPointF& p : poly)
            out << p.x() << p.y();
    }
    void colour(const QColor& c)
    {
        if (!c.isValid()) {
            out << qint8(QColor::Invalid) << quint16(0xffff) << quint16(0) << quint16(0) << quint16(0);
        } else {
            const QRgba64 v = c.toRgb().rgba64();
            out << qint8(QColor::Rgb) << quint16(v.alpha()) << quint16(v.red()) << quint16(v.green())
                << quint16(v.blue());
        }
        out << quint16(0);
    }

private:
    QDataStream& out;
};

class Reader
{
public:
    Reader(QDataStream& in, CanopyFileReport* report) : in(in), report(report) {}

    void head(QList<Canopy>&)
    {
        qint32 count = 0;
        in >> count;
        report->announced = count;
        if (in.status() != QDataStream::Ok)
            fail(QStringLiteral("the file is too short to hold its piece count"));
    }

    // A piece that went wrong is taken back; whole pieces stay.
    bool more(QList<Canopy>& list, int k)
    {
        if (k > 0) {
            if (bad)
                list.removeLast();
            else
                ++report->read;
        }
        if (bad || in.atEnd())
            return false;
        if (k >= kMaxCanopyPieces) {
            fail(QStringLiteral("the file holds more than %1 pieces").arg(kMaxCanopyPieces));
            return false;
        }
        return true;
    }

    Canopy& piece(QList<Canopy>& list, int)
    {
        list.append(Canopy());
        return list.last();
    }

    void points(QPolygonF& poly)
    {
        if (bad)
            return;
        quint32 n = 0;
        in >> n;
        if (!ok(QStringLiteral("the file ends inside piece %1").arg(report->read + 1)))
            return;
        // Every point takes 16 bytes and a colour follows: a count the bytes
        // left cannot hold is not read, whatever it says.
        const qint64 left = bytesLeft();
        if (n > kMaxCanopyPiecePoints || qint64(n) * kPointBytes > left - kColourBytes) {
            fail(QStringLiteral("piece %1 says it has %2 points where %3 bytes are left")
                     .arg(report->read + 1).arg(n).arg(left));
            return;
        }
        poly.reserve(int(n));
        for (quint32 j = 0; j < n; ++j) {
            double x = 0, y = 0;
            in >> x >> y;
            poly.append(QPointF(x, y));
        }
        ok(QStringLiteral("the file ends inside piece %1").arg(report->read + 1));
    }

    void colour(QColor& c)
    {
        if (bad)
            return;
        qint8 spec = 0;
        quint16 a = 0, r = 0, g = 0, b = 0, pad = 0;
        in >> spec >> a >> r >> g >> b >> pad;
        if (!ok(QStringLiteral("the file ends inside piece %1").arg(report->read + 1)))
            return;
        if (spec == QColor::Invalid)
            c = QColor();
        else if (spec == QColor::Rgb)
            c = QColor::fromRgba64(r, g, b, a);
        else
            fail(QStringLiteral("piece %1 has a colour of an unknown kind (%2)").arg(report->read + 1).arg(spec));
    }

private:
    qint64 bytesLeft() const
    {
        const QIODevice* device = in.device();
        return device ? device->bytesAvailable() : 0;
    }
    bool ok(const QString& problem)
    {
        if (in.status() != QDataStream::Ok)
            fail(problem);
        return !bad;
    }
    void fail(const QString& problem)
    {
        if (!bad)
            report->problem = problem;
        bad = true;
    }

    QDataStream& in;
    CanopyFileReport* report;
    bool bad = false;
};

void prepare(QDataStream& stream)
{
    // The version the files were first written with; the bytes of these
    // types are the same in every later one.
    stream.setVersion(QDataStream::Qt_4_8);
    stream.setByteOrder(QDataStream::BigEndian);
}

} // namespace

QDataStream& operator<<(QDataStream& out, const QList<Canopy>& list)
{
    Writer writer(out);
    canopyFile(writer, list);
    return out;
}

void Read_Canopy_List(QDataStream& in, QList<Canopy>* list, CanopyFileReport* report)
{
    CanopyFileReport r;
    Reader reader(in, &r);
    canopyFile(reader, *list);
    if (report)
        *report = r;
}

QDataStream& operator>>(QDataStream& in, QList<Canopy>* list)
{
    Read_Canopy_List(in, list, nullptr);
    return in;
}

QList<Canopy> CreateCanopyList(const QList<QColor>& colours, const QList<QPolygonF>* polys)
{
    QList<Canopy> list;
    list.reserve(polys->size());
    for (int i = 0; i < polys->size(); ++i)
        list.append(Canopy{polys->at(i), i < colours.size() ? colours.at(i) : QColor()});
    return list;
}

bool WriteCanopyStream(const QList<Canopy>& list)
{
    return Write_Stream_File(GetGlobClass()->cnpPath, [&list](QDataStream& out) {
        prepare(out);
        out << list;
    });
}

QList<Canopy> ReadCanopyStream(const ParaStruct*, CanopyFileReport* report)
{
    QList<Canopy> list;
    if (report)
        *report = CanopyFileReport();
    Read_Stream_File(GetGlobClass()->cnpPath, [&list, report](QDataStream& in) {
        prepare(in);
        Read_Canopy_List(in, &list, report);
    });
    return list;
}

QString Canopy_Mismatch(const QList<Canopy>& stored, const QList<QPolygonF>& outlines)
{
    if (stored.isEmpty())
        return QString();
    if (stored.size() != outlines.size())
        return QStringLiteral("the file holds %1 pieces, the design lines now cut %2").arg(stored.size()).arg(
            outlines.size());
    // The shift of the whole layout, from the first point laid out.
    QPointF shift;
    bool shiftKnown = false;
    constexpr double kTolerance = 1e-3; // plan units
    for (int i = 0; i < outlines.size(); ++i) {
        const QPolygonF& a = stored.at(i).poly;
        const QPolygonF& b = outlines.at(i);
        const QString differs = QStringLiteral("piece %1 has another outline").arg(i + 1);
        if (a.size() != b.size())
            return differs;
        for (int j = 0; j < a.size(); ++j) {
            if (!std::isfinite(a.at(j).x()) || !std::isfinite(a.at(j).y()))
                return differs;
            if (!shiftKnown) {
                shift = a.at(j) - b.at(j);
                shiftKnown = true;
            }
            const QPointF d = a.at(j) - b.at(j) - shift;
            if (std::abs(d.x()) > kTolerance || std::abs(d.y()) > kTolerance)
                return differs;
        }
    }
    return QString();
}
