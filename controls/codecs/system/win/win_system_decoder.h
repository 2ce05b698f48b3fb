#pragma once
// The system's part of the GIF, BMP and ICO readers on Windows: the OLE picture loader,
// DIB conversion through GDI, and the PNG reader for PNG icon entries.
#include <windows.h>

#include <ocidl.h>

#include <cstdint>
#include <span>
#include <vector>

#include "imaging/c32bpp_dib.h"
#include "system/system_decoder.h"

namespace lumio {

class WinSystemDecoder final : public SystemDecoder {
public:
    explicit WinSystemDecoder(ULONG_PTR gdiToken = 0) : gdiToken_(gdiToken) {}

    DecodeResult DecodeGif(std::span<const std::uint8_t> gif, SurfaceCore &host) override;
    bool LoadPicture(std::span<const std::uint8_t> bytes, SurfaceCore &host, std::int16_t bitCount) override;
    bool DecodeDib(std::span<const std::uint8_t> info, std::span<const std::uint8_t> bits, SurfaceCore &host) override;
    bool LoadPng(std::span<const std::uint8_t> png, SurfaceCore &host) override;

private:
    ULONG_PTR gdiToken_;
};

// The bitmap's pixels as 32-bit bottom-up rows, its own size; empty when GDI refuses.
std::vector<std::uint8_t> BitmapRows32(HBITMAP bitmap, std::int32_t &width, std::int32_t &height);

// Copies 32-bit bottom-up rows of width x height into the host's rows (overlap only).
void CopyRowsInto(SurfaceCore &host, const std::vector<std::uint8_t> &rows, std::int32_t width, std::int32_t height);

} // namespace lumio
