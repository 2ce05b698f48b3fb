#pragma once
#include "pixel_array.h"

namespace lumio::render {

// Resamples the source rectangle (srcX, srcY from the top-left; sizes 0 mean
// the whole of self) to |destWidth| x |destHeight|: nearest neighbour, or
// bilinear when highQuality. The source is src when dimensioned (a mirrored
// copy), else self. Without a target the result goes to out, cut where destX
// or destY is negative (the cut columns and rows are not computed); with a
// target, the target's size is the result's size and destX, destY offset the
// sampling. Afterwards destWidth, destHeight hold the result's size, src is
// erased, and a non-zero lightness has been applied and cleared.
// False when the result is empty or the arguments point outside the source.
bool StretchBits(const PixelView &self, bool highQuality, PixelArray &out, PixelArray &src,
                 const PixelView *target, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight,
                 int32_t destX, int32_t destY, int32_t &destWidth, int32_t &destHeight, float &lightness);

}  // namespace lumio::render
