#include "picture_pass.h"

#include "gradient_rows.h"

namespace lumio::buttons {

int32_t Stride24(int32_t width) { return (width * 3 + 3) & ~3; }

void KeyAndBlendPicture(uint8_t* pic, const uint8_t* back, int32_t width, int32_t height,
                        std::optional<int32_t> key, float opacity,
                        const std::function<int32_t(int32_t)>& nearest) {
    if (!key && opacity == 1.0f) return;
    const int32_t stride = Stride24(width);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* p = pic + static_cast<size_t>(y) * stride;
        const uint8_t* b = back + static_cast<size_t>(y) * stride;
        for (int32_t x = 0; x < width; ++x, p += 3, b += 3) {
            int32_t rgb = p[2] | (p[1] << 8) | (p[0] << 16);
            if (key && nearest(rgb) == *key) {
                p[0] = b[0];
                p[1] = b[1];
                p[2] = b[2];
            } else if (opacity != 1.0f) {
                pBlendPixel(b, p, opacity, p);
            }
        }
    }
}

}  // namespace lumio::buttons
