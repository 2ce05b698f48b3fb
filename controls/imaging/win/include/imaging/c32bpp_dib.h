#pragma once
// The library's 32-bit premultiplied image surface: a DIB section whose pixels
// any code of the library reads and writes in place (layout in surface_core.h),
// with an optional memory device context of its own and the capability flags
// of the system it runs on.
#include <windows.h>

#include <cstdint>

#include "gdi_scope.h"
#include "imaging/capability_flags.h"
#include "imaging/surface_core.h"

namespace lumio {

class c32bppDIB : public SurfaceCore {
public:
    c32bppDIB();
    ~c32bppDIB() override;

    HBITMAP BitmapHandle() const noexcept { return static_cast<HBITMAP>(Handle()); }

    // bLoad True: selects the DIB into the surface's DC (made on demand) and
    // returns the DC; the same DC again while it is selected. 0 without image.
    // bLoad False: selects it out again and drops the DC unless ManageOwnDC.
    HDC LoadDIBinDC(bool bLoad);
    bool ManageOwnDC() const noexcept { return manageOwnDC_; }
    void ManageOwnDC(bool bManage);

    bool isAlphaBlendFriendly() const noexcept { return (flags_ & kCapRenderWithAlphaBlend) != 0; }
    void isAlphaBlendFriendly(bool enabled) noexcept { flags_ = WithAlphaBlendFriendly(flags_, enabled); }
    bool isGDIplusEnabled() const noexcept { return (flags_ & kCapGdiPlusEnabled) != 0; }
    // Switching on probes GDI+ (start and shut down once); never where flag 0x20 forbids it.
    void isGDIplusEnabled(bool enabled);
    // True when "zlib1.dll" or "zlib.dll" loads and exports crc32; asked anew each time
    // through the probe the codecs registered (imaging/codec_registry.h).
    bool isZlibEnabled() const;

    // A GDI+ token lent by the host; the surface never starts or shuts GDI+ down with it.
    ULONG_PTR gdiToken() const noexcept { return gdiToken_; }
    void gdiToken(ULONG_PTR token) noexcept { gdiToken_ = token; }

    // The whole capability word, for the library's renderers and loaders.
    std::uint32_t CapabilityFlags() const noexcept { return flags_; }
    void SetCapabilityFlags(std::uint32_t flags) noexcept { flags_ = flags; }

    // The surface's device context as it stands (null when none exists).
    HDC OwnDC() const noexcept { return dc_.get(); }

private:
    Pixels AllocatePixels(std::int32_t width, std::int32_t height, std::size_t bytes) noexcept override;
    void ReleasePixels(SurfaceHandle handle) noexcept override;
    void BeforeDestroy() noexcept override;
    void DeleteOwnDC() noexcept;

    gdi::OwnedDC dc_;
    HGDIOBJ displaced_ = nullptr; // what selecting the DIB pushed out; null while not selected
    std::uint32_t flags_ = 0;
    bool manageOwnDC_ = false;
    ULONG_PTR gdiToken_ = 0;
};

} // namespace lumio
