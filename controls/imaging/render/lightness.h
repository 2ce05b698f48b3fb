#pragma once
#include "pixel_array.h"

namespace lumio::render {

// Moves every visible pixel's colour towards white (lightness > 0) or black
// (lightness < 0) by |lightness| percent of its alpha; alpha stays.
// dst may be src itself; both must have the same size.
void LightenPixels(const PixelView &src, const PixelView &dst, float lightness);

// With a source (a surface's pixels): array becomes a lightened copy of it;
// false when the source is empty or memory is short. Without: in place.
bool AdjustLightness(const PixelView *source, float lightness, PixelArray &array);

}  // namespace lumio::render
