// "colors.ini", the display colours, and what the 3-D view does with them.

#include "tests/fuzz/fuzzsupport.h"
#include "widgets/colorclass.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = (fuzz::quietQt(), true);
    (void)ready;
    fuzz::Input input(data, size);
    const ColorClass read = Read_Colors(input.device());
    const bool complete = size == 11 || size == 22;
    FUZZ_REQUIRE(complete || (!read.canopyColor.isValid() && !read.backgroundColor.isValid()));
    FUZZ_REQUIRE(size == 22 || !read.backgroundColor.isValid());
    for (const QColor& c : {read.canopyColor, read.backgroundColor}) {
        // The clear colour and the material of the views, an invalid colour
        // drawn as opaque black.
        const QColor drawn = c.isValid() ? c : QColor(0, 0, 0);
        const float rgba[4] = {float(drawn.redF()), float(drawn.greenF()), float(drawn.blueF()),
                               float(drawn.alphaF())};
        (void)rgba;
        (void)drawn.toRgb().name();
    }
    return 0;
}
