#pragma once
// The whole of a byte source as one span, for readers that walk their bytes in place.
#include <cstdint>
#include <optional>
#include <span>

#include "imaging/byte_source.h"

namespace lumio {

inline std::optional<std::span<const std::uint8_t>> WholeSource(ByteSource &source) {
    if (source.Size() > 0x7FFFFFFF) return std::nullopt;
    if (source.Size() == 0) return std::span<const std::uint8_t>();
    const std::uint8_t *p = source.Fetch(0, static_cast<std::size_t>(source.Size()));
    if (p == nullptr) return std::nullopt;
    return std::span<const std::uint8_t>(p, static_cast<std::size_t>(source.Size()));
}

} // namespace lumio
