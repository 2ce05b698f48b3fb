#pragma once
// The system's part of the GIF, BMP and ICO readers, natively: a plain LZW decoder for the
// one-image GIF, uncompressed DIB rows for icon entries, our PNG reader for PNG entries,
// and no picture loader (the BMP reader's last resort refuses everything). It notes what
// it was handed, so tests can look at it.
#include <cstdint>
#include <span>
#include <vector>

#include "system/system_decoder.h"

class StandInDecoder final : public lumio::SystemDecoder {
public:
    lumio::DecodeResult DecodeGif(std::span<const uint8_t> gif, lumio::SurfaceCore &host) override;
    bool LoadPicture(std::span<const uint8_t> bytes, lumio::SurfaceCore &host, int16_t bitCount) override;
    bool DecodeDib(std::span<const uint8_t> info, std::span<const uint8_t> bits, lumio::SurfaceCore &host) override;
    bool LoadPng(std::span<const uint8_t> png, lumio::SurfaceCore &host) override;

    std::vector<uint8_t> lastGif;
    std::vector<uint8_t> lastInfo;
    int pictureLoaderCalls = 0;
    int16_t lastBitCount = -1;
    // Largest picture decoded, so fuzzing stays fast.
    int64_t maxPixels = int64_t{1} << 22;
};
