#include "imaging/c32bpp_dib.h"

#include "imaging/cgdiplus.h"
#include "imaging/codec_registry.h"
#include "imaging/mod_parsers_win.h"
#include "os_version_win.h"
#include "win_handles.h"

namespace lumio {

c32bppDIB::c32bppDIB() : flags_(CapabilityFlagsFor(QueryOsVersion().value_or(OsVersion{}))) {
    isGDIplusEnabled(true);
    if (isGDIplusEnabled()) HighQualityInterpolation(true);
}

c32bppDIB::~c32bppDIB() { DestroyDIB(); }

SurfaceCore::Pixels c32bppDIB::AllocatePixels(std::int32_t width, std::int32_t height, std::size_t bytes) noexcept {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = height; // positive: bottom-up
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    bi.bmiHeader.biSizeImage = static_cast<DWORD>(bytes);
    ScreenDC screen;
    void *bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (manageOwnDC_ && !dc_) dc_.reset(CreateCompatibleDC(screen.get()));
    return {bmp, static_cast<std::uint8_t *>(bits)};
}

void c32bppDIB::ReleasePixels(SurfaceHandle handle) noexcept { DeleteObject(static_cast<HBITMAP>(handle)); }

void c32bppDIB::DeleteOwnDC() noexcept {
    if (!dc_) return;
    if (displaced_ != nullptr) SelectObject(dc_.get(), displaced_);
    displaced_ = nullptr;
    dc_.reset();
}

void c32bppDIB::BeforeDestroy() noexcept {
    // The DC goes whatever ManageOwnDC says; the next InitializeDIB makes a new one.
    DeleteOwnDC();
    displaced_ = nullptr;
}

HDC c32bppDIB::LoadDIBinDC(bool bLoad) {
    if (bLoad) {
        if (!HasImage()) return nullptr;
        if (!dc_) {
            ScreenDC screen;
            dc_.reset(CreateCompatibleDC(screen.get()));
            if (!dc_) return nullptr;
        }
        if (displaced_ == nullptr) displaced_ = SelectObject(dc_.get(), BitmapHandle());
        return dc_.get();
    }
    if (displaced_ != nullptr) {
        SelectObject(dc_.get(), displaced_);
        displaced_ = nullptr;
        if (!manageOwnDC_) dc_.reset();
    }
    return nullptr;
}

void c32bppDIB::ManageOwnDC(bool bManage) {
    if (!bManage) {
        if (dc_ && HasImage() && displaced_ != nullptr) SelectObject(dc_.get(), displaced_);
        displaced_ = nullptr;
        dc_.reset();
    } else if (!dc_ && HasImage()) {
        ScreenDC screen;
        dc_.reset(CreateCompatibleDC(screen.get()));
    }
    manageOwnDC_ = bManage;
}

void c32bppDIB::isGDIplusEnabled(bool enabled) {
    if (enabled == isGDIplusEnabled()) return;
    flags_ &= ~std::uint32_t{kCapGdiPlusEnabled};
    if (enabled && !(flags_ & kCapNeverGdiPlus)) {
        ULONG_PTR token = 0;
        if (cGDIPlus().isGDIplusOk(token, false)) flags_ |= kCapGdiPlusEnabled;
    }
}

bool c32bppDIB::isZlibEnabled() const { return ZlibInstalled(); }

} // namespace lumio
