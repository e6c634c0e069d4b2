#include "graphics/nurbspreview.h"

#include "core/bridledata.h"
#include "core/curves.h"
#include "core/filesave.h"
#include "core/parastruct.h"

#include <QBuffer>
#include <QDebug>
#include <QPainter>

#include <algorithm>

int Airfoil_points_subset(int* idx)
{
    static const int subset[nurbs::kChordPoints] = {0,   32,  130, 195, 260, 325, 390, 455,
                                                    520, 585, 650, 715, 780, 845, 910, 998};
    std::copy(subset, subset + nurbs::kChordPoints, idx);
    return nurbs::kChordPoints;
}

int numberCP_V(int odd, int cells)
{
    if (odd == 0)
        return 8 * cells;
    if (odd == 1)
        return 8 * cells - 4;
    return -1;
}

int f_Value8(int odd, int cell, int sub)
{
    int row = -1;
    if (odd == 0)
        row = 8 * cell + sub;
    else if (odd == 1 && cell == 0)
        row = sub - 4;
    else if (odd == 1 && cell >= 1)
        row = 8 * cell - 4 + sub;
    if (row < 0)
        qDebug() << "  strange result:" << row;
    return row;
}

int number_u_knots(int n, float* k)
{
    for (int i = 0; i < 4; ++i)
        k[i] = 0.0f;
    for (int i = 4; i <= n - 1; ++i)
        k[i] = float(i - 3) / float(n - 3);
    for (int i = n; i < n + 4; ++i)
        k[i] = 1.0f;
    return n + 4;
}

int number_v_knots(int odd, int order, int n, float* k)
{
    for (int i = 0; i < order; ++i)
        k[i] = 0.0f;
    for (int i = order; i <= n - 1; ++i)
        k[i] = float(i - order + 1) / float(n - order + 1);
    for (int i = n; i < n + order; ++i)
        k[i] = 1.0f;
    if (order == 2)
        return order + n;
    // Knots doubled at every fourth step: the quadratic surface then passes
    // through its rib rows and the rows in the middle of the cells.
    int c = 4 * odd;
    for (int i = order; i < n - 1; ++i) {
        if (!(k[i + 1] > k[i]))
            continue;
        if ((c + 2) % 4 == 0) {
            k[i + 1] = k[i];
            c += 2;
            ++i;
        } else {
            c += 1;
        }
    }
    return order + n;
}

QPolygon turnPoly(const QPolygon& p)
{
    QPolygon out;
    out.reserve(p.size());
    for (const QPoint& q : p)
        if (q.y() <= 998)
            out.append(QPoint(q.y(), q.x()));
    return out;
}

bool Set_Inflated_Surface_Points(const ParaStruct* design, double modelScale, NurbsSurface* s)
{
    s->spanCount = 0;
    s->spanKnotCount = 0;
    s->chordCount = 0;
    s->chordKnotCount = 0;
    const int R = design->lastRib;
    const int odd = design->firstRib;
    if ((odd != 0 && odd != 1) || R < 1 || R >= kRibSlots || 8 * R >= nurbs::kSpanRows)
        return false;

    int idx[nurbs::kChordPoints];
    Airfoil_points_subset(idx);
    s->chordOrder = 4;
    s->spanOrder = 3;
    s->spanCount = numberCP_V(odd, R);
    s->spanKnotCount = number_v_knots(odd, 3, s->spanCount, s->spanKnots);

    Spliners spliner;
    QVector3D in[nurbs::kChordPoints];
    QVector3D out[nurbs::kChordCount];
    for (int c = 0; c < R; ++c) {
        // The centre cell of an odd cell count is halved by the symmetry
        // plane: its rows start in its middle.
        for (int sub = (c == 0 && odd == 1) ? 4 : 0; sub <= 8; ++sub) {
            const int v = f_Value8(odd, c, sub);
            for (int j = 0; j < nurbs::kChordPoints; ++j)
                in[j] = design->inflatedGrid[sub][c][idx[j]] * float(modelScale);
            spliner.CubicSpliner3D(nurbs::kChordPoints, in, out);
            for (int i = 0; i < nurbs::kChordCount; ++i)
                s->controlNet[i][v] = out[i];
        }
    }
    s->chordCount = nurbs::kChordCount;
    s->chordKnotCount = number_u_knots(nurbs::kChordCount, s->chordKnots);
    return true;
}

QImage Paint_DesignImage(const QList<QPolygon>& pieces, const QList<QColor>& colours, int uvWidth,
                         int uvHeight)
{
    QImage image(nurbs::kImageSize, nurbs::kImageSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const int n = std::min(pieces.size(), colours.size());
    if (n > 0 && uvWidth > 0 && uvHeight > 0) {
        QPainter painter(&image);
        painter.setPen(Qt::NoPen);
        painter.scale(float(nurbs::kImageSize) / float(uvHeight), float(nurbs::kImageSize) / float(uvWidth));
        for (int i = 0; i < n; ++i) {
            // A piece without colour shows as plain fabric, so that a design
            // coloured in part (or not yet) does not look like a black wing.
            const QColor c = colours.at(i).isValid() ? colours.at(i) : Uncoloured_Piece_Colour();
            painter.setBrush(QBrush(c, Qt::SolidPattern));
            painter.drawPolygon(turnPoly(pieces.at(i)), Qt::OddEvenFill);
        }
    }
    return image.mirrored(false, true);
}

QColor Uncoloured_Piece_Colour()
{
    return QColor(225, 225, 218);
}

QString Design_Image_Path()
{
    const QString dir = GetGlobClass()->dxfDir;
    if (dir.isEmpty())
        return QString();
    return dir + QStringLiteral("/texture_image.png");
}

bool Create_DesignImage(QString* problem)
{
    if (problem)
        problem->clear();
    const QString path = Design_Image_Path();
    if (path.isEmpty())
        return false;
    const GlobClass* glob = GetGlobClass();
    const QImage image = Paint_DesignImage(glob->uvPieces, glob->pieceColours, glob->uvWidth, glob->uvHeight);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        if (problem)
            *problem = QStringLiteral("The texture image %1 could not be made: the picture could not be encoded "
                                      "as PNG. Nothing was written.")
                           .arg(path);
        return false;
    }
    const FileSaveResult saved = Save_File(path, bytes);
    if (!saved.ok()) {
        if (problem)
            *problem = QStringLiteral("The texture image %1 could not be written: %2. %3")
                           .arg(path, saved.reason(), saved.advice());
        return false;
    }
    return true;
}

QByteArray Texture_BGR(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    QByteArray bytes(qsizetype(w) * h * 3, Qt::Uninitialized);
    char* out = bytes.data();
    for (int y = h - 1; y >= 0; --y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            *out++ = char(qBlue(line[x]));
            *out++ = char(qGreen(line[x]));
            *out++ = char(qRed(line[x]));
        }
    }
    return bytes;
}

namespace {

// A stored count outside the store counts as 0.
int storedCount(int count)
{
    return count < 0 || count > kLineEntries ? 0 : count;
}

} // namespace

QList<PreviewLine> Preview_Bridle_Lines(const BridleData& bridle, double scale)
{
    QList<PreviewLine> lines;
    for (int slot = 1; slot <= 5; ++slot) {
        const BridleGroup& g = bridle.groups[slot];
        const float f = float(slot) / 5.0f;
        const QColor colour = slot == 5 ? QColor::fromRgbF(1, 0, 0) : QColor::fromRgbF(f, 1.0f - f, 1.0f);
        const int n = storedCount(g.lineCount);
        for (int e = 0; e < n; ++e)
            lines.append({g.lineArray[e].q1 * float(scale), g.lineArray[e].q2 * float(scale), colour, 1.0f});
    }
    return lines;
}

QList<PreviewLine> Preview_Riser_Lines(const BridleData& bridle, int lineGroupCount, double scale)
{
    QList<PreviewLine> lines;
    const BridleGroup& g = bridle.riserGroup;
    const int n = std::min(storedCount(g.lineCount), storedCount(g.pairCount));
    for (int i = 0; i < n; ++i)
        if (g.pairArray[i].y() >= lineGroupCount)
            lines.append({g.lineArray[i].q1 * float(scale), g.lineArray[i].q2 * float(scale),
                          QColor::fromRgbF(0, 0, 1), 3.0f});
    return lines;
}
