#pragma once
// Small surfaces for the pixel tests, described top row first.
#include <array>
#include <cstdint>
#include <vector>

#include "imaging/surface_core.h"

namespace lumio::test {

using Px = std::array<std::uint8_t, 4>;  // B, G, R, A as stored

// rows[y][x] is the pixel at (x, y) from the top-left.
inline void Paint(SurfaceCore &s, const std::vector<std::vector<Px>> &rows) {
    s.InitializeDIB(static_cast<std::int32_t>(rows[0].size()), static_cast<std::int32_t>(rows.size()));
    for (std::int32_t y = 0; y < s.Height(); ++y)
        for (std::int32_t x = 0; x < s.Width(); ++x)
            for (int k = 0; k < 4; ++k) s.RowFromTop(y)[x * 4 + k] = rows[y][x][k];
}

inline Px At(const SurfaceCore &s, std::int32_t x, std::int32_t y) {
    const std::uint8_t *p = s.RowFromTop(y) + x * 4;
    return {p[0], p[1], p[2], p[3]};
}

inline std::vector<std::uint8_t> Bytes(const SurfaceCore &s) {
    return {s.BitsPointer(), s.BitsPointer() + s.ByteCount()};
}

}  // namespace lumio::test
