// The project file reader (".prg", also "template.ini") and what Open does
// with an accepted file: airfoil repair and the whole recompute.

#include <QDataStream>

#include <cstdio>
#include <cstring>
#include <memory>

#include "shell/model/installhooks.h"
#include "core/calcul3d.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "tests/fuzz/fuzzsupport.h"
#include "tests/common/recordimage.h"

namespace {

struct Records {
    std::unique_ptr<const ParaStruct> fresh = std::make_unique<ParaStruct>();
    std::unique_ptr<ParaStruct> read = std::make_unique<ParaStruct>();
    std::unique_ptr<ParaStruct> live = std::make_unique<ParaStruct>();
    QByteArray liveBytes;
    unsigned inputs = 0;

    Records()
    {
        fuzz::quietQt();
        Install_Recompute_Hooks();
        live->Reset_CellsNumber();
        snapshot();
    }
    void snapshot() { liveBytes = recordImage(*live); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Records r;
    fuzz::Input input(data, size);

    // The reader and its checks, into a record reset to a new record's
    // values (a fresh record per input would cost more than the read).
    *r.read = *r.fresh;
    QDataStream stream(input.device());
    stream.setVersion(QDataStream::Qt_4_8);
    stream >> *r.read;
    if (stream.status() == QDataStream::Ok) {
        r.read->Repair_Airfoils();
        Refresh_Calculations(r.read.get());
    }

    // Now and then the whole read into a live design: a refused file must
    // leave it byte for byte as it was.
    if (r.inputs++ % 64 == 0) {
        fuzz::Input again(data, size);
        if (Read_Project(again.device(), r.live.get()))
            r.snapshot();
        else
            FUZZ_REQUIRE(r.liveBytes == recordImage(*r.live));
    }
    return 0;
}
