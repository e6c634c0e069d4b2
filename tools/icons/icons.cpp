// Draws the icons of the main program's toolbar and the product logo.
//   wl_icons OUTDIR NAME.png [NAME.png ...]
// Every name must be one this program knows how to draw; the build lists the
// names it packs into the program's resources.

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <QDir>
#include <QMap>
#include <cstdio>
#include <functional>

namespace {

const int S = 64;   // icon edge in pixels

const QColor ink(40, 48, 64);
const QColor sky(214, 232, 250);
const QColor canopy(236, 120, 40);
const QColor canopyLight(250, 184, 92);
const QColor lineBlue(30, 90, 200);

// Upper and lower contour of a cambered 12 % airfoil in unit chord (nose at 0),
// y up, as a closed path: trailing edge, upper side to the nose, lower side back.
QPainterPath airfoil(const QRectF& r, double thickness = 0.13, double camber = 0.04)
{
    const int n = 40;
    QPolygonF upper, lower;
    for (int i = 0; i <= n; ++i) {
        const double b = M_PI * i / n;
        const double x = 0.5 * (1.0 - std::cos(b));
        const double t = 5.0 * thickness * (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x
                                            + 0.2843 * x * x * x - 0.1015 * x * x * x * x);
        const double c = x < 0.4 ? camber / 0.16 * (0.8 * x - x * x)
                                 : camber / 0.36 * (0.2 + 0.8 * x - x * x);
        upper << QPointF(x, c + t);
        lower << QPointF(x, c - t);
    }
    auto map = [&](QPointF p) {
        return QPointF(r.left() + p.x() * r.width(), r.center().y() - p.y() * r.width());
    };
    QPainterPath path(map(upper.last()));
    for (int i = upper.size() - 2; i >= 0; --i)
        path.lineTo(map(upper[i]));
    for (int i = 1; i < lower.size(); ++i)
        path.lineTo(map(lower[i]));
    path.closeSubpath();
    return path;
}

// Half a wing seen from above: straight leading edge at the top, elliptic tip.
QPainterPath planform(const QRectF& r)
{
    QPainterPath p(r.topLeft());
    p.lineTo(r.right() - r.width() * 0.25, r.top());
    p.quadTo(r.right(), r.top(), r.right(), r.top() + r.height() * 0.35);
    p.quadTo(r.right() - r.width() * 0.1, r.bottom() - r.height() * 0.2,
             r.right() - r.width() * 0.35, r.bottom() - r.height() * 0.1);
    p.lineTo(r.left(), r.bottom());
    p.closeSubpath();
    return p;
}

void frame(QPainter& p)
{
    QLinearGradient g(0, 0, 0, S);
    g.setColorAt(0, QColor(250, 252, 255));
    g.setColorAt(1, sky);
    p.setPen(QPen(QColor(120, 130, 150), 1.5));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 1.5, S - 3, S - 3), 9, 9);
}

void generalData(QPainter& p)
{
    p.setPen(QPen(ink, 2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(12, 8, 40, 48));
    p.setPen(QPen(ink, 2.5));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(18, 20 + i * 8), QPointF(i % 2 ? 40 : 46, 20 + i * 8));
    p.setPen(QPen(ink, 1.5));
    p.setBrush(canopy);
    p.drawPath(planform(QRectF(30, 38, 28, 18)));
}

void frontView(QPainter& p)
{
    QPainterPath arc;
    arc.moveTo(6, 36);
    arc.cubicTo(10, 6, 54, 6, 58, 36);
    p.setPen(QPen(canopy, 7, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    p.setPen(QPen(ink, 1.2));
    for (double t : {0.08, 0.25, 0.42, 0.58, 0.75, 0.92})
        p.drawLine(arc.pointAtPercent(t), QPointF(32, 58));
    p.setBrush(ink);
    p.drawEllipse(QPointF(32, 58), 3, 3);
}

void topView(QPainter& p)
{
    const QRectF r(6, 14, 52, 36);
    p.setPen(QPen(ink, 2));
    p.setBrush(canopyLight);
    p.drawPath(planform(r));
    p.setPen(QPen(ink, 1));
    for (int i = 1; i < 6; ++i) {
        const double x = r.left() + r.width() * i / 6.5;
        p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom() - (i > 4 ? 5 : 0)));
    }
}

void abcLines(QPainter& p)
{
    const QRectF r(6, 20, 52, 30);
    p.setPen(QPen(ink, 2));
    p.setBrush(canopyLight);
    const QPainterPath foil = airfoil(r);
    p.drawPath(foil);
    QFont f("DejaVu Sans");
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    const char* letters[] = {"A", "B", "C"};
    for (int i = 0; i < 3; ++i) {
        const double x = r.left() + r.width() * (0.12 + 0.3 * i);
        p.setPen(QPen(lineBlue, 2));
        p.drawLine(QPointF(x, 32), QPointF(x, 52));
        p.setPen(ink);
        p.drawText(QRectF(x - 7, 50, 14, 13), Qt::AlignCenter, letters[i]);
    }
}

void winflex(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        QPainterPath path;
        const double y = 14 + i * 11;
        path.moveTo(8, y + 6);
        path.cubicTo(22, y - 6 + i * 2, 40, y + 10 - i * 2, 56, y);
        p.setPen(QPen(QColor::fromHsv(20 + i * 50, 200, 210), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(path);
    }
    p.setPen(QPen(ink, 2));
    p.drawLine(QPointF(8, 8), QPointF(8, 56));
    p.drawLine(QPointF(56, 8), QPointF(56, 56));
}

void airfoilIcon(QPainter& p)
{
    QLinearGradient g(0, 20, 0, 44);
    g.setColorAt(0, canopyLight);
    g.setColorAt(1, canopy);
    p.setPen(QPen(ink, 2));
    p.setBrush(g);
    p.drawPath(airfoil(QRectF(5, 14, 54, 36), 0.16));
}

void diagonals(QPainter& p)
{
    p.setPen(QPen(ink, 3));
    p.drawLine(QPointF(14, 10), QPointF(14, 54));
    p.drawLine(QPointF(50, 10), QPointF(50, 54));
    p.setBrush(QColor(canopy.red(), canopy.green(), canopy.blue(), 150));
    p.setPen(QPen(canopy.darker(130), 1.5));
    QPolygonF d;
    d << QPointF(14, 12) << QPointF(50, 30) << QPointF(50, 54) << QPointF(14, 30);
    p.drawPolygon(d);
    p.setPen(QPen(lineBlue, 2));
    p.drawLine(QPointF(50, 54), QPointF(50, 62));
}

void misc(QPainter& p)
{
    const QRectF r(6, 16, 52, 34);
    p.setPen(QPen(ink, 2));
    p.setBrush(canopyLight);
    p.drawPath(airfoil(r, 0.15));
    QPainterPath rod;
    rod.moveTo(24, 23);
    rod.quadTo(6, 22, 8, 33);
    rod.quadTo(10, 40, 22, 40);
    p.setPen(QPen(QColor(20, 20, 20), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(rod);
}

void crossPorts(QPainter& p)
{
    const QRectF r(4, 14, 56, 36);
    p.setPen(QPen(ink, 2));
    p.setBrush(canopyLight);
    p.drawPath(airfoil(r, 0.17));
    p.setBrush(Qt::white);
    p.setPen(QPen(ink, 1.5));
    p.drawEllipse(QPointF(17, 30), 4.5, 4.5);
    p.drawEllipse(QPointF(30, 30), 4, 4);
    QPolygonF tri;
    tri << QPointF(39, 27) << QPointF(47, 27) << QPointF(43, 33);
    p.drawPolygon(tri);
}

void sideView(QPainter& p)
{
    p.setPen(QPen(ink, 1.5));
    p.setBrush(canopy);
    p.drawPath(airfoil(QRectF(8, 6, 44, 20), 0.14));
    p.setPen(QPen(lineBlue, 1.2));
    for (double x : {12.0, 22.0, 32.0, 44.0})
        p.drawLine(QPointF(x, 10), QPointF(30, 44));
    p.setPen(QPen(ink, 2));
    p.setBrush(QColor(60, 60, 60));
    p.drawEllipse(QPointF(30, 47), 4, 4);
    p.drawLine(QPointF(30, 51), QPointF(26, 60));
    p.drawLine(QPointF(26, 60), QPointF(38, 60));
}

void billow(QPainter& p)
{
    p.setPen(QPen(ink, 2));
    p.setBrush(canopyLight);
    QPainterPath path(QPointF(6, 40));
    for (int i = 0; i < 4; ++i) {
        const double x0 = 6 + i * 13;
        path.quadTo(x0 + 6.5, 14, x0 + 13, 40);
    }
    path.lineTo(58, 48);
    path.lineTo(6, 48);
    path.closeSubpath();
    p.drawPath(path);
    p.setPen(QPen(ink, 2.5));
    for (int i = 0; i <= 4; ++i)
        p.drawLine(QPointF(6 + i * 13, 40), QPointF(6 + i * 13, 50));
}

void bridle(QPainter& p)
{
    p.setPen(QPen(canopy, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 8), QPointF(58, 8));
    p.setPen(QPen(lineBlue, 1.5));
    const QPointF riser(32, 58), k1(20, 34), k2(44, 34);
    p.drawLine(riser, k1);
    p.drawLine(riser, k2);
    for (int i = 0; i < 4; ++i) {
        p.drawLine(k1, QPointF(8 + i * 7.5, 9));
        p.drawLine(k2, QPointF(35 + i * 7.5, 9));
    }
    p.setBrush(ink);
    p.setPen(Qt::NoPen);
    for (QPointF q : {riser, k1, k2})
        p.drawEllipse(q, 2.5, 2.5);
}

void cfd(QPainter& p)
{
    const QRectF r(6, 18, 52, 34);
    QLinearGradient g(r.left(), 0, r.right(), 0);
    g.setColorAt(0, QColor(220, 30, 30));
    g.setColorAt(0.3, QColor(240, 220, 40));
    g.setColorAt(0.6, QColor(60, 200, 80));
    g.setColorAt(1, QColor(40, 80, 220));
    p.setPen(QPen(ink, 1.5));
    p.setBrush(g);
    p.drawPath(airfoil(r, 0.16));
    p.setPen(QPen(ink, 1.5));
    for (int i = 0; i < 3; ++i) {
        const double y = 10 + i * 20;
        p.drawLine(QPointF(4, y), QPointF(14, y));
        p.drawLine(QPointF(14, y), QPointF(11, y - 2.5));
        p.drawLine(QPointF(14, y), QPointF(11, y + 2.5));
    }
}

void graphicDesign(QPainter& p)
{
    const QRectF r(6, 12, 52, 40);
    const QPainterPath wing = planform(r);
    p.save();
    p.setClipPath(wing);
    p.fillRect(r, QColor(250, 250, 250));
    QPainterPath band;
    band.moveTo(r.left(), r.top() + 14);
    band.cubicTo(24, 10, 40, 40, r.right(), r.top() + 10);
    band.lineTo(r.right(), r.top() + 22);
    band.cubicTo(40, 54, 24, 24, r.left(), r.top() + 28);
    band.closeSubpath();
    p.fillPath(band, QColor(40, 110, 220));
    QPainterPath band2;
    band2.moveTo(r.left(), r.bottom() - 4);
    band2.cubicTo(20, 36, 40, 56, r.right(), r.top() + 28);
    band2.lineTo(r.right(), r.bottom());
    band2.lineTo(r.left(), r.bottom());
    p.fillPath(band2, QColor(230, 50, 60));
    p.restore();
    p.setPen(QPen(ink, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wing);
}

void straps(QPainter& p)
{
    p.setPen(QPen(ink, 3));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(12 + i * 20, 8), QPointF(12 + i * 20, 56));
    p.setPen(QPen(QColor(20, 140, 90).darker(120), 1));
    p.setBrush(QColor(40, 180, 110));
    for (int i = 0; i < 2; ++i) {
        QPolygonF s;
        const double x = 12 + i * 20, y = 24 + i * 10;
        s << QPointF(x, y) << QPointF(x + 20, y + 4) << QPointF(x + 20, y + 12) << QPointF(x, y + 8);
        p.drawPolygon(s);
    }
}

void dxf(QPainter& p)
{
    QPolygonF sheet;
    sheet << QPointF(12, 6) << QPointF(42, 6) << QPointF(54, 18) << QPointF(54, 58) << QPointF(12, 58);
    p.setPen(QPen(ink, 2));
    p.setBrush(Qt::white);
    p.drawPolygon(sheet);
    p.drawLine(QPointF(42, 6), QPointF(42, 18));
    p.drawLine(QPointF(42, 18), QPointF(54, 18));
    p.setPen(QPen(canopy, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(airfoil(QRectF(16, 20, 34, 14), 0.14));
    QFont f("DejaVu Sans");
    f.setPixelSize(13);
    f.setBold(true);
    p.setFont(f);
    p.setPen(lineBlue);
    p.drawText(QRectF(12, 38, 42, 18), Qt::AlignCenter, "DXF");
}

QImage icon(const std::function<void(QPainter&)>& draw)
{
    QImage img(S, S, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    frame(p);
    draw(p);
    return img;
}

QImage logo()
{
    const int w = 640, h = 200;
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(36, 70, 130));
    sky.setColorAt(1, QColor(120, 170, 225));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(0, 0, w, h), 18, 18);

    // The wing in front view: an arc of cells with its lines down to the pilot.
    QPainterPath arc;
    arc.moveTo(30, 110);
    arc.cubicTo(50, 10, 200, 10, 220, 110);
    p.setPen(QPen(QColor(250, 140, 40), 18, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    p.setPen(QPen(QColor(255, 255, 255, 160), 1.5));
    for (int i = 1; i < 12; ++i) {
        const QPointF a = arc.pointAtPercent(i / 12.0);
        const double ang = qDegreesToRadians(arc.angleAtPercent(i / 12.0) + 90.0);
        p.drawLine(a + 9 * QPointF(std::cos(ang), -std::sin(ang)),
                   a - 9 * QPointF(std::cos(ang), -std::sin(ang)));
    }
    p.setPen(QPen(QColor(230, 235, 245), 1));
    for (int i = 0; i <= 10; ++i)
        p.drawLine(arc.pointAtPercent(0.03 + i * 0.094), QPointF(125, 180));
    p.setBrush(QColor(30, 30, 40));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(125, 184), 6, 6);

    QFont big("DejaVu Sans");
    big.setPixelSize(76);
    big.setBold(true);
    p.setFont(big);
    p.setPen(Qt::white);
    p.drawText(QRectF(250, 24, 380, 90), Qt::AlignLeft | Qt::AlignVCenter, "Wingloft");
    QFont small("DejaVu Sans");
    small.setPixelSize(26);
    p.setFont(small);
    p.setPen(QColor(255, 220, 150));
    p.drawText(QRectF(254, 112, 380, 40), Qt::AlignLeft | Qt::AlignVCenter, "WL9  paraglider design");
    return img;
}

// The 3-D view's colour settings: a palette with three colour wells.
void colorSettings(QPainter& p)
{
    QPainterPath palette;
    palette.addEllipse(QRectF(8, 12, 48, 40));
    QPainterPath thumb;
    thumb.addEllipse(QRectF(34, 36, 12, 10));
    p.setPen(QPen(ink, 2));
    p.setBrush(QColor(236, 214, 176));
    p.drawPath(palette.subtracted(thumb));
    p.setPen(Qt::NoPen);
    const QColor wells[] = {canopy, lineBlue, QColor(60, 170, 80)};
    const QPointF at[] = {{20, 26}, {32, 20}, {44, 26}};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(wells[i]);
        p.drawEllipse(at[i], 5.5, 5.5);
    }
}

// The inflated view: a wing arc with bulging cells.
void inflate(QPainter& p)
{
    QPainterPath arc;
    arc.moveTo(6, 44);
    for (int i = 0; i < 4; ++i) {
        const double x0 = 6 + i * 13;
        const double top = i == 0 || i == 3 ? 22 : 14;
        arc.quadTo(x0 + 6.5, top - 8, x0 + 13, i == 3 ? 44 : top + 2);
    }
    arc.lineTo(58, 48);
    arc.cubicTo(44, 30, 20, 30, 6, 48);
    arc.closeSubpath();
    p.setPen(QPen(ink, 2));
    p.setBrush(canopy);
    p.drawPath(arc);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 50), QPointF(32, 60));
    p.drawLine(QPointF(28, 56), QPointF(32, 60));
    p.drawLine(QPointF(36, 56), QPointF(32, 60));
}

// The ghost view: the ribs of a cell seen through the cloth.
void ghostView(QPainter& p)
{
    const QRectF r(6, 18, 52, 30);
    p.setPen(QPen(QColor(120, 130, 150), 1.5, Qt::DashLine));
    p.setBrush(QColor(255, 255, 255, 120));
    p.drawPath(airfoil(r));
    p.setPen(QPen(QColor(40, 170, 200), 2));
    p.setBrush(QColor(40, 200, 220, 90));
    p.drawPath(airfoil(r.adjusted(4, 3, -4, -3)));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    for (double x : {18.0, 28.0, 38.0})
        p.drawEllipse(QPointF(x, 31), 3, 3);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: wl_icons OUTDIR NAME.png [NAME.png ...]\n");
        return 2;
    }
    const QMap<QString, std::function<void(QPainter&)>> drawers = {
        {"General data 2.png", generalData},   {"Front view 2.png", frontView},
        {"Top view 2.png", topView},           {"ABC lines 2.png", abcLines},
        {"winflex.png", winflex},              {"Airfoil 2.png", airfoilIcon},
        {"Diagonals 2.png", diagonals},        {"Misc 2.png", misc},
        {"Cross ports 2.png", crossPorts},     {"Side view 2.png", sideView},
        {"Billow 2.png", billow},              {"Bridle 2.png", bridle},
        {"CFD 2.png", cfd},                    {"Graphic design 2.png", graphicDesign},
        {"addits.png", straps},                {"DXF 2.png", dxf},
        {"color_settings.png", colorSettings}, {"inflate.png", inflate},
        {"Ghost_view.png", ghostView},
    };
    const QDir out(args[1]);
    if (!out.exists() && !QDir().mkpath(out.path()))
        return 1;
    for (int i = 2; i < args.size(); ++i) {
        const QString& name = args[i];
        QImage img;
        if (name == "wingloft_logo.png")
            img = logo();
        else if (drawers.contains(name))
            img = icon(drawers.value(name));
        else {
            std::fprintf(stderr, "wl_icons: no drawing for %s\n", qPrintable(name));
            return 1;
        }
        if (!img.save(out.filePath(name), "PNG")) {
            std::fprintf(stderr, "wl_icons: cannot write %s\n", qPrintable(out.filePath(name)));
            return 1;
        }
    }
    return 0;
}
