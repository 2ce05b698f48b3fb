#include "imaging/surface_regions.h"

#include <algorithm>
#include <vector>

#include "gdi_scope.h"

namespace lumio {
namespace {
// Rectangles per batch beyond the first; each batch also takes the next one's first.
constexpr std::size_t kBatchStep = 2000;
}

HRGN RegionFromRects(std::span<const RegionRect> rects, std::int32_t leftBound, std::int32_t width,
                     RegionMaker make) {
    try {
        const std::vector<std::int32_t> block = RegionDataBlock(rects, leftBound, width);
        if (block.empty()) return nullptr;
        return make(nullptr, static_cast<DWORD>(block.size() * sizeof(std::int32_t)),
                    reinterpret_cast<const RGNDATA *>(block.data()));
    } catch (...) {
        return nullptr;
    }
}

HRGN CombineRegionBatches(std::span<const RegionRect> rects, std::int32_t leftBound, std::int32_t width,
                          RegionMaker make) {
    gdi::OwnedObject<HRGN> result;
    for (std::size_t b = 0; b < rects.size(); b += kBatchStep) {
        const std::size_t e = std::min(rects.size() - 1, b + kBatchStep);
        gdi::OwnedObject<HRGN> part(RegionFromRects(rects.subspan(b, e - b + 1), leftBound, width, make));
        if (!part) return nullptr;
        if (!result) {
            result.reset(part.release());
        } else if (CombineRgn(result.get(), result.get(), part.get(), RGN_OR) == ERROR) {
            return nullptr;
        }
    }
    return result.release();
}

HRGN CreateShapedRegion(const SurfaceCore &surface, std::int32_t style, RegionMaker make) {
    if (!surface.HasImage()) return nullptr;
    if (!surface.Alpha()) return CreateRectRgn(0, 0, surface.Width(), surface.Height());
    try {
        if (style == kRegionBoundingBox) {
            const auto box = OpaqueBounds(surface);
            return box ? CreateRectRgn(box->left, box->top, box->right, box->bottom) : nullptr;
        }
        const std::vector<RegionRect> rects = RegionRectsFromAlpha(surface, style);
        if (rects.empty()) return nullptr;
        HRGN region = RegionFromRects(rects, 0, surface.Width(), make);
        if (region == nullptr && rects.size() > kBatchStep)
            region = CombineRegionBatches(rects, 0, surface.Width(), make);
        return region;
    } catch (...) {
        return nullptr;
    }
}

HRGN CreateRegion(const SurfaceCore &self, std::int32_t Style, std::int32_t xOffset, std::int32_t yOffset,
                  RegionMaker make) {
    if (!self.HasImage() || Style < kRegionBoundingBox || Style > kRegionExactRuns) return nullptr;
    HRGN region = CreateShapedRegion(self, Style, make);
    if (region != nullptr && (xOffset != 0 || yOffset != 0)) OffsetRgn(region, xOffset, yOffset);
    return region;
}

}  // namespace lumio
