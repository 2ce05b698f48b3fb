#pragma once
// The pixel loops' view of a surface's own pixels.
#include "imaging/surface_core.h"
#include "pixel_array.h"

namespace lumio::render {

inline PixelView ViewOf(const SurfaceCore &s) {
    if (!s.HasImage() || s.BitsPointer() == nullptr) return {};
    return {s.BitsPointer(), s.Width(), s.Height(), static_cast<ptrdiff_t>(s.Width()) * 4, 4};
}

}  // namespace lumio::render
