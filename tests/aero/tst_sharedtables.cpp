// An editor's backup shares the recompute's tables (grids, rib curves,
// oversizes, the solver's node grid) with the live design until one of them
// writes. Code that only reads the design must leave them shared: a read
// through a record it may change copies a table (megabytes, on every paint
// of a view), and the backup then no longer holds what the design had.

#include <QtTest>

#include "aero/apamemesh.h"
#include "core/billowarc.h"
#include "core/canopy.h"
#include "core/parastruct.h"
#include "core/skintension.h"
#include "structure/diagonals.h"
#include "tools/template/defaultdesign.h"

#include <functional>
#include <memory>
#include <vector>

namespace {

struct Reader {
    const char* name;
    // J stations and R rows of the solver grid the design holds.
    std::function<void(ParaStruct*, int J, int R)> read;
};

// The design as the analysis leaves it: recomputed, its solver grid filled.
struct MeshedDesign {
    std::unique_ptr<ParaStruct> design = Build_Default_Design(12);
    int J = 0;
    int R = 0;
    MeshedDesign()
    {
        J = f_CreateIndJ(design.get(), design->chordStations);
        R = Fill_3D_Inflated(design.get(), J, design->chordStations);
    }
};

const std::vector<Reader>& readers()
{
    static const std::vector<Reader> table = {
        {"cloth oversize of every rib",
         [](ParaStruct* d, int, int) {
             std::vector<double> out(std::size_t(d->lastRib + 1) * kAirfoilPoints);
             Skin_Norma_Tension_Rows(d, d->lastRib + 1, reinterpret_cast<double(*)[kAirfoilPoints]>(out.data()));
         }},
        {"cloth cap heights",
         [](ParaStruct* d, int, int) {
             for (int j = 0; j < kAirfoilPoints; j += 7)
                 Real_Kapica(d, 2, j);
         }},
        {"pattern oversize",
         [](ParaStruct* d, int, int) {
             for (int j = 0; j < kAirfoilPoints; j += 7)
                 f_uberPatt(d, 2, j);
         }},
        {"inflated rib section", [](ParaStruct* d, int, int) { skint_dinamic(d, 1, 'D', 1.0, d->ribAirfoils[1]); }},
        {"rib point lists",
         [](ParaStruct* d, int, int) {
             create_listup(d, 3, 100, 300);
             create_listdw(d, 3, 900, 700);
         }},
        {"solver nodes and wake",
         [](ParaStruct* d, int J, int R) {
             WingMeshData mesh;
             CreateNodeList(d, R, J, &mesh);
             CreateWakeNodeList(d, R, J, (R + 1) * (J + 1), &mesh);
         }},
    };
    return table;
}

} // namespace

class TestSharedTables : public QObject
{
    Q_OBJECT

private slots:
    void readersLeaveTheTablesShared_data()
    {
        QTest::addColumn<int>("reader");
        for (int i = 0; i < int(readers().size()); ++i)
            QTest::newRow(readers()[i].name) << i;
    }

    void readersLeaveTheTablesShared()
    {
        QFETCH(int, reader);
        MeshedDesign meshed;
        ParaStruct* live = meshed.design.get();
        const auto backup = std::make_unique<ParaStruct>(*live);
        QVERIFY(live->meshGrid.sharedWith(backup->meshGrid));

        readers()[std::size_t(reader)].read(live, meshed.J, meshed.R);

        QVERIFY(live->airfoilArcLen.sharedWith(backup->airfoilArcLen));
        QVERIFY(live->ribCurves3D.sharedWith(backup->ribCurves3D));
        QVERIFY(live->flatGrid.sharedWith(backup->flatGrid));
        QVERIFY(live->inflatedGrid.sharedWith(backup->inflatedGrid));
        QVERIFY(live->meshGrid.sharedWith(backup->meshGrid));
        QVERIFY(live->patternOversize.sharedWith(backup->patternOversize));
        QVERIFY(live->clothHalfOversize.sharedWith(backup->clothHalfOversize));
    }
};

QTEST_MAIN(TestSharedTables)
#include "tst_sharedtables.moc"
