// The default design as the program starts with it ("template.ini" and its
// design lines "template.dsg" beside it) uses every part of the program:
// front and rear mini-ribs, straps, nose reinforcements, design lines that
// cut the upper panels, ribs marked loaded where the lines hang and nowhere
// else, and an "Export all" whose seven files all hold pieces and read clean
// in ezdxf.

#include "airfoils/foilunfold.h"
#include "core/calcul3d.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "geom/designcurves.h"
#include "graphics/pattspline.h"
#include "graphics/streamfile.h"
#include "lines/lineplan.h"
#include "patterns/panelmanager.h"
#include "patterns/patternsheet.h"
#include "patterns/straps.h"
#include "structure/diagonals.h"
#include "shell/model/installhooks.h"
#include "tests/common/dxfcheck.h"
#include "tools/template/defaultdesign.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

QString shippedPath(const char* name)
{
    return qEnvironmentVariable("WL_APP_DIR") + "/" + name;
}

// The design as the main window loads it at start-up: the project file,
// recomputed, and the design lines read from beside it.
std::unique_ptr<ParaStruct> shippedDesign()
{
    Install_Recompute_Hooks();
    QFile f(shippedPath("template.ini"));
    auto d = std::make_unique<ParaStruct>();
    QString reason;
    if (!f.open(QIODevice::ReadOnly) || !Read_Project(&f, d.get(), &reason))
        return nullptr;
    Refresh_Calculations(d.get());
    Read_Stream_File(shippedPath("template.dsg"), [&d](QDataStream& in) { in >> &d->designSplines; });
    return d;
}

// The rib a design-plane x lies on, -1 for none.
double ribOf(const ParaStruct* d, double x)
{
    for (int r = 0; r <= d->lastRib; ++r)
        if (std::abs(d->ribSpanPos[r] - x) < 1e-6)
            return r;
    return -1;
}

} // namespace

class TestDefaultComplete : public QObject
{
    Q_OBJECT

    std::unique_ptr<ParaStruct> d;

private slots:
    void initTestCase()
    {
        d = shippedDesign();
        QVERIFY(d);
        QCOMPARE(d->cells, 34);
    }

    // Front mini-ribs in every cell the front sheet builds (1 to the tip
    // cell), rear ones in every cell the rear sheet builds (1 to the cell
    // before it); each unfolds into a piece: the front one over the nose,
    // from 5 points a step before it to 5 points a step after it.
    void miniRibs()
    {
        const int last = d->lastRib;
        QList<QVector3D> outline;
        for (int c = 0; c < last; ++c) {
            QCOMPARE(d->frontRibEnabled[c], c >= 1 && c <= last - 1);
            QCOMPARE(d->rearRibEnabled[c], c >= 1 && c <= last - 2);
        }
        const MiniribData& m = d->minirib;
        QVERIFY(m.frontRibStart > 0 && m.frontRibEnd > 0);
        QVERIFY(m.rearRibPosition >= 1);
        for (int c = 1; c < last; ++c) {
            QCOMPARE(unfold_FrontFoil(*d, c, &outline).outline.size(), 5 * (m.frontRibStart + m.frontRibEnd));
            if (c <= last - 2)
                QVERIFY2(unfold_RearFoil(*d, c, &outline).outline.size() > 100, qPrintable(QString::number(c)));
        }
    }

    // Every stored value lies within the range its editor shows: the straps
    // manager's width box (30 .. 900 mm), the mini-rib and reinforcement
    // sliders, the cavity field's two decimals. Straps lie along the four
    // line rows, in every cell.
    void editorRanges()
    {
        for (int row = 2; row < kLineRows; ++row) {
            QVERIFY2(d->strapWidth[row - 2] >= 30 && d->strapWidth[row - 2] <= 900, qPrintable(QString::number(row)));
            for (int rib = 0; rib < d->lastRib; ++rib)
                QCOMPARE(d->lineStrips[row][rib], row <= 5);
        }
        QCOMPARE(Create_Strap_list(d.get()).size(), 4 * d->lastRib);
        const MiniribData& m = d->minirib;
        QVERIFY(m.mylarStart > 0 && m.mylarStart <= 90);
        QVERIFY(m.mylarEnd > 0 && m.mylarEnd <= 70);
        QVERIFY(m.frontRibStart <= 75 && m.frontRibEnd <= 60);
        QVERIFY(m.rearRibPosition <= 50 && m.rearRibPosition == std::trunc(m.rearRibPosition));
        QVERIFY(m.rearRibCavity >= 0 && m.rearRibCavity <= 0.5);
        QCOMPARE(QString::number(m.rearRibCavity, 'f', 2).toDouble(), m.rearRibCavity);
        for (int k = 0; k < 5; ++k) {
            QVERIFY(m.mylarSplineA[k] >= 0.001 && m.mylarSplineA[k] <= 0.999);
            QVERIFY(m.mylarSplineB[k] >= 0.1 && m.mylarSplineB[k] <= 3.0);
        }
        for (const NoseRod& rod : {d->rod1, d->rod2})
            for (int k = 0; k < 2; ++k)
                QVERIFY(rod.index[k] > 0 && rod.index[k] <= 500);
    }

    // The design lines: at least two on the upper surface, each passing the
    // check that opening a project applies, running from rib to rib; the
    // upper panels of every cell a line crosses are cut once more for each
    // line, without a slope warning.
    void designLinesCutThePanels()
    {
        QVERIFY(Test_SplineList(&d->designSplines));
        QList<QPair<double, double>> spans;   // rib range of each line
        for (const Spline& line : d->designSplines) {
            QCOMPARE(line.side, 0);
            const double a = ribOf(d.get(), line.points[0].x());
            const double b = ribOf(d.get(), line.points[line.pointCount - 1].x());
            QVERIFY(a >= 0 && b > a);
            spans.append({a, b});
        }
        QVERIFY(spans.size() >= 2);

        QList<Spline> lines;
        RecreateSplineList(d.get(), &lines);
        d->designWarnings.clear();
        for (int cell = 0; cell < d->lastRib; ++cell) {
            int crossing = 0;
            for (const auto& [a, b] : spans)
                crossing += cell >= a && cell + 1 <= b ? 1 : 0;
            QList<WholePoly> plain, cut;
            Longpattern_Manager(*d, cell, nullptr, true, &plain);
            Longpattern_Manager(*d, cell, &lines, true, &cut, &d->designWarnings);
            auto upper = [](const QList<WholePoly>& pieces) {
                return std::count_if(pieces.begin(), pieces.end(),
                                     [](const WholePoly& p) { return p.name == QLatin1String("Up"); });
            };
            QCOMPARE(upper(plain), 1);
            QCOMPARE(upper(cut), 1 + crossing);
            QCOMPARE(cut.size(), plain.size() + crossing);
        }
        QVERIFY2(d->designWarnings.isEmpty(), qPrintable(d->designWarnings.join('\n')));
    }

    // A rib is marked loaded exactly when lines of the four groups hang from
    // it; the centre rib carries none. Every diagonal rib runs from the
    // bottom of a loaded rib to the top of an intermediate neighbour.
    void ribsMarkedAsRigged()
    {
        bool carries[kRibSlots] = {};
        for (int slot = 1; slot <= d->lineGroupCount; ++slot) {
            BridleGroup g = d->bridle.groups[slot];
            Rebuild_Group_Lists(&g);
            QVERIFY(!g.attachments.isEmpty());
            for (const origRLS& a : g.attachments)
                if (a.attached)
                    carries[a.rib] = true;
        }
        QVERIFY(!carries[0]);
        for (int r = d->firstRib; r <= d->lastRib; ++r)
            QVERIFY2(d->isLoadedRib(r) == carries[r], qPrintable(QString::number(r)));

        Generate_All_Diagonals(d.get());
        QVERIFY(!d->diagonals.isEmpty());
        for (const DiagonalData& g : d->diagonals) {
            const DiagonalEnd& bottom = g.first.heightPercent == 0 ? g.first : g.second;
            const DiagonalEnd& top = g.first.heightPercent == 0 ? g.second : g.first;
            QCOMPARE(bottom.heightPercent, 0);
            QCOMPARE(top.heightPercent, 100);
            QVERIFY2(carries[bottom.rib] && !carries[top.rib],
                     qPrintable(QString("%1 -> %2").arg(g.first.rib).arg(g.second.rib)));
            QCOMPARE(std::abs(bottom.rib - top.rib), 1);
        }
    }

    // "Export all": seven files written, every one holding entities on the
    // layers of its pieces, and clean in ezdxf's audit.
    void exportAllWritesSevenFiles()
    {
        QTemporaryDir out;
        GetGlobClass()->dxfDir = out.path();
        PatternSheet sheet;
        sheet.design = d.get();
        sheet.font = QFont(QStringLiteral("Noto Sans"), 9);
        sheet.viewSize = QSize(1600, 900);
        const ExportReport report = Export_All_Patterns(sheet);
        GetGlobClass()->dxfDir.clear();
        QVERIFY(report.refusal.isEmpty());
        QCOMPARE(report.files.size(), 7);
        QVERIFY2(report.notes.isEmpty(), qPrintable(report.notes.join('\n')));
        const QStringList prefix = {"Dia.", "Rear.", "frontf.", "Strap.", "RIB.", "Up.", "Bridle"};
        for (int k = 0; k < report.files.size(); ++k) {
            const ExportedFile& f = report.files.at(k);
            QVERIFY2(f.written, qPrintable(f.fileName));
            const QString path = QDir(out.path()).filePath(f.fileName);
            QVERIFY2(QFileInfo(path).size() > 1000, qPrintable(f.fileName));
            const QJsonObject dxf = CountDxfLayersWithEzdxf(path);
            QVERIFY2(dxf.value("ok").toBool(), qPrintable(f.fileName + " " + dxf.value("error").toString()));
            QCOMPARE(dxf.value("audit_errors").toInt(), 0);
            const QJsonObject counts = dxf.value("counts").toObject();
            int pieces = 0;
            for (auto it = counts.begin(); it != counts.end(); ++it)
                pieces += it.key().startsWith(prefix.at(k)) && it.key().endsWith(" LINE") ? 1 : 0;
            QVERIFY2(pieces > 0, qPrintable(f.fileName));
        }
    }
};

QTEST_MAIN(TestDefaultComplete)
#include "tst_defaultcomplete.moc"
