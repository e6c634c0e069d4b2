// Fitting a drawing into a view: the drawing shows whole inside the area,
// as large as the area allows (or the cap), centred or kept at an edge.

#include <QTest>

#include <QLineF>
#include <QObject>
#include <QPointF>
#include <QRectF>

#include "core/viewfit.h"

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(FitAlign)

namespace {

bool near(double a, double b)
{
    return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(b));
}

bool inside(const QRectF& inner, const QRectF& outer)
{
    const double e = 1e-9 * std::max(1.0, outer.width() + outer.height());
    return inner.left() >= outer.left() - e && inner.right() <= outer.right() + e
        && inner.top() >= outer.top() - e && inner.bottom() <= outer.bottom() + e;
}

} // namespace

class TestViewFit : public QObject
{
    Q_OBJECT

private slots:
    void fits_data()
    {
        QTest::addColumn<QRectF>("drawing");
        QTest::addColumn<QRectF>("area");
        QTest::addColumn<double>("maxZoom");
        QTest::addColumn<FitAlign>("align");
        QTest::addColumn<double>("zoom");
        const double inf = std::numeric_limits<double>::infinity();
        // a wide sheet, 15 m of plan units, in a view of 1380 x 760: the
        // width decides, 0.092
        QTest::newRow("wide sheet") << QRectF(-200, 40, 15000, 3000) << QRectF(0, 0, 1380, 760) << inf
                                    << FitAlign::Centre << 1380.0 / 15000;
        // a tall one: the height decides
        QTest::newRow("tall sheet") << QRectF(0, 0, 100, 2000) << QRectF(10, 10, 500, 400) << inf
                                    << FitAlign::Centre << 0.2;
        // a small drawing is not blown up beyond the cap
        QTest::newRow("capped") << QRectF(0, 0, 10, 10) << QRectF(0, 0, 500, 400) << 1.0 << FitAlign::Centre
                                << 1.0;
        QTest::newRow("kept top left") << QRectF(40, -190, 730, 400) << QRectF(8, 8, 500, 600) << 1.0
                                       << FitAlign::TopLeft << 500.0 / 730;
        QTest::newRow("kept top") << QRectF(0, 0, 300, 600) << QRectF(0, 20, 900, 300) << inf << FitAlign::Top
                                  << 0.5;
        // a line (no height) fits by its length
        QTest::newRow("flat") << QRectF(0, 5, 200, 0) << QRectF(0, 0, 100, 100) << inf << FitAlign::Centre << 0.5;
        // upside-down rectangles are the same rectangles
        QTest::newRow("reversed") << QRectF(100, 100, -100, -50) << QRectF(0, 0, 200, 200) << inf
                                  << FitAlign::Centre << 2.0;
    }
    void fits()
    {
        QFETCH(QRectF, drawing);
        QFETCH(QRectF, area);
        QFETCH(double, maxZoom);
        QFETCH(FitAlign, align);
        QFETCH(double, zoom);
        const ViewFit fit = Fit_In(drawing, area, maxZoom, align);
        QVERIFY2(near(fit.zoom, zoom), qPrintable(QString::number(fit.zoom, 'g', 17)));
        const QRectF shown = fit.toView(drawing.normalized());
        QVERIFY(inside(shown, area));
        // tight: one side of the drawing spans the area, unless capped
        if (fit.zoom < maxZoom)
            QVERIFY(near(shown.width(), area.width()) || near(shown.height(), area.height()));
        switch (align) {
        case FitAlign::Centre:
            QVERIFY(near(shown.center().x(), area.center().x()));
            QVERIFY(near(shown.center().y(), area.center().y()));
            break;
        case FitAlign::TopLeft:
            QVERIFY(near(shown.left(), area.left()) && near(shown.top(), area.top()));
            break;
        case FitAlign::Top:
            QVERIFY(near(shown.top(), area.top()) && near(shown.center().x(), area.center().x()));
            break;
        case FitAlign::Left:
            QVERIFY(near(shown.left(), area.left()) && near(shown.center().y(), area.center().y()));
            break;
        }
        // and back
        const QPointF p(drawing.x() + 3, drawing.y() + 7);
        QVERIFY(QLineF(fit.toDrawing(fit.toView(p)), p).length() < 1e-9);
    }

    void degenerate()
    {
        // nothing to fit: zoom 1 (or the cap), centred
        const ViewFit point = Fit_In(QRectF(5, 5, 0, 0), QRectF(0, 0, 100, 50));
        QCOMPARE(point.zoom, 1.0);
        QCOMPARE(point.toView(QPointF(5, 5)), QPointF(50, 25));
        QCOMPARE(Fit_In(QRectF(5, 5, 0, 0), QRectF(0, 0, 100, 50), 0.25).zoom, 0.25);
        // no area: nothing moves
        const ViewFit none = Fit_In(QRectF(0, 0, 10, 10), QRectF(0, 0, 0, 100));
        QCOMPARE(none.zoom, 1.0);
        QCOMPARE(none.offset, QPointF());
        const ViewFit nan = Fit_In(QRectF(0, 0, 10, 10), QRectF(0, 0, std::nan(""), 100));
        QCOMPARE(nan.zoom, 1.0);
    }
};

QTEST_MAIN(TestViewFit)
#include "tst_viewfit.moc"
