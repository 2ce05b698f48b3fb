#include "imaging/surface_core.h"

#include <cassert>
#include <cstring>

#include "imaging/image_type.h"
#include "imaging/vb_math.h"

namespace lumio {

SurfaceCore::~SurfaceCore() {
    // The derived class frees its pixels: its release function is gone by now.
    assert(handle_ == nullptr);
}

std::int32_t SurfaceCore::scanWidth() const { return vb::Mul<std::int32_t>(width_, 4); }

std::size_t SurfaceCore::ByteCount() const noexcept {
    return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4u;
}

std::uint8_t *SurfaceCore::RowFromTop(std::int32_t y) const noexcept {
    return bits_ + static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(width_) * 4u;
}

bool SurfaceCore::InitializeDIB(std::int32_t width, std::int32_t height) {
    DestroyDIB();
    if (width < 0 || height == 0) return false;
    std::int64_t h = height < 0 ? -std::int64_t{height} : height;
    // The pixel area must fit a signed 32-bit byte count, on every target.
    std::int64_t bytes = std::int64_t{width} * h * 4;
    if (bytes > INT32_MAX || h > INT32_MAX) return false;
    if (width == 0) return false; // no empty bitmaps
    Pixels p = AllocatePixels(width, static_cast<std::int32_t>(h), static_cast<std::size_t>(bytes));
    if (p.handle == nullptr || p.bits == nullptr) {
        if (p.handle != nullptr) ReleasePixels(p.handle);
        return false;
    }
    handle_ = p.handle;
    bits_ = p.bits;
    width_ = width;
    height_ = static_cast<std::int32_t>(h);
    alpha_ = true;
    imageType_ = image_type::kBlank;
    return true;
}

void SurfaceCore::DestroyDIB() noexcept {
    BeforeDestroy();
    if (handle_ != nullptr) {
        ReleasePixels(handle_);
        original_.clear();
        original_.shrink_to_fit();
    }
    handle_ = nullptr;
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
    alpha_ = false;
    imageType_ = image_type::kNone;
}

void SurfaceCore::EraseDIB() noexcept {
    if (handle_ == nullptr) return;
    std::memset(bits_, 0, ByteCount());
    imageType_ = image_type::kBlank;
    alpha_ = true;
}

} // namespace lumio
