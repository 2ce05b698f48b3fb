#pragma once
// What the GIF, BMP and ICO readers leave to the system: decoding through its picture
// loader and its DIB conversion. On Windows that is OLE and GDI; natively a stand-in
// lets the readers' own byte logic run under sanitizers and fuzzers.
#include <cstdint>
#include <span>

#include "imaging/surface_core.h"

namespace lumio {

enum class DecodeResult {
    kNoPicture, // the system did not read the bytes
    kNoSurface, // it did, but the surface could not be made
    kFilled,    // the surface holds the decoded pixels
};

class SystemDecoder {
public:
    virtual ~SystemDecoder() = default;

    // A one-image GIF: sizes the host to the decoded bitmap and fills it with 32-bit
    // bottom-up rows, B, G, R as decoded (alpha bytes undefined).
    virtual DecodeResult DecodeGif(std::span<const std::uint8_t> gif, SurfaceCore &host) = 0;

    // Anything the system's picture loader reads, converted into the host with alpha and
    // image type set (the BMP reader's last resort). `bitCount` is the BMP header's, or 0.
    // False when the loader refused the bytes.
    virtual bool LoadPicture(std::span<const std::uint8_t> bytes, SurfaceCore &host, std::int16_t bitCount) = 0;

    // A bitmap icon entry: `info` is a BITMAPINFOHEADER (40 bytes, BI_RGB) followed by its
    // biClrUsed palette entries, `bits` the colour rows it describes. The host is already
    // sized; the decoded image is written into it as 32-bit bottom-up rows (columns and rows
    // beyond the bitmap's stay 0). False when the system refused the bitmap.
    virtual bool DecodeDib(std::span<const std::uint8_t> info, std::span<const std::uint8_t> bits,
                           SurfaceCore &host) = 0;

    // A PNG stored inside an icon: the PNG reader's result (true when it recognised it).
    virtual bool LoadPng(std::span<const std::uint8_t> png, SurfaceCore &host) = 0;
};

} // namespace lumio
