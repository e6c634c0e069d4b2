// The design-line file ".dsg": the stream reader, the check, and what
// opening a project does with the file (Open_Design_Lines).

#include <QDataStream>
#include <QFile>

#include "core/parastruct.h"
#include "tests/fuzz/fuzzsupport.h"
#include "graphics/pattspline.h"
#include "tests/fuzz/tempinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = (fuzz::quietQt(), true);
    static fuzz::TempInput file(QStringLiteral(".dsg"));
    static unsigned inputs = 0;
    (void)ready;

    fuzz::Input input(data, size);
    QDataStream stream(input.device());
    QList<Spline> lines;
    SplineFileReport report;
    Read_Spline_List(stream, &lines, &report);
    FUZZ_REQUIRE(lines.size() == report.read);
    FUZZ_REQUIRE(size < 4 || qint64(size) >= 4 + 1468LL * report.read);
    bool sound = true;
    for (const Spline& s : lines)
        sound = sound && Spline_Problem(s).isEmpty();
    FUZZ_REQUIRE(sound == Test_SplineList(&lines));

    // Opening through the file copies it aside when lines are dropped: only
    // now and then, a file system is slow.
    if (inputs++ % 16 == 0) {
        GetGlobClass()->dsgPath = file.write(data, size);
        const QList<Spline> opened = Open_Design_Lines();
        QFile::remove(GetGlobClass()->dsgPath + QStringLiteral(".bak"));
        FUZZ_REQUIRE(opened.size() <= lines.size());
        FUZZ_REQUIRE(Test_SplineList(&opened));
    }
    return 0;
}
