#pragma once
// The image surface as codecs and pixel code see it: Width x Height pixels,
// rows stored bottom-up (the first row in memory is the picture's bottom row),
// each row Width*4 bytes without padding, pixels B,G,R,A with colour
// premultiplied by alpha. Pixel (x, y) counted from the top-left lies at
// BitsPointer() + (Height-1-y)*scanWidth() + x*4.
//
// On Windows the pixels are a DIB section (c32bppDIB); natively they are plain
// memory (MemorySurface). Code that only needs the pixels takes SurfaceCore&.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace lumio {

// Opaque identity of the pixel store: the HBITMAP on Windows; null = no image.
using SurfaceHandle = void *;

// A derived class owns the pixel store: it calls DestroyDIB() in its own
// destructor, while its ReleasePixels still exists.
class SurfaceCore {
public:
    SurfaceCore(const SurfaceCore &) = delete;
    SurfaceCore &operator=(const SurfaceCore &) = delete;
    virtual ~SurfaceCore();

    std::int32_t Width() const noexcept { return width_; }
    std::int32_t Height() const noexcept { return height_; }
    std::uint8_t *BitsPointer() const noexcept { return bits_; }
    // Width*4; raises error 6 (a RunTimeError) for widths above 536,870,911.
    std::int32_t scanWidth() const;
    SurfaceHandle Handle() const noexcept { return handle_; }
    bool HasImage() const noexcept { return handle_ != nullptr; }
    // Bytes of the whole pixel area (0 without image).
    std::size_t ByteCount() const noexcept;
    // Start of the row y counted from the top of the picture; y must be in range.
    std::uint8_t *RowFromTop(std::int32_t y) const noexcept;

    bool Alpha() const noexcept { return alpha_; }
    std::int32_t ImageType() const noexcept { return imageType_; }
    bool HighQualityInterpolation() const noexcept { return highQuality_; }
    void HighQualityInterpolation(bool value) noexcept { highQuality_ = value; }

    // Reporting what a codec or effect produced.
    void SetAlpha(bool value) noexcept { alpha_ = value; }
    void SetImageType(std::int32_t code) noexcept { imageType_ = code; }

    // Drops any image, then makes a zero-filled Width x |Height| surface.
    // False (and no image) for Width < 0, Height 0, Width 0, a pixel area
    // beyond 2^31-1 bytes, or when the system refuses the memory.
    bool InitializeDIB(std::int32_t width, std::int32_t height);
    // Frees the pixels (and the source bytes); ImageType becomes -1.
    void DestroyDIB() noexcept;
    // Zero every pixel byte: ImageType 0, Alpha True. Nothing without image.
    void EraseDIB() noexcept;

    // Copy of the file or stream the image came from, kept on request.
    const std::vector<std::uint8_t> &OriginalFormat() const noexcept { return original_; }
    void SetOriginalFormat(std::vector<std::uint8_t> bytes) noexcept { original_ = std::move(bytes); }

protected:
    SurfaceCore() = default;

    struct Pixels {
        SurfaceHandle handle = nullptr;
        std::uint8_t *bits = nullptr;
    };
    // A zero-filled store of `bytes` bytes for width x height pixels; {} on failure.
    virtual Pixels AllocatePixels(std::int32_t width, std::int32_t height, std::size_t bytes) noexcept = 0;
    virtual void ReleasePixels(SurfaceHandle handle) noexcept = 0;
    // Called first by DestroyDIB, while the pixels still exist (device contexts).
    virtual void BeforeDestroy() noexcept {}

private:
    SurfaceHandle handle_ = nullptr;
    std::uint8_t *bits_ = nullptr;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::int32_t imageType_ = 0;
    bool alpha_ = false;
    bool highQuality_ = false;
    std::vector<std::uint8_t> original_;
};

// Plain-memory surface: the native stand-in for the DIB section, also used
// for scratch images that never meet a device context.
class MemorySurface final : public SurfaceCore {
public:
    MemorySurface() = default;
    ~MemorySurface() override;

private:
    Pixels AllocatePixels(std::int32_t width, std::int32_t height, std::size_t bytes) noexcept override;
    void ReleasePixels(SurfaceHandle handle) noexcept override;
};

} // namespace lumio
