#pragma once
// The BMP reader: uncompressed 32-bit BMP files are read here, alpha kept; everything
// else goes to the system's picture loader.
#include <cstdint>
#include <span>

#include "imaging/image_decoder.h"
#include "imaging/surface_core.h"
#include "system/system_decoder.h"

namespace lumio {

// A picture's size in HIMETRIC as screen pixels at `twipsPerPixel` (15 at 96 dots per
// inch): 1440 twips and 2540 HIMETRIC make an inch; halves round to even.
std::int32_t HimetricToPixels(std::int32_t value, double twipsPerPixel);

class BmpReader {
public:
    explicit BmpReader(SystemDecoder &system) : system_(system) {}

    // False for a BMP header with width < 1 or height 0, or when the picture loader
    // refused the data; otherwise true (the host's Handle tells whether an image exists).
    bool LoadStream(std::span<const std::uint8_t> data, SurfaceCore &cHost);
    // Why the last load built no image (kNone when it did).
    DecodeFailure Failure() const noexcept { return failure_; }

private:
    bool ReadRows(std::span<const std::uint8_t> data, std::size_t bitsOffset, std::int32_t width,
                  std::int32_t height, SurfaceCore &cHost);

    SystemDecoder &system_;
    DecodeFailure failure_ = DecodeFailure::kNone;
};

} // namespace lumio
