#include "gradient_rows.h"

#include "basic_arith.h"

namespace lumio {
namespace {

// The shared channel rules (R = c And &HFF, G = (c \ 256) And &HFF, ...).
void SplitChannels(int32_t c, int32_t out[3]) {
    out[0] = c & 0xFF;
    out[1] = IntDiv(c, 256) & 0xFF;
    out[2] = IntDiv(c, 65536) & 0xFF;
}

int32_t ComposeChannels(int32_t r, int32_t g, int32_t b) {
    return CheckedAdd(CheckedAdd(r, CheckedMul(g, 256)), CheckedMul(b, 65536));
}

// value > max gives max; otherwise a value not >= min gives min.
float ClampChannelRange(float value, int32_t min, int32_t max) {
    if (value > static_cast<float>(max)) return static_cast<float>(max);
    if (!(value >= static_cast<float>(min))) return static_cast<float>(min);
    return value;
}

}  // namespace

GradientV PlanGradientV(int32_t c1, int32_t c2, float& split, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                        int32_t width, int32_t height) {
    GradientV g;
    if (x2 == -1) x2 = width - 1;
    if (y2 == -1) y2 = height - 1;
    g.x1 = x1;
    g.y1 = y1;
    g.x2 = static_cast<int32_t>(ClampChannelRange(static_cast<float>(x2), x1, x2));
    g.y2 = static_cast<int32_t>(ClampChannelRange(static_cast<float>(y2), y1, y2));
    split = ClampChannelRange(split, 0, 100);
    SplitChannels(c1, g.c1);
    SplitChannels(c2, g.c2);
    for (int i = 0; i < 3; ++i) g.mid[i] = RoundToLong(g.c1[i] + (g.c2[i] - g.c1[i]) * 0.5);
    float s = static_cast<float>(g.y2 - g.y1 - 1) * split / 100.0f + static_cast<float>(g.y1);
    split = s;
    if (s == 0) s = 1;
    g.split = s;
    return g;
}

int32_t GradientV::RowColour(int32_t y) const {
    int32_t ch[3];
    if (split >= static_cast<float>(y)) {
        float f = static_cast<float>(y) / split;
        for (int i = 0; i < 3; ++i) ch[i] = RoundToLong(c1[i] + (mid[i] - c1[i]) * static_cast<double>(f));
    } else {
        float f = (static_cast<float>(y) - split) / (static_cast<float>(y2) - split);
        for (int i = 0; i < 3; ++i) ch[i] = RoundToLong(mid[i] + (c2[i] - mid[i]) * static_cast<double>(f));
    }
    return ComposeChannels(ch[0], ch[1], ch[2]);
}

void pBlendPixel(const uint8_t back[3], const uint8_t pic[3], float opacity, uint8_t out[3]) {
    for (int i = 0; i < 3; ++i) {
        int32_t v = RoundToLong(back[i] + (pic[i] - back[i]) * static_cast<double>(opacity));
        out[i] = static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
    }
}

}  // namespace lumio
