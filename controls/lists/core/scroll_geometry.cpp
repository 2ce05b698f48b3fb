#include "scroll_geometry.h"

#include <cmath>
#include <limits>

namespace lumio::lists {
namespace {

// Rectangles are computed for a vertical bar (across = x, along = y) and
// turned for a horizontal one.
PartRect Turn(const PartRect& r, bool horizontal) {
    if (!horizontal) return r;
    return {r.top, r.left, r.bottom, r.right};
}

bool FitsLong(double v) {
    return std::isfinite(v) && v >= static_cast<double>(std::numeric_limits<int32_t>::min()) &&
           v <= static_cast<double>(std::numeric_limits<int32_t>::max());
}

}  // namespace

ScrollLayout LayoutParts(int32_t width, int32_t height, bool horizontal, bool showButtons) {
    const int32_t b = showButtons ? kScrollButtonLength : 0;
    const int32_t along = horizontal ? width : height;
    const int32_t across = horizontal ? height : width;
    ScrollLayout out;
    PartRect tl, br;
    if (static_cast<int64_t>(along) > 2 * b) {
        tl = {0, 0, across, b};
        br = {0, along - b, across, along};
        out.trackShown = static_cast<int64_t>(along) >= 2 * b + 8;
    } else {
        tl = {0, 0, across, along / 2};
        br = {0, along / 2 + along % 2, across, along};
    }
    out.tlButton = Turn(tl, horizontal);
    out.brButton = Turn(br, horizontal);
    out.trackStart = tl.bottom;
    out.trackLength = br.top - tl.bottom;
    const int32_t zoneAcross = 250, zoneAlong = 25;
    out.dragZone = Turn({-zoneAcross, -zoneAlong, across + zoneAcross, along + zoneAlong}, horizontal);
    return out;
}

int32_t ThumbSize(int32_t trackLength, int64_t range, int32_t largeChange) {
    if (largeChange == 0) return kMinThumbSize;
    const int64_t pages = range / largeChange + 1;
    if (pages == 0) return kMinThumbSize;
    const int64_t size = trackLength / pages;
    return size < kMinThumbSize ? kMinThumbSize : static_cast<int32_t>(size);
}

int32_t ThumbPosFromValue(const ScrollLayout& layout, int32_t thumbSize, int64_t range, int32_t min, int32_t value) {
    if (range == 0) return layout.trackStart;
    const double free = static_cast<double>(layout.trackLength) - thumbSize;
    const double pos = layout.trackStart + free / static_cast<double>(range) * (static_cast<double>(value) - min);
    const double rounded = std::nearbyint(pos);
    return FitsLong(rounded) ? static_cast<int32_t>(rounded) : layout.trackStart;
}

int32_t ValueFromThumbPos(const ScrollLayout& layout, int32_t thumbSize, int64_t range, int32_t min, int32_t pos,
                          int32_t fallback) {
    const int64_t free = static_cast<int64_t>(layout.trackLength) - thumbSize;
    if (free == 0) return fallback;
    const double v = std::nearbyint(min + (static_cast<double>(pos) - layout.trackStart) / static_cast<double>(free) *
                                              static_cast<double>(range));
    if (!std::isfinite(v)) return fallback;
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

void PlaceThumb(ScrollLayout& layout, bool horizontal, int32_t thumbPos, int32_t thumbSize, int32_t thickness) {
    if (!layout.trackShown) {
        layout.tlTrack = layout.brTrack = layout.thumb = {};
        return;
    }
    const int32_t tlEnd = horizontal ? layout.tlButton.right : layout.tlButton.bottom;
    const int32_t brStart = horizontal ? layout.brButton.left : layout.brButton.top;
    layout.tlTrack = Turn({0, tlEnd, thickness, thumbPos}, horizontal);
    // A thumb placed for a value read unchecked from a bag may lie far out.
    const int64_t end64 = static_cast<int64_t>(thumbPos) + thumbSize;
    const int32_t thumbEnd = end64 > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                                         : static_cast<int32_t>(end64);
    layout.brTrack = Turn({0, thumbEnd, thickness, brStart}, horizontal);
    layout.thumb = Turn({0, thumbPos, thickness, thumbEnd}, horizontal);
}

int HitTest(const ScrollLayout& layout, int32_t x, int32_t y) {
    if (layout.tlButton.Contains(x, y)) return kPartTLButton;
    if (layout.brButton.Contains(x, y)) return kPartBRButton;
    if (layout.tlTrack.Contains(x, y)) return kPartTLTrack;
    if (layout.brTrack.Contains(x, y)) return kPartBRTrack;
    if (layout.thumb.Contains(x, y)) return kPartThumb;
    return kPartNone;
}

}  // namespace lumio::lists
