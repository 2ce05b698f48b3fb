#include "blend_to_dc.h"

#include "gdi_scope.h"
#include "surface_view.h"

namespace lumio {
namespace {

// A 24-bit DIB section holding a copy of a device context's rectangle.
class RgbCopy {
public:
    RgbCopy(int32_t width, int32_t height) {
        const int64_t stride = (int64_t{width} * 24 + 31) / 32 * 4;
        if (stride * height > INT32_MAX) return;
        stride_ = static_cast<ptrdiff_t>(stride);
        info_.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info_.bmiHeader.biWidth = width;
        info_.bmiHeader.biHeight = height;
        info_.bmiHeader.biPlanes = 1;
        info_.bmiHeader.biBitCount = 24;
        info_.bmiHeader.biCompression = BI_RGB;
        void *bits = nullptr;
        bitmap_.reset(CreateDIBSection(nullptr, &info_, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<uint8_t *>(bits);
    }
    bool ok() const { return bitmap_ && bits_ != nullptr; }
    HBITMAP bitmap() const { return bitmap_.get(); }
    const BITMAPINFO &info() const { return info_; }
    render::PixelView View() const {
        return {bits_, info_.bmiHeader.biWidth, info_.bmiHeader.biHeight, stride_, 3};
    }

private:
    BITMAPINFO info_{};
    gdi::OwnedObject<HBITMAP> bitmap_;
    uint8_t *bits_ = nullptr;
    ptrdiff_t stride_ = 0;
};

bool CopyFromDC(const RgbCopy &copy, HDC from, int32_t x, int32_t y, int32_t w, int32_t h) {
    gdi::OwnedDC mem(CreateCompatibleDC(ScreenDC().get()));
    if (!mem) return false;
    bool ok;
    {
        gdi::Selection selected(mem.get(), copy.bitmap());
        ok = BitBlt(mem.get(), 0, 0, w, h, from, x, y, SRCCOPY) != 0;
    }
    GdiFlush();
    return ok;
}

}  // namespace

bool BlendToDC(const c32bppDIB &self, HDC hDC, render::PixelArray &src, render::BlendSource kind, std::int32_t SrcX,
               std::int32_t SrcY, std::int32_t destX, std::int32_t destY, std::int32_t destWidth,
               std::int32_t destHeight, std::int32_t constantAlpha, const c32bppDIB *host, std::int32_t grayScale,
               float lightness) {
    const render::PixelView me = render::ViewOf(self);
    if (host)
        return render::BlendToSurface(me, kind, src, SrcX, SrcY, destX, destY, destWidth, destHeight, constantAlpha,
                                      render::ViewOf(*host), grayScale, lightness);
    if (hDC == nullptr) return false;
    render::BlendPlan p;
    if (!render::PlanBlend(me, kind, src, SrcX, SrcY, destX, destY, destWidth, destHeight, nullptr, lightness, p))
        return false;
    RgbCopy copy(p.width, p.height);
    if (!copy.ok()) return false;
    // What lies under the picture now; a destination the DC cannot read stays black.
    CopyFromDC(copy, hDC, p.destX, p.destY, p.width, p.height);
    render::BlendRows(p.source, p.srcX, p.srcTop, copy.View(), 0, p.height - 1, p.width, p.height, constantAlpha,
                      grayScale);
    SetDIBitsToDevice(hDC, p.destX, p.destY, static_cast<DWORD>(p.width), static_cast<DWORD>(p.height), 0, 0, 0,
                      static_cast<UINT>(p.height), copy.View().bits, &copy.info(), DIB_RGB_COLORS);
    return true;
}

}  // namespace lumio
