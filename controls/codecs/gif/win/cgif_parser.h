#pragma once
// cGIFparser: the first image of a GIF into a surface (see gif_reader.h).
#include <cstdint>
#include <vector>

#include "imaging/c32bpp_dib.h"
#include "imaging/image_decoder.h"

namespace lumio {

class cGIFparser final : public ImageDecoder {
public:
    // The loader's entry: the source's bytes, read whole.
    bool Decode(const DecodeRequest &request, SurfaceCore &host) override;
    // True when inStream[streamOffset, +streamLength) is a GIF whose first image was
    // reached; the surface's Handle tells whether it was decoded.
    bool LoadStream(const std::vector<std::uint8_t> &inStream, c32bppDIB &cHost, std::int32_t streamOffset,
                    std::int32_t streamLength) noexcept;
};

} // namespace lumio
