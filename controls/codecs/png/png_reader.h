#pragma once
// The PNG reader: signature, chunk walk, header, palette and transparency, then inflation,
// row filters and conversion into a surface as premultiplied B, G, R, A, bottom-up.
//
// Result of ParsePNG (and Decode): true once the data began with the PNG signature, whether
// or not an image was built; the surface's Handle tells whether one exists, Failure() why not.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "imaging/byte_source.h"
#include "imaging/image_decoder.h"
#include "imaging/surface_core.h"
#include "zlib/zlib_api.h"

namespace lumio {

class PngReader final : public ImageDecoder {
public:
    // Finds zlib for one load; null when none is installed.
    using ZlibLoader = std::function<std::unique_ptr<ZlibApi>()>;
    // Offered the image before our own decoding (GDI+ on Windows); true when it filled the host.
    using FirstDecoder = std::function<bool()>;

    explicit PngReader(ZlibLoader loadZlib) : loadZlib_(std::move(loadZlib)) {}

    bool Decode(const DecodeRequest &request, SurfaceCore &host) override { return ParsePNG(request.source, host); }
    bool ParsePNG(ByteSource &source, SurfaceCore &host, const FirstDecoder &tryFirst = {});

    static bool IsPNGSignature(const uint8_t *first8);

private:
    // Chunk handlers: false stops the walk with an error. `chunk` points at the type, then
    // `length` data bytes; `storedCrc` 0 turns the CRC check off.
    bool ReadIHDR(const uint8_t *chunk, uint32_t length, uint32_t storedCrc);
    bool ReadPLTE(const uint8_t *chunk, uint32_t length, uint32_t storedCrc);
    void ReadtRNS(const uint8_t *chunk, uint32_t length, uint32_t storedCrc);
    bool CrcMatches(const uint8_t *chunk, uint32_t length, uint32_t storedCrc);
    // Records why no image will be built; false, for `return Fail(...)`.
    bool Fail(DecodeFailure why) {
        SetFailure(why);
        return false;
    }

    // Pixels (png_pixels.cpp).
    bool GetInflatedSize(uint32_t &size) const;
    // idat: a copy of the image data, or empty when `pieces` says where it lies.
    bool BuildImageFromIDAT(std::vector<uint8_t> &idat, std::vector<std::span<const uint8_t>> &pieces);
    enum class Streamed { kDone, kFailed, kTryWhole };
    Streamed DecodeStreaming(std::span<const std::span<const uint8_t>> pieces);
    void SynthesizePalette();
    bool DecodeRows(uint8_t *data);

    ZlibLoader loadZlib_;
    std::unique_ptr<ZlibApi> zlib_;
    SurfaceCore *host_ = nullptr;

    bool haveHeader_ = false;
    int32_t width_ = 0, height_ = 0;
    uint8_t bitDepth_ = 0, colorType_ = 0, interlace_ = 0;
    uint32_t inflatedSize_ = 0;
    std::vector<uint8_t> palette_;
    std::vector<uint8_t> transparency_;
    int32_t transparencyKey_ = -1;
};

}  // namespace lumio
