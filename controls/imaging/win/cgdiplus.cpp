#include "imaging/cgdiplus.h"

#include <cwchar>

#include "imaging/image_type.h"
#include "imaging/mod_parsers_win.h"
#include "imaging/vb_math.h"

namespace lumio {

using Gdiplus::GpStatus;
using Gdiplus::Ok;

namespace {
constexpr Gdiplus::PixelFormat kArgb = 0x26200A;  // 32-bit straight ARGB
constexpr Gdiplus::PixelFormat kPargb = 0xE200B;  // 32-bit premultiplied ARGB

// A GDI+ image that is disposed when it goes.
class GpImageOwner {
public:
    explicit GpImageOwner(const GdiplusApi &api) noexcept : api_(api) {}
    ~GpImageOwner() { reset(); }
    GpImageOwner(const GpImageOwner &) = delete;
    GpImageOwner &operator=(const GpImageOwner &) = delete;
    Gdiplus::GpImage *get() const noexcept { return image_; }
    Gdiplus::GpImage **put() noexcept { reset(); return &image_; }
    Gdiplus::GpBitmap **putBitmap() noexcept { reset(); return reinterpret_cast<Gdiplus::GpBitmap **>(&image_); }
    void reset() noexcept {
        if (image_ != nullptr) api_.DisposeImage(image_);
        image_ = nullptr;
    }

private:
    const GdiplusApi &api_;
    Gdiplus::GpImage *image_ = nullptr;
};
} // namespace

GdiplusSession::GdiplusSession(const GdiplusApi &api, ULONG_PTR lentToken) noexcept : api_(api) {
    if (!api.Available()) return; // never call into a missing or partial GDI+
    if (lentToken != 0) {
        token_ = lentToken;
    } else if (api.Available() && api.Startup(token_) == Ok) {
        own_ = true;
    }
}

GdiplusSession::~GdiplusSession() {
    if (own_) api_.Shutdown(token_);
}

bool cGDIPlus::StartupShutdown(ULONG_PTR &token, bool shutDown) {
    if (shutDown) {
        api_.Shutdown(token);
        return true;
    }
    return api_.Startup(token) == Ok;
}

bool cGDIPlus::isGDIplusOk(ULONG_PTR &gdiToken, bool KeepToken) {
    if (!api_.Available()) return false;
    const bool ok = StartupShutdown(gdiToken, false);
    if (ok && !KeepToken) {
        StartupShutdown(gdiToken, true);
    } else if (ok) {
        // GDI+ outlives this object: keep its library loaded for good.
        HMODULE pinned = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN, L"gdiplus.dll", &pinned);
    }
    return ok;
}

std::int32_t cGDIPlus::EncoderClsidForMime(const std::wstring &mime, CLSID &clsid) {
    if (!api_.Available()) return -1;
    UINT count = 0, size = 0;
    if (api_.GetImageEncodersSize(&count, &size) != Ok || size == 0) return -1;
    // Records first, then the strings they point at, in one block.
    std::vector<std::uint8_t> buffer(size);
    auto *codecs = reinterpret_cast<Gdiplus::ImageCodecInfo *>(buffer.data());
    if (api_.GetImageEncoders(count, size, codecs) != Ok) return -1;
    if (static_cast<std::size_t>(count) * sizeof(Gdiplus::ImageCodecInfo) > size) return -1;
    for (UINT i = 0; i < count; ++i) {
        if (_wcsicmp(PointerToString(codecs[i].MimeType).c_str(), mime.c_str()) == 0) {
            clsid = codecs[i].Clsid;
            return static_cast<std::int32_t>(i) + 1;
        }
    }
    return -1;
}

bool cGDIPlus::SaveToPNG(const std::wstring &FileName, std::vector<std::uint8_t> &outStream, const SurfaceCore &cHost,
                         ULONG_PTR GlobalToken) {
    if (!cHost.HasImage()) return false;
    GdiplusSession session(api_, GlobalToken);
    if (!session) return false;
    // The rows are handed top row first with a negative stride, so GDI+ sees
    // the picture upright and never has to flip (or touch) the surface's pixels.
    const std::int32_t stride = cHost.scanWidth();
    GpImageOwner bitmap(api_);
    if (api_.CreateBitmapFromScan0(cHost.Width(), cHost.Height(), -stride, kPargb, cHost.RowFromTop(0),
                                   bitmap.putBitmap()) != Ok ||
        bitmap.get() == nullptr)
        return false;
    CLSID clsid{};
    if (EncoderClsidForMime(L"image/png", clsid) < 0) return false;
    if (!FileName.empty()) return api_.SaveImageToFile(bitmap.get(), FileName.c_str(), &clsid, nullptr) == Ok;
    outStream.clear();
    ComPtr<IStream> stream = ArrayToStream(outStream, 0);
    if (!stream) return false;
    if (api_.SaveImageToStream(bitmap.get(), stream.get(), &clsid, nullptr) != Ok) return false;
    return StreamToArray(stream.get(), outStream);
}

bool cGDIPlus::LoadImageToDIB(const std::wstring &fileName, const std::vector<std::uint8_t> &bytes,
                              c32bppDIB &surface, ULONG_PTR token) {
    GdiplusSession session(api_, token);
    if (!session) return false;
    GpImageOwner image(api_);
    if (!fileName.empty()) {
        api_.LoadImageFromFile(fileName.c_str(), image.put());
    } else if (ComPtr<IStream> stream = ArrayToStream(bytes, 0)) {
        api_.LoadImageFromStream(stream.get(), image.put());
    }
    if (image.get() == nullptr) return false;

    bool drawn = false;
    Gdiplus::GpRectF bounds{};
    Gdiplus::GpUnit unit = Gdiplus::UnitPixel;
    if (api_.GetImageBounds(image.get(), &bounds, &unit) == Ok) {
        std::int32_t x = 0, y = 0, w = 0, h = 0;
        try {
            x = vb::CLng(bounds.X);
            y = vb::CLng(bounds.Y);
            w = vb::CLng(bounds.Width);
            h = vb::CLng(bounds.Height);
        } catch (const RunTimeError &) {
            w = h = 0; // no surface: handled as a failed draw below
        }
        surface.InitializeDIB(w, h);
        HDC dc = surface.LoadDIBinDC(true);
        Gdiplus::GpGraphics *graphics = nullptr;
        if (dc != nullptr && api_.CreateFromHDC(dc, &graphics) == Ok && graphics != nullptr) {
            api_.DrawImageRectRectI(graphics, image.get(), 0, 0, w, h, x, y, w, h,
                                    Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
            api_.DeleteGraphics(graphics);
            drawn = true;
        }
        surface.LoadDIBinDC(false);
    }
    if (!drawn) {
        surface.DestroyDIB();
        return false;
    }
    Gdiplus::PixelFormat format = 0;
    api_.GetImagePixelFormat(image.get(), &format);
    surface.SetAlpha(format == kArgb || format == kPargb);
    surface.SetImageType(image_type::kPng);
    return true;
}

} // namespace lumio
