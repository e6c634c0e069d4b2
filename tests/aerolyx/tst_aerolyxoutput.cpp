// The analyser's two text files: exact layout and number format, and values
// equal to those recomputed from the analysis record.

#include "apps/aerolyx/calc/airfoilprep.h"
#include "apps/aerolyx/calc/flow.h"
#include "tests/common/foilgen.h"
#include "apps/aerolyx/ui/mainwindow.h"
#include "apps/aerolyx/ui/outputfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QIODevice>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cmath>
#include <memory>

using namespace aerolyx;

namespace {
QStringList Lines_Of(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(file.readAll());
    QStringList lines = text.split('\n');
    return lines;
}
} // namespace

class TestOutput : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void airfoilTableGolden()
    {
        auto d = std::make_unique<myData>();
        for (int i = 0; i < kFoilPoints; ++i) {
            d->circleX[i] = 0.5;
            d->circleY[i] = 0.0;
        }
        d->circleX[1] = 0.5;
        d->circleY[1] = -0.25;
        d->circleX[3] = 12.5;
        d->circleY[3] = -0.0625;
        d->circleX[127] = 1.0;
        const QString text = Airfoil_Table_Text(d.get(), "/x/foil.dat");
        const QStringList lines = text.split('\n');
        QCOMPARE(lines.size(), 67); // 66 lines, each ending in a line feed
        QCOMPARE(lines.last(), QString());
        QCOMPARE(lines[0], QString("/x/foil.dat \t"));
        QCOMPARE(lines[1], QString("1.00000   0.00000 \t"));
        QCOMPARE(lines[2], QString("0.50000   -0.25000 \t"));
        QCOMPARE(lines[3], QString("12.50000   -0.06250 \t"));
        QCOMPARE(lines[4], QString("0.50000   0.00000 \t"));
        QCOMPARE(lines[65], QString("1.00000   0.00000 \t"));
    }

    void airfoilTableOfAnEmptyRecord()
    {
        auto d = std::make_unique<myData>();
        const QString path = dir.filePath("empty.dat");
        QVERIFY(Write_Airfoil_Table(d.get(), path));
        const QStringList lines = Lines_Of(path);
        QCOMPARE(lines.size(), 67);
        for (int i = 2; i < 66; ++i)
            QCOMPARE(lines[i], QString("0.00000   0.00000 \t"));
    }

    void airfoilTableOfALoadedAirfoil()
    {
        auto d = std::make_unique<myData>();
        const QString foil = foilgen::writeFile(dir.path(), "naca2412.dat",
                                              foilgen::plainTable(foilgen::naca4({0.02, 0.4, 0.12, true}, 81)));
        QString why;
        QVERIFY2(Load_Airfoil(d.get(), foil, &why), qPrintable(why));
        const QString path = dir.filePath("table.dat");
        QVERIFY(Write_Airfoil_Table(d.get(), path));
        // Saving again replaces the file.
        QVERIFY(Write_Airfoil_Table(d.get(), path));
        const QStringList lines = Lines_Of(path);
        QCOMPARE(lines.size(), 67);
        QCOMPARE(lines[0], path + " \t");
        QCOMPARE(lines[1], QString("1.00000   0.00000 \t"));
        for (int k = 0; k < 64; ++k) {
            const int i = 2 * k + 1;
            const QString expected = QString::asprintf("%7.5f   %7.5f \t", d->circleX[i], d->circleY[i]);
            QCOMPARE(lines[k + 2], expected);
        }
        // The last point is the trailing edge again.
        QVERIFY(std::fabs(d->circleX[127] - 1.0) < 1e-3 && std::fabs(d->circleY[127]) < 1e-3);
    }

    void dcpPolarGolden()
    {
        const DcpResults r{-0.0349, 0.25124, 0.2496, 0.1, std::nan("")};
        QCOMPARE(Dcp_Polar_Text(r), QString("filename: dcppolar.txt \t\n Att -0.035 \t\nC_P 0.251 \t\n"
                                            "A_C 0.250 \t\nC1_P 0.100 \t\nC2_P n/a \t\n"));
    }

    void dcpPolarFromTheWindow()
    {
        const QString foil = foilgen::writeFile(dir.path(), "naca4412.dat",
                                              foilgen::plainTable(foilgen::naca4({0.04, 0.4, 0.12, true}, 81)));
        MainWindow window;
        // Nothing is written before an airfoil is loaded.
        QVERIFY(!window.Save_Dcp_Polar(dir.path()));
        QVERIFY(!QFile::exists(dir.filePath("dcppolar.txt")));

        QVERIFY(window.Open_Airfoil(foil));
        window.attangleEdit->setText("4");
        emit window.attangleEdit->editingFinished();
        QVERIFY(window.Save_Dcp_Polar(dir.path()));

        const myData* d = GetMyData();
        const double beta = M_PI * 4.0 / 180.0 - d->zeroLiftAngle;
        const double cp = C_P_position(d, beta, 0.0, 1.0, nullptr);
        const double ac = AC_Position(d, 4.0);
        const double cp1 = C_P_position(d, beta, 0.0, ac, nullptr);
        const double cp2 = C_P_position(d, beta, ac, 1.0, nullptr);
        const QStringList lines = Lines_Of(dir.filePath("dcppolar.txt"));
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines[0], QString("filename: dcppolar.txt \t"));
        QCOMPARE(lines[1], QString::asprintf(" Att %.3f \t", beta));
        QCOMPARE(lines[2], QString::asprintf("C_P %.3f \t", cp));
        QCOMPARE(lines[3], QString::asprintf("A_C %.3f \t", ac));
        QCOMPARE(lines[4], QString::asprintf("C1_P %.3f \t", cp1));
        QCOMPARE(lines[5], QString::asprintf("C2_P %.3f \t", cp2));
        QCOMPARE(lines[6], QString());
        // A cambered airfoil at 4 degrees: the centre of pressure lies behind
        // the aerodynamic centre, near the quarter chord.
        QVERIFY(ac > 0.2 && ac < 0.3);
        QVERIFY(cp > ac && cp < 0.5);

        // At zero incidence the angle is minus the zero-lift angle.
        window.attangleEdit->setText("0");
        emit window.attangleEdit->editingFinished();
        QVERIFY(window.Save_Dcp_Polar(dir.path()));
        QCOMPARE(Lines_Of(dir.filePath("dcppolar.txt"))[1], QString::asprintf(" Att %.3f \t", -d->zeroLiftAngle));
    }

    void unwritablePlaces()
    {
        auto d = std::make_unique<myData>();
        QVERIFY(!Write_Airfoil_Table(d.get(), QString()));
        QVERIFY(!Write_Airfoil_Table(d.get(), dir.filePath("no/such/folder/table.dat")));
        QVERIFY(!Write_Dcp_Polar(dir.filePath("no/such/folder"), DcpResults{0, 0, 0, 0, 0}));
    }
};

QTEST_MAIN(TestOutput)
#include "tst_aerolyxoutput.moc"
