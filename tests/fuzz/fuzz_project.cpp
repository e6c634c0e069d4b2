// The road a project file takes from Open to the sewing patterns: the project
// file read and checked, its design lines opened, the recompute that Open
// runs, "Export all" into a scratch folder, the solver input of both canopy
// models, the preview of every pattern tab and the textured 3-D preview's
// surface and lines. Every file written is read back: no number in it may be
// anything but a finite number, whatever the input held.
//
// An input is a project file (".prg") followed by the design-line stream of
// its ".dsg" (the seeds are made by project_seeds.cpp): one input carries
// both files of a project, so that a mutation may change either.

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "aero/apameinput.h"
#include "aero/apamemesh.h"
#include "core/calcul3d.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "graphics/nurbspreview.h"
#include "graphics/pattspline.h"
#include "patterns/patternsheet.h"
#include "shell/model/installhooks.h"
#include "tests/fuzz/fuzzsupport.h"
#include "tests/fuzz/tempinput.h"

namespace {

struct Road {
    std::unique_ptr<QGuiApplication> app;
    QTemporaryDir output; // the project's output directory
    fuzz::TempInput dsg{QStringLiteral(".dsg")};
    std::unique_ptr<NurbsSurface> net = std::make_unique<NurbsSurface>();

    Road()
    {
        // The writers lay out their labels in the preview's font.
        static int argc = 1;
        static char name[] = "fuzz_project";
        static char* argv[] = {name, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
        fuzz::quietQt();
        Install_Recompute_Hooks();
        GetGlobClass()->dxfDir = output.path();
    }

    // Leaves the output directory empty for the next input.
    void clearOutput()
    {
        for (const QString& f : QDir(output.path()).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(output.filePath(f));
    }

    QByteArray bytesOf(const QString& name) const
    {
        QFile f(output.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// A number as a reader takes it: the whole text, finite.
bool finiteNumber(const QByteArray& text)
{
    const QByteArray t = text.trimmed();
    if (t.isEmpty())
        return false;
    char* end = nullptr;
    const double v = std::strtod(t.constData(), &end);
    return end == t.constData() + t.size() && std::isfinite(v);
}

// Every real of a DXF drawing (group codes 10 to 59: coordinates, heights,
// angles) is a finite number.
bool dxfRealsFinite(const QByteArray& bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype k = 0; k + 1 < lines.size(); k += 2) {
        bool isCode = false;
        const int code = lines.at(k).trimmed().toInt(&isCode);
        if (!isCode)
            return false;
        if (code >= 10 && code <= 59 && !finiteNumber(lines.at(k + 1)))
            return false;
    }
    return true;
}

// No word of the solver input is a number that is not finite ("nan",
// "inf", "-inf" as the writer would print them).
bool inputFinite(const QByteArray& bytes)
{
    for (const QByteArray& word : bytes.simplified().split(' ')) {
        QByteArray w = word.toLower();
        if (w.startsWith('-') || w.startsWith('+'))
            w = w.mid(1);
        if (w == "nan" || w == "inf" || w == "infinity")
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Road road;
    fuzz::Input input(data, size);

    auto design = std::make_unique<ParaStruct>();
    QString reason;
    if (!Read_Project(input.device(), design.get(), &reason)) {
        FUZZ_REQUIRE(!reason.isEmpty());
        return 0;
    }
    // What follows the project file is its ".dsg", opened as Open opens it.
    const qint64 at = input.device()->pos();
    GlobClass* glob = GetGlobClass();
    glob->dsgPath = road.dsg.write(data + at, size - size_t(at));
    design->designSplines = Open_Design_Lines();
    QFile::remove(glob->dsgPath + QStringLiteral(".bak"));
    FUZZ_REQUIRE(Test_SplineList(&design->designSplines));

    design->geometryChanged = true;
    design->linesOutdated = true;
    design->Repair_Airfoils();
    Refresh_Calculations(design.get());

    PatternSheet sheet;
    sheet.design = design.get();
    sheet.font = QFont(QStringLiteral("Noto Sans"), 9);
    sheet.viewSize = QSize(1600, 900);
    QStringList notes;
    sheet.notes = &notes;

    const ExportReport report = Export_All_Patterns(sheet);
    FUZZ_REQUIRE(report.refusal.isEmpty() == Patterns_Refusal(design.get()).isEmpty());
    FUZZ_REQUIRE(!report.text().isEmpty());
    // What the report calls written is there, whole and finite; what it
    // leaves out is not (the folder was empty before).
    for (const ExportedFile& f : report.files) {
        const bool there = QFile::exists(road.output.filePath(f.fileName));
        FUZZ_REQUIRE(there == f.written);
        FUZZ_REQUIRE(f.written || !f.problem.isEmpty() || f.error != 0);
        if (there) {
            const QByteArray bytes = road.bytesOf(f.fileName);
            FUZZ_REQUIRE(bytes.endsWith("0\r\nEOF\r\n"));
            FUZZ_REQUIRE(dxfRealsFinite(bytes));
        }
    }
    road.clearOutput();

    // The solver input as the analysis writes it, stations laid out as its
    // window does: written only when every number in it is finite.
    for (const bool smooth : {true, false}) {
        design->chordStationCount = f_CreateIndJ(design.get(), design->chordStations);
        QString why;
        const bool written = CreateApameInputFile(design.get(), glob, kApameVelOrder, smooth,
                                                  design->chordStationCount, design->chordStations, &why);
        const QByteArray input = road.bytesOf(QStringLiteral("wings.inp"));
        FUZZ_REQUIRE(written == !input.isEmpty());
        FUZZ_REQUIRE(written || !why.isEmpty());
        FUZZ_REQUIRE(inputFinite(input));
        road.clearOutput();
    }

    for (const PatternWriter& w : Pattern_Writers()) {
        if (w.kind == Drawing3D)
            continue;
        QString refusal;
        const QPainterPath path = Preview_Pattern(sheet, w.kind, &refusal);
        FUZZ_REQUIRE(refusal.isEmpty() || path.isEmpty());
    }

    Set_Inflated_Surface_Points(design.get(), nurbs::kModelScale, road.net.get());
    Preview_Bridle_Lines(design->bridle, nurbs::kModelScale);
    Preview_Riser_Lines(design->bridle, design->lineGroupCount, nurbs::kModelScale);
    return 0;
}
