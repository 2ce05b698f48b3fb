#pragma once
// Shared byte and pixel routines of the image engine that need no system calls.
// The routines that call the system (files, libraries, pictures, colours) are
// declared in mod_parsers_win.h of the Windows library.
//
// There are no raw-memory helpers: an offset into a block is plain pointer
// arithmetic, and an array that was never filled is an empty std::vector.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/surface_core.h"

namespace lumio {

// c * a \ 255 and c * 255 \ a, truncating; a pixel with alpha 0 is all zero.
constexpr std::uint8_t Premultiply(std::uint8_t c, std::uint8_t a) noexcept {
    return static_cast<std::uint8_t>(c * a / 255);
}
// Meaningful only for c <= a (premultiplied input); a = 0 gives 0.
constexpr std::uint32_t Unpremultiply(std::uint8_t c, std::uint8_t a) noexcept {
    return a == 0 ? 0u : static_cast<std::uint32_t>(c) * 255u / a;
}

// Looks at fresh 32-bit B,G,R,A pixels and decides whether they carry no
// alpha (image type 1), premultiplied alpha (7) or straight alpha (6).
// `pixels` holds `height` rows of width*4 bytes, scanned in memory order.
// With `convert`: no alpha makes every alpha 255; straight alpha is
// premultiplied in place. An image type of -1 on entry forces "no alpha".
void ClassifyAlpha(std::uint8_t *pixels, std::int32_t width, std::int32_t height, bool convert,
                   bool &alphaResult, std::int32_t &imageType);
// The same over a surface's pixels, reporting through SetAlpha/SetImageType.
// The surface's ImageType on entry plays the role of imageType above.
void ClassifyAlpha(SurfaceCore &surface, bool convert);

// Bytes per row of `bits`-per-pixel rows padded to 4 bytes; raises error 6
// when bits * width exceeds 2,147,483,616 (or is below the 32-bit range).
std::int32_t ScanWidthForBits(std::uint8_t bits, std::int32_t width);

// Reverses the four bytes of a 32-bit value (PNG's big-endian integers).
constexpr std::int32_t SwapLongBytes(std::int32_t v) noexcept {
    auto u = static_cast<std::uint32_t>(v);
    u = (u >> 24) | ((u >> 8) & 0xFF00u) | ((u << 8) & 0xFF0000u) | (u << 24);
    return static_cast<std::int32_t>(u);
}

} // namespace lumio
