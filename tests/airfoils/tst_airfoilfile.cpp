#include <QTest>
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <QStringLiteral>
#include <QTemporaryDir>

#include "core/airfoil.h"
#include "tests/common/foilgen.h"

#include <cmath>

using foilgen::Format;

namespace {

// The value a number takes after it was written with six decimals.
double written(double v)
{
    return QString::number(v, 'f', 6).toDouble();
}

// The same in single precision, as the symmetric and three-column readers parse.
float writtenF(double v)
{
    return QString::number(v, 'f', 6).toFloat();
}

QPolygonF roundTrip(const QPolygonF& c)
{
    QPolygonF r;
    for (const QPointF& p : c)
        r.append(QPointF(written(p.x()), written(p.y())));
    return r;
}

} // namespace

class TestAirfoilFile : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString file(const QString& name, const QString& text) { return foilgen::writeFile(dir.path(), name, text); }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void cleaning_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("cleaned");
        QTest::newRow("tabs") << "\t1.0\t0.5\t" << "1.0 0.5";
        QTest::newRow("decimal comma") << "1,5 2,5" << "1.5 2.5";
        QTest::newRow("punctuation") << "?!'`_@#$%^&*(){}[]|;:/><~=+1\u00AB2\u00BB" << "12";
        QTest::newRow("kept") << "\"0.5 -x" << "\"0.5 -x";
        QTest::newRow("blank after removal") << " ( 1 ) " << "1";
    }
    void cleaning()
    {
        QFETCH(QString, line);
        QFETCH(QString, cleaned);
        QCOMPARE(clean(line), cleaned);
    }

    void splitting_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("two") << "1.5 2.5" << QStringList{"1.5", "2.5", ""};
        QTest::newRow("separator run") << "1.5 .  2.5" << QStringList{"1.5", ".", "2.5"};
        QTest::newRow("leading quote") << "\"1 2" << QStringList{"", "1", "2"};
        QTest::newRow("joined by minus") << "0.5-0.3 1" << QStringList{"0.5-0.3", "1", ""};
        QTest::newRow("more than three") << "1 2 3 4 5 6" << QStringList{"1", "2", "3"};
        QTest::newRow("one") << "7" << QStringList{"7", "", ""};
    }
    void splitting()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        QString out[3] = {"junk", "junk", "junk"};
        FindNumericSubStrings(line, out);
        QCOMPARE((QStringList{out[0], out[1], out[2]}), fields);
    }

    void repair_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("leading point") << ".5" << "0.5";
        QTest::newRow("minus point") << "-.25" << "-0.25";
        QTest::newRow("every point when leading") << ".5.3" << "0.50.3";
        QTest::newRow("plain") << "1.5" << "1.5";
        QTest::newRow("inner minus point") << "1-.5" << "1-0.5";
        QTest::newRow("empty") << "" << "";
    }
    void repair()
    {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(Repair_NumString(in), out);
    }

    void letters()
    {
        QVERIFY(isLatString("NACA 2412"));
        QVERIFY(isLatString("0.5 \u00B5"));
        QVERIFY(!isLatString("0.5 -0.25"));
    }

    // One line placed as the third data line of a file whose first two data
    // lines are an ordinary table, and what the reader makes of the file.
    void readerTable_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("count");       // points read; -1 for a symmetric read
        QTest::addColumn<QPointF>("expected"); // the point the line gives
        QTest::newRow("no decimal point") << "1 0" << 0 << QPointF();
        QTest::newRow("four points") << "0.5.3 0.2.1" << 0 << QPointF();
        QTest::newRow("decimal comma") << "0,5 0,025" << 3 << QPointF(0.5, 0.025);
        QTest::newRow("tabs") << "0.5\t0.025" << 3 << QPointF(0.5, 0.025);
        QTest::newRow("missing zeros") << ".5 -.25" << 3 << QPointF(0.5, -0.25);
        QTest::newRow("exponent") << "5.0000E-01 2.5000E-02" << 3 << QPointF(0.5, 0.025);
        QTest::newRow("deciding 61. 61.") << "61. 61." << -1 << QPointF();
    }
    void readerTable()
    {
        QFETCH(QString, line);
        QFETCH(int, count);
        QFETCH(QPointF, expected);
        const QString path = file("table.dat", "GEN 0012\n1.0 0.0\n0.8 0.03\n" + line + "\n0.2 0.05\n");
        const QPolygonF p = Read_All_AirfoilTypes(path);
        if (count == -1) {
            QCOMPARE(p, Read_Symetric(path));
            QCOMPARE(p.size(), 2 * 4 - 3);
            return;
        }
        QCOMPARE(p.size(), count == 0 ? 0 : 4);
        if (count > 0) {
            QCOMPARE(p[0], QPointF(1.0, 0.0));
            QCOMPARE(p[2], expected);
        }
    }

    // Lines after the deciding ones, where the scan's offset no longer looks.
    void dataLineContent_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("isData");
        QTest::addColumn<QPointF>("expected");
        QTest::newRow("comma and blank") << "0.5, 0.3" << true << QPointF(0.0, 0.3);
        QTest::newRow("one number") << "0.4" << true << QPointF(0.4, 0.0);
        QTest::newRow("comment word") << "0.4 0.3 upper" << false << QPointF();
        QTest::newRow("nan text") << "nan nan" << false << QPointF();
        QTest::newRow("exponent with comment") << "1.0E-01 2.0E-01 x" << false << QPointF();
        QTest::newRow("exponent and plain") << "1.0E-01 0.2" << true << QPointF(0.1, 0.2);
        QTest::newRow("three exponents") << "1.0E-01 2.0E-01 3.0E-01" << true << QPointF(0.1, 0.2);
        QTest::newRow("four exponents") << "1.0E-01 2.0E-01 3.0E-01 4.0E-01" << false << QPointF();
        QTest::newRow("lone e") << "e 1 2" << false << QPointF();
        QTest::newRow("too large") << "1" + QString(400, u'0') + ".5 0.1" << true << QPointF(0.0, 0.1);
        QTest::newRow("extra numbers") << "0.4 0.3 7 8 9" << true << QPointF(0.4, 0.3);
    }
    void dataLineContent()
    {
        QFETCH(QString, line);
        QFETCH(bool, isData);
        QFETCH(QPointF, expected);
        const QString path =
            file("content.dat", "GEN\n1.0 0.0\n0.8 0.03\n0.6 0.04\n0.5 0.05\n" + line + "\n0.0 0.0\n");
        const QPolygonF p = Read_All_AirfoilTypes(path);
        QCOMPARE(p.size(), isData ? 6 : 5);
        if (isData)
            QCOMPARE(p[4], expected);
        for (const QPointF& q : p)
            QVERIFY(std::isfinite(q.x()) && std::isfinite(q.y()));
    }

    // Files as airfoil tools write them: a name line, then the contour from
    // the upper trailing edge round the nose, in file order.
    void plainFiles_data()
    {
        QTest::addColumn<QPolygonF>("contour");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<bool>("comma");
        QTest::addColumn<char>("style");
        const QPolygonF naca = foilgen::naca4({0.02, 0.4, 0.12, true}, 31);
        QTest::newRow("4-digit, 61 points") << naca << "  " << false << 'f';
        QTest::newRow("duplicate nose") << foilgen::withDuplicateNose(naca) << " " << false << 'f';
        QTest::newRow("duplicate trailing edge") << foilgen::withDuplicateTe(naca) << "\t" << false << 'f';
        QTest::newRow("decimal comma") << naca << "\t" << true << 'f';
        QTest::newRow("exponent notation") << naca << "  " << false << 'E';
        QTest::newRow("joukowski") << foilgen::joukowski(0.1, 0.05, 81) << "   " << false << 'f';
        QTest::newRow("blunt, uniform") << foilgen::naca4({0.04, 0.3, 0.15, false}, 40, false) << " " << false
                                        << 'f';
    }
    void plainFiles()
    {
        QFETCH(QPolygonF, contour);
        QFETCH(QString, separator);
        QFETCH(bool, comma);
        QFETCH(char, style);
        Format f;
        f.separator = separator;
        f.decimalComma = comma;
        f.style = style;
        const QString path = file("plain.dat", foilgen::plainTable(contour, f));
        const QPolygonF p = Read_All_AirfoilTypes(path);
        QCOMPARE(p.size(), contour.size());
        const QPolygonF expected = roundTrip(contour);
        for (int i = 0; i < p.size(); ++i) {
            QVERIFY2(std::abs(p[i].x() - expected[i].x()) < 1e-5 && std::abs(p[i].y() - expected[i].y()) < 1e-5,
                     qPrintable(QString::number(i)));
        }
        QVERIFY(PolygonSquare(p) > 0);
    }

    // A half contour of n data lines (count line included) gives 2n - 3
    // points: from the last point back to the nose, then mirrored.
    void symmetricHalfContour()
    {
        const QPolygonF half = roundTrip(foilgen::symmetricHalf(0.12, 20));
        const QString path = file("sym.dat", foilgen::symmetricTable(half));
        const QPolygonF p = Read_Symetric(path);
        const int n = half.size() + 1;
        QCOMPARE(p.size(), 2 * n - 3);
        for (int k = 0; k < half.size(); ++k) // trailing edge back to the nose
            QCOMPARE(p[k], QPointF(writtenF(half[half.size() - 1 - k].x()), writtenF(half[half.size() - 1 - k].y())));
        for (int k = 1; k < half.size(); ++k) // mirrored, nose excluded
            QCOMPARE(p[half.size() - 1 + k], QPointF(writtenF(half[k].x()), -writtenF(half[k].y())));
        QVERIFY(PolygonSquare(p) > 0);

        // Small files: no points for one data line, n - 1 for two.
        QCOMPARE(Read_Symetric(file("sym1.dat", "3.\n")).size(), 0);
        QCOMPARE(Read_Symetric(file("sym2.dat", "3.\n0.0 0.0\n")), QPolygonF({QPointF(0, 0)}));
    }

    // The scan sends a half contour in percent of chord to the symmetric
    // reader (count line, nose at (0, 0), next station beyond 1 %).
    void symmetricDetectedInPercent()
    {
        QPolygonF half;
        for (const QPointF& q : foilgen::symmetricHalf(0.12, 21, false))
            half.append(q * 100.0);
        Format f;
        f.precision = 3;
        const QString path = file("sympct.dat", foilgen::symmetricTable(half, f));
        const QPolygonF p = Read_All_AirfoilTypes(path);
        QCOMPARE(p.size(), 2 * 22 - 3);
        QCOMPARE(p, Read_Symetric(path));
        QCOMPARE(p.first().x(), 100.0);
        QCOMPARE(p[20], QPointF(0.0, 0.0));
    }

    // Three columns "x y1 y2": the y2 column backwards, then y1 forwards.
    void threeColumns()
    {
        QList<double> x;
        for (double s : foilgen::stations(25))
            x.append(written(s));
        QList<double> up, low;
        for (double s : x) {
            up.append(written(foilgen::halfThickness(s, 0.1)));
            low.append(written(-0.5 * foilgen::halfThickness(s, 0.1)));
        }
        for (const bool exponent : {false, true}) {
            Format f;
            f.style = exponent ? 'E' : 'f';
            const QString path = file("eppler.dat", foilgen::threeColumnTable(x, low, up, f));
            const QPolygonF p = Read_All_AirfoilTypes(path);
            QCOMPARE(p.size(), 2 * x.size());
            const int n = x.size();
            for (int k = 0; k < n; ++k) {
                QCOMPARE(p[k], QPointF(writtenF(x[n - 1 - k]), writtenF(up[n - 1 - k])));
                QCOMPARE(p[n + k], QPointF(writtenF(x[k]), writtenF(low[k])));
            }
            QVERIFY(PolygonSquare(p) > 0);
        }
    }

    // The two sides listed separately from the leading edge, after their
    // counts: no layout reads this as the file means it, so every program
    // refuses it with a reason instead of taking it for a half contour or
    // the counts for a point.
    void separateSidesAreRefused_data()
    {
        QTest::addColumn<QString>("text");
        const QPolygonF contour = foilgen::naca4({0.02, 0.4, 0.12, false}, 61);
        const QPolygonF upper = foilgen::upperSide(contour), lower = foilgen::lowerSide(contour);
        QTest::newRow("unit chord") << foilgen::separateSidesTable(upper, lower);
        Format noName;
        noName.name.clear();
        QTest::newRow("no name line") << foilgen::separateSidesTable(upper, lower, noName);
        QPolygonF upperPercent, lowerPercent;
        for (const QPointF& p : upper)
            upperPercent.append(p * 100.0);
        for (const QPointF& p : lower)
            lowerPercent.append(p * 100.0);
        QTest::newRow("percent of chord") << foilgen::separateSidesTable(upperPercent, lowerPercent);
        // Counts that do not match the points: the points start again at the
        // leading edge after the first count.
        QString wrongCounts = foilgen::separateSidesTable(upper, lower);
        wrongCounts.replace("61.  61.", "61.  58.");
        QTest::newRow("counts off") << wrongCounts;
        QTest::newRow("whole counts") << QString(foilgen::separateSidesTable(upper, lower)).replace("61.  61.", "61 61");
    }

    void separateSidesAreRefused()
    {
        QFETCH(QString, text);
        const QString path = file("separate.dat", text);
        for (AirfoilReader variant : {AirfoilReader::Main, AirfoilReader::Aerolyx, AirfoilReader::Splinora}) {
            QString why;
            QVERIFY(Read_All_AirfoilTypes(path, variant, &why).isEmpty());
            QVERIFY2(why.contains("separately"), qPrintable(why));
        }
        QString why;
        QVERIFY(Import_Airfoil_File(path, AirfoilReader::Main, &why).isEmpty());
        QVERIFY2(why.contains("separately"), qPrintable(why));
    }

    // A contour that is no such file keeps its reader, also when its first
    // data line is two whole numbers.
    void countsLineAloneIsNoRefusal()
    {
        QString why;
        QCOMPARE(Read_All_AirfoilTypes(file("whole.dat", "GEN\n2 3\n1.0 0.0\n0.5 0.1\n0.0 0.0\n0.5 -0.1\n0.9 -0.01\n1.0 0.0\n"),
                                       AirfoilReader::Main, &why).size(), 7);
        QVERIFY(why.isEmpty());
        QVERIFY(Read_All_AirfoilTypes(file("nolayout.dat", "GEN\n1 0\n2 0\n3 0\n"), AirfoilReader::Main, &why)
                    .isEmpty());
        QVERIFY2(why.contains("known layout"), qPrintable(why));
    }

    // A counted file with unit coordinates whose nose line "0 0" follows the
    // count: a plain table for the main program and the spline editor, a
    // symmetric half contour for the flow analyser.
    void programVariants()
    {
        const QString path = file("counted.dat", "GEN 0010\n61. 61.\n\n0.000000 0.000000\n0.012000 0.012000\n"
                                                 "0.100000 0.040000\n0.400000 0.050000\n1.000000 0.001000\n");
        const QPolygonF plain = Read_All_AirfoilTypes(path, AirfoilReader::Main);
        QCOMPARE(plain.size(), 6);
        QCOMPARE(plain.first(), QPointF(61, 61));
        const QPolygonF single = Read_All_AirfoilTypes(path, AirfoilReader::Splinora);
        QCOMPARE(single.size(), plain.size());
        QCOMPARE(single.first(), plain.first());
        const QPolygonF sym = airfoil_Read_All(path, AirfoilReader::Aerolyx);
        QCOMPARE(sym.size(), 2 * 6 - 3);
        QCOMPARE(sym, Read_Symetric(path));

        // The plain reader parses in double precision in the main program only.
        const QString tenth = file("tenth.dat", "GEN\n1.0 0.1\n0.9 0.1\n0.8 0.1\n");
        QCOMPARE(Read_Normal(tenth).first().y(), 0.1);
        QCOMPARE(Read_Normal(tenth, AirfoilReader::Aerolyx).first().y(), double(0.1f));
        QCOMPARE(Read_All_AirfoilTypes(tenth, AirfoilReader::Splinora).first().y(), double(0.1f));

        // A header of four lines: the nose line comes too late for the offset.
        const QString late = file("late.dat", "A\nB\nC\nD\n61. 61.\n0.0 0.0\n0.5 1.2\n5.0 2.0\n");
        QCOMPARE(Read_All_AirfoilTypes(late).size(), 2 * 4 - 3);
    }

    void hostileFiles()
    {
        QCOMPARE(Read_All_AirfoilTypes(QString()).size(), 0);
        QCOMPARE(Read_All_AirfoilTypes(dir.filePath("missing.dat")).size(), 0);
        QCOMPARE(Read_All_AirfoilTypes(dir.path()).size(), 0);
        QCOMPARE(Read_All_AirfoilTypes(file("empty.dat", QString())).size(), 0);
        QCOMPARE(Read_All_AirfoilTypes(file("header.dat", "NACA 0012\nno points here\n")).size(), 0);

        QByteArray binary;
        for (int i = 0; i < 70000; ++i)
            binary.append(char((i * 7919 + 13) % 256));
        const QPolygonF b = Read_All_AirfoilTypes(foilgen::writeFile(dir.path(), "binary.dat", binary));
        for (const QPointF& q : b)
            QVERIFY(std::isfinite(q.x()) && std::isfinite(q.y()));

        // Byte-order mark and Windows line ends.
        const QPolygonF bom = Read_All_AirfoilTypes(
            foilgen::writeFile(dir.path(), "bom.dat", QByteArray("\xEF\xBB\xBF" "1.0 0.0\r\n0.5 0.05\r\n0.0 0.0\r\n")));
        QCOMPARE(bom, QPolygonF({QPointF(1, 0), QPointF(0.5, 0.05), QPointF(0, 0)}));

        // One or two points come back as read; the import refuses them later.
        QCOMPARE(Read_All_AirfoilTypes(file("one.dat", "GEN\n0.5 0.1\n")), QPolygonF({QPointF(0.5, 0.1)}));
        QCOMPARE(Read_All_AirfoilTypes(file("two.dat", "GEN\n1.0 0.0\n0.0 0.0\n")).size(), 2);

        // Many lines: the plain reader keeps them all, the symmetric and the
        // three-column reader stop at their capacity.
        QString many = "GEN\n";
        for (int i = 0; i < 100000; ++i)
            many += QStringLiteral("%1 %2\n").arg(1.0 - i * 1e-5, 0, 'f', 6).arg(0.01, 0, 'f', 6);
        QCOMPARE(Read_All_AirfoilTypes(file("many.dat", many)).size(), 100000);
        QCOMPARE(Read_Symetric(file("many.dat", many)).size(), 2 * kReaderLineCapacity - 3);
        QCOMPARE(Read_Eppler(file("many.dat", many)).size(), 2 * kReaderLineCapacity);

        // A 10 MB line of numbers is one data line of three numbers at most.
        QString longLine = "GEN\n1.0 0.0\n0.5 0.05\n0.3 0.04\n";
        QString numbers;
        numbers.reserve(10'000'000);
        while (numbers.size() < 10'000'000)
            numbers += QStringLiteral("0.25 ");
        longLine += numbers + "\n";
        const QPolygonF l = Read_All_AirfoilTypes(file("long.dat", longLine));
        QCOMPARE(l.size(), 4);
        QCOMPARE(l.last(), QPointF(0.25, 0.25));
    }

    void polygonSquare()
    {
        QCOMPARE(PolygonSquare(QPolygonF()), 0.0);
        QCOMPARE(PolygonSquare(QPolygonF({QPointF(1, 1)})), 0.0);
        // Unit square closed by repeating its first point: twice its area.
        const QPolygonF square({QPointF(0, 0), QPointF(1, 0), QPointF(1, 1), QPointF(0, 1), QPointF(0, 0)});
        QCOMPARE(PolygonSquare(square), 2.0);
        QPolygonF reversed(square.rbegin(), square.rend());
        QCOMPARE(PolygonSquare(reversed), -2.0);
        // No closing edge: the open square gives the same sum without it.
        QCOMPARE(PolygonSquare(square.mid(0, 4)), 2.0);
        // Summed in single precision.
        const QPolygonF fine({QPointF(0.1, 0.2), QPointF(0.3, 0.7)});
        QCOMPARE(PolygonSquare(fine), double(0.1f * 0.7f - 0.2f * 0.3f));
        // An airfoil from the tables runs counter-clockwise.
        QVERIFY(PolygonSquare(foilgen::naca4({}, 31)) > 0);
        QVERIFY(PolygonSquare(foilgen::joukowski(0.08, 0.0, 61)) > 0);
    }
};

QTEST_APPLESS_MAIN(TestAirfoilFile)
#include "tst_airfoilfile.moc"
