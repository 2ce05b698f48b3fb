#include "shade_color.h"

#include "basic_arith.h"

namespace lumio {

namespace {

int32_t ShadeChannel(int32_t v, int32_t offset) {
    int32_t shaded = CheckedAdd(offset, IntDiv(CheckedMul(CheckedSub(255, offset), v), 255));
    // A dark channel under a negative offset would go below 0 and borrow from
    // its neighbour when composed: keep it black instead.
    if (shaded < 0) return 0;
    return shaded > 255 ? 255 : shaded;
}

}  // namespace

int32_t pShadeColor(int32_t colour, int32_t offset) {
    int32_t red = colour & 255;
    int32_t green = (colour / 256) % 256;
    int32_t blue = (colour / 65536) % 256;
    return ShadeChannel(red, offset) + ShadeChannel(green, offset) * 256 + ShadeChannel(blue, offset) * 65536;
}

}  // namespace lumio
