#pragma once
// 16-bit word packing. Unlike the platform's macros, both halves come back
// sign-extended, so client coordinates left of or above the origin stay
// negative.
#include <cstdint>

namespace lumio {

constexpr int32_t LoWord(int32_t value) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFFu));
}

constexpr int32_t HiWord(int32_t value) { return value >> 16; }

constexpr int32_t MakeLong(int16_t low, int16_t high) {
    return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint16_t>(high)) << 16) |
                                static_cast<uint16_t>(low));
}

}  // namespace lumio
