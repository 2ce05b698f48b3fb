#pragma once
#include "pixel_array.h"

namespace lumio::render {

// Composes source rows source-over onto destination rows, both read from the
// top down: source row srcTop - 1 - y onto destination row destTop - y.
// dest has 3 bytes a pixel (a copy of a device context: B, G, R) or 4 (a
// surface: B, G, R, A). constantAlpha is 0..255; grayCode -1 blends in colour,
// any other code first turns the source grey with that code's weights.
// The caller guarantees that both rectangles lie inside their views.
void BlendRows(const PixelView &source, int32_t srcX, int32_t srcTop, const PixelView &dest, int32_t destX,
               int32_t destTop, int32_t width, int32_t height, int32_t constantAlpha, int32_t grayCode);

// Where the pixels handed to the blend come from.
enum class BlendSource {
    Surface,   // the surface's own pixels (or, with lightness, a lightened copy of them)
    Mirrored,  // a mirrored copy of the source rectangle, drawn unscaled
    Scaled,    // a resampled copy, already cut at the destination's left and top
};

struct BlendPlan {
    PixelView source;
    int32_t srcX = 0, srcTop = 0;  // srcTop: bottom-up index just above the first row read
    int32_t destX = 0, destY = 0;  // top-left in the destination, never negative
    int32_t width = 0, height = 0;
};

// Resolves the source, its offsets and the clipping of a blend. A non-zero
// lightness with BlendSource::Surface makes a lightened copy of self in src.
// With a host surface the size is cut to the host's size. False when the
// clipped size is empty or the source rectangle would leave its pixels.
bool PlanBlend(const PixelView &self, BlendSource kind, PixelArray &src, int32_t srcX, int32_t srcY,
               int32_t destX, int32_t destY, int32_t destWidth, int32_t destHeight, const PixelView *host,
               float lightness, BlendPlan &plan);

// The blend into a host surface: plan with a host, then the part of the
// rectangle that lies inside the host is written. Result as PlanBlend.
bool BlendToSurface(const PixelView &self, BlendSource kind, PixelArray &src, int32_t srcX, int32_t srcY,
                    int32_t destX, int32_t destY, int32_t destWidth, int32_t destHeight, int32_t constantAlpha,
                    const PixelView &host, int32_t grayCode, float lightness);

}  // namespace lumio::render
