#include "imaging/render.h"

#include "blend_to_dc.h"
#include "mirror_bits.h"
#include "render_args.h"
#include "stretch_bits.h"
#include "surface_view.h"

namespace lumio {
namespace {

using render::RenderArgs;

// Keeps self's DIB selected into a device context of its own for one path,
// and puts things back as they were afterwards.
class SelectedSelf {
public:
    explicit SelectedSelf(c32bppDIB &s) : s_(s) {
        HDC own = s.OwnDC();
        if (own && GetCurrentObject(own, OBJ_BITMAP) == s.BitmapHandle()) {
            dc_ = own;
        } else {
            dc_ = s.LoadDIBinDC(true);
            selectedHere_ = dc_ != nullptr;
        }
    }
    ~SelectedSelf() {
        if (selectedHere_) s_.LoadDIBinDC(false);
    }
    SelectedSelf(const SelectedSelf &) = delete;
    SelectedSelf &operator=(const SelectedSelf &) = delete;
    HDC dc() const { return dc_; }

private:
    c32bppDIB &s_;
    HDC dc_ = nullptr;
    bool selectedHere_ = false;
};

// The host surface's DIB selected into its DC for the length of one path.
class HostDC {
public:
    HostDC(c32bppDIB *host, HDC &dc) : host_(host) {
        if (host_) dc = host_->LoadDIBinDC(true);
    }
    ~HostDC() {
        if (host_) host_->LoadDIBinDC(false);
    }
    HostDC(const HostDC &) = delete;
    HostDC &operator=(const HostDC &) = delete;

private:
    c32bppDIB *host_;
};

bool PathAlphaBlend(c32bppDIB &self, HDC dc, const RenderArgs &a, bool setHalfTone, c32bppDIB *host) {
    SelectedSelf own(self);
    if (!own.dc()) return false;
    HostDC hostDC(host, dc);
    if (!dc) return false;
    const bool halftone = setHalfTone && (self.CapabilityFlags() & kCapNoHalftone) == 0;
    int previous = 0;
    if (halftone) previous = SetStretchBltMode(dc, HALFTONE);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, static_cast<BYTE>(render::ConstantAlpha(a.opacity)),
                     static_cast<BYTE>(self.Alpha() ? AC_SRC_ALPHA : 0)};
    const bool ok = AlphaBlend(dc, a.destX, a.destY, a.destWidth, a.destHeight, own.dc(), a.srcX, a.srcY, a.srcWidth,
                               a.srcHeight, bf) != 0;
    if (halftone && previous) SetStretchBltMode(dc, previous);
    return ok;
}

bool PathOwn(c32bppDIB &self, HDC dc, RenderArgs a, c32bppDIB *host) {
    SelectedSelf own(self);
    const render::PixelView me = render::ViewOf(self);
    render::PixelArray mirrored, scaled;
    const bool stretched = render::IsStretched(a);
    const bool mirror = render::IsMirrored(a);
    if (mirror && !render::MirrorBits(me, a.srcX, a.srcY, a.srcWidth, a.srcHeight, a.destWidth, a.destHeight,
                                      mirrored, nullptr, a.lightness))
        return false;
    const int32_t k = render::ConstantAlpha(a.opacity);
    if (stretched) {
        if (!render::StretchBits(me, self.HighQualityInterpolation(), scaled, mirrored, nullptr, a.srcX, a.srcY,
                                 a.srcWidth, a.srcHeight, a.destX, a.destY, a.destWidth, a.destHeight, a.lightness))
            return false;
        return BlendToDC(self, dc, scaled, render::BlendSource::Scaled, a.srcX, a.srcY, a.destX, a.destY,
                         a.destWidth, a.destHeight, k, host, a.grayScale, a.lightness);
    }
    return BlendToDC(self, dc, mirrored, mirror ? render::BlendSource::Mirrored : render::BlendSource::Surface,
                     a.srcX, a.srcY, a.destX, a.destY, a.destWidth, a.destHeight, k, host, a.grayScale, a.lightness);
}

bool PathGdiPlus(c32bppDIB &self, HDC dc, const RenderArgs &a, c32bppDIB *host) {
    HostDC hostDC(host, dc);
    cGDIPlus gdi;
    return RenderDIB(gdi, self, dc, 0.0f, a.opacity, a.destX, a.destY, a.destWidth, a.destHeight, a.srcX, a.srcY,
                     a.srcWidth, a.srcHeight, self.HighQualityInterpolation(), a.grayScale, self.gdiToken(),
                     a.lightness);
}

}  // namespace

bool Render(c32bppDIB &self, HDC destinationDC, std::int32_t destX, std::int32_t destY, std::int32_t destWidth,
            std::int32_t destHeight, std::int32_t SrcX, std::int32_t SrcY, std::int32_t srcWidth,
            std::int32_t srcHeight, std::int32_t Opacity, bool /*Blend*/, bool SetHalfTone, c32bppDIB *destHostDIB,
            std::int32_t grayScale, float LightAdjustment, float Angle, bool CenterOnDestXY) {
    RenderArgs a;
    a.destX = destX;
    a.destY = destY;
    a.destWidth = destWidth;
    a.destHeight = destHeight;
    a.srcX = SrcX;
    a.srcY = SrcY;
    a.srcWidth = srcWidth;
    a.srcHeight = srcHeight;
    a.opacity = Opacity;
    a.grayScale = grayScale;
    a.lightness = LightAdjustment;
    a.angle = Angle;
    a.centerOnDestXY = CenterOnDestXY;
    switch (render::NormalizeRender(self.HasImage(), self.Width(), self.Height(),
                                    destinationDC != nullptr || destHostDIB != nullptr, a)) {
    case render::RenderStep::DoneTrue: return true;
    case render::RenderStep::DoneFalse: return false;
    case render::RenderStep::Rotated: {
        HDC dc = destinationDC;
        HostDC hostDC(destHostDIB, dc);
        return RenderRotated(self, dc, a.angle, a.destX, a.destY, a.destWidth, a.destHeight, a.srcX, a.srcY,
                             a.srcWidth, a.srcHeight, a.opacity, destHostDIB, a.grayScale, a.lightness);
    }
    case render::RenderStep::Unrotated: break;
    }
    render::PathInputs in;
    in.gdiPlusEnabled = self.isGDIplusEnabled();
    in.gdiTokenLent = self.gdiToken() != 0;
    in.alphaBlendFriendly = self.isAlphaBlendFriendly();
    in.highQuality = self.HighQualityInterpolation();
    switch (render::ChooseRenderPath(a, in)) {
    case render::RenderPath::GdiPlus: return PathGdiPlus(self, destinationDC, a, destHostDIB);
    case render::RenderPath::AlphaBlend: return PathAlphaBlend(self, destinationDC, a, SetHalfTone, destHostDIB);
    case render::RenderPath::Own: break;
    }
    return PathOwn(self, destinationDC, a, destHostDIB);
}

}  // namespace lumio
