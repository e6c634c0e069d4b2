#include <QTest>
#include <QDir>
#include <QLatin1String>
#include <QList>
#include <QPolygonF>
#include <QStringList>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QRgb>
#include <QSize>
#include <QString>
#include <QStringLiteral>
#include <QWidget>

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QStatusBar>
#include <QToolTip>

#include "apps/driftline/mainwindow.h"
#include "apps/driftline/wsuit.h"
#include "core/chartlabels.h"
#include "tests/common/statewait.h"

#include <cmath>

namespace {

const QString Sample250Tip = QStringLiteral(
    "time:3.6 sec \n U:123.0 km/h \n angle:79.2 \n U-x:23.1 \n"
    " U-y:120.8 \n [dX:  9; dY: 62] \n Att[deg]:0.0 \n Acc/g:0.89");

// Whole-pixel position of a sample in a view of the given size: the flight
// plane starts 10 % in from the left and top, 1000 m span the drawing extent.
QPoint pixelOf(const Flight &f, int width, int height)
{
    const double w = width - 1, h = height - 1;
    return QPoint(int(0.1 * w + w * f.dX / 1000), int(0.1 * h + h * f.dY / 1000));
}

// First sample within 5 pixels (Manhattan) of the click, or -1.
int sampleNear(const QList<Flight> &flights, QPoint click, int width, int height)
{
    for (int i = 0; i < flights.size(); ++i)
        if ((pixelOf(flights[i], width, height) - click).manhattanLength() <= 5)
            return i;
    return -1;
}

int countColour(const QImage &image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

void setDefaultGlide(GlideSimulation &g)
{
    g.set_M(90);
    g.set_S(2.2);
    g.set_V0(1);
    g.set_imp_mode(false);
}

void replaceText(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

} // namespace

class TestDriftlineGui : public QObject
{
    Q_OBJECT
private:
    template <typename T> T *child(QWidget &w, const char *name)
    {
        T *c = w.findChild<T *>(QLatin1String(name));
        if (!c)
            qFatal("no %s", name);
        return c;
    }

private slots:
    void windowStartsWithTheDefaults()
    {
        MainWindow w;
        w.show();
        WAIT_FOR_EXPOSED(&w);
        QCOMPARE(w.windowTitle(), QStringLiteral("Wingloft ver.  7.0"));
        QCOMPARE(child<QLineEdit>(w, "M_Edit")->text(), QStringLiteral("90"));
        QCOMPARE(child<QLineEdit>(w, "S_Edit")->text(), QStringLiteral("2.2"));
        QCOMPARE(child<QLineEdit>(w, "V0_Edit")->text(), QStringLiteral("1"));
        QCOMPARE(child<QLineEdit>(w, "imp_V_Edit")->text(), QStringLiteral("245"));
        QCOMPARE(child<QLineEdit>(w, "imp_tw_Edit")->text(), QStringLiteral("10"));
        QCOMPARE(child<QLineEdit>(w, "imp_maxatt_Edit")->text(), QStringLiteral("25"));
        QCOMPARE(child<QLineEdit>(w, "attEdit")->text(), QStringLiteral("0"));
        QVERIFY(!child<QCheckBox>(w, "imp_checkBox")->isChecked());

        WSuit *view = child<WSuit>(w, "ws_widget");
        QCOMPARE(view->M, 90.0);
        QCOMPARE(view->S, 2.2);
        QCOMPARE(view->V0, 1.0);
        QCOMPARE(view->imp_V, 245.0);
        QCOMPARE(view->imp_tw, 10.0);
        QCOMPARE(view->imp_maxatt, 25.0);
        QVERIFY(!view->imp_mode);
        // The inputs sit on the view, over its drawing.
        QCOMPARE(child<QSlider>(w, "attSlider")->parentWidget(), view);
        QCOMPARE(child<QLineEdit>(w, "imp_V_Edit")->parentWidget(), child<QGroupBox>(w, "groupBox"));
        QVERIFY(!view->flights.isEmpty());

        child<QAction>(w, "actionExit")->trigger();
        QVERIFY(!w.isVisible());
    }

    // No status bar and no connections of its own; Quit closes like "exit".
    void noStatusBarAndQuitCloses()
    {
        MainWindow w;
        w.createStatusBar();
        w.Set_Connections();
        QVERIFY(!w.findChild<QStatusBar *>());
        w.show();
        WAIT_FOR_EXPOSED(&w);
        QVERIFY(QMetaObject::invokeMethod(&w, "Quit"));
        QVERIFY(!w.isVisible());
    }

    void fieldsReachTheView()
    {
        MainWindow w;
        w.show();
        WAIT_FOR_EXPOSED(&w);
        WSuit *view = child<WSuit>(w, "ws_widget");

        replaceText(child<QLineEdit>(w, "S_Edit"), QStringLiteral("1.8"));
        QCOMPARE(view->S, 1.8);
        replaceText(child<QLineEdit>(w, "imp_tw_Edit"), QStringLiteral("7.5"));
        QCOMPARE(view->imp_tw, 7.5);
        // Text that is no number reads as 0; a comma is no decimal point.
        replaceText(child<QLineEdit>(w, "M_Edit"), QStringLiteral("abc"));
        QCOMPARE(view->M, 0.0);
        replaceText(child<QLineEdit>(w, "V0_Edit"), QStringLiteral("2,5"));
        QCOMPARE(view->V0, 0.0);

        QCheckBox *box = child<QCheckBox>(w, "imp_checkBox");
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        QVERIFY(view->imp_mode);
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        QVERIFY(!view->imp_mode);
    }

    void showingAgainKeepsWhatWasTyped()
    {
        MainWindow w;
        w.show();
        WAIT_FOR_EXPOSED(&w);
        WSuit *view = child<WSuit>(w, "ws_widget");
        QLineEdit *mass = child<QLineEdit>(w, "M_Edit");
        QLineEdit *trigger = child<QLineEdit>(w, "imp_V_Edit");
        replaceText(mass, QStringLiteral("75"));
        replaceText(trigger, QStringLiteral("180"));
        QCheckBox *box = child<QCheckBox>(w, "imp_checkBox");
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());

        w.hide();
        w.show();
        WAIT_FOR_EXPOSED(&w);
        QCOMPARE(mass->text(), QStringLiteral("75"));
        QCOMPARE(trigger->text(), QStringLiteral("180"));
        QVERIFY(box->isChecked());
        QCOMPARE(view->M, 75.0);
        QCOMPARE(view->imp_V, 180.0);
        QVERIFY(view->imp_mode);
    }

    void sliderTurnsThePilotAtOnce()
    {
        MainWindow w;
        w.resize(1000, 700);
        QSlider *slider = child<QSlider>(w, "attSlider");
        // Start at 35 degrees, where the glide ends inside the view.
        slider->setValue(70);
        w.show();
        WAIT_FOR_EXPOSED(&w);
        WSuit *view = child<WSuit>(w, "ws_widget");
        QCOMPARE(child<QLineEdit>(w, "attEdit")->text(), QStringLiteral("35"));
        const QList<Flight> before = view->flights;
        const QImage pictureBefore = view->grab().toImage();

        slider->setFocus();
        for (int i = 0; i < 20; ++i)
            QTest::keyClick(slider, Qt::Key_Left);
        QCOMPARE(slider->value(), 50);
        QCOMPARE(child<QLineEdit>(w, "attEdit")->text(), QStringLiteral("25"));
        QCOMPARE(view->att_angle, 25.0);
        QTest::keyClick(slider, Qt::Key_Left);
        QCOMPARE(child<QLineEdit>(w, "attEdit")->text(), QStringLiteral("24.5"));

        // The path stays until the next animation; only the figure turns.
        QCOMPARE(view->flights.size(), before.size());
        QCOMPARE(view->flights.last().dX, before.last().dX);
        const QImage pictureAfter = view->grab().toImage();
        QCOMPARE(pictureAfter.size(), pictureBefore.size());
        const QPoint end = pixelOf(before.last(), view->width(), view->height());
        QRect changed;
        for (int y = 0; y < pictureAfter.height(); ++y)
            for (int x = 0; x < pictureAfter.width(); ++x)
                if (pictureAfter.pixel(x, y) != pictureBefore.pixel(x, y)
                    && !view->childrenRect().contains(x, y))
                    changed |= QRect(x, y, 1, 1);
        QVERIFY(!changed.isEmpty());
        // Only the figure at the end of the path (35 pixels long) changes.
        QVERIFY(QRect(end - QPoint(40, 40), QSize(81, 81)).contains(changed));
        QCOMPARE(slider->maximum(), 90);
        slider->setValue(90);
        QCOMPARE(child<QLineEdit>(w, "attEdit")->text(), QStringLiteral("45"));
    }

    void rightClickShowsTheSampleUnderTheMouse()
    {
        // Find a view size in which sample 250 of the default glide is the
        // first sample near some pixel, and that pixel.
        GlideSimulation g;
        setDefaultGlide(g);
        QVERIFY(g.calculate_flight(5));
        QSize size;
        QPoint click;
        for (int h = 500; h <= 800 && size.isEmpty(); ++h) {
            const QPoint p = pixelOf(g.flights[250], 700, h);
            for (int dy = 0; dy <= 5 && size.isEmpty(); ++dy)
                for (int dx = 0; dx <= 5 - dy; ++dx)
                    if (sampleNear(g.flights, p + QPoint(dx, dy), 700, h) == 250) {
                        size = QSize(700, h);
                        click = p + QPoint(dx, dy);
                        break;
                    }
        }
        QVERIFY(!size.isEmpty());

        WSuit view;
        setDefaultGlide(view);
        view.resize(size);
        view.show();
        WAIT_FOR_EXPOSED(&view);
        view.repaint();

        // The tip shows while the button is held; releasing it hides the tip.
        // Away from the path the first sample is taken: no tip.
        QTest::mousePress(&view, Qt::RightButton, {}, QPoint(size.width() - 10, size.height() - 10));
        QCOMPARE(view.flight.time, view.flights.first().time);
        QVERIFY(!QToolTip::isVisible());
        QTest::mouseRelease(&view, Qt::RightButton, {}, QPoint(size.width() - 10, size.height() - 10));

        QTest::mousePress(&view, Qt::RightButton, {}, click);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), Sample250Tip);
        QCOMPARE(view.flight.time, view.flights[250].time);
        QTest::mouseRelease(&view, Qt::RightButton, {}, click);
        QVERIFY(!QToolTip::isVisible());

        // An early sample becomes the current one but shows no tip.
        const QPoint start = pixelOf(view.flights[0], size.width(), size.height());
        QTest::mousePress(&view, Qt::RightButton, {}, start);
        QCOMPARE(view.flight.time, view.flights[0].time);
        QVERIFY(!QToolTip::isVisible());
        QTest::mouseRelease(&view, Qt::RightButton, {}, start);
    }

    void leftClickReplaysTheGlide()
    {
        WSuit view;
        setDefaultGlide(view);
        view.resize(400, 300);
        view.show();
        WAIT_FOR_EXPOSED(&view);
        const int before = view.flights.size();

        view.set_S(3.0);
        QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(200, 150));
        GlideSimulation g;
        setDefaultGlide(g);
        g.set_S(3.0);
        g.animate_flight();
        QVERIFY(view.flights.size() != before);
        QCOMPARE(view.flights.size(), g.flights.size());
        QCOMPARE(view.flights.last().dY, g.flights.last().dY);
        QCOMPARE(view.anim_T, g.anim_T);
    }

    // The texts over the view sit in boxes of fixed size: in the face with
    // Arial's metrics every one fits whole.
    void labelsFitTheirBoxes()
    {
        MainWindow w;
        w.show();
        WAIT_FOR_EXPOSED(&w);
        WSuit *view = child<WSuit>(w, "ws_widget");
        QCOMPARE(QFontInfo(view->font()).family(), QString("Liberation Sans"));
        const QList<QLabel *> labels = view->findChildren<QLabel *>();
        QCOMPARE(labels.size(), 7);
        for (QLabel *label : labels) {
            QCOMPARE(QFontInfo(label->font()).family(), QString("Liberation Sans"));
            const QFontMetrics m(label->font());
            const QRect box = label->contentsRect();
            const QRect needed = label->wordWrap() ? m.boundingRect(box, Qt::TextWordWrap, label->text())
                                                   : m.boundingRect(label->text());
            QVERIFY2(needed.width() <= box.width() && needed.height() <= box.height(),
                     qPrintable(QString("\"%1\" needs %2 x %3, has %4 x %5").arg(label->text()).arg(needed.width())
                                    .arg(needed.height()).arg(box.width()).arg(box.height())));
        }
        QCheckBox *box = child<QCheckBox>(w, "imp_checkBox");
        QVERIFY(box->sizeHint().width() <= box->width());
    }

    // The polar chart stands clear of the input fields at the form's size
    // and at the screen's; none of its labels covers another or a field,
    // all stay in the view, and the angle axis shows round angles.
    void chartLabelsCanBeRead()
    {
        MainWindow w;
        w.show();
        WAIT_FOR_EXPOSED(&w);
        WSuit *view = child<WSuit>(w, "ws_widget");
        QList<QRectF> fields;
        for (QWidget *f : view->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            if (f->isVisible())
                fields << QRectF(f->geometry());
        QVERIFY(fields.size() >= 8);
        for (const QSize size : {QSize(832, 695), QSize(1600, 1000), QSize(700, 560)}) {
            w.resize(size);
            view->repaint();
            const PolarChart c = view->polarChart();
            QVERIFY(c.angleLabels.size() >= 3 && c.liftLabels.size() >= 3 && c.ratioLabels.size() >= 3);
            QList<QRectF> all{c.frame};
            for (const QList<ChartLabel> *labels : {&c.angleLabels, &c.liftLabels, &c.ratioLabels})
                for (const ChartLabel &l : *labels) {
                    all << l.box;
                    QVERIFY2(QRectF(view->rect()).contains(l.box), qPrintable(l.text));
                }
            QVERIFY(!Labels_Overlap(all.mid(1)));
            for (const QRectF &f : fields)
                for (const QRectF &r : all)
                    QVERIFY2(!f.intersects(r), qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
            for (const ChartLabel &l : c.angleLabels) {
                const double v = l.text.toDouble();
                QVERIFY2(std::fmod(v, 5.0) == 0.0 || std::fmod(v, 2.0) == 0.0, qPrintable(l.text));
            }
        }
    }

    // Nothing stands over what it explains: the chart and its labels keep
    // off the glide's path, the grid's labels off the input fields, the
    // path and the chart; every height and all but the origin's distance
    // are labelled. Glides that level off low and high, at the form's size,
    // the screen's and a small one.
    void chartAndLabelsKeepOffThePath_data()
    {
        QTest::addColumn<int>("slider");
        QTest::addColumn<QSize>("size");
        for (const int slider : {0, 40, 70})
            for (const QSize size : {QSize(832, 695), QSize(1600, 1000), QSize(700, 560)})
                QTest::addRow("%g degrees, %d x %d", slider / 2.0, size.width(), size.height()) << slider << size;
    }

    void chartAndLabelsKeepOffThePath()
    {
        QFETCH(int, slider);
        QFETCH(QSize, size);
        MainWindow w;
        w.resize(size);
        child<QSlider>(w, "attSlider")->setValue(slider);
        w.show();
        WAIT_FOR_EXPOSED(&w);
        WSuit *view = child<WSuit>(w, "ws_widget");
        view->repaint();
        QPolygonF path;
        for (const Flight &f : view->flights)
            path << view->planePoint(f);
        QVERIFY(path.size() > 100);
        QList<QRectF> fields;
        for (QWidget *f : view->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            if (f->isVisible())
                fields << QRectF(f->geometry());

        const PolarChart c = view->polarChart();
        QList<QRectF> chart{c.frame};
        for (const QList<ChartLabel> *labels : {&c.angleLabels, &c.liftLabels, &c.ratioLabels})
            for (const ChartLabel &l : *labels)
                chart << l.box;
        for (const QRectF &r : chart)
            for (const QPointF &p : path)
                QVERIFY2(!r.contains(p), qPrintable(QStringLiteral("the path at %1, %2").arg(p.x()).arg(p.y())));

        const QList<NetLabel> grid = view->netLabels();
        QStringList texts;
        for (const NetLabel &l : grid) {
            if (QRectF(view->rect()).intersects(l.box))
                texts << l.text;
            for (const QRectF &f : fields + chart)
                QVERIFY2(!f.intersects(l.box), qPrintable(l.text));
            for (const QPointF &p : path)
                QVERIFY2(!l.box.contains(p), qPrintable(l.text));
        }
        // The glide's time labels: every one of a point well inside the
        // view written, whole in the view, off the path and off all else
        // that is written there.
        const QList<QRectF> times = view->timeLabels();
        QCOMPARE(times.size(), (view->flights.size() - 1) / 250);
        for (int k = 0; k < times.size(); ++k) {
            const QRectF &t = times[k];
            const QPointF at = view->planePoint(view->flights[250 * (k + 1)]);
            if (QRectF(view->rect()).adjusted(60, 0, -60, -60).contains(at))
                QVERIFY2(!t.isNull(), qPrintable(QString::number(k)));
            if (t.isNull())
                continue;
            QVERIFY2(QRectF(view->rect()).contains(t), qPrintable(QString::number(k)));
            for (const QPointF &p : path)
                QVERIFY2(!t.contains(p), qPrintable(QStringLiteral("label %1, path at %2, %3").arg(k).arg(p.x()).arg(p.y())));
            for (const QRectF &f : fields + chart)
                QVERIFY2(!f.intersects(t), qPrintable(QString::number(k)));
            for (const NetLabel &l : grid)
                QVERIFY2(!l.box.intersects(t), qPrintable(l.text));
            for (int j = 0; j < k; ++j)
                QVERIFY(!times[j].intersects(t));
        }
        // (900 m of distance lie at the right edge, 1000 m beyond both.)
        for (int m = 100; m <= 800; m += 100)
            QVERIFY2(texts.count(QString::number(m) + ".0") == 2, qPrintable(texts.join(' ')));
        QVERIFY2(texts.contains("900.0"), qPrintable(texts.join(' ')));
    }

    void pictureShowsPathPilotAndChart()
    {
        MainWindow w;
        w.resize(1400, 900);
        child<QSlider>(w, "attSlider")->setValue(80);
        w.show();
        WAIT_FOR_EXPOSED(&w);
        WSuit *view = child<WSuit>(w, "ws_widget");
        QVERIFY(view->flights.last().dX < 900);  // the glide ends in view
        const QImage picture = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
        picture.save(QDir::temp().filePath(QStringLiteral("driftline_window.png")));

        QVERIFY(countColour(picture, qRgb(255, 0, 0)) > 1000);   // path and drag
        QVERIFY(countColour(picture, qRgb(0, 0, 255)) > 200);    // lift and grid
        QVERIFY(countColour(picture, qRgb(0, 255, 255)) > 200);  // lift / drag
        QVERIFY(countColour(picture, qRgb(255, 255, 0)) > 3);    // the pilot
    }
};

QTEST_MAIN(TestDriftlineGui)
#include "tst_driftline_gui.moc"
