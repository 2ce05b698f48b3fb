#pragma once
// The shape of a surface's opaque pixels (alpha not 0) as rectangles in
// top-down picture coordinates, and the region data block that carries them
// to the system.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/surface_core.h"

namespace lumio {

struct RegionRect {
    std::int32_t left, top, right, bottom;
    friend bool operator==(const RegionRect &, const RegionRect &) = default;
};

// Region styles: the opaque pixels' bounding box, each row's span from its
// first to its last opaque pixel, or each run of opaque pixels exactly.
enum RegionStyle : std::int32_t { kRegionBoundingBox = 0, kRegionRowSpans = 1, kRegionExactRuns = 2 };

// Styles 1 and 2: one rectangle per row span or run, a pixel high, collected
// from the picture's bottom row upwards, left to right.
std::vector<RegionRect> RegionRectsFromAlpha(const SurfaceCore &self, std::int32_t style);
// Style 0: the box around every opaque pixel; empty when there is none.
std::optional<RegionRect> OpaqueBounds(const SurfaceCore &self);

// A region data block (a 32-byte header of kind 1, then the rectangles) as
// 32-bit words. Its bounds span leftBound to leftBound + width across and the
// rectangles' topmost top to their lowest bottom. Empty when the block's
// size would not fit in 32 bits.
std::vector<std::int32_t> RegionDataBlock(std::span<const RegionRect> rects, std::int32_t leftBound,
                                          std::int32_t width);

}  // namespace lumio
