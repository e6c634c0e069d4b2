#include <QTest>
#include <QFont>
#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QLatin1String>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QStringLiteral>

#include <QJsonArray>
#include <QTemporaryDir>

#include "tests/common/dxfcheck.h"
#include "tests/core/designfixture.h"
#include "geom/sheet.h"
#include "geom/flatwingdxf.h"
#include "core/parastruct.h"
#include "core/transf.h"

// The flat-shape drawing of test wings with a centre rib and with a centre
// cell, written through the DXF writer and read back with a real reader.
class TestFlatWingDxf : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

    QJsonObject writeAndRead(const ParaStruct& d, const QString& name)
    {
        if (Write_Sheet(FlatWing_Sheet(d, QFont(), 30), dir.path(), name) != 0)
            return {};
        return ReadDxfWithEzdxf(dir.filePath(name));
    }

private slots:
    void drawingOfBothRibLayouts_data()
    {
        QTest::addColumn<int>("cells");
        QTest::newRow("centre rib") << 34;
        QTest::newRow("centre cell") << 35;
    }

    void drawingOfBothRibLayouts()
    {
        QFETCH(int, cells);
        auto d = fixture::makeWing(cells);
        d->dxfScale = d->span / 1000 * 500;
        const QJsonObject r = writeAndRead(*d, QStringLiteral("flat%1.dxf").arg(cells));
        QVERIFY2(r.value(QStringLiteral("ok")).toBool(), qPrintable(r.value(QStringLiteral("error")).toString()));
        QCOMPARE(r.value(QStringLiteral("audit_errors")).toInt(), 0);
        QCOMPARE(r.value(QStringLiteral("audit_fixes")).toInt(), 0);

        const int first = d->firstRib;
        const int last = d->lastRib;
        const int ribs = last - first + 1;
        const double s = d->dxfScale;
        QHash<QString, int> lineCount;
        QHash<QString, int> colours;
        QList<QJsonArray> ribLines;
        for (const QJsonValue& v : r.value(QStringLiteral("lines")).toArray()) {
            const QJsonArray l = v.toArray();
            lineCount[l.at(0).toString()] += 1;
            colours[l.at(0).toString()] = l.at(1).toInt();
            if (l.at(0).toString() == QLatin1String("Flatwing"))
                ribLines << l;
        }
        QCOMPARE(lineCount.value(QStringLiteral("Flatwing")), ribs);
        QCOMPARE(lineCount.value(QStringLiteral("Uy")), ribs - 1);
        QCOMPARE(lineCount.value(QStringLiteral("Dy")), ribs - 1);
        for (int k = 0; k < kLineRows; ++k) {
            QCOMPARE(lineCount.value(QStringLiteral("dyn-line-%1").arg(k)), ribs - 1);
            QCOMPARE(lineCount.value(QStringLiteral("line-%1").arg(k)), ribs - 1);
            QCOMPARE(colours.value(QStringLiteral("dyn-line-%1").arg(k)), 3);
            QCOMPARE(colours.value(QStringLiteral("line-%1").arg(k)), 1);
        }
        QCOMPARE(colours.value(QStringLiteral("Flatwing")), 5);
        QCOMPARE(colours.value(QStringLiteral("Uy")), 4);

        // rib lines at the rounded rib position, from trailing to leading
        // edge, mirrored about y = 500 and in millimetres
        for (int r = first; r <= last; ++r) {
            const QJsonArray l = ribLines.at(r - first);
            QCOMPARE(l.at(2).toDouble(), std::round(std::round(d->ribSpanPos[r]) * s * 1e4) / 1e4);
            QVERIFY(qAbs(l.at(3).toDouble() - s * (500 - d->trailingEdgeX[r])) < 1e-4);
            QVERIFY(qAbs(l.at(6).toDouble() - s * (500 - d->leadingEdgeX[r])) < 1e-4);
        }

        QStringList ribNumbers;
        QStringList letters;
        QStringList header;
        for (const QJsonValue& v : r.value(QStringLiteral("texts")).toArray()) {
            const QJsonArray t = v.toArray();
            if (t.at(0).toString() == QLatin1String("head_text")) {
                header << t.at(1).toString();
                QCOMPARE(t.at(4).toDouble(), 60.0);
            } else {
                QCOMPARE(t.at(0).toString(), QStringLiteral("Flatwing"));
                QCOMPARE(t.at(4).toDouble(), 30.0);
                (t.at(1).toString().startsWith(QLatin1String("r:")) ? ribNumbers : letters) << t.at(1).toString();
            }
        }
        // rib 0 gets no number
        QCOMPARE(ribNumbers.size(), last - std::max(first, 1) + 1);
        QCOMPARE(ribNumbers.first(), QStringLiteral("r:1"));
        QCOMPARE(ribNumbers.last(), QStringLiteral("r:%1").arg(last));
        for (int k = 0; k < kLineRows; ++k)
            QCOMPARE(letters.at(k), LineLetter(k));
        QCOMPARE(header.size(), 8);
        QCOMPARE(header.at(0), QStringLiteral("Flat area [m2]: %1 ").arg(d->flatArea, 5, 'f', 2));
        QCOMPARE(header.at(4), QStringLiteral("Total number of ribs: %1 ").arg(cells));
        QCOMPARE(header.at(6), QStringLiteral("Span/2 [m]: %1").arg(0.5 * d->span, 4, 'f', 2));
    }

    void headerLinesAreOnePitchApart()
    {
        auto d = fixture::makeWing(34);
        PieceSheet sheet(2.0);
        write_header(&sheet, *d, QPointF(100, 40), QFont(), 30);
        // 8 TEXT entities of 22 lines; group 20 is the 12th line of each
        const QStringList file = QString::fromUtf8(Sheet_Dxf_Bytes(sheet)).split(QStringLiteral("\r\n"));
        QCOMPARE(file.size(), 8 + 8 * 22 + 1);
        for (int k = 0; k < 8; ++k) {
            const int at = 4 + 22 * k;
            QCOMPARE(file.at(at + 15), QStringLiteral("60"));
            QCOMPARE(file.at(at + 11), QString::number(2.0 * (40 - 30 * k) - 1.3 * 60, 'f', 4));
        }
    }
};

QTEST_MAIN(TestFlatWingDxf)
#include "tst_flatwingdxf.moc"
