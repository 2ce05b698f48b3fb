#pragma once
// Two-band vertical gradients and pixel blending shared by the skinned
// controls: the first band runs from c1 to the mid colour, the second from
// the mid colour to c2, one colour per row.
#include <cstdint>

namespace lumio {

struct GradientV {
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // edges after -1 and clamping
    float split = 0;                          // the band edge row s, as written back
    int32_t c1[3]{}, mid[3]{}, c2[3]{};       // R, G, B

    // Rows y1..y2 inclusive; none when y1 > y2.
    bool Empty() const { return y1 > y2; }
    // The colour of row y (an RGB value). The fraction counts from row 0,
    // not from y1, so a band that starts low begins part-way through.
    int32_t RowColour(int32_t y) const;
};

// width/height stand in for x2 = -1 and y2 = -1 (the last column/row).
// split is clamped to 0-100 and s = (y2 - y1 - 1) * split / 100 + y1 is
// written back into it; an s of 0 becomes 1.
GradientV PlanGradientV(int32_t c1, int32_t c2, float& split, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                        int32_t width, int32_t height);

// Per byte back + (pic - back) * opacity, rounded half to even.
void pBlendPixel(const uint8_t back[3], const uint8_t pic[3], float opacity, uint8_t out[3]);

}  // namespace lumio
