#include <algorithm>
#include <new>
#include <vector>

#include "imaging/image_effects.h"
#include "imaging/image_type.h"

namespace lumio {

bool BuildDropShadow(const SurfaceCore &self, SurfaceCore &shadow, std::int32_t blurDepth, std::uint32_t Color) {
    if (&self == &shadow) return false;
    if (!self.HasImage()) {
        shadow.DestroyDIB();
        return false;
    }
    const std::int32_t b = std::clamp(blurDepth, 0, 10), a = 2 * b, n = a + 1;
    const std::int32_t w = self.Width(), h = self.Height();
    // InitializeDIB refuses sizes whose bytes pass 2^31 - 1, so w + a cannot overflow there.
    if (w > INT32_MAX - a || h > INT32_MAX - a || !shadow.InitializeDIB(w + a, h + a)) return false;
    const std::int32_t sw = shadow.Width(), sh = shadow.Height();
    const std::uint32_t box = static_cast<std::uint32_t>(n * n);
    const std::uint8_t red = static_cast<std::uint8_t>(Color), green = static_cast<std::uint8_t>(Color >> 8),
                       blue = static_cast<std::uint8_t>(Color >> 16);

    // Shadow pixel (x, y) sums the source alpha over columns x - a..x and rows
    // y - a..y (stored rows, both clipped to the source). column[c] holds the
    // sum of source column c over those rows and follows y as it grows.
    std::vector<std::uint32_t> column;
    try {
        column.assign(static_cast<std::size_t>(w), 0);
    } catch (const std::bad_alloc &) {
        shadow.DestroyDIB();
        return false;
    }
    const std::size_t stride = static_cast<std::size_t>(w) * 4;
    auto addRow = [&](std::int32_t r, bool add) {
        const std::uint8_t *p = self.BitsPointer() + static_cast<std::size_t>(r) * stride + 3;
        for (std::int32_t c = 0; c < w; ++c, p += 4) {
            std::uint32_t &sum = column[static_cast<std::size_t>(c)];
            sum = add ? sum + *p : sum - *p;
        }
    };
    for (std::int32_t y = 0; y < sh; ++y) {
        if (y < h) addRow(y, true);
        if (y - n >= 0 && y - n < h) addRow(y - n, false);
        std::uint8_t *d = shadow.BitsPointer() + static_cast<std::size_t>(y) * static_cast<std::size_t>(sw) * 4;
        std::uint32_t total = 0;
        for (std::int32_t x = 0; x < sw; ++x, d += 4) {
            if (x < w) total += column[static_cast<std::size_t>(x)];
            if (x - n >= 0 && x - n < w) total -= column[static_cast<std::size_t>(x - n)];
            const std::uint32_t alpha = total / box;
            if (alpha == 0) continue;
            if (alpha == 255) {
                d[0] = blue, d[1] = green, d[2] = red;
            } else {
                d[0] = static_cast<std::uint8_t>(blue * alpha / 255);
                d[1] = static_cast<std::uint8_t>(green * alpha / 255);
                d[2] = static_cast<std::uint8_t>(red * alpha / 255);
            }
            d[3] = static_cast<std::uint8_t>(alpha);
        }
    }
    shadow.SetAlpha(true);
    shadow.SetImageType(image_type::kPremultipliedAlpha);
    return true;
}

} // namespace lumio
