// A sheet goes into a file only when every number the file would hold is
// finite: a point, a mark's corners, a label's position, a 3-D line's ends,
// the scale. One bad value anywhere keeps the whole file out, names the
// piece it belongs to, and leaves an earlier file of that name as it was.

#include <QTest>
#include <QByteArray>
#include <QFile>
#include <QFont>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QTemporaryDir>
#include <QVector3D>

#include <cerrno>
#include <cmath>
#include <functional>
#include <limits>

#include "geom/sheet.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

using Draw = std::function<void(PieceSheet&)>;

// Two good pieces around the one under test, so that the problem is found
// wherever it stands among them.
PieceSheet sheetWith(double scale, const Draw& draw)
{
    PieceSheet sheet(scale);
    sheet.polyline(QPolygonF{QPointF(0, 0), QPointF(10, 0), QPointF(10, 5)}, QStringLiteral("RIB.1"), 1);
    draw(sheet);
    sheet.mark(QPointF(3, 3), 0.5, 2.0, 4, QStringLiteral("RIB.3"));
    return sheet;
}

} // namespace

Q_DECLARE_METATYPE(Draw)

class TestSheetFile : public QObject
{
    Q_OBJECT

private slots:
    void nonFiniteValuesAreFound_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<Draw>("draw");
        QTest::addColumn<QString>("named"); // in the problem; empty: no problem
        const QFont font;
        auto line = [](QPointF a, QPointF b) {
            return Draw([a, b](PieceSheet& s) { s.polyline(QPolygonF{a, b}, QStringLiteral("RIB.2"), 1); });
        };
        QTest::newRow("all finite") << 2.0 << line(QPointF(1, 1), QPointF(2, 2)) << QString();
        QTest::newRow("nan in a cut line") << 2.0 << line(QPointF(1, kNaN), QPointF(2, 2)) << "RIB.2";
        QTest::newRow("infinity at the end of a cut line") << 2.0 << line(QPointF(1, 1), QPointF(-kInf, 2))
                                                           << "RIB.2";
        // Finite in plan units, beyond a double once scaled to millimetres.
        QTest::newRow("overflows with the scale") << 10.0 << line(QPointF(1e308, 1), QPointF(2, 2)) << "RIB.2";
        QTest::newRow("bad scale") << kNaN << line(QPointF(1, 1), QPointF(2, 2)) << "scale";
        QTest::newRow("closed loop") << 1.0 << Draw([](PieceSheet& s) {
            s.loop(QPolygonF{QPointF(0, 0), QPointF(kInf, 0), QPointF(1, 1)}, QStringLiteral("Dia.2.3"), 2, true);
        }) << "Dia.2.3";
        QTest::newRow("file-only line") << 1.0 << Draw([](PieceSheet& s) {
            s.fileOnlyLine(QPointF(0, kNaN), QPointF(1, 1), QStringLiteral("Up.4.1"), 4);
        }) << "Up.4.1";
        // Seen on screen only: the file does not hold it.
        QTest::newRow("sewing line on screen only") << 1.0 << Draw([](PieceSheet& s) {
            s.sewingLine(QPolygonF{QPointF(0, kNaN), QPointF(1, 1)}, QStringLiteral("Up.4.1.pure"), 4);
        }) << QString();
        QTest::newRow("mark centre") << 1.0 << Draw([](PieceSheet& s) {
            s.mark(QPointF(kNaN, 1), 0.5, 2, 4, QStringLiteral("RIB.7"));
        }) << "RIB.7";
        QTest::newRow("mark size") << 1.0 << Draw([](PieceSheet& s) {
            s.mark(QPointF(1, 1), kInf, 2, 4, QStringLiteral("RIB.8"));
        }) << "RIB.8";
        // The preview size of a mark is not in the file.
        QTest::newRow("mark preview size") << 1.0 << Draw([](PieceSheet& s) {
            s.mark(QPointF(1, 1), 0.5, kNaN, 4, QStringLiteral("RIB.8"));
        }) << QString();
        QTest::newRow("label position") << 1.0 << Draw([font](PieceSheet& s) {
            s.text(QPointF(0, 0), QPointF(kNaN, 4), QStringLiteral("RIB.9"), 0, QStringLiteral("RIB.9"), font, 5);
        }) << "RIB.9";
        QTest::newRow("label shown elsewhere on screen") << 1.0 << Draw([font](PieceSheet& s) {
            s.text(QPointF(kNaN, 0), QPointF(1, 4), QStringLiteral("RIB.9"), 0, QStringLiteral("RIB.9"), font, 5);
        }) << QString();
        QTest::newRow("3-D line") << 1.0 << Draw([](PieceSheet& s) {
            s.line3D(QVector3D(0, 0, 0), QVector3D(1, float(kNaN), 0), s.layerIndex(QStringLiteral("Bridle")), 5);
        }) << "Bridle";
        // A 3-D end is single precision in the file: 1e30 times 1e10 is
        // beyond a float.
        QTest::newRow("3-D line beyond single precision") << 1e10 << Draw([](PieceSheet& s) {
            s.line3D(QVector3D(0, 0, 0), QVector3D(1e30f, 0, 0), s.layerIndex(QStringLiteral("Risers")), 5);
        }) << "Risers";
    }

    // The problem names the piece; a sheet with one is not written, and an
    // earlier file of its name stays byte for byte. A sheet without one is
    // written, and no number in it is "nan" or "inf".
    void nonFiniteValuesAreFound()
    {
        QFETCH(double, scale);
        QFETCH(Draw, draw);
        QFETCH(QString, named);
        const PieceSheet sheet = sheetWith(scale, draw);
        const QString problem = Sheet_File_Problem(sheet);
        QTemporaryDir dir;
        const QByteArray earlier("0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n");
        {
            QFile f(dir.filePath(QStringLiteral("ribs.dxf")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(earlier);
        }
        const int code = Write_Sheet(sheet, dir.path(), QStringLiteral("ribs.dxf"));
        QFile written(dir.filePath(QStringLiteral("ribs.dxf")));
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        if (named.isEmpty()) {
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
            QCOMPARE(code, 0);
            QVERIFY(bytes != earlier);
            QVERIFY(!bytes.contains("nan"));
            QVERIFY(!bytes.contains("inf"));
        } else {
            QVERIFY2(problem.contains(named), qPrintable(problem));
            QVERIFY2(problem.contains(QStringLiteral("not a finite number")), qPrintable(problem));
            QCOMPARE(code, EDOM);
            QCOMPARE(bytes, earlier);
        }
    }
};

QTEST_MAIN(TestSheetFile)
#include "tst_sheetfile.moc"
