#include "mirror_bits.h"

#include <algorithm>
#include <cstring>

#include "lightness.h"

namespace lumio::render {

bool MirrorBits(const PixelView &self, int32_t &srcX, int32_t &srcY, int32_t srcWidth, int32_t srcHeight,
                int32_t &destWidth, int32_t &destHeight, PixelArray &out, const PixelView *target,
                float &lightness) {
    if (destWidth >= 1 && destHeight >= 1) return false;
    if (destWidth == INT32_MIN || destHeight == INT32_MIN) return false;
    if (self.empty() || srcWidth < 1 || srcHeight < 1 || srcX < 0 || srcY < 0 ||
        int64_t{srcX} + srcWidth > self.width || int64_t{srcY} + srcHeight > self.height)
        return false;

    PixelView o;
    int32_t cols = srcWidth, rows = srcHeight;
    if (target) {
        if (target->empty()) return false;
        o = *target;
        cols = std::min(cols, o.width);
        rows = std::min(rows, o.height);
    } else {
        if (!out.Dimension(srcWidth, srcHeight, PixelArray::Content::Overwritten)) return false;
        o = out.View();
    }

    const bool reverseRows = destWidth < 1;
    const bool bottomFirst = destHeight < 0;
    // Output row t counts from the top of the result; stored rows are bottom-up.
    for (int32_t t = srcHeight - rows; t < srcHeight; ++t) {
        const int32_t picRow = bottomFirst ? srcY + t : self.height - 1 - (srcY + t);
        const uint8_t *s = self.row(picRow);
        uint8_t *d = o.row(srcHeight - 1 - t);
        if (reverseRows) {
            const uint8_t *p = s + static_cast<ptrdiff_t>(self.width - srcX - 1) * 4;
            for (int32_t k = 0; k < cols; ++k, p -= 4, d += 4) std::memcpy(d, p, 4);
        } else {
            std::memcpy(d, s + static_cast<ptrdiff_t>(srcX) * 4, static_cast<size_t>(cols) * 4);
        }
    }

    srcX = srcY = 0;
    destWidth = destWidth < 0 ? -destWidth : destWidth;
    destHeight = destHeight < 0 ? -destHeight : destHeight;
    if (lightness != 0.0f) {
        PixelView written = o;
        written.width = cols;
        written.height = rows;
        LightenPixels(written, written, lightness);
        lightness = 0.0f;
    }
    return true;
}

}  // namespace lumio::render
