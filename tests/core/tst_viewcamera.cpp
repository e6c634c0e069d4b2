// The camera of the OpenGL views: angles kept within a turn, the drags of
// the turning and panning buttons, the start framing and the presets, the
// viewport, and the two matrices checked against Qt's own matrix arithmetic
// and against points worked out by hand.

#include <QTest>

#include <QMatrix4x4>
#include <QObject>
#include <QPoint>
#include <QRectF>
#include <QSize>
#include <QVector3D>
#include <QVector4D>

#include "core/viewcamera.h"

#include <algorithm>
#include <cmath>

namespace {

bool near(double a, double b, double tolerance = 1e-12)
{
    return std::abs(a - b) <= tolerance * std::max(1.0, std::abs(b));
}

QVector4D times(const CameraMatrix& m, QVector4D p)
{
    double out[4];
    for (int row = 0; row < 4; ++row)
        out[row] = m[row] * p.x() + m[4 + row] * p.y() + m[8 + row] * p.z() + m[12 + row] * p.w();
    return QVector4D(float(out[0]), float(out[1]), float(out[2]), float(out[3]));
}

} // namespace

class TestViewCamera : public QObject
{
    Q_OBJECT

private slots:
    void normalises_data()
    {
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("stored");
        QTest::newRow("zero") << 0 << 0;
        QTest::newRow("inside") << 1440 << 1440;
        QTest::newRow("a full turn stays") << 5760 << 5760;
        QTest::newRow("just past a turn") << 5761 << 1;
        QTest::newRow("two turns and a bit") << 11530 << 10;
        QTest::newRow("a quarter back") << -1440 << 4320;
        QTest::newRow("a full turn back") << -5760 << 0;
        QTest::newRow("far back") << -5761 * 3 << 5757;
        QTest::newRow("just below zero") << -1 << 5759;
        QTest::newRow("two turns and one") << 11521 << 1;
        QTest::newRow("a turn and one back") << -5761 << 5759;
        QTest::newRow("half a turn back") << -2880 << 2880;
        QTest::newRow("three turns and some") << 3 * 5760 + 7 << 7;
        QTest::newRow("two turns and some back") << -2 * 5760 - 5 << 5755;
    }
    void normalises()
    {
        QFETCH(int, angle);
        QFETCH(int, stored);
        QCOMPARE(Normalize_Rotation(angle), stored);
        // Each turn is stored normalised; the same angle again, in any of
        // its forms, changes nothing.
        ViewCamera c;
        c.zRot = 77;
        QCOMPARE(c.setZRotation(angle), stored != 77);
        QCOMPARE(c.zRot, stored);
        QVERIFY(!c.setZRotation(stored));
        QVERIFY(!c.setZRotation(angle));
        QVERIFY(c.setYRotation(angle) == (stored != 0));
        QCOMPARE(c.yRot, stored);
    }

    // Right button: three sixteenths about x per pixel down, two about z per
    // pixel left, each kept within a turn; the rest of the camera stays.
    void turnedByADrag_data()
    {
        QTest::addColumn<QPoint>("start");   // x and z turn
        QTest::addColumn<QPoint>("drag");
        QTest::addColumn<QPoint>("end");
        QTest::newRow("down and right") << QPoint(4320, 1440) << QPoint(10, 20) << QPoint(4380, 1420);
        QTest::newRow("past a full turn") << QPoint(5750, 10) << QPoint(10, 10) << QPoint(20, 5750);
        QTest::newRow("still") << QPoint(100, 200) << QPoint(0, 0) << QPoint(100, 200);
    }
    void turnedByADrag()
    {
        QFETCH(QPoint, start);
        QFETCH(QPoint, drag);
        QFETCH(QPoint, end);
        ViewCamera c;
        c.xRot = start.x();
        c.yRot = 2880;
        c.zRot = start.y();
        c.scale = 0.7;
        c.xPan = 0.25;
        const ViewCamera t = Camera_Turned(c, drag);
        QCOMPARE(QPoint(t.xRot, t.zRot), end);
        QCOMPARE(t.yRot, 2880);
        QCOMPARE(t.scale, 0.7);
        QCOMPARE(t.xPan, 0.25);
    }

    // Middle button: the pan follows the pointer by the share of the view's
    // size (up is positive); a view without size counts as one pixel.
    void pannedByADrag_data()
    {
        QTest::addColumn<QPoint>("drag");
        QTest::addColumn<QSize>("view");
        QTest::addColumn<double>("xPan");
        QTest::addColumn<double>("yPan");
        QTest::newRow("right and down") << QPoint(90, 70) << QSize(900, 700) << 0.1 << 0.5 - 0.1;
        QTest::newRow("left and up") << QPoint(-45, -35) << QSize(450, 350) << -0.1 << 0.5 + 0.1;
        QTest::newRow("no size") << QPoint(2, 3) << QSize(0, 0) << 2.0 << 0.5 - 3.0;
    }
    void pannedByADrag()
    {
        QFETCH(QPoint, drag);
        QFETCH(QSize, view);
        QFETCH(double, xPan);
        QFETCH(double, yPan);
        ViewCamera c;
        c.yPan = 0.5;
        const ViewCamera p = Camera_Panned(c, drag, view);
        QVERIFY(near(p.xPan, xPan));
        QVERIFY(near(p.yPan, yPan));
        QCOMPARE(p.xRot, c.xRot);
        QCOMPARE(p.scale, c.scale);
    }

    // The left button's framing and the keys F, S, B, T.
    void fitAndPresets()
    {
        ViewCamera c;
        c.xPan = 3;
        c.yPan = -2;
        c.scale = 7;
        c.xRot = 100;
        const ViewCamera f = Camera_Fitted(c);
        QCOMPARE(f.xPan, 0.0);
        QCOMPARE(f.yPan, 0.5);
        QCOMPARE(f.scale, 0.45);
        QCOMPARE(f.xRot, 100);
        QCOMPARE(Camera_Fitted(c, 0.5).scale, 0.5);

        const int expected[4][3] = {{4320, 2880, 1440}, {4320, 2880, 2880}, {2880, 2880, 1440}, {0, 2880, 1440}};
        for (int preset = 0; preset < 4; ++preset) {
            ViewCamera p = c;
            QVERIFY(Camera_Preset(&p, preset));
            QCOMPARE(p.xRot, expected[preset][0]);
            QCOMPARE(p.yRot, expected[preset][1]);
            QCOMPARE(p.zRot, expected[preset][2]);
            QCOMPARE(p.scale, 7.0);
            QCOMPARE(p.xPan, 3.0);
        }
        for (int preset : {-1, 4}) {
            ViewCamera p = c;
            QVERIFY(!Camera_Preset(&p, preset));
            QCOMPARE(p.xRot, 100);
        }
        QVERIFY(!Camera_Preset(nullptr, 0));
    }

    // Three times the smaller side, centred across, hanging by its lift.
    void viewport_data()
    {
        QTest::addColumn<QSize>("view");
        QTest::addColumn<double>("lift");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("side");
        QTest::newRow("wide") << QSize(800, 600) << 0.7 << -500 << -840 << 1800;
        QTest::newRow("wide, two thirds") << QSize(800, 600) << 2.0 / 3 << -500 << -800 << 1800;
        QTest::newRow("tall") << QSize(300, 1000) << 0.7 << -300 << 70 << 900;
        QTest::newRow("square") << QSize(512, 512) << 0.7 << -512 << -716 << 1536;
    }
    void viewport()
    {
        QFETCH(QSize, view);
        QFETCH(double, lift);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, side);
        ViewCamera c;
        c.lift = lift;
        const CameraViewport v = Camera_Viewport(c, view.width(), view.height());
        QCOMPARE(v.x, x);
        QCOMPARE(v.y, y);
        QCOMPARE(v.side, side);
    }

    // The box of the view maps onto the unit cube of GL's clip space.
    void projection_data()
    {
        QTest::addColumn<double>("nearPlane");
        QTest::addColumn<double>("farPlane");
        QTest::newRow("main view") << 0.4 << 130.0;
        QTest::newRow("preview") << 0.0 << 130.0;
        QTest::newRow("pressure view") << 4.0 << 13.0;
    }
    void projection()
    {
        QFETCH(double, nearPlane);
        QFETCH(double, farPlane);
        ViewCamera c;
        c.nearPlane = nearPlane;
        c.farPlane = farPlane;
        const CameraMatrix m = Camera_Projection(c);
        const QVector4D lowNear = times(m, QVector4D(-0.5f, -0.5f, float(-nearPlane), 1));
        const QVector4D highFar = times(m, QVector4D(0.5f, 0.5f, float(-farPlane), 1));
        QVERIFY(qFuzzyCompare(lowNear, QVector4D(-1, -1, -1, 1)));
        QVERIFY(qFuzzyCompare(highFar, QVector4D(1, 1, 1, 1)));
        QMatrix4x4 qt;
        qt.ortho(-0.5f, 0.5f, -0.5f, 0.5f, float(nearPlane), float(farPlane));
        for (int i = 0; i < 16; ++i)
            QVERIFY2(near(m[i], qt.constData()[i], 1e-6), qPrintable(QString::number(i)));
    }

    // Points by hand: with the x turn a quarter, the scene's y axis points
    // out of the screen; the zoom scales pan and depth alike.
    void modelviewByHand()
    {
        ViewCamera c;
        c.scale = 0.5;
        c.xPan = 0.2;
        c.yPan = 0.4;
        const CameraMatrix still = Camera_Modelview(c);
        auto eye = Camera_Eye_Point(still, 1, 2, 3);
        QVERIFY(near(eye[0], 0.5 * 1.2) && near(eye[1], 0.5 * 2.4) && near(eye[2], 0.5 * (3 - 9.5)));

        c.xRot = 1440;   // a quarter turn about x: y goes to z, z to -y
        eye = Camera_Eye_Point(Camera_Modelview(c), 0, 1, 0);
        QVERIFY(near(eye[0], 0.1) && near(eye[1], 0.2) && near(eye[2], 0.5 * (1 - 9.5)));
        c.xRot = 0;
        c.zRot = 1440;   // about z: x goes to y
        eye = Camera_Eye_Point(Camera_Modelview(c), 1, 0, 0);
        QVERIFY(near(eye[0], 0.1) && near(eye[1], 0.5 * 1.4) && near(eye[2], -4.75));
        c.zRot = 0;
        c.yRot = 1440;   // about y: z goes to x
        eye = Camera_Eye_Point(Camera_Modelview(c), 0, 0, 1);
        QVERIFY(near(eye[0], 0.5 * 1.2) && near(eye[1], 0.2) && near(eye[2], -4.75));
    }

    // Any camera: the same matrix as Qt builds from scale, translate and
    // the three turns in the order the views have always applied them.
    void modelviewAsQt_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("z");
        QTest::addColumn<double>("scale");
        QTest::newRow("start") << 4320 << 2880 << 1440 << 0.45;
        QTest::newRow("odd angles") << 123 << 4567 << 3001 << 1.7;
        QTest::newRow("pilot's view") << 2880 << 2880 << 1440 << 0.1;
    }
    void modelviewAsQt()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, z);
        QFETCH(double, scale);
        ViewCamera c;
        c.xRot = x;
        c.yRot = y;
        c.zRot = z;
        c.scale = scale;
        c.xPan = -0.3;
        c.yPan = 0.5;
        QMatrix4x4 qt;
        qt.scale(float(scale));
        qt.translate(-0.3f, 0.5f, -9.5f);
        qt.rotate(x / 16.0f, 1, 0, 0);
        qt.rotate(y / 16.0f, 0, 1, 0);
        qt.rotate(z / 16.0f, 0, 0, 1);
        const CameraMatrix m = Camera_Modelview(c);
        for (int i = 0; i < 16; ++i)
            QVERIFY2(near(m[i], qt.constData()[i], 1e-5), qPrintable(QStringLiteral("%1: %2 %3").arg(i).arg(m[i]).arg(qt.constData()[i])));
    }

    // The fit of a scene: every point and its mirror image across y = 0,
    // projected as GL does (Qt's matrices, the orthographic box, the square
    // viewport), lands inside the given area of the view, the scene as large
    // as that allows (it touches two opposite sides of the area) and centred
    // in it; the turns stay. Scenes off the origin, views wide and
    // tall, turned and not.
    void fitPoints_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("z");
        QTest::addColumn<QSize>("view");
        QTest::addColumn<QList<QVector3D>>("points");
        // A half wing seen from the front with its lines down to risers
        // far below it (GL units).
        const QList<QVector3D> wing{{0, 0, 0}, {0.1, 0.5, 0.05}, {0.05, 0.55, 0.25}, {0.3, 0.1, 0.02},
                                    {0.1, 0.08, 0.9}, {0.12, 0.1, 1.05}};
        QTest::newRow("face view, the form's size") << 4320 << 1440 << QSize(640, 500) << wing;
        QTest::newRow("face view, maximized") << 4320 << 1440 << QSize(1600, 900) << wing;
        QTest::newRow("tall view") << 4320 << 1440 << QSize(400, 900) << wing;
        QTest::newRow("turned") << 1000 << 333 << QSize(900, 700) << wing;
        QTest::newRow("far off the origin")
            << 0 << 0 << QSize(800, 600) << QList<QVector3D>{{5, 7, -3}, {5.2, 7.5, -2.9}, {4.9, 6.8, -3.3}};
    }
    void fitPoints()
    {
        QFETCH(int, x);
        QFETCH(int, z);
        QFETCH(QSize, view);
        QFETCH(QList<QVector3D>, points);
        ViewCamera c;
        c.xRot = x;
        c.zRot = z;
        c.scale = 3.0;
        c.xPan = 0.7;
        // An area of the view (from its lower left): 20 pixels to spare,
        // a band of 40 more at the top.
        const double margin = 20, band = 40;
        const QRectF area(QPointF(margin, margin), QPointF(view.width() - margin, view.height() - band - margin));
        const ViewCamera fitted = Camera_Fit_Points(c, points, view.width(), view.height(), area);
        QCOMPARE(fitted.xRot, x);
        QCOMPARE(fitted.zRot, z);
        // GL's road from a scene point to the window, built from Qt's
        // matrices.
        QMatrix4x4 m;
        m.ortho(-0.5f, 0.5f, -0.5f, 0.5f, float(c.nearPlane), float(c.farPlane));
        m.scale(float(fitted.scale));
        m.translate(float(fitted.xPan), float(fitted.yPan), -9.5f);
        m.rotate(x / 16.0f, 1, 0, 0);
        m.rotate(z / 16.0f, 0, 0, 1);
        const int side = 3 * std::min(view.width(), view.height());
        const double vx = (view.width() - side) / 2, vy = int((view.height() - side) * c.lift);
        double left = 1e9, right = -1e9, bottom = 1e9, top = -1e9;
        for (const QVector3D& p : points) {
            for (float mirror : {1.0f, -1.0f}) {
                const QVector3D ndc = m.map(QVector3D(p.x(), mirror * p.y(), p.z()));
                const double wx = vx + side * (ndc.x() + 1) / 2, wy = vy + side * (ndc.y() + 1) / 2;
                left = std::min(left, wx);
                right = std::max(right, wx);
                bottom = std::min(bottom, wy);
                top = std::max(top, wy);
            }
        }
        const QString where = QStringLiteral("%1..%2 x %3..%4 in %5 x %6")
                                  .arg(left).arg(right).arg(bottom).arg(top).arg(view.width()).arg(view.height());
        const double slack = 1e-3 * view.width();
        QVERIFY2(left >= area.left() - slack && right <= area.right() + slack, qPrintable(where));
        QVERIFY2(bottom >= area.top() - slack && top <= area.bottom() + slack, qPrintable(where));
        QVERIFY2((left < area.left() + slack && right > area.right() - slack)
                     || (bottom < area.top() + slack && top > area.bottom() - slack),
                 qPrintable(where));
        QVERIFY2(std::abs((left + right) / 2 - area.center().x()) < slack
                     && std::abs((bottom + top) / 2 - area.center().y()) < slack,
                 qPrintable(where));
    }
};

QTEST_GUILESS_MAIN(TestViewCamera)
#include "tst_viewcamera.moc"
