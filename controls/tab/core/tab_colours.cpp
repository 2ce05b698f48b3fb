#include "tab_colours.h"

#include "basic_arith.h"

namespace lumio::tab {

namespace {

int32_t Clamp255(int64_t v) { return v < 0 ? 0 : (v > 255 ? 255 : static_cast<int32_t>(v)); }

int32_t Compose(int32_t r, int32_t g, int32_t b) { return r | (g << 8) | (b << 16); }

}  // namespace

int32_t pGetRValue(int32_t colour) { return colour & 0xFF; }
// The masks keep the high (system colour) bit out of the shifted value.
int32_t pGetGValue(int32_t colour) { return static_cast<int32_t>((static_cast<uint32_t>(colour) & 0xFFFFFF00u) >> 8) & 0xFF; }
int32_t pGetBValue(int32_t colour) { return (colour & 0xFF0000) / 65536 & 0xFF; }

int32_t OffsetColor(int32_t rgb, int32_t offset) {
    return Compose(Clamp255(int64_t{pGetRValue(rgb)} + offset), Clamp255(int64_t{pGetGValue(rgb)} + offset),
                   Clamp255(int64_t{pGetBValue(rgb)} + offset));
}

int32_t pAlphaBlendColor(int32_t c1, int32_t c2, uint8_t alpha) {
    double a = alpha / 255.0;
    auto mix = [a](int32_t v1, int32_t v2) { return RoundToLong((1.0 - a) * v2 + a * v1); };
    return Compose(mix(pGetRValue(c1), pGetRValue(c2)), mix(pGetGValue(c1), pGetGValue(c2)),
                   mix(pGetBValue(c1), pGetBValue(c2)));
}

}  // namespace lumio::tab
