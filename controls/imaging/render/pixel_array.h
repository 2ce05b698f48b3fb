#pragma once
// Pixel memory as the image routines see it: 32-bit B, G, R, A pixels,
// premultiplied, rows stored bottom-up (row 0 is the bottom of the picture).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace lumio::render {

// A non-owning window on pixel memory (a surface's bits, or an array).
// bytesPerPixel is 4 except for the 24-bit copies of a device context.
struct PixelView {
    uint8_t *bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    ptrdiff_t stride = 0;  // bytes from one stored row to the next
    int32_t bytesPerPixel = 4;

    bool empty() const { return bits == nullptr || width <= 0 || height <= 0; }
    uint8_t *row(int32_t r) const { return bits + static_cast<ptrdiff_t>(r) * stride; }
    uint8_t *pixel(int32_t x, int32_t r) const { return row(r) + static_cast<ptrdiff_t>(x) * bytesPerPixel; }
};

// Zero-filled pixel array owned by one rendering stage and handed to the next.
// "Not dimensioned" is a state of its own: the stages then read the surface.
class PixelArray {
public:
    // Allocates width x height zeroed pixels; false (and not dimensioned) when
    // the size is not positive, its byte count passes 2^31 - 1, or memory is short.
    // Overwritten: the caller writes every pixel, so the zeroing is left out.
    enum class Content { Zeroed, Overwritten };
    bool Dimension(int32_t width, int32_t height, Content content = Content::Zeroed);
    void Erase();
    bool IsDimensioned() const { return width_ > 0; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    PixelView View();

private:
    std::unique_ptr<uint8_t[]> data_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

// Byte count of width x height 32-bit pixels, or -1 when it does not fit in 31 bits.
int64_t PixelBytes(int64_t width, int64_t height);

}  // namespace lumio::render
