#include "imaging/region_rects.h"

#include <algorithm>

namespace lumio {
namespace {

// First and last opaque pixel of a stored row; false when it has none.
bool RowSpan(const std::uint8_t *row, std::int32_t width, std::int32_t &first, std::int32_t &last) {
    first = 0;
    while (first < width && row[first * 4 + 3] == 0) ++first;
    if (first == width) return false;
    last = width - 1;
    while (row[last * 4 + 3] == 0) --last;
    return true;
}

const std::uint8_t *StoredRow(const SurfaceCore &s, std::int32_t r) {
    return s.BitsPointer() + static_cast<std::size_t>(r) * static_cast<std::size_t>(s.Width()) * 4;
}

} // namespace

std::vector<RegionRect> RegionRectsFromAlpha(const SurfaceCore &self, std::int32_t style) {
    std::vector<RegionRect> rects;
    if (!self.HasImage() || (style != kRegionRowSpans && style != kRegionExactRuns)) return rects;
    const std::int32_t w = self.Width(), h = self.Height();
    for (std::int32_t r = 0; r < h; ++r) {
        const std::uint8_t *row = StoredRow(self, r);
        const std::int32_t top = h - r - 1, bottom = h - r;
        if (style == kRegionRowSpans) {
            std::int32_t first, last;
            if (RowSpan(row, w, first, last)) rects.push_back({first, top, last + 1, bottom});
            continue;
        }
        std::int32_t start = -1;
        for (std::int32_t x = 0; x < w; ++x) {
            const bool opaque = row[x * 4 + 3] != 0;
            if (opaque && start < 0) start = x;
            if (!opaque && start >= 0) {
                rects.push_back({start, top, x, bottom});
                start = -1;
            }
        }
        if (start >= 0) rects.push_back({start, top, w, bottom});
    }
    return rects;
}

std::optional<RegionRect> OpaqueBounds(const SurfaceCore &self) {
    if (!self.HasImage()) return std::nullopt;
    const std::int32_t w = self.Width(), h = self.Height();
    std::int32_t left = w, right = -1, lowRow = -1, highRow = -1;
    for (std::int32_t r = 0; r < h; ++r) {
        std::int32_t first, last;
        if (!RowSpan(StoredRow(self, r), w, first, last)) continue;
        left = std::min(left, first);
        right = std::max(right, last);
        if (lowRow < 0) lowRow = r;
        highRow = r;
    }
    if (highRow < 0) return std::nullopt;
    return RegionRect{left, h - highRow - 1, right + 1, h - lowRow};
}

std::vector<std::int32_t> RegionDataBlock(std::span<const RegionRect> rects, std::int32_t leftBound,
                                          std::int32_t width) {
    // The block's size must fit the header's 32-bit byte count.
    if (rects.size() > (INT32_MAX - 32) / 16) return {};
    std::int32_t top = 0, bottom = 0;
    if (!rects.empty()) {
        top = rects.front().top;
        bottom = rects.front().bottom;
        for (const RegionRect &r : rects) {
            top = std::min(top, r.top);
            bottom = std::max(bottom, r.bottom);
        }
    }
    const auto count = static_cast<std::int32_t>(rects.size());
    std::vector<std::int32_t> block{32, 1, count, count * 16, leftBound, top, leftBound + width, bottom};
    block.reserve(block.size() + rects.size() * 4);
    for (const RegionRect &r : rects) block.insert(block.end(), {r.left, r.top, r.right, r.bottom});
    return block;
}

} // namespace lumio
