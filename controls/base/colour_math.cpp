#include "colour_math.h"

#include "basic_arith.h"

namespace lumio {

Rgb pSplitRGB(int32_t c) {
    return {c & 0xFF, IntDiv(c, 256) & 0xFF, IntDiv(c, 65536) & 0xFF};
}

float pClamp(float value, int32_t min, int32_t max) {
    if (value > static_cast<float>(max)) return static_cast<float>(max);
    if (!(value >= static_cast<float>(min))) return static_cast<float>(min);
    return value;
}

int32_t pRGB(int32_t r, int32_t g, int32_t b) {
    return CheckedAdd(CheckedAdd(r, CheckedMul(g, 256)), CheckedMul(b, 65536));
}

int32_t pBlendColor(int32_t c1, int32_t c2, float f) {
    Rgb a = pSplitRGB(c1), b = pSplitRGB(c2);
    auto mix = [f](int32_t x, int32_t y) { return RoundToLong(x + (y - x) * static_cast<double>(f)); };
    return pRGB(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
}

int32_t pShiftColor(int32_t colour, float f) {
    Rgb c = pSplitRGB(colour);
    auto shift = [f](int32_t x) {
        int32_t v = RoundToLong(x + static_cast<double>(f) * 255.0);
        if (f > 0) return v > 255 ? 255 : v;
        return v < 0 ? 0 : v;
    };
    return pRGB(shift(c.r), shift(c.g), shift(c.b));
}

}  // namespace lumio
