// The default design "template.ini" the build places beside the programs,
// and its 35-cell variant for tests.

#include "core/calcul3d.h"
#include "core/cellgrid.h"
#include "tools/template/defaultdesign.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "graphics/pattspline.h"
#include "graphics/streamfile.h"

#include <QBuffer>
#include <QFile>
#include <QTest>
#include <QByteArray>
#include <QIODevice>
#include <QLatin1String>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringLiteral>
#include <QVector3D>

#include <cmath>

namespace {

QString shippedTemplate()
{
    return qEnvironmentVariable("WL_APP_DIR") + "/template.ini";
}

QString oddTemplate()
{
    return qEnvironmentVariable("WL_TEST_DATA_DIR") + "/template-35.ini";
}

QByteArray bytesOf(const ParaStruct& d)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Write_Project(&buffer, d);
    return buffer.data();
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::unique_ptr<ParaStruct> readDesign(const QString& path, QString* reason)
{
    QFile f(path);
    auto d = std::make_unique<ParaStruct>();
    if (!f.open(QIODevice::ReadOnly) || !Read_Project(&f, d.get(), reason))
        return nullptr;
    return d;
}

// The design lines written beside a design file ("x.ini" -> "x.dsg").
QByteArray linesBytesBeside(const QString& path)
{
    return fileBytes(QString(path).replace(QLatin1String(".ini"), QLatin1String(".dsg")));
}

QList<Spline> linesBeside(const QString& path)
{
    QList<Spline> lines;
    Read_Stream_File(QString(path).replace(QLatin1String(".ini"), QLatin1String(".dsg")),
                     [&lines](QDataStream& in) { in >> &lines; });
    return lines;
}

QByteArray linesBytes(const QList<Spline>& lines)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << lines;
    return bytes;
}

// Outward at point j of cell r: from the other side of the airfoil (the
// point's foil pair) to j, on the flat grid.
QVector3D outward(const ParaStruct* d, int r, int j)
{
    const Par12& p = d->foilPairs[r + 1].at(j);
    const int other = j == p.up ? p.low : p.up;
    return d->flatGrid[4][r][j] - d->flatGrid[4][r][other];
}

} // namespace

class TestTemplate : public QObject
{
    Q_OBJECT

private slots:
    // The files are the generator's output (the design and its design
    // lines beside it) and the generator gives the same bytes every time.
    void regeneratesByteIdentically()
    {
        const QByteArray shipped = fileBytes(shippedTemplate());
        const QByteArray shippedLines = linesBytesBeside(shippedTemplate());
        QVERIFY(!shipped.isEmpty());
        QVERIFY(shippedLines.size() > 4);
        auto first = Build_Default_Design(34);
        auto second = Build_Default_Design(34);
        QCOMPARE(bytesOf(*first), shipped);
        QCOMPARE(bytesOf(*second), shipped);
        QCOMPARE(linesBytes(first->designSplines), shippedLines);
        QCOMPARE(linesBytes(second->designSplines), shippedLines);
    }

    void designs_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("cells");
        QTest::newRow("template.ini") << shippedTemplate() << 34;
        QTest::newRow("35 cells") << oddTemplate() << 35;
    }

    // Read as File > Open reads it, recomputed: the same design, within the
    // ranges of a realistic wing, every index valid, no NaN, and a recompute
    // that leaves the stored derived values as they were.
    void designs()
    {
        QFETCH(QString, path);
        QFETCH(int, cells);
        QString reason;
        auto d = readDesign(path, &reason);
        QVERIFY2(d, qPrintable(reason));
        QCOMPARE(d->cells, cells);
        QVERIFY(d->version.contains(QLatin1String("7.0.0.0")));
        QVERIFY(d->lastRib <= 65);
        Refresh_Calculations(d.get());
        QCOMPARE(bytesOf(*d), fileBytes(path));
        d->designSplines = linesBeside(path);
        const QStringList problems = Check_Default_Design(*d) + Check_Default_Figures(*d);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    // The cloth of the default design bulges outward between the ribs
    // where it has oversize, and the measured extension is positive there.
    void inflatedWing_data() { designs_data(); }
    void inflatedWing()
    {
        QFETCH(QString, path);
        QString reason;
        auto d = readDesign(path, &reason);
        QVERIFY(d);
        Refresh_Calculations(d.get());
        int bulged = 0;
        for (int r = d->firstRib; r < d->lastRib; ++r) {
            for (int j = 5; j < 995; j += 5) {
                const QVector3D push = d->inflatedGrid[4][r][j] - d->flatGrid[4][r][j];
                if (d->clothHalfOversize[r][j] > 0.05) {
                    QVERIFY2(QVector3D::dotProduct(push, outward(d.get(), r, j)) > 0,
                             qPrintable(QStringLiteral("cell %1 point %2").arg(r).arg(j)));
                    ++bulged;
                } else if (d->clothHalfOversize[r][j] == 0 && d->clothHalfOversize[r][j + 1] == 0) {
                    QVERIFY(push.length() < 1e-3);
                }
            }
        }
        QVERIFY(bulged > 500);
        // Near the centre the upper side rises (smaller z) and the lower
        // side drops.
        const int c = d->firstRib;
        const int top = d->topIndex[c + 1], bottom = d->bottomIndex[c + 1];
        QVERIFY(d->inflatedGrid[4][c][top].z() < d->flatGrid[4][c][top].z());
        QVERIFY(d->inflatedGrid[4][c][bottom].z() > d->flatGrid[4][c][bottom].z());
        for (int j = 0; j < kAirfoilPoints; j += 3)
            if (d->clothHalfOversize[1][j] > 0.05)
                QVERIFY2(RelativeExtension(j, d.get()) > 0, qPrintable(QString::number(j)));
        QVERIFY(Max_Relative_Extension(d.get()) > 0);
    }
};

QTEST_MAIN(TestTemplate)
#include "tst_template.moc"
