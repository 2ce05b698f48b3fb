#pragma once
// Effects that change a surface's pixels in place. Colours are plain RGB
// values, red in the low byte; only their low three bytes count (a system
// colour is not translated). Each answers False and changes nothing without image.
#include <cstdint>

#include "imaging/surface_core.h"

namespace lumio {

// Cells of CheckerSize pixels from the top-left, FirstColor first on even
// bands and SecondColor first on odd ones; every alpha 255, Alpha False,
// ImageType 64. False, surface unchanged, for a CheckerSize below 1.
bool CreateCheckerBoard(SurfaceCore &self, std::int32_t CheckerSize = 12, std::uint32_t FirstColor = 0xFFFFFF,
                        std::uint32_t SecondColor = 0xC0C0C0);

// Each colour c of a pixel with alpha A becomes A - c; alpha-0 pixels stay.
bool MakeImageInverse(SurfaceCore &self);

// Revert False: the pixels that are exactly this colour and opaque become
// transparent (a change sets Alpha; ImageType 1 becomes 7). Revert True:
// transparent pixels become this colour, opaque; without alpha left, Alpha
// False and ImageType 6 or 7 becomes 1.
bool MakeTransparent(SurfaceCore &self, std::uint32_t TransparentColor, bool Revert = false);

// Reverses the rows left-right (MirrorAxisX) and/or their order top-bottom
// (MirrorAxisY). False when neither is asked.
bool MirrorImage(SurfaceCore &self, bool MirrorAxisX, bool MirrorAxisY);

// Into shadow (made Width + 2b by Height + 2b, b = blurDepth cut to 0..10): the
// alpha of self blurred with a (2b + 1)-square box, every sum divided by the
// full box, coloured Color premultiplied; Alpha True, ImageType 7. False, and
// shadow without image, when self has none or the shadow cannot be made.
bool BuildDropShadow(const SurfaceCore &self, SurfaceCore &shadow, std::int32_t blurDepth = 4,
                     std::uint32_t Color = 0xC0C0C0);

}  // namespace lumio
