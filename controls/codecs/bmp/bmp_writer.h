#pragma once
// The surface as the bytes of a Windows bitmap file: 32-bit premultiplied pixels as stored
// when the surface has alpha, else 24-bit rows padded to 4 bytes; rows bottom-up.
#include <cstdint>
#include <vector>

#include "imaging/surface_core.h"

namespace lumio {

// False without image (outStream untouched) or when the sizes pass 32 bits or memory.
bool SaveToStream(const SurfaceCore &self, std::vector<std::uint8_t> &outStream);

}  // namespace lumio
