// The coloured-pieces file ".cnp": the stream reader and its promises (whole
// pieces only, no point count beyond the bytes of the input), and the
// reader through a project's file.

#include <QDataStream>

#include "core/parastruct.h"
#include "graphics/canopyfile.h"
#include "tests/fuzz/fuzzsupport.h"
#include "tests/fuzz/tempinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = (fuzz::quietQt(), true);
    static fuzz::TempInput file(QStringLiteral(".cnp"));
    static unsigned inputs = 0;
    (void)ready;

    fuzz::Input input(data, size);
    QDataStream stream(input.device());
    QList<Canopy> pieces;
    CanopyFileReport report;
    Read_Canopy_List(stream, &pieces, &report);
    FUZZ_REQUIRE(pieces.size() == report.read);
    // Every piece read took its 4 + 16 n + 11 bytes of the input.
    qint64 bytes = 4;
    for (const Canopy& c : pieces) {
        bytes += 4 + 16LL * c.poly.size() + 11;
        FUZZ_REQUIRE(c.poly.size() <= qsizetype(kMaxCanopyPiecePoints));
    }
    FUZZ_REQUIRE(pieces.isEmpty() || bytes <= qint64(size));
    // Reading stops early only with a reason.
    FUZZ_REQUIRE(report.problem.isEmpty() == (qint64(size) == bytes));

    // What is read is written back byte for byte, up to where reading stopped.
    QByteArray again;
    {
        QDataStream out(&again, QIODevice::WriteOnly);
        out << pieces;
    }
    if (!pieces.isEmpty() && report.problem.isEmpty()) {
        const QByteArray original(reinterpret_cast<const char*>(data), qsizetype(size));
        // The points come back as they were; the count is not kept, nor
        // the components of a colourless piece or the pad.
        FUZZ_REQUIRE(again.size() == original.size());
        qint64 at = 4;
        for (const Canopy& c : pieces) {
            const qint64 length = 4 + 16LL * c.poly.size();
            FUZZ_REQUIRE(again.mid(at, length) == original.mid(at, length));
            at += length + 11;
        }
    }

    if (inputs++ % 16 == 0) {
        GetGlobClass()->cnpPath = file.write(data, size);
        const QList<Canopy> read = ReadCanopyStream(nullptr);
        FUZZ_REQUIRE(read.size() == pieces.size());
    }
    return 0;
}
