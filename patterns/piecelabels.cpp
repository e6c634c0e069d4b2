#include "patterns/piecelabels.h"

#include "core/geomconst.h"
#include "geom/sheet.h"

#include <QRectF>

#include <algorithm>
#include <cmath>

namespace {

// Clearance of a label from the cut line, a hole and another label, mm: the
// cutter's knife must not touch the letters.
constexpr double kClearance = 1.0;

struct Frame {
    QPointF u; // along the base line, plan units per mm of text
    QPointF v; // up the letters
};

Frame frameOf(int angle, double scale)
{
    const double a = angle * wl::FullPi / 180.0;
    return {QPointF(std::cos(a), std::sin(a)) / scale, QPointF(-std::sin(a), std::cos(a)) / scale};
}

// Corners of the box from the insertion point `origin` (plan units), grown
// by g mm on every side.
QPolygonF boxFrom(QPointF origin, const Frame& f, double width, int height, double g)
{
    const double u0 = -g, u1 = width + g, v0 = -height / 3.0 - g, v1 = height + g;
    const QPointF a = origin + u0 * f.u + v0 * f.v;
    const QPointF b = origin + u1 * f.u + v0 * f.v;
    const QPointF c = origin + u1 * f.u + v1 * f.v;
    const QPointF d = origin + u0 * f.u + v1 * f.v;
    return QPolygonF{a, b, c, d, a};
}

// The file's insertion point of a label written at `at`, plan units.
QPointF insertionOf(QPointF at, int height, const QString& text, double scale)
{
    return QPointF(at.x() + text.size() / scale, at.y() - 1.3 * height / scale);
}

QPointF atOf(QPointF insertion, int height, const QString& text, double scale)
{
    return QPointF(insertion.x() - text.size() / scale, insertion.y() + 1.3 * height / scale);
}

double cross(QPointF o, QPointF a, QPointF b)
{
    return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
}

bool segmentsMeet(QPointF a, QPointF b, QPointF c, QPointF d)
{
    const double d1 = cross(c, d, a), d2 = cross(c, d, b), d3 = cross(a, b, c), d4 = cross(a, b, d);
    return ((d1 >= 0 && d2 <= 0) || (d1 <= 0 && d2 >= 0)) && ((d3 >= 0 && d4 <= 0) || (d3 <= 0 && d4 >= 0));
}

// A polygon with its bounding box, for quick misses.
struct Shape {
    QPolygonF points; // closed
    QRectF bounds;
};

Shape shapeOf(const QPolygonF& p)
{
    Shape s{p, p.boundingRect()};
    if (!s.points.isEmpty() && s.points.first() != s.points.last())
        s.points.append(s.points.first());
    return s;
}

bool edgesMeet(const QPolygonF& box, const Shape& s)
{
    const QRectF bb = box.boundingRect();
    for (int i = 0; i + 1 < s.points.size(); ++i) {
        const QPointF p = s.points.at(i), q = s.points.at(i + 1);
        if (std::max(p.x(), q.x()) < bb.left() || std::min(p.x(), q.x()) > bb.right()
            || std::max(p.y(), q.y()) < bb.top() || std::min(p.y(), q.y()) > bb.bottom())
            continue;
        for (int k = 0; k < 4; ++k)
            if (segmentsMeet(box.at(k), box.at(k + 1), p, q))
                return true;
    }
    return false;
}

bool within(const QPolygonF& box, const Shape& piece)
{
    if (!piece.bounds.contains(box.boundingRect()))
        return false;
    for (int k = 0; k < 4; ++k)
        if (!piece.points.containsPoint(box.at(k), Qt::OddEvenFill))
            return false;
    return !edgesMeet(box, piece);
}

bool touches(const QPolygonF& box, const Shape& s)
{
    if (!s.bounds.intersects(box.boundingRect()))
        return false;
    for (int k = 0; k < 4; ++k)
        if (s.points.containsPoint(box.at(k), Qt::OddEvenFill))
            return true;
    for (const QPointF& p : s.points)
        if (box.containsPoint(p, Qt::OddEvenFill))
            return true;
    return edgesMeet(box, s);
}

struct Room {
    Shape piece;
    QList<Shape> keepOff;
    double scale = 1;

    bool free(const QPolygonF& grown) const
    {
        if (!within(grown, piece))
            return false;
        for (const Shape& s : keepOff)
            if (touches(grown, s))
                return false;
        return true;
    }
};

// Angle (degrees, -90 .. 90) of the piece's long axis: the principal axis
// of its corners.
int longAxisAngle(QPolygonF p)
{
    // A closed outline's last point is its first: counted once.
    if (p.size() > 1 && p.first() == p.last())
        p.removeLast();
    if (p.size() < 2)
        return 0;
    QPointF m;
    for (const QPointF& q : p)
        m += q;
    m /= p.size();
    double sxx = 0, syy = 0, sxy = 0;
    for (const QPointF& q : p) {
        const QPointF d = q - m;
        sxx += d.x() * d.x();
        syy += d.y() * d.y();
        sxy += d.x() * d.y();
    }
    int a = int(std::lround(0.5 * std::atan2(2 * sxy, sxx - syy) * 180.0 / wl::FullPi));
    if (a > 90)
        a -= 180;
    if (a <= -90)
        a += 180;
    return a;
}

// The label at the free place nearest to `near` whose box centre lies on a
// grid over the piece, or nothing.
bool placeNear(const Room& room, const QString& text, QPointF near, int angle, int height, PlacedLabel* out)
{
    const double s = room.scale;
    const Frame f = frameOf(angle, s);
    const double width = double(text.size()) * height;
    // From the insertion point to the centre of the box.
    const QPointF half = 0.5 * width * f.u + height / 3.0 * f.v;
    const QRectF b = room.piece.bounds;
    // A grid over the piece, as fine across as along it, through `near`
    // (where the label fits in the middle of a strip just wide enough).
    const double smallest = std::min(width, 4.0 * height / 3.0) / s;
    const double stepX = std::max(smallest / 3.0, b.width() / 120.0);
    const double stepY = std::max(smallest / 3.0, b.height() / 120.0);
    if (!(stepX > 0) || !(stepY > 0) || !std::isfinite(stepX) || !std::isfinite(stepY) || !std::isfinite(b.left())
        || !std::isfinite(b.top()) || !std::isfinite(near.x()) || !std::isfinite(near.y()))
        return false;
    struct Candidate {
        double distance;
        QPointF centre;
    };
    std::vector<Candidate> grid;
    const double x0 = b.left() + std::fmod(std::fmod(near.x() - b.left(), stepX) + stepX, stepX);
    const double y0 = b.top() + std::fmod(std::fmod(near.y() - b.top(), stepY) + stepY, stepY);
    const int nx = int((b.right() - x0) / stepX) + 1, ny = int((b.bottom() - y0) / stepY) + 1;
    grid.reserve(size_t(nx) * size_t(ny));
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j) {
            const QPointF c(x0 + i * stepX, y0 + j * stepY);
            const QPointF d = c - near;
            grid.push_back({d.x() * d.x() + d.y() * d.y(), c});
        }
    std::sort(grid.begin(), grid.end(), [](const Candidate& x, const Candidate& y) { return x.distance < y.distance; });
    for (const Candidate& c : grid) {
        const QPointF origin = c.centre - half;
        if (!room.free(boxFrom(origin, f, width, height, kClearance)))
            continue;
        out->text = text;
        out->angle = angle;
        out->height = height;
        out->at = atOf(origin, height, text, s);
        out->box = boxFrom(origin, f, width, height, 0.0);
        out->fits = true;
        return true;
    }
    return false;
}

} // namespace

QPolygonF Label_Box(QPointF at, int angle, int height, const QString& text, double scale)
{
    return boxFrom(insertionOf(at, height, text, scale), frameOf(angle, scale), double(text.size()) * height,
                   height, 0.0);
}

QList<PlacedLabel> Place_Piece_Labels(const QPolygonF& piece, const QList<QPolygonF>& holes,
                                      const QList<LabelWish>& wishes, int height, double scale)
{
    QList<PlacedLabel> out;
    if (wishes.isEmpty())
        return out;
    // A piece or a label that is not a finite number has no place to find;
    // the sheet says which piece holds such a value (Sheet_File_Problem).
    bool finite = std::isfinite(scale);
    for (const QPointF& p : piece)
        finite = finite && std::isfinite(p.x()) && std::isfinite(p.y());
    for (const QPolygonF& h : holes)
        for (const QPointF& p : h)
            finite = finite && std::isfinite(p.x()) && std::isfinite(p.y());
    for (const LabelWish& w : wishes)
        finite = finite && std::isfinite(w.at.x()) && std::isfinite(w.at.y()) && std::isfinite(w.near.x())
                 && std::isfinite(w.near.y());
    if (!finite) {
        for (const LabelWish& w : wishes)
            out.append(PlacedLabel{w.text, w.at, w.previewAt, w.angle, std::max(1, height), QPolygonF(), false});
        return out;
    }
    height = std::max(1, height);
    Room room;
    room.piece = shapeOf(piece);
    room.scale = scale > 0 ? scale : 1.0;
    for (const QPolygonF& h : holes)
        if (h.size() > 1)
            room.keepOff.append(shapeOf(h));
    const int holesOnly = int(room.keepOff.size());

    // As the writer wished, when all of them fit so.
    bool asWished = piece.size() > 2;
    for (const LabelWish& w : wishes) {
        const QPointF origin = insertionOf(w.at, height, w.text, room.scale);
        const Frame f = frameOf(w.angle, room.scale);
        const double width = double(w.text.size()) * height;
        asWished = asWished && room.free(boxFrom(origin, f, width, height, kClearance));
        PlacedLabel p{w.text, w.at, w.previewAt, w.angle, height, boxFrom(origin, f, width, height, 0.0), true};
        out.append(p);
        room.keepOff.append(shapeOf(boxFrom(origin, f, width, height, kClearance)));
    }
    if (asWished)
        return out;

    if (piece.size() > 2) {
        QList<int> angles{wishes.first().angle};
        // A turn of a few degrees gains little room and stands out among the
        // labels of the other pieces.
        const int axis = longAxisAngle(piece);
        int turn = std::abs(axis - angles.first()) % 180;
        turn = std::min(turn, 180 - turn);
        if (turn >= 10)
            angles.append(axis);
        for (int h = height; h >= 1; h = std::min(h - 1, int(std::floor(0.85 * h)))) {
            for (int angle : std::as_const(angles)) {
                room.keepOff = room.keepOff.mid(0, holesOnly);
                QList<PlacedLabel> placed;
                for (const LabelWish& w : wishes) {
                    PlacedLabel p;
                    if (!placeNear(room, w.text, w.near, angle, h, &p))
                        break;
                    p.previewAt = p.at;
                    placed.append(p);
                    // The next label keeps its clearance from this one.
                    const QPointF origin = insertionOf(p.at, h, w.text, room.scale);
                    room.keepOff.append(
                        shapeOf(boxFrom(origin, frameOf(angle, room.scale), double(w.text.size()) * h, h, kClearance)));
                }
                if (placed.size() == wishes.size())
                    return placed;
            }
        }
    }
    // Nowhere on the piece: as wished, and said so.
    for (PlacedLabel& p : out)
        p.fits = false;
    return out;
}

QList<QPolygonF> Sheet_Shapes(const PieceSheet& sheet)
{
    QList<QPolygonF> shapes;
    for (const PieceSheet::Item& item : sheet.items()) {
        if (item.kind == PieceSheet::Kind::Polyline) {
            shapes.append(sheet.polylineAt(item.index).points);
        } else if (item.kind == PieceSheet::Kind::Mark) {
            const PieceSheet::Mark& m = sheet.markAt(item.index);
            shapes.append(cntrCirc(m.centre, m.radius, m.sides));
        }
    }
    return shapes;
}

void Draw_Piece_Labels(PieceSheet* out, const QList<PlacedLabel>& labels, const QString& layer, const QFont& font,
                       int height)
{
    for (const PlacedLabel& p : labels) {
        QFont f = font;
        if (p.height != height && out->scale() > 0)
            f.setPixelSize(std::max(1, int(std::lround(p.height / out->scale()))));
        out->text(p.previewAt, p.at, layer, p.angle, p.text, f, p.height);
    }
}
