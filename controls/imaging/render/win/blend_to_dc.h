#pragma once
#include <windows.h>

#include "blend_pixels.h"
#include "imaging/c32bpp_dib.h"

namespace lumio {

// The own blend's last stage: source-over onto destinationDC through a 24-bit
// copy of the destination rectangle, or straight into host's pixels.
bool BlendToDC(const c32bppDIB &self, HDC hDC, render::PixelArray &src, render::BlendSource kind, std::int32_t SrcX,
               std::int32_t SrcY, std::int32_t destX, std::int32_t destY, std::int32_t destWidth,
               std::int32_t destHeight, std::int32_t constantAlpha, const c32bppDIB *host, std::int32_t grayScale,
               float lightness);

}  // namespace lumio
