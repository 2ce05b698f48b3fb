#pragma once
// The GIF reader: walks the blocks up to the first image, rebuilds that image as a
// one-image GIF, has the system decode it and applies the transparent colour itself.
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/image_decoder.h"
#include "imaging/surface_core.h"
#include "system/system_decoder.h"

namespace lumio {

class GifReader {
public:
    explicit GifReader(SystemDecoder &system) : system_(system) {}

    // True when the data is a GIF whose first image was reached: with an image in the host,
    // or none when it was damaged past its signature. False leaves the data to other readers.
    bool LoadStream(std::span<const std::uint8_t> data, SurfaceCore &cHost);

    // What ParseFirstFrame learnt, exposed for tests.
    enum class Walk { kNotGif, kDamaged, kNoImage, kFrame };
    struct Frame {
        std::vector<std::uint8_t> gif;   // the rebuilt one-image GIF
        std::int32_t transparentIndex = -1;
        std::size_t tableOffset = 0;     // the colour table the image uses, in the input
        std::int32_t colours = 0;
    };
    static Walk ParseFirstFrame(std::span<const std::uint8_t> data, Frame &frame);

    // Why the last load built no image (kNone when it did).
    DecodeFailure Failure() const noexcept { return failure_; }

private:
    bool RenderFirstFrame(Frame &frame, std::span<const std::uint8_t> data, SurfaceCore &cHost);

    SystemDecoder &system_;
    DecodeFailure failure_ = DecodeFailure::kNone;
};

} // namespace lumio
