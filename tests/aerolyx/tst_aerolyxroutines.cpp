// The analyser's routines beside the main chain: the slope of the series,
// the resampling variants, the text tables, the potential, the file
// choosers, the save announcements and the question without a note.

#include "apps/aerolyx/calc/airfoilprep.h"
#include "apps/aerolyx/calc/conformalmap.h"
#include "apps/aerolyx/calc/flow.h"
#include "apps/aerolyx/calc/numutil.h"
#include "apps/aerolyx/ui/cpview.h"
#include "apps/aerolyx/ui/mainwindow.h"
#include "apps/aerolyx/ui/myopenfile.h"
#include "apps/aerolyx/ui/pressureview.h"
#include "apps/aerolyx/ui/streamview.h"
#include "widgets/widgetinteraction.h"
#include "tests/common/foilgen.h"
#include "tests/common/scripteduser.h"

#include <QDir>
#include <QMessageBox>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QSignalSpy>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <vector>

using namespace aerolyx;

class TestAerolyxRoutines : public QObject {
    Q_OBJECT
    ScriptedUser user;
    QTemporaryDir dir;

private slots:
    // The slope against the derivative of the series written out.
    void seriesSlope()
    {
        const int n = 33, m = 4;
        const double a[] = {0.4, 1.0, 0.0, 0.5};
        const double b[] = {0.0, 0.3, -2.0, 0.0};
        for (int k = 0; k < n; ++k) {
            const double t = 2 * M_PI * k / (n - 1);
            const double want = -std::sin(t) + 0.3 * std::cos(t) - 4 * std::cos(2 * t) - 1.5 * std::sin(3 * t);
            QVERIFY2(std::fabs(f_Dvalue(n, m, a, b, k) - want) < 1e-12, qPrintable(QString::number(k)));
        }
        QCOMPARE(f_Dvalue(n, 1, a, b, 5), 0.0);
        // A central difference of the series agrees.
        const double h = 2 * M_PI / (n - 1);
        const double slope = (f_value(n, m, a, b, 6) - f_value(n, m, a, b, 4)) / (2 * h);
        QVERIFY(std::fabs(slope - f_Dvalue(n, m, a, b, 5)) < 0.2);
    }

    void seriesCoefficientsByTheFft()
    {
        const int m = 8;
        std::vector<double> y(2 * m), a(m), b(m);
        for (int j = 0; j < 2 * m; ++j) {
            const double t = j * M_PI / m;
            y[j] = 1 + std::cos(t) + 0.5 * std::sin(2 * t);
        }
        QVERIFY(F_coef(m, y.data(), a.data(), b.data()));
        for (int k = 0; k < m; ++k) {
            QVERIFY(std::fabs(a[k] - (k == 0 ? 2.0 : k == 1 ? 1.0 : 0.0)) < 1e-14);
            QVERIFY(std::fabs(b[k] - (k == 2 ? 0.5 : 0.0)) < 1e-14);
        }
        QVERIFY(!F_coef(6, y.data(), a.data(), b.data())); // 12 samples
        QCOMPARE(a[0], 0.0);
    }

    void correctionStep()
    {
        const int n = 128;
        std::vector<double> theta(n), step(n, 0.01);
        for (int k = 0; k < n; ++k)
            theta[k] = Uniform_Angle(k, n);
        const std::vector<double> start = theta;
        QVERIFY(Suma_Theta_Hi(n, theta.data(), step.data()));
        for (int k = 0; k < 6; ++k) { // straight ramps over the end six points
            QVERIFY(std::fabs(step[k] - 0.01 * k / 6) < 1e-15);
            QVERIFY(std::fabs(step[n - 1 - k] - 0.01 * k / 6) < 1e-15);
        }
        for (int k = 1; k < n - 1; ++k)
            QVERIFY(std::fabs(theta[k] - (start[k] + 0.8 * step[k])) < 1e-15);
        QCOMPARE(theta[0], 0.0);
        QCOMPARE(theta[n - 1], 2 * M_PI);
        // A correction that would fold the angles is refused whole.
        std::vector<double> fold(n, 0.0);
        fold[60] = 1.0;
        const std::vector<double> kept = theta;
        QVERIFY(!Suma_Theta_Hi(n, theta.data(), fold.data()));
        QCOMPARE(theta, kept);
    }

    void dynamicPressure()
    {
        QCOMPARE(f_Dp(2.0, 2.0), 1.0);
        QCOMPARE(f_Dp(0.0, 1.5), 0.0);
        QCOMPARE(f_Dp(3.0, 2.0), 2.25);
        for (double v : {0.0, 0.4, 1.0, 1.7})
            QCOMPARE(f_Cp(v, 1.3) + f_Dp(v, 1.3), 1.0);
    }

    void cosineParameterResampling()
    {
        const double x[] = {1, 0.5, 0, 0.5, 1};
        double junk[5] = {9, 9, 9, 9, 9};
        double t[5], u[5];
        QVERIFY(Fill_Natur_Param(5, x, junk, t));
        QVERIFY(Fill_ArcCos(5, x, u));
        QCOMPARE(std::vector<double>(t, t + 5), std::vector<double>(u, u + 5));

        // The parameter of this outline steps by pi/2 from point to point;
        // nine points at steps of pi/4 fall on the points and halfway.
        QPolygonF p{QPointF(1, 0), QPointF(0.5, 0.1), QPointF(0, 0), QPointF(0.5, -0.1), QPointF(1, 0)};
        QVERIFY(fNatur_Airfoil(9, &p));
        const QPolygonF want{QPointF(1, 0),   QPointF(0.75, 0.05),   QPointF(0.5, 0.1),
                             QPointF(0.25, 0.05), QPointF(0, 0),     QPointF(0.25, -0.05),
                             QPointF(0.5, -0.1),  QPointF(0.75, -0.05), QPointF(1, 0)};
        QCOMPARE(p.size(), 9);
        for (int i = 0; i < 9; ++i)
            QVERIFY2(std::hypot(p[i].x() - want[i].x(), p[i].y() - want[i].y()) < 1e-12,
                     qPrintable(QString("%1: %2 %3").arg(i).arg(p[i].x()).arg(p[i].y())));
        QPolygonF two{QPointF(1, 0), QPointF(0, 0)};
        QVERIFY(!fNatur_Airfoil(9, &two));
        QCOMPARE(two.size(), 2);
    }

    void thinning_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("n");
        QTest::addColumn<QList<int>>("kept");
        QTest::newRow("every second") << 10 << 4 << QList<int>{0, 2, 4, 6, 0};
        QTest::newRow("every third") << 10 << 3 << QList<int>{0, 3, 6, 0};
        QTest::newRow("fewer than asked") << 5 << 8 << QList<int>{0, 1, 2, 3, 0};
        QTest::newRow("nothing asked") << 4 << 0 << QList<int>{0, 1, 2, 0};
        QTest::newRow("one point") << 1 << 4 << QList<int>{0};
    }

    void thinning()
    {
        QFETCH(int, size);
        QFETCH(int, n);
        QFETCH(QList<int>, kept);
        QPolygonF p;
        for (int i = 0; i < size; ++i)
            p << QPointF(i, 10 * i);
        QPolygonF want;
        for (int i : kept)
            want << p[i];
        QCOMPARE(Adjust_Polygon_Length(n, p), want);
        QVERIFY(Adjust_Polygon_Length(n, QPolygonF()).isEmpty());
    }

    void readThinnedAirfoil()
    {
        const QPolygonF contour = foilgen::naca4({0.02, 0.4, 0.12, true}, 81);
        const QString path = foilgen::writeFile(dir.path(), "thin.dat", foilgen::plainTable(contour));
        const QPolygonF p = airfoil_Read(40, path);
        const int s = int(contour.size()) / 40;
        QCOMPARE(p.size(), int((contour.size() + s - 1) / s));
        QCOMPARE(p.first(), QPointF(1, 0));
        QCOMPARE(p.last(), QPointF(1, 0));
        double lo = 1, hi = 0;
        for (const QPointF& q : p) {
            lo = std::min(lo, q.x());
            hi = std::max(hi, q.x());
        }
        QVERIFY(std::fabs(hi - lo - 1.0) < 1e-12);
        QVERIFY(airfoil_Read(40, dir.filePath("missing.dat")).isEmpty());
    }

    void textTables()
    {
        QCOMPARE(WriteAirfoilTable(QPolygonF{QPointF(1, 0), QPointF(0.5, -0.25)}),
                 QString("0  1.00000  0.00000 \n1  0.50000  -0.25000 \n"));
        QCOMPARE(WriteAirfoilTable(QPolygonF()), QString());
        const double v[] = {1, 2, 3, 4, 5.5};
        QCOMPARE(WriteFftTable(5, 2, v, true), QString("0  1.00000 \n2  3.00000 \n4  5.50000 \n SUMA = 15.50000000 \n"));
        QCOMPARE(WriteFftTable(3, 5, v, false), QString("0  1.00000 \n"));
        // A step of 0 writes every value instead of dividing by zero.
        QCOMPARE(WriteFftTable(2, 0, v, false), QString("0  1.00000 \n1  2.00000 \n"));
    }

    // The potential and the stream function of the stream-line view are the
    // real and imaginary part of one complex potential: their derivatives
    // meet the Cauchy-Riemann equations, circulation included.
    void potentialPairsWithTheStreamFunction()
    {
        QCOMPARE(Wpotential::potential_value(1, 0, 0, 0), 2.0);
        QCOMPARE(Wpotential::potential_value(2, M_PI / 2, 0, M_PI / 2), 2.5);
        const double h = 1e-6;
        for (double k : {0.0, 0.7, -1.2})
            for (double alpha : {0.0, 0.3})
                for (double r : {1.0, 1.5, 4.0})
                    for (double theta : {0.4, 2.0, -1.0}) {
                        const auto phi = [&](double rr, double tt) { return Wpotential::potential_value(rr, tt, k, alpha); };
                        const auto psi = [&](double rr, double tt) {
                            return (rr - 1 / rr) * std::sin(tt - alpha) - k * std::log(rr);
                        };
                        const double phiR = (phi(r + h, theta) - phi(r - h, theta)) / (2 * h);
                        const double phiT = (phi(r, theta + h) - phi(r, theta - h)) / (2 * h);
                        const double psiR = (psi(r + h, theta) - psi(r - h, theta)) / (2 * h);
                        const double psiT = (psi(r, theta + h) - psi(r, theta - h)) / (2 * h);
                        QVERIFY(std::fabs(phiR - psiT / r) < 1e-7);
                        QVERIFY2(std::fabs(phiT / r + psiR) < 1e-7, qPrintable(QString("k %1").arg(k)));
                    }
    }

    void directCirclePoints()
    {
        const QPointF down = StreamTracer::New_Point_Direct(2, M_PI / 6);
        const QPointF up = Wpotential::New_Point_Direct(2, M_PI / 6);
        QVERIFY(std::fabs(down.x() - std::sqrt(3.0)) < 1e-15 && std::fabs(down.y() + 1) < 1e-15);
        QVERIFY(std::fabs(up.x() - std::sqrt(3.0)) < 1e-15 && std::fabs(up.y() - 1) < 1e-15);
    }

    // The upper partner of a lower point and the lower partner of an upper
    // point are found by mirror rules: each pairs with the other.
    void partnersAcrossTheNose()
    {
        const QPolygonF p{QPointF(1, 0),   QPointF(0.8, 0.05), QPointF(0.6, 0.08),  QPointF(0.4, 0.09),
                          QPointF(0.2, 0.07), QPointF(0, 0),   QPointF(0.2, -0.04), QPointF(0.45, -0.05),
                          QPointF(0.7, -0.03), QPointF(1, 0)};
        const int nose = f_nose_index(p);
        QCOMPARE(nose, 5);
        QCOMPARE(Find_i1_index(p, nose, 7), 2);
        QCOMPARE(Find_i2_index(p, nose, 2), 7);
        QCOMPARE(Find_i1_index(p, nose, 8), 1);
        QCOMPARE(Find_i1_index(p, nose, 9), 0);  // point 1 is not beyond x = 1
        QCOMPARE(Find_i1_index(p, nose, nose), nose);
        QCOMPARE(Find_i1_index(p, 1, 7), 0);
        QCOMPARE(Find_i1_index(QPolygonF(), 3, 2), 0);
    }

    void fileChoosers()
    {
        QStringList seen;
        const auto record = [&seen](const QString& caption, const QString& folder, const QString& filter) {
            seen << caption + "|" + folder + "|" + filter;
            return QString("/chosen");
        };
        user.onOpenFile = record;
        user.onSaveFile = record;
        myOpenFile files;
        QCOMPARE(files.DialogReadFromTextFile("/work"), QString("/chosen"));
        QCOMPARE(files.DialogReadFromFile("/work"), QString("/chosen"));
        QCOMPARE(files.DialogWriteToFile(), QString("/chosen"));
        QCOMPARE(seen, (QStringList{"Open File in work directory|/work|Files (*.txt)",
                                    "Open File in work directory|/work|Files (*.prg)", "Save File||Files (*.prg)"}));
        user.onOpenFile = nullptr;
        user.onSaveFile = nullptr;
        QCOMPARE(files.DialogReadFromFile("/work"), QString());
    }

    // Saving only announces itself and takes over the name; nothing is
    // written and nothing is asked.
    void saveAnnouncements()
    {
        MainWindow w;
        QSignalSpy status(&w, &MainWindow::statusEvent);
        QSignalSpy stillOpen(&w, &MainWindow::fileStillOpened);
        QSignalSpy refresh(&w, &MainWindow::refreshOpengl);
        const int asked = int(user.asked.size());
        const QStringList before = QDir(dir.path()).entryList(QDir::Files);
        w.Save_Changes();
        QCOMPARE(status.size(), 2);
        QCOMPARE(status[0][0].toString(), QString(" Save_Changes"));
        QCOMPARE(status[1][0].toString(), QString(" Just  Save  File"));
        QCOMPARE(w.Current_File(), QString("empty"));
        QCOMPARE(w.currentFileLabel->text(), QString("empty"));
        w.JustSaveFile(dir.filePath("renamed.dat"));
        QCOMPARE(w.Current_File(), dir.filePath("renamed.dat"));
        QCOMPARE(w.currentFileLabel->text(), QString("renamed.dat"));
        w.JustSaveFile(QString());
        QCOMPARE(w.Current_File(), dir.filePath("renamed.dat"));
        QCOMPARE(status.size(), 4);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before);
        QCOMPARE(int(user.asked.size()), asked);
        QVERIFY(w.close());
        QCOMPARE(stillOpen.size(), 0); // no file stays open in the analyser
        QCOMPARE(refresh.size(), 0);
        QVERIFY(w.Foil_Poly().isEmpty() && w.Resampled_Poly().isEmpty());
    }

    // The analyser's question shows the texts as given; the main program's
    // adds its note.
    void questionWithoutNote()
    {
        user.answerQuestions(true);
        QVERIFY(Break_Question("text", "more"));
        QCOMPARE(user.asked.last().kind, QString("question"));
        QCOMPARE(user.asked.last().title, QString("text"));
        QCOMPARE(user.asked.last().text, QString("more"));
        user.onQuestion = nullptr;
        QVERIFY(!Break_Question("text", "more"));
        const auto plain = WidgetInteraction::questionBox(nullptr, "text", "more", WidgetInteraction::QuestionNote::None);
        QCOMPARE(plain->informativeText(), QString("more"));
        QCOMPARE(plain->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(static_cast<QAbstractButton*>(plain->defaultButton()), plain->button(QMessageBox::Cancel));
        const auto noted = WidgetInteraction::questionBox(nullptr, "text", "more");
        QCOMPARE(noted->informativeText(), QString("more (default cancel)"));
    }
};

QTEST_MAIN(TestAerolyxRoutines)
#include "tst_aerolyxroutines.moc"
