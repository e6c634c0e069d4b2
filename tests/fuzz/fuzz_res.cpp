// The solver's result file "wings.res" as the main program reads it: a file
// is taken whole or not at all, and a refused file leaves the previous
// results as they were.

#include "aero/apameres.h"
#include "tests/fuzz/fuzzsupport.h"
#include "tests/fuzz/tempinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = (fuzz::quietQt(), true);
    static fuzz::TempInput file(QStringLiteral(".res"));
    (void)ready;

    ApameRes res;
    res.alpha[0] = 42;   // stands for results of an earlier run
    res.nodes.append(QVector3D(1, 2, 3));
    QString problem;
    const bool read = Read_Apame_Results(file.write(data, size), &res, &problem);
    if (!read) {
        FUZZ_REQUIRE(!problem.isEmpty());
        FUZZ_REQUIRE(res.alpha[0] == 42 && res.nodes.size() == 1);
        return 0;
    }
    // What was taken is consistent: every panel names nodes the file holds,
    // and the counts agree with the lists.
    FUZZ_REQUIRE(res.nodes.size() == res.nodeNum);
    for (const PanelInfo& p : res.panels)
        for (int n : p.nodes)
            FUZZ_REQUIRE(n >= 0 && n <= res.nodes.size());
    return 0;
}
