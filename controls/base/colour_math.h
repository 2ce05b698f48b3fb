#pragma once
// Colour arithmetic the controls share: channels of a 32-bit RGB value,
// clamping, composing, blending and shifting. Per-control variants the
// controls need stay beside these as parameters or small functions of their
// own.
#include <cstdint>

namespace lumio {

struct Rgb {
    int32_t r, g, b;
};

// R = c And &HFF, G = (c \ 256) And &HFF, B = (c \ 65536) And &HFF.
Rgb pSplitRGB(int32_t colour);
// value > max gives max; otherwise a value not >= min (NaN too) gives min.
float pClamp(float value, int32_t min, int32_t max);
// r + g * 256 + b * 65536 unmasked; error 6 when it leaves the 32-bit range.
int32_t pRGB(int32_t r, int32_t g, int32_t b);
// Per channel c1 + (c2 - c1) * f, rounded half to even.
int32_t pBlendColor(int32_t c1, int32_t c2, float f);
// Per channel c + f * 255, rounded, capped at 255 for f > 0 and at 0 otherwise.
int32_t pShiftColor(int32_t colour, float f);

}  // namespace lumio
