#include "imaging/surface_copy.h"

#include <cstdlib>
#include <cstring>

#include "imaging/render.h"
#include "mirror_bits.h"
#include "stretch_bits.h"
#include "surface_view.h"

namespace lumio {
namespace {

// Clears AlphaBlend for the length of one copy on systems without HALFTONE
// stretching, where it would scale badly.
class NoAlphaBlendOnOldSystems {
public:
    explicit NoAlphaBlendOnOldSystems(c32bppDIB &s) : s_(s), flags_(s.CapabilityFlags()) {
        cleared_ = (flags_ & kCapRenderWithAlphaBlend) && (flags_ & kCapNoHalftone);
        if (cleared_) s_.SetCapabilityFlags(flags_ & ~std::uint32_t{kCapRenderWithAlphaBlend});
    }
    ~NoAlphaBlendOnOldSystems() {
        if (cleared_) s_.SetCapabilityFlags(s_.CapabilityFlags() | kCapRenderWithAlphaBlend);
    }
    NoAlphaBlendOnOldSystems(const NoAlphaBlendOnOldSystems &) = delete;
    NoAlphaBlendOnOldSystems &operator=(const NoAlphaBlendOnOldSystems &) = delete;

private:
    c32bppDIB &s_;
    std::uint32_t flags_;
    bool cleared_ = false;
};

// The target's DIB in its DC for one drawing, as it was afterwards.
class TargetDC {
public:
    explicit TargetDC(c32bppDIB &t) : t_(t) {
        HDC own = t.OwnDC();
        if (own && GetCurrentObject(own, OBJ_BITMAP) == t.BitmapHandle()) {
            dc_ = own;
        } else {
            dc_ = t.LoadDIBinDC(true);
            selectedHere_ = dc_ != nullptr;
        }
    }
    ~TargetDC() {
        GdiFlush();
        if (selectedHere_) t_.LoadDIBinDC(false);
    }
    TargetDC(const TargetDC &) = delete;
    TargetDC &operator=(const TargetDC &) = delete;
    HDC get() const { return dc_; }

private:
    c32bppDIB &t_;
    HDC dc_ = nullptr;
    bool selectedHere_ = false;
};

void Clear(c32bppDIB &t) {
    GdiFlush();
    std::memset(t.BitsPointer(), 0, t.ByteCount());
}

// Scaled or mirrored: GDI+, the own mirror or resampling, or Render.
void DrawInto(c32bppDIB &self, c32bppDIB &target, std::int32_t newWidth, std::int32_t newHeight) {
    NoAlphaBlendOnOldSystems guard(self);
    const bool hq = self.HighQualityInterpolation();
    const bool alphaBlend = self.isAlphaBlendFriendly();
    const render::PixelView me = render::ViewOf(self), into = render::ViewOf(target);
    float lightness = 0;
    render::PixelArray unused;

    if (self.isGDIplusEnabled() && !(alphaBlend && !hq)) {
        Clear(target);
        TargetDC dc(target);
        cGDIPlus gdi;
        RenderDIB(gdi, self, dc.get(), 0.0f, 100, 0, 0, newWidth, newHeight, 0, 0, self.Width(), self.Height(), true,
                  -1, self.gdiToken(), 0.0f);
    } else if (newWidth < 0 || newHeight < 0) {
        std::int32_t x = 0, y = 0, w = newWidth, h = newHeight;
        if (std::abs(newWidth) == self.Width() && std::abs(newHeight) == self.Height()) {
            render::MirrorBits(me, x, y, self.Width(), self.Height(), w, h, unused, &into, lightness);
            return;
        }
        // Mirrored at another size: the mirror first, then the mirror scaled into the target.
        render::PixelArray mirrored;
        if (!render::MirrorBits(me, x, y, self.Width(), self.Height(), w, h, mirrored, nullptr, lightness)) return;
        render::StretchBits(me, hq, unused, mirrored, &into, 0, 0, self.Width(), self.Height(), 0, 0, w, h,
                            lightness);
    } else if (!alphaBlend || hq) {
        render::PixelArray source;
        std::int32_t w = newWidth, h = newHeight;
        render::StretchBits(me, hq, unused, source, &into, 0, 0, self.Width(), self.Height(), 0, 0, w, h, lightness);
    } else {
        Clear(target);
        Render(self, nullptr, 0, 0, newWidth, newHeight, 0, 0, 0, 0, 100, true, true, &target, -1, 0.0f, 0.0f, false);
    }
}

void CopyPrepared(c32bppDIB &self, c32bppDIB &target, std::int32_t newWidth, std::int32_t newHeight,
                  bool CopyOriginalFormat) {
    target.SetAlpha(self.Alpha());
    target.SetImageType(self.ImageType());
    if (newWidth == self.Width() && newHeight == self.Height()) {
        GdiFlush();
        std::memcpy(target.BitsPointer(), self.BitsPointer(), self.ByteCount());
    } else {
        DrawInto(self, target, newWidth, newHeight);
    }
    if (CopyOriginalFormat) target.SetOriginalFormat(self.OriginalFormat());
}

// Sizes 0 made self's; false when a size has no positive counterpart.
bool ResolveSizes(const c32bppDIB &self, std::int32_t &newWidth, std::int32_t &newHeight) {
    if (newWidth == 0) newWidth = self.Width();
    if (newHeight == 0) newHeight = self.Height();
    return newWidth != INT32_MIN && newHeight != INT32_MIN;
}

}  // namespace

void CopyImageTo(c32bppDIB &self, c32bppDIB &target, std::int32_t newWidth, std::int32_t newHeight,
                 bool CopyOriginalFormat) {
    try {
        if (!self.HasImage() || &target == &self || !ResolveSizes(self, newWidth, newHeight)) return;
        target.gdiToken(self.gdiToken());
        const std::int32_t w = std::abs(newWidth), h = std::abs(newHeight);
        if (!target.HasImage() || target.Width() != w || target.Height() != h) {
            if (!target.InitializeDIB(w, h)) return;
        }
        CopyPrepared(self, target, newWidth, newHeight, CopyOriginalFormat);
    } catch (...) {
        // A copy that cannot be made leaves what there is.
    }
}

void CopyImageTo(c32bppDIB &self, std::unique_ptr<c32bppDIB> &cDIBclass, std::int32_t newWidth,
                 std::int32_t newHeight, bool CopyOriginalFormat) {
    if (cDIBclass) return CopyImageTo(self, *cDIBclass, newWidth, newHeight, CopyOriginalFormat);
    try {
        if (!self.HasImage() || !ResolveSizes(self, newWidth, newHeight)) return;
        auto target = std::make_unique<c32bppDIB>();
        target->gdiToken(self.gdiToken());
        target->isGDIplusEnabled(self.isGDIplusEnabled());
        target->HighQualityInterpolation(self.HighQualityInterpolation());
        if (!target->InitializeDIB(std::abs(newWidth), std::abs(newHeight))) return;
        CopyPrepared(self, *target, newWidth, newHeight, CopyOriginalFormat);
        cDIBclass = std::move(target);
    } catch (...) {
    }
}

}  // namespace lumio
