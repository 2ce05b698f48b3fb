#include "ico/win/cico_parser.h"

#include <new>

#include "imaging/image_type.h"
#include "imaging/mod_parsers.h"
#include "win_handles.h"
#include "win/stream_range.h"
#include "win/whole_source.h"
#include "system/win/win_system_decoder.h"

namespace lumio {

bool cICOparser::Decode(const DecodeRequest &request, SurfaceCore &host) {
    const auto data = WholeSource(request.source);
    SetFailure(DecodeFailure::kNotThisFormat);
    if (!data) return false;
    try {
        WinSystemDecoder system(static_cast<ULONG_PTR>(request.gdiToken));
        reader_.SetSystem(&system);
        const bool recognised = reader_.LoadStream(*data, request.iconCx, request.iconCy, &host, request.iconBitDepth);
        reader_.SetSystem(nullptr);
        SetFailure(reader_.Failure());
        return recognised;
    } catch (...) {
        SetFailure(DecodeFailure::kSystemRefused);
        host.DestroyDIB();
        return false;
    }
}

bool cICOparser::LoadStream(const std::vector<std::uint8_t> &inStream, std::int32_t iconCx, std::int32_t iconCy,
                            c32bppDIB *cHost, std::int32_t streamStart, std::int32_t &streamLength,
                            std::int32_t iconBitDepth, ULONG_PTR gdiToken) noexcept {
    const auto data = StreamRange(inStream, streamStart, streamLength);
    if (!data) return false;
    if (streamLength == 0) streamLength = static_cast<std::int32_t>(data->size());
    try {
        WinSystemDecoder system(gdiToken);
        reader_.SetSystem(cHost != nullptr ? &system : nullptr);
        const bool result = reader_.LoadStream(*data, iconCx, iconCy, cHost, iconBitDepth);
        reader_.SetSystem(nullptr);
        return result;
    } catch (...) {
        if (cHost != nullptr) cHost->DestroyDIB();
        return false;
    }
}

bool cICOparser::ConvertstdPicTo32bpp(HANDLE Handle, c32bppDIB &cHost) noexcept {
    try {
        gdi::IconBitmaps icon;
        if (Handle == nullptr || !GetIconInfo(static_cast<HICON>(Handle), &icon.info)) return false;
        const bool isIcon = icon.info.fIcon != FALSE;
        ScreenDC screen;

        if (icon.info.hbmColor != nullptr) {
            std::int32_t width = 0, height = 0;
            const auto rows = BitmapRows32(icon.info.hbmColor, width, height);
            if (rows.empty()) return false;
            if (!cHost.InitializeDIB(width, height)) return false;
            CopyRowsInto(cHost, rows, width, height);
            bool anyAlpha = false;
            for (std::size_t i = 3; i < cHost.ByteCount() && !anyAlpha; i += 4) anyAlpha = cHost.BitsPointer()[i] != 0;
            if (anyAlpha) {
                cHost.SetImageType(image_type::kBlank);
                ClassifyAlpha(cHost, true);
                cHost.SetImageType(isIcon ? image_type::kIconWithAlpha : image_type::kCursorWithAlpha);
                cHost.SetAlpha(true);
                return true;
            }
        }

        // Alpha from the mask. A monochrome icon's mask holds the AND mask in its upper
        // half (bottom-up scan lines height..2*height-1) above the XOR mask.
        BITMAP mask{};
        if (icon.info.hbmMask == nullptr || GetObjectW(icon.info.hbmMask, sizeof mask, &mask) != sizeof mask)
            return false;
        const std::int32_t width = mask.bmWidth;
        std::int32_t height = mask.bmHeight;
        UINT firstLine = 0;
        if (icon.info.hbmColor == nullptr) {
            height /= 2;
            firstLine = static_cast<UINT>(height);
            if (!cHost.InitializeDIB(width, height)) return false;
            HDC dc = cHost.LoadDIBinDC(true);
            DrawIcon(dc, 0, 0, static_cast<HICON>(Handle));
            cHost.LoadDIBinDC(false);
        }
        if (!cHost.HasImage() || cHost.Width() != width || cHost.Height() != height) {
            cHost.DestroyDIB();
            return false;
        }
        const std::size_t scan = static_cast<std::size_t>(ScanWidthForBits(1, width));
        std::vector<std::uint8_t> bits(scan * static_cast<std::size_t>(height));
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colours[2];
        } info{};
        info.header.biSize = sizeof info.header;
        info.header.biWidth = width;
        info.header.biHeight = mask.bmHeight;
        info.header.biPlanes = 1;
        info.header.biBitCount = 1;
        info.colours[1] = RGBQUAD{255, 255, 255, 0};
        if (GetDIBits(screen.get(), icon.info.hbmMask, firstLine, static_cast<UINT>(height), bits.data(),
                      reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS) == 0) {
            cHost.DestroyDIB();
            return false;
        }
        const bool transparent = ApplyIconMaskBits(cHost, bits);
        cHost.SetImageType(isIcon ? image_type::kIconWithMask : image_type::kCursorWithMask);
        cHost.SetAlpha(transparent);
        return true;
    } catch (...) {
        cHost.DestroyDIB();
        return false;
    }
}

} // namespace lumio
