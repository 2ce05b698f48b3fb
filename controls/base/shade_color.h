#pragma once
// Shading a colour toward white (positive offset) or black (negative), shared
// by the tab, group box and list box. Works on RGB values; no translation of
// system colours.
#include <cstdint>

namespace lumio {

// Each channel v becomes offset + (255 - offset) * v \ 255, kept within 0..255;
// overflow in the arithmetic raises 6.
int32_t pShadeColor(int32_t colour, int32_t offset);

}  // namespace lumio
