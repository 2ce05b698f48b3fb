#pragma once
// Shared byte and pixel routines of the image engine that need no system calls.
// The routines that call the system (files, libraries, pictures, colours) are
// declared in mod_parsers_win.h of the Windows library.
//
// Raw-memory helpers of the original design have no counterpart here: an
// offset added to an address is plain pointer arithmetic, and "has this array
// been dimensioned" is an empty std::vector.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
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

// zlib library numbers, shared with the zlib binding: the search goes 2, 1, 0.
enum ZlibLibrary : std::int32_t {
    kZlibNone = 0,
    kZlibDll = 1,  // "zlib.dll"
    kZlib1Dll = 2, // "zlib1.dll"
};
const char *ZlibLibraryName(std::int32_t index) noexcept;

// How far the calling-convention scan reads into crc32's code at most.
constexpr std::size_t kCallingConventionScanLimit = 4096;

// Guesses a 32-bit x86 function's calling convention from its machine code,
// read from its entry: a "ret 12" (C2 0C 00) means stdcall with 12 bytes of
// arguments, a plain "ret" (C3) not preceded by 33 (an "xor r32, ebx") means
// cdecl. Empty when neither is found within the given bytes.
std::optional<bool> ScanCodeForCdecl(std::span<const std::uint8_t> code) noexcept;

// The readable bytes of a 32-bit module at an address (empty where none are).
using CodeAt = std::function<std::span<const std::uint8_t>(std::uint32_t address)>;
// The same guess for the function at `entry`, first following the jumps that
// linkers put at an export's entry (jmp rel8, jmp rel32, jmp [import slot]),
// so that the scan reads the function's own code, not whatever lies after a jump.
std::optional<bool> GuessCdeclFromCode(std::uint32_t entry, const CodeAt &codeAt);

} // namespace lumio
