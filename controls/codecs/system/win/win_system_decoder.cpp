#include "system/win/win_system_decoder.h"

#include <algorithm>
#include <cstring>

#include "bmp/win/cbmp_parser.h"
#include "png/win/cpng_parser.h"
#include "imaging/mod_parsers_win.h"
#include "win_handles.h"

namespace lumio {

std::vector<std::uint8_t> BitmapRows32(HBITMAP bitmap, std::int32_t &width, std::int32_t &height) {
    width = height = 0;
    BITMAP bm{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof bm, &bm) != sizeof bm) return {};
    if (bm.bmWidth < 1 || bm.bmHeight == 0) return {};
    const std::int64_t rows = bm.bmHeight < 0 ? -std::int64_t{bm.bmHeight} : bm.bmHeight;
    const std::int64_t bytes = std::int64_t{bm.bmWidth} * rows * 4;
    if (bytes > INT32_MAX) return {};
    std::vector<std::uint8_t> out;
    try {
        out.resize(static_cast<std::size_t>(bytes));
    } catch (const std::bad_alloc &) {
        return {};
    }
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = bm.bmWidth;
    header.biHeight = static_cast<LONG>(rows);
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    ScreenDC screen;
    if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(rows), out.data(),
                  reinterpret_cast<BITMAPINFO *>(&header), DIB_RGB_COLORS) == 0)
        return {};
    width = bm.bmWidth;
    height = static_cast<std::int32_t>(rows);
    return out;
}

void CopyRowsInto(SurfaceCore &host, const std::vector<std::uint8_t> &rows, std::int32_t width, std::int32_t height) {
    const std::int32_t w = std::min(width, host.Width()), h = std::min(height, host.Height());
    for (std::int32_t r = 0; r < h; ++r)
        std::memcpy(host.BitsPointer() + static_cast<std::size_t>(r) * static_cast<std::size_t>(host.scanWidth()),
                    rows.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(width) * 4,
                    static_cast<std::size_t>(w) * 4);
}

DecodeResult WinSystemDecoder::DecodeGif(std::span<const std::uint8_t> gif, SurfaceCore &host) {
    // Read back as 32-bit rows: the loader's bitmaps carry no bits of their own here.
    auto picture = PictureFromBytes(gif);
    if (!picture) return DecodeResult::kNoPicture;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Handle(&handle)) || handle == 0) return DecodeResult::kNoPicture;
    std::int32_t width = 0, height = 0;
    const auto rows = BitmapRows32(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), width, height);
    if (rows.empty()) return DecodeResult::kNoPicture;
    if (!host.InitializeDIB(width, height)) return DecodeResult::kNoSurface;
    CopyRowsInto(host, rows, width, height);
    return DecodeResult::kFilled;
}

bool WinSystemDecoder::LoadPicture(std::span<const std::uint8_t> bytes, SurfaceCore &host, std::int16_t bitCount) {
    auto *dib = dynamic_cast<c32bppDIB *>(&host);
    if (dib == nullptr) return false;
    auto picture = PictureFromBytes(bytes);
    if (!picture) return false;
    return cBMPparser().ConvertstdPicTo32bpp(picture.get(), nullptr, *dib, bitCount);
}

bool WinSystemDecoder::DecodeDib(std::span<const std::uint8_t> info, std::span<const std::uint8_t> bits,
                                 SurfaceCore &host) {
    const auto *header = reinterpret_cast<const BITMAPINFOHEADER *>(info.data());
    if (info.size() < sizeof(BITMAPINFOHEADER) || header->biSize != sizeof(BITMAPINFOHEADER)) return false;
    ScreenDC screen;
    gdi::OwnedObject<HBITMAP> bitmap(CreateDIBitmap(screen.get(), header, CBM_INIT, bits.data(),
                                                    reinterpret_cast<const BITMAPINFO *>(info.data()), DIB_RGB_COLORS));
    if (!bitmap) return false;
    std::int32_t width = 0, height = 0;
    const auto rows = BitmapRows32(bitmap.get(), width, height);
    if (rows.empty()) return false;
    CopyRowsInto(host, rows, width, height);
    return true;
}

bool WinSystemDecoder::LoadPng(std::span<const std::uint8_t> png, SurfaceCore &host) {
    auto *dib = dynamic_cast<c32bppDIB *>(&host);
    if (dib == nullptr) return false;
    const std::vector<std::uint8_t> bytes(png.begin(), png.end());
    return cPNGparser().LoadStream(bytes, *dib, 0, static_cast<std::int32_t>(bytes.size()), gdiToken_);
}

} // namespace lumio
