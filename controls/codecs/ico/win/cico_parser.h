#pragma once
// cICOparser: icon and cursor files into a surface (see ico_reader.h), and icon or cursor
// handles converted into a surface.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "imaging/c32bpp_dib.h"
#include "imaging/image_decoder.h"
#include "ico/ico_reader.h"

namespace lumio {

class cICOparser final : public ImageDecoder {
public:
    // The loader's entry: the source's bytes, read whole.
    bool Decode(const DecodeRequest &request, SurfaceCore &host) override;
    // The file in inStream[streamStart, +streamLength); streamLength 0 becomes the rest of
    // the array (written back). cHost null: validation only, then the read members.
    // The array must outlive the read members' use.
    bool LoadStream(const std::vector<std::uint8_t> &inStream, std::int32_t iconCx, std::int32_t iconCy,
                    c32bppDIB *cHost, std::int32_t streamStart, std::int32_t &streamLength,
                    std::int32_t iconBitDepth, ULONG_PTR gdiToken) noexcept;

    // An icon or cursor handle into the surface: alpha from its colour bitmap when it has
    // any, else from its mask. False for a zero handle or one GetIconInfo refuses.
    bool ConvertstdPicTo32bpp(HANDLE Handle, c32bppDIB &cHost) noexcept;

    std::int32_t Height(std::int32_t Index) const noexcept { return reader_.Height(Index); }
    std::int32_t Width(std::int32_t Index) const noexcept { return reader_.Width(Index); }
    bool IsIconPNG(std::int32_t Index) const noexcept { return reader_.IsIconPNG(Index); }
    std::int32_t bitDepth(std::int32_t Index) const noexcept { return reader_.bitDepth(Index); }
    std::int32_t IconCount() const noexcept { return reader_.IconCount(); }
    std::int64_t ColorCount(std::int32_t Index) const noexcept { return reader_.ColorCount(Index); }
    std::int64_t ColorByteOffset(std::int32_t Index) const noexcept { return reader_.ColorByteOffset(Index); }

private:
    IcoReader reader_{nullptr};
};

} // namespace lumio
