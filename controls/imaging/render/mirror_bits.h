#pragma once
#include "pixel_array.h"

namespace lumio::render {

// Mirrored copy of the source rectangle of self. A destination width below 1
// reverses every row, a negative height reverses the row order; the source
// rectangle is read from the mirrored picture (srcX from the right edge, srcY
// from the bottom). Output: out (srcWidth x srcHeight) or, with a target, the
// target's pixels (clipped to it). Afterwards srcX = srcY = 0, the destination
// sizes are positive and a non-zero lightness has been applied and cleared.
// False when nothing is to be mirrored or the rectangle lies outside self.
bool MirrorBits(const PixelView &self, int32_t &srcX, int32_t &srcY, int32_t srcWidth, int32_t srcHeight,
                int32_t &destWidth, int32_t &destHeight, PixelArray &out, const PixelView *target,
                float &lightness);

}  // namespace lumio::render
