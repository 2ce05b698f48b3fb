#pragma once
// cBMPparser: 32-bit BMP files read directly, everything else through the system's picture
// loader (see bmp_reader.h); and pictures or bitmap handles converted into a surface.
#include <windows.h>

#include <ocidl.h>

#include <cstdint>
#include <vector>

#include "imaging/c32bpp_dib.h"
#include "imaging/image_decoder.h"

namespace lumio {

class cBMPparser final : public ImageDecoder {
public:
    // The loader's entry: the source's bytes, read whole.
    bool Decode(const DecodeRequest &request, SurfaceCore &host) override;
    bool LoadStream(const std::vector<std::uint8_t> &inStream, c32bppDIB &cHost, std::int32_t streamOffset,
                    std::int32_t streamLength) noexcept;

    // A picture object (Handle ignored) or, without one, a bitmap handle into the surface.
    // False for a picture of type 0, a handle that is no bitmap, or no surface made.
    bool ConvertstdPicTo32bpp(IPicture *stdPic, HBITMAP Handle, c32bppDIB &cHost, std::int16_t bitCount) noexcept;
};

// The screen's twips per pixel, horizontally or vertically.
double ScreenTwipsPerPixel(bool horizontal);

} // namespace lumio
