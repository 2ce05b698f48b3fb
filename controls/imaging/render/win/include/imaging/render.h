#pragma once
// Drawing a surface onto a device context or into another surface: the
// system's AlphaBlend, the library's own blend (mirroring, scaling, grey,
// lightness) or GDI+, and rotation.
#include <windows.h>

#include <cstdint>

#include "imaging/c32bpp_dib.h"
#include "imaging/cgdiplus.h"

namespace lumio {

// Draws self at (destX, destY) on destinationDC, or into destHostDIB when it
// is given (destinationDC may then be null). Sizes 0 mean the image's; a
// negative destination size mirrors, a negative source size flips the sign
// of the destination size. Opacity in percent; grayScale -1 for colour;
// LightAdjustment -100..100 percent; Angle in degrees, clockwise.
// True when something was drawn, or Opacity is below 1 and self holds an image.
bool Render(c32bppDIB &self, HDC destinationDC, std::int32_t destX = 0, std::int32_t destY = 0,
            std::int32_t destWidth = 0, std::int32_t destHeight = 0, std::int32_t SrcX = 0, std::int32_t SrcY = 0,
            std::int32_t srcWidth = 0, std::int32_t srcHeight = 0, std::int32_t Opacity = 100, bool Blend = true,
            bool SetHalfTone = true, c32bppDIB *destHostDIB = nullptr, std::int32_t grayScale = -1,
            float LightAdjustment = 0, float Angle = 0, bool CenterOnDestXY = false);

// Render's rotated case, with its arguments as Render normalised them: GDI+
// first, else the own rotation into a square scratch surface drawn unrotated.
bool RenderRotated(c32bppDIB &self, HDC destinationDC, float Angle, std::int32_t destX, std::int32_t destY,
                   std::int32_t destWidth, std::int32_t destHeight, std::int32_t SrcX, std::int32_t SrcY,
                   std::int32_t srcWidth, std::int32_t srcHeight, std::int32_t Opacity, c32bppDIB *destHostDIB,
                   std::int32_t grayScale, float LightAdjustment);

// GDI+ drawing of a surface (also used to copy one surface into another).
// token 0 starts GDI+ for this call. True when GDI+ drew it (or opacity is 0).
bool RenderDIB(cGDIPlus &gdi, const c32bppDIB &cHost, HDC hDC, float Angle, std::int32_t Opacity,
               std::int32_t destX, std::int32_t destY, std::int32_t destWidth, std::int32_t destHeight,
               std::int32_t SrcX, std::int32_t SrcY, std::int32_t srcWidth, std::int32_t srcHeight, bool highQuality,
               std::int32_t grayScale, ULONG_PTR token, float LightAdjustment);

}  // namespace lumio
