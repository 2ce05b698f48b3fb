#include "lightness.h"

#include <algorithm>

#include "imaging/vb_math.h"

namespace lumio::render {

void LightenPixels(const PixelView &src, const PixelView &dst, float lightness) {
    // Callers keep lightness within -100..100; anything else (NaN too) changes nothing.
    if (!(lightness >= -100.0f && lightness <= 100.0f)) return;
    const float d = lightness / 100.0f * 255.0f;
    // The offset depends on alpha alone, so one table serves every pixel.
    int32_t offset[256];
    for (int32_t a = 0; a < 256; ++a)
        offset[a] = static_cast<int32_t>(vb::RoundHalfEven(d * static_cast<float>(a))) / 255;
    const bool up = d > 0.0f;
    for (int32_t r = 0; r < src.height; ++r) {
        const uint8_t *s = src.row(r);
        uint8_t *o = dst.row(r);
        for (int32_t x = 0; x < src.width; ++x, s += 4, o += 4) {
            const int32_t a = s[3];
            if (a == 0) continue;
            const int32_t m = offset[a];
            for (int c = 0; c < 3; ++c) {
                const int32_t v = s[c] + m;
                o[c] = static_cast<uint8_t>(up ? std::min(v, a) : std::max(v, 0));
            }
            o[3] = static_cast<uint8_t>(a);
        }
    }
}

bool AdjustLightness(const PixelView *source, float lightness, PixelArray &array) {
    if (source) {
        if (source->empty()) return false;
        if (!array.Dimension(source->width, source->height)) return false;
        LightenPixels(*source, array.View(), lightness);
        return true;
    }
    if (!array.IsDimensioned()) return false;
    const PixelView v = array.View();
    LightenPixels(v, v, lightness);
    return true;
}

}  // namespace lumio::render
