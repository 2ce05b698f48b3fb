#include "pixel_array.h"

#include <new>

namespace lumio::render {

int64_t PixelBytes(int64_t width, int64_t height) {
    if (width <= 0 || height <= 0 || width > INT32_MAX / 4 || height > INT32_MAX) return -1;
    const int64_t bytes = width * 4 * height;
    return bytes > INT32_MAX ? -1 : bytes;
}

bool PixelArray::Dimension(int32_t width, int32_t height, Content content) {
    Erase();
    const int64_t bytes = PixelBytes(width, height);
    if (bytes < 0) return false;
    const size_t n = static_cast<size_t>(bytes);
    data_.reset(content == Content::Zeroed ? new (std::nothrow) uint8_t[n]() : new (std::nothrow) uint8_t[n]);
    if (!data_) return false;
    width_ = width;
    height_ = height;
    return true;
}

void PixelArray::Erase() {
    data_.reset();
    width_ = height_ = 0;
}

PixelView PixelArray::View() {
    if (!IsDimensioned()) return {};
    return {data_.get(), width_, height_, static_cast<ptrdiff_t>(width_) * 4, 4};
}

}  // namespace lumio::render
