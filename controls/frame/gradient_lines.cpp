#include "gradient_lines.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lumio {
namespace {

int Channel(uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFFu); }

// The colour i pixels into the band: single-precision increments, halves
// rounded to the even neighbour.
uint32_t ColourAt(const int c1[3], const float inc[3], int64_t i) {
    uint32_t rgb = 0;
    for (int k = 0; k < 3; ++k) {
        double v = std::nearbyint(static_cast<double>(c1[k]) + static_cast<double>(inc[k]) * static_cast<double>(i));
        v = std::clamp(v, 0.0, 255.0);  // only the pen made after the last line can overshoot
        rgb |= static_cast<uint32_t>(v) << (8 * k);
    }
    return rgb;
}

}  // namespace

void PlanGradientLines(uint32_t colour1, uint32_t colour2, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2,
                       uint8_t step, const std::function<void(const GradientLine&)>& draw) {
    const int c1[3] = {Channel(colour1, 0), Channel(colour1, 8), Channel(colour1, 16)};
    const int c2[3] = {Channel(colour2, 0), Channel(colour2, 8), Channel(colour2, 16)};
    const int64_t s = 2 * std::min<int64_t>(step, 4) + 1;

    const bool horizontal = Y2 < 0;
    int64_t start, end, d;
    if (horizontal) {
        if (X2 < 0) start = Y1, end = std::llabs(Y2), d = s;
        else start = std::llabs(Y2), end = Y1, d = -s;
    } else {
        if (X2 < 0) start = std::llabs(X2), end = X1, d = -s;
        else start = X1, end = X2, d = s;
    }

    const int64_t span = std::llabs(end - start) + 1;
    if (span < s) d = d < 0 ? -1 : 1;
    else if (std::llabs(d) > 1) end += d;

    float inc[3];
    for (int k = 0; k < 3; ++k)
        inc[k] = static_cast<float>(static_cast<double>(c2[k] - c1[k]) / static_cast<double>(span));

    const int32_t x2 = static_cast<int32_t>(std::llabs(X2));
    const int64_t width = std::llabs(d);
    uint32_t pen = colour1 & 0xFFFFFFu;
    int64_t i = 0;
    for (int64_t pos = start; d > 0 ? pos <= end : pos >= end; pos += d) {
        GradientLine line{};
        if (horizontal) line = {X1, static_cast<int32_t>(pos), x2, static_cast<int32_t>(pos), 0, 0};
        else line = {static_cast<int32_t>(pos), Y1, static_cast<int32_t>(pos), Y2, 0, 0};
        line.penWidth = static_cast<int32_t>(width);
        line.colour = pen;
        draw(line);
        pen = ColourAt(c1, inc, i);
        i += width;
    }
}

}  // namespace lumio
