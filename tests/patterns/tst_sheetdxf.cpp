#include <QTest>
#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QJsonObject>
#include <QLineF>
#include <QLatin1Char>
#include <QObject>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <QStringLiteral>
#include <QVector3D>

#include <QFont>
#include <QJsonArray>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cerrno>
#include <memory>

#include "tests/common/dxfcheck.h"
#include "geom/sheet.h"

// The DXF file of a pattern sheet, byte by byte and read back by ezdxf, and
// its on-screen preview.

namespace {
QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QByteArray crlf(const QStringList& lines)
{
    QByteArray b;
    for (const QString& l : lines)
        b += l.toUtf8() + "\r\n";
    return b;
}

// Every line of the sheet's file, without line ends.
QStringList fileLines(const PieceSheet& sheet)
{
    QStringList lines = QString::fromUtf8(Sheet_Dxf_Bytes(sheet)).split(QStringLiteral("\r\n"));
    lines.removeLast(); // after the last line end
    return lines;
}

// The lines of the ENTITIES section, its end left out.
QStringList entities(const PieceSheet& sheet)
{
    const QStringList lines = fileLines(sheet);
    return lines.mid(0, lines.size() - 4);
}
} // namespace

class TestSheetDxf : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    // 6 mm per plan unit
    static constexpr double kScale = 6.0;

private slots:
    void emptyDrawingIsEightLines()
    {
        QCOMPARE(Write_Sheet(PieceSheet(kScale), dir.path(), QStringLiteral("empty.dxf")), 0);
        QCOMPARE(readAll(dir.filePath(QStringLiteral("empty.dxf"))),
                 QByteArray("0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n"));
    }

    // A label with characters beyond ASCII goes into the file as UTF-8, the
    // lines around it unchanged.
    void textBeyondAsciiIsUtf8()
    {
        PieceSheet sheet(kScale);
        QFont font;
        font.setPointSize(4);
        const QString label = QStringLiteral("Rippe \u00e4\u00df\u20ac");
        sheet.text(QPointF(), QPointF(1, 2), QStringLiteral("L\u00f8"), 0, label, font, sheet.textHeight(font));
        QCOMPARE(Write_Sheet(sheet, dir.path(), QStringLiteral("utf8.dxf")), 0);
        const QByteArray bytes = readAll(dir.filePath(QStringLiteral("utf8.dxf")));
        const QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 8 + 22 + 1);
        QVERIFY(lines.contains(label));
        QVERIFY(bytes.contains("\r\nRippe \xc3\xa4\xc3\x9f\xe2\x82\xac\r\n"));
        QVERIFY(bytes.contains("\r\nL\xc3\xb8\r\n"));
    }

    void lineEntityIsScaledToMillimetres()
    {
        PieceSheet sheet(kScale);
        sheet.fileOnlyLine(QPointF(10, 25), QPointF(-0.5, 0), QStringLiteral("RIB.5"), 3);
        QCOMPARE(Write_Sheet(sheet, dir.path(), QStringLiteral("line.dxf")), 0);
        const QByteArray expected =
            crlf({"0", "SECTION", "2", "ENTITIES", "0", "LINE", "8", "RIB.5", "62", "3", "10", "60.0000", "20",
                  "150.0000", "30", "0.0000", "11", "-3.0000", "21", "0.0000", "31", "0.0000", "0", "ENDSEC", "0",
                  "EOF"});
        QCOMPARE(readAll(dir.filePath(QStringLiteral("line.dxf"))), expected);
    }

    void polylineSegmentCounts_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<bool>("close");
        QTest::addColumn<int>("lines");
        QTest::newRow("polyline of 5") << 5 << false << false << 4;
        QTest::newRow("closed loop of 5") << 5 << true << true << 5;
        QTest::newRow("open loop of 5") << 5 << true << false << 4;
        QTest::newRow("closed loop of 1") << 1 << true << true << 0;
        QTest::newRow("polyline of 1") << 1 << false << false << 0;
        QTest::newRow("closed loop of 0") << 0 << true << true << 0;
    }

    void polylineSegmentCounts()
    {
        QFETCH(int, points);
        QFETCH(bool, loop);
        QFETCH(bool, close);
        QFETCH(int, lines);
        QPolygonF poly;
        for (int i = 0; i < points; ++i)
            poly << QPointF(i, i * i);
        PieceSheet sheet(kScale);
        if (loop)
            sheet.loop(poly, QStringLiteral("L"), 1, close);
        else
            sheet.polyline(poly, QStringLiteral("L"), 1);
        const QStringList file = entities(sheet);
        QCOMPARE(file.count(QStringLiteral("LINE")), lines);
        QCOMPARE(file.size(), 4 + 18 * lines);
        if (close && points > 1) {
            // the closing line runs from the last point back to the first
            const int at = file.size() - 18;
            QCOMPARE(file.at(at + 7), QString::number(kScale * (points - 1), 'f', 4));
            QCOMPARE(file.at(at + 13), QStringLiteral("0.0000"));
        }
    }

    // No LINE of no length in the file: a point that is the one before it
    // as written (within the four decimals, "-0.0000" being 0 as well) adds
    // no LINE, the next LINE starts where the last one ended, a loop already
    // closed gets no closing LINE, and a mark is closed by its last side.
    void noLineOfNoLength()
    {
        PieceSheet sheet(kScale);
        // 6 mm per unit: 1e-6 units are 0.000006 mm, -2e-6 units -0.000012 mm
        const QPolygonF poly{{0, 0},  {1e-6, -2e-6}, {1, 0}, {1, 0}, {1, 1}, {1 + 1e-6, 1},
                             {0, 1}, {0, 0}};
        sheet.loop(poly, QStringLiteral("L"), 1, true);
        sheet.fileOnlyLine(QPointF(2, 2), QPointF(2, 2 + 1e-6), QStringLiteral("L"), 1);
        sheet.line3D(QVector3D(1, 2, 3), QVector3D(1, 2, 3), sheet.layerIndex(QStringLiteral("L")), 1);
        QCOMPARE(Write_Sheet(sheet, dir.path(), QStringLiteral("lines.dxf")), 0);
        const QJsonObject dxf = ReadDxfWithEzdxf(dir.filePath(QStringLiteral("lines.dxf")));
        QVERIFY(dxf.value(QStringLiteral("ok")).toBool());
        const QJsonArray lines = dxf.value(QStringLiteral("lines")).toArray();
        // the square's four sides, nothing else
        QCOMPARE(lines.size(), 4);
        QPointF end(0, 0);
        for (const QJsonValue& v : lines) {
            const QJsonArray l = v.toArray();
            const QPointF a(l.at(2).toDouble(), l.at(3).toDouble()), b(l.at(5).toDouble(), l.at(6).toDouble());
            QVERIFY(QLineF(a, b).length() > 1);
            QVERIFY(QLineF(a, end).length() < 1e-3);
            end = b;
        }
        QVERIFY(QLineF(end, QPointF(0, 0)).length() < 1e-3);
    }

    void textEntity_data()
    {
        QTest::addColumn<bool>("pixelFont");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("y");
        // A pixel-sized label font is as high in the file as in the preview:
        // 12 plan units at 6 mm each, 72 mm.
        QTest::newRow("pixel-sized font") << true << QStringLiteral("72") << QStringLiteral("56.4000");
        QTest::newRow("30 point font") << false << QStringLiteral("30") << QStringLiteral("111.0000");
    }

    void textEntity()
    {
        QFETCH(bool, pixelFont);
        QFETCH(QString, height);
        QFETCH(QString, y);
        QFont font;
        if (pixelFont)
            font.setPixelSize(12);
        else
            font.setPointSize(30);
        PieceSheet sheet(kScale);
        sheet.text(QPointF(0, 0), QPointF(10, 25), QStringLiteral("Up.1.2"), -90, QStringLiteral("abcde"), font,
                   sheet.textHeight(font));
        const QStringList expected = {"0",  "TEXT",     "100", "AcDbEntity", "8",  "Up.1.2", "100",   "AcDbText",
                                      "10", "65.0000",  "20",  y,            "30", "0.0000", "40",    height,
                                      "1",  "abcde",    "50",  "-90",        "100", "AcDbText"};
        QCOMPARE(entities(sheet).mid(4), expected);
    }

    // A sheet's reals are written as the number formatting of the library
    // writes them (four decimals, an exact half rounded away from zero, zero
    // without a sign), also where the shortest correct form would round a half
    // to even.
    void sheetRealsAsTheLibraryFormatsThem_data()
    {
        QTest::addColumn<double>("value");
        for (double v : {0.03125, -0.03125, 1.03125, 0.15625, 123456.78125, 9.99995, 0.99995, -0.0, 0.0, -0.00001,
                         0.00004, -0.00005, 2.5e-5, 7.5e-5, 99999.99995, 1e20, 12.5, -7.65625, 3.14159265})
            QTest::newRow(qPrintable(QString::number(v, 'g', 17))) << v;
    }
    void sheetRealsAsTheLibraryFormatsThem()
    {
        QFETCH(double, value);
        PieceSheet sheet(1.0);
        sheet.polyline(QPolygonF{QPointF(value, 1), QPointF(2, value)}, QStringLiteral("a"), 1);
        const QStringList lines = QString::fromUtf8(Sheet_Dxf_Bytes(sheet)).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.mid(4, 3), (QStringList{"0", "LINE", "8"}));
        QCOMPARE(lines.at(4 + 7), QString::number(value, 'f', 4));
        QCOMPARE(lines.at(4 + 15), QString::number(value, 'f', 4));
    }

    void lines3DKeepSinglePrecision()
    {
        PieceSheet sheet(kScale);
        sheet.line3D(QVector3D(12345.6789f, 1, 2), QVector3D(0, 0, -1), sheet.layerIndex(QStringLiteral("Bridle")), 6);
        QStringList file = entities(sheet);
        QCOMPARE(file.at(4 + 7), QStringLiteral("74074.0703"));
        QCOMPARE(file.at(4 + 11), QStringLiteral("12.0000"));
        QCOMPARE(file.at(4 + 17), QStringLiteral("-6.0000"));
        // a 2-D line keeps double precision
        PieceSheet flat(kScale);
        flat.fileOnlyLine(QPointF(12345.6787109375, 0), QPointF(), QStringLiteral("x"), 1);
        QCOMPARE(entities(flat).at(4 + 7), QStringLiteral("74074.0723"));
    }

    // The preview: each polyline an open path of its points, a label its
    // glyphs at the preview position (not where the file puts it); what the
    // file alone has (a line of the flat-shape drawing, a 3-D line) is not
    // on screen, and a polyline of one point draws nothing.
    void previewDrawsWhatIsSeen()
    {
        PieceSheet sheet(kScale);
        QFont font;
        font.setPixelSize(20);
        sheet.polyline(QPolygonF({QPointF(0, 0), QPointF(10, 0), QPointF(10, 10)}), QStringLiteral("a"), 1);
        sheet.loop(QPolygonF({QPointF(0, 0)}), QStringLiteral("a"), 1, true);
        sheet.fileOnlyLine(QPointF(500, 500), QPointF(600, 600), QStringLiteral("a"), 1);
        sheet.line3D(QVector3D(700, 700, 700), QVector3D(800, 800, 800), 0, 1);
        sheet.text(QPointF(5, 5), QPointF(100, 100), QStringLiteral("a"), 0, QStringLiteral("X"), font, 3);
        const QPainterPath p = Sheet_Preview(sheet);
        QVERIFY(p.elementCount() > 3);
        QCOMPARE(p.elementAt(0).x, 0.0);
        QCOMPARE(p.elementAt(2).y, 10.0);
        // the text's glyphs lie around the preview position, not the file position
        QVERIFY(p.boundingRect().right() < 50);
        QVERIFY(p.boundingRect().bottom() < 50);
    }

    // A sheet of megabytes goes into the file a piece at a time: the file
    // holds every byte in order (a label longer than a piece among them),
    // and when the disk refuses a piece nothing more is handed on and the
    // system's reason comes back.
    void largeSheetGoesInPieces()
    {
        PieceSheet sheet(kScale);
        for (int k = 0; k < 20000; ++k)
            sheet.polyline(QPolygonF{QPointF(k, 0.5), QPointF(k + 0.25, 3), QPointF(k, 7.125)},
                           QStringLiteral("L%1").arg(k % 7), 1 + k % 5);
        QFont font;
        font.setPixelSize(10);
        sheet.text(QPointF(), QPointF(1, 2), QStringLiteral("label"), 0, QString(300000, QLatin1Char('x')), font, 3);
        sheet.line3D(QVector3D(1, 2, 3), QVector3D(-1, -2, -3), sheet.layerIndex(QStringLiteral("3D")), 7);
        const QByteArray bytes = Sheet_Dxf_Bytes(sheet);
        QVERIFY(bytes.size() > 3 * 1024 * 1024);
        QVERIFY(bytes.endsWith("0\r\nENDSEC\r\n0\r\nEOF\r\n"));
        QCOMPARE(bytes.count("\r\nLINE\r\n"), qsizetype(2 * 20000 + 1));
        QCOMPARE(Write_Sheet(sheet, dir.path(), QStringLiteral("large.dxf")), 0);
        QCOMPARE(readAll(dir.filePath(QStringLiteral("large.dxf"))), bytes);

        int pieces = 0;
        qsizetype handed = 0;
        const int code = Sheet_Dxf_Write(sheet, [&](const char*, qsizetype size) {
            ++pieces;
            handed += size;
            return pieces == 3 ? ENOSPC : 0;
        });
        QCOMPARE(code, ENOSPC);
        QCOMPARE(pieces, 3);
        QVERIFY(handed < bytes.size());
    }

    // A file that cannot be written says why.
    void failedWriteIsReported()
    {
        QCOMPARE(Write_Sheet(PieceSheet(kScale), dir.filePath(QStringLiteral("missing/folder")),
                             QStringLiteral("x.dxf")),
                 ENOENT);
    }

    void realReaderLoadsTheFile()
    {
        QFont font;
        font.setPointSize(30);
        PieceSheet sheet(kScale);
        sheet.loop(QPolygonF({QPointF(0, 0), QPointF(100, 0), QPointF(100, 50)}), QStringLiteral("RIB.1"), 1, true);
        sheet.text(QPointF(), QPointF(50, 20), QStringLiteral("RIB.1"), -90, QStringLiteral("RIB 1"), font,
                   sheet.textHeight(font));
        QFont pixel;
        pixel.setPixelSize(10);
        sheet.text(QPointF(), QPointF(1, 2), QStringLiteral("label"), 0, QStringLiteral("a"), pixel,
                   sheet.textHeight(pixel));
        sheet.line3D(QVector3D(1, 2, 3), QVector3D(-1, -2, -3), sheet.layerIndex(QStringLiteral("Risers")), 7);
        const QString path = dir.filePath(QStringLiteral("reader.dxf"));
        QCOMPARE(Write_Sheet(sheet, dir.path(), QStringLiteral("reader.dxf")), 0);

        // byte checks: CR LF everywhere, group codes and reals in their formats
        const QByteArray bytes = readAll(path);
        QVERIFY(bytes.endsWith("0\r\nEOF\r\n"));
        QCOMPARE(bytes.count("\r\n"), bytes.count("\n"));
        const QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
        const QRegularExpression code(QStringLiteral("^\\d+$"));
        const QRegularExpression real(QStringLiteral("^-?\\d+\\.\\d{4}$"));
        for (int i = 0; i + 1 < lines.size() - 1; i += 2) {
            QVERIFY2(code.match(lines.at(i)).hasMatch(), qPrintable(lines.at(i)));
            const int c = lines.at(i).toInt();
            if ((c >= 10 && c <= 31))
                QVERIFY2(real.match(lines.at(i + 1)).hasMatch(), qPrintable(lines.at(i + 1)));
        }

        const QJsonObject r = ReadDxfWithEzdxf(path);
        QVERIFY2(r.value(QStringLiteral("ok")).toBool(), qPrintable(r.value(QStringLiteral("error")).toString()));
        QCOMPARE(r.value(QStringLiteral("audit_errors")).toInt(), 0);
        QCOMPARE(r.value(QStringLiteral("audit_fixes")).toInt(), 0);
        const QJsonArray ls = r.value(QStringLiteral("lines")).toArray();
        const QJsonArray ts = r.value(QStringLiteral("texts")).toArray();
        QCOMPARE(ls.size(), 4);
        QCOMPARE(ts.size(), 2);
        QCOMPARE(r.value(QStringLiteral("other")).toArray().size(), 0);
        const QJsonArray closing = ls.at(2).toArray();
        QCOMPARE(closing.at(0).toString(), QStringLiteral("RIB.1"));
        QCOMPARE(closing.at(1).toInt(), 1);
        QCOMPARE(closing.at(2).toDouble(), 600.0);
        QCOMPARE(closing.at(3).toDouble(), 300.0);
        QCOMPARE(closing.at(5).toDouble(), 0.0);
        const QJsonArray riser = ls.at(3).toArray();
        QCOMPARE(riser.at(4).toDouble(), 18.0);
        QCOMPARE(riser.at(7).toDouble(), -18.0);
        const QJsonArray text = ts.at(0).toArray();
        QCOMPARE(text.at(1).toString(), QStringLiteral("RIB 1"));
        QCOMPARE(text.at(2).toDouble(), 305.0);
        QCOMPARE(text.at(3).toDouble(), 81.0);
        QCOMPARE(text.at(4).toDouble(), 30.0);
        QCOMPARE(text.at(5).toDouble(), -90.0);
    }
};

QTEST_MAIN(TestSheetDxf)
#include "tst_sheetdxf.moc"
