#include <new>

#include "imaging/surface_core.h"

namespace lumio {

MemorySurface::~MemorySurface() { DestroyDIB(); }

SurfaceCore::Pixels MemorySurface::AllocatePixels(std::int32_t, std::int32_t, std::size_t bytes) noexcept {
    auto *p = new (std::nothrow) std::uint8_t[bytes]();
    return {p, p};
}

void MemorySurface::ReleasePixels(SurfaceHandle handle) noexcept { delete[] static_cast<std::uint8_t *>(handle); }

} // namespace lumio
