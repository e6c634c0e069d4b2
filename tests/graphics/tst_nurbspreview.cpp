// What the textured preview draws, without GL: knots and spanwise rows, the
// control net of the default design checked by evaluating the B-spline
// (de Boor), the texture image and its upload bytes, the bridle lines.

#include <QTest>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPolygon>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
#include <QVector3D>

#include "core/bridledata.h"
#include "core/filesave.h"
#include "core/parastruct.h"
#include "graphics/nurbspreview.h"
#include "tools/template/defaultdesign.h"

#include <cerrno>
#include <cmath>
#include <memory>

namespace {

// The cubic B-spline of the net's chordwise row v at t, by de Boor's
// algorithm over the clamped knots.
QVector3D deBoor(const NurbsSurface& s, int v, double t)
{
    const int p = 3;
    int k = p;
    while (k < s.chordCount - 1 && t >= s.chordKnots[k + 1])
        ++k;
    QVector3D d[4];
    for (int j = 0; j <= p; ++j)
        d[j] = s.controlNet[k - p + j][v];
    for (int r = 1; r <= p; ++r)
        for (int j = p; j >= r; --j) {
            const int i = k - p + j;
            const double a = (t - s.chordKnots[i]) / (s.chordKnots[i + p + 1 - r] - s.chordKnots[i]);
            d[j] = float(1 - a) * d[j - 1] + float(a) * d[j];
        }
    return d[p];
}

QColor pixel(const QImage& image, int x, int y)
{
    return QColor::fromRgba(image.pixel(x, y));
}

} // namespace

class TestNurbsPreview : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void chordwiseKnots()
    {
        float k[nurbs::kChordKnots];
        QCOMPARE(number_u_knots(18, k), 22);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(k[i], 0.0f);
            QCOMPARE(k[18 + i], 1.0f);
        }
        for (int i = 4; i < 18; ++i)
            QCOMPARE(k[i], float(i - 3) / 15.0f);
    }

    // 136 control points: the knots times 134 read 0, 0, 0, 1, 2, 3, 3, 5,
    // 6, 7, 7, 9, .., 131, 131, 133, 134, 134, 134.
    void spanwiseKnots_data()
    {
        QTest::addColumn<int>("odd");
        QTest::newRow("even cells") << 0;
        QTest::newRow("odd cells") << 1;
    }
    void spanwiseKnots()
    {
        QFETCH(int, odd);
        float k[nurbs::kSpanKnots];
        QCOMPARE(number_v_knots(odd, 3, 136, k), 139);
        QList<int> expected = {0, 0, 0};
        for (int i = 3; i <= 135; ++i)
            expected << ((i % 4 == 2) ? i - 3 : i - 2);
        expected << 134 << 134 << 134;
        QList<int> got;
        for (int i = 0; i < 139; ++i)
            got << qRound(k[i] * 134);
        QCOMPARE(got, expected);
        QCOMPARE(got.mid(0, 12), QList<int>({0, 0, 0, 1, 2, 3, 3, 5, 6, 7, 7, 9}));
        QCOMPARE(got.mid(133), QList<int>({131, 131, 133, 134, 134, 134}));
        // Linear order: clamped and uniform, nothing doubled.
        QCOMPARE(number_v_knots(odd, 2, 10, k), 12);
        for (int i = 2; i < 10; ++i)
            QCOMPARE(k[i], float(i - 1) / 9.0f);
    }

    void spanwiseRows_data()
    {
        QTest::addColumn<int>("odd");
        QTest::addColumn<int>("cell");
        QTest::addColumn<int>("sub");
        QTest::addColumn<int>("row");
        QTest::newRow("even, cell 0") << 0 << 0 << 0 << 0;
        QTest::newRow("even, cell 3 sub 8") << 0 << 3 << 8 << 32;
        QTest::newRow("odd, centre middle") << 1 << 0 << 4 << 0;
        QTest::newRow("odd, centre edge") << 1 << 0 << 8 << 4;
        QTest::newRow("odd, cell 1") << 1 << 1 << 0 << 4;
        QTest::newRow("odd, cell 5 sub 3") << 1 << 5 << 3 << 39;
        QTest::newRow("odd, before the middle") << 1 << 0 << 2 << -2;
        QTest::newRow("odd, negative cell") << 1 << -1 << 4 << -1;
        QTest::newRow("other flag") << 2 << 1 << 1 << -1;
    }
    void spanwiseRows()
    {
        QFETCH(int, odd);
        QFETCH(int, cell);
        QFETCH(int, sub);
        QFETCH(int, row);
        QCOMPARE(f_Value8(odd, cell, sub), row);
    }

    void spanwiseCounts()
    {
        QCOMPARE(numberCP_V(0, 17), 136);
        QCOMPARE(numberCP_V(1, 18), 140);
        QCOMPARE(numberCP_V(2, 18), -1);
        int idx[16];
        QCOMPARE(Airfoil_points_subset(idx), 16);
        QCOMPARE(idx[0], 0);
        QCOMPARE(idx[2], 130);
        QCOMPARE(idx[14], 910);
        QCOMPARE(idx[15], 998);
    }

    void turnedOutline()
    {
        const QPolygon p({QPoint(10, 0), QPoint(20, 998), QPoint(30, 999), QPoint(40, 500)});
        QCOMPARE(turnPoly(p), QPolygon({QPoint(0, 10), QPoint(998, 20), QPoint(500, 40)}));
    }

    // Every row of the net is the cubic spline through the 16 airfoil points
    // of its sub-row: evaluated at j / 15 it gives point j, in view units.
    void controlNetOfTheDefaultDesign_data()
    {
        QTest::addColumn<int>("cells");
        QTest::newRow("34 cells") << 34;
        QTest::newRow("35 cells") << 35;
    }
    void controlNetOfTheDefaultDesign()
    {
        QFETCH(int, cells);
        const auto design = Build_Default_Design(cells);
        auto s = std::make_unique<NurbsSurface>();
        QVERIFY(Set_Inflated_Surface_Points(design.get(), nurbs::kModelScale, s.get()));
        const int R = design->lastRib;
        const int odd = design->firstRib;
        QCOMPARE(s->spanCount, odd ? 8 * R - 4 : 8 * R);
        QCOMPARE(s->spanKnotCount, s->spanCount + 3);
        QCOMPARE(s->chordCount, 18);
        QCOMPARE(s->chordKnotCount, 22);
        int idx[16];
        Airfoil_points_subset(idx);
        for (int c : {0, 1, R / 2, R - 1})
            for (int sub : {4, 6, 8}) {
                const int v = f_Value8(odd, c, sub);
                for (int j = 0; j < 16; ++j) {
                    const QVector3D expected = design->inflatedGrid[sub][c][idx[j]] * float(nurbs::kModelScale);
                    const QVector3D got = deBoor(*s, v, j / 15.0);
                    QVERIFY2((got - expected).length() < 1e-6,
                             qPrintable(QStringLiteral("cell %1 sub %2 point %3").arg(c).arg(sub).arg(j)));
                }
            }
        // The first and last control points are the row's ends.
        QVERIFY((s->controlNet[0][0] - design->inflatedGrid[odd ? 4 : 0][0][0] * 0.0005f).length() < 1e-7);
    }

    // One red piece: red where its UV outline falls once the image is
    // flipped, transparent everywhere else.
    void imageOfOneRedPiece()
    {
        QVERIFY(dir.isValid());
        GlobClass* glob = GetGlobClass();
        glob->dxfDir = dir.path();
        glob->uvPieces = {QPolygon({QPoint(0, 100), QPoint(256, 100), QPoint(256, 300), QPoint(0, 300)})};
        glob->pieceColours = {QColor(255, 0, 0, 200)};
        glob->uvWidth = 512;
        glob->uvHeight = 1000;
        QVERIFY(Create_DesignImage());
        QImage image(dir.filePath(QStringLiteral("texture_image.png")));
        QCOMPARE(image.size(), QSize(2048, 2048));
        QVERIFY(image.hasAlphaChannel());
        image = image.convertToFormat(QImage::Format_ARGB32);
        // V 100 .. 300 across (x 204.8 .. 614.4), U 0 .. 256 down from the
        // bottom row (flipped y 2047 .. 1024).
        QCOMPARE(pixel(image, 400, 2047 - 100), QColor(255, 0, 0, 200));
        QCOMPARE(pixel(image, 210, 2040), QColor(255, 0, 0, 200));
        QCOMPARE(pixel(image, 400, 100).alpha(), 0);       // U near 490: no piece
        QCOMPARE(pixel(image, 100, 2000).alpha(), 0);      // V near 50: no piece
        QCOMPARE(pixel(image, 700, 1500).alpha(), 0);      // V near 340
        int red = 0, other = 0;
        for (int y = 0; y < 2048; ++y)
            for (int x = 0; x < 2048; ++x) {
                const QRgb p = image.pixel(x, y);
                if (p == qRgba(255, 0, 0, 200))
                    ++red;
                else if (qAlpha(p) != 0)
                    ++other;
            }
        QCOMPARE(other, 0);
        const double area = (614.4 - 204.8) * 1024.0;
        QVERIFY2(std::abs(red - area) < 0.01 * area, qPrintable(QString::number(red)));

        // Uploaded as blue, green, red from the bottom row up: the piece is
        // in the first rows of the texture.
        const QByteArray bgr = Texture_BGR(image);
        QCOMPARE(bgr.size(), 2048 * 2048 * 3);
        const int at = (100 * 2048 + 400) * 3;  // row 100 from the bottom
        QCOMPARE(QByteArray(bgr.constData() + at, 3), QByteArray("\x00\x00\xff", 3));
        QCOMPARE(QByteArray(bgr.constData() + (2000 * 2048 + 400) * 3, 3), QByteArray(3, '\0'));
    }

    // A piece not coloured yet shows as light plain fabric, not black.
    void uncolouredPiecesArePlainFabric()
    {
        const QPolygon piece({QPoint(0, 0), QPoint(512, 0), QPoint(512, 998), QPoint(0, 998)});
        const QImage image = Paint_DesignImage({piece}, {QColor()}, 512, 998);
        QCOMPARE(pixel(image, 1000, 1000), Uncoloured_Piece_Colour());
        QVERIFY(Uncoloured_Piece_Colour().lightness() > 200);
        QCOMPARE(Uncoloured_Piece_Colour().alpha(), 255);
        // Nothing published yet, or no extent: all transparent.
        for (const QImage& empty : {Paint_DesignImage({}, {Qt::red}, 512, 998),
                                    Paint_DesignImage({piece}, {}, 512, 998),
                                    Paint_DesignImage({piece}, {Qt::red}, -10000, -10000)}) {
            QCOMPARE(empty.size(), QSize(2048, 2048));
            QCOMPARE(pixel(empty, 1000, 1000).alpha(), 0);
            QCOMPARE(QImage(empty).convertToFormat(QImage::Format_ARGB32).pixel(5, 5), qRgba(0, 0, 0, 0));
        }
    }

    // A disk that refuses the image: false, the system's reason and advice,
    // and the image written before stays as it was.
    void refusedImageTellsTheReason()
    {
        QVERIFY(dir.isValid());
        GlobClass* glob = GetGlobClass();
        glob->dxfDir = dir.path();
        glob->uvPieces = {QPolygon({QPoint(0, 100), QPoint(256, 100), QPoint(256, 300), QPoint(0, 300)})};
        glob->pieceColours = {QColor(0, 0, 255)};
        glob->uvWidth = 512;
        glob->uvHeight = 1000;
        QString problem = QStringLiteral("left over");
        QVERIFY(Create_DesignImage(&problem));
        QVERIFY(problem.isEmpty());
        const QString path = Design_Image_Path();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        glob->pieceColours = {QColor(0, 255, 0)};
        Set_File_Save_Fault([&](FileSaveStep step, const QString& p) {
            return step == FileSaveStep::Write && p == path ? ENOSPC : 0;
        });
        const bool written = Create_DesignImage(&problem);
        Set_File_Save_Fault({});
        QVERIFY(!written);
        QVERIFY2(problem.contains(path), qPrintable(problem));
        QVERIFY2(problem.contains(File_Error_Reason(ENOSPC)), qPrintable(problem));
        QVERIFY2(problem.contains(File_Error_Advice(ENOSPC)), qPrintable(problem));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }

    // No project, no image: nothing is written into the root folder.
    void noImageWithoutProject()
    {
        GetGlobClass()->dxfDir.clear();
        QVERIFY(Design_Image_Path().isEmpty());
        const bool before = QFile::exists(QStringLiteral("/texture_image.png"));
        QVERIFY(!Create_DesignImage());
        QCOMPARE(QFile::exists(QStringLiteral("/texture_image.png")), before);
        GetGlobClass()->dxfDir = dir.filePath(QStringLiteral("missing"));
        QVERIFY(!Create_DesignImage());
    }

    void textureBytes()
    {
        QImage image(2, 2, QImage::Format_ARGB32);
        image.setPixel(0, 0, qRgba(1, 2, 3, 255));
        image.setPixel(1, 0, qRgba(4, 5, 6, 0));
        image.setPixel(0, 1, qRgba(7, 8, 9, 100));
        image.setPixel(1, 1, qRgba(10, 11, 12, 255));
        QCOMPARE(Texture_BGR(image), QByteArray("\x09\x08\x07\x0c\x0b\x0a\x03\x02\x01\x06\x05\x04", 12));
    }

    void bridleLines()
    {
        auto bridle = std::make_unique<BridleData>();
        BridleGroup& l1 = bridle->groups[1];
        l1.lineCount = 2;
        l1.lineArray[0].q1 = QVector3D(1000, 0, 0);
        l1.lineArray[0].q2 = QVector3D(0, 2000, -4000);
        l1.lineArray[1].q1 = QVector3D(10, 20, 30);
        bridle->groups[3].lineCount = 5000;   // corrupt: counts as none
        bridle->groups[5].lineCount = 1;      // the brakes
        bridle->groups[0].lineCount = 3;      // slot 0 is not drawn
        const QList<PreviewLine> lines = Preview_Bridle_Lines(*bridle, 0.0005);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0].a, QVector3D(0.5f, 0, 0));
        QCOMPARE(lines[0].b, QVector3D(0, 1.0f, -2.0f));
        QCOMPARE(lines[0].colour, QColor::fromRgbF(0.2f, 0.8f, 1.0f));
        QCOMPARE(lines[2].colour, QColor(Qt::red));

        BridleGroup& risers = bridle->riserGroup;
        risers.lineCount = 3;
        risers.pairCount = 3;
        risers.pairArray[0] = QPoint(0, 1);
        risers.pairArray[1] = QPoint(1, 4);
        risers.pairArray[2] = QPoint(1, 5);
        risers.lineArray[2].q2 = QVector3D(2, 4, 6);
        const QList<PreviewLine> up = Preview_Riser_Lines(*bridle, 4, 0.5);
        QCOMPARE(up.size(), 2);
        QCOMPARE(up[1].b, QVector3D(1, 2, 3));
        QCOMPARE(up[0].colour, QColor(Qt::blue));
        QCOMPARE(up[0].width, 3.0f);
    }
};

QTEST_MAIN(TestNurbsPreview)
#include "tst_nurbspreview.moc"
