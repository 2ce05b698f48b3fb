#pragma once
// The line plan of a two-colour band of lines, worked out apart from any
// device context so that it can be checked line by line.
#include <cstdint>
#include <functional>

namespace lumio {

struct GradientLine {
    int32_t x1, y1, x2, y2;  // drawn from (x1, y1) to (x2, y2), end point excluded
    int32_t penWidth;
    uint32_t colour;         // RGB (0x00BBGGRR) of the pen the line is drawn with
};

// colour1 and colour2 are RGB values (system colours already translated).
// The signs of Y2 and X2 choose the direction:
//   Y2 < 0:  horizontal lines; X2 < 0 runs from Y1 down to |Y2|, otherwise from |Y2| up to Y1;
//   Y2 >= 0: vertical lines;   X2 < 0 runs from |X2| left to X1, otherwise from X1 right to X2.
// step (clamped to 4) gives lines 2*step+1 pixels thick; a span narrower
// than that falls back to 1-pixel lines. A thick band is extended by one
// line beyond its end. Each line takes the colour worked out one line
// earlier, so the first two lines both have colour1.
// Each line is handed to draw in drawing order.
void PlanGradientLines(uint32_t colour1, uint32_t colour2, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2,
                       uint8_t step, const std::function<void(const GradientLine&)>& draw);

}  // namespace lumio
