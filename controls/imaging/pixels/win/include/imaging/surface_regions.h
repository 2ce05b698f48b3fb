#pragma once
// Window regions in the shape of a surface's opaque pixels. The caller owns
// every region returned (DeleteObject, or SetWindowRgn); 0 means none.
#include <windows.h>

#include <cstdint>
#include <span>

#include "imaging/region_rects.h"
#include "imaging/surface_core.h"

namespace lumio {

// How a region is made from a region data block: ExtCreateRegion, unless a
// test puts a failing stand-in in its place.
using RegionMaker = HRGN(WINAPI *)(const XFORM *, DWORD, const RGNDATA *);

// Style 0 the opaque pixels' bounding box, 1 each row's span, 2 each run
// exactly; a surface without alpha gives its whole rectangle in every style.
// 0 without image, for another style, or when nothing is opaque. The region
// is moved by (xOffset, yOffset).
HRGN CreateRegion(const SurfaceCore &self, std::int32_t Style, std::int32_t xOffset, std::int32_t yOffset,
                  RegionMaker make = ExtCreateRegion);
HRGN CreateShapedRegion(const SurfaceCore &surface, std::int32_t style, RegionMaker make = ExtCreateRegion);

// One region of all the rectangles, in one call.
HRGN RegionFromRects(std::span<const RegionRect> rects, std::int32_t leftBound, std::int32_t width,
                     RegionMaker make = ExtCreateRegion);
// The same in batches of up to 2001 rectangles (neighbouring batches share
// one), joined; for when the system refuses them all at once. A batch that
// fails gives 0, and nothing built is kept.
HRGN CombineRegionBatches(std::span<const RegionRect> rects, std::int32_t leftBound, std::int32_t width,
                          RegionMaker make = ExtCreateRegion);

}  // namespace lumio
