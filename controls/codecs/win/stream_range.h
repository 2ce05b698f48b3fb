#pragma once
// The byte range a reader is given: [start, start + length) of the caller's array, the
// length clipped to what the array holds and 0 meaning "to the end". Nothing for a start
// outside the array.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lumio {

inline std::optional<std::span<const std::uint8_t>> StreamRange(const std::vector<std::uint8_t> &bytes,
                                                               std::int32_t start, std::int32_t length) {
    if (start < 0 || length < 0 || static_cast<std::size_t>(start) >= bytes.size()) return std::nullopt;
    const std::size_t available = bytes.size() - static_cast<std::size_t>(start);
    const std::size_t n = length == 0 ? available : std::min(available, static_cast<std::size_t>(length));
    return std::span<const std::uint8_t>(bytes).subspan(static_cast<std::size_t>(start), n);
}

} // namespace lumio
