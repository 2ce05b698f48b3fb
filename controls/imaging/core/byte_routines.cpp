#include "imaging/mod_parsers.h"
#include "imaging/vb_math.h"

namespace lumio {

std::int32_t ScanWidthForBits(std::uint8_t bits, std::int32_t width) {
    // (bits * width + 31) with the low five bits cleared, then \ 8; each step in 32 bits.
    const std::int32_t padded = vb::Add<std::int32_t>(vb::Mul<std::int32_t>(bits, width), 31);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(padded) & ~31u) / 8;
}

} // namespace lumio
