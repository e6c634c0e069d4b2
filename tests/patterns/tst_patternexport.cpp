// "Export all": the writers in their order, the project output directory,
// the report of every file, small wings.

#include <QTest>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QLatin1Char>
#include <QJsonObject>
#include <QLatin1String>
#include <QList>
#include <QMap>
#include <QVector3D>
#include <QLineF>
#include <QMultiHash>
#include <QPair>
#include <QObject>
#include <QPainterPath>
#include <QString>
#include <QStringList>
#include <QStringLiteral>

#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>

#include "core/filesave.h"

#include "tests/common/dxfcheck.h"
#include "tests/common/recordimage.h"
#include "core/calcul3d.h"
#include "core/openfile.h"
#include "geom/sheet.h"
#include "tests/patterns/dxfsheet.h"
#include "tests/patterns/patternfixture.h"
#include "patterns/patternsheet.h"

class TestPatternExport : public QObject
{
    Q_OBJECT


    static QStringList filesIn(const QString& path)
    {
        return QDir(path).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }

    static QByteArray fileBytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void cleanup() { GetGlobClass()->dxfDir.clear(); }

    void writersInExportOrder()
    {
        QStringList files;
        QList<int> kinds;
        for (const PatternWriter& w : Pattern_Writers()) {
            files << w.fileName;
            kinds << w.kind;
        }
        QCOMPARE(files, (QStringList{"diagon.dxf", "rearmini.dxf", "frontmini.dxf", "straps.dxf", "ribs.dxf",
                                     "longpatt.dxf", "Wl9_3D.dxf"}));
        QCOMPARE(kinds, (QList<int>{DiagonalPatterns, RearMiniRibPatterns, FrontMiniRibPatterns, StrapPatterns,
                                    RibPatterns, PanelPatterns, Drawing3D}));
        QVERIFY(Pattern_Writer_Of(PanelPatterns) != nullptr);
        QVERIFY(Pattern_Writer_Of(42) == nullptr);
    }

    // "Export all" of the default design: the seven files in their order
    // land in the project's output directory, each reported as written;
    // progress runs through the steps of the export. Each file loads and
    // audits clean in ezdxf, and its entities per layer and type are those of
    // the checked-in table (on a difference the table of this run is left in
    // the temporary directory to compare).
    void exportAllOfTheDefaultDesign()
    {
        auto d = patternfixture::defaultDesign();
        QTemporaryDir dir;
        GetGlobClass()->dxfDir = dir.path();
        QList<int> progress;
        const ExportReport r = Export_All_Patterns(patternfixture::sheetOf(d.get()), [&](int p) { progress << p; });
        QVERIFY(r.refusal.isEmpty());
        QCOMPARE(progress, (QList<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 100}));
        QVERIFY(r.allWritten());
        QStringList order;
        for (const ExportedFile& f : r.files) {
            QVERIFY(f.available && f.written);
            order << f.fileName;
        }
        QCOMPARE(order, (QStringList{"diagon.dxf", "rearmini.dxf", "frontmini.dxf", "straps.dxf", "ribs.dxf",
                                     "longpatt.dxf", "Wl9_3D.dxf"}));
        QStringList sorted = order, found = filesIn(dir.path());
        sorted.sort();
        found.sort();
        QCOMPARE(found, sorted);
        const QString text = r.text();
        QVERIFY(text.startsWith(QStringLiteral("Written into ") + QDir::toNativeSeparators(dir.path())));
        for (const QString& file : std::as_const(order))
            QVERIFY(text.contains(QStringLiteral("    ") + file));
        QVERIFY(!text.contains(QStringLiteral("Not written")));

        QStringList table;
        for (const QString& file : std::as_const(order)) {
            const QJsonObject dxf = CountDxfLayersWithEzdxf(dir.filePath(file));
            QVERIFY2(dxf.value(QStringLiteral("ok")).toBool(),
                     qPrintable(file + QLatin1Char(' ') + dxf.value(QStringLiteral("error")).toString()));
            QVERIFY2(dxf.value(QStringLiteral("audit_errors")).toInt() == 0, qPrintable(file));
            const QJsonObject counts = dxf.value(QStringLiteral("counts")).toObject();
            QStringList rows;
            for (auto it = counts.begin(); it != counts.end(); ++it)
                rows << QStringLiteral("%1 %2 %3").arg(file, it.key()).arg(it.value().toInt());
            rows.sort();
            table << rows;
        }
        QFile expectedFile(qEnvironmentVariable("WL_SOURCE_DIR") + QStringLiteral("/tests/patterns/data/exportall-layers.txt"));
        QVERIFY2(expectedFile.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(expectedFile.fileName()));
        const QStringList expected = QString::fromUtf8(expectedFile.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (table != expected) {
            const QString actual = QDir::temp().filePath(QStringLiteral("exportall-layers.txt"));
            QFile out(actual);
            if (out.open(QIODevice::WriteOnly | QIODevice::Text))
                out.write((table.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
            QStringList diff;
            for (const QString& row : expected)
                if (!table.contains(row))
                    diff << QStringLiteral("- ") + row;
            for (const QString& row : std::as_const(table))
                if (!expected.contains(row))
                    diff << QStringLiteral("+ ") + row;
            QFAIL(qPrintable(QStringLiteral("layer table differs (this run's table: %1):\n").arg(actual)
                             + diff.mid(0, 20).join(QLatin1Char('\n'))));
        }
    }

    // A file that cannot be written is named in the report, with the
    // system's reason; the set is not written, the others neither.
    void failedFileIsReported()
    {
        auto d = patternfixture::defaultDesign(3);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("longpatt.dxf"))); // a directory in its place
        GetGlobClass()->dxfDir = dir.path();
        const ExportReport r = Export_All_Patterns(patternfixture::sheetOf(d.get()));
        QVERIFY(r.refusal.isEmpty());
        QVERIFY(!r.allWritten());
        for (const ExportedFile& f : r.files) {
            QVERIFY(f.available && !f.written);
            QCOMPARE(f.error, f.fileName == QLatin1String("longpatt.dxf") ? EISDIR : 0);
        }
        const QString text = r.text();
        // The folder, the file, the system's reason and advice that fits it.
        QVERIFY2(text.startsWith(QStringLiteral("Nothing was written into %1: longpatt.dxf could not be written: %2.")
                                     .arg(dir.path(), QString::fromLocal8Bit(std::strerror(EISDIR)))),
                 qPrintable(text));
        QVERIFY(text.contains(File_Error_Advice(EISDIR)));
        QVERIFY(!text.contains(QStringLiteral("Written into")));
        // The folder in the file's place is no file of an earlier export.
        QVERIFY2(!text.contains(QStringLiteral("earlier")), qPrintable(text));
        QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("longpatt.dxf")});
    }

    // The output folder cannot be made: a file of its name stands there, or
    // its parent is gone. The user reads which folder and why, not that
    // there is no project.
    void outputFolderThatCannotBeMade_data()
    {
        QTest::addColumn<bool>("fileInTheWay");
        QTest::addColumn<int>("code");
        QTest::newRow("a file of that name") << true << EEXIST;
        QTest::newRow("its parent is gone") << false << ENOENT;
    }
    void outputFolderThatCannotBeMade()
    {
        QFETCH(bool, fileInTheWay);
        QFETCH(int, code);
        auto d = patternfixture::defaultDesign(3);
        QTemporaryDir work;
        const QString out = fileInTheWay ? work.filePath(QStringLiteral("Dxfglider"))
                                         : work.filePath(QStringLiteral("gone/Dxfglider"));
        if (fileInTheWay) {
            QFile f(out);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        GetGlobClass()->dxfDir = out;
        const ExportReport r = Export_All_Patterns(patternfixture::sheetOf(d.get()));
        QVERIFY(r.files.isEmpty());
        const QString text = r.text();
        QVERIFY2(text.contains(QStringLiteral("The project output folder could not be made:\n") + out), qPrintable(text));
        QVERIFY(text.contains(QString::fromLocal8Bit(std::strerror(code))));
        QVERIFY(text.contains(File_Error_Advice(code)));
        QVERIFY(!text.contains(QStringLiteral("make or open a project")));
        QCOMPARE(Export_Folder_Refusal(), r.refusal);
        QCOMPARE(QFileInfo(out).isFile(), fileInTheWay);
    }

    // Files the folder does not take: the first named with the system's
    // reason under the folder's name, the advice once, nothing written.
    void folderRefusingFiles_data()
    {
        QTest::addColumn<int>("code");
        QTest::newRow("read-only folder") << int(EACCES);
        QTest::newRow("disk full") << int(ENOSPC);
        QTest::newRow("read-only disk") << int(EROFS);
    }
    void folderRefusingFiles()
    {
        QFETCH(int, code);
        auto d = patternfixture::defaultDesign(3);
        QTemporaryDir dir;
        GetGlobClass()->dxfDir = dir.path();
        // A folder this user may not write into is the real thing where the
        // system refuses it; elsewhere (as root) the refusal is made so.
        bool real = false;
        if (code == EACCES) {
            QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            QFile probe(dir.filePath(QStringLiteral("probe")));
            real = !probe.open(QIODevice::WriteOnly);
            probe.remove();
        }
        if (!real)
            Set_File_Save_Fault([code](FileSaveStep s, const QString&) { return s == FileSaveStep::Write ? code : 0; });
        const ExportReport r = Export_All_Patterns(patternfixture::sheetOf(d.get()));
        Set_File_Save_Fault({});
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(r.refusal.isEmpty());
        QCOMPARE(r.files.size(), 7);
        QCOMPARE(r.files.first().error, code);
        const QString text = r.text();
        const QString reason = QString::fromLocal8Bit(std::strerror(code));
        QVERIFY2(text.startsWith(QStringLiteral("Nothing was written into %1: diagon.dxf could not be written: %2.")
                                     .arg(dir.path(), reason)),
                 qPrintable(text));
        QCOMPARE(text.count(File_Error_Advice(code)), 1);
        QVERIFY(filesIn(dir.path()).isEmpty());
    }

    // "Export all" writes its seven files as one set: a write or a
    // replacement that fails part way leaves every file of the earlier
    // export byte for byte, and no file of the new one, not even hidden;
    // the report names the failure and the earlier files.
    void failedExportKeepsTheEarlierSet_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("file");
        QTest::newRow("disk full at the first file") << int(FileSaveStep::Write) << "diagon.dxf";
        QTest::newRow("disk full at the ribs") << int(FileSaveStep::Write) << "ribs.dxf";
        QTest::newRow("disk full at the 3-D drawing") << int(FileSaveStep::Write) << "Wl9_3D.dxf";
        QTest::newRow("replacing the panels fails") << int(FileSaveStep::Replace) << "longpatt.dxf";
    }
    void failedExportKeepsTheEarlierSet()
    {
        QFETCH(int, step);
        QFETCH(QString, file);
        QTemporaryDir dir;
        GetGlobClass()->dxfDir = dir.path();
        auto earlier = patternfixture::defaultDesign(12);
        QVERIFY(Export_All_Patterns(patternfixture::sheetOf(earlier.get())).allWritten());
        QMap<QString, QByteArray> before;
        for (const QString& f : filesIn(dir.path()))
            before.insert(f, fileBytes(dir.filePath(f)));
        QCOMPARE(before.size(), 7);

        auto d = patternfixture::defaultDesign(13);
        Set_File_Save_Fault([step, file](FileSaveStep s, const QString& path) {
            return int(s) == step && QFileInfo(path).fileName() == file ? ENOSPC : 0;
        });
        const ExportReport r = Export_All_Patterns(patternfixture::sheetOf(d.get()));
        Set_File_Save_Fault({});
        QVERIFY(!r.allWritten());
        QStringList after = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        after.sort();
        QCOMPARE(after, QStringList(before.keys()));
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QVERIFY2(fileBytes(dir.filePath(it.key())) == it.value(), qPrintable(it.key()));
        const QString text = r.text();
        QVERIFY2(text.startsWith(QStringLiteral("Nothing was written into %1: %2 could not be written: %3.")
                                     .arg(dir.path(), file, QString::fromLocal8Bit(std::strerror(ENOSPC)))),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("The files of an earlier export in that folder are as they were: "
                                              "diagon.dxf, rearmini.dxf, frontmini.dxf, straps.dxf, ribs.dxf, "
                                              "longpatt.dxf, Wl9_3D.dxf.")),
                 qPrintable(text));
    }

    // A number that is not finite reaches a sheet: that file is left out,
    // naming the piece; the others are written, and a real reader finds
    // only finite numbers in them. An earlier file of the one left out stays
    // and is named as not belonging to the files written.
    void nonFiniteSheetIsLeftOut_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("nan") << "nan";
        QTest::newRow("infinity") << "inf";
        QTest::newRow("minus infinity") << "-inf";
    }
    void nonFiniteSheetIsLeftOut()
    {
        QFETCH(QString, value);
        auto d = patternfixture::defaultDesign(12);
        const float v = std::strtof(value.toLatin1().constData(), nullptr);
        d->ribCurves3D[5][300] = QVector3D(v, d->ribCurves3D[5][300].y(), d->ribCurves3D[5][300].z());
        QTemporaryDir dir;
        GetGlobClass()->dxfDir = dir.path();
        const QByteArray earlier("0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n");
        {
            QFile f(dir.filePath(QStringLiteral("ribs.dxf")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(earlier);
        }
        const ExportReport r = Export_All_Patterns(patternfixture::sheetOf(d.get()));
        QVERIFY(!r.allWritten());
        for (const ExportedFile& f : r.files) {
            QCOMPARE(f.written, f.fileName != QLatin1String("ribs.dxf"));
            if (!f.written)
                continue;
            const QJsonObject dxf = CountNonFiniteWithEzdxf(dir.filePath(f.fileName));
            QVERIFY2(dxf.value(QStringLiteral("ok")).toBool(), qPrintable(dxf.value(QStringLiteral("error")).toString()));
            QVERIFY(dxf.value(QStringLiteral("reals")).toInt() > 0);
            QCOMPARE(dxf.value(QStringLiteral("nonfinite")).toInt(), 0);
        }
        QCOMPARE(fileBytes(dir.filePath(QStringLiteral("ribs.dxf"))), earlier);
        const QString text = r.text();
        QVERIFY2(text.contains(QStringLiteral("Not written into %1:\n    ribs.dxf (the piece RIB.5 holds a point "
                                              "that is not a finite number)")
                                   .arg(dir.path())),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("The file ribs.dxf in that folder is from an earlier export")),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Written into %1:\n    diagon.dxf\n").arg(dir.path())));
    }

    // Without a project there is no output directory: nothing is written,
    // neither into the current directory nor into the filesystem root.
    void noProjectNoFiles()
    {
        auto d = patternfixture::defaultDesign(3);
        QTemporaryDir cwd;
        const QString before = QDir::currentPath();
        QDir::setCurrent(cwd.path());
        const bool rootHadFile = QFile::exists(QStringLiteral("/longpatt.dxf"));
        QList<int> progress;
        GetGlobClass()->dxfDir.clear();
        const ExportReport r = Export_All_Patterns(patternfixture::sheetOf(d.get()), [&](int p) { progress << p; });
        QDir::setCurrent(before);
        QVERIFY(!r.refusal.isEmpty());
        QVERIFY(r.files.isEmpty());
        QVERIFY(progress.isEmpty());
        QVERIFY(r.text().startsWith(QStringLiteral("Nothing was exported.")));
        QVERIFY(filesIn(cwd.path()).isEmpty());
        QCOMPARE(QFile::exists(QStringLiteral("/longpatt.dxf")), rootHadFile);
        // an output folder that is gone is made again, as opening the
        // project makes it
        GetGlobClass()->dxfDir = cwd.path() + QStringLiteral("/gone");
        QVERIFY(Export_All_Patterns(patternfixture::sheetOf(d.get())).refusal.isEmpty());
        QVERIFY(QFileInfo(cwd.path() + QStringLiteral("/gone/ribs.dxf")).isFile());
    }

    // Below three cells the sheets have no layout: refused with a message,
    // in the preview and in the export.
    void smallWingsAreRefused_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<bool>("refused");
        QTest::newRow("2 cells") << 2 << true;
        QTest::newRow("1 cell") << 1 << true;
        QTest::newRow("3 cells") << 3 << false;
    }
    void smallWingsAreRefused()
    {
        QFETCH(int, cells);
        QFETCH(bool, refused);
        auto d = patternfixture::defaultDesign(std::max(cells, 2));
        if (cells < 2) {
            d->cells = cells;
            d->Reset_CellsNumber();
        }
        QCOMPARE(Patterns_Refusal(d.get()).isEmpty(), !refused);
        QString why;
        const QPainterPath path = Preview_Pattern(patternfixture::sheetOf(d.get()), PanelPatterns, &why);
        QCOMPARE(path.isEmpty(), refused);
        QCOMPARE(why.isEmpty(), !refused);
        if (refused)
            QCOMPARE(why, QStringLiteral("Sewing patterns need a wing of at least 3 cells."));
        QTemporaryDir dir;
        GetGlobClass()->dxfDir = dir.path();
        const ExportReport r = Export_All_Patterns(patternfixture::sheetOf(d.get()));
        QCOMPARE(r.refusal.isEmpty(), !refused);
        QCOMPARE(filesIn(dir.path()).isEmpty(), refused);
        for (const QString& file : filesIn(dir.path())) {
            const QJsonObject dxf = ReadDxfWithEzdxf(dir.filePath(file));
            QVERIFY(dxf.value(QStringLiteral("ok")).toBool());
            QCOMPARE(dxf.value(QStringLiteral("audit_errors")).toInt(), 0);
        }
    }

    void noAirfoilIsRefused()
    {
        auto d = std::make_unique<ParaStruct>();
        d->cells = 34;
        d->Reset_CellsNumber();
        QCOMPARE(Patterns_Refusal(d.get()), QStringLiteral("Airfoil not present yet - IMPORT first"));
    }

    // What the user sees is what is cut: every line of a written sheet, read
    // back by ezdxf, runs between points the preview of the same kind draws
    // (control marks aside: the preview enlarges them).
    void previewShowsTheFileGeometry_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("panels") << int(PanelPatterns);
        QTest::newRow("ribs") << int(RibPatterns);
        QTest::newRow("diagonals") << int(DiagonalPatterns);
        QTest::newRow("rear mini-ribs") << int(RearMiniRibPatterns);
        QTest::newRow("front mini-ribs") << int(FrontMiniRibPatterns);
        QTest::newRow("straps") << int(StrapPatterns);
    }
    void previewShowsTheFileGeometry()
    {
        QFETCH(int, kind);
        static const std::unique_ptr<ParaStruct> d = patternfixture::defaultDesign(12);
        const PatternSheet ps = patternfixture::sheetOf(d.get());
        const QPainterPath preview = Preview_Pattern(ps, kind);
        QTemporaryDir dir;
        QCOMPARE(Write_Sheet(Pattern_Sheet(ps, kind), dir.path(), QStringLiteral("sheet.dxf")), 0);
        const dxfsheet::Sheet file = dxfsheet::read(dir.filePath(QStringLiteral("sheet.dxf")));
        QVERIFY2(file.ok, qPrintable(file.error));

        // The preview's points on a grid of a hundredth of a plan unit.
        QMultiHash<QPair<qint64, qint64>, QPointF> shown;
        for (int i = 0; i < preview.elementCount(); ++i) {
            const QPointF p = preview.elementAt(i);
            shown.insert({qRound64(100 * p.x()), qRound64(100 * p.y())}, p);
        }
        const double s = d->dxfScale;
        auto isShown = [&](QPointF mm) {
            const QPointF p = mm / s;
            const qint64 gx = qRound64(100 * p.x()), gy = qRound64(100 * p.y());
            for (qint64 x = gx - 1; x <= gx + 1; ++x)
                for (qint64 y = gy - 1; y <= gy + 1; ++y)
                    for (const QPointF& q : shown.values({x, y}))
                        if (QLineF(p, q).length() < 1e-3)
                            return true;
            return false;
        };
        int checked = 0;
        for (const dxfsheet::Line& l : file.lines) {
            if (l.colour == 4)
                continue;
            QVERIFY2(isShown(l.a) && isShown(l.b),
                     qPrintable(QStringLiteral("%1: (%2, %3) - (%4, %5) is not in the preview")
                                    .arg(l.layer).arg(l.a.x()).arg(l.a.y()).arg(l.b.x()).arg(l.b.y())));
            ++checked;
        }
        QVERIFY(checked > 0);
        // and every piece label of the file is on the sheet
        QVERIFY(!file.texts.isEmpty());
    }

    // Neither the previews nor "Export all", with any of the dialog's
    // choices, change the design they draw: the whole record is as it was,
    // byte for byte, and its derived tables are still the ones a copy of it
    // (an editor's backup) shares; a writer that wrote into them, or read
    // them through a record it may change, would have copied them.
    void writersLeaveTheDesignAsItWas()
    {
        auto d = patternfixture::defaultDesign(12);
        d->designWarnings = {QStringLiteral("a warning the user has not read yet")};
        const auto backup = std::make_unique<ParaStruct>(*d);
        const QByteArray image = recordImage(*d);
        QTemporaryDir dir;
        GetGlobClass()->dxfDir = dir.path();
        PatternSheet ps = patternfixture::sheetOf(d.get());
        for (const bool wide : {false, true}) {
            for (const bool lineSegments : {true, false}) {
                ps.options.wideSpacing = wide;
                ps.options.lineSegments = lineSegments;
                for (int kind = PanelPatterns; kind < Drawing3D; ++kind)
                    QVERIFY(!Preview_Pattern(ps, kind).isEmpty());
                QVERIFY(Export_All_Patterns(ps).allWritten());
            }
        }
        QVERIFY(recordImage(*d) == image);
        QVERIFY(d->airfoilArcLen.sharedWith(backup->airfoilArcLen));
        QVERIFY(d->ribCurves3D.sharedWith(backup->ribCurves3D));
        QVERIFY(d->flatGrid.sharedWith(backup->flatGrid));
        QVERIFY(d->inflatedGrid.sharedWith(backup->inflatedGrid));
        QVERIFY(d->clothHalfOversize.sharedWith(backup->clothHalfOversize));
        QCOMPARE(d->designWarnings, backup->designWarnings);
    }
};

QTEST_MAIN(TestPatternExport)
#include "tst_patternexport.moc"
