#include "imaging/drop_shadow.h"

#include <new>

#include "imaging/image_effects.h"
#include "imaging/render.h"

namespace lumio {

std::unique_ptr<c32bppDIB> CreateDropShadow(const c32bppDIB &self, std::int32_t blurDepth, std::uint32_t Color) {
    if (!self.HasImage()) return nullptr;
    try {
        auto shadow = std::make_unique<c32bppDIB>();
        shadow->gdiToken(self.gdiToken());
        GdiFlush();
        if (!BuildDropShadow(self, *shadow, blurDepth, Color)) return nullptr;
        return shadow;
    } catch (...) {
        return nullptr;
    }
}

bool RenderDropShadow_JIT(const c32bppDIB &self, HDC hDC, std::int32_t X, std::int32_t Y, std::int32_t blurDepth,
                          std::uint32_t Color, std::int32_t Opacity) {
    std::unique_ptr<c32bppDIB> shadow = CreateDropShadow(self, blurDepth, Color);
    if (!shadow) return false;
    try {
        return Render(*shadow, hDC, X, Y, 0, 0, 0, 0, 0, 0, Opacity, true, true, nullptr, -1, 0.0f, 0.0f, false);
    } catch (...) {
        return false;
    }
}

}  // namespace lumio
