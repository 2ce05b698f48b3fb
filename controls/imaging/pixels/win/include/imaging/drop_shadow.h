#pragma once
// Drop shadows of a surface: a blurred silhouette of its alpha in one colour
// (Color is plain RGB, red lowest; only its low three bytes count).
#include <windows.h>

#include <cstdint>
#include <memory>

#include "imaging/c32bpp_dib.h"

namespace lumio {

// A new surface 2 x blurDepth (cut to 0..10) wider and higher than self,
// with self's GDI+ token; null without image or when it cannot be made.
std::unique_ptr<c32bppDIB> CreateDropShadow(const c32bppDIB &self, std::int32_t blurDepth = 4,
                                            std::uint32_t Color = 0xC0C0C0);

// Draws such a shadow with its top-left at (X, Y), at Opacity percent, as Render does.
bool RenderDropShadow_JIT(const c32bppDIB &self, HDC hDC, std::int32_t X, std::int32_t Y,
                          std::int32_t blurDepth = 4, std::uint32_t Color = 0xC0C0C0, std::int32_t Opacity = 50);

}  // namespace lumio
